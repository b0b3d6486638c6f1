#!/usr/bin/env bash
# Nothing behind COM1, on the fast clock: "цикл" goes on silently through several polls, and
# Windows shutting down ends the program with exit code 0.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_setup --no-sim

start_monitor fast
must_drive click цикл >/dev/null
sleep $((2 * fast_poll_seconds + 1))  # over two poll periods
must_drive wait-window --timeout 0 >/dev/null
read_memos
expect_eq "voltage memo" "" "$voltage_memo"
expect_eq "temperature memo" "" "$temperature_memo"
drive box --timeout 0 >/dev/null 2>&1 && fail "a box is shown"

must_drive endsession >/dev/null
wait_monitor_exit
expect_eq "exit code after WM_ENDSESSION" 0 "$monitor_rc"

finish
