#!/bin/bash
# How much of a core the trend view takes while it follows a long log: writes
# a log of N one-second records (default 8 M, about three months), opens it in
# the window on a virtual X server, waits until it has read and drawn it (its
# CPU time stands still), appends the next minute one record a second, with
# purity as scripts/run.sh's simulator gives it (cycling from 99.5 down below
# the alarm level and back, so the lines, the shading and the readout change),
# and reads the process's CPU time from /proc. Run from the repository
# root after a build:  bash bench/trend/measure-follow.sh [N]
# (ZRV_BUILD names another build folder; the machine's load is printed beside
# the figure, since a shared machine stretches it).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${ZRV_BUILD:-$root/build}

if [[ "${1:-}" == --inside ]]; then # on the virtual X server
  log=$2 next=$3
  "$build/trend/zrv02-trend" --no-notify "$log" &
  pid=$!
  ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
  before=-1
  for _ in $(seq 120); do # read and drawn: at most two minutes
    sleep 2
    now=$(ticks)
    ((now - before < 5)) && break
    before=$now
  done
  ticks0=$(ticks)
  while IFS= read -r line; do
    printf '%s\n' "$line" >>"$log"
    sleep 1
  done <"$next"
  ticks1=$(ticks)
  echo "CPU while following, one record a second: $(((ticks1 - ticks0) * 10000 / $(getconf CLK_TCK) / 60)) hundredths of a percent of a core; $(grep VmRSS "/proc/$pid/status"); load average $(cut -d' ' -f1-3 /proc/loadavg)"
  kill "$pid"
  exit 0
fi

records=${1:-8000000}
all=$(mktemp) log=$(mktemp --suffix=.log) next=$(mktemp)
trap 'rm -f "$all" "$log" "$next"' EXIT
"$build/bench/trend/trend_bench" --write-log "$all" $((records + 60))
head -n "$records" "$all" >"$log"
tail -n 60 "$all" | awk 'BEGIN { n = split("99.5 95.2 88.7 82.1 79.4 76.0 81.3 90.8 99.1", p, " ") }
  { print $1, $2, p[(NR - 1) % n + 1], "24.51 %&DEG\r" }' >"$next"
echo "$records records, $(du -h "$log" | cut -f1)"
xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" --inside "$log" "$next"
