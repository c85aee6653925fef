# Sourced by the measurements of the real programs, with a name for the work
# folder: a fresh work folder, the processes in `pids` ended on exit, and a
# virtual display whose number Xvfb picks itself and writes to the pipe.
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
