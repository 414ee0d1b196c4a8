#!/usr/bin/env bash
# Installs what is missing, builds from scratch and runs every test; then the same suites under
# the address and undefined-behaviour sanitizers, and a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
rm -rf build build-asan build-fuzz
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j2 --timeout 600
bash scripts/sanitize.sh
FUZZ_SECONDS=${FUZZ_SECONDS:-30} bash scripts/fuzz-smoke.sh
