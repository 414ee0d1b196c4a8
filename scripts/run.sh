#!/usr/bin/env bash
# Installs what is missing, builds, marks the bundled examples and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

# The export to the word processor (F11) opens LibreOffice Writer in a window: that needs the
# full Writer (it replaces the window-less one, and converts documents just as well) and a
# desktop integration. The tests do without both.
installed() { # package
    [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}
writer=()
installed libreoffice-writer || writer+=(libreoffice-writer)
installed libreoffice-gtk3 || installed libreoffice-kf5 || installed libreoffice-qt5 ||
    writer+=(libreoffice-gtk3)
if [ ${#writer[@]} -gt 0 ]; then
    echo "Installing: ${writer[*]}"
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${writer[@]}"
fi

bash scripts/build.sh

echo "== Marking the bundled examples"
(cd examples && ../build/bin/keystride-mark --no-write source.txt learner1.txt learner2.txt learner3.rtf) || true

if [ -x scripts/install-user.sh ] || [ -f scripts/install-user.sh ]; then
    bash scripts/install-user.sh
fi
program="$HOME/.local/bin/keystride"
[ -x "$program" ] || program="build/bin/keystride"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$program" ]; then
    echo "== Starting Vela Keystride"
    exec "$program"
else
    echo "No display: the window was not started. Run $program from a desktop session."
fi
