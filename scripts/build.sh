#!/usr/bin/env bash
# Configures and builds Somatrix into build/ (Release with debug info, warnings as errors).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSOMATRIX_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
