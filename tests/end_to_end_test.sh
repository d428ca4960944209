#!/usr/bin/env bash
# Runs the built program as a person does, started from another folder, under a real X
# server with real input events: a typed limit, then an error. Checks the pass lines, the
# standard error and the exit status. Usage: end_to_end_test.sh path/to/kelvane [wine]
set -euo pipefail
program=$(realpath "$1")
launcher=${2:-}
source "$(dirname "$0")/x_session.sh"

# A typed limit: click into the text box, replace its "4", press Go.
dir=$(folder typed)
start "$dir"
click "$window" 154 104
xdotool key End shift+Home Delete
xdotool type --delay 20 "2.5 m"
press_go
finish
[ "$status" -eq 0 ] || fail "typed limit: exit status $status"
[ "$(cat "$dir/Pass1.txt")" = $'0\r\n0\r\n1\r\n1,2,2.5,3,4\r' ] || fail "typed limit: Pass1.txt is $(cat -A "$dir/Pass1.txt")"
[ "$(cat "$dir/Pass2.txt")" = $'0\r\n0\r\n1\r\n1,2,-2.5,3,4\r' ] || fail "typed limit: Pass2.txt is $(cat -A "$dir/Pass2.txt")"
echo "ok: a typed limit of 2.5 m gives both pass lines and exit status 0"

# An error: the report names the missing file; dismissing it ends with status 1 and the
# old pass lines untouched.
dir=$(folder error)
rm "$dir/MinRace.txt"
start "$dir"
press_go
dismiss_report
[ "$status" -eq 1 ] || fail "error: exit status $status"
grep -q "^kelvane: file error: .*: missing input file(s): MinRace.txt" "$work/stderr.txt" ||
  fail "error: standard error is '$(cat "$work/stderr.txt")'"
[ "$(cat "$dir/Pass1.txt" "$dir/Pass2.txt")" = $'old pass 1\r\nold pass 2\r' ] || fail "error: the old pass lines changed"
echo "ok: an error is reported on standard error and in a dialog, then ends with status 1"
echo "2 passed, 0 failed"
