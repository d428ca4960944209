#!/usr/bin/env bash
# Faults a user can meet, each run through the built program under a real X server: the
# message, the exit status, and the folder unchanged (entries, and the pass lines' bytes,
# modes and owners); what a run keeps of the pass lines' set-up (group, ACL, extended
# attributes) and where the file system refuses modes. Then kills a writer at random
# moments, half of them inside a rename: a recovering run must leave both pass lines from
# one run and nothing else. Cases that need another user or a mount run only as root.
# The cases come in four parts, which can run side by side: "files" (what cannot be read
# or written), "others" (what another user plants or links), "system" (owners, groups, ACLs,
# full disks, devices) and "kills"; with no part named, all four.
# Usage: fault_test.sh path/to/kelvane path/to/kelvane_write_loop [files|others|system|kills]
set -euo pipefail
program=$(realpath "$1")
write_loop=$(realpath "$2")
source "$(dirname "$0")/x_session.sh"
passed=0 skipped=0
only=${3:-all}
part() { [ "$only" = all ] || [ "$only" = "$1" ]; }

folder_state() { ls -A "$1" && stat -c '%n %a %U' "$1"/Pass?.txt && { md5sum "$1"/Pass?.txt 2>&1 || true; }; }

# Presses Go in folder $1 (as user $4, with standard error into command $5, when given):
# the run must fail with a message matching $3, status 1, and the folder as it was.
expect_fault() {
  local before
  before=$(folder_state "$1")
  start "$1" "${4:-}" "${5:-}" && press_go && dismiss && finish
  [ "$status" -eq 1 ] || fail "$2: exit status $status"
  [ -n "${5:-}" ] || grep -qE "^kelvane: $3" "$work/stderr.txt" || fail "$2: standard error is '$(cat "$work/stderr.txt")'"
  [ "$before" = "$(folder_state "$1")" ] || fail "$2: the folder changed: $(folder_state "$1")"
  echo "ok: $2: $(grep "^kelvane" "$work/stderr.txt" || true)" && passed=$((passed + 1))
}

# Presses Go in folder $1 (as user $3, when given): the run must end with status 0 and the
# check $2 hold; $4 says what held.
expect_done() {
  start "$1" "${3:-}" && press_go && finish
  [ "$status" -eq 0 ] && eval "$2" || fail "$4: status $status, $(tail -n 3 "$work/stderr.txt")"
  echo "ok: $4" && passed=$((passed + 1))
}

if part files; then
  # A folder's name cannot forge lines on standard error, nor reach the terminal.
  dir=$(folder $'forged\nkelvane: all is well\e[2J') && rm "$dir/Race.txt"
  ! "$program" --no-window "$dir" 2>"$work/stderr.txt" && [ "$(wc -l <"$work/stderr.txt")" -eq 1 ] &&
    ! grep -q $'\e' "$work/stderr.txt" || fail "a folder's name forged lines: $(cat -v "$work/stderr.txt")"
  echo "ok: a folder's name with a newline and an escape gives one line, escaped" && passed=$((passed + 1))
  dir=$(folder closed-pipe)
  rm "$dir/Race.txt"
  expect_fault "$dir" "standard error's reader has gone" "" "" true

  # A qt.conf and plugin folders planted beside the program: Qt must take its paths from the
  # program itself and search none of the program's folder.
  dir=$(folder planted-qt)
  printf '[Paths]\nPrefix=/nonexistent\nPlugins=%s\n' "$dir" >"$dir/qt.conf" && mkdir "$dir/platforms" "$dir/styles"
  QT_DEBUG_PLUGINS=1 start "$dir" && press_go && finish
  [ "$status" -eq 0 ] || fail "planted qt.conf: status $status: $(tail -n 3 "$work/stderr.txt")"
  ! grep -F "\"$dir" "$work/stderr.txt" || fail "planted qt.conf: Qt searched the program's folder"
  echo "ok: a qt.conf and plugin folders beside the program are never read" && passed=$((passed + 1))
fi

mounts=()
# Every mount is undone on the way out, whichever case fails, before the scratch folder goes.
trap 'for m in "${mounts[@]}"; do umount -l "$m"; done; cleanup' EXIT
if [ "$(id -u)" -ne 0 ]; then
  skipped=1 && echo "skipped: the cases that need root (other users, mounts, devices)"
else
  if part files; then
    dir=$(folder read-only)
    chmod 666 "$dir"/Pass?.txt
    expect_fault "$dir" "read-only program folder" "file error: .*/read-only/\.Pass1\.txt\.journal: cannot be created: Permission denied$" 65534
    dir=$(folder unreadable)
    chmod 000 "$dir/MinRace.txt"
    expect_fault "$dir" "MinRace.txt cannot be read" "file error: .*/MinRace\.txt: cannot be opened: Permission denied$" 65534
    # The second pass line cannot be renamed over (a mount point); the first, which its
    # owner may write but not read, must get its old version back with its mode and owner.
    dir=$(folder busy)
    chown nobody "$dir/Pass1.txt" && chmod 200 "$dir/Pass1.txt"
    touch "$work/other" && mount --bind "$work/other" "$dir/Pass2.txt" && mounts+=("$dir/Pass2.txt")
    expect_fault "$dir" "Pass2.txt is busy" "file error: .*/Pass2\.txt: cannot be replaced: Device or resource busy$"
    umount "$dir/Pass2.txt" && unset 'mounts[-1]'
    dir=$(folder sticky)
    chmod 1777 "$dir" && chown nobody "$dir/Pass1.txt" && chmod 200 "$dir/Pass1.txt" && chmod 666 "$dir/Pass2.txt"
    expect_fault "$dir" "Pass2.txt is root's in a sticky folder" "file error: .*/Pass2\.txt: cannot be replaced: Operation not permitted$" 65534
  fi

  if part others; then
    # Another user plants journals, links and locks in a folder all may write; the victim,
    # root here, runs the program there. Nothing but the two pass lines may change, and the
    # run must end at once with a message naming what it refused.
    other() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
    mkdir -p "$work/victim" && printf 'private\n' >"$work/victim/notes" && chmod 600 "$work/victim/notes"
    printf '0\r\n0\r\n1\r\n1,2,7,3,4\r\n' >"$work/victim/race" # a private race line
    printf 'ours\n' >"$work/victim/shared" && chmod 666 "$work/victim/shared" # all may write it
    victim_state() { ls -A "$work/victim" && md5sum "$work/victim"/*; }
    victim_before=$(victim_state)
    n=0
    planted() { # $1 the planted name, $2 what the run must say of it after "<path>: ", $3 plants it in $dir
      n=$((n + 1)) && dir=$(folder "planted-$n") && chmod 1777 "$dir"
      eval "$3" && expect_fault "$dir" "planted $1" "file error: "
      grep -qxF "kelvane: file error: $dir/$1: $2" "$work/stderr.txt" || fail "planted $1: $(cat "$work/stderr.txt")"
      [ "$(victim_state)" = "$victim_before" ] || fail "planted $1: the victim's files changed"
    }
    hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }
    refused="(owned by nobody); nothing was changed. Remove it to go on."
    planted .Pass1.txt.journal "is not a journal of Kelvane for these pass lines $refused" \
      'printf "replacement journal 1\nnr -%s - -\n" "$(hex "$work/victim/notes")" | other tee "$dir/.Pass1.txt.journal" >/dev/null'
    planted .Pass1.txt.journal "is a symbolic link, not a journal of Kelvane $refused" 'other ln -s "$work/victim/notes" "$dir/.Pass1.txt.journal"'
    planted .Pass1.txt.journal "is not a regular file, so not a journal of Kelvane $refused" 'other mkfifo "$dir/.Pass1.txt.journal"'
    planted .Pass1.txt.journal "has other names (hard links), so it is not a journal of Kelvane $refused" \
      'other sh -c "echo x >$dir/theirs && ln $dir/theirs $dir/.Pass1.txt.journal"'
    planted .Pass1.txt.journal "is 21474836480 bytes, too large for a journal of Kelvane $refused" 'other truncate -s 20G "$dir/.Pass1.txt.journal"'
    outside() { echo "is a symbolic link to $1 (owned by nobody), outside its folder, so it is not followed: only links to a file in the same folder are"; }
    planted Pass1.txt "$(outside "$work/victim/notes")" 'rm "$dir/Pass1.txt" && other ln -s "$work/victim/notes" "$dir/Pass1.txt"'
    planted Race.txt "$(outside ../victim/race)" 'rm "$dir/Race.txt" && other ln -s ../victim/race "$dir/Race.txt"' # an input, as a zip keeps it
    planted Pass1.txt "$(outside Race.txt/../../victim/notes)" 'rm "$dir/Pass1.txt" && other ln -s Race.txt/../../victim/notes "$dir/Pass1.txt"'
    # A journal of well-formed tags (written by $2, or the victim) and files at the tagged names.
    journal() { printf 'kelvane journal 2\nnew-abcdefgh old-abcdefgh\n- old-12345678\n' | ${2:-} tee "$1/.Pass1.txt.journal" >/dev/null; }
    planted .Pass1.txt.journal "is not safe to act on: it was written by neither you nor the owner of Pass1.txt $refused" \
      'journal "$dir" other && printf "theirs\r\n" | other tee "$dir/.Pass1.txt.old-abcdefgh" "$dir/.Pass2.txt.old-12345678" >/dev/null'
    # The victim's own journal, a run of theirs having died, with another's file at a tagged
    # name, or another name of a file the victim owns.
    planted .Pass1.txt.journal "is not safe to act on: .Pass1.txt.old-abcdefgh is owned by nobody ${refused/nobody/root}" \
      'journal "$dir" && printf "theirs\r\n" | other tee "$dir/.Pass1.txt.old-abcdefgh" >/dev/null'
    planted .Pass1.txt.journal "is not safe to act on: .Pass2.txt.old-12345678 has other names ${refused/nobody/root}" \
      'journal "$dir" && echo old >"$dir/.Pass1.txt.old-abcdefgh" && other ln "$work/victim/shared" "$dir/.Pass2.txt.old-12345678"'

    # Another's file at a temporary's name, named by no journal, is left as it is. The
    # victim's own journal names a kept version that is not there, which another user keeps
    # making at that name while the run recovers: whenever they win, it is never put in
    # place, and the pass line stays the victim's.
    dir=$(folder planted-temporary) && chmod 1777 "$dir"
    printf 'theirs\n' | other tee "$dir/.Pass1.txt.old-zzzzzzzz" >/dev/null
    expect_done "$dir" '[ "$(cat "$dir/.Pass1.txt.old-zzzzzzzz")" = theirs ]' "" "another's file at a temporary's name is left as it is"
    for try in 1 2 3; do
      dir=$(folder "racing-$try") && chmod 1777 "$dir" && journal "$dir"
      setpriv --reuid=65534 --regid=65534 --clear-groups sh -c "while :; do echo theirs >'$dir/.Pass1.txt.old-abcdefgh'; done" >/dev/null 2>&1 & racer=$!
      "$program" --no-window "$dir" 2>/dev/null || true
      kill "$racer" && { wait "$racer" || true; }
      [ "$(stat -c '%U %a' "$dir/Pass1.txt")" = "root 644" ] || fail "racing recovery: $(ls -l "$dir")"
    done
    echo "ok: a kept version made by another while a recovery runs is never put in place" && passed=$((passed + 1))

    # A teammate who owns the folder links a pass line to a file of root's.
    dir=$(folder teammate-link) && chown nobody "$dir" && chmod 755 "$dir" && rm "$dir/Pass1.txt"
    printf 'keep\n' >"$work/outside" && other ln -s "$work/outside" "$dir/Pass1.txt"
    expect_fault "$dir" "the folder owner's link to root's file" "file error: $dir/Pass1\.txt: is a symbolic link to $work/outside \(owned by nobody\), outside its folder"
    [ "$(cat "$work/outside")" = keep ] || fail "the file outside changed"
    # Another's link to a file of the folder is followed only where it is the folder owner's
    # and nobody else may write the folder.
    for case in 775:nobody:refused 755:root:refused 777:nobody:refused 755:nobody:followed; do
      IFS=: read -r mode owner outcome <<<"$case"
      dir=$(folder "link-$mode-$owner") && rm "$dir/Pass1.txt" && cp "$dir/Race.txt" "$dir/notes"
      ln -s notes "$dir/Pass1.txt" && chown -h nobody "$dir/Pass1.txt" && chown "$owner" "$dir" && chmod "$mode" "$dir"
      if [ "$outcome" = refused ]; then
        expect_fault "$dir" "nobody's link in a $mode folder of $owner's" "file error: $dir/Pass1\.txt: is a symbolic link owned by nobody, so it is not followed"
        continue
      fi
      expect_done "$dir" 'grep -q "^1,2,4,3,4" "$dir/notes"' "" "a link is followed where it is the folder owner's and only that owner writes the folder"
    done

    # The folder swapped for a link to another while the run waits on the lock: the pass
    # lines are written in the folder the run opened, and nothing in the other.
    mkdir "$work/swap" && chown nobody "$work/swap" && dir=$(folder swap/lines) && chmod 1777 "$dir"
    other mkdir "$work/swap/decoy" && cp "$dir"/*Race.txt "$work/swap/decoy/" && chmod 777 "$work/swap/decoy"
    other flock -o "$dir/.Pass1.txt.journal" sleep 6 &
    holder=$!
    sleep 0.5 && start "$dir" && press_go && sleep 1
    other mv "$dir" "$work/swap/opened" && other ln -s decoy "$work/swap/lines"
    wait "$holder" && finish
    [ "$status" -eq 0 ] && grep -q '^1,2,4,3,4' "$work/swap/opened/Pass1.txt" && [ ! -e "$work/swap/decoy/Pass1.txt" ] ||
      fail "swapped folder: status $status, $(ls -A "$work/swap"/*), $(cat "$work/stderr.txt")"
    echo "ok: a folder swapped while the run waits changes nothing: the pass lines go to the folder opened" && passed=$((passed + 1))

    # A journal another user's crashed run left, private, in a sticky folder: named, unread.
    dir=$(folder sticky-journal) && chmod 1777 "$dir" && chown nobody "$dir"/Pass?.txt
    setpriv --reuid=1 --regid=1 --clear-groups sh -c "umask 077 && : >'$dir/.Pass1.txt.journal'"
    expect_fault "$dir" "another user's private journal in a sticky folder" "file error: $dir/\.Pass1\.txt\.journal: cannot be opened \(owned by daemon\): Permission denied; nothing was changed\. Only daemon, or the folder's owner, can remove it\.$" 65534

    # A run died halfway in the team's folder, a teammate's (1) or the member's own (65534)
    # over the teammate's pass lines: the member's run puts it back and goes on.
    for writer in 1 65534; do
      dir=$(folder "team-crash-$writer")
      printf 'new 1\r\n' >"$dir/.Pass1.txt.new-abcdefgh" && printf 'old 1\r\n' >"$dir/.Pass1.txt.old-abcdefgh"
      cp "$dir/.Pass1.txt.new-abcdefgh" "$dir/Pass1.txt" # the first placed, then the run died
      printf 'kelvane journal 2\nnew-abcdefgh old-abcdefgh\nnew-12345678 old-12345678\n' >"$dir/.Pass1.txt.journal"
      chown -R 1:100 "$dir" && chown "$writer" "$dir"/.Pass* "$dir/Pass1.txt" && chmod 2775 "$dir" && chmod 664 "$dir"/.Pass* "$dir"/Pass?.txt
      expect_done "$dir" '[ "$(ls -A "$dir" | tr "\n" " ")" = "MaxRace.txt MinRace.txt Pass1.txt Pass2.txt Race.txt kelvane " ] && grep -q "^1,2,4,3,4" "$dir/Pass1.txt"' \
        65534:65534:100 "a crashed run by $writer in the team's folder is put back by the member's run"
    done
  fi

  if part system; then
    dir=$(folder owners)
    chown nobody "$dir/Pass1.txt" && chmod 444 "$dir/Pass2.txt"
    expect_done "$dir" '[ "$(stat -c "%a %U" "$dir"/Pass?.txt | tr "\n" " ")" = "644 nobody 444 root " ]' "" "a run as root keeps the pass lines' owners and modes"

    # 4000-row inputs on a tmpfs with 64 KiB left, less than one pass line needs. The other
    # pass line, with a second name in the folder, is written in place after the new file:
    # each pass line in turn is the first to meet the full disk.
    mkdir "$work/full" && mount -t tmpfs -o size=64m tmpfs "$work/full" && mounts+=("$work/full")
    for in_place in 2 1; do
      rm -f "$work"/full/*/filler && dir=$(folder "full/$in_place")
      awk 'BEGIN { printf "0\n0\n4000\n"; for (i = 0; i < 4000; i++) printf "%d,%.3f,%.3f,150.5,0.9\n", i * 10, i / 7, i % 9 }' >"$dir/Race.txt"
      cp "$dir/Race.txt" "$dir/MaxRace.txt" && cp "$dir/Race.txt" "$dir/MinRace.txt"
      cp "$dir/MinRace.txt" "$dir/Pass$in_place.txt" && ln "$dir/Pass$in_place.txt" "$dir/kept.txt"
      dd if=/dev/zero of="$dir/filler" bs=1M 2>/dev/null || true
      truncate -s -64K "$dir/filler"
      expect_fault "$dir" "the disk fills up" "file error: .*/Pass$((3 - in_place))\.txt: cannot be written: No space left on device$"
    done

    # Another member of the team presses Go in the team's folder: the files stay the team's.
    dir=$(folder shared)
    chown 65534:100 "$dir" "$dir"/Pass?.txt && chmod 775 "$dir" && chmod 660 "$dir"/Pass?.txt
    expect_done "$dir" '[ "$(stat -c "%a %U:%g" "$dir"/Pass?.txt | tr "\n" " ")" = "660 daemon:100 660 daemon:100 " ]' 1:65534:100 \
      "the group of the pass lines stays when another member of it writes them"

    dir=$(folder acl)
    setfacl -m u:nobody:rw "$dir/Pass1.txt" && setfattr -n user.note -v "tuned by hand" "$dir/Pass1.txt"
    acl() { getfacl -cp "$dir/Pass1.txt" && getfattr --only-values -n user.note "$dir/Pass1.txt" && stat -c %a "$dir/Pass1.txt"; }
    before=$(acl)
    expect_done "$dir" '[ "$(acl)" = "$before" ]' "" "a pass line keeps its ACL and extended attributes"

    # A file system that refuses every change of mode (FUSE, as FAT or a shared drive can).
    dir=$(folder no-modes) && rm "$dir/Pass2.txt" && mkdir "$work/no-modes-mount"
    if bindfs --chmod-deny "$dir" "$work/no-modes-mount" 2>/dev/null; then
      mounts+=("$work/no-modes-mount")
      both=$'0\r\n0\r\n1\r\n1,2,4,3,4\r\n0\r\n0\r\n1\r\n1,2,-3,3,4\r'
      expect_done "$work/no-modes-mount" '[ "$(cat "$dir"/Pass?.txt)" = "$both" ]' "" \
        "where the file system refuses modes, the pass lines are written all the same"
    else
      echo "skipped: bindfs cannot mount here" && skipped=$((skipped + 1))
    fi
  fi
fi

if part kills; then
  # Kills a writer of max-size pass lines at random moments, every second one inside a rename
  # that strace holds up; after each, a recovering run must leave both pass lines from one
  # limit, whole, and no other file.
  mkdir "$work/kill" && cd "$work/kill"
  for name in Race MaxRace MinRace; do
    awk -v s="${#name}" 'BEGIN { printf "0\n327640\n32764\n"; for (i = 0; i < 32764; i++) printf "%d,%.3f,%.3f,150.5,0.9\n", i * 10, i / 7, (s - 5) * (i % 13) / 3 }' >"$name.txt"
  done
  for limit in 4 3; do "$write_loop" "$limit" && cp Pass1.txt "../Pass1-$limit" && cp Pass2.txt "../Pass2-$limit"; done
  ! cmp -s ../Pass1-4 ../Pass1-3 || fail "kill: the two limits give the same pass line"
  entries=$(ls -A)
  kills=${KELVANE_KILLS:-200}
  for kill in $(seq "$kills"); do
    delay=()
    [ $((kill % 2)) -eq 1 ] || delay=(strace -f -qq -o /dev/null -e trace=rename,renameat,renameat2
      -e inject=rename,renameat,renameat2:delay_enter=$((RANDOM * 5)))
    rm -f ../loop.out # so that no word of the last writer is taken for this one's
    "${delay[@]}" "$write_loop" >../loop.out 2>../loop.err &
    runner=$!
    for _ in $(seq 600); do grep -qs writing ../loop.out && break; sleep 0.05; done
    grep -qs writing ../loop.out || fail "kill $kill: the writer did not start: $(cat ../loop.err)"
    sleep "0.$(printf '%03d' $((RANDOM % 250)))"
    kill -9 "$(awk '/writing/ { print $2 }' ../loop.out)" && wait "$runner" 2>/dev/null || true
    "$write_loop" recover
    { cmp -s Pass1.txt ../Pass1-4 && cmp -s Pass2.txt ../Pass2-4; } ||
      { cmp -s Pass1.txt ../Pass1-3 && cmp -s Pass2.txt ../Pass2-3; } || fail "kill $kill: the pass lines are not from one run"
    [ "$(ls -A)" = "$entries" ] || fail "kill $kill: left behind: $(comm -13 <(echo "$entries") <(ls -A))"
  done
  cd / && passed=$((passed + 1))
  echo "ok: $kills kills while pass lines were written, then a recovering run: both from one run, nothing left behind"
fi
echo "$passed passed, 0 failed, $skipped skipped"
