#!/usr/bin/env bash
# Installs what is missing, builds, marks the bundled examples and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
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
