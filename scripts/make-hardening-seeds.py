#!/usr/bin/env python3
"""Writes a seed corpus for one of the fuzz targets beside the RTF reader's into a folder.

  plain_text   plain-text documents: UTF-8 with and without byte-order mark, UTF-16 both ways,
               Windows-1252, every kind of line end, NUL bytes, broken UTF-8
  settings     settings files: complete, short, lowercase, quoted, comma-separated, blank
  marking_run  marking runs: eight settings bytes, a flag byte, a two-byte cut-off position, the
               source document, a NUL byte and the speed test (plain text or RTF)

Usage: make-hardening-seeds.py TARGET OUTPUT_FOLDER
"""

import os
import sys

PLAIN = {
    "ascii": b"The quick brown fox jumps over the lazy dog.\r\nSecond line.\r\n",
    "lf-only": b"one\ntwo\n\nthree",
    "cr-only": b"one\rtwo\r\rthree\r",
    "mixed-ends": b"a\r\nb\nc\rd\n\re",
    "utf8": "Caf\u00e9 cr\u00e8me br\u00fbl\u00e9e \u2013 \u20ac5 \u2603 \U0001F600\n".encode(),
    "utf8-bom": b"\xef\xbb\xbf" + "na\u00efve\r\n".encode(),
    "utf16le": b"\xff\xfe" + "Hello\r\nW\u00eareld\r\n".encode("utf-16-le"),
    "utf16be": b"\xfe\xff" + "Hello\r\nW\u00eareld\r\n".encode("utf-16-be"),
    "utf16-odd": b"\xff\xfeA\x00B",
    "utf16-surrogates": b"\xff\xfe" + "\U0001F600x".encode("utf-16-le") + b"\x3d\xd8",
    "cp1252": b"Caf\xe9 \x80 \x93quoted\x94 \x81\x8d\x8f\x90\x9d\r\n",
    "nul-bytes": b"a\x00b\x00\x00c\r\n\x00",
    "broken-utf8": b"\xe2\x98 \xff\xc0\x80 \xed\xa0\x80 \xf4\x90\x80\x80",
    "control-chars": bytes(range(1, 32)) + b"\x7f",
    "tabs-and-form-feeds": b"a\tb\x0cc\x0bd",
    "empty": b"",
    "only-line-ends": b"\r\n" * 50,
    "long-line": b"x" * 5000,
    "looks-like-rtf-but-not": b"{\\rt not rtf}",
}

SETTINGS = {
    "all-off": b"N\r\nN\r\nN\r\nN\r\nN\r\nN\r\nN\r\nN\r\n",
    "all-on": b"J\r\nJ\r\nJ\r\nN\r\nJ\r\nN\r\nN\r\nJ\r\n",
    "lf-only": b"J\nN\nJ\nN\nN\nJ\nN\nJ\n",
    "short": b"J\r\nN\r\n",
    "empty": b"",
    "lowercase": b"j\r\nj\r\nj\r\nj\r\nj\r\nj\r\nj\r\nj\r\n",
    "quoted": b'"J"\r\n "N" \r\n"J\r\n""\r\n"N"x\r\nJ\r\nN\r\n"J"\r\n',
    "commas": b"J,N\r\nJ,,N\r\nN\r\n,\r\nJ\r\nN\r\n",
    "blanks": b"  J  \r\n\tN\t\r\n \r\n\r\nJ\r\nN\r\nN\r\nJJJ\r\n",
    "courier-long": b"N\r\nN\r\nJ\r\nN\r\nN\r\nN\r\nN\r\nJunk\r\n",
    "no-final-line-end": b"N\r\nN\r\nJ\r\nN\r\nN\r\nN\r\nN\r\nJ",
    "binary": bytes(range(256)),
    "cr-only": b"J\rN\rJ\rN\rN\rJ\rN\rJ\r",
    "extra-lines": b"J\r\n" * 20,
}

SOURCE = (
    "Die vinnige bruin jakkals spring oor die lui hond. The quick brown fox jumps over the "
    "lazy dog, and then it runs away! Is that so? Yes.\r\nA second paragraph follows here, "
    "with a few more words to copy. Learners type this text as fast as they can, and the "
    "marking run counts every fault.\r\nThe end of the source is not reached by most learners."
)


def settings_bytes(letters: str) -> bytes:
    """One byte per switch: 0 J, 1 N, 2 j, 3 empty, 4 JN."""
    codes = {"J": 0, "N": 1, "j": 2, "-": 3, "X": 4}
    return bytes(codes[c] for c in letters)


def run(letters: str, flags: int, cut_off: int, source: bytes, typed: bytes) -> bytes:
    return (
        settings_bytes(letters)
        + bytes([flags, cut_off & 0xFF, cut_off >> 8])
        + source
        + b"\x00"
        + typed
    )


def rtf(text: str, extra: str = "") -> bytes:
    body = text.replace("\r\n", "\\par ")
    return (
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fmodern Courier New;}{\\f1\\fswiss Arial;}}"
        + extra
        + "\\f0\\fs24 "
        + body
        + "\\par }"
    ).encode()


def marking_seeds() -> dict:
    src = SOURCE.encode()
    copy = SOURCE[:260]
    with_errors = copy.replace("quick", "quik").replace("lazy", "lasy").replace(", and", " and")
    excess = copy.replace("jumps over", "jumps jumps over the over")
    doubled = copy.replace("the lazy dog", "the the lazy lazy dog dog")
    spaced = copy.replace(". ", ".  ").replace(" the ", "  the ")
    lines = copy.replace(" over ", " over\r\n").replace("\r\nA second", " A second")
    punct = copy.replace(".", ",").replace("!", ".").replace("?", "!")
    joined = copy.replace("brown fox", "brownfox").replace("lazy dog", "la zy dog")
    default = "NNJNNNNN"
    return {
        "exact-copy": run(default, 0, 0, src, copy.encode()),
        "with-errors": run(default, 0, 0, src, with_errors.encode()),
        "excess-words": run(default, 0, 0, src, excess.encode()),
        "doubled-words": run(default, 0x01, 0, src, doubled.encode()),
        "double-spacing": run("NNNJNNNN", 0, 0, src, spaced.encode()),
        "line-breaks": run(default, 0, 0, src, lines.encode()),
        "punctuation": run(default, 0x01, 0, src, punct.encode()),
        "joined-words": run(default, 0, 0, src, joined.encode()),
        "whole-copy": run("JJNJJJJJ", 0, 0, src, SOURCE.encode()),
        "integer-wpm": run("NNJNNJNN", 0, 0, src, with_errors.encode()),
        "multiple-of-5": run("NNJNNNJX", 0x01, 0, src, with_errors.encode()),
        "odd-letters": run("jj-jXjj-", 0, 0, src, with_errors.encode()),
        "rtf-courier": run("NJJNNNNJ", 0, 0, rtf(SOURCE), rtf(with_errors)),
        "rtf-arial-one-and-a-half": run(
            "NJJNNNNJ", 0x08 | 0x40, 0, rtf(SOURCE), rtf(with_errors, "\\sl360\\slmult1")
        ),
        "rtf-double": run("NNNJNNNJ", 0x80, 0, rtf(SOURCE), rtf(copy, "\\sl480\\slmult1")),
        "write-protected": run(default, 0x02, 0, src, copy.encode()),
        "untitled": run(default, 0x10, 0, src, copy.encode()),
        "cut-off-given": run(default, 0x04, 120, src, copy[:120].encode()),
        "unable-to-compare-then-click": run(
            default, 0x20, 200, src, ("zzz qqq www " * 20).encode()
        ),
        "typed-too-short": run(default, 0, 0, src, b"Die vinnige"),
        "source-too-short": run(default, 0, 0, b"Short source.", copy.encode()),
        "already-marked": run(
            default, 0, 0, src, (copy + "\r\nLess no. of words with errors:  3\r\n").encode()
        ),
        "trailing-spaces": run(default, 0, 0, src, (copy + "     ").encode()),
        "unicode": run(
            default,
            0,
            0,
            ("\u00e9\u00e8 \u2013 \u201cquoted\u201d " * 10).encode(),
            ("\u00e9\u00e8 \u2013 \u201cquoted\u201d " * 6).encode(),
        ),
        "lone-full-stops": run(
            default, 0, 0, ("word . " * 20).encode(), ("word . word . " * 8).encode()
        ),
    }


def main() -> int:
    if len(sys.argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    target, folder = sys.argv[1], sys.argv[2]
    if target == "plain_text":
        seeds = PLAIN
    elif target == "settings":
        seeds = SETTINGS
    elif target == "marking_run":
        seeds = marking_seeds()
    else:
        print(f"Unknown target {target!r}", file=sys.stderr)
        return 2
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)
    print(f"Wrote {len(seeds)} seeds to {folder}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
