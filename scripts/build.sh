#!/usr/bin/env bash
# Configures and builds out of tree in build/ (the dev preset: warnings are errors).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset dev >/dev/null
cmake --build --preset dev
