#!/usr/bin/env bash
# The monitoring window at the full line rate, on a virtual display: `somatrix --stats` measures
# the fastest sensor (the heart sound: 2000 samples a second, 40 frames of 55 bytes) and reports,
# over SECONDS of measuring, the whole process's CPU time per second of wall time beside the
# simulated sensors' own share, the paints per second of the live plot and the information
# panel, the delay from a receive event to the end of the plot's next paint, and the longest
# stall of the event loop during the scan before it. Three runs: the in-process simulated port
# with one sensor and with all fourteen on the bus, and a real serial port (a pseudo-terminal
# served by somatrix-sim), which the window reads through the same serial code as a sensor.
# Then the ECG (250 samples a second) is measured twice more on the simulated port, without and
# with a waveform recording into EDF+ (`--record-edf`): the recording's own cost is the
# difference of the two CPU figures.
# Usage: bench/monitor_window_bench.sh [build folder] [seconds]   (default: build/, 30)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
seconds=${2:-30}
# The window closes this long after Start; the figures begin after two seconds of warm-up.
quit=$((seconds + 2))
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for sensors in B1 all; do
    echo "== measuring B1 on the simulated port, sensors on the bus: $sensors"
    xvfb-run -a -s '-screen 0 1400x900x24' "$build/src/somatrix" --demo --sensors "$sensors" \
        --measure B1 --stats --quit-after "$quit" 2>/dev/null
done

echo "== measuring B1 on a serial port (pseudo-terminal served by somatrix-sim)"
link=$(mktemp -u "${TMPDIR:-/tmp}/somatrix-bench-port.XXXXXX")
"$build/sim/somatrix-sim" --sensors B1 --link "$link" >/dev/null &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; rm -f "$link"' EXIT
for _ in $(seq 50); do [[ -e "$link" ]] && break; sleep 0.1; done
SOMATRIX_PORTS="$link" xvfb-run -a -s '-screen 0 1400x900x24' "$build/src/somatrix" \
    --measure B1 --stats --quit-after "$quit" 2>/dev/null

for record in "" --record-edf; do
    echo "== measuring CE ${record:-without a recording}"
    xvfb-run -a -s '-screen 0 1400x900x24' "$build/src/somatrix" --demo --sensors CE \
        --measure CE $record --stats --quit-after "$quit" 2>/dev/null
done
