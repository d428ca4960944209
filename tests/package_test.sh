#!/usr/bin/env bash
# The Debian package as a packager and a user meet it: lintian finds nothing, even pedantic,
# the desktop entry and the metainfo validate with no tag unknown to the system's
# appstreamcli, and it installs into a scratch root with the sample lines, runs --version
# there and is removed again, leaving nothing behind.
# Usage: package_test.sh path/to/kelvane_VERSION-1_amd64.deb
set -euo pipefail
deb=$(realpath "$1")
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2 && exit 1; }
lintian -I --pedantic --fail-on error,warning,info,pedantic "$deb" >"$work/lintian.txt" 2>&1 ||
  fail "lintian: $(cat "$work/lintian.txt")"
echo "ok: lintian finds nothing, even pedantic"
dpkg-deb -x "$deb" "$work/files"
desktop-file-validate "$work"/files/usr/share/applications/*.desktop || fail "desktop entry"
appstreamcli validate --no-net "$work"/files/usr/share/metainfo/*.metainfo.xml >"$work/appstream.txt" &&
  ! grep -q unknown-tag "$work/appstream.txt" || fail "metainfo: $(cat "$work/appstream.txt")"
echo "ok: the desktop entry and the metainfo validate"
root=$work/root && mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" && touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --force-depends -i "$deb" >/dev/null 2>&1 # its libraries are the host's
version=$(dpkg-deb -f "$deb" Version)
[ "$("$root/usr/bin/kelvane" --version)" = "kelvane ${version%-1}" ] || fail "--version in the scratch root"
samples=$root/usr/share/doc/kelvane/examples
[ "$(ls "$samples" | tr '\n' ' ')" = "MaxRace.txt MinRace.txt Race.txt " ] || fail "sample lines: $(ls "$samples")"
# Text files and folders open as before: Kelvane claims neither type. The index is made as
# the package's trigger makes it on a real system.
update-desktop-database "$root/usr/share/applications"
for type in text/plain inode/directory; do
  claim=$(env -i PATH="$root/usr/bin:$PATH" HOME="$work" XDG_DATA_DIRS="$root/usr/share" gio mime "$type" 2>&1 || true)
  ! grep -qi kelvane <<<"$claim" || fail "$type opens with Kelvane: $claim"
done
echo "ok: text files and folders do not open with Kelvane"
rm "$root/usr/share/applications/mimeinfo.cache"
dpkg --root="$root" --purge kelvane >/dev/null
left=$(cd "$root" && find . -mindepth 1 -not -path './var*')
[ -z "$left" ] || fail "left behind after removal: $left"
echo "ok: it installs with the sample lines, runs --version and is removed leaving nothing behind"
echo "4 passed, 0 failed"
