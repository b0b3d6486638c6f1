# Shared steps of the end-to-end tests: sourced by each test script.
# A test runs the monitor under Wine against the simulated charger on COM1 and drives it with
# ui-driver.exe. It owns its X server, the prefix's wineserver and the processes it starts, and
# ends them all on exit. Waits are measured here, on the real clock: under the fast clock the
# Wine processes' own time-outs shrink with it.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
bin="${E2E_BIN:-$root/build/win/bin}"
export WINEPREFIX="${WINEPREFIX:-$root/build/wine}"
export COM1_LINK="${COM1_LINK:-$WINEPREFIX/com1.pty}"
# The driver's arguments reach Wine as UTF-8 and come back as UTF-16 only in a UTF-8 locale.
export LC_ALL=C.UTF-8
screen_width=1280
screen_height=1024
# The fast clock: a minute of the monitor's passes in 3 s. Faster clocks cut Wine's own start-up
# waits so short that on a loaded machine its desktop fails to start.
fast_clock="+0 x20"
fast_poll_seconds=3

xvfb_pid=""
monitor_pid=""
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cleanup() {
  local rc=$?
  # Ends every Wine process of the prefix, the server the test started included.
  timeout 30 wineserver -k 2>/dev/null || true
  if [ -n "$monitor_pid" ]; then
    kill "$monitor_pid" 2>/dev/null || true
    wait "$monitor_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
  exit "$rc"
}

# e2e_setup [--no-sim | charger-sim options]: runs the test script again under
# scripts/with-charger-sim, then gives it a private X server, so the screen holds nothing but
# the monitor.
e2e_setup() {
  if [ -z "${E2E_UNDER_SIM:-}" ]; then
    export E2E_UNDER_SIM=1
    exec "$root/scripts/with-charger-sim" "$@" -- bash "$0"
  fi
  local tool exe
  for tool in Xvfb import od awk wineserver; do
    command -v "$tool" >/dev/null || { echo "e2e: '$tool' is missing (run scripts/test once)" >&2; exit 1; }
  done
  for exe in vortane.exe ui-driver.exe; do
    [ -f "$bin/$exe" ] || { echo "e2e: $bin/$exe is missing: build the win preset" >&2; exit 1; }
  done
  work=$(mktemp -d "${TMPDIR:-/tmp}/vortane-e2e.XXXXXX")
  trap cleanup EXIT
  trap 'exit 130' INT TERM
  trap 'echo "e2e: $(basename "$0"):$LINENO: a command failed" >&2' ERR

  local fdfile="$work/display"
  Xvfb -displayfd 3 -screen 0 "${screen_width}x${screen_height}x24" -nolisten tcp 3>"$fdfile" \
    </dev/null >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.05; done
  [ -s "$fdfile" ] || { echo "e2e: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$fdfile")"
}

# wait_until SECONDS COMMAND...: true once COMMAND succeeds, false when SECONDS pass first.
wait_until() {
  local deadline=$(($(date +%s) + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    [ "$(date +%s)" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

# Starts the monitor; "fast" runs its Wine processes on the fast clock.
# A server left from an earlier run would hold the wrong clock: it goes first.
start_monitor() {
  timeout 30 wineserver -k 2>/dev/null || true
  if [ "${1:-}" = fast ]; then
    export FAKETIME="$fast_clock"
  else
    unset FAKETIME
  fi
  WINE_RUN_TIMEOUT=300 "$root/scripts/wine-run" "$bin/vortane.exe" >"$work/monitor.out" 2>&1 &
  monitor_pid=$!
  # The program starts the wineserver; under the fast clock other processes attach only later.
  [ -z "${FAKETIME:-}" ] || sleep 2
  if ! wait_until 60 drive wait-window --timeout 1000; then
    echo "e2e: the window VORTANE did not appear; the monitor said:" >&2
    cat "$work/monitor.out" >&2
    exit 1
  fi
}

# Sets monitor_rc to the monitor's exit code once it has ended ("running" after 30 s).
wait_monitor_exit() {
  local i
  for i in $(seq 150); do
    kill -0 "$monitor_pid" 2>/dev/null || break
    sleep 0.2
  done
  if kill -0 "$monitor_pid" 2>/dev/null; then
    monitor_rc=running
    return
  fi
  monitor_rc=0
  wait "$monitor_pid" || monitor_rc=$?
  monitor_pid=""
}

drive() {
  WINE_RUN_TIMEOUT=60 "$root/scripts/wine-run" "$bin/ui-driver.exe" "$@"
}

# Runs the driver; a failure is reported with what the driver said, and ends the test.
must_drive() {
  local out
  if ! out=$(drive "$@" 2>&1); then
    echo "e2e: ui-driver $* failed: $out" >&2
    exit 1
  fi
  printf '%s\n' "$out"
}

polls_seen() { tr -cd f <"$CHARGER_SIM_LOG" | wc -c; }
polls_at_least() { [ "$(polls_seen)" -ge "$1" ]; }

# The processes that hold the serial device open (Wine keeps it in the server and the program).
port_holders() {
  local pty fd
  pty=$(readlink "$COM1_LINK" 2>/dev/null) || return 0
  for fd in /proc/[0-9]*/fd/*; do
    [ "$(readlink "$fd" 2>/dev/null)" = "$pty" ] && echo "${fd%/fd/*}"
  done | sort -u
}
port_open() { [ -n "$(port_holders)" ]; }
port_closed() { [ -z "$(port_holders)" ]; }

# The screen as "x y" lines, one per pure red pixel (the curves' colour).
grab_red_pixels() {
  local raw="$work/screen.rgb"
  import -window root -depth 8 "rgb:$raw"
  od -An -tu1 -v -w3 "$raw" |
    awk -v w="$screen_width" '$1 == 255 && $2 == 0 && $3 == 0 { print (NR - 1) % w, int((NR - 1) / w) }' \
      >"$work/red.txt"
}

# red_in X Y W H: how many red pixels lie in that screen rectangle.
red_in() {
  awk -v x="$1" -v y="$2" -v w="$3" -v h="$4" \
    '$1 >= x && $1 < x + w && $2 >= y && $2 < y + h { n++ } END { print n + 0 }' "$work/red.txt"
}

# The memo texts as ui-driver prints them (CR and LF escaped), voltage then temperature.
read_memos() {
  local out
  out=$(must_drive read-memos)
  voltage_memo=$(sed -n 1p <<<"$out")
  temperature_memo=$(sed -n 2p <<<"$out")
}

expect_eq() {
  local what=$1 expected=$2 actual=$3
  [ "$expected" = "$actual" ] || fail "$what: expected '$expected', got '$actual'"
}

finish() {
  if [ "$failures" -eq 0 ]; then
    echo "PASS: $(basename "$0" .sh)"
  else
    echo "$failures check(s) failed" >&2
    exit 1
  fi
}
