#!/usr/bin/env python3
"""Writes the help documents Speedhelp.RTF and Spoedhelp.RTF from their readable sources.

The sources (data/help/*.txt, UTF-8) use a small line-based markup:

    = Title                 the document's title
    == Heading              a section heading
    - item                  a list item (lines that follow it without a blank line continue it)
    | text                  a line shown as it stands, in Courier New (the report example)
    blank line              ends a paragraph
    **bold**, `program text` inside a paragraph: bold; program texts in bold Courier New

The RTF is kept plain so that every rich-text reader takes it: a font table, a colour table,
\\b, \\fs, \\cf, \\par, and \\'hh escapes in Windows-1252 for letters such as \u00ea and \u00eb.
The output holds only 7-bit bytes.

    scripts/make-help.py [--check] [source.txt output.RTF language-id] ...
Without file arguments both documents are written into data/. With --check nothing is written:
the exit status says whether the documents match their sources.
"""

import re
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
DATA = HERE.parent / "data"
DOCUMENTS = [
    (DATA / "help" / "Speedhelp.txt", DATA / "Speedhelp.RTF", 1033),  # English
    (DATA / "help" / "Spoedhelp.txt", DATA / "Spoedhelp.RTF", 1078),  # Afrikaans
]

BODY_SIZE = 20     # half-points: 10 pt
HEADING_SIZE = 26  # 13 pt
TITLE_SIZE = 32    # 16 pt
CODE_SIZE = 20

FONT_TEXT = r"\f0"
FONT_CODE = r"\f1"
COLOUR_HEADING = r"\cf1"
COLOUR_CODE = r"\cf2"
COLOUR_TEXT = r"\cf0"


class SourceError(Exception):
    pass


def escape(text):
    """Text as RTF: control characters escaped, everything beyond ASCII as \\'hh or \\uN?."""
    out = []
    for ch in text:
        code = ord(ch)
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ch == "\t":
            out.append(r"\tab ")
        elif 32 <= code < 127:
            out.append(ch)
        elif code < 32:
            raise SourceError(f"control character U+{code:04X} in the text")
        else:
            try:
                byte = ch.encode("cp1252")
                out.append("\\'%02x" % byte[0])
            except UnicodeEncodeError:
                signed = code if code < 0x8000 else code - 0x10000
                if code > 0xFFFF:
                    raise SourceError(f"character U+{code:X} outside the basic plane")
                out.append("\\u%d?" % signed)
    return "".join(out)


INLINE = re.compile(r"\*\*(.+?)\*\*|`(.+?)`")


def inline(text, base_bold=False):
    """A paragraph's text with **bold** and `program text` spans."""
    out = []
    pos = 0
    for match in INLINE.finditer(text):
        out.append(escape(text[pos:match.start()]))
        if match.group(1) is not None:
            out.append(r"\b " + escape(match.group(1)) + (r"\b " if base_bold else r"\b0 "))
        else:
            out.append(r"{%s%s\b %s}" % (FONT_CODE, COLOUR_CODE, escape(match.group(2))))
        pos = match.end()
    rest = text[pos:]
    if "**" in rest or "`" in rest:
        raise SourceError(f"unclosed ** or ` in: {text}")
    out.append(escape(rest))
    return "".join(out)


def paragraph(body, size=BODY_SIZE, bold=False, colour=COLOUR_TEXT, font=FONT_TEXT, indent=""):
    """One paragraph, its formatting reset at the start so that nothing leaks between them."""
    start = r"\pard%s\plain%s\fs%d%s%s " % (indent, font, size, colour, r"\b" if bold else "")
    return start + body + r"\par"


def blocks(lines, source):
    """Groups the source lines into (kind, text) blocks."""
    current = None
    for number, raw in enumerate(lines, 1):
        line = raw.rstrip("\n").rstrip()
        if line.startswith("|"):
            if current:
                yield current
                current = None
            yield ("code", line[2:] if line.startswith("| ") else line[1:])
        elif not line.strip():
            if current:
                yield current
                current = None
            yield ("blank", "")
        elif line.startswith("== "):
            if current:
                yield current
            current = None
            yield ("heading", line[3:].strip())
        elif line.startswith("= "):
            if current:
                yield current
            current = None
            yield ("title", line[2:].strip())
        elif line.startswith("- "):
            if current:
                yield current
            current = ("item", line[2:].strip())
        elif line.startswith("=") or line.startswith("#"):
            raise SourceError(f"{source}:{number}: unknown line kind: {line}")
        elif current:
            current = (current[0], current[1] + " " + line.strip())
        else:
            current = ("text", line.strip())
    if current:
        yield current


def convert(text, language, source="source"):
    out = [
        r"{\rtf1\ansi\ansicpg1252\deff0\deflang%d" % language,
        r"{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\fmodern\fcharset0 Courier New;}}",
        r"{\colortbl ;\red0\green51\blue102;\red128\green0\blue0;}",
        r"\uc1",
    ]
    previous = None
    for kind, body in blocks(text.splitlines(), source):
        if kind == "blank":
            # One empty line between blocks; list items and example lines stay together.
            if previous not in (None, "blank"):
                out.append(paragraph(""))
            previous = "blank"
            continue
        if kind == "title":
            out.append(paragraph(inline(body, True), TITLE_SIZE, True, COLOUR_HEADING))
        elif kind == "heading":
            out.append(paragraph(inline(body, True), HEADING_SIZE, True, COLOUR_HEADING))
        elif kind == "item":
            out.append(paragraph("\\'95  " + inline(body), indent=r"\li360\fi-240"))
        elif kind == "code":
            out.append(paragraph(escape(body), CODE_SIZE, False, COLOUR_TEXT, FONT_CODE,
                                 indent=r"\li360"))
        else:
            out.append(paragraph(inline(body)))
        previous = kind
    while out and out[-1] == paragraph(""):
        out.pop()
    # The last paragraph carries no \par, as the panes write their documents.
    if out[-1].endswith(r"\par"):
        out[-1] = out[-1][: -len(r"\par")]
    out.append("}")
    return "\r\n".join(out) + "\r\n"


def main(argv):
    check = "--check" in argv
    argv = [arg for arg in argv if arg != "--check"]
    jobs = DOCUMENTS
    if argv:
        if len(argv) % 3:
            print(__doc__, file=sys.stderr)
            return 2
        jobs = [(Path(argv[i]), Path(argv[i + 1]), int(argv[i + 2])) for i in range(0, len(argv), 3)]
    for source, target, language in jobs:
        try:
            rtf = convert(source.read_text(encoding="utf-8"), language, str(source))
        except (OSError, UnicodeDecodeError, SourceError) as error:
            print(f"make-help: {source}: {error}", file=sys.stderr)
            return 1
        if check:
            current = target.read_bytes() if target.exists() else b""
            if current != rtf.encode("ascii"):
                print(f"make-help: {target} is out of date; run scripts/make-help.py",
                      file=sys.stderr)
                return 1
            print(f"make-help: {target} matches {source}")
            continue
        target.write_bytes(rtf.encode("ascii"))
        print(f"make-help: wrote {target} ({len(rtf)} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
