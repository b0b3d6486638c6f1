#!/usr/bin/env bash
# One operator session on the real clock (the next regular poll is a minute away):
# "стоп" before any run, the first poll of "цикл", a second "цикл", "стоп", closing the window.
# The charger answers every poll with twelve bytes, so four stale bytes wait after each read.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_setup --fixed 1234256 --scenario long --long-length 12

start_monitor

expected_captions=$(sort <<'EOF'
VORTANE
стоп
цикл
Напряжение,В
Температура, С
Напряжение, мВ/время
Температура, С/время
мин
мин
EOF
)
expect_eq "captions read through WM_GETTEXT" "$expected_captions" "$(must_drive captions | sort)"

must_drive click стоп >/dev/null
read_memos
expect_eq "voltage memo after стоп alone" "" "$voltage_memo"
expect_eq "temperature memo after стоп alone" "" "$temperature_memo"
expect_eq "polls after стоп alone" 0 "$(polls_seen)"
port_closed || fail "the port is open after стоп alone: $(port_holders)"

# The first poll comes 10 ms after the click; the regular one would take a minute.
must_drive click цикл >/dev/null
wait_until 20 polls_at_least 1 || fail "no poll within 20 s of цикл"
port_open || fail "the port is not open during the run"
read_memos
expect_eq "voltage memo after one poll" '1.234\r\r\n' "$voltage_memo"
expect_eq "temperature memo after one poll" '25.6\r\r\n' "$temperature_memo"

# One point is a move of the pen, nothing drawn.
graphs=$(must_drive graph-rects)
[ "$(wc -l <<<"$graphs")" -eq 2 ] || fail "expected two graphs, found: $graphs"
grab_red_pixels
while read -r x y w h; do
  expect_eq "red pixels in the graph at $x,$y after one point" 0 "$(red_in "$x" "$y" "$w" "$h")"
done <<<"$graphs"

# A second run clears both panes and polls once more; the stale bytes are purged, else the
# temperature would read "12.34".
must_drive click цикл >/dev/null
wait_until 20 polls_at_least 2 || fail "no poll within 20 s of the second цикл"
read_memos
expect_eq "voltage memo after the second цикл" '1.234\r\r\n' "$voltage_memo"
expect_eq "temperature memo after the second цикл" '25.6\r\r\n' "$temperature_memo"

must_drive click стоп >/dev/null
port_closed || fail "the port is still open after стоп: $(port_holders)"

# Closing the window while a run goes on.
must_drive click цикл >/dev/null
wait_until 20 port_open || fail "the port did not open again"
must_drive close >/dev/null
wait_monitor_exit
expect_eq "exit code after closing the window" 0 "$monitor_rc"
port_closed || fail "the port is still open after the program ended: $(port_holders)"

finish
