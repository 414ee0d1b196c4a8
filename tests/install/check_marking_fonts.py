#!/usr/bin/env python3
"""Checks the five generated marking typefaces against Liberation Mono, reading the TrueType
tables directly (standard library only), so that the check does not trust the tool that wrote
the files.

Usage: check_marking_fonts.py FONT_DIR LIBERATION_DIR
Prints one line per failed expectation and a count at the end; exit status 1 when
anything failed.
"""

import os
import struct
import sys

FACES = (
    # face name, file, source style, frame parts (left bar, right bar, rules, wave)
    ("Courier1", "Cour1.ttf", "Bold", {"left", "rules"}),
    ("Courierraam", "CourRaam.ttf", "Bold", {"rules"}),
    ("Courier2", "Cour2.ttf", "Bold", {"right", "rules"}),
    ("Courier3", "Cour3.ttf", "Bold", {"left", "right", "rules"}),
    ("DoCourier", "cournuut.ttf", "Regular", {"wave"}),
)

# Name IDs a user sees as the font's name: family, style, unique ID, full name, PostScript
# name, typographic family and style, WWS family and style.
PRIMARY_NAME_IDS = (1, 2, 3, 4, 6, 16, 17, 21, 22)
RESERVED = ("liberation", "cousine", "arimo", "tinos")


def typed_repertoire():
    points = set(range(0x20, 0x7F)) | set(range(0xA0, 0x100))
    for byte in range(0x80, 0xA0):
        try:
            points.add(ord(bytes([byte]).decode("cp1252")))
        except UnicodeDecodeError:
            pass
    return sorted(points)


class TrueType:
    def __init__(self, path):
        with open(path, "rb") as handle:
            self.data = handle.read()
        if len(self.data) < 12:
            raise ValueError("%s: too short for a font" % path)
        count = struct.unpack_from(">H", self.data, 4)[0]
        self.tables = {}
        for i in range(count):
            tag, _, offset, length = struct.unpack_from(">4sIII", self.data, 12 + 16 * i)
            self.tables[tag.decode("latin-1")] = (offset, length)
        head = self.table("head")
        self.units_per_em = struct.unpack_from(">H", head, 18)[0]
        self.long_loca = struct.unpack_from(">h", head, 50)[0] == 1
        hhea = self.table("hhea")
        self.ascender, self.descender = struct.unpack_from(">hh", hhea, 4)
        self.metric_count = struct.unpack_from(">H", hhea, 34)[0]
        self.glyph_count = struct.unpack_from(">H", self.table("maxp"), 4)[0]
        self.cmap = self._read_cmap()

    def table(self, tag):
        offset, length = self.tables[tag]
        return self.data[offset:offset + length]

    def _read_cmap(self):
        cmap = self.table("cmap")
        count = struct.unpack_from(">H", cmap, 2)[0]
        for i in range(count):
            platform, encoding, offset = struct.unpack_from(">HHI", cmap, 4 + 8 * i)
            if (platform, encoding) in ((3, 1), (0, 3)) and struct.unpack_from(
                    ">H", cmap, offset)[0] == 4:
                return self._read_format4(cmap, offset)
        raise ValueError("no Unicode BMP character map (format 4)")

    @staticmethod
    def _read_format4(cmap, offset):
        segments = struct.unpack_from(">H", cmap, offset + 6)[0] // 2
        ends_at = offset + 14
        starts_at = ends_at + 2 * segments + 2
        deltas_at = starts_at + 2 * segments
        ranges_at = deltas_at + 2 * segments
        mapping = {}
        for s in range(segments):
            end = struct.unpack_from(">H", cmap, ends_at + 2 * s)[0]
            start = struct.unpack_from(">H", cmap, starts_at + 2 * s)[0]
            delta = struct.unpack_from(">h", cmap, deltas_at + 2 * s)[0]
            range_offset = struct.unpack_from(">H", cmap, ranges_at + 2 * s)[0]
            for code in range(start, min(end, 0xFFFE) + 1):
                if range_offset == 0:
                    glyph = (code + delta) & 0xFFFF
                else:
                    at = ranges_at + 2 * s + range_offset + 2 * (code - start)
                    glyph = struct.unpack_from(">H", cmap, at)[0]
                    glyph = (glyph + delta) & 0xFFFF if glyph else 0
                if glyph:
                    mapping[code] = glyph
        return mapping

    def advance(self, code):
        glyph = self.cmap[code]
        hmtx = self.table("hmtx")
        index = min(glyph, self.metric_count - 1)
        return struct.unpack_from(">H", hmtx, 4 * index)[0]

    def bounds(self, code):
        """(xMin, yMin, xMax, yMax) of the glyph's outline, None when it has no outline."""
        glyph = self.cmap[code]
        loca = self.table("loca")
        if self.long_loca:
            start, end = struct.unpack_from(">II", loca, 4 * glyph)
        else:
            start, end = (2 * v for v in struct.unpack_from(">HH", loca, 2 * glyph))
        if start == end:
            return None
        return struct.unpack_from(">hhhh", self.table("glyf"), start + 2)

    def names(self):
        name = self.table("name")
        count, strings = struct.unpack_from(">HH", name, 2)
        result = {}
        for i in range(count):
            platform, encoding, _, name_id, length, offset = struct.unpack_from(
                ">HHHHHH", name, 6 + 12 * i)
            raw = name[strings + offset:strings + offset + length]
            text = raw.decode("utf-16-be" if platform in (0, 3) else "latin-1", "replace")
            result.setdefault(name_id, set()).add(text)
        return result


class Checker:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def expect(self, condition, message):
        if condition:
            self.passed += 1
        else:
            self.failed += 1
            print("FAILED: " + message)


def check_face(check, font, source, face, parts):
    names = font.names()
    for name_id in (1, 4, 6):
        check.expect(names.get(name_id) == {face},
                     "%s: name %d is %r" % (face, name_id, names.get(name_id)))
    for name_id in PRIMARY_NAME_IDS:
        for text in names.get(name_id, ()):
            check.expect(not any(r in text.lower() for r in RESERVED),
                         "%s: name %d %r carries a reserved font name" % (face, name_id, text))
    legal = " ".join(names.get(0, set()) | names.get(13, set()))
    check.expect("SIL Open Font License" in legal and "1.1" in legal,
                 "%s: copyright and licence do not name the SIL Open Font License 1.1" % face)
    check.expect("Liberation Mono" in " ".join(names.get(0, ())),
                 "%s: the copyright notice does not say the face derives from Liberation Mono"
                 % face)
    check.expect(7 not in names, "%s: keeps the source's trademark notice" % face)

    check.expect((font.ascender, font.descender) == (source.ascender, source.descender),
                 "%s: line height changed to %d/%d" % (face, font.ascender, font.descender))

    top, bottom = font.ascender, font.descender
    for code in typed_repertoire() + [ord("_"), 0x2022]:
        char = "U+%04X %r" % (code, chr(code))
        if code not in font.cmap:
            check.expect(False, "%s: %s is missing" % (face, char))
            continue
        width = font.advance(code)
        check.expect(width == source.advance(code),
                     "%s: %s is %d units wide, Liberation Mono %d"
                     % (face, char, width, source.advance(code)))
        box = font.bounds(code)
        if box is None:
            check.expect(False, "%s: %s has no outline, so no frame" % (face, char))
            continue
        x_min, y_min, x_max, y_max = box
        if "rules" in parts:
            check.expect(y_min == bottom and y_max == top,
                         "%s: %s spans %d..%d, not the line %d..%d (no rules)"
                         % (face, char, y_min, y_max, bottom, top))
        if "left" in parts:
            check.expect(x_min == 0, "%s: %s starts at %d, not with a bar at 0"
                         % (face, char, x_min))
        if "right" in parts:
            check.expect(x_max == width, "%s: %s ends at %d, not with a bar at %d"
                         % (face, char, x_max, width))
        if "left" in parts and "right" in parts:
            continue
        if "wave" in parts:
            check.expect(y_min == bottom and x_min <= 0 and x_max >= width,
                         "%s: %s (%d,%d)..(%d,%d) has no line along the bottom of the cell"
                         % (face, char, x_min, y_min, x_max, y_max))
    if "wave" in parts:
        # A space carries nothing but the wave: it lies below the baseline.
        space = font.bounds(0x20)
        check.expect(space is not None and space[3] < 0,
                     "%s: the space's mark %r is not an underline" % (face, space))


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    font_dir, liberation_dir = sys.argv[1], sys.argv[2]
    check = Checker()
    sources = {style: TrueType(os.path.join(liberation_dir, "LiberationMono-%s.ttf" % style))
               for style in ("Regular", "Bold")}
    for face, file_name, style, parts in FACES:
        path = os.path.join(font_dir, file_name)
        if not os.path.isfile(path):
            check.expect(False, "%s missing" % path)
            continue
        check_face(check, TrueType(path), sources[style], face, parts)
    licence = os.path.join(font_dir, "OFL.txt")
    text = open(licence, encoding="utf-8").read() if os.path.isfile(licence) else ""
    check.expect("SIL OPEN FONT LICENSE Version 1.1" in text,
                 "%s does not hold the licence text" % licence)
    print("marking fonts: %d expectations met, %d not" % (check.passed, check.failed))
    return 1 if check.failed else 0


if __name__ == "__main__":
    sys.exit(main())
