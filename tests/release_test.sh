#!/usr/bin/env bash
# tools/release passes its own tests, and gives the same bytes from two clones of one commit
# in different folders, made on different days (the second three days on, under faketime,
# without its tests).
# Usage: tests/release_test.sh (in a checkout; the commit tested is HEAD)
set -euo pipefail
source=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2 && exit 1; }
git clone -q "$source" "$work/a"
git clone -q "$source" "$work/another/clone-in-a-longer-folder"
(cd "$work/a" && tools/release >"$work/a.log" 2>&1) || fail "release in a: $(grep -E 'FAIL|Failed|Error' "$work/a.log" | tail -20)"
(cd "$work/another/clone-in-a-longer-folder" && faketime -f '+3d' tools/release --no-tests >"$work/b.log" 2>&1) ||
  fail "release in the other clone: $(tail "$work/b.log")"
first=$(cat "$work/a/dist/SHA256SUMS")
second=$(cat "$work/another/clone-in-a-longer-folder/dist/SHA256SUMS")
[ "$first" = "$second" ] || fail "the releases differ:"$'\n'"$first"$'\n'"$second"
[ "$(wc -l <<<"$first")" -eq 3 ] || fail "SHA256SUMS does not name the two archives and the package: $first"
echo "ok: two releases of $(git -C "$source" rev-parse --short HEAD) made apart are the same bytes:"
echo "$first"
for archive in "$work"/a/dist/kelvane-*; do # each carries the notices of what it holds
  contents=$(if [[ $archive == *.zip ]]; then unzip -Z1 "$archive"; else tar -tzf "$archive"; fi)
  grep -q "/THIRD-PARTY-NOTICES" <<<"$contents" || fail "$archive has no THIRD-PARTY-NOTICES"
done
# Each download holds the sample lines. The tarball unpacked into a scratch ~/.local, as the
# README tells, puts Kelvane in the desktop's database of applications, as a menu reads it.
[ "$(unzip -Z1 "$work"/a/dist/kelvane-*-windows-x86_64.zip | grep -c '/examples/[A-Za-z]*Race\.txt$')" -eq 3 ] || fail "the zip lacks sample lines"
home=$work/home && mkdir -p "$home/.local"
tar -xzf "$work"/a/dist/kelvane-*-linux-x86_64.tar.gz -C "$home/.local" --strip-components=1
apps=$(env -i HOME="$home" XDG_DATA_DIRS=/nonexistent PATH="$home/.local/bin:/usr/bin:/bin" /usr/bin/python3 -c \
  'from gi.repository import Gio; print(*[app.get_id() for app in Gio.AppInfo.get_all()])')
[ -f "$home/.local/share/doc/kelvane/examples/Race.txt" ] && [[ " $apps " == *" org.kelvane.Kelvane.desktop "* ]] || fail "in ~/.local: no samples, or no Kelvane in the menu: $apps"
echo "ok: the zip and the tarball hold the sample lines; the tarball unpacked into ~/.local is in the menu"
echo "2 passed, 0 failed"
"$(dirname "$0")/package_test.sh" "$work"/a/dist/kelvane_*.deb
