#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) into build-fuzz/ and runs each one
# for a few seconds on its seed corpus. Usage: scripts/fuzz.sh [seconds per target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
targets=()
for source in fuzz/*_fuzz.cpp; do
    [[ -e "$source" ]] && targets+=("$(basename "$source" .cpp)")
done
if [[ ${#targets[@]} -eq 0 ]]; then
    echo "No fuzz targets"
    exit 0
fi
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DSOMATRIX_BUILD_FUZZ=ON -DSOMATRIX_BUILD_TESTS=OFF -DSOMATRIX_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}"
for name in "${targets[@]}"; do
    corpus=fuzz/corpus/${name%_fuzz}
    work=$(mktemp -d)
    [[ -d "$corpus" ]] && cp -r "$corpus"/. "$work"/
    echo "Fuzzing $name for ${seconds}s"
    # libFuzzer exits non-zero on a crash, a leak or a sanitizer report; that fails the run.
    "build-fuzz/fuzz/$name" -max_total_time="$seconds" -print_final_stats=1 "$work" 2>&1 | tail -n 12
    rm -rf "$work"
done
