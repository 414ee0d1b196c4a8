#!/usr/bin/env bash
# Times three RTF-to-text readers side by side, in one run on the same files: this system's
# reader (keystride-doc text), pandoc and unrtf. Uses hyperfine when installed, else a loop
# around date. Throughput is the file size over the mean wall time of one whole process
# (start-up included), so small files measure start-up more than reading.
#
#   bash bench/compare_rtf_readers.sh [BUILD_DIR] [FILE...]
#
# Without files it generates a 1 MB document in a temporary folder and adds the three largest
# files of the real-world corpus beside the project, when it is there.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
shift || true
doc=$build/bin/keystride-doc
[ -x "$doc" ] || { echo "no $doc: build first" >&2; exit 2; }
runs=${RUNS:-10}

work=$(mktemp -d /tmp/keystride-rtf-compare.XXXXXX)
trap 'rm -rf "$work"' EXIT

files=("$@")
if [ ${#files[@]} -eq 0 ]; then
    python3 - "$work/generated-1MB.rtf" <<'PY'
import sys
words = ["the", "learner", "types", "a", "long", "text", "while", "clock", "runs", "and",
         "teacher", "marks", "every", "word", "in", "class", "caf\\'e9", "\\u8364?"]
out = [r"{\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fmodern Courier New;}{\f1\fswiss Arial;}}",
       r"{\colortbl;\red255\green0\blue0;}\f0\fs24 "]
size, i = sum(map(len, out)), 0
while size < 1024 * 1024:
    w = words[(i * 7919) % len(words)]
    piece = (r"{\b " + w + "} " if i % 13 == 0 else r"{\cf1 " + w + "} " if i % 17 == 0
             else w + (r"\par " + "\n" if i % 15 == 14 else " "))
    out.append(piece)
    size += len(piece)
    i += 1
out.append("}")
open(sys.argv[1], "w").write("".join(out))
PY
    files+=("$work/generated-1MB.rtf")
    corpus=../shared/corpus/rtf
    if [ -d "$corpus" ]; then
        while IFS= read -r f; do files+=("$f"); done < <(
            find "$corpus" -type f -iname '*.rtf' -printf '%s %p\n' | sort -rn | head -n 3 | cut -d' ' -f2-)
    fi
fi

readers=("keystride:$doc text")
command -v pandoc >/dev/null && readers+=("pandoc:pandoc -f rtf -t plain")
command -v unrtf >/dev/null && readers+=("unrtf:unrtf --text")

# Mean seconds of one run of a command on a file.
mean_seconds() {
    local command=$1 file=$2
    if command -v hyperfine >/dev/null; then
        hyperfine --runs "$runs" --warmup 1 --export-json "$work/h.json" -N --style none \
            "$command '$file'" >/dev/null 2>&1 || { echo nan; return; }
        python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["results"][0]["mean"])' "$work/h.json"
    else
        $command "$file" >/dev/null 2>&1 || true
        local start end
        start=$(date +%s.%N)
        for _ in $(seq "$runs"); do $command "$file" >/dev/null 2>&1 || true; done
        end=$(date +%s.%N)
        python3 -c "print(($end - $start) / $runs)"
    fi
}

printf '%-34s %10s' "file" "size"
for r in "${readers[@]}"; do printf ' %22s' "${r%%:*} ms (MB/s)"; done
printf '\n'
for f in "${files[@]}"; do
    bytes=$(stat -c %s "$f")
    printf '%-34s %9sK' "$(basename "$f" | cut -c1-34)" "$((bytes / 1024))"
    for r in "${readers[@]}"; do
        s=$(mean_seconds "${r#*:}" "$f")
        python3 -c "import sys; s=float(sys.argv[1]); b=int(sys.argv[2]); print(' %12.1f (%7.1f)' % (s*1000, b/1048576/s), end='')" "$s" "$bytes"
    done
    printf '\n'
done
