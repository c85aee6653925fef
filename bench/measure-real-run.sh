#!/usr/bin/env bash
# Measures the real programs on a virtual display: start-up of the controller
# against a bare Qt Widgets window, then a 1 s Continue run of RUN_SECONDS
# (default 60) against zrv02-sim --trace on 127.0.0.1, driven with xdotool.
# Prints poll spacing (mean, min, max, drift) from the trace, resident memory
# at start and end, and CPU use idle and running. Needs a built build/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${ZRV_BUILD:-$root/build}
seconds=${RUN_SECONDS:-60}
source bench/virtual-display.sh measure

# The simulator on a free port below 32768.
port=$(free_ports 1)
start_traced_sim "$port"
cd "$work"

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# Milliseconds from exec to the window being mapped, polled every 10 ms
# (xdotool's own --sync waits in steps of half a second), and the CPU time
# all the program's threads had used by then, which a busy machine stretches
# far less than the wall time. A window not shown within 20 s fails the run
# (xdotool search without --sync answers at once; the loop bounds the wait).
cpu_ms() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ns += $1} END {printf "%.1f", ns / 1e6}'; }
startup_ms() {
  local name=$1 t0 p shown=
  shift
  t0=$(now_ms)
  "$@" >/dev/null 2>&1 &
  p=$!
  while (($(now_ms) - t0 < 20000)); do
    xdotool search --onlyvisible --name "$name" >/dev/null 2>&1 && shown=1 && break
    sleep 0.01
  done
  [[ -n $shown ]] && echo "$(($(now_ms) - t0)) $(cpu_ms $p)"
  stop_program $p
  [[ -n $shown ]] || { echo "$name: no window within 20 s" >&2; return 1; }
}
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
# The two programs take turns, so a burst of other work on the machine falls
# on both alike; STARTUP_RUNS (default 11) starts of each, median.
bare_times=() ctl_times=()
for _ in $(seq "${STARTUP_RUNS:-11}"); do
  bare=$(startup_ms "bare window" "$build/bench/bare_window") || exit 1
  ctl=$(startup_ms "ZRV_02 Controller" "$build/shell/zrv02-controller") || exit 1
  bare_times+=("$bare") ctl_times+=("$ctl")
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", a/b}'; }
bare=$(printf '%s\n' "${bare_times[@]}" | cut -d' ' -f1 | median)
ctl=$(printf '%s\n' "${ctl_times[@]}" | cut -d' ' -f1 | median)
bare_cpu=$(printf '%s\n' "${bare_times[@]}" | cut -d' ' -f2 | median)
ctl_cpu=$(printf '%s\n' "${ctl_times[@]}" | cut -d' ' -f2 | median)
echo "start-up to a shown window (median of ${#ctl_times[@]}, taking turns): controller $ctl ms," \
  "bare Qt window $bare ms, ratio $(ratio "$ctl" "$bare"); CPU time by then: controller" \
  "$ctl_cpu ms, bare Qt window $bare_cpu ms, ratio $(ratio "$ctl_cpu" "$bare_cpu")"

"$build/shell/zrv02-controller" >/dev/null 2>&1 &
ctl_pid=$!
pids+=($ctl_pid)
source "$root/bench/controller-window.sh"
cpu_percent() { # ticks over seconds
  awk -v t="$1" -v s="$2" -v hz="$(getconf CLK_TCK)" 'BEGIN{printf "%.2f", 100 * t / hz / s}'
}
sleep 2
rss_idle=$(rss)
c0=$(cpu_ticks); sleep 10; c1=$(cpu_ticks)
echo "idle: RSS $((rss_idle / 1024)) MB ($rss_idle KiB), CPU $(cpu_percent $((c1 - c0)) 10) %"

start_one_second_run
rss_start=$(rss)
c0=$(cpu_ticks); sleep "$seconds"; c1=$(cpu_ticks)
rss_end=$(rss)
echo "running: RSS $rss_start KiB at start, $rss_end KiB after ${seconds}s" \
  "($(((rss_end - rss_start))) KiB), CPU $(cpu_percent $((c1 - c0)) "$seconds") %"

# Spacing of PURITY? in the trace ("HH:mm:ss.zzz #n PURITY?").
awk '$3 == "PURITY?" {
       split($1, t, /[:.]/); ms = ((t[1] * 60 + t[2]) * 60 + t[3]) * 1000 + t[4]
       if (n++) { d = ms - last; sum += d; if (d < min || n == 2) min = d; if (d > max) max = d }
       else first = ms
       last = ms
     }
     END {
       if (n < 2) { print "poll spacing: fewer than two polls in the trace"; exit 1 }
       printf "poll spacing over %d polls: mean %.1f ms, min %d, max %d, drift %d ms over %.0f s\n",
              n, sum / (n - 1), min, max, (last - first) - (n - 1) * 1000, (last - first) / 1000
     }' "$work/trace.log"
