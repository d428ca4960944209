#!/usr/bin/env bash
# Faults a user can meet, each run through the built program under a real X server: the
# error message, the exit status, and that the old "Pass1.txt" and "Pass2.txt" are byte
# for byte unchanged with no temporary file left behind. Then kills a writer at random
# moments and checks that each pass line is its old contents or a complete new file.
# Permission cases run the program as "nobody" when run as root; the full-disk case
# mounts a small tmpfs and needs root.
# Usage: fault_test.sh path/to/kelvane path/to/kelvane_write_loop
set -euo pipefail
program=$(realpath "$1")
write_loop=$(realpath "$2")
source "$(dirname "$0")/x_session.sh"

passed=0
skipped=0
root=false
[ "$(id -u)" -eq 0 ] && root=true
nobody=""
$root && nobody=65534

# A folder with the program, its inputs and old pass lines; prints its path.
fault_folder() {
  local dir
  dir=$(folder "$1")
  printf 'old pass 1\r\n' >"$dir/Pass1.txt"
  printf 'old pass 2\r\n' >"$dir/Pass2.txt"
  echo "$dir"
}

# The entries of folder $1 and the checksums of its pass lines.
folder_state() {
  ls -A "$1"
  for f in Pass1.txt Pass2.txt; do
    if [ -f "$1/$f" ]; then md5sum <"$1/$f"; fi
  done
}

# Presses Go in folder $1 (as user $4, if given) and checks that the run fails with a
# message matching $3, a non-zero status, and the folder exactly as it was. $2 names
# the case.
expect_fault() {
  local dir=$1 name=$2 pattern=$3 user=${4:-}
  local before
  before=$(folder_state "$dir")
  start "$dir" "$user"
  press_go
  dismiss_report
  [ "$status" -eq 1 ] || fail "$name: exit status $status"
  grep -qE "^kelvane: $pattern" "$work/stderr.txt" || fail "$name: standard error is '$(cat "$work/stderr.txt")'"
  [ "$before" = "$(folder_state "$dir")" ] || fail "$name: the folder changed: $(ls -A "$dir")"
  echo "ok: $name: $(cat "$work/stderr.txt")"
  passed=$((passed + 1))
}

dir=$(fault_folder read-only)
chmod 666 "$dir"/Pass?.txt # the folder, not the files, is what stops the writing
[ -n "$nobody" ] || chmod 555 "$dir"
expect_fault "$dir" "read-only program folder" "file error: .*/Pass1\.txt: cannot be created: " "$nobody"
chmod 755 "$dir"

dir=$(fault_folder pass1-dir)
rm "$dir/Pass1.txt" && mkdir "$dir/Pass1.txt"
expect_fault "$dir" "Pass1.txt is a folder" "file error: .*/Pass1\.txt: cannot be created: "

dir=$(fault_folder pass2-dir)
rm "$dir/Pass2.txt" && mkdir "$dir/Pass2.txt"
expect_fault "$dir" "Pass2.txt is a folder" "file error: .*/Pass2\.txt: cannot be created: "

dir=$(fault_folder input-dir)
rm "$dir/MaxRace.txt" && mkdir "$dir/MaxRace.txt"
expect_fault "$dir" "MaxRace.txt is a folder" "file error: .*/MaxRace\.txt: cannot be opened: "

dir=$(fault_folder unreadable)
chmod 000 "$dir/MinRace.txt"
expect_fault "$dir" "MinRace.txt cannot be read" "file error: .*/MinRace\.txt: cannot be opened: " "$nobody"

# A disk that fills up while the pass lines are written: inputs of 4000 rows on a tmpfs
# with 64 KiB left, less than one pass line needs.
if ! $root; then
  echo "skipped: the full-disk case needs root to mount a tmpfs"
  skipped=$((skipped + 1))
else
  dir="$work/full"
  mkdir "$dir"
  mount -t tmpfs -o size=64m tmpfs "$dir" || fail "full disk: cannot mount a tmpfs as root"
  trap 'umount "$work/full" 2>/dev/null; cleanup' EXIT
  cp "$program" "$dir/kelvane"
  for name in Race MaxRace MinRace; do
    awk -v s="${#name}" 'BEGIN { printf "0\r\n0\r\n4000\r\n"; for (i = 0; i < 4000; i++) printf "%d,%.3f,%.3f,150.5,0.9\r\n", i * 10, i / 7, s + i % 9 }' >"$dir/$name.txt"
  done
  printf 'old pass 1\r\n' >"$dir/Pass1.txt"
  printf 'old pass 2\r\n' >"$dir/Pass2.txt"
  dd if=/dev/zero of="$dir/filler" bs=1M 2>/dev/null || true
  truncate -s -64K "$dir/filler"
  expect_fault "$dir" "the disk fills up" "file error: .*/Pass[12]\.txt: cannot be (created|written): "
fi

# Kills a writer of max-size pass lines at random moments; each pass line must then be
# its old contents or one of the complete new files.
dir="$work/kill"
mkdir "$dir"
cp "$write_loop" "$dir/write_loop"
for name in Race MaxRace MinRace; do
  awk -v s="${#name}" 'BEGIN { printf "0\r\n327640\r\n32764\r\n"; for (i = 0; i < 32764; i++) printf "%d,%.3f,%.3f,150.5,0.9\r\n", i * 10, i / 7, (s - 5) * (i % 13) / 3 }' >"$dir/$name.txt"
done
for limit in 4 3; do
  "$dir/write_loop" --once "$limit"
  cp "$dir/Pass1.txt" "$work/Pass1-$limit" && cp "$dir/Pass2.txt" "$work/Pass2-$limit"
done
cmp -s "$work/Pass1-4" "$work/Pass1-3" && fail "kill: the two limits give the same pass line"
printf 'old pass 1\r\n' >"$dir/Pass1.txt" && cp "$dir/Pass1.txt" "$work/Pass1-old"
printf 'old pass 2\r\n' >"$dir/Pass2.txt" && cp "$dir/Pass2.txt" "$work/Pass2-old"
entries=$(ls -A "$dir")
kills=0
mid_write=0
strays=""
for _ in $(seq 30); do
  "$dir/write_loop" >"$work/loop.out" &
  loop=$!
  for _ in $(seq 200); do grep -q writing "$work/loop.out" && break; sleep 0.05; done
  sleep "0.$(printf '%03d' $((RANDOM % 250)))"
  kill -9 "$loop"
  wait "$loop" 2>/dev/null || true
  kills=$((kills + 1))
  grep -q writing "$work/loop.out" && mid_write=$((mid_write + 1))
  for f in Pass1 Pass2; do
    cmp -s "$dir/$f.txt" "$work/$f-old" || cmp -s "$dir/$f.txt" "$work/$f-4" ||
      cmp -s "$dir/$f.txt" "$work/$f-3" || fail "kill $kills: $f.txt is neither old nor complete"
  done
  # A kill between the two steps of putting a file in place (link under a temporary name,
  # then rename) leaves that temporary; nothing can clean up after SIGKILL.
  stray=$(comm -13 <(echo "$entries") <(ls -A "$dir"))
  if [ -n "$stray" ]; then
    strays="$strays $stray"
    (cd "$dir" && rm -f -- $stray)
  fi
done
[ "$mid_write" -eq "$kills" ] || fail "kill: only $mid_write of $kills kills came while pass lines were written"
echo "ok: $kills kills, $mid_write of them while pass lines were written; each was old or complete"
[ -z "$strays" ] || echo "note: temporaries left behind by kills:$strays"
passed=$((passed + 1))

echo "$passed passed, 0 failed, $skipped skipped"
