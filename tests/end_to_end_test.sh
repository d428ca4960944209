#!/usr/bin/env bash
# Runs the built program as a person does: in a folder of line files, under a real X
# server, typing the limit and pressing Go with real input events. Then checks the pass
# lines, the standard error and the exit status.
# Usage: end_to_end_test.sh path/to/kelvane
set -euo pipefail

program=$(realpath "$1")
work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"

# Starts the program in folder $1 and waits for its window; sets $pid and $window.
start() {
  (cd "$1" && exec ./kelvane 2>stderr.txt) &
  pid=$!
  window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Kelvane$' | head -n 1 || true)
  [ -n "$window" ] || fail "no window appeared"
}

# Waits for the program and sets $status to its exit status.
finish() {
  status=0
  timeout 10 tail --pid="$pid" -f /dev/null || fail "the program did not end"
  wait "$pid" || status=$?
}

# Clicks at pixel ($2, $3) of window $1.
click() { xdotool mousemove --sync --window "$1" "$2" "$3" click 1; }

folder() {
  local dir="$work/$1"
  mkdir "$dir"
  cp "$program" "$dir/kelvane"
  printf '0\r\n0\r\n1\r\n1,2,0,3,4\r\n' >"$dir/Race.txt"
  printf '0\r\n0\r\n1\r\n1,2,10,3,4\r\n' >"$dir/MaxRace.txt"
  printf '0\r\n0\r\n1\r\n1,2,-6,3,4\r\n' >"$dir/MinRace.txt"
  echo "$dir"
}

# A typed limit: select the text box's "4", type over it, press Go.
dir=$(folder typed)
start "$dir"
click "$window" 150 104
xdotool key --window "$window" ctrl+a
xdotool type --window "$window" --delay 20 "2.5 m"
click "$window" 156 148
finish
[ "$status" -eq 0 ] || fail "typed limit: exit status $status"
[ "$(cat "$dir/Pass1.txt")" = $'0\r\n0\r\n1\r\n1,2,2.5,3,4\r' ] || fail "typed limit: Pass1.txt is $(cat -A "$dir/Pass1.txt")"
[ "$(cat "$dir/Pass2.txt")" = $'0\r\n0\r\n1\r\n1,2,-2.5,3,4\r' ] || fail "typed limit: Pass2.txt is $(cat -A "$dir/Pass2.txt")"
[ ! -s "$dir/stderr.txt" ] || fail "typed limit: wrote to standard error: $(cat "$dir/stderr.txt")"
echo "ok: a typed limit of 2.5 m gives both pass lines and exit status 0"

# An error: the report names the missing file; dismissing it ends with a non-zero status
# and the old pass lines are untouched.
dir=$(folder error)
rm "$dir/MinRace.txt"
printf 'old 1' >"$dir/Pass1.txt"
printf 'old 2' >"$dir/Pass2.txt"
start "$dir"
click "$window" 156 148
report=$(timeout 10 xdotool search --sync --onlyvisible --name '^Kelvane$' | grep -v "^$window\$" | head -n 1 || true)
[ -n "$report" ] || fail "error: no report appeared"
xdotool windowfocus --sync "$report" key Return
finish
[ "$status" -ne 0 ] || fail "error: exit status 0"
grep -q "^kelvane: file error: .*: missing input file(s): MinRace.txt$" "$dir/stderr.txt" ||
  fail "error: standard error is '$(cat "$dir/stderr.txt")'"
[ "$(cat "$dir/Pass1.txt")" = "old 1" ] && [ "$(cat "$dir/Pass2.txt")" = "old 2" ] ||
  fail "error: the old pass lines changed"
[ "$(ls -A "$dir" | wc -l)" -eq 6 ] || fail "error: stray files: $(ls -A "$dir")"
echo "ok: an error is reported on standard error and in a dialog, then ends with status $status"

echo "2 passed, 0 failed"
