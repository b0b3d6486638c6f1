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
# The fast clock: a minute of the monitor's passes in 3 s. Much faster clocks cut Wine's own
# waits (for a process to end, say) too short on a loaded machine.
fast_clock="+0 x20"
fast_poll_seconds=3

xvfb_pid=""
monitor_pid=""
failures=0
# The main window the driver and the waits look for; a monitor on a chosen port names it.
monitor_caption=VORTANE

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
  for tool in Xvfb xwininfo import od awk wineserver; do
    command -v "$tool" >/dev/null || { echo "e2e: '$tool' is missing (run scripts/test once)" >&2; exit 1; }
  done
  for exe in vortane.exe ui-driver.exe; do
    [ -f "$bin/$exe" ] || { echo "e2e: $bin/$exe is missing: build the win preset" >&2; exit 1; }
  done
  # Wine's start-up waits shrink with the fast clock; on a busy machine they run out before its
  # desktop stands unless the test and all it starts come first (as root; otherwise as they are).
  renice -n -10 -p $$ >/dev/null 2>&1 || true
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

# start_charger N [charger-sim options]: a further simulated charger, on COM N of the prefix
# (mapped by the next Wine start). Its received and sent bytes go to $work/comN.received and
# $work/comN.sent; it ends with the test.
start_charger() {
  local number=$1 out="$work/com$1.out"
  shift
  export "COM${number}_LINK=$WINEPREFIX/com$number.pty"
  "$root/build/native/bin/charger-sim" --link "$WINEPREFIX/com$number.pty" \
    --log "$work/com$number.received" --sent-log "$work/com$number.sent" --exit-with-parent "$@" \
    </dev/null >"$out" 2>&1 &
  wait_until 10 grep -q '^charger-sim: serving on ' "$out" || { echo "e2e: charger on COM$number did not start: $(cat "$out")" >&2; exit 1; }
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

# libfaketime names its shared memory after the first process it fakes and leaves it behind
# when that process is killed, as Wine's processes are. A later process that gets the same
# pid ends at once with this message; it never ran, so it can simply be started again.
faketime_collided() { grep -q 'ft_shm_create(), shm_open failed' "$@" 2>/dev/null; }

# Removes what libfaketime left of processes that are gone: on a machine that has run many
# tests they are so many that some Wine process of nearly every start would collide.
# A file whose first process is gone may still serve that process's children (another test's
# server, say): only files that no process maps go.
clear_stale_faketime() {
  local file mapped
  mapped=$(cat /proc/[0-9]*/maps 2>/dev/null | grep -o '/dev/shm/[^ ]*faketime[^ ]*' | sort -u || true)
  for file in /dev/shm/faketime_shm_* /dev/shm/sem.faketime_sem_*; do
    [ -e "$file" ] || continue
    kill -0 "${file##*_}" 2>/dev/null || grep -qxF "$file" <<<"$mapped" || rm -f "$file"
  done
}

# A wrapper found first on PATH: every Wine process reads its clock from $work/clock, whose
# speed set_clock_speed changes while they run (libfaketime re-reads it every second and,
# with XRESET, goes on from the time it had reached instead of jumping).
install_tunable_clock() {
  local real_wine
  [ ! -x "$work/shim/wine" ] || return 0
  real_wine=$(command -v wine)
  mkdir -p "$work/shim"
  echo "$fast_clock" >"$work/clock"
  printf '%s\n' '#!/bin/sh' 'unset FAKETIME' \
    "export FAKETIME_TIMESTAMP_FILE='$work/clock' FAKETIME_XRESET=1 FAKETIME_CACHE_DURATION=1" \
    "exec '$real_wine' \"\$@\"" >"$work/shim/wine"
  chmod +x "$work/shim/wine"
  export PATH="$work/shim:$PATH"
}

# set_clock_speed N: from the next second on, N seconds of the monitor's pass in one. Its
# timers follow; the port's read time-outs keep the speed the processes started with.
set_clock_speed() {
  echo "+0 x$1" >"$work/clock"
  sleep 1.5
}

# start_monitor [fast] [ARGUMENTS...]: starts the monitor. "fast" runs its Wine processes on the
# fast clock, whose rate set_clock_speed may then change.
# A server left from an earlier run would hold the wrong clock: it goes first. A start that
# shows no window is tried once more.
start_monitor() {
  local attempt clock=${1:-}
  shift || true
  case "$clock" in
    # wine-run fakes the clock when FAKETIME is set; the wrapper then swaps it for the file.
    fast) export FAKETIME="$fast_clock"; install_tunable_clock ;;
    *) unset FAKETIME ;;
  esac
  for attempt in 1 2; do
    timeout 30 wineserver -k 2>/dev/null || true
    clear_stale_faketime
    [ -z "${FAKETIME:-}" ] || start_desktop
    WINE_RUN_TIMEOUT=300 "$root/scripts/wine-run" "$bin/vortane.exe" "$@" >"$work/monitor.out" 2>&1 &
    monitor_pid=$!
    wait_until 60 window_or_exit || true
    # The driver that brought the desktop up ends once it sees the window; the next may start then.
    wait_until 30 desktop_driver_gone || true
    kill -0 "$monitor_pid" 2>/dev/null && drive wait-window --timeout 0 >/dev/null 2>&1 && return 0
    echo "e2e: start $attempt showed no window; the monitor said: $(head -c 2000 "$work/monitor.out")" >&2
    timeout 30 wineserver -k 2>/dev/null || true
    wait_monitor_exit
  done
  echo "e2e: the window $monitor_caption did not appear; the monitor said:" >&2
  cat "$work/monitor.out" >&2
  exit 1
}

# Wine's server, desktop and services start on the real clock: at the fast one their start-up
# waits run out on a busy machine, and the monitor then gets no desktop. The clock speeds up
# once they stand, before the monitor starts: the port's time-outs keep the rate its process
# started with. The driver that brings them up waits for the monitor's window, so they stay.
start_desktop() {
  echo "+0 x1" >"$work/clock"
  WINE_RUN_TIMEOUT=120 "$root/scripts/wine-run" "$bin/ui-driver.exe" wait-window --timeout 600000 \
    >/dev/null 2>&1 &
  desktop_driver=$!
  wait_until 60 desktop_up || true
  sleep 1  # its services are still starting
  set_clock_speed "${fast_clock##*x}"
}
desktop_driver_gone() { [ -z "${desktop_driver:-}" ] || ! kill -0 "$desktop_driver" 2>/dev/null; }
desktop_up() { xwininfo -root -tree 2>/dev/null | grep -qF '("explorer.exe"'; }

# Asked of the X server, not of Wine: a Wine process that attaches while the monitor's desktop
# is still starting starts a desktop of its own, and the monitor, losing that race, gets none.
window_or_exit() {
  ! kill -0 "$monitor_pid" 2>/dev/null || window_shown "$monitor_caption"
}
window_shown() { xwininfo -root -tree 2>/dev/null | grep -qF "\"$1\": ("; }

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

# Runs the driver, bounded by DRIVE_TIMEOUT seconds (default 60); calls may run side by side.
drive() {
  local out rc attempt
  out=$(mktemp "$work/drive.XXXXXX")
  for attempt in 1 2 3; do
    rc=0
    WINE_RUN_TIMEOUT="${DRIVE_TIMEOUT:-60}" "$root/scripts/wine-run" "$bin/ui-driver.exe" \
      --window "$monitor_caption" "$@" >"$out" || rc=$?
    [ "$rc" -ne 0 ] && faketime_collided "$out" || break
  done
  cat "$out"
  return "$rc"
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

# holders_of PTY: the processes that hold this device open, also once it is gone (a pty's
# node goes when its master closes; whoever still holds the slave sees it "(deleted)").
holders_of() {
  # Processes that end during the walk make find complain; what it found still counts.
  { find /proc/[0-9]*/fd -maxdepth 1 \( -lname "$1" -o -lname "$1 (deleted)" \) 2>/dev/null || true; } |
    cut -d/ -f1-3 | sort -u
}

# The processes that hold the serial device open (Wine keeps it in the server and the program).
port_holders() {
  local pty
  pty=$(readlink "$COM1_LINK" 2>/dev/null) || return 0
  holders_of "$pty"
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

# The memo texts as Windows-1251 bytes in hex, voltage then temperature.
read_memo_bytes() {
  local out
  out=$(must_drive memo-bytes)
  voltage_bytes=$(sed -n 1p <<<"$out")
  temperature_bytes=$(sed -n 2p <<<"$out")
}

# memo_model voltage|temperature REPLY_LENGTH READS [SKIP]: in hex, what that memo shows after
# READS reads of a line on which every poll is answered with REPLY_LENGTH bytes of the
# simulator's sent log (SKIP bytes into it: what went over an earlier line).
# A read takes the next 8 bytes, or what there is once its time-out ends, and nothing makes no
# line. The form's cuts on what one read returned: temperature, byte 5 on with a point before
# its third byte (at the end when shorter); voltage, bytes 1-4 and 8 on with a point after the
# first byte (bytes 5-7 stay when there are fewer than five). Lines are listed newest first.
memo_model() {
  od -An -v -tx1 "$CHARGER_SIM_SENT" |
    awk -v kind="$1" -v length_="$2" -v reads="$3" -v skip="${4:-0}" '
      { for (i = 1; i <= NF; i++) b[n++] = $i }
      END {
        memo = ""
        at = skip
        for (k = 1; k <= reads; k++) {
          came = skip + k * length_
          if (came > n) came = n
          m = came - at
          if (m > 8) m = 8
          if (m <= 0) continue
          line = ""
          if (kind == "temperature") {
            for (i = 4; i < m; i++) line = line (i == 6 ? "2e" : "") b[at + i]
            if (m > 4 && m < 7) line = line "2e"
          } else {
            for (i = 0; i < m; i++) {
              if (m >= 5 && i >= 4 && i < 7) continue
              line = line b[at + i] (i == 0 ? "2e" : "")
            }
          }
          at += m
          if (line != "") memo = line "0d0a" memo
        }
        print memo
      }'
}

# expect_memos_after_reads REPLY_LENGTH SKIP READS...: both memos match the model for one of
# these read counts ("стоп" can come between a poll's write and its read).
expect_memos_after_reads() {
  local length=$1 skip=$2 reads
  shift 2
  read_memo_bytes
  for reads in "$@"; do
    if [ "$voltage_bytes" = "$(memo_model voltage "$length" "$reads" "$skip")" ] &&
       [ "$temperature_bytes" = "$(memo_model temperature "$length" "$reads" "$skip")" ]; then
      return 0
    fi
  done
  fail "the memos match no model of $* reads; sent: $(od -An -v -tx1 "$CHARGER_SIM_SENT" | tr -d ' \n')
  voltage:     $voltage_bytes
  model:       $(memo_model voltage "$length" "$1" "$skip")
  temperature: $temperature_bytes
  model:       $(memo_model temperature "$length" "$1" "$skip")"
}

expect_eq() {
  local what=$1 expected=$2 actual=$3
  [ "$expected" = "$actual" ] || fail "$what: expected '$expected', got '$actual'"
}

finish() {
  if [ "$failures" -eq 0 ]; then
    echo "PASS: ${1:-$(basename "$0" .sh)}"
  else
    echo "$failures check(s) failed" >&2
    exit 1
  fi
}
