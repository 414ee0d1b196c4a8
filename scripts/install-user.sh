#!/usr/bin/env bash
# Installs Vela Keystride for the current user below ~/.local, without root:
#   ~/.local/bin/keystride, keystride-mark, keystride-doc, Docx2Rtf
#   ~/.local/share/vela-keystride/        Settings, help documents, cdverify.avi, fonts/
#   ~/.local/share/fonts/vela-keystride/  the five marking typefaces, for fontconfig
#   ~/.local/share/applications/vela-keystride.desktop and its icon
# Usage: scripts/install-user.sh [BUILD_DIR]   (default: build; configured and built already)
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build}
prefix=$HOME/.local
fonts=$prefix/share/fonts/vela-keystride
marking_fonts=(Cour1.ttf CourRaam.ttf Cour2.ttf Cour3.ttf cournuut.ttf)

die() {
    echo "install-user: $*" >&2
    exit 1
}

[ -f "$build/CMakeCache.txt" ] ||
    die "$build is not a configured build folder; configure and build first (see README.md)"

# Brings the build up to date; a finished build does nothing here.
cmake --build "$build" -j2
cmake --install "$build" --prefix "$prefix"

# The install put a copy of the fonts in share/fonts/truetype/vela-keystride, the place for a
# system-wide install. For one user they live one level below ~/.local/share/fonts, where the
# program's start-up check looks; a second copy would only list every face twice.
rm -rf "$prefix/share/fonts/truetype/vela-keystride"
rmdir "$prefix/share/fonts/truetype" 2>/dev/null || true

if [ -f "$build/fonts/Cour1.ttf" ]; then
    mkdir -p "$fonts"
    for font in "${marking_fonts[@]}" OFL.txt; do
        install -m 644 "$build/fonts/$font" "$fonts/$font"
    done
    if command -v fc-cache >/dev/null; then
        fc-cache -f "$fonts"
    else
        echo "install-user: fc-cache (package fontconfig) is missing; log in again to see the fonts" >&2
    fi
else
    echo "install-user: the marking typefaces were not built (python3-fontforge and" \
        "fonts-liberation2 are needed); errors will be marked in colour" >&2
fi

# The desktop entry names the program by its full path, since ~/.local/bin need not be on PATH.
desktop=$prefix/share/applications/vela-keystride.desktop
if [ -f "$desktop" ] && [ -x "$prefix/bin/keystride" ]; then
    sed -i "s|^Exec=.*|Exec=$prefix/bin/keystride|" "$desktop"
fi
if command -v update-desktop-database >/dev/null; then
    update-desktop-database -q "$prefix/share/applications" || true
fi
if command -v gtk-update-icon-cache >/dev/null && [ -f "$prefix/share/icons/hicolor/index.theme" ]; then
    gtk-update-icon-cache -q "$prefix/share/icons/hicolor" || true
fi

echo "Vela Keystride installed below $prefix."
if [ -x "$prefix/bin/keystride" ]; then
    case ":$PATH:" in
    *":$prefix/bin:"*) echo "Start it with: keystride" ;;
    *) echo "Start it with: $prefix/bin/keystride (or add $prefix/bin to PATH)" ;;
    esac
fi
