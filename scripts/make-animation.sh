#!/usr/bin/env bash
# Draws the busy animation "cdverify.avi": a disc with a light sweep going round it, 16 frames
# of 40 by 32 pixels at 12 frames a second, encoded as Motion JPEG in an AVI container.
# Needs ImageMagick (convert) and ffmpeg.
#
#   scripts/make-animation.sh [output]     (default: data/cdverify.avi beside this folder)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
output=${1:-"$here/../data/cdverify.avi"}
frames=16
width=40
height=32
cx=20
cy=16
radius=14

for tool in convert ffmpeg awk; do
    command -v "$tool" >/dev/null || { echo "make-animation: $tool is needed" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The points of a pie slice from the centre, starting at `from` degrees and `span` degrees wide.
slice() {
    awk -v cx="$cx" -v cy="$cy" -v r="$1" -v from="$2" -v span="$3" 'BEGIN {
        pi = atan2(0, -1)
        printf "%d,%d", cx, cy
        for (i = 0; i <= 8; i++) {
            a = (from + span * i / 8) * pi / 180
            printf " %.1f,%.1f", cx + r * cos(a), cy + r * sin(a)
        }
    }'
}

for ((i = 0; i < frames; i++)); do
    angle=$((i * 360 / frames))
    convert -size ${width}x${height} xc:'#ece9d8' \
        -fill '#c9ccd2' -stroke '#6d7380' -strokewidth 1 \
        -draw "circle $cx,$cy $cx,$((cy - radius))" \
        -stroke none -fill '#f7f0a8' -draw "polygon $(slice $((radius - 1)) "$angle" 40)" \
        -fill '#a8d8f7' -draw "polygon $(slice $((radius - 1)) $((angle + 180)) 40)" \
        -fill '#ece9d8' -stroke '#6d7380' -draw "circle $cx,$cy $cx,$((cy - 3))" \
        -fill '#3a7d2c' -stroke none -draw "circle $((width - 6)),$((height - 6)) $((width - 6)),$((height - 10))" \
        -fill white -draw "polygon $((width - 9)),$((height - 6)) $((width - 7)),$((height - 4)) $((width - 3)),$((height - 9)) $((width - 4)),$((height - 10)) $((width - 7)),$((height - 6)) $((width - 8)),$((height - 7))" \
        "$work/frame$(printf %02d "$i").png"
done

mkdir -p "$(dirname "$output")"
ffmpeg -loglevel error -y -framerate 12 -i "$work/frame%02d.png" \
    -c:v mjpeg -q:v 3 -pix_fmt yuvj420p -an \
    -fflags +bitexact -flags:v +bitexact -map_metadata -1 "$output"
echo "make-animation: wrote $output ($(wc -c <"$output") bytes, $frames frames)"
