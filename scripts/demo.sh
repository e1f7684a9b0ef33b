#!/usr/bin/env bash
# Installs what is missing, builds, and starts Somatrix on simulated sensors (`somatrix --demo`).
# Without a display it runs the demo on a virtual display for a few seconds, measuring the ECG,
# and writes a picture of the window. Extra arguments go to somatrix (for example --sensors CE,C9).
# It builds only the program with its pictures and manual, not the tests and benchmarks
# (`scripts/demo.sh --print-targets` lists what it builds).
set -euo pipefail
cd "$(dirname "$0")/.."
demo_targets=(somatrix manual)
if [[ "${1:-}" == "--print-targets" ]]; then
    echo "${demo_targets[@]}"
    exit 0
fi
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    scripts/install-deps.sh
    scripts/build.sh build "${demo_targets[@]}"
    exec build/src/somatrix --demo "$@"
fi

echo "No display found: running the demo on a virtual display (xvfb-run) for a few seconds."
scripts/install-deps.sh --gui
scripts/build.sh build "${demo_targets[@]}"
shot="${TMPDIR:-/tmp}/somatrix-demo.png"
rm -f "$shot"
# Six seconds of ECG fill most of the plot's first page.
timeout 120 xvfb-run -a -s '-screen 0 1400x900x24' build/src/somatrix --demo --measure CE \
    --screenshot "$shot" --quit-after 6 "$@" >/dev/null 2>&1 || true
if [[ ! -s "$shot" ]]; then
    echo "The demo did not write its screenshot ($shot)." >&2
    exit 1
fi
echo "Screenshot of the measuring window: $shot"
