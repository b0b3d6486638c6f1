#!/usr/bin/env bash
# Many polls on the fast clock: the panes list every reading newest first, the curves stand
# where the graphs' mapping puts them, and "стоп" ends the polling and closes the port.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_setup --minutes-per-poll 5

start_monitor fast
must_drive click цикл >/dev/null
wait_until 90 polls_at_least 6 || fail "fewer than 6 polls within 90 s"
must_drive click стоп >/dev/null
port_closed || fail "the port is still open after стоп: $(port_holders)"

# "стоп" may come between a poll's write and its read, so the last reply may be unread.
read_memos
count=$(grep -o '\\r\\r\\n' <<<"$voltage_memo" | wc -l || true)
[ "$count" -ge 5 ] || fail "only $count readings listed"
mapfile -t replies < <(tr '\r' '\n' <"$CHARGER_SIM_SENT")
[ "${#replies[@]}" -ge "$count" ] || fail "$count readings listed but only ${#replies[@]} replies sent"
expected_voltage=""
expected_temperature=""
for ((i = count - 1; i >= 0; i--)); do
  r=${replies[i]}
  expected_voltage+="${r:0:1}.${r:1:3}"'\r\r\n'
  expected_temperature+="${r:4:2}.${r:6:1}"'\r\r\n'
done
expect_eq "voltage memo" "$expected_voltage" "$voltage_memo"
expect_eq "temperature memo" "$expected_temperature" "$temperature_memo"

polls=$(polls_seen)
sleep $((2 * fast_poll_seconds + 1))
expect_eq "polls during over two poll periods after стоп" "$polls" "$(polls_seen)"

# Point i of n maps to x = 30 + nint(i * PW / (n - 1)), y = 15 + nint(PH - (v - lo) * PH / R),
# with PW = width - 45 and PH = height - 30 of the client area; lo and R are the fixed range.
# The pen draws the first point; a line never draws its own end point, so the curve's last
# pixel is one column left of the last point.
pixel() {  # pixel INDEX VALUE WIDTH HEIGHT LO RANGE -> "x y" in the graph's client area
  awk -v i="$1" -v v="$2" -v w="$3" -v h="$4" -v lo="$5" -v r="$6" -v n="$count" 'BEGIN {
    pw = w - 45; ph = h - 30
    printf "%.0f %.0f\n", 30 + i * pw / (n - 1), 15 + (ph - (v - lo) * ph / r) }'
}
check_curve() {  # check_curve NAME LEFT TOP WIDTH HEIGHT LO RANGE FIRST_VALUE LAST_VALUE
  local name=$1 gx=$2 gy=$3 w=$4 h=$5 lo=$6 range=$7 x0 y0 x1 y1
  read -r x0 y0 < <(pixel 0 "$8" "$w" "$h" "$lo" "$range")
  read -r x1 y1 < <(pixel $((count - 1)) "$9" "$w" "$h" "$lo" "$range")
  grep -qx "$((gx + x0)) $((gy + y0))" "$work/red.txt" || fail "$name: no red at the first point ($x0,$y0)"
  [ "$(red_in $((gx + x1 - 1)) $((gy + y1 - 1)) 1 3)" -ge 1 ] ||
    fail "$name: no red just left of the last point ($x1,$y1)"
  expect_eq "$name: red pixels left of the first point" 0 "$(red_in "$gx" "$gy" "$x0" "$h")"
  expect_eq "$name: red pixels from the last point's column on" 0 \
    "$(red_in $((gx + x1)) "$gy" $((w - x1)) "$h")"
  expect_eq "$name: red pixels outside the curve's rows" 0 \
    "$(( $(red_in "$gx" "$gy" "$w" "$h") - $(red_in "$gx" $((gy + (y0 < y1 ? y0 : y1))) "$w" $(( (y0 > y1 ? y0 - y1 : y1 - y0) + 1 )) ) ))"
}

rects=$(must_drive graph-rects)
read -r vx vy vw vh tx ty tw th <<<"$(tr '\n' ' ' <<<"$rects")"
grab_red_pixels
first=${replies[0]}
last=${replies[count - 1]}
check_curve "voltage graph" "$vx" "$vy" "$vw" "$vh" 800 800 "${first:0:4}" "${last:0:4}"
check_curve "temperature graph" "$tx" "$ty" "$tw" "$th" 20 25 "${first:4:2}.${first:6:1}" "${last:4:2}.${last:6:1}"

must_drive close >/dev/null
wait_monitor_exit
expect_eq "exit code after closing the window" 0 "$monitor_rc"

finish
