#!/usr/bin/env bash
# The real-world RTF corpus in one loop, side by side: every file read by a process of its own,
# `keystride-doc text FILE` against `unrtf --text FILE`, output discarded. The two loops run in
# alternation ROUNDS times (default 11) and each one's median CPU time (user + system of all its
# processes, from perf stat when it works, else from GNU time) is printed, so a machine shared
# with other work slows both alike. With INSTRUCTIONS=1 each loop is also counted once under
# callgrind: instructions do not depend on the load at all.
#
#   bash bench/compare_corpus_loop.sh [BUILD_DIR] [CORPUS_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
corpus=$(realpath "${2:-../shared/corpus/rtf}")
rounds=${ROUNDS:-11}
doc=$(realpath "$build/bin/keystride-doc")
[ -x "$doc" ] || { echo "no $doc: build first" >&2; exit 2; }
command -v unrtf >/dev/null || { echo "unrtf is needed (Debian package unrtf)" >&2; exit 2; }
files=("$corpus"/*.rtf)
[ -e "${files[0]}" ] || { echo "no RTF files in $corpus" >&2; exit 2; }

work=$(mktemp -d /tmp/keystride-corpus-loop.XXXXXX)
trap 'rm -rf "$work"' EXIT
# One loop as a script of its own, so that only its processes are timed.
for reader in keystride unrtf; do
    command="$doc text"
    [ "$reader" = unrtf ] && command="unrtf --text"
    {
        echo '#!/usr/bin/env bash'
        echo "for f in \"\$@\"; do $command \"\$f\" >/dev/null 2>&1 || true; done"
    } >"$work/$reader.sh"
    chmod +x "$work/$reader.sh"
done

use_perf=no
perf stat -x, -e task-clock true >/dev/null 2>&1 && use_perf=yes
# CPU milliseconds of one loop.
cpu_ms() {
    if [ "$use_perf" = yes ]; then
        perf stat -x, -e task-clock "$work/$1.sh" "${files[@]}" 2>&1 >/dev/null |
            awk -F, '/task-clock/ { printf "%.1f\n", $1 }'
    else
        /usr/bin/time -f '%U %S' "$work/$1.sh" "${files[@]}" 2>&1 >/dev/null |
            awk '{ printf "%.1f\n", ($1 + $2) * 1000 }'
    fi
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# unrtf writes a document's pictures into the current folder.
cd "$work"
for round in $(seq "$rounds"); do
    echo "keystride $(cpu_ms keystride)" >>"$work/times"
    echo "unrtf $(cpu_ms unrtf)" >>"$work/times"
done

echo "${#files[@]} files, $rounds alternating rounds, $(nproc) CPUs, load $(cut -d' ' -f1-3 /proc/loadavg)"
for reader in keystride unrtf; do
    printf '%-10s median CPU %8s ms   (rounds: %s)\n' "$reader" \
        "$(awk -v r="$reader" '$1 == r { print $2 }' "$work/times" | median)" \
        "$(awk -v r="$reader" '$1 == r { printf "%s ", $2 }' "$work/times")"
done

if [ "${INSTRUCTIONS:-0}" = 1 ] && command -v valgrind >/dev/null; then
    for reader in keystride unrtf; do
        total=0
        for f in "${files[@]}"; do
            command=("$doc" text "$f")
            [ "$reader" = unrtf ] && command=(unrtf --text "$f")
            n=$(valgrind --tool=callgrind --callgrind-out-file=/dev/null "${command[@]}" 2>&1 \
                >/dev/null | awk '/refs:/ { gsub(",", "", $NF); print $NF }' || true)
            total=$((total + ${n:-0}))
        done
        printf '%-10s instructions %15s\n' "$reader" "$total"
    done
fi
