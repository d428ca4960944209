# Helpers for tests that run the built program as a person does, under a real X server.
# Source it after setting `program` to the built program (and `launcher` to the command that
# runs kelvane.exe under Wine); it makes a scratch folder `$work` (removed on exit) and
# starts Xvfb, its screen `$screen` (800x600 unless set). A command that fails unexpectedly ends the test with its line and status.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
set -E
trap 'status=$? && echo "FAIL: ${BASH_SOURCE[0]##*/}:$LINENO: \"$BASH_COMMAND\" failed with status $status" >&2' ERR
work=$(mktemp -d) && chmod 755 "$work" # others may enter: some cases run as nobody
export XDG_CONFIG_HOME=$work/config     # the folder last chosen is kept there
cleanup() { kill "$xvfb" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2 && exit 1; }

exec 3>"$work/display"
# -noreset: a server resets when its last client goes (each xdotool is one), and refuses a
# program that connects while it does.
Xvfb -displayfd 3 -screen 0 "${screen:-800x600}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"
xdotool getmouselocation >/dev/null 2>&1 || fail "the X server on $DISPLAY does not answer"

# A new folder $work/$1 with the program, one-row input lines and old pass lines.
folder() {
  local dir="$work/$1" name
  mkdir -p "$dir" && cp "$program" "$dir/"
  for name in Race:0 MaxRace:10 MinRace:-6; do
    printf '0\r\n0\r\n1\r\n1,2,%s,3,4\r\n' "${name#*:}" >"$dir/${name%:*}.txt"
  done
  printf 'old pass 1\r\n' >"$dir/Pass1.txt" && printf 'old pass 2\r\n' >"$dir/Pass2.txt"
  echo "$dir"
}

# The first visible window whose name matches $1, waited for up to 60 s; "" when none came.
# Polled: a search that meets a window as it goes away fails, and so would --sync.
find_window() {
  for _ in $(seq 120); do
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 | grep . && return
    sleep 0.5
  done
}

# Runs command $@ from another folder, standard error into $work/stderr.txt (or into command
# $errors when set), and waits for its window: sets $pid and $window.
launch() {
  : >"$work/stderr.txt"
  if [ -n "${errors:-}" ]; then (cd / && exec "$@" 2> >($errors)) & else (cd / && exec "$@" 2>"$work/stderr.txt") & fi
  pid=$!
  window=$(find_window '^Kelvane$')
  [ -n "$window" ] || fail "no window appeared: $(cat "$work/stderr.txt")"
}

# Starts the program of folder $1 (as user $2, "uid" or "uid:gid:groups", and with standard
# error into command $3, when given); start_with starts the built program itself with the
# arguments given.
start() {
  local as=() uid gid groups
  if [ -n "${2:-}" ]; then
    IFS=: read -r uid gid groups <<<"$2"
    as=(setpriv --reuid="$uid" --regid="${gid:-$uid}" --clear-groups)
    [ -z "$groups" ] || as[3]=--groups=$groups
  fi
  errors=${3:-} launch "${as[@]}" ${launcher:-} "$1/$(basename "$program")"
}
start_with() { errors="" launch ${launcher:-} "$program" "$@"; }

# $1 as the program takes it: under Wine, the Windows path of that Linux path.
native_path() { if [ -n "${launcher:-}" ]; then winepath -w "$1"; else echo "$1"; fi; }

# Waits for the program to end and sets $status to its exit status.
finish() {
  timeout 30 tail --pid="$pid" -f /dev/null || fail "the program did not end"
  status=0 && wait "$pid" || status=$?
}

click() { xdotool mousemove --sync --window "$1" "$2" "$3" click 1; }
press_go() { click "$window" 156 148; }

# Waits for a message box of the program and dismisses it with Return.
dismiss() {
  local box=""
  for _ in $(seq 100); do
    box=$(xdotool search --onlyvisible --name '^Kelvane$' | grep -v "^$window\$" | head -n 1 || true)
    [ -n "$box" ] && break || sleep 0.1
  done
  [ -n "$box" ] || fail "no message box appeared"
  click "$box" 5 5 && xdotool key Return && sleep 0.5
}
