#!/usr/bin/env bash
# Faults a user can meet, each run through the built program under a real X server: the
# message, the exit status, and the folder unchanged (entries, and the pass lines' bytes,
# modes and owners). Then kills a writer at random moments: each pass line must be a
# complete file. Cases that need another user or a mount run only as root.
# Usage: fault_test.sh path/to/kelvane path/to/kelvane_write_loop
set -euo pipefail
program=$(realpath "$1")
write_loop=$(realpath "$2")
source "$(dirname "$0")/x_session.sh"
passed=0 skipped=0

folder_state() { ls -A "$1" && stat -c '%n %a %U' "$1"/Pass?.txt && md5sum "$1"/Pass?.txt; }

# Presses Go in folder $1 (as user $4, with standard error into command $5, when given):
# the run must fail with a message matching $3, status 1, and the folder as it was.
expect_fault() {
  local before
  before=$(folder_state "$1")
  start "$1" "${4:-}" "${5:-}" && press_go && dismiss && finish
  [ "$status" -eq 1 ] || fail "$2: exit status $status"
  [ -n "${5:-}" ] || grep -qE "^kelvane: $3" "$work/stderr.txt" || fail "$2: standard error is '$(cat "$work/stderr.txt")'"
  [ "$before" = "$(folder_state "$1")" ] || fail "$2: the folder changed: $(folder_state "$1")"
  echo "ok: $2: $(cat "$work/stderr.txt")" && passed=$((passed + 1))
}

dir=$(folder fifo)
rm "$dir/Race.txt" && mkfifo "$dir/Race.txt"
expect_fault "$dir" "Race.txt is a FIFO" "file error: .*/Race\.txt: is not a regular file$"
dir=$(folder huge)
truncate -s 300M "$dir/MinRace.txt"
expect_fault "$dir" "MinRace.txt is 300 MB" "file error: .*/MinRace\.txt: is 314572800 bytes, larger than any line file \(at most 67108864\)$"
dir=$(folder closed-pipe)
rm "$dir/Race.txt"
expect_fault "$dir" "standard error's reader has gone" "" "" true

if [ "$(id -u)" -ne 0 ]; then
  skipped=6 && echo "skipped: 6 cases need root (another user, mounts)"
else
  dir=$(folder read-only)
  chmod 666 "$dir"/Pass?.txt
  expect_fault "$dir" "read-only program folder" "file error: cannot create a file in .*/read-only: Permission denied$" 65534
  dir=$(folder unreadable)
  chmod 000 "$dir/MinRace.txt"
  expect_fault "$dir" "MinRace.txt cannot be read" "file error: .*/MinRace\.txt: cannot be opened: Permission denied$" 65534
  # The second pass line cannot be renamed over (a mount point); the first, which its
  # owner may write but not read, must get its old version back with its mode and owner.
  dir=$(folder busy)
  chown nobody "$dir/Pass1.txt" && chmod 200 "$dir/Pass1.txt"
  touch "$work/other" && mount --bind "$work/other" "$dir/Pass2.txt"
  expect_fault "$dir" "Pass2.txt is busy" "file error: .*/Pass2\.txt: cannot be replaced: Device or resource busy$"
  umount "$dir/Pass2.txt"
  dir=$(folder sticky)
  chmod 1777 "$dir" && chown nobody "$dir/Pass1.txt" && chmod 200 "$dir/Pass1.txt" && chmod 666 "$dir/Pass2.txt"
  expect_fault "$dir" "Pass2.txt is root's in a sticky folder" "file error: .*/Pass2\.txt: cannot be replaced: Operation not permitted$" 65534

  dir=$(folder owners)
  chown nobody "$dir/Pass1.txt" && chmod 444 "$dir/Pass2.txt"
  start "$dir" && press_go && finish
  [ "$status" -eq 0 ] && [ "$(stat -c '%a %U' "$dir"/Pass?.txt | tr '\n' ' ')" = "644 nobody 444 root " ] ||
    fail "owners: status $status, $(stat -c '%n %a %U' "$dir"/Pass?.txt)"
  echo "ok: a run as root keeps the pass lines' owners and modes" && passed=$((passed + 1))

  # 4000-row inputs on a tmpfs with 64 KiB left, less than one pass line needs.
  mkdir "$work/full" && mount -t tmpfs -o size=64m tmpfs "$work/full" && trap 'umount "$work/full"; cleanup' EXIT
  dir=$(folder full)
  for name in Race MaxRace MinRace; do
    awk 'BEGIN { printf "0\n0\n4000\n"; for (i = 0; i < 4000; i++) printf "%d,%.3f,%.3f,150.5,0.9\n", i * 10, i / 7, i % 9 }' >"$dir/$name.txt"
  done
  dd if=/dev/zero of="$dir/filler" bs=1M 2>/dev/null || true
  truncate -s -64K "$dir/filler"
  expect_fault "$dir" "the disk fills up" "file error: .*/Pass[12]\.txt: cannot be written: No space left on device$"
fi

# Kills a writer of max-size pass lines at random moments: each pass line must then be
# one of the two complete files it alternates between.
mkdir "$work/kill" && cd "$work/kill"
for name in Race MaxRace MinRace; do
  awk -v s="${#name}" 'BEGIN { printf "0\n327640\n32764\n"; for (i = 0; i < 32764; i++) printf "%d,%.3f,%.3f,150.5,0.9\n", i * 10, i / 7, (s - 5) * (i % 13) / 3 }' >"$name.txt"
done
for limit in 4 3; do "$write_loop" "$limit" && cp Pass1.txt "../Pass1-$limit" && cp Pass2.txt "../Pass2-$limit"; done
! cmp -s ../Pass1-4 ../Pass1-3 || fail "kill: the two limits give the same pass line"
entries=$(ls -A)
strays=""
for kill in $(seq 30); do
  "$write_loop" >../loop.out &
  for _ in $(seq 200); do grep -q writing ../loop.out && break; sleep 0.05; done
  sleep "0.$(printf '%03d' $((RANDOM % 250)))" && kill -9 $! && wait $! 2>/dev/null || true
  for f in Pass1 Pass2; do cmp -s $f.txt ../$f-4 || cmp -s $f.txt ../$f-3 || fail "kill $kill: $f.txt is not complete"; done
  # A temporary that a kill leaves behind: nothing can clean up after SIGKILL.
  stray=$(comm -13 <(echo "$entries") <(ls -A))
  [ -z "$stray" ] || { rm -f -- $stray && strays="$strays $stray"; }
done
cd / && passed=$((passed + 1))
echo "ok: 30 kills while pass lines were written; each was complete; left behind:${strays:- nothing}"
echo "$passed passed, 0 failed, $skipped skipped"
