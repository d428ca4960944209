#!/usr/bin/env bash
# Runs the built program as a person does, started from another folder, under a real X
# server with real input events: Return on the focused Go with the default limit on the
# sample lines (the pass lines must equal examples/Pass?.txt byte for byte on every
# platform; the Qt window's icon is checked on the way), a refused limit corrected by typing, an error, a folder named on the command
# line (a folder, a file in it, a missing path), and --version.
# Usage: end_to_end_test.sh path/to/kelvane version [command that runs it under Wine]
set -euo pipefail
program=$(realpath "$1")
version=$2
launcher=${3:-}
examples=$(realpath "$(dirname "$0")/../examples")
source "$(dirname "$0")/x_session.sh"

dir=$(folder $'lat\xe9in1') # not UTF-8: any name the file system takes
cp "$examples"/{Race,MaxRace,MinRace}.txt "$dir/"
start "$dir"
if [ -z "$launcher" ]; then # the icon a taskbar shows: 64 px, the race line white in the middle
  icon=$(xprop -id "$window" -notype 32c _NET_WM_ICON | sed 's/^[^=]*= //' | tr -d ' ')
  [ "$(cut -d, -f1,2,3,2083 <<<"$icon")" = "64,64,0,4294967295" ] || fail "window icon: ${icon:0:60}"
fi
click "$window" 20 20 && xdotool key Return # a click gives the window the keyboard
finish
[ "$status" -eq 0 ] && cmp "$dir/Pass1.txt" "$examples/Pass1.txt" && cmp "$dir/Pass2.txt" "$examples/Pass2.txt" ||
  fail "default limit: status $status"
echo "ok: Return on the focused Go with the default limit writes the sample pass lines"

type_limit() { click "$window" 154 104 && xdotool key End shift+Home Delete && xdotool type --delay 20 "$1"; }
dir=$(folder "typed-läufe/$(printf '%0230d' 0)") # beyond MAX_PATH
start "$dir"
type_limit "abc" && press_go && dismiss
kill -0 "$pid" || fail "refused limit: the program ended"
type_limit "2.5 m" && press_go && finish
[ "$status" -eq 0 ] && [ "$(cat "$dir"/Pass?.txt)" = $'0\r\n0\r\n1\r\n1,2,2.5,3,4\r\n0\r\n0\r\n1\r\n1,2,-2.5,3,4\r' ] ||
  fail "typed limit: status $status, $(cat -A "$dir"/Pass?.txt)"
echo "ok: a refused limit keeps the window; a typed limit of 2.5 m then gives both pass lines"

dir=$(folder error)
rm "$dir/MinRace.txt"
start "$dir" && press_go && dismiss && finish
[ "$status" -eq 1 ] && [ "$(cat "$dir"/Pass?.txt)" = $'old pass 1\r\nold pass 2\r' ] || fail "error: status $status"
grep -q "^kelvane: file error: .*: missing input file(s): MinRace.txt$" "$work/stderr.txt" ||
  fail "error: standard error is '$(cat "$work/stderr.txt")'"
echo "ok: an error is reported on standard error and in a dialog, then ends with status 1"

# A folder named on the command line, as a file manager passes one dropped on the program.
dir=$(folder named) && rm "$dir/$(basename "$program")"
for argument in "$dir" "$dir/Race.txt"; do
  rm -f "$dir"/Pass?.txt
  start_with "$(native_path "$argument")" && press_go && finish
  [ "$status" -eq 0 ] && [ "$(cat "$dir"/Pass1.txt)" = $'0\r\n0\r\n1\r\n1,2,4,3,4\r' ] ||
    fail "kelvane $argument: status $status, $(ls "$dir")"
done
echo "ok: kelvane FOLDER and kelvane FOLDER/Race.txt work on the lines in FOLDER"
# A refused command line, standard error in a file as in a script: that line alone, status 2
# at once. Where nobody could read it (no terminal, standard error closed, as from a file
# manager), a dialog says it too.
status=0 && (cd / && timeout 30 ${launcher:-} "$program" "$(native_path "$dir/missing")" 2>"$work/stderr.txt") || status=$?
[ "$status" -eq 2 ] && grep -q "^kelvane: .*missing: there is no such file or folder$" "$work/stderr.txt" ||
  fail "missing path: status $status, standard error '$(cat "$work/stderr.txt")'"
# As a file manager starts it: with no terminal; under Wine, by start, as Explorer would.
(cd / && exec ${launcher:-setsid} ${launcher:+start /wait /unix} "$program" --bogus 2>/dev/null) &
pid=$! && window="" && dismiss && finish # the dialog alone
[ "$status" -eq 2 ] || fail "--bogus from no terminal: status $status"
echo "ok: a refused command line ends with status 2 at once where standard error is read, after a dialog where it is not"
# A copy with no line files beside it and none named, as one installed with the system's
# programs: a folder chooser first; cancelled, no folder is chosen, and Go says so. A click
# on the preview then, or on the folder line or Ctrl+O at any time, chooses one.
dir="$work/installed" && mkdir "$dir" && cp "$program" "$dir/"
(cd / && exec ${launcher:-} "$dir/$(basename "$program")" 2>"$work/stderr.txt") &
pid=$!
chooser() { find_window '^Choose the folder of your line files$' | grep . || fail "no folder chooser: $(cat "$work/stderr.txt")"; }
choose() { chooser >/dev/null && sleep 2 && xdotool type --delay 20 "$(native_path "$1")" && xdotool key Return && sleep 2; } # folder $1
click "$(chooser)" 5 5 && xdotool key Escape
window=$(find_window '^Kelvane$')
[ -n "$window" ] || fail "no window after the chooser was cancelled"
press_go && dismiss && kill -0 "$pid" || fail "no folder chosen: the program ended"
first=$(folder chosen-by-click) && second=$(folder chosen-by-keys)
eval "$(xdotool getwindowgeometry --shell "$window")"
click "$window" $((WIDTH - 60)) 60 && choose "$second" # the preview, which says "click here" too
click "$window" 40 $((HEIGHT - 8)) && choose "$first"
click "$window" 20 20 && xdotool key ctrl+o && choose "$second"
press_go && finish
[ "$status" -eq 0 ] && [ "$(cat "$second/Pass1.txt")" = $'0\r\n0\r\n1\r\n1,2,4,3,4\r' ] ||
  fail "folder chosen: status $status, $(cat "$second/Pass1.txt")"
status=0 && (cd / && ${launcher:-} "$dir/$(basename "$program")" --no-window 2>"$work/stderr.txt") || status=$?
[ "$status" -eq 2 ] && grep -q "^kelvane: no FOLDER was named, and no line files are beside kelvane" "$work/stderr.txt" ||
  fail "--no-window with no folder: status $status, $(cat "$work/stderr.txt")"
echo "ok: a copy with no line files asks for a folder first; cancelled, no folder is chosen until a click on the preview or the folder line or Ctrl+O chooses one; --no-window says a folder must be named"

# Without a window, in scripts: no display on Linux; each folder in turn, one line for each
# that fails, the others written all the same.
good=$(folder no-window) && cp "$examples"/{Race,MaxRace,MinRace}.txt "$good/"
broken=$(folder no-window-broken) && printf '0\r\n0\r\n1\r\n1,2,x,3,4\r\n' >"$broken/MinRace.txt"
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY)
[ -z "$launcher" ] || no_display=() # Wine itself wants the display; the program opens no window
status=0 && (cd / && "${no_display[@]}" ${launcher:-} "$program" --no-window --limit 4 "$(native_path "$good")" >"$work/stdout.txt" 2>"$work/stderr.txt") || status=$?
[ "$status" -eq 0 ] && cmp "$good/Pass1.txt" "$examples/Pass1.txt" && cmp "$good/Pass2.txt" "$examples/Pass2.txt" &&
  [ ! -s "$work/stdout.txt" ] && [ ! -s "$work/stderr.txt" ] || fail "no window: status $status, $(cat "$work/stderr.txt")"
rm "$good"/Pass?.txt
empty=$(folder no-window-empty) && rm "$empty"/*.txt
named=("$(native_path "$broken")" "$(native_path "$empty")" "$(native_path "$good")") # once: each is a Wine start
status=0 && (cd / && "${no_display[@]}" ${launcher:-} "$program" --no-window "${named[@]}" 2>"$work/stderr.txt") || status=$?
expected="kelvane: ${named[0]}: input error: MinRace.txt:4: \"x\" is not a number
kelvane: ${named[1]}: file error: missing input file(s): Race.txt, MaxRace.txt, MinRace.txt"
[ "$status" -eq 1 ] && cmp "$good/Pass1.txt" "$examples/Pass1.txt" && [ "$(cat "$broken/Pass1.txt")" = $'old pass 1\r' ] &&
  [ "$(cat "$work/stderr.txt")" = "$expected" ] ||
  fail "no window, two folders broken: status $status, $(cat -A "$work/stderr.txt"), Pass1.txt of the broken folder: $(cat -A "$broken/Pass1.txt")"
echo "ok: --no-window writes the sample pass lines with no display; each broken folder is one line naming it once, status 1, the others still run"

if [ -z "$launcher" ]; then # no display to open the window on, or no plugin for it: one line, status 1, no abort
  free=100 # a display no X server has: none holds its lock
  while [ -e "/tmp/.X$free-lock" ] || [ -e "/tmp/.X11-unix/X$free" ]; do free=$((free + 1)); done
  for env in "-u DISPLAY -u WAYLAND_DISPLAY" DISPLAY=:$free QT_QPA_PLATFORM=nonesuch; do
    status=0 && (cd / && env $env "$program" 2>"$work/stderr.txt") || status=$?
    [ "$status" -eq 1 ] && [ "$(wc -l <"$work/stderr.txt")" -eq 1 ] && grep -qE "^kelvane: (no display to open the window on: |Qt's plugin for this display is not installed .*: Could not find the Qt platform plugin \"nonesuch\")" "$work/stderr.txt" ||
      fail "$env: status $status, $(cat "$work/stderr.txt")"
  done
  echo "ok: with no display, one line on standard error and status 1; a missing plugin said as that"
fi
for keys in ctrl+q ctrl+w; do # the close button's keys: nothing written, status 0
  dir=$(folder "closed-$keys") && start "$dir" && click "$window" 20 20 && xdotool key "$keys" && finish
  [ "$status" -eq 0 ] && [ "$(cat "$dir"/Pass?.txt)" = $'old pass 1\r\nold pass 2\r' ] || fail "$keys: status $status"
done
echo "ok: Ctrl+Q and Ctrl+W close the window, writing nothing"
for option in --version -V; do
  [ "$(cd / && ${launcher:-} "$program" $option)" = "kelvane $version" ] ||
    fail "$option prints '$(${launcher:-} "$program" $option)'"
done
echo "ok: --version and -V print kelvane $version"
echo "$([ -z "$launcher" ] && echo 10 || echo 9) passed, 0 failed"
