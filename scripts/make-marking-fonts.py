#!/usr/bin/python3
"""Generate the five marking typefaces from Liberation Mono (SIL Open Font License 1.1).

Error marking draws a wrong word in three faces: its first character in "Courier1", the
characters after it in "Courierraam" and its last character in "Courier2"; a word of one or two
characters is drawn whole in "Courier3" and a repeated error in "DoCourier". Every glyph keeps
the advance width of Liberation Mono, which matches Courier New, so a marked line never reflows
and every position recorded before marking stays valid. The frame is drawn into each glyph cell
from edge to edge, so the rules of neighbouring characters join into one frame around the word:

    Courier1     left bar, top and bottom rule
    Courierraam  top and bottom rule
    Courier2     top and bottom rule, right bar
    Courier3     all four sides
    DoCourier    a wavy line along the bottom of the line

Ink that would touch a rule or bar is moved or narrowed into the free part of the cell. The
vertical metrics are those of the source face, so a marked line is as tall as an unmarked one.

Needs FontForge's Python module (Debian: python3-fontforge) and Liberation Mono 2.x (Debian:
fonts-liberation2; the 1.x fonts of fonts-liberation are not under the OFL and are refused).

Usage: make-marking-fonts.py --out-dir DIR [--source-dir DIR] [--license FILE] [--font-version V]
Writes Cour1.ttf, CourRaam.ttf, Cour2.ttf, Cour3.ttf, cournuut.ttf and OFL.txt into DIR.
       make-marking-fonts.py --check-source [--source-dir DIR]
Only tells (exit status 0 or 1, with the reason) whether the source faces can be used.
"""

import argparse
import math
import os
import shutil
import sys
import tempfile

SOURCE_DIRS = (
    "/usr/share/fonts/truetype/liberation2",
    "/usr/share/fonts/truetype/liberation",
)

# Design units of a 2048-unit em: 128 units are one pixel at 12 pt on a 96 dpi screen, the
# size of the speed-test pane, so the thinnest frame line still covers a whole pixel there.
RULE = 128
BAR = 128
CLEARANCE = 48  # free space kept between ink and frame
WAVE_AMPLITUDE = 96  # a wave about two pixels high at 12 pt
WAVE_THICKNESS = 96
WAVE_STEPS = 32  # straight segments per wave period

# (face name, file name, source style, frame parts)
FACES = (
    ("Courier1", "Cour1.ttf", "Bold", {"left", "top", "bottom"}),
    ("Courierraam", "CourRaam.ttf", "Bold", {"top", "bottom"}),
    ("Courier2", "Cour2.ttf", "Bold", {"top", "bottom", "right"}),
    ("Courier3", "Cour3.ttf", "Bold", {"left", "top", "bottom", "right"}),
    ("DoCourier", "cournuut.ttf", "Regular", {"wave"}),
)

# The error faces are always applied together with bold, so they are cut from the bold
# outlines; a repeat keeps the weight of the typed text and uses the regular ones.

RESERVED_NAMES = ("Liberation", "Cousine", "Arimo", "Tinos")


def coverage():
    """Code points a learner types in English and Afrikaans on a Western keyboard."""
    points = set(range(0x20, 0x7F))  # Basic Latin
    points |= set(range(0xA0, 0x100))  # Latin-1 Supplement
    points |= set(range(0x100, 0x180))  # Latin Extended-A (ŉ among others)
    for byte in range(0x80, 0xA0):  # the Windows-1252 extras: € ‚ ƒ „ … ’ “ ” • – — ™ …
        try:
            points.add(ord(bytes([byte]).decode("cp1252")))
        except UnicodeDecodeError:
            pass  # the five unassigned bytes
    points |= set(range(0x2010, 0x2028))  # dashes, quotes, bullet, ellipsis
    points |= set(range(0x2030, 0x203B))  # per mille, single guillemets
    points |= {0x20AC, 0x2122, 0x2212}  # euro, trade mark, minus
    return points


class MarkingFontError(Exception):
    pass


def fail(message):
    raise MarkingFontError(message)


def find_source_dir(requested):
    candidates = (requested,) if requested else SOURCE_DIRS
    for folder in candidates:
        if all(os.path.isfile(os.path.join(folder, "LiberationMono-%s.ttf" % style))
               for style in ("Regular", "Bold")):
            return folder
    fail("Liberation Mono (LiberationMono-Regular.ttf and LiberationMono-Bold.ttf) not found in "
         + ", ".join(candidates) + "; install the Debian package fonts-liberation2")
    return None


def sfnt_name(font, key):
    for language, name_id, value in font.sfnt_names:
        if name_id == key and language == "English (US)":
            return value
    return ""


def check_open_font_license(font, path):
    license_text = sfnt_name(font, "License")
    if "Open Font License" not in license_text:
        fail("%s is not licensed under the SIL Open Font License (its licence reads %r); "
             "only Liberation Mono 2.x may be modified and shipped: install fonts-liberation2"
             % (path, license_text[:80]))


def rectangle(fontforge, x0, y0, x1, y1):
    contour = fontforge.contour()
    contour.is_quadratic = True
    contour.moveTo(x0, y0)
    contour.lineTo(x0, y1)
    contour.lineTo(x1, y1)
    contour.lineTo(x1, y0)
    contour.closed = True
    return contour


def wave(fontforge, width, centre):
    """One period of a sine-shaped band across the cell; it starts and ends at the same height,
    so the bands of neighbouring characters join into one wavy line."""
    upper, lower = [], []
    for step in range(WAVE_STEPS + 1):
        x = width * step / WAVE_STEPS
        y = centre + WAVE_AMPLITUDE * math.sin(2 * math.pi * step / WAVE_STEPS)
        upper.append((x, y + WAVE_THICKNESS / 2))
        lower.append((x, y - WAVE_THICKNESS / 2))
    contour = fontforge.contour()
    contour.is_quadratic = True
    points = upper + list(reversed(lower))
    contour.moveTo(*points[0])
    for point in points[1:]:
        contour.lineTo(*point)
    contour.closed = True
    return contour


def fit_interval(low, high, inner_low, inner_high):
    """A map that moves the ink [low, high] into [inner_low, inner_high]: a shift when the ink
    fits, otherwise an even narrowing that keeps whichever edge was already inside."""
    if low >= inner_low and high <= inner_high:
        return lambda v: v
    if high - low <= inner_high - inner_low:
        shift = inner_low - low if low < inner_low else inner_high - high
        return lambda v: v + shift
    new_low, new_high = max(low, inner_low), min(high, inner_high)
    scale = (new_high - new_low) / (high - low)
    return lambda v: new_low + (v - low) * scale


def squeeze_above(top, limit, pivot):
    """Compress the part above `pivot` (accents over capitals) so that it ends at `limit`."""
    if top <= limit:
        return lambda v: v
    scale = (limit - pivot) / (top - pivot)
    return lambda v: v if v <= pivot else pivot + (v - pivot) * scale


def squeeze_below(bottom, limit):
    """Shorten descenders, which hang below the baseline, so that they end at `limit`."""
    if bottom >= limit:
        return lambda v: v
    scale = limit / bottom
    return lambda v: v if v >= 0 else v * scale


def map_points(fontforge, glyph, fx, fy):
    layer = glyph.foreground
    moved = fontforge.layer()
    moved.is_quadratic = bool(layer.is_quadratic)
    for contour in layer:
        if len(contour) < 3:
            continue  # lone points anchor the source hints and carry no ink
        copy = fontforge.contour()
        copy.is_quadratic = moved.is_quadratic
        for point in contour:
            copy += fontforge.point(fx(point.x), fy(point.y), point.on_curve)
        copy.closed = contour.closed
        moved += copy
    glyph.foreground = moved


def frame_glyph(fontforge, glyph, parts, line_top, line_bottom, cap_height):
    width = glyph.width  # kept: marking must not move a single character
    inner_top = line_top - RULE - CLEARANCE
    if "wave" in parts:
        # Descenders may cross the wave, as they cross any wavy underline: shortening them
        # enough to clear a wave that shows at 12 pt would make g, p and y hard to read.
        wave_centre = line_bottom + WAVE_AMPLITUDE + WAVE_THICKNESS / 2
        inner_bottom = -math.inf
    else:
        inner_bottom = line_bottom + RULE + CLEARANCE

    if len(glyph.foreground) > 0:
        x_min, y_min, x_max, y_max = glyph.boundingBox()
        # Without a bar a side keeps the ink as it is, overhang included (an underscore
        # reaches into its neighbours so that a run of them reads as one line).
        inner_left = BAR + CLEARANCE if "left" in parts else min(0, x_min)
        inner_right = width - BAR - CLEARANCE if "right" in parts else max(width, x_max)
        fx = fit_interval(x_min, x_max, inner_left, inner_right)
        fy_top = squeeze_above(y_max, inner_top, cap_height)
        fy_bottom = squeeze_below(y_min, inner_bottom)
        map_points(fontforge, glyph, fx, lambda v: fy_bottom(fy_top(v)))

    layer = glyph.foreground
    if "top" in parts:
        layer += rectangle(fontforge, 0, line_top - RULE, width, line_top)
    if "bottom" in parts:
        layer += rectangle(fontforge, 0, line_bottom, width, line_bottom + RULE)
    if "left" in parts:
        layer += rectangle(fontforge, 0, line_bottom, BAR, line_top)
    if "right" in parts:
        layer += rectangle(fontforge, width - BAR, line_bottom, width, line_top)
    if "wave" in parts:
        layer += wave(fontforge, width, wave_centre)
    glyph.foreground = layer
    glyph.removeOverlap()
    glyph.correctDirection()
    glyph.round()
    glyph.width = width
    glyph.ttinstrs = b""  # the source hints address outlines that no longer exist


def reduce_to_coverage(font):
    """Keep the typed repertoire, without substitutions or positioning: a ligature or a
    contextual form would replace the per-character frame pieces."""
    wanted = coverage()
    keep = {".notdef"}
    for glyph in font.glyphs():
        if glyph.unicode in wanted:
            keep.add(glyph.glyphname)
    for name in keep:
        if name in font and font[name].references:
            font[name].unlinkRef()  # composites would otherwise point at removed glyphs
    for lookup in tuple(font.gsub_lookups) + tuple(font.gpos_lookups):
        font.removeLookup(lookup)
    for name in [glyph.glyphname for glyph in font.glyphs()]:
        if name not in keep:
            font.removeGlyph(name)
    return keep


def set_names(font, face, source_version, font_version):
    font.familyname = face
    font.fullname = face
    font.fontname = face
    font.version = font_version
    font.os2_vendor = "VELA"
    notice = ("Derived from Liberation Mono %s. Digitized data copyright (c) 2010 Google "
              "Corporation, with Reserved Font Arimo, Tinos and Cousine. Copyright (c) 2012 "
              "Red Hat, Inc., with Reserved Font Name Liberation. Modified for error marking "
              "by the Vela Keystride project; licensed under the SIL Open Font License, "
              "Version 1.1." % source_version)
    font.copyright = notice
    style = "Bold" if font.os2_weight >= 700 else "Regular"
    font.weight = style
    language = "English (US)"
    font.sfnt_names = (
        (language, "Copyright", notice),
        (language, "Family", face),
        (language, "SubFamily", style),
        (language, "UniqueID", "Vela Keystride: %s %s" % (face, font_version)),
        (language, "Fullname", face),
        (language, "Version", "Version %s; derived from Liberation Mono %s"
         % (font_version, source_version)),
        (language, "PostScriptName", face),
        (language, "Manufacturer", "Vela Keystride project"),
        (language, "Descriptor", "Marking face of Vela Keystride: Liberation Mono with frame "
         "lines for marking typing errors; advance widths unchanged."),
        (language, "License", "This Font Software is licensed under the SIL Open Font "
         "License, Version 1.1."),
        (language, "License URL", "https://openfontlicense.org"),
    )


def make_face(fontforge, source_path, face, file_name, parts, out_dir, font_version):
    font = fontforge.open(source_path)
    check_open_font_license(font, source_path)
    source_version = sfnt_name(font, "Version").replace("Version ", "") or font.version
    line_top, line_bottom = font.hhea_ascent, font.hhea_descent
    if font.hhea_ascent_add or font.hhea_descent_add:  # offsets from the em box
        line_top, line_bottom = font.ascent + font.hhea_ascent, -font.descent + font.hhea_descent
    cap_height = font.capHeight if font.capHeight > 0 else 0.66 * font.em

    keep = reduce_to_coverage(font)
    for name in keep:
        if name in font:
            frame_glyph(fontforge, font[name], parts, line_top, line_bottom, cap_height)
    set_names(font, face, source_version, font_version)
    for _, key, value in font.sfnt_names:
        if key in ("Family", "SubFamily", "Fullname", "PostScriptName", "UniqueID", "Preferred Family",
                   "Preferred Styles", "Compatible Full", "WWS Family"):
            if any(reserved.lower() in value.lower() for reserved in RESERVED_NAMES):
                fail("the name %r of %s carries a reserved font name" % (value, face))
    font.gasp_version = 1
    font.gasp = ((65535, ("antialias", "symmetric-smoothing")),)

    target = os.path.join(out_dir, file_name)
    partial = os.path.join(out_dir, ".partial-" + file_name)  # the suffix picks the format
    font.generate(partial, flags=("opentype", "omit-instructions", "no-FFTM-table"))
    font.close()
    os.replace(partial, target)  # a failed run never leaves a half-written face behind


def run():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out-dir")
    parser.add_argument("--check-source", action="store_true",
                        help="only check that the source faces exist and are under the OFL")
    parser.add_argument("--source-dir", help="folder holding LiberationMono-{Regular,Bold}.ttf")
    parser.add_argument("--license", default=os.path.join(here, "..", "fonts", "OFL.txt"),
                        help="licence text shipped beside the fonts")
    parser.add_argument("--font-version", default="1.000")
    args = parser.parse_args()

    try:
        import fontforge
    except ImportError:
        fail("the FontForge Python module is missing; install the Debian package "
             "python3-fontforge and run this script with /usr/bin/python3")
    source_dir = find_source_dir(args.source_dir)
    if args.check_source:
        for style in ("Regular", "Bold"):
            path = os.path.join(source_dir, "LiberationMono-%s.ttf" % style)
            font = fontforge.open(path)
            check_open_font_license(font, path)
            font.close()
        print(source_dir)
        return 0
    if not args.out_dir:
        fail("--out-dir is missing: where should the fonts go?")
    if not os.path.isfile(args.license):
        fail("licence text %s not found" % args.license)
    os.makedirs(args.out_dir, exist_ok=True)
    # FontForge reports every glyph whose instructions it drops; the run's own result is what
    # matters, so its chatter goes to a scratch file that is shown only when generation fails.
    with tempfile.TemporaryFile(mode="w+") as chatter:
        saved_stderr = os.dup(2)
        os.dup2(chatter.fileno(), 2)
        try:
            for face, file_name, style, parts in FACES:
                source = os.path.join(source_dir, "LiberationMono-%s.ttf" % style)
                make_face(fontforge, source, face, file_name, parts, args.out_dir,
                          args.font_version)
        except MarkingFontError:
            raise
        except Exception as error:  # FontForge raises plain EnvironmentError and friends
            os.dup2(saved_stderr, 2)
            chatter.seek(0)
            sys.stderr.write(chatter.read()[-4000:])
            fail("generating %s failed: %s" % (face, error))
        finally:
            os.dup2(saved_stderr, 2)
            os.close(saved_stderr)
    shutil.copyfile(args.license, os.path.join(args.out_dir, "OFL.txt"))
    return 0


def main():
    try:
        return run()
    except MarkingFontError as error:
        print("make-marking-fonts: %s" % error, file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main())
