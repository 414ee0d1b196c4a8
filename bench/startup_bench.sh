#!/usr/bin/env bash
# Window start-up, side by side: the program (keystride) and an empty Qt Widgets window
# (keystride-empty-window) are launched in turn under one X display, ROUNDS times each (default
# 21), and each launch is timed until the X server maps the window (keystride-startup-timer).
# Prints both medians and their ratio. Without DISPLAY it starts an Xvfb of its own, and without
# a session message bus it runs in one of its own (dbus-run-session).
#
#   bash bench/startup_bench.sh [BUILD_DIR] [PROGRAM]
#
# PROGRAM (default BUILD_DIR/bin/keystride) may be another build of the window, to compare two.
set -euo pipefail
# A desktop session has a message bus; without one, every Qt program would start a bus of its
# own (dbus-launch) and wait for it, which is no part of either start-up.
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && command -v dbus-run-session >/dev/null; then
    exec dbus-run-session -- bash "$(realpath "$0")" "$@"
fi
cd "$(dirname "$0")/.."

build=$(realpath "${1:-build}")
program=$(realpath "${2:-$build/bin/keystride}")
rounds=${ROUNDS:-21}
timer=$build/bin/keystride-startup-timer
empty=$build/bin/keystride-empty-window
for tool in "$timer" "$empty" "$program"; do
    [ -x "$tool" ] || { echo "no $tool: build it first" >&2; exit 2; }
done

work=$(mktemp -d /tmp/keystride-startup.XXXXXX)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb

if [ -z "${DISPLAY:-}" ]; then
    command -v Xvfb >/dev/null || { echo "no DISPLAY and no Xvfb (Debian package xvfb)" >&2; exit 2; }
    for n in $(seq 90 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
    done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
    done
fi

# The program runs in an empty folder of its own, as a classroom start would.
mkdir "$work/folder"
cd "$work/folder"
# One launch of each first, so that both start with their files in the page cache.
"$timer" "$program" >/dev/null
"$timer" "$empty" >/dev/null
for round in $(seq "$rounds"); do
    echo "keystride $("$timer" "$program")" >>"$work/times"
    echo "empty $("$timer" "$empty")" >>"$work/times"
done

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
window=$(awk '$1 == "keystride" { print $2 }' "$work/times" | median)
blank=$(awk '$1 == "empty" { print $2 }' "$work/times" | median)
echo "$rounds alternating launches each, $(nproc) CPUs, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "keystride     median $window ms to a mapped window"
echo "empty window  median $blank ms"
awk -v a="$window" -v b="$blank" 'BEGIN { printf "ratio         %.2f\n", a / b }'
