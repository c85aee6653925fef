#!/usr/bin/env bash
# Builds the whole tree with clang-14, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ and runs every test; any warning
# or sanitizer report fails the run. With the g++ build of scripts/build.sh,
# this is what keeps the tree building warning-free under both compilers.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset asan >/dev/null
cmake --build build-asan -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
ctest --test-dir build-asan --output-on-failure -j"$(nproc)" --timeout 600
