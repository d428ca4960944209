#!/usr/bin/env bash
# Launch to window: how long the window takes to appear after the program starts, timed by
# bench/launch_to_window.cpp on a private Xvfb server, many launches in turn; then launch to
# the preview drawn on max-size lines (32,764 rows each): until Pass1's colour shows. With
# further programs given, each is timed too, in the same rounds: say, a build of an earlier
# commit.
# Builds what it needs with the preset "default" first.
# Needs: tools/install-deps
# Usage: bench/launch.sh [launches, default 40] [OTHER-PROGRAM...]
set -euo pipefail
cd "$(dirname "$0")/.."
launches=${1:-40}
shift || true
cmake --preset default >/dev/null
cmake --build --preset default --target kelvane launch_to_window >/dev/null
programs=("$PWD/build/kelvane" "$@")
work=$(mktemp -d)
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")" XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir "$work/lines"
for name in Race:0 MaxRace:6 MinRace:-6; do
  awk -v offset="${name#*:}" 'BEGIN { printf "0\n327640\n32764\n"
    for (i = 0; i < 32764; i++) printf "%d,0,%.3f,150.5,0.9\n", i * 10, 20 * sin(i / 900) + offset }' >"$work/lines/${name%:*}.txt"
done
for ((round = 0; round < launches; round++)); do
  for i in "${!programs[@]}"; do
    build/bench/launch_to_window "${programs[$i]}" "$work" >>"$work/times-$i"
    build/bench/launch_to_window --until C24E00 "${programs[$i]}" "$work/lines" >>"$work/preview-$i"
  done
done
for i in "${!programs[@]}"; do
  for what in times preview; do
    sort -n "$work/$what-$i" | awk -v name="${programs[$i]} ($what)" '{ t[NR] = $1 } END {
      printf "%s: median %.1f ms (quartiles %.1f to %.1f, min %.1f, max %.1f, %d launches)\n",
        name, (t[int((NR + 1) / 2)] + t[int(NR / 2) + 1]) / 2, t[int(NR / 4) + 1], t[int(3 * NR / 4)], t[1], t[NR], NR }'
  done
done
