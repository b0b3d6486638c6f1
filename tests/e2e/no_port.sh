#!/usr/bin/env bash
# The command line, then nothing behind COM1 on the fast clock. The information switch shows
# its box and ends with code 0 without a monitor, whatever follows it; a port that is no port is
# refused with a box and code 2, without a monitor; any other first parameter starts the monitor,
# whose "цикл" goes on silently through several polls, and Windows shutting down ends it with
# exit code 0.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_setup --no-sim

# Only a raw command line shows the program the quotes an operator types; the outer pair goes.
exe="Z:${bin//\//\\}\\vortane.exe"
drive run "\"$exe\" \"/ih\" /port 0" >"$work/ih.out" 2>&1 &
ih_pid=$!
wait_until 60 drive box --caption "Nodra Info" --timeout 1000 ||
  fail "no information box: $(cat "$work/ih.out")"
text=$(must_drive box --caption "Nodra Info")
expect_eq "text of the information box" "Сделано в Nodra." "$text"
drive wait-window --timeout 0 >/dev/null 2>&1 && fail "the monitor started with /ih"
must_drive box --caption "Nodra Info" --press ok >/dev/null
wait "$ih_pid" || fail "the information run did not end: $(cat "$work/ih.out")"
expect_eq "the information run's end" "exit code 0" "$(tr -d '\r' <"$work/ih.out")"

drive run "\"$exe\" /log Z:${work//\//\\}\\refused.csv /port COM257" >"$work/port.out" 2>&1 &
port_pid=$!
wait_until 60 drive box --caption Порт --timeout 1000 ||
  fail "no box captioned Порт: $(cat "$work/port.out")"
expect_eq "text of the refusal" "Неверный порт: COM257" "$(must_drive box --caption Порт)"
drive wait-window --timeout 0 >/dev/null 2>&1 && fail "the monitor started on a refused port"
must_drive box --caption Порт --press ok >/dev/null
wait "$port_pid" || fail "the refused run did not end: $(cat "$work/port.out")"
expect_eq "the refused run's end" "exit code 2" "$(tr -d '\r' <"$work/port.out")"
[ ! -e "$work/refused.csv" ] || fail "a refused start made its log"

start_monitor fast /IH
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
