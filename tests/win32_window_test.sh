#!/usr/bin/env bash
# Runs the Win32 window's tests under Wine on a private X server: all of them, then the
# layout's again at 192 dpi (the prefix's resolution, put back afterwards).
# Usage: WINEPREFIX=path win32_window_test.sh path/to/kelvane_window_tests.exe path/to/wine_run.sh
set -euo pipefail
tests=$(realpath "$1")
source "$(dirname "$0")/x_session.sh"
"$2" "$tests"
resolution() { "$2" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f; }
resolution 192 "$2"
status=0
KELVANE_TEST_DPI=192 "$2" "$tests" --gtest_filter='*PromptFitsItsBox*' || status=$?
resolution 96 "$2"
exit "$status"
