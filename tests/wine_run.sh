#!/usr/bin/env bash
# Runs a Windows program under Wine in the prefix $WINEPREFIX, which the build keeps for its
# tests alone; the first run of a build makes the prefix.
# Usage: WINEPREFIX=path wine_run.sh program.exe [arguments]
set -euo pipefail
: "${WINEPREFIX:?must name the Wine prefix of the build}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.made" ]; then
  exec 9>"$WINEPREFIX.lock" && flock 9 # tests started side by side make it once
  if [ ! -f "$WINEPREFIX/.made" ]; then
    rm -rf "$WINEPREFIX" # a prefix an interrupted run left half-made
    wineboot --init >"$WINEPREFIX.log" 2>&1 && wineserver --wait ||
      { echo "FAIL: wineboot could not make $WINEPREFIX:" >&2 && cat "$WINEPREFIX.log" >&2 && exit 1; }
    touch "$WINEPREFIX/.made"
  fi
  exec 9>&-
fi
exec wine "$@"
