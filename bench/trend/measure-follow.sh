#!/bin/bash
# How much of a core the trend view takes while it follows a long log: writes
# a log of N one-second records (default 8 M, about three months), opens it in
# the window on a virtual X server, appends the next minute of the same
# records one a second and reads the process's CPU time from /proc. Run from the repository root
# after a build:  bash bench/trend/measure-follow.sh [N]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)

if [[ "${1:-}" == --inside ]]; then # on the virtual X server
  log=$2 next=$3
  "$root/build/trend/zrv02-trend" --no-notify "$log" &
  pid=$!
  sleep 15 # read and drawn
  ticks0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  while IFS= read -r line; do
    printf '%s\n' "$line" >>"$log"
    sleep 1
  done <"$next"
  ticks1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  echo "CPU while following, one record a second: $(((ticks1 - ticks0) * 10000 / $(getconf CLK_TCK) / 60)) hundredths of a percent of a core; $(grep VmRSS "/proc/$pid/status")"
  kill "$pid"
  exit 0
fi

records=${1:-8000000}
all=$(mktemp) log=$(mktemp --suffix=.log) next=$(mktemp)
trap 'rm -f "$all" "$log" "$next"' EXIT
"$root/build/bench/trend/trend_bench" --write-log "$all" $((records + 60))
head -n "$records" "$all" >"$log"
tail -n 60 "$all" >"$next"
echo "$records records, $(du -h "$log" | cut -f1)"
xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" --inside "$log" "$next"
