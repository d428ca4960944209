#!/usr/bin/env bash
# Runs the Win32 window's tests under Wine on a private X server, then all again at 192 dpi
# (the prefix's resolution, put back afterwards).
# Usage: WINEPREFIX=path win32_window_test.sh path/to/kelvane_window_tests.exe path/to/wine_run.sh
set -euo pipefail
tests=$(realpath "$1")
screen=3840x2160 # as large as a 192 dpi screen: the window opens as large as it needs
source "$(dirname "$0")/x_session.sh"
"$2" "$tests"
resolution() { "$2" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f; }
resolution 192 "$2"
status=0
KELVANE_TEST_DPI=192 "$2" "$tests" || status=$?
resolution 96 "$2"
exit "$status"
