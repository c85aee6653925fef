# Sourced by the measurements of the real programs once the controller runs as
# $ctl_pid against the simulator tracing to $work/trace.log: its window, its
# memory and CPU time, the clicks that start a 1 s Continue run, a stretch of
# it left alone, and the spacing of the polls between two lines of the trace;
# every wait for the window or on xdotool is bounded.
wid=$(timeout 20 xdotool search --sync --onlyvisible --name "ZRV_02 Controller") ||
  { echo "the controller showed no window within 20 s" >&2; exit 1; }
rss() { awk '/VmRSS/{print $2}' "/proc/$ctl_pid/status"; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$ctl_pid/stat"; }
click() { timeout 5 xdotool mousemove --window "$wid" "$1" "$2" click 1; }
start_one_second_run() {
  click 448 26 # Check
  for _ in $(seq 50); do grep -q 'VER?' "$work/trace.log" && break; sleep 0.1; done
  sleep 1
  click 364 144 # Txt_Interval
  timeout 5 xdotool key --window "$wid" ctrl+a BackSpace 1
  click 494 268 # start
}
lines() { wc -l <"$work/trace.log"; }
# Spacing of PURITY? between two line numbers of the trace ("HH:mm:ss.zzz #n PURITY?").
spacing() {
  sed -n "$1,$2p" "$work/trace.log" | awk '$3 == "PURITY?" {
       split($1, t, /[:.]/); ms = ((t[1] * 60 + t[2]) * 60 + t[3]) * 1000 + t[4]
       if (n++) { d = ms - last; sum += d; if (d < min || n == 2) min = d; if (d > max) max = d }
       else first = ms
       last = ms
     }
     END { printf "poll spacing over %d polls: mean %.1f ms, min %d, max %d, drift %d ms\n",
                  n, sum / (n - 1), min, max, (last - first) - (n - 1) * 1000 }'
}
# Starts the 1 s run and leaves it alone for $seconds after 5 s to settle;
# prints its poll spacing and memory after the label; m1 and r1 hold where it
# ended, for the next stretch.
measure_alone() {
  start_one_second_run
  sleep 5
  local m0 r0
  m0=$(lines) r0=$(rss)
  sleep "$seconds"
  m1=$(lines) r1=$(rss)
  echo "$1 ${seconds}s: $(spacing "$m0" "$m1"); RSS $r0 -> $r1 KiB"
}
