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
echo "1 passed, 0 failed"
"$(dirname "$0")/package_test.sh" "$work"/a/dist/kelvane_*.deb
