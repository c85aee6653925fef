# Sourced by the measurements of the real programs once the controller runs as
# $ctl_pid against the simulator tracing to $work/trace.log: its window, its
# memory and CPU time, and the clicks that start a 1 s Continue run.
wid=$(timeout 20 xdotool search --sync --onlyvisible --name "ZRV_02 Controller")
rss() { awk '/VmRSS/{print $2}' "/proc/$ctl_pid/status"; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$ctl_pid/stat"; }
click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; }
start_one_second_run() {
  click 448 26 # Check
  for _ in $(seq 50); do grep -q 'VER?' "$work/trace.log" && break; sleep 0.1; done
  sleep 1
  click 364 144 # Txt_Interval
  xdotool key --window "$wid" ctrl+a BackSpace 1
  click 494 268 # start
}
