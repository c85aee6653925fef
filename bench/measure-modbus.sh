#!/usr/bin/env bash
# Measures the Modbus registers on the real programs: a 1 s Continue run of
# the controller (--modbus-listen) against zrv02-sim --trace on a virtual
# display, first RUN_SECONDS (default 60) unread, then RUN_SECONDS with a PLC
# reading the registers every second while hostile clients
# (bench/hostile-clients.py PORT SECONDS modbus: garbage, stalled half frames,
# bursts of 200 connections, a client that never reads its answers, one that
# asks as fast as it can) hammer the endpoint. Prints poll spacing and
# resident memory for both stretches, what the PLC got, then the cost of one
# read (client time and the controller's CPU time over 2000 reads on one
# connection) and what mbpoll reads; first the idle memory of the controller
# without the endpoint and with it. Needs a built build/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${ZRV_BUILD:-$root/build}
seconds=${RUN_SECONDS:-60}
source bench/virtual-display.sh modbus

read -r sim_port modbus_port < <(free_ports 2)
start_traced_sim "$sim_port"
cd "$work"

# Resident memory idle, 5 s after the start, without the endpoint and with it.
idle_rss() {
  "$build/shell/zrv02-controller" "$@" 2>"$work/ctl.err" &
  local p=$!
  sleep 5
  awk '/VmRSS/{print $2}' "/proc/$p/status"
  kill $p
  wait $p || true
}
echo "idle: RSS $(idle_rss) KiB without the endpoint," \
  "$(idle_rss --modbus-listen "127.0.0.1:$modbus_port") KiB with it"

"$build/shell/zrv02-controller" --modbus-listen "127.0.0.1:$modbus_port" 2>"$work/ctl.err" &
ctl_pid=$!
pids+=("$ctl_pid")
source "$root/bench/controller-window.sh"
measure_alone unread

python3 "$root/bench/modbus-client.py" poll "$modbus_port" "$seconds" >plc.log &
plc=$!
python3 "$root/bench/hostile-clients.py" "$modbus_port" "$seconds" modbus >hostile.log &
hostile=$!
wait $hostile $plc
m2=$(lines) r2=$(rss)
echo "read every 1 s, hostile clients ${seconds}s: $(spacing "$m1" "$m2"); RSS $r1 -> $r2 KiB"
cat plc.log hostile.log
sleep 62 # every connection held let go (60 s without a request answered)
echo "after the hostile clients: RSS $(rss) KiB"

c0=$(cpu_ticks)
python3 "$root/bench/modbus-client.py" cost "$modbus_port" 2000
c1=$(cpu_ticks)
awk -v t=$((c1 - c0)) -v hz="$(getconf CLK_TCK)" \
  'BEGIN{printf "read, controller CPU: %.3f ms per read (2000 reads)\n", 1000 * t / hz / 2000}'
echo "RSS with the endpoint on, after all: $(rss) KiB"
echo "mbpoll -t 3 -c 15: $(mbpoll -m tcp -a 1 -r 1 -c 15 -t 3 -1 -p "$modbus_port" 127.0.0.1 |
  sed -n 's/^\[[0-9]*\]:\s*//p' | tr '\n' ' ')"
tail -1 "$work/zrv-02.log"
