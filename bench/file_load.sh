#!/usr/bin/env bash
# bench/file_load.sh [TOOL...] [-- MB...]: how large a text the tool holds, for
# the file-size limit of a dropped file (LargestTextFile). For each size
# (default 20 40 80 120 MB) and tool (default numbering replace), one process
# under Wine and Xvfb puts a generated text of that size into the main box as a
# dropped file's text is put there, runs the tool ($RUNS times in a row,
# default 1) and undoes it (bench/file_load_bench.cpp), printing a row per
# step; a process that dies shows its last step and its exit code. The build
# tree is QUILLET_BUILD_DIR (default build/).
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export QUILLET_BUILD_DIR=${QUILLET_BUILD_DIR:-$root/build}
# A Wine prefix of its own: a test run ends every process of its prefix when it
# finishes, and a run here takes minutes.
export QUILLET_WINEPREFIX=${QUILLET_WINEPREFIX:-$QUILLET_BUILD_DIR/wine-bench}
bench=$QUILLET_BUILD_DIR/bench/file_load_bench.exe
tools=() sizes=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do tools+=("$1"); shift; done
[ $# -gt 0 ] && shift
sizes=("$@")
[ ${#tools[@]} -gt 0 ] || tools=(numbering replace)
[ ${#sizes[@]} -gt 0 ] || sizes=(20 40 80 120)

printf '%-10s %8s %-5s %8s %8s %8s %8s\n' step text_MB box ws_MB peak_ws peak_priv free_MB
for mb in "${sizes[@]}"; do
  for tool in "${tools[@]}"; do
    echo "== $mb MB, $tool"
    start=$(date +%s)
    # Line by line, so that a run of minutes shows each step as it ends.
    "$root/scripts/with-display" "$root/scripts/wine-run" "$bench" "$mb" "$tool" "${RUNS:-1}" 2>&1 | sed -u 's/\r$//'
    echo "exit code ${PIPESTATUS[0]} after $(( $(date +%s) - start )) s"
  done
done
