#!/usr/bin/env bash
# Runs the built program as a person does: in a folder of line files, under a real X
# server, typing the limit and pressing Go with real input events. Then checks the pass
# lines, the standard error and the exit status.
# Usage: end_to_end_test.sh path/to/kelvane
set -euo pipefail
program=$(realpath "$1")
source "$(dirname "$0")/x_session.sh"

# A typed limit: select the text box's "4", type over it, press Go.
dir=$(folder typed)
start "$dir"
click "$window" 150 104
xdotool key --window "$window" ctrl+a
xdotool type --window "$window" --delay 20 "2.5 m"
press_go
finish
[ "$status" -eq 0 ] || fail "typed limit: exit status $status"
[ "$(cat "$dir/Pass1.txt")" = $'0\r\n0\r\n1\r\n1,2,2.5,3,4\r' ] || fail "typed limit: Pass1.txt is $(cat -A "$dir/Pass1.txt")"
[ "$(cat "$dir/Pass2.txt")" = $'0\r\n0\r\n1\r\n1,2,-2.5,3,4\r' ] || fail "typed limit: Pass2.txt is $(cat -A "$dir/Pass2.txt")"
[ ! -s "$work/stderr.txt" ] || fail "typed limit: wrote to standard error: $(cat "$work/stderr.txt")"
echo "ok: a typed limit of 2.5 m gives both pass lines and exit status 0"

# An error: the report names the missing file; dismissing it ends with a non-zero status
# and the old pass lines are untouched.
dir=$(folder error)
rm "$dir/MinRace.txt"
printf 'old 1' >"$dir/Pass1.txt"
printf 'old 2' >"$dir/Pass2.txt"
start "$dir"
press_go
dismiss_report
[ "$status" -ne 0 ] || fail "error: exit status 0"
grep -q "^kelvane: file error: .*: missing input file(s): MinRace.txt$" "$work/stderr.txt" ||
  fail "error: standard error is '$(cat "$work/stderr.txt")'"
[ "$(cat "$dir/Pass1.txt")" = "old 1" ] && [ "$(cat "$dir/Pass2.txt")" = "old 2" ] ||
  fail "error: the old pass lines changed"
[ "$(ls -A "$dir" | wc -l)" -eq 5 ] || fail "error: stray files: $(ls -A "$dir")"
echo "ok: an error is reported on standard error and in a dialog, then ends with status $status"

echo "2 passed, 0 failed"
