#!/usr/bin/env bash
# zrv02-trend --stats against Debian's datamash over the CSV export of the
# same stretch: count, first and last time, and the count, min, mean, max and
# sample standard deviation (sstdev) of each value, datamash reading only the
# value texts that are numbers. Usage: stats-vs-datamash.sh ZRV02_TREND
set -euo pipefail
trend=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TZ=UTC0

# A day of one-minute records: purity dipping below 80 and back, no records
# from 08:00 to 09:00, cut replies, empty temperatures and e-mail alarms.
awk 'BEGIN {
  for (m = 0; m < 1440; m++) {
    if (m >= 480 && m < 540) continue
    t = sprintf("2026/12/07 %02d:%02d:00", m / 60, m % 60)
    p = m % 97 ? sprintf("%.1f", 88 + 10 * sin(m / 100)) : "Illegal Comman"
    c = m % 89 ? sprintf("%.2f", 24 + 2 * cos(m / 77)) : ""
    if (m % 101 == 0) print t " E-MAIL ALARM\r"
    print t " " p " " c " %&DEG\r"
  } }' >"$work/day.log"
range=(--from "2026/12/07 03:00:00" --to "2026/12/07 20:30:00")
"$trend" "$work/day.log" "${range[@]}" --stats >"$work/stats" 2>/dev/null
"$trend" "$work/day.log" "${range[@]}" --export-csv "$work/day.csv" 2>/dev/null
grep ',measurement,' "$work/day.csv" >"$work/rows"

named() { paste -d= <(printf '%s\n' "$@") <(tr '\t' '\n'); }
{
  datamash -t, first 1 last 1 count 1 <"$work/rows" | tr , '\t' | named first last records
  for column in purity:3 temperature:4; do
    name=${column%:*}
    cut -d, -f"${column#*:}" "$work/rows" | grep -E '^-?[0-9]+(\.[0-9]+)?$' |
      datamash count 1 min 1 mean 1 max 1 sstdev 1 |
      named "${name}_values" "${name}_min" "${name}_mean" "${name}_max" "${name}_sample_sd"
  done
} >"$work/datamash"

awk -F= 'NR == FNR { ours[$1] = $2; next }
  {
    number = "^-?[0-9]+([.][0-9]+)?$"
    same = ours[$1] == $2 ||
           (ours[$1] ~ number && $2 ~ number && (ours[$1] - $2) ^ 2 < 1e-12 * (1 + $2 ^ 2))
    printf "%-22s %-26s %-26s %s\n", $1, ours[$1], $2, same ? "same" : "DIFFERENT"
    if (!same) failed = 1
  }
  END { exit failed }' "$work/stats" "$work/datamash"
