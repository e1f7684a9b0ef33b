#!/usr/bin/env bash
# The monitoring window at the full line rate, on a virtual display: `somatrix --demo` measures
# its fastest simulated sensor (the heart sound: 2000 samples a second, 40 frames of 55 bytes)
# and reports, over SECONDS of measuring, the whole process's CPU time per second of wall time
# beside the simulated sensors' own share, the paints per second of the live plot and the
# information panel, the delay from a receive event to the plot's next paint, and the longest
# stall of the event loop during the scan before it. Then the ECG (250 samples a second) is
# measured twice more, without and with a waveform recording into EDF+ (`--record-edf`), so the
# recording's own cost is the difference of the two CPU figures.
# Usage: bench/monitor_window_bench.sh [build folder] [seconds]   (default: build/, 30)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
seconds=${2:-30}
# The window closes this long after Start; the figures begin after two seconds of warm-up.
quit=$((seconds + 2))
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for sensors in B1 all; do
    echo "== measuring B1, simulated sensors on the bus: $sensors"
    xvfb-run -a -s '-screen 0 1400x900x24' "$build/src/somatrix" --demo --sensors "$sensors" \
        --measure B1 --stats --quit-after "$quit" 2>/dev/null
done
for record in "" --record-edf; do
    echo "== measuring CE ${record:-without a recording}"
    xvfb-run -a -s '-screen 0 1400x900x24' "$build/src/somatrix" --demo --sensors CE \
        --measure CE $record --stats --quit-after "$quit" 2>/dev/null
done
