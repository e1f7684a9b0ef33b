#!/usr/bin/env bash
# Installs what is missing, builds, and replays the shipped sample raw log through the receive
# path: prints the parsed log the program writes for it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
out=$(mktemp --suffix=.csv)
build/src/somatrix-cli replay tests/data/sample_pulse_raw.txt --select CA --parsed "$out"
echo "Parsed log of tests/data/sample_pulse_raw.txt (pulse sensor):"
head -n 20 "$out"
echo "... $(wc -l < "$out") lines in all"
rm -f "$out"
