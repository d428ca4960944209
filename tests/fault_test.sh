#!/usr/bin/env bash
# Faults a user can meet, each run through the built program under a real X server: the
# message, the exit status, and the folder unchanged (entries, and the pass lines' bytes,
# modes and owners). Then kills a writer at random moments: each pass line must be its old
# contents or a complete new file. Cases that need another user or a mount run only as
# root, and say so when skipped.
# Usage: fault_test.sh path/to/kelvane path/to/kelvane_write_loop
set -euo pipefail
program=$(realpath "$1")
write_loop=$(realpath "$2")
source "$(dirname "$0")/x_session.sh"
passed=0
skipped=0
root=false
[ "$(id -u)" -eq 0 ] && root=true

folder_state() {
  ls -A "$1"
  for f in "$1"/Pass?.txt; do [ -f "$f" ] && stat -c '%n %a %U' "$f" && md5sum <"$f"; done
  true
}

# Presses Go in folder $1 (as user $4, with standard error into command $5, when given):
# the run must fail with a message matching $3, status 1, and the folder as it was.
expect_fault() {
  local dir=$1 name=$2 pattern=$3 before
  before=$(folder_state "$dir")
  start "$dir" "${4:-}" "${5:-}"
  press_go
  dismiss
  finish
  [ "$status" -eq 1 ] || fail "$name: exit status $status"
  [ -n "${5:-}" ] || grep -qE "^kelvane: $pattern" "$work/stderr.txt" || fail "$name: standard error is '$(cat "$work/stderr.txt")'"
  [ "$before" = "$(folder_state "$dir")" ] || fail "$name: the folder changed: $(folder_state "$dir")"
  echo "ok: $name: $(cat "$work/stderr.txt" 2>/dev/null)"
  passed=$((passed + 1))
}

skip() {
  echo "skipped: $1 needs root"
  skipped=$((skipped + 1))
}

dir=$(folder pass2-dir)
rm "$dir/Pass2.txt" && mkdir "$dir/Pass2.txt"
expect_fault "$dir" "Pass2.txt is a folder" "file error: .*/Pass2\.txt: cannot be replaced: Is a directory$"
dir=$(folder input-dir)
rm "$dir/MaxRace.txt" && mkdir "$dir/MaxRace.txt"
expect_fault "$dir" "MaxRace.txt is a folder" "file error: .*/MaxRace\.txt: is not a regular file$"
dir=$(folder fifo)
rm "$dir/Race.txt" && mkfifo "$dir/Race.txt"
expect_fault "$dir" "Race.txt is a FIFO" "file error: .*/Race\.txt: is not a regular file$"
dir=$(folder huge)
truncate -s 300M "$dir/MinRace.txt"
expect_fault "$dir" "MinRace.txt is 300 MB" "file error: .*/MinRace\.txt: is 314572800 bytes, larger than any line file \(at most 67108864\)$"
dir=$(folder closed-pipe)
rm "$dir/Race.txt"
expect_fault "$dir" "standard error's reader has gone" "" "" "true"

if $root; then
  dir=$(folder read-only)
  chmod 666 "$dir"/Pass?.txt
  expect_fault "$dir" "read-only program folder" "file error: cannot create a file in .*/read-only: Permission denied$" 65534
  dir=$(folder unreadable)
  chmod 000 "$dir/MinRace.txt"
  expect_fault "$dir" "MinRace.txt cannot be read" "file error: .*/MinRace\.txt: cannot be opened: Permission denied$" 65534

  # The second pass line cannot be renamed over (a mount point); the first, which its owner
  # may write but not read, must get its old version back with its mode and owner.
  dir=$(folder busy)
  chown nobody "$dir/Pass1.txt" && chmod 200 "$dir/Pass1.txt"
  touch "$work/other" && mount --bind "$work/other" "$dir/Pass2.txt"
  expect_fault "$dir" "Pass2.txt is busy" "file error: .*/Pass2\.txt: cannot be replaced: Device or resource busy$"
  umount "$dir/Pass2.txt"

  # As another user in a shared sticky folder, next to a pass line of root's.
  dir=$(folder sticky)
  chmod 1777 "$dir" && chown nobody "$dir/Pass1.txt" && chmod 200 "$dir/Pass1.txt" && chmod 666 "$dir/Pass2.txt"
  expect_fault "$dir" "Pass2.txt is another user's in a sticky folder" "file error: .*/Pass2\.txt: cannot be replaced: Operation not permitted$" 65534

  # A run as root keeps the owner and mode of the files it replaces.
  dir=$(folder owners)
  chown nobody "$dir/Pass1.txt" && chmod 444 "$dir/Pass2.txt"
  start "$dir" && press_go && finish
  [ "$status" -eq 0 ] && [ "$(stat -c '%a %U' "$dir"/Pass?.txt | tr '\n' ' ')" = "644 nobody 444 root " ] ||
    fail "owners: status $status, $(stat -c '%n %a %U' "$dir"/Pass?.txt)"
  echo "ok: a run as root keeps the pass lines' owners and modes"
  passed=$((passed + 1))

  # A disk that fills up while the pass lines are written: 4000-row inputs on a tmpfs with
  # 64 KiB left, less than one pass line needs.
  dir=$(folder full)
  mount -t tmpfs -o size=64m tmpfs "$dir"
  trap 'umount "$work/full"; cleanup' EXIT
  cp "$program" "$dir/" && printf 'old pass 1\r\n' >"$dir/Pass1.txt" && printf 'old pass 2\r\n' >"$dir/Pass2.txt"
  for name in Race MaxRace MinRace; do
    awk 'BEGIN { printf "0\r\n0\r\n4000\r\n"; for (i = 0; i < 4000; i++) printf "%d,%.3f,%.3f,150.5,0.9\r\n", i * 10, i / 7, i % 9 }' >"$dir/$name.txt"
  done
  dd if=/dev/zero of="$dir/filler" bs=1M 2>/dev/null || true
  truncate -s -64K "$dir/filler"
  expect_fault "$dir" "the disk fills up" "file error: .*/Pass[12]\.txt: cannot be written: No space left on device$"
else
  for name in "another user" "a bind mount" "a sticky folder" "an owner" "a tmpfs"; do skip "$name"; done
fi

# Kills a writer of max-size pass lines at random moments; each pass line must then be
# its old contents or one of the complete new files.
dir="$work/kill"
mkdir "$dir" && cd "$dir"
for name in Race MaxRace MinRace; do
  awk -v s="${#name}" 'BEGIN { printf "0\r\n327640\r\n32764\r\n"; for (i = 0; i < 32764; i++) printf "%d,%.3f,%.3f,150.5,0.9\r\n", i * 10, i / 7, (s - 5) * (i % 13) / 3 }' >"$name.txt"
done
for limit in 4 3; do "$write_loop" "$limit" && cp Pass1.txt "../Pass1-$limit" && cp Pass2.txt "../Pass2-$limit"; done
cmp -s ../Pass1-4 ../Pass1-3 && fail "kill: the two limits give the same pass line"
entries=$(ls -A)
strays=""
for kill in $(seq 30); do
  "$write_loop" >../loop.out &
  loop=$!
  for _ in $(seq 200); do grep -q writing ../loop.out && break; sleep 0.05; done
  sleep "0.$(printf '%03d' $((RANDOM % 250)))"
  kill -9 "$loop" && wait "$loop" 2>/dev/null || true
  for f in Pass1 Pass2; do
    cmp -s $f.txt ../$f-4 || cmp -s $f.txt ../$f-3 || fail "kill $kill: $f.txt is not a complete pass line"
  done
  # A kill between keeping an old version and placing the new leaves that temporary;
  # nothing can clean up after SIGKILL.
  stray=$(comm -13 <(echo "$entries") <(ls -A))
  [ -z "$stray" ] || { strays="$strays $stray" && rm -f -- $stray; }
done
cd /
echo "ok: 30 kills while pass lines were written; each was complete${strays:+; temporaries left:$strays}"
passed=$((passed + 1))
echo "$passed passed, 0 failed, $skipped skipped"
