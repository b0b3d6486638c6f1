#!/usr/bin/env bash
# CPU time the monitor and the minimal window use while they wait: both idle after start, then
# the monitor polling (one poll a minute) while the minimal window idles beside it. Runs under
# scripts/with-charger-sim, on the display and prefix the caller set up.
# Prints "idle SECONDS MONITOR_MS MINIMAL_MS" and "polling SECONDS MONITOR_MS MINIMAL_MS POLLS".
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bin="$root/build/win/bin"
idle_seconds=${IDLE_SECONDS:-60}
polling_seconds=${POLLING_SECONDS:-50}
export LC_ALL=C.UTF-8
ticks_per_second=$(getconf CLK_TCK)

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  timeout 30 wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

drive() { WINE_RUN_TIMEOUT=60 "$root/scripts/wine-run" "$bin/ui-driver.exe" "$@"; }

# The Linux process of a running Windows program: Wine names it after the program (15 bytes)
# and keeps its path as the first argument. Asked once the windows stand: the loader's first
# processes are gone by then.
wine_pid() {
  local name=$1 pids="" pid
  for pid in $(pgrep -x "${name:0:15}" || true); do
    [ "$(tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -n1)" = "$bin/$name" ] && pids+="$pid "
  done
  if [ "$(wc -w <<<"$pids")" -ne 1 ]; then
    echo "idle_cpu: expected one process $1, found: ${pids:-none}" >&2
    exit 1
  fi
  echo "${pids% }"
}

# User and system CPU of a process so far, in milliseconds.
cpu_ms() {
  local fields
  read -r -a fields < <(sed 's/.*) //' "/proc/$1/stat") || { echo "idle_cpu: process $1 ended" >&2; exit 1; }
  # After the command name: field 3 of stat is fields[0], so utime (14) and stime (15) are 11, 12.
  echo $(((fields[11] + fields[12]) * 1000 / ticks_per_second))
}

WINE_RUN_TIMEOUT=900 "$root/scripts/wine-run" "$bin/vortane.exe" >/dev/null 2>&1 &
pids+=($!)
WINE_RUN_TIMEOUT=900 "$root/scripts/wine-run" "$bin/minimal_window.exe" >/dev/null 2>&1 &
pids+=($!)
drive wait-window --timeout 30000 >/dev/null
sleep 3
monitor=$(wine_pid vortane.exe)
minimal=$(wine_pid minimal_window.exe)

m0=$(cpu_ms "$monitor") n0=$(cpu_ms "$minimal")
sleep "$idle_seconds"
m1=$(cpu_ms "$monitor") n1=$(cpu_ms "$minimal")
echo "idle $idle_seconds $((m1 - m0)) $((n1 - n0))"

drive click цикл >/dev/null
sleep 2  # the first poll comes 10 ms after the click
polls_before=$(tr -cd f <"$CHARGER_SIM_LOG" | wc -c)
m2=$(cpu_ms "$monitor") n2=$(cpu_ms "$minimal")
sleep "$polling_seconds"
m3=$(cpu_ms "$monitor") n3=$(cpu_ms "$minimal")
polls_after=$(tr -cd f <"$CHARGER_SIM_LOG" | wc -c)
echo "polling $polling_seconds $((m3 - m2)) $((n3 - n2)) $((polls_after - polls_before)) $polls_before"
drive close >/dev/null || true
