#!/usr/bin/env bash
# Installs what is missing, builds everything, runs the fuzz targets briefly and the whole test
# suite. This is the command CI runs.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
scripts/fuzz.sh "${SOMATRIX_FUZZ_SECONDS:-10}"
export QT_QPA_PLATFORM=offscreen
# The end-to-end tests time real pseudo-terminals and child processes; one that loses that race
# is run again, up to three times in all, and a test that fails all three fails the run.
ctest --test-dir build --output-on-failure -j "$(nproc 2>/dev/null || echo 2)" --timeout 300 \
    --repeat until-pass:3
