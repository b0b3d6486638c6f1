#!/usr/bin/env bash
# Two hundred polls in one run: every reading the charger sent is listed, newest first, none
# lost and none twice; the curves stand where the graphs' mapping puts them; "стоп" ends the
# polling and closes the port. A minute of the monitor's is 0.2 s here, and
# the charge model moves 0.3 min a poll, so the end of charge (poll 262) is not reached and
# both curves still climb.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_setup --minutes-per-poll 0.3

start_monitor fast
must_drive click цикл >/dev/null
# Faster only while the simulator's log alone is watched: a Wine process that starts at this
# speed misses its own start-up waits, and one that ends at it is killed.
set_clock_speed 300
wait_until 150 polls_at_least 201 || fail "only $(polls_seen) polls within 150 s"
set_clock_speed 20
must_drive click-busy стоп >/dev/null
port_closed || fail "the port is still open after стоп: $(port_holders)"

polls=$(polls_seen)
expect_memos_after_reads 8 0 "$polls" $((polls - 1))
drive box --timeout 0 >/dev/null 2>&1 && fail "a box is shown"
sleep $((2 * fast_poll_seconds))
expect_eq "polls during two poll periods after стоп" "$polls" "$(polls_seen)"

# Point i of n maps to x = 30 + nint(i * PW / (n - 1)), y = 15 + nint(PH - (v - lo) * PH / R),
# with PW = width - 45 and PH = height - 30 of the client area; lo and R are the fixed range.
# The pen draws the first point; a line never draws its own end point, so the curve's last
# pixel is one column left of the last point.
count=$(grep -o '0d0a' <<<"$voltage_bytes" | wc -l)
mapfile -t replies < <(tr '\r' '\n' <"$CHARGER_SIM_SENT")
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

read -r vx vy vw vh tx ty tw th <<<"$(must_drive graph-rects | tr '\n' ' ')"
grab_red_pixels
first=${replies[0]}
last=${replies[count - 1]}
check_curve "voltage graph" "$vx" "$vy" "$vw" "$vh" 800 800 "${first:0:4}" "${last:0:4}"
check_curve "temperature graph" "$tx" "$ty" "$tw" "$th" 20 25 "${first:4:2}.${first:6:1}" "${last:4:2}.${last:6:1}"

must_drive close >/dev/null
wait_monitor_exit
expect_eq "exit code after closing the window" 0 "$monitor_rc"

finish
