#!/usr/bin/env bash
# Installs the Debian packages Somatrix needs to build, test and run, skipping those present.
# Usage: scripts/install-deps.sh [--gui]   (--gui adds what running the windows under Xvfb needs)
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libgl1-mesa-dev
          libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev fonts-noto-cjk
          qt6-svg-dev ccache qt6-translations-l10n libedf-dev)
if [[ "${1:-}" == "--gui" ]]; then
    packages+=(xvfb xauth imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
