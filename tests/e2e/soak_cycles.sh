#!/usr/bin/env bash
# A thousand "цикл"/"стоп" pairs, each click handled before the next: the monitor's process
# and the prefix's wineserver hold as many descriptors after them as after the first few, the
# port ends closed, and closing the window ends the program with exit code 0.
# The server's pipes and sockets are its connections with the threads of every Wine process
# of the prefix; they come and go with the thread pools of its services, so only its files
# and devices are counted (a port or file the program forgets to close stays among them).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
# The reading never ends the charge, so no box interrupts the clicks.
e2e_setup --fixed 1234256 --end-after 1000000

# counts: "monitor-fds server-file-fds", once two readings half a second apart agree (a process
# that just ended may still be leaving the server).
counts() {
  local now last=""
  for _ in $(seq 20); do
    now="$(open_fds "$monitor") $(open_fds "$server" files)"
    [ "$now" = "$last" ] && break
    last=$now
    sleep 0.5
  done
  echo "$now"
}

# On the real clock, each run lasts about as long as the clicks take, so the polls and reads
# armed by one run are often still pending when the next "стоп" and "цикл" come: one left
# armed would read in the next run, after its purge, and hang the clicks for the port's
# whole time-out.
start_monitor
monitor=$(monitor_process)
server=$(prefix_server)
[ "$(wc -w <<<"$monitor $server")" -eq 2 ] ||
  { echo "e2e: expected one monitor and one server process, found '$monitor' and '$server'" >&2; exit 1; }

must_drive cycle 5 >/dev/null
early=$(counts)
DRIVE_TIMEOUT=180 must_drive cycle 1000 >/dev/null
late=$(counts)
expect_eq "descriptors of the monitor and the server's files, after 5 pairs and after 1005" "$early" "$late"
port_closed || fail "the port is open after the last стоп: $(port_holders)"

must_drive close >/dev/null
wait_monitor_exit
expect_eq "exit code after closing the window" 0 "$monitor_rc"
port_closed || fail "the port is still open after the program ended: $(port_holders)"

finish
