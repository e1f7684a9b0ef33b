#!/usr/bin/env bash
# Configures and builds Somatrix (Release with debug info, warnings as errors).
# Usage: scripts/build.sh [build folder [target...]]   (default: build/, everything)
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
targets=("${@:2}")
jobs=$(nproc 2>/dev/null || echo 2)
launcher=()
if command -v ccache >/dev/null 2>&1; then
    # Several checkouts side by side share one cache.
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(cd .. && pwd)} CCACHE_NOHASHDIR=1
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSOMATRIX_WERROR=ON \
    "${launcher[@]}" >/dev/null
if [[ ${#targets[@]} -gt 0 ]]; then
    cmake --build "$dir" -j "$jobs" --target "${targets[@]}"
else
    cmake --build "$dir" -j "$jobs"
fi
