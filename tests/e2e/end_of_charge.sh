#!/usr/bin/env bash
# The end of charge on the fast clock: two readings, then "0000000". The box keeps the port
# open while polls go on unanswered; OK closes it; the next "цикл" starts afresh.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_setup --fixed 1234256 --end-after 2

# Waits for the end box and checks its text; OK is pressed when asked.
expect_end_box() {
  local text
  wait_until 60 drive box --caption Режим --timeout 1000 || { fail "no box captioned Режим"; return; }
  text=$(must_drive box --caption Режим "$@")
  expect_eq "text of the box" "Заряд окончен!" "$text"
}

start_monitor fast
must_drive click цикл >/dev/null
expect_end_box
read_memos
expect_eq "voltage memo at the end" '0.000\r\r\n1.234\r\r\n1.234\r\r\n' "$voltage_memo"
expect_eq "temperature memo at the end" '00.0\r\r\n25.6\r\r\n25.6\r\r\n' "$temperature_memo"

# While the box is open the polls still write and nothing that comes back is read.
polls=$(polls_seen)
wait_until 30 polls_at_least $((polls + 2)) || fail "no polls while the box is open"
port_open || fail "the port closed while the box is open"
read_memos
expect_eq "voltage memo while the box is open" '0.000\r\r\n1.234\r\r\n1.234\r\r\n' "$voltage_memo"

must_drive box --caption Режим --press ok >/dev/null
port_closed || fail "the port is still open after OK: $(port_holders)"
sleep 0.5  # the simulator logs a byte within 20 ms of its arrival
polls=$(polls_seen)
sleep $((2 * fast_poll_seconds + 1))
expect_eq "polls written during over two poll periods after OK" "$polls" "$(polls_seen)"
drive box --timeout 0 >/dev/null 2>&1 && fail "a box is still shown after OK"

# Unread end replies wait in the port; the new run lists only its own first reading.
must_drive click цикл >/dev/null
expect_end_box --press ok
read_memos
expect_eq "voltage memo of the new run" '0.000\r\r\n' "$voltage_memo"
expect_eq "temperature memo of the new run" '00.0\r\r\n' "$temperature_memo"

must_drive close >/dev/null
wait_monitor_exit
expect_eq "exit code after closing the window" 0 "$monitor_rc"

finish
