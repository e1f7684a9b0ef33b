#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) into build-fuzz/ and runs each one
# for a few seconds on its seed corpus. Usage: scripts/fuzz.sh [seconds per target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DSOMATRIX_BUILD_FUZZ=ON -DSOMATRIX_BUILD_TESTS=OFF -DSOMATRIX_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc 2>/dev/null || echo 2)"
for target in build-fuzz/fuzz/*_fuzz; do
    name=$(basename "$target")
    corpus=fuzz/corpus/${name%_fuzz}
    work=$(mktemp -d)
    [[ -d "$corpus" ]] && cp -r "$corpus"/. "$work"/
    echo "Fuzzing $name for ${seconds}s"
    "$target" -max_total_time="$seconds" -print_final_stats=0 "$work" 2>&1 | tail -n 3
    rm -rf "$work"
done
