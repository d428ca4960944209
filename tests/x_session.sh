# Helpers for tests that run the built program as a person does, under a real X server.
# Source it after setting `program` to the built program (and `launcher` to "wine" for
# kelvane.exe); it makes a scratch folder `$work` (removed on exit) and starts Xvfb.

export WINEDEBUG=-all
work=$(mktemp -d)
chmod 755 "$work"
pids=()
cleanup() {
  kill "${pids[@]}" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$work/display")"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getmouselocation >/dev/null 2>&1 || fail "the X server on $DISPLAY does not answer"

# A new folder $work/$1 holding the program and one-row input lines; prints its path.
folder() {
  local dir="$work/$1"
  mkdir "$dir"
  cp "$program" "$dir/"
  printf '0\r\n0\r\n1\r\n1,2,0,3,4\r\n' >"$dir/Race.txt"
  printf '0\r\n0\r\n1\r\n1,2,10,3,4\r\n' >"$dir/MaxRace.txt"
  printf '0\r\n0\r\n1\r\n1,2,-6,3,4\r\n' >"$dir/MinRace.txt"
  printf 'old pass 1\r\n' >"$dir/Pass1.txt"
  printf 'old pass 2\r\n' >"$dir/Pass2.txt"
  echo "$dir"
}

# Starts the program of folder $1 from another folder (as user $2 when given) and waits
# for its window; sets $pid and $window. Its standard error goes to $work/stderr.txt,
# or into the pipe command $3 when given.
start() {
  local as=() err=${3:-}
  if [ -n "${2:-}" ]; then
    as=(setpriv --reuid="$2" --regid="$2" --clear-groups env XDG_RUNTIME_DIR="$work/runtime-$2")
    mkdir -p -m 700 "$work/runtime-$2" && chown "$2" "$work/runtime-$2"
  fi
  local command=("${as[@]}" ${launcher:-} "$1/$(basename "$program")")
  : >"$work/stderr.txt"
  if [ -n "$err" ]; then
    (cd / && exec "${command[@]}" 2> >($err)) &
  else
    (cd / && exec "${command[@]}" 2>"$work/stderr.txt") &
  fi
  pid=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Kelvane$' | head -n 1 || true)
  [ -n "$window" ] || fail "no window appeared"
}

# Waits for the program to end and sets $status to its exit status.
finish() {
  status=0
  timeout 30 tail --pid="$pid" -f /dev/null || fail "the program did not end"
  wait "$pid" || status=$?
}

# Clicks at pixel ($2, $3) of window $1.
click() { xdotool mousemove --sync --window "$1" "$2" "$3" click 1; }

press_go() { click "$window" 156 148; }

# Waits for a message box of the program and dismisses it with Return.
dismiss() {
  local report=""
  for _ in $(seq 100); do
    report=$(xdotool search --onlyvisible --name '^Kelvane$' | grep -v "^$window\$" | head -n 1)
    [ -n "$report" ] && break
    sleep 0.1
  done
  [ -n "$report" ] || fail "no message box appeared"
  click "$report" 5 5
  xdotool key Return
  sleep 0.5
}
