#!/usr/bin/env bash
# bench/tool_speed.sh [MAX_LINES] [ROUNDS] [TOOL...]: every tool on generated
# texts of 10,000, 100,000 and 1,000,000 lines (those up to MAX_LINES, default
# all), ROUNDS times each (default 3), each round in a process of its own under
# Wine and Xvfb with the floor measured in the same process. Prints every
# round, then for each tool and size the round with the median ratio, and the
# cost per line at 1,000,000 lines against that at 100,000 (medians).
# The build tree is QUILLET_BUILD_DIR (default build/).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export QUILLET_BUILD_DIR=${QUILLET_BUILD_DIR:-$root/build}
bench=$QUILLET_BUILD_DIR/bench/tool_speed_bench.exe
max=${1:-1000000}
rounds=${2:-3}
shift 2 || shift $# || true
tools=("$@")
[ ${#tools[@]} -gt 0 ] || tools=(cleanup cleanup-all numbering replace)

rows=$(mktemp)
trap 'rm -f "$rows"' EXIT
header=$(printf '%-12s %9s %11s %8s %8s %6s %8s %5s %8s %5s %7s' tool lines bytes tool_s floor_s ratio idle+MB xtext text+MB xtext gap_s)
echo "$header"
for lines in 10000 100000 1000000; do
  [ "$lines" -le "$max" ] || continue
  for tool in "${tools[@]}"; do
    for ((round = 1; round <= rounds; round++)); do
      "$root/scripts/with-display" "$root/scripts/wine-run" "$bench" "$tool" "$lines" | tr -d '\r' | tee -a "$rows"
    done
  done
done

echo
echo "Medians of $rounds rounds (the round with the median ratio):"
echo "$header"
sort -k1,1 -k2,2n -k6,6n "$rows" | awk -v rounds="$rounds" '
  { key = $1 " " $2; n[key]++; row[key, n[key]] = $0 }
  END { for (k in n) print row[k, int((n[k] + 1) / 2)] }' | sort -k2,2n -k1,1 | tee "$rows.median"

# Cost per line of the tool at 1,000,000 lines over that at 100,000.
awk '{ t[$1 " " $2] = $4 / $2 } END {
  for (k in t) { split(k, p, " "); if (p[2] == 1000000 && ((p[1] " 100000") in t))
    printf "%-12s per-line cost 1M / 100k: %.2f\n", p[1], t[k] / t[p[1] " 100000"] } }' "$rows.median"
rm -f "$rows.median"
