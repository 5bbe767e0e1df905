#!/usr/bin/env bash
# bench/tool_speed.sh [MAX_LINES] [TOOL...]: every tool on generated texts of
# 10,000, 100,000 and 1,000,000 lines (those up to MAX_LINES, default all),
# each in a process of its own under Wine and Xvfb, with the floor measured in
# the same process; then the cost per line at 1,000,000 lines against that at
# 100,000. The build tree is QUILLET_BUILD_DIR (default build/).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export QUILLET_BUILD_DIR=${QUILLET_BUILD_DIR:-$root/build}
bench=$QUILLET_BUILD_DIR/bench/tool_speed_bench.exe
max=${1:-1000000}
shift || true
tools=("$@")
[ ${#tools[@]} -gt 0 ] || tools=(cleanup cleanup-all numbering replace)

rows=$(mktemp)
trap 'rm -f "$rows"' EXIT
printf '%-12s %9s %11s %9s %9s %6s %9s %6s %8s\n' tool lines bytes tool_s floor_s ratio peak_MB xtext gap_s
for lines in 10000 100000 1000000; do
  [ "$lines" -le "$max" ] || continue
  for tool in "${tools[@]}"; do
    "$root/scripts/with-display" "$root/scripts/wine-run" "$bench" "$tool" "$lines" | tr -d '\r' | tee -a "$rows"
  done
done

# Cost per line of the tool at 1,000,000 lines over that at 100,000.
awk '{ t[$1 " " $2] = $4 / $2 } END {
  for (k in t) { split(k, p, " "); if (p[2] == 1000000 && ((p[1] " 100000") in t))
    printf "%-12s per-line cost 1M / 100k: %.2f\n", p[1], t[k] / t[p[1] " 100000"] } }' "$rows"
