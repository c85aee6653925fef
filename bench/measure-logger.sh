#!/usr/bin/env bash
# Measures zrv02-logger beside the controller window: both record the same
# zrv02-sim on 127.0.0.1 at interval 1 s for RUN_SECONDS (default 600), the
# window on a virtual display driven with xdotool, the logger with no display.
# Prints for each the CPU time used over the run (and per record), resident
# memory at its start and end and at its peak, the records each logged, and
# the machine's load over the run. Needs a built build/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${ZRV_BUILD:-$root/build}
seconds=${RUN_SECONDS:-600}
source bench/virtual-display.sh logger

# The simulator on a free port below 32768; its trace shows the window's Check.
port=$(free_ports 1)
start_traced_sim "$port"
cd "$work"

# The window, logging to zrv-02.log here.
"$build/shell/zrv02-controller" >/dev/null 2>&1 &
ctl_pid=$!
pids+=("$ctl_pid")
source "$root/bench/controller-window.sh"
sleep 2
start_one_second_run

# The logger in a working folder of its own, as its unit gives it one.
mkdir "$work/logger"
(cd "$work/logger" && exec "$build/logger/zrv02-logger" --host 127.0.0.1 --port "$port" \
  --interval 1 --log "$work/logger/zrv-02.log" 2>"$work/logger/stderr") &
logger_pid=$!
pids+=("$logger_pid")

records() { { cat "$1" 2>/dev/null || true; } | grep -c 'DEG' || true; }
for _ in $(seq 100); do
  (($(records zrv-02.log) > 0 && $(records logger/zrv-02.log) > 0)) && break
  sleep 0.1
done
(($(records zrv-02.log) > 0)) || { echo "the window records nothing" >&2; exit 1; }
(($(records logger/zrv-02.log) > 0)) || { echo "the logger records nothing:" >&2; cat logger/stderr >&2; exit 1; }
sleep 5 # past the first records

status_kib() { awk -v key="$2:" '$1 == key {print $2}' "/proc/$1/status"; }
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
declare -A rss0 ticks0 records0
for who in window logger; do
  pid=$ctl_pid log=zrv-02.log
  [[ $who == logger ]] && pid=$logger_pid log=logger/zrv-02.log
  rss0[$who]=$(status_kib "$pid" VmRSS) ticks0[$who]=$(ticks "$pid") records0[$who]=$(records $log)
done
# The machine's load, sampled each 10 s (the 1 min figure), and at the ends.
load_start=$(cut -d' ' -f1-3 /proc/loadavg)
loads=()
for ((left = seconds; left > 0; left -= 10)); do
  sleep $((left < 10 ? left : 10))
  loads+=("$(cut -d' ' -f1 /proc/loadavg)")
done
load_end=$(cut -d' ' -f1-3 /proc/loadavg)

hz=$(getconf CLK_TCK)
for who in window logger; do
  pid=$ctl_pid log=zrv-02.log
  [[ $who == logger ]] && pid=$logger_pid log=logger/zrv-02.log
  kill -0 "$pid" 2>/dev/null || { echo "the $who ended during the run" >&2; exit 1; }
  used=$(($(ticks "$pid") - ticks0[$who]))
  logged=$(($(records $log) - records0[$who]))
  awk -v who="$who" -v t="$used" -v hz="$hz" -v s="$seconds" -v n="$logged" \
    -v r0="${rss0[$who]}" -v r1="$(status_kib "$pid" VmRSS)" -v peak="$(status_kib "$pid" VmHWM)" 'BEGIN {
      printf "%s: %d records in %d s; CPU %.2f s (%.3f %%, %.2f ms per record); RSS %d KiB at start, %d KiB at end (%+d KiB), peak %d KiB\n",
        who, n, s, t / hz, 100 * t / hz / s, n ? 1000 * t / hz / n : 0, r0, r1, r1 - r0, peak
    }'
done
printf '%s\n' "${loads[@]}" | awk -v cores="$(nproc)" -v a="$load_start" -v b="$load_end" '
  {sum += $1; if ($1 > max) max = $1; if (NR == 1 || $1 < min) min = $1}
  END {printf "machine load (1 min average, %d cores): %s at start, %s at end; sampled each 10 s: mean %.2f, min %.2f, max %.2f\n",
       cores, a, b, sum / NR, min, max}'
