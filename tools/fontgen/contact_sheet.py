#!/usr/bin/python3
"""Draws every LegacyText caption and message of the user interface in PARAS-N, beside its Unicode
reading drawn in Noto Sans Sinhala, into one PNG, for people to proofread the font and the layout.

Each row: a small Latin line with the row number, the LegacyText as typed and, in red, where the
converter found characters that are not valid Sinhala; below it the PARAS-N drawing (left) and the
Unicode drawing (right). Needs hb-view (libharfbuzz-bin) and ImageMagick.

Usage: contact_sheet.py [output.png] [--size PIXELS]
"""

import argparse
import os
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import legacy_sinhala as ls  # noqa: E402
from make_paras_font import CAPTIONS, DEFAULT_OUT, SOURCES, read_captions  # noqa: E402

CONVERT = "/usr/bin/convert"
LABEL_FONT = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"


def hb_view(font, text, size, out):
    # hb-view (cairo) cuts off the right part of a wide last glyph of a line; a trailing space keeps
    # the last syllable whole. Qt draws these glyphs whole without it.
    subprocess.run(["hb-view", "--font-size=%d" % size, "--margin=4 12", "--text=" + text + " ",
                    "--output-file=" + out, font], check=True)


def width(png):
    return int(subprocess.run([CONVERT, png, "-format", "%w", "info:"], check=True,
                              capture_output=True, text=True).stdout)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("output", nargs="?", default="paras-n-contact-sheet.png")
    ap.add_argument("--size", type=int, default=28, help="font size in pixels")
    ap.add_argument("--font", default=DEFAULT_OUT, help="the PARAS-N font to draw with")
    args = ap.parse_args()

    captions = read_captions()
    if not captions:
        sys.exit("no captions in " + CAPTIONS)
    with tempfile.TemporaryDirectory() as tmp:
        rows = []
        for i, legacy in enumerate(captions):
            uni, bad = ls.convert(legacy)
            a = os.path.join(tmp, "%03d-legacy.png" % i)
            b = os.path.join(tmp, "%03d-unicode.png" % i)
            hb_view(args.font, legacy, args.size, a)
            hb_view(SOURCES["sinh"], uni, args.size, b)
            rows.append((legacy, bad, a, b))
        col = max(width(a) for _, _, a, _ in rows)
        files = []
        for i, (legacy, bad, a, b) in enumerate(rows):
            note = "%d.  %s" % (i + 1, legacy)
            colour = "black"
            if bad:
                marks = ", ".join("%d '%s'" % (p, legacy[p]) for p in bad)
                note += "      not valid Sinhala at " + marks
                colour = "red3"
            row = os.path.join(tmp, "%03d-row.png" % i)
            subprocess.run([
                CONVERT, "-background", "white",
                "(", "-font", LABEL_FONT, "-pointsize", str(max(10, args.size // 2)), "-fill", colour,
                "label:" + note.replace("%", "%%").replace("\\", "\\\\"), ")",
                "(", a, "-gravity", "West", "-extent", "%dx" % (col + 24), b, "+append", ")",
                "-gravity", "West", "-append",
                "-bordercolor", "gray80", "-border", "0x1", row], check=True)
            files.append(row)
        header = os.path.join(tmp, "header.png")
        subprocess.run([CONVERT, "-background", "white", "-font", LABEL_FONT, "-pointsize",
                        str(args.size), "label:PARAS-N (left)  |  Unicode reading in Noto Sans Sinhala"
                        " (right)", header], check=True)
        subprocess.run([CONVERT, "-background", "white", header] + files +
                       ["-gravity", "West", "-append", "-bordercolor", "white", "-border", "10",
                        args.output], check=True)
    print(args.output)


if __name__ == "__main__":
    main()
