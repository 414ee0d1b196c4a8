#!/usr/bin/env bash
# Installs what building, running and testing Vela Keystride needs on Debian 12 (run as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

packages=(
    # building
    cmake ninja-build g++ clang libclang-rt-14-dev pkg-config python3
    libgtest-dev libgmock-dev libbenchmark-dev
    # the window
    qt6-base-dev qt6-base-dev-tools libgl-dev
    # the busy animation
    libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
    # the marking typefaces
    fontforge python3-fontforge fonts-liberation2 fontconfig dpkg-dev
    # documents from word processors, and tools the tests compare with
    libreoffice-writer-nogui pandoc unrtf poppler-utils
    # running the window without a screen
    xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
