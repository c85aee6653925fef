#!/usr/bin/env bash
# Configures and builds out of tree in build/ (the dev preset: warnings are errors):
# everything, or only the targets named as arguments.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset dev >/dev/null
cmake --build --preset dev ${1:+--target "$@"}
