#!/usr/bin/env bash
# Measures the metrics endpoint on the real programs: a 1 s Continue run of
# the controller (--metrics-listen) against zrv02-sim --trace on a virtual
# display, first RUN_SECONDS (default 60) unscraped, then RUN_SECONDS with
# Prometheus scraping every second while hostile clients (bench/hostile-clients.py:
# garbage, stalled half requests, bursts of 200 connections) hammer the
# endpoint. Prints poll spacing and resident memory for both stretches, what
# Prometheus saw, then the cost of one scrape (client time and the
# controller's CPU time over 2000 scrapes). Needs a built build/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${ZRV_BUILD:-$root/build}
seconds=${RUN_SECONDS:-60}
source bench/virtual-display.sh metrics

# Free ports below 32768: the simulator's, the endpoint's and Prometheus's.
ports=($(free_ports 3))
sim_port=${ports[0]} metrics_port=${ports[1]} prom_port=${ports[2]}
start_traced_sim "$sim_port"
cd "$work"

"$build/shell/zrv02-controller" --metrics-listen "127.0.0.1:$metrics_port" 2>"$work/ctl.err" &
ctl_pid=$!
pids+=($ctl_pid)
source "$root/bench/controller-window.sh"
measure_alone unscraped

cat >prometheus.yml <<YML
global: {scrape_interval: 1s}
scrape_configs: [{job_name: zrv02, static_configs: [{targets: ['127.0.0.1:$metrics_port']}]}]
YML
prometheus --config.file=prometheus.yml --storage.tsdb.path=prom-data \
  --web.listen-address="127.0.0.1:$prom_port" >prometheus.log 2>&1 &
pids+=($!)
python3 "$root/bench/hostile-clients.py" "$metrics_port" "$seconds" >hostile.log &
hostile=$!
sleep "$seconds"
wait $hostile
m2=$(lines) r2=$(rss)
echo "scraped every 1 s, hostile clients ${seconds}s: $(spacing "$m1" "$m2"); RSS $r1 -> $r2 KiB"
cat hostile.log
query() {
  curl -s "http://127.0.0.1:$prom_port/api/v1/query" --data-urlencode "query=$1" |
    python3 -c 'import json,sys; r=json.load(sys.stdin)["data"]["result"]; print(r[0]["value"][1] if r else "none")'
}
echo "Prometheus: scrapes $(query "count_over_time(up{job=\"zrv02\"}[${seconds}s])")," \
  "failed $(query "count_over_time((up{job=\"zrv02\"} == 0)[${seconds}s:1s])")," \
  "mean scrape_duration_seconds $(query "avg_over_time(scrape_duration_seconds{job=\"zrv02\"}[${seconds}s])")"
sleep 12 # every held connection let go
echo "after the hostile clients: RSS $(rss) KiB"

c0=$(cpu_ticks)
python3 "$root/bench/scrape-cost.py" "$metrics_port" 2000
c1=$(cpu_ticks)
awk -v t=$((c1 - c0)) -v hz="$(getconf CLK_TCK)" \
  'BEGIN{printf "scrape, controller CPU: %.3f ms per scrape (2000 scrapes)\n", 1000 * t / hz / 2000}'
echo "RSS with the endpoint on, after all: $(rss) KiB"
