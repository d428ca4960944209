#!/usr/bin/env bash
# kelvane.exe as a Windows user gets it: one file that imports nothing but Windows' own
# DLLs, with its version, icon and manifest in its resources and Windows 10 in its header.
# Usage: exe_resources_test.sh path/to/kelvane.exe version
set -euo pipefail
exe=$1 version=$2
fail() { echo "FAIL: $*" >&2 && exit 1; }
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
resources=$(x86_64-w64-mingw32-windres -i "$exe" -O rc)

dlls=$(sed -n 's/^\tDLL Name: //p' <<<"$headers")
system='^(ADVAPI32|COMCTL32|COMDLG32|GDI32|KERNEL32|msvcrt|OLE32|SHELL32|USER32|UxTheme)\.dll$'
! grep -Eiv "$system" <<<"$dlls" || fail "kelvane.exe needs DLLs that Windows does not have"
echo "ok: imports only Windows' own DLLs:" $dlls

for text in "FileVersion\", \"$version\"" "ProductVersion\", \"$version\"" 'OriginalFilename", "kelvane.exe"' \
  'LegalCopyright", "Copyright' "version=\"\"$version.0\"\"" 'level=""asInvoker""' 'supportedOS Id=' \
  '1 14 /* RT_GROUP_ICON */'; do
  grep -qF "$text" <<<"$resources" || fail "its resources lack $text"
done
echo "ok: version $version, icon and manifest (asInvoker, supportedOS) in its resources"

grep -qE '^MajorSubsystemVersion\s+10$' <<<"$headers" || fail "its header does not ask for Windows 10"
echo "ok: its header asks for Windows 10"
echo "3 passed, 0 failed"
