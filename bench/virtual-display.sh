# Sourced by the measurements of the real programs, with a name for the work
# folder: a fresh work folder, the processes in `pids` ended on exit, a
# virtual display whose number Xvfb picks itself and writes to the pipe,
# free_ports N, which prints N free ports below 32768, and start_traced_sim
# PORT, which starts zrv02-sim --trace there (its trace in $work/trace.log)
# and writes history files in $work that point the controller at it.
work=$(mktemp -d "/tmp/zrv02-$1-XXXXXX")
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT
# Ends a program started here: 5 s to end by itself after SIGTERM, then SIGKILL,
# so no wait for it is longer than that.
stop_program() {
  kill "$1" 2>/dev/null || true
  for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

exec 5> >(cat >"$work/display")
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
exec 5>&-
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(cat "$work/display")

free_ports() {
  python3 -c '
import random, socket, sys
got = []
while len(got) < int(sys.argv[1]):
    p = random.randint(20000, 32767)
    try:
        socket.create_server(("127.0.0.1", p)).close(); got.append(p)
    except OSError: pass
print(*got)' "$1"
}

start_traced_sim() {
  "$build/sim/zrv02-sim" --port "$1" --trace --firmware 1.10 >"$work/trace.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 30); do grep -q listening "$work/trace.log" && break; sleep 0.1; done
  printf '127.0.0.1,,,,,,\r\n' >"$work/ZRV-02_IPAddressList.Log"
  printf '%s,,,,,,\r\n' "$1" >"$work/ZRV-02_PortList.Log"
}
