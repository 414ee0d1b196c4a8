#!/usr/bin/env bash
# A long fuzzing run of one target, keeping its corpus between runs.
#
#   bash scripts/fuzz-long.sh TARGET [SECONDS]
#
# TARGET is rtf_reader, plain_text, settings or marking_run; SECONDS defaults to 1800. The
# corpus grows in build-fuzz/work/TARGET/corpus (inside the ignored build folder), and
# findings land in build-fuzz/work/TARGET/artifacts. Replay one with build-fuzz/bin/TARGET_fuzz FILE.
set -euo pipefail
cd "$(dirname "$0")/.."

target=${1:?usage: fuzz-long.sh TARGET [SECONDS]}
seconds=${2:-1800}
build_dir=${BUILD_DIR:-build-fuzz}
work=${FUZZ_WORK:-$build_dir/work}/$target

if [ ! -f "$build_dir/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKEYSTRIDE_FUZZ=ON -DKEYSTRIDE_BUILD_GUI=OFF -DKEYSTRIDE_BUILD_BENCHMARKS=OFF
fi
cmake --build "$build_dir" -j2 --target "${target}_fuzz"

mkdir -p "$work/corpus" "$work/artifacts"
if [ "$target" = rtf_reader ]; then
    python3 scripts/make-fuzz-seeds.py "$work/seeds" >/dev/null
else
    python3 scripts/make-hardening-seeds.py "$target" "$work/seeds" >/dev/null
fi
extra=()
if [ "$target" = rtf_reader ] || [ "$target" = plain_text ]; then
    # The real-world documents beside the project are read-only seeds when present.
    [ -d ../shared/corpus/rtf ] && extra+=(../shared/corpus/rtf)
fi

exec "$build_dir/bin/${target}_fuzz" "$work/corpus" "$work/seeds" "${extra[@]}" \
    -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -max_len=16384 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/"
