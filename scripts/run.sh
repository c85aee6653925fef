#!/usr/bin/env bash
# Installs what is missing, builds, starts the bundled instrument simulator on
# 127.0.0.1 and opens the controller on it. The controller runs in run/, whose
# address history files point at the simulator, so Check talks to it at once.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
port=${ZRV_SIM_PORT:-7777}

scripts/install-deps.sh
# Only what runs here; scripts/test.sh builds the tests and benchmarks.
scripts/build.sh zrv02-controller zrv02-sim zrv02-trend

mkdir -p run
printf '127.0.0.1,,,,,,\r\n' > run/ZRV-02_IPAddressList.Log
printf '%s,,,,,,\r\n' "$port" > run/ZRV-02_PortList.Log

# A purity that drifts down through the default alarm level of 80 and back,
# so a Continue run shows the alarm blinking.
"$root/build/sim/zrv02-sim" --port "$port" --trace \
  --purity-list 99.5,95.2,88.7,82.1,79.4,76.0,81.3,90.8,99.1 > run/zrv02-sim.log 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
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
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  "${windows[@]}"
else
  echo "No display found: running on a virtual X server (xvfb-run)."
  xvfb-run -a -s "-screen 0 1600x900x24" "${windows[@]}"
fi
