#!/usr/bin/env bash
# Runs the Win32 window's tests under Wine on a private X server.
# Usage: WINEPREFIX=path win32_window_test.sh path/to/kelvane_window_tests.exe path/to/wine_run.sh
set -euo pipefail
tests=$(realpath "$1")
source "$(dirname "$0")/x_session.sh"
"$2" "$tests"
