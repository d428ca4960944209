#!/usr/bin/env bash
# The pointer over a full-screen preview, as a person moves it: the window of each program
# opened on max-size lines (32,764 rows each) on a private 1920 x 1080 Xvfb server, sized to
# the screen; then bursts of pointer moves one column apart, and of wheel notches in and out
# there, 30 ms apart, each burst a single xdotool command. Gives the CPU time (user and system, /proc) each move
# and each notch cost the program and the X server, over the whole burst, as a mean of
# the bursts.
# Builds both windows with the presets "default" and "windows" first; a program named .exe
# runs under Wine (tests/wine_run.sh), whose wineserver is counted with it. With programs
# given, times those instead: say, builds of an earlier commit beside these.
# Needs: tools/install-deps
# Usage: bench/pointer.sh [moves per burst, default 400] [bursts, default 5] [PROGRAM...]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
moves=${1:-400}
bursts=${2:-5}
shift 2 || shift $# || true
programs=("$@")
[ $# -gt 0 ] || programs=("$root/build/kelvane" "$root/build-windows/kelvane.exe")
cmake --build --preset default --target kelvane >/dev/null
cmake --build --preset windows --target kelvane >/dev/null
work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb; pkill -f "$work" || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")" XDG_RUNTIME_DIR="$work/runtime" \
  XDG_CONFIG_HOME="$work/config" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -m 700 "$XDG_RUNTIME_DIR"
for name in Race:0 MaxRace:6 MinRace:-6; do
  awk -v offset="${name#*:}" 'BEGIN { printf "0\n327640\n32764\n"
    for (i = 0; i < 32764; i++) printf "%d,0,%.3f,150.5,0.9\n", i * 10, 20 * sin(i / 900) + offset }' >"$work/${name%:*}.txt"
done

# The CPU time of the processes $@ so far, in clock ticks.
ticks() { for pid in "$@"; do awk '{ print $14 + $15 }' "/proc/$pid/stat"; done | paste -sd+ | bc; }

# Times program $1, kelvane.exe under Wine with its wineserver.
measure() {
  local program=$1 launcher="" helpers="" window pid
  if [[ $program == *.exe ]]; then
    export WINEPREFIX=$root/build-windows/wine-prefix
    launcher=$root/tests/wine_run.sh helpers=wineserver
  fi
  rm -f "$work"/kelvane*
  cp "$program" "$work/"
  (cd / && exec ${launcher:-} "$work/$(basename "$program")" 2>/dev/null) &
  for _ in $(seq 120); do
    window=$(xdotool search --onlyvisible --name '^Kelvane$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.5
  done
  xdotool windowmove --sync "$window" 0 0 windowsize --sync "$window" 1920 1080
  sleep 3 # the lines read and the preview drawn
  pid=$(pgrep -f "$work/$(basename "$program")" | tail -n 1)
  local pids=("$pid") hz
  [ -z "$helpers" ] || pids+=($(pgrep "^$helpers" || true))
  hz=$(getconf CLK_TCK)
  for what in move wheel; do
    local commands=() x
    for ((i = 0; i < moves; i++)); do
      x=$((900 + i % 800))
      if [ $what = move ]; then commands+=(mousemove "$x" 600); else
        commands+=(click $((4 + i % 2)))
      fi
      commands+=(sleep 0.03) # each drawn before the next: a hand's pace
    done
    xdotool mousemove 900 600 && sleep 1
    for ((burst = 0; burst < bursts; burst++)); do
      local before server_before
      before=$(ticks "${pids[@]}") server_before=$(ticks "$xvfb")
      xdotool "${commands[@]}" && sleep 2 # whatever the burst queued, drawn
      echo "$(( $(ticks "${pids[@]}") - before )) $(( $(ticks "$xvfb") - server_before ))"
    done | awk -v name="$program $what" -v n="$moves" -v hz="$hz" '
      { t = $1 * 1000 / hz / n; all += t; server += $2 * 1000 / hz / n
        if (NR == 1 || t < low) low = t; if (t > high) high = t }
      END { printf "%s: %.2f ms of the program (mean of %d bursts, %.2f to %.2f), %.2f ms of the X server\n",
        name, all / NR, NR, low, high, server / NR }'
  done
  kill "$pid" && sleep 1
}
for program in "${programs[@]}"; do measure "$program"; done
