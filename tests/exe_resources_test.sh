#!/usr/bin/env bash
# kelvane.exe as a Windows user gets it: one file that imports nothing but Windows' own
# DLLs, with its version, icon and manifest in its resources and Windows 10 in its header.
# Usage: exe_resources_test.sh path/to/kelvane.exe version
set -euo pipefail
exe=$1 version=$2
fail() { echo "FAIL: $*" >&2 && exit 1; }
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
resources=$(x86_64-w64-mingw32-windres -i "$exe" -O rc)

system_dlls='^(ADVAPI32|COMCTL32|COMDLG32|GDI32|KERNEL32|msvcrt|OLE32|SHELL32|USER32|UxTheme|api-ms-win-[a-z0-9-]+)\.dll$'
others=$(sed -n 's/^\tDLL Name: //p' <<<"$headers" | grep -Eiv "$system_dlls" || true)
[ -z "$others" ] || fail "kelvane.exe needs DLLs that Windows does not have: $others"
echo "ok: imports only Windows' own DLLs: $(sed -n 's/^\tDLL Name: //p' <<<"$headers" | tr '\n' ' ')"

for value in "FileVersion\", \"$version\"" "ProductVersion\", \"$version\"" 'ProductName", "Kelvane"' \
  'OriginalFilename", "kelvane.exe"' 'LegalCopyright", "Copyright' 'FileDescription", "'; do
  grep -qF "VALUE \"$value" <<<"$resources" || fail "no VALUE \"$value in its version resource"
done
grep -q '^1 14 /\* RT_GROUP_ICON \*/' <<<"$resources" || fail "no icon"
grep -q '^1 24 /\* RT_MANIFEST \*/' <<<"$resources" || fail "no manifest"
for text in "version=\"\"$version.0\"\"" 'level=""asInvoker""' 'supportedOS Id='; do
  grep -qF "$text" <<<"$resources" || fail "the manifest lacks $text"
done
echo "ok: version $version, icon and manifest (asInvoker, supportedOS) in its resources"

for field in MajorSubsystemVersion MajorOSystemVersion; do
  grep -qE "^$field\s+10$" <<<"$headers" || fail "$field is not 10: $(grep "^$field" <<<"$headers")"
done
echo "ok: its header asks for Windows 10"
echo "3 passed, 0 failed"
