#!/usr/bin/env bash
# headless_run_test.sh EXE ok|fail PATTERN: runs scripts/run-program on EXE as
# ./quillet run does without a display, on an Xvfb of its own whatever display
# the tests have, and checks that it succeeds (ok: exit status 0 and a PNG
# screenshot) or fails (non-zero status), and that its output holds PATTERN.
# QUILLET_BUILD_DIR names the build tree.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
exe=$1 expect=$2 pattern=$3
shot=$QUILLET_BUILD_DIR/tests/headless_run_$$.png
rm -f "$shot"
out=$(env -u DISPLAY -u QUILLET_HEADLESS QUILLET_SCREENSHOT="$shot" \
      "$root/scripts/with-display" "$root/scripts/run-program" "$exe" 2>&1)
status=$?
printf '%s\n' "$out"
echo "run-program exit status: $status"
ok=1
case $expect in
  ok)
    [ "$status" = 0 ] || { echo "FAIL: expected exit status 0"; ok=; }
    [ "$(head -c 4 "$shot" 2>/dev/null | od -An -tx1 | tr -d ' ')" = 89504e47 ] || { echo "FAIL: no PNG at $shot"; ok=; }
    ;;
  fail)
    [ "$status" != 0 ] || { echo "FAIL: expected a non-zero exit status"; ok=; }
    ;;
esac
grep -qF -- "$pattern" <<<"$out" || { echo "FAIL: output lacks \"$pattern\""; ok=; }
rm -f "$shot"
[ -n "$ok" ]
