# Sourced by the measurements of the real programs once the controller runs as
# $ctl_pid against the simulator tracing to $work/trace.log: its window, its
# memory and CPU time, and the clicks that start a 1 s Continue run; every wait
# for the window or on xdotool is bounded.
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
