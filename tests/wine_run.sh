#!/usr/bin/env bash
# Runs a Windows program under Wine in the prefix $WINEPREFIX, which the build keeps for its
# tests alone; the first run of a build makes the prefix, once, under a lock.
# Usage: WINEPREFIX=path wine_run.sh program.exe [arguments]
set -euo pipefail
: "${WINEPREFIX:?must name the Wine prefix of the build}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.made" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.made" ]; then
    rm -rf "$WINEPREFIX"
    wineboot --init >"$WINEPREFIX.log" 2>&1 && wineserver --wait ||
      { echo "FAIL: wineboot could not make the Wine prefix $WINEPREFIX:" >&2 && cat "$WINEPREFIX.log" >&2 && exit 1; }
    touch "$WINEPREFIX/.made"
  fi
  exec 9>&-
fi
exec wine "$@"
