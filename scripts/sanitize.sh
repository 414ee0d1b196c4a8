#!/usr/bin/env bash
# Builds the test suites with the address and undefined-behaviour sanitizers and runs them.
# The standard-C++ suites only (no Qt window) unless SANITIZE_GUI=1: the window's modules under
# the sanitizers add most of the build time and are exercised by the ordinary build's tests.
#
#   bash scripts/sanitize.sh            # build-asan, clang when present, else gcc
#   BUILD_DIR=/tmp/asan SANITIZE_GUI=1 bash scripts/sanitize.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build-asan}
gui=OFF
[ "${SANITIZE_GUI:-0}" = 1 ] && gui=ON

if command -v clang++ >/dev/null 2>&1; then
    export CC=${CC:-clang} CXX=${CXX:-clang++}
else
    export CC=${CC:-gcc} CXX=${CXX:-g++}
fi

start=$(date +%s)
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKEYSTRIDE_SANITIZE=ON -DKEYSTRIDE_BUILD_GUI=$gui -DKEYSTRIDE_BUILD_BENCHMARKS=OFF
cmake --build "$build_dir" -j2
built=$(date +%s)

# Any finding ends the test that made it, with the sanitizer's report on its output.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure -j2 --timeout 900
done_at=$(date +%s)
echo "sanitize.sh: build $((built - start)) s, tests $((done_at - built)) s"
