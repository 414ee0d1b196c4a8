#!/usr/bin/env bash
# Builds every fuzz target with libFuzzer (clang, address and undefined-behaviour sanitizers)
# and fuzzes each one for a short, bounded time from its generated seeds. Fails on the first
# finding; the input that caused it is left in the artifacts folder.
#
#   bash scripts/fuzz-smoke.sh            # 45 s per target in build-fuzz
#   FUZZ_SECONDS=120 BUILD_DIR=/tmp/fz bash scripts/fuzz-smoke.sh
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-45}
targets=(rtf_reader plain_text settings marking_run)
work=${FUZZ_WORK:-$(mktemp -d /tmp/keystride-fuzz-smoke.XXXXXX)}

CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKEYSTRIDE_FUZZ=ON -DKEYSTRIDE_BUILD_GUI=OFF -DKEYSTRIDE_BUILD_BENCHMARKS=OFF
cmake --build "$build_dir" -j2 --target "${targets[@]/%/_fuzz}"

status=0
for target in "${targets[@]}"; do
    seeds=$work/$target-seeds corpus=$work/$target-corpus artifacts=$work/$target-artifacts/
    mkdir -p "$corpus" "$artifacts"
    if [ "$target" = rtf_reader ]; then
        python3 scripts/make-fuzz-seeds.py "$seeds" >/dev/null
    else
        python3 scripts/make-hardening-seeds.py "$target" "$seeds" >/dev/null
    fi
    echo "== $target: $seconds s"
    # -rss_limit_mb and -timeout turn unbounded memory and hangs into findings too.
    if ! "$build_dir/bin/${target}_fuzz" "$corpus" "$seeds" -max_total_time="$seconds" \
            -timeout=30 -rss_limit_mb=2048 -max_len=16384 -print_final_stats=1 \
            -artifact_prefix="$artifacts" >"$work/$target.log" 2>&1; then
        echo "FINDING in $target: see $work/$target.log and $artifacts" >&2
        tail -n 60 "$work/$target.log" >&2
        status=1
    else
        grep -E "stat::number_of_executed_units|cov:" "$work/$target.log" | tail -n 2
    fi
done
[ $status -eq 0 ] && echo "fuzz-smoke: no findings (work folder $work)"
exit $status
