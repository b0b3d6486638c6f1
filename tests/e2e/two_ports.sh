#!/usr/bin/env bash
# Two monitors side by side on the real clock, each with its own charger, port and log: COM1, and
# COM12, which Windows reaches only through the device path. Each window names its port; after
# "цикл" in each, each pane and each log holds only its own charger's reading.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_setup --fixed 1250230
start_charger 12 --fixed 1400300

log_a="$work/a.csv"
log_b="$work/b.csv"
monitor_caption="VORTANE COM1"
start_monitor real /port 1 /log "Z:$log_a"
# The second joins the first one's Wine server.
WINE_RUN_TIMEOUT=300 "$root/scripts/wine-run" "$bin/vortane.exe" /log "Z:$log_b" /port com12 \
  >"$work/monitor_b.out" 2>&1 &
monitor_b=$!
wait_until 60 window_shown "VORTANE COM12" ||
  { echo "e2e: no window VORTANE COM12: $(cat "$work/monitor_b.out")" >&2; exit 1; }

polled() { [ "$(tr -cd f <"$1" 2>/dev/null | wc -c)" -ge 1 ]; }
logged() { [ "$(wc -l <"$1" 2>/dev/null)" -ge 2 ]; }

# check CAPTION LOG RECEIVED SENT VOLTAGE TEMPERATURE: one poll of this monitor's own charger,
# in its panes and in its log.
check() {
  monitor_caption=$1
  expect_eq "caption" "$1" "$(must_drive captions | head -n1)"
  must_drive click цикл >/dev/null
  wait_until 20 polled "$3" || fail "$1: its charger got no poll"
  wait_until 20 logged "$2" || fail "$1: no reading in its log"
  read_memos
  expect_eq "$1: voltage pane" "$5"'\r\r\n' "$voltage_memo"
  expect_eq "$1: temperature pane" "$6"'\r\r\n' "$temperature_memo"
  sed -n 2p "$2" | grep -qE "^[0-9-]+ [0-9:]+,1,1,$5,$6,$(tr -d '\r' <"$4")\\\\x0D"$'\r$' ||
    fail "$1: its log holds $(od -c "$2")"
}
check "VORTANE COM1" "$log_a" "$CHARGER_SIM_LOG" "$CHARGER_SIM_SENT" 1.250 23.0
check "VORTANE COM12" "$log_b" "$work/com12.received" "$work/com12.sent" 1.400 30.0
expect_eq "polls of COM1's charger" f "$(cat "$CHARGER_SIM_LOG")"
expect_eq "polls of COM12's charger" f "$(cat "$work/com12.received")"

monitor_caption="VORTANE COM12"
must_drive close >/dev/null
wait "$monitor_b" || fail "the monitor on COM12 ended with $?"
monitor_caption="VORTANE COM1"
must_drive close >/dev/null
wait_monitor_exit
expect_eq "exit code of the monitor on COM1" 0 "$monitor_rc"

finish
