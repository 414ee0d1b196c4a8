#!/usr/bin/env python3
"""Writes a seed corpus for the RTF reader's fuzz target into the folder given as argument.

Every seed is generated here: small documents for each construct the reader handles (font and
colour tables, code pages, Unicode escapes with fallback skipping, skipped destinations, fields,
tables, line spacing, special characters, binary data) and broken variants of them (truncated,
unbalanced, deeply nested, overlong words and numbers).

Usage: make-fuzz-seeds.py OUTPUT_FOLDER
"""

import os
import sys

HEADER = (
    rb"{\rtf1\ansi\ansicpg1252\deff0"
    rb"{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\fmodern\fcharset0 Courier New;}"
    rb"{\f2\froman\fcharset238 Times New Roman CE;}{\f3\fnil\fcharset204 Arial Cyr;}"
    rb"{\f4\fnil\fcharset128 \'82\'6c\'82\'72 Mincho;}}"
    rb"{\colortbl;\red255\green0\blue0;\red0\green0\blue255;\red255\green255\blue0;}"
    b"\n"
)


def doc(body: bytes) -> bytes:
    return HEADER + body + b"}"


SEEDS = {
    "plain": doc(rb"Hello world\par "),
    "two-paragraphs": doc(rb"First\par Second\par "),
    "empty-paragraphs": doc(rb"a\par\par\par "),
    "formatting": doc(
        rb"\plain\f1\fs24 plain {\b bold} {\i italic} {\ul under\ulnone line} "
        rb"{\uldb double}{\ulw words}{\ul0 off} {\cf1 red} {\cf0 auto} {\fs39 big}"
        rb"{\highlight3 marked}{\cb2 blue back}{\chcbpat1 pattern}\par "
    ),
    "line-spacing": doc(
        rb"\pard\sl360\slmult1 one and a half\par \pard\sl480\slmult1 double\par "
        rb"\pard\sl276\slmult1 other\par \pard single\par "
    ),
    "special-characters": doc(
        rb"a\~b\-c\_d\{e\}f\\g\emdash\endash\lquote\rquote\ldblquote\rdblquote\bullet"
        rb"\tab h\line i\par "
    ),
    "unicode-skip": doc(
        rb"\uc1\u8364\'80 euro \uc2\u24180\'94\'4e abc {\uc0\u915 x}\u-10179?\u-9047?"
        rb"\u915 \'3f\u916\par "
    ),
    "unicode-skip-control-word": doc(rb"\uc1\u8364\par after\uc3\u1234 abcd\par "),
    "charsets": doc(
        rb"{\f2 \'e8\'9a\'b9}{\f3 \'cf\'f0\'e8\'e2\'e5\'f2}{\f4 \'82\'a8\'8c\'b3}\par "
    ),
    "ansicpg1250": rb"{\rtf1\ansi\ansicpg1250\deff0{\fonttbl{\f0\fnil Arial;}}\'9a\'e8\par }",
    "ansicpg1251": rb"{\rtf1\ansi\ansicpg1251{\fonttbl{\f0\fnil Arial;}}\f0 \'cf\'f0\par }",
    "ansicpg874": rb"{\rtf1\ansi\ansicpg874 \'a1\'a2\par }",
    "ansicpg437": rb"{\rtf1\pc \'82\'b0\par }",
    "ansicpg850": rb"{\rtf1\pca \'82\'d5\par }",
    "ansicpg932-raw": b"{\\rtf1\\ansi\\ansicpg932 \x82\xa8\x8c\xb3\\'83C\\par }",
    "ansicpg65001": "{\\rtf1\\ansi\\ansicpg65001 h\u00e9llo \u2603 \U0001F4A9\\par }".encode(),
    "mac": rb"{\rtf1\mac\ansicpg10000 \'8e\'a5\par }",
    "unknown-codepage": rb"{\rtf1\ansi\ansicpg1181 \'e9\par }",
    "skipped-destinations": doc(
        rb"{\stylesheet{\s0 Normal;}}{\info{\title Title}{\author Me}}"
        rb"{\*\generator Writer 1.0;}{\header Header text\par}{\footer Footer\par}"
        rb"{\*\unknowndest hidden}{\pict\wmetafile8 0102030405}"
        rb"{\object\objemb{\*\objdata 0102}{\result {\pict 00}}}"
        rb"{\listtext 1.\tab}{\pntext 2.\tab}{\*\bkmkstart m}{\*\themedata 00}"
        rb"Body{\footnote note}\par "
    ),
    "field": doc(
        rb"See {\field{\*\fldinst {HYPERLINK \"http://example.com\"}}{\fldrslt {\ul link}}}"
        rb" here {\field{\fldinst PAGE}{\fldrslt 1}}\par "
    ),
    "table": doc(
        rb"\trowd\cellx1000\cellx2000\pard\intbl A\cell B\cell\row"
        rb"\trowd\cellx1000\cellx2000\pard\intbl C\cell D\cell\row\pard after\par "
    ),
    "upr": rb"{\rtf1\ansi{\upr{\fonttbl{\f0 Ansi;}}{\*\ud{\fonttbl{\f0 Uni;}}}}"
    rb"\f0 {\upr{ansi text}{\*\ud{\u915 uni text}}}\par }",
    "binary": doc(rb"before{\pict\bin4 " + bytes([0, ord("}"), ord("{"), 0x5C]) + rb"}after\par "),
    "binary-no-length": doc(rb"before{\pict\bin 0102}after\par "),
    "backslash-newline": rb"{\rtf1 line one\
line two\
}",
    "fonttbl-without-groups": rb"{\rtf1{\fonttbl\f0\fswiss Helvetica;\f1\fmodern Courier;}"
    rb"\f1 text\par }",
    "digit-text": rb"{\rtf1foobar}",
    "rtf0": rb"{\rtf0\ansi hello\par }",
    "bom": b"\xef\xbb\xbf  " + doc(rb"bom\par "),
    "nul-after-end": doc(rb"text\par ") + b"\x00",
    # Broken input.
    "empty": b"",
    "plain-text": b"no braces at all",
    "only-open": b"{",
    "only-close": b"}",
    "leading-garbage": b"/" + doc(rb"text\par "),
    "trailing-garbage": doc(rb"text\par ") + b"-",
    "extra-closing-brace": doc(rb"a}b\par ") + b"}",
    "unclosed": HEADER + rb"{\b bold {\i italic",
    "truncated-hex": doc(rb"x")[:-1] + rb"\'4",
    "invalid-hex": rb"{\rtf1 x\u345\'3?x\par}",
    "truncated-word": rb"{\rtf1 text\par",
    "truncated-backslash": b"{\\rtf1 text\\",
    "overlong-word": rb"{\rtf1 \a" + b"b" * 200 + rb" text}",
    "huge-parameter": rb"{\rtf1 \fs99999999999999999999 \u-99999999999 \uc99999 x\cf-5 y}",
    "huge-bin": rb"{\rtf1 a\bin99999999999 bcd}",
    "negative-bin": rb"{\rtf1 a\bin-5 bcd}",
    "star-without-word": rb"{\rtf1 {\* text} after}",
    "lone-surrogates": rb"{\rtf1\uc0 \u55357 x\u56489 y\u56489\u55357 z}",
    "deep-nesting": b"{\\rtf1 " + b"{" * 5000 + b"deep" + b"}" * 5000 + b"}",
    "deep-unclosed": b"{\\rtf1 " + b"{\\b " * 3000 + b"deep",
    "many-fonts": b"{\\rtf1{\\fonttbl"
    + b"".join(b"{\\f%d F%d;}" % (i, i) for i in range(300))
    + b"}\\f299 x}",
    "many-colours": b"{\\rtf1{\\colortbl;" + b"\\red1\\green2\\blue3;" * 300 + b"}\\cf299 x}",
    "font-name-without-semicolon": rb"{\rtf1{\fonttbl{\f0 Arial}{\f1 Times}}\f1 x}",
    "colour-without-semicolon": rb"{\rtf1{\colortbl\red255\green0\blue0}\cf0 x}",
    "dbcs-lone-lead": rb"{\rtf1\ansi\ansicpg950 \'a9 text}",
    "dbcs-lead-then-brace": rb"{\rtf1\ansi\ansicpg932 {\'82}{\'a8}}",
    "utf8-broken": b"{\\rtf1\\ansi\\ansicpg65001 \xe2\x98 \xff\xc0\x80\\par }",
}


def main() -> int:
    if len(sys.argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(folder, name + ".rtf"), "wb") as out:
            out.write(data)
    print(f"Wrote {len(SEEDS)} seeds to {folder}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
