#!/usr/bin/env bash
# A faulty line, one scenario per run (the simulator serves one):
#   faults.sh silent|garbage|short|long|drop
# The program rides each out on the fast clock: the panes show exactly what its cuts make of
# the bytes each read returned, "стоп" closes the port, nothing of it stays open, and closing
# the window ends the program with exit code 0.
# While a read waits for bytes that do not come, the program answers no message: clicks then go
# through click-busy, which sends nothing but the click itself.
export FAULT_SCENARIO="${FAULT_SCENARIO:-${1:-}}"
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# Bytes each poll is answered with, and the simulator's options.
case "$FAULT_SCENARIO" in
  silent) reply_length=0; e2e_setup --scenario silent ;;
  # Seed 1: CR, LF and bytes above 127 in its first replies, and no zero byte, which would end
  # the window text.
  garbage) reply_length=8; e2e_setup --scenario garbage --seed 1 ;;
  short) reply_length=5; e2e_setup --scenario short --short-length 5 ;;
  # Thirteen bytes a poll: each read leaves five more behind, so reads straddle replies.
  long) reply_length=13; e2e_setup --scenario long --long-length 13 ;;
  drop) reply_length=8; e2e_setup --scenario drop --drop-after 2 --reconnect ;;
  *) echo "usage: faults.sh silent|garbage|short|long|drop" >&2; exit 2 ;;
esac

# The port's read time-out, nine of the program's minutes: 60000 ms, and 60000 ms for each of
# the 8 bytes asked for.
read_timeout_seconds=$((9 * fast_poll_seconds))

line=$(readlink "$COM1_LINK")
link_moved() { [ "$(readlink "$COM1_LINK")" != "$line" ]; }

start_monitor fast
must_drive click цикл >/dev/null
skip=0
first_poll=1

case "$FAULT_SCENARIO" in
  silent)
    # The first read waits out its whole time-out; only then does the next poll go.
    wait_until 10 polls_at_least 1 || fail "no poll within 10 s of цикл"
    started=$(date +%s)
    wait_until $((read_timeout_seconds + 30)) polls_at_least 2 || fail "no second poll"
    waited=$(($(date +%s) - started))
    [ "$waited" -ge $((read_timeout_seconds - 3)) ] ||
      fail "the second poll came ${waited}s after the first: the read did not wait for its time-out"
    ;;
  drop)
    # The third poll finds the line gone; a fresh one takes its link.
    wait_until 30 polls_at_least 3 || fail "the poll that drops the line did not come"
    wait_until 10 link_moved || fail "the line did not come back"
    [ -n "$(holders_of "$line")" ] || fail "nothing holds the dropped line: the program let go of it unasked"
    # Its reads of the dead line each take the whole time-out, so the click waits for one.
    must_drive click-busy цикл >/dev/null
    expect_eq "holders of the dropped line after цикл" "" "$(holders_of "$line")"
    port_open || fail "цикл did not open the line that came back"
    skip=$((2 * reply_length))
    first_poll=4
    wait_until 30 polls_at_least 5 || fail "fewer than two polls on the line that came back"
    ;;
  *)
    wait_until 30 polls_at_least 4 || fail "fewer than 4 polls within 30 s"
    ;;
esac

must_drive click-busy стоп >/dev/null
port_closed || fail "the port is still open after стоп: $(port_holders)"
[ "$FAULT_SCENARIO" != drop ] || expect_eq "holders of the dropped line at the end" "" "$(holders_of "$line")"
reads=$(($(polls_seen) - first_poll + 1))
expect_memos_after_reads "$reply_length" "$skip" "$reads" $((reads - 1))
drive box --timeout 0 >/dev/null 2>&1 && fail "a box is shown"

must_drive close >/dev/null
wait_monitor_exit
expect_eq "exit code after closing the window" 0 "$monitor_rc"
port_closed || fail "the port is still open after the program ended: $(port_holders)"

finish "faults $FAULT_SCENARIO"
