#!/usr/bin/env bash
# Builds the libFuzzer targets with clang-14 in build-fuzz/ and runs each for
# ZRV_FUZZ_SECONDS (default 60) from the seed corpus in fuzz/corpus/. A crash
# or a broken invariant fails the run and leaves the input in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${ZRV_FUZZ_SECONDS:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
for target in reply_stream history_file trend_log; do
  work="$root/build-fuzz/runs/$target"
  mkdir -p "$work/corpus"
  echo "fuzzing $target for ${seconds}s"
  "$root/build-fuzz/fuzz/${target}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$work/" "$work/corpus" "$root/fuzz/corpus/$target" >"$work/run.log" 2>&1 ||
    { tail -n 40 "$work/run.log"; exit 1; }
  grep -E '^#[0-9]+.*(DONE|pulse)|stat::number_of_executed_units' "$work/run.log" | tail -n 2
done
