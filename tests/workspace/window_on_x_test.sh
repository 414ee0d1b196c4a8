#!/usr/bin/env bash
# The window on a real X display (Xvfb), as a window manager and a screen reader see it: the
# main window is titled exactly "Speed Test" and its class names the program; F12 without a
# source shows a box titled exactly "Error"; at 150 % the window fits a 1366 x 768 screen.
# The window's class is the one the desktop entry names, so the desktop ties the two together.
# Usage: window_on_x_test.sh path/to/keystride path/to/vela-keystride.desktop
# (exit 77: skipped, a tool is missing)
set -uo pipefail
program=$(realpath "$1")
class=$(sed -n 's/^StartupWMClass=//p' "$2")
for tool in Xvfb xdotool xprop xwininfo; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Xvfb picks a free display and writes its number.
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
mkdir -p "$work/home" "$work/empty"

# Starts the program in an empty folder; `window` is then its main window.
start() { # environment assignments...
    (cd "$work/empty" && exec env HOME="$work/home" QT_QPA_PLATFORM=xcb "$@" "$program") \
        >"$work/program.log" 2>&1 &
    pids+=($!)
    window=$(timeout 30 xdotool search --sync --limit 1 --name '^Speed Test$') ||
        fail "no window titled \"Speed Test\": $(xdotool search --name . getwindowname %@ 2>&1)"
}

start
names=$(xprop -id "$window" WM_NAME _NET_WM_NAME WM_CLASS)
echo "$names"
grep -qx 'WM_NAME(STRING) = "Speed Test"' <<<"$names" || fail "WM_NAME"
grep -qx '_NET_WM_NAME(UTF8_STRING) = "Speed Test"' <<<"$names" || fail "_NET_WM_NAME"
grep -qx "WM_CLASS(STRING) = \"keystride\", \"$class\"" <<<"$names" || fail "WM_CLASS"

xdotool windowfocus --sync "$window" key F12
box=$(timeout 20 xdotool search --sync --limit 1 --name '^Error$') ||
    fail "no box titled \"Error\": $(xdotool search --name . getwindowname %@ 2>&1)"
xprop -id "$box" _NET_WM_NAME
kill "${pids[-1]}"

start QT_SCALE_FACTOR=1.5
geometry=$(xwininfo -id "$window")
x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometry")
y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")
width=$(awk '/Width:/ {print $2}' <<<"$geometry")
height=$(awk '/Height:/ {print $2}' <<<"$geometry")
echo "at 150 %: ${width}x${height} at ${x},${y} on 1366x768"
[ $((x + width)) -le 1366 ] || fail "wider than the screen"
# Room is left for a title bar.
[ $((y + height)) -le $((768 - 30)) ] || fail "taller than the screen less a title bar"
echo "window on X: passed"
