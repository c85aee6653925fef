#!/usr/bin/env bash
# Installs what is missing, builds, starts the bundled instrument simulator on
# 127.0.0.1 and opens the controller on it. The controller runs in run/, whose
# address history files point at the simulator, so Check talks to it at once.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
port=${ZRV_SIM_PORT:-7777}

scripts/install-deps.sh
# Only what runs here; scripts/test.sh builds the tests and benchmarks. One
# line of progress; the compiler's own output goes to a file, shown when it fails.
echo "Building the controller, the simulator and the trend view in build/: five to ten" \
  "minutes on two cores the first time, seconds once built (output in build/run-build.log)."
mkdir -p build
: >build/run-build.log
progress() {
  local line done=0
  while IFS= read -r line; do
    printf '%s\n' "$line" >>build/run-build.log
    # Parallel jobs report out of order; the line only moves forward.
    if [[ $line =~ ^\[\ *([0-9]+)%\] ]] && ((BASH_REMATCH[1] > done)); then
      done=${BASH_REMATCH[1]}
      printf '\rBuilding: %3d %%' "$done"
    fi
  done
  printf '\rBuilding: done \n'
}
if ! scripts/build.sh programs 2>&1 | progress; then
  grep -E -A5 'error|Error' build/run-build.log | head -40 >&2
  echo "The build failed; all of its output is in build/run-build.log." >&2
  exit 1
fi

mkdir -p run
printf '127.0.0.1,,,,,,\r\n' > run/ZRV-02_IPAddressList.Log
printf '%s,,,,,,\r\n' "$port" > run/ZRV-02_PortList.Log

# A purity that drifts down through the default alarm level of 80 and back,
# so a Continue run shows the alarm blinking.
"$root/build/sim/zrv02-sim" --port "$port" --trace \
  --purity-list 99.5,95.2,88.7,82.1,79.4,76.0,81.3,90.8,99.1 > run/zrv02-sim.log 2>&1 &
sim=$!
xvfb=
trap 'kill $sim $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  grep -q listening run/zrv02-sim.log && break
  if ! kill -0 $sim 2>/dev/null; then
    cat run/zrv02-sim.log
    if grep -q "cannot listen" run/zrv02-sim.log; then
      echo "Port $port is taken (another copy running?): choose another with ZRV_SIM_PORT," \
        "for example: ZRV_SIM_PORT=$((port + 1)) bash scripts/run.sh" >&2
    fi
    exit 1
  fi
  sleep 0.1
done
echo "Simulator on 127.0.0.1:$port (trace: run/zrv02-sim.log). Press Check in the window."

# The trend view follows the controller's default log: Dir1 starts in run/ and
# the file name is zrv-02.log, so a Continue run shows in both windows.
cd run
both='"$1" zrv-02.log -geometry 960x600+640+0 & trend=$!; "$2"; kill $trend 2>/dev/null || true'
windows=(bash -c "$both" both "$root/build/trend/zrv02-trend" "$root/build/shell/zrv02-controller")
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  # A virtual X server whose number it picks itself and tells through the pipe.
  exec 5> >(cat >xvfb-display)
  Xvfb -displayfd 5 -screen 0 1600x900x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  exec 5>&-
  for _ in $(seq 100); do [[ -s xvfb-display ]] && break; sleep 0.1; done
  [[ -s xvfb-display ]] || { echo "The virtual X server (Xvfb) did not start." >&2; exit 1; }
  export DISPLAY=:$(cat xvfb-display)
  cat <<EOT
No display found: the windows open on the virtual X display $DISPLAY (Xvfb,
1600x900), which shows nothing by itself. To look at it, from another terminal:
  x11vnc -display $DISPLAY -localhost -rfbport 25900 -forever -nopw
and a VNC viewer on 127.0.0.1::25900 (from another machine through
ssh -L 25900:127.0.0.1:25900 this-machine), or take a screenshot with
Debian's imagemagick:  import -display $DISPLAY -window root shot.png
Ctrl+C here ends both windows and the simulator.
EOT
fi
"${windows[@]}"
