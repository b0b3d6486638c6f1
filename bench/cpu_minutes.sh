#!/usr/bin/env bash
# CPU time of the monitor and of the floor, side by side: each runs in a Wine prefix of its own
# (its own wineserver, its own simulated charger on COM1) and on an X server of its own (with the
# pointer resting at the same place over each window), so both meet the same conditions at the
# same time, both can poll at once, and each server's time is its program's. First MINUTES windows of 60 s idle after
# start, then "цикл" in both and MINUTES windows of 60 s polling at the real period (one poll a
# minute). Per window: the CPU time of each program's process and of its wineserver.
#   bench/cpu_minutes.sh MONITOR_PREFIX FLOOR_PREFIX     (MINUTES=7)
# Prints "idle I MONITOR_MS FLOOR_MS MONITOR_SERVER_MS FLOOR_SERVER_MS" per window, the same
# with "polling", and "polls MONITOR FLOOR", the polls each charger answered while measured.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bin="$root/build/win/bin"
minutes=${MINUTES:-7}
window_s=${WINDOW_SECONDS:-60}
export LC_ALL=C.UTF-8

if [ -z "${INSIDE_SIMULATORS:-}" ]; then
  [ $# -eq 2 ] || { echo "usage: cpu_minutes.sh MONITOR_PREFIX FLOOR_PREFIX" >&2; exit 2; }
  # One simulated charger per prefix, each on its prefix's COM1; the same reading every poll.
  exec env WINEPREFIX="$1" "$root/scripts/with-charger-sim" --fixed 1400300 -- \
    sh -c 'export MONITOR_SIM_LOG="$CHARGER_SIM_LOG"; exec "$@"' sh \
    env WINEPREFIX="$2" INSIDE_SIMULATORS=1 "$root/scripts/with-charger-sim" --fixed 1400300 -- \
    bash "$root/bench/cpu_minutes.sh" "$1" "$2"
fi
monitor_prefix=$1 floor_prefix=$2
floor_sim_log=$CHARGER_SIM_LOG

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  WINEPREFIX=$monitor_prefix timeout 30 wineserver -k 2>/dev/null || true
  WINEPREFIX=$floor_prefix timeout 30 wineserver -k 2>/dev/null || true
  rm -f "${display_files[@]}"
}
trap cleanup EXIT

display_files=()
start_display() {
  local file
  file=$(mktemp)
  display_files+=("$file")
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$file" </dev/null >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$file" ] && break; sleep 0.05; done
  [ -s "$file" ] || { echo "cpu_minutes: Xvfb did not start" >&2; exit 1; }
  echo ":$(head -n1 "$file")"
}
monitor_display=$(start_display)
floor_display=$(start_display)
declare -A display_of=([$monitor_prefix]=$monitor_display [$floor_prefix]=$floor_display)
# Each server comes up on its own display.
WINEPREFIX=$monitor_prefix timeout 30 wineserver -k 2>/dev/null || true
WINEPREFIX=$floor_prefix timeout 30 wineserver -k 2>/dev/null || true

drive() {
  local prefix=$1
  shift
  DISPLAY=${display_of[$prefix]} WINEPREFIX=$prefix WINE_RUN_TIMEOUT=60 "$root/scripts/wine-run" \
    "$bin/ui-driver.exe" "$@" >/dev/null
}

# The Linux process of a running Windows program: Wine names it after the program (15 bytes)
# and keeps its path as the first argument.
wine_pid() {
  local name=$1 found="" pid
  for pid in $(pgrep -x "${name:0:15}" || true); do
    [ "$(tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -n1)" = "$bin/$name" ] && found+="$pid "
  done
  [ "$(wc -w <<<"$found")" -eq 1 ] || { echo "cpu_minutes: expected one process $name, found: ${found:-none}" >&2; exit 1; }
  echo "${found% }"
}

# A prefix's wineserver works in a folder named after the prefix's device and inode.
server_pid() {
  local folder pid
  folder=$(stat -c '%d %i' "$1" | awk '{ printf "server-%x-%x", $1, $2 }')
  for pid in $(pgrep wineserver || true); do
    [ "$(basename "$(readlink "/proc/$pid/cwd" 2>/dev/null)")" = "$folder" ] && { echo "$pid"; return; }
  done
  echo "cpu_minutes: no wineserver for $1" >&2
  exit 1
}

# CPU time of a process so far in microseconds: its threads' run times (schedstat, in ns; the
# tick-based counters of stat are too coarse for an idle minute).
cpu_us() {
  local total=0 task
  [ -d "/proc/$1" ] || { echo "cpu_minutes: process $1 ended" >&2; exit 1; }
  for task in /proc/"$1"/task/*/schedstat; do
    read -r ns _ <"$task" 2>/dev/null && total=$((total + ns / 1000))
  done
  echo "$total"
}

DISPLAY=$monitor_display WINEPREFIX=$monitor_prefix WINE_RUN_TIMEOUT=3600 \
  "$root/scripts/wine-run" "$bin/vortane.exe" >/dev/null 2>&1 &
pids+=($!)
DISPLAY=$floor_display WINEPREFIX=$floor_prefix WINE_RUN_TIMEOUT=3600 \
  "$root/scripts/wine-run" "$bin/bare_monitor.exe" >/dev/null 2>&1 &
pids+=($!)
drive "$monitor_prefix" wait-window --timeout 60000
drive "$floor_prefix" wait-window --timeout 60000
sleep 3
watched=("$(wine_pid vortane.exe)" "$(wine_pid bare_monitor.exe)" "$(server_pid "$monitor_prefix")" "$(server_pid "$floor_prefix")")

measure() {
  local label=$1 before=() after=() i k
  for ((i = 1; i <= minutes; i++)); do
    before=()
    for pid in "${watched[@]}"; do before+=("$(cpu_us "$pid")"); done
    sleep "$window_s"
    after=()
    for pid in "${watched[@]}"; do after+=("$(cpu_us "$pid")"); done
    printf '%s %d' "$label" "$i"
    for k in 0 1 2 3; do printf ' %d.%03d' $(((after[k] - before[k]) / 1000)) $(((after[k] - before[k]) % 1000)); done
    echo
  done
}

measure idle
drive "$monitor_prefix" click цикл
drive "$floor_prefix" click цикл
sleep 2  # the first poll comes 10 ms after the click
polls() { tr -cd f <"$1" | wc -c; }
m0=$(polls "$MONITOR_SIM_LOG") f0=$(polls "$floor_sim_log")
measure polling
echo "polls $(($(polls "$MONITOR_SIM_LOG") - m0)) $(($(polls "$floor_sim_log") - f0))"
drive "$monitor_prefix" close || true
drive "$floor_prefix" close || true
