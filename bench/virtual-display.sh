# Sourced by the measurements of the real programs, with a name for the work
# folder: a fresh work folder, the processes in `pids` ended on exit, a
# virtual display whose number Xvfb picks itself and writes to the pipe, and
# free_ports N, which prints N free ports below 32768.
work=$(mktemp -d "/tmp/zrv02-$1-XXXXXX")
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

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
