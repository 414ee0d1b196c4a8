#!/usr/bin/env bash
# Installs what building, running and testing Vela Keystride needs on Debian 12 (run as root).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

packages=(
    # building
    cmake ninja-build g++ clang libclang-rt-14-dev pkg-config python3
    libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
    # the window
    qt6-base-dev qt6-base-dev-tools libgl-dev
    # the class window's chart of speeds (Debian 12's Qt Charts needs Qt OpenGL's CMake files
    # without depending on them)
    qt6-charts-dev libqt6opengl6-dev
    # the busy animation
    libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
    # the marking typefaces
    fontforge python3-fontforge fonts-liberation2 fontconfig
    # the Debian package (cpack -G DEB) and the checks it has to pass
    dpkg-dev file binutils lintian desktop-file-utils
    # documents from word processors (either Writer converts; scripts/run.sh brings the one with
    # windows, and the window-less one must not replace it), and tools the tests compare with
    "libreoffice-writer-nogui|libreoffice-writer" pandoc unrtf poppler-utils
    # running the window without a screen, and looking at it as a window manager does
    xvfb xauth xdotool x11-utils
    # the class report opened in a real browser, and its screenshots
    chromium
)

installed() { # package
    [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

# An entry "a|b" is there when any of its alternatives is; else the first one is installed.
missing=()
for entry in "${packages[@]}"; do
    IFS='|' read -r -a alternatives <<<"$entry"
    present=no
    for p in "${alternatives[@]}"; do
        installed "$p" && present=yes
    done
    [ "$present" = yes ] || missing+=("${alternatives[0]}")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
