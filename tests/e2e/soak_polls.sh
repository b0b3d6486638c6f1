#!/usr/bin/env bash
# Two hundred polls in one run: every reading the charger sent is listed, newest first, none
# lost and none twice. A minute of the monitor's is 0.2 s here (the tunable clock), and the
# charge model moves 0.3 min a poll, so the end of charge (poll 262) is not reached.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_setup --minutes-per-poll 0.3

polls_wanted=201
start_monitor tunable
set_clock_speed 300
must_drive click цикл >/dev/null
wait_until 150 polls_at_least "$polls_wanted" || fail "only $(polls_seen) polls within 150 s"
must_drive click-busy стоп >/dev/null
port_closed || fail "the port is still open after стоп: $(port_holders)"

polls=$(polls_seen)
expect_memos_after_reads 8 0 "$polls" $((polls - 1))
drive box --timeout 0 >/dev/null 2>&1 && fail "a box is shown"

must_drive close >/dev/null
wait_monitor_exit
expect_eq "exit code after closing the window" 0 "$monitor_rc"

finish
