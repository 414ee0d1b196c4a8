#!/usr/bin/env bash
# Times keystride-mark marking a folder of 30 speed tests against one source, as one whole
# process (start-up, reading, marking, writing the .rug files and Resultaat.res). The tests are
# generated in a temporary folder: copies of the source with a few faults each, of increasing
# length.
#
#   bash bench/mark_folder_bench.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
mark=$build/bin/keystride-mark
[ -x "$mark" ] || { echo "no $mark: build first" >&2; exit 2; }
mark=$(realpath "$mark")
runs=${RUNS:-10}
work=$(mktemp -d /tmp/keystride-mark-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'PY'
import os, sys
folder = sys.argv[1]
# Words from a small vocabulary in a pseudo-random order, so that the end of every test occurs
# only once in the source, as in real prose.
words = ("the learner types a long text while clock runs and teacher marks every word in class "
         "school paper fast slow speed test copy keys hands").split()
seed, source = 7, []
for i in range(1200):
    seed = (seed * 1103515245 + 12345) % 2**31
    w = words[(seed >> 16) % len(words)]
    if i % 9 == 8:
        w += "."
    source.append(w + ("\r\n" if i % 12 == 11 else " "))
open(os.path.join(folder, "source.txt"), "w", newline="").write("".join(source))
os.makedirs(os.path.join(folder, "tests"))
for t in range(30):
    n = 150 + 35 * t
    typed = []
    for i, w in enumerate(source[:n]):
        if (i + t) % 23 == 0:
            w = "x" + w
        typed.append(w)
    body = "".join(typed).replace("\r\n", "\\par ")
    rtf = r"{\rtf1\ansi{\fonttbl{\f0\fmodern Courier New;}}\f0\fs24 " + body + "}"
    open(os.path.join(folder, "tests", "Toets%02d.rtf" % t), "w").write(rtf)
PY

cd "$work"
run() { "$mark" --marking colour source.txt tests >/dev/null; }
run
echo "30 tests, $(du -sk tests | cut -f1) KB; $(wc -l < Resultaat.res) result lines per run"
if command -v hyperfine >/dev/null; then
    hyperfine --runs "$runs" --warmup 1 -N \
        "$mark --marking colour source.txt tests"
else
    start=$(date +%s.%N)
    for _ in $(seq "$runs"); do run; done
    end=$(date +%s.%N)
    python3 -c "print('mean %.1f ms per process (%d runs)' % (($end - $start) / $runs * 1000, $runs))"
fi
/usr/bin/time -f "one run: %e s wall, %U s user, %S s system, %M KB peak" \
    "$mark" --marking colour source.txt tests >/dev/null
