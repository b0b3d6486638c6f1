#!/usr/bin/env bash
# The charge log on the fast clock, its path holding a blank, Cyrillic letters and letters no
# 8-bit code page of the program holds: a run to the end of charge, the file removed after its
# first reading and made again, and a second run; then a second start that appends to the same
# file; then a path that cannot be written, which shows one box while the monitor polls on.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_setup --minutes-per-poll 5 --end-after 3

log="$work/журнал заряда Prüfung 中.csv"
expected="$work/expected"
: >"$expected"

end_box_ok() {
  wait_until 60 drive box --caption Режим --timeout 1000 || fail "no box captioned Режим"
  must_drive box --caption Режим --press ok >/dev/null
}

# expect_line RUN POLL REPLY: the line a reply of seven digits and its CR makes, texts in hex.
expect_line() {
  local hex=() text
  for text in "${3:0:1}.${3:1:3}" "${3:4:2}.${3:6:1}" "$3"; do
    hex+=("$(printf %s "$text" | od -An -v -tx1 | tr -d ' \n')")
  done
  echo "$1 $2 ${hex[0]} ${hex[1]} ${hex[2]}0d" >>"$expected"
}

start_monitor fast /log "Z:$log"
must_drive click цикл >/dev/null
wait_until 30 test -s "$log" || fail "no log at its exact path: $(ls "$work")"
logged() { [ "$(wc -l <"$log")" -ge "$1" ]; }
wait_until 30 logged 2 || fail "no first reading in the log"
# Removed while the monitor holds it open: the next reading goes to the path again.
rm "$log"
wait_until 60 drive box --caption Режим --timeout 1000 || fail "no end of charge"
# Two readings and the end, each on disk while the program still runs; the panes list them all.
expect_eq "lines in the log at the end of charge" 4 "$(wc -l <"$log" 2>/dev/null)"
mapfile -t replies < <(tr '\r' '\n' <"$CHARGER_SIM_SENT")
read_memos
listed=""
for r in "${replies[@]:0:4}"; do listed="${r:0:1}.${r:1:3}"'\r\r\n'"$listed"; done
expect_eq "voltage memo beside the log" "$listed" "$voltage_memo"
end_box_ok
must_drive click цикл >/dev/null
end_box_ok
must_drive close >/dev/null
wait_monitor_exit
for poll in 2 3 4; do expect_line 1 "$poll" "${replies[poll - 1]}"; done
expect_line 2 1 0000000

start_monitor fast /log "Z:$log"
must_drive click цикл >/dev/null
end_box_ok
must_drive close >/dev/null
wait_monitor_exit
expect_line 1 1 0000000
python3 "$(dirname "$0")/charge_log_check.py" "$log" "$expected" || fail "the log holds other lines"

start_monitor fast /log "Z:$work/нет/журнал.csv"
wait_until 30 drive box --caption Журнал --timeout 1000 || fail "no box captioned Журнал"
expect_eq "text of the box" "Не удаётся записать журнал:\\nZ:$work/нет/журнал.csv" \
  "$(must_drive box --caption Журнал --press ok)"
must_drive click цикл >/dev/null
end_box_ok
must_drive close >/dev/null
wait_monitor_exit
expect_eq "exit code without the log" 0 "$monitor_rc"

finish
