#!/usr/bin/env bash
# Writes a large RTF document as LibreOffice Writer saves it: a long generated text (paragraphs
# of 30 to 150 words, a bold word every thirteen, an italic one every seventeen, a few accented
# words and dashes) converted by `soffice --headless --convert-to rtf`. The result is a benchmark
# input, made where it is needed and never committed.
#
#   bash bench/make_large_rtf.sh OUTPUT.rtf [MEGABYTES]      (default 10)
set -euo pipefail

output=${1:?usage: make_large_rtf.sh OUTPUT.rtf [MEGABYTES]}
megabytes=${2:-10}
command -v soffice >/dev/null || { echo "make_large_rtf: soffice is needed" >&2; exit 2; }

work=$(mktemp -d /tmp/keystride-large-rtf.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Writer's RTF is about 1.7 times the size of the HTML written here.
python3 - "$work/large.html" "$megabytes" <<'PY'
import random, sys
path, megabytes = sys.argv[1], float(sys.argv[2])
random.seed(13)
words = ("the a learner types long text while clock runs and teacher marks every word in class "
         "of to is that for on with as was by at from this have be are not or which an all "
         "one their there been has more when will would who so if out up into than them can "
         "only other new some could time these two may then do first any like now my such "
         "café naïve déjà résumé façade coöperate—and “quoted” 10 % €5").split()
target = int(megabytes * 1024 * 1024 / 1.73)
parts, size = [], 0
while size < target:
    ws = []
    for i in range(random.randint(30, 150)):
        w = random.choice(words)
        if i % 13 == 5:
            w = "<b>" + w + "</b>"
        elif i % 17 == 8:
            w = "<i>" + w + "</i>"
        ws.append(w)
    p = "<p>" + " ".join(ws) + ".</p>\n"
    parts.append(p)
    size += len(p.encode())
with open(path, "w", encoding="utf-8") as f:
    f.write("<html><head><meta charset='utf-8'></head><body>\n" + "".join(parts) +
            "</body></html>\n")
PY

# A profile of its own, so that a Writer already running for someone else is left alone.
soffice -env:UserInstallation="file://$work/profile" --headless \
    --infilter="HTML (StarWriter)" --convert-to rtf --outdir "$work" "$work/large.html" \
    >/dev/null 2>&1
[ -s "$work/large.rtf" ] || { echo "make_large_rtf: soffice wrote nothing" >&2; exit 1; }
mv "$work/large.rtf" "$output"
echo "make_large_rtf: wrote $output ($(( $(stat -c %s "$output") / 1024 )) KB)"
