#!/usr/bin/python3
"""Generates fonts/PARAS-N.ttf, the legacy-layout Sinhala font the user interface is drawn in.

LegacyText stores Sinhala as Latin-1 characters in the PARAS-N glyph layout (see
src/base/legacy_map.inc). This script builds a font whose cmap covers that layout and whose glyphs
are taken from Noto Sans Sinhala (OFL-1.1), so that a LegacyText string drawn in PARAS-N looks
exactly like its Unicode reading drawn in Noto Sans Sinhala:

* every legacy character gets a glyph made of the source glyphs that HarfBuzz produces for its
  Unicode reading (signs that sit on the previous letter keep zero width, ink to the left);
* every syllable (kombuva + consonant + rakaransaya/yansaya/repaya + sign + anusvaraya) whose
  Unicode reading the source font draws differently from the plain sequence of those glyphs gets a
  ligature glyph, a composite of the source glyphs at the positions HarfBuzz gives them. The
  ligatures live in GSUB feature 'rlig', which shapers always apply;
* the source font also adjusts the space between some neighbouring syllables (e.g. after the vowel
  letters before DA); those adjustments are measured with HarfBuzz and repeated as class-based pair
  positioning in GPOS feature 'dist', which shapers also always apply.

Digits, punctuation and Latin characters the Sinhala font lacks come from Noto Sans (and two
symbols from Noto Sans Symbols2). The output is deterministic: same inputs, same bytes.

Usage: make_paras_font.py [output.ttf]   (default: fonts/PARAS-N.ttf in the source tree)
"""

import copy
import json
import os
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from fontTools.feaLib.builder import addOpenTypeFeaturesFromString  # noqa: E402
from fontTools.fontBuilder import FontBuilder  # noqa: E402
from fontTools.ttLib import TTFont, newTable  # noqa: E402
from fontTools.ttLib.tables._g_l_y_f import Glyph, GlyphComponent  # noqa: E402

import legacy_sinhala as ls  # noqa: E402

NOTO_DIR = "/usr/share/fonts/truetype/noto"
SOURCES = {
    "sinh": os.path.join(NOTO_DIR, "NotoSansSinhala-Regular.ttf"),
    "latn": os.path.join(NOTO_DIR, "NotoSans-Regular.ttf"),
    "symb": os.path.join(NOTO_DIR, "NotoSansSymbols2-Regular.ttf"),
}
# Glyphs copied from the Latin and symbol fonts are renamed so that they cannot clash.
PREFIX = {"sinh": "", "latn": "latn.", "symb": "symb."}
DEFAULT_OUT = os.path.join(ls.ROOT, "fonts", "PARAS-N.ttf")
CAPTIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "captions.txt")

FAMILY = "PARAS-N"
VERSION = "1.000"
# head.created / head.modified: fixed, so that the output only depends on its inputs.
TIMESTAMP = 3786825600  # 2024-01-01T00:00:00Z in seconds since 1904-01-01
COPYRIGHT = ("Copyright 2016 Google Inc. All Rights Reserved. "
             "PARAS-N glyph layout and composition by the Parcelon developers.")
LICENSE = ("This Font Software is licensed under the SIL Open Font License, Version 1.1. "
           "This Font Software is distributed on an \"AS IS\" BASIS, WITHOUT WARRANTIES OR "
           "CONDITIONS OF ANY KIND, either express or implied. See the SIL Open Font License "
           "for the specific language, permissions and limitations governing your use of this "
           "Font Software.")
DESCRIPTION = ("Sinhala in the legacy PARAS-N glyph layout, drawn with glyphs from Google's "
               "OFL-licensed Sinhala and Latin fonts. Font names were changed; no Reserved Font "
               "Name is used.")

DOTTED_CIRCLE = "\u25CC"
SIGNS_AFTER = ["", "a", "A", "d", "e", "E", "s", "S", "q", "Q", "=", "+", "D", "DD", "!", "!!"]
SIGNS_WITH_KOMBUVA = ["", "a", "A", "d", "da", "!"]
STRUCTS = ["", "%", "H", "_"]
FINALS = ["", "x"]


class Shaper:
    """Runs hb-shape over many texts at once (one text per line)."""

    def __init__(self, fontfile):
        self.fontfile = fontfile
        self.cache = {}

    def shape(self, texts):
        todo = sorted(set(t for t in texts if t not in self.cache))
        if todo:
            with tempfile.TemporaryDirectory() as d:
                path = os.path.join(d, "in.txt")
                with open(path, "w", encoding="utf-8") as f:
                    f.write("\n".join(todo) + "\n")
                out = subprocess.run(
                    ["hb-shape", "--no-glyph-names", "--output-format=json",
                     "--text-file=" + path, self.fontfile],
                    check=True, capture_output=True, text=True).stdout.splitlines()
            if len(out) != len(todo):
                raise RuntimeError("hb-shape returned %d lines for %d texts" % (len(out), len(todo)))
            for t, line in zip(todo, out):
                self.cache[t] = json.loads(line)
        return [self.cache[t] for t in texts]


class Source:
    def __init__(self, key):
        self.key = key
        self.font = TTFont(SOURCES[key])
        self.order = self.font.getGlyphOrder()
        self.cmap = self.font.getBestCmap()
        self.shaper = Shaper(SOURCES[key])
        dc = self.cmap.get(ord(DOTTED_CIRCLE))
        self.dotted = self.order.index(dc) if dc else -1

    def has(self, text):
        return all(ord(c) in self.cmap for c in text)

    def layout(self, text):
        """Glyphs and positions HarfBuzz gives `text`: ([(name, x, y)], advance).

        Dotted circles the shaper inserts for a sign without a consonant are left out, and take no
        room, so the sign overlaps whatever precedes it."""
        return self.layouts([text])[0]

    def layouts(self, texts):
        res = []
        for shaped in self.shaper.shape(texts):
            pen = 0
            comps = []
            for g in shaped:
                if g["g"] == self.dotted:
                    continue
                comps.append((PREFIX[self.key] + self.order[g["g"]], pen + g["dx"], g["dy"]))
                pen += g["ax"]
            res.append((tuple(comps), pen))
        return res

    def has_dotted_circle(self, text):
        return any(g["g"] == self.dotted for g in self.shaper.shape([text])[0])


def glyph_name(legacy):
    return "L" + "_".join("%04X" % ord(c) for c in legacy)


def read_captions():
    if not os.path.exists(CAPTIONS):
        return []
    with open(CAPTIONS, encoding="utf-8") as f:
        return [line.rstrip("\n") for line in f if line.strip() and not line.startswith("#")]


def candidate_syllables():
    """Legacy spellings of the syllables the font draws as one ligature."""
    table = ls.TABLE
    cons = sorted(k for k, e in table.items() if e.cls == "cons")
    out = []
    for b in cons:
        for st in STRUCTS:
            for s in SIGNS_AFTER:
                for fin in FINALS:
                    out.append(b + st + s + fin)
            for s in SIGNS_WITH_KOMBUVA:
                for fin in FINALS:
                    out.append("f" + b + st + s + fin)
            out.append("ff" + b + st)
            out.append("ff" + b + st + "x")
        # '%' may also be typed after the sign
        for s in ["a", "s", "S", "d"]:
            out.append(b + s + "%")
        for s in ["a", "d", "da"]:
            out.append("f" + b + s + "%")
    for k, e in sorted(table.items()):
        if e.cls in ("conshal", "syl", "vowel"):
            out.append(k)
            out.append(k + "x")
        if e.cls == "conshal":
            out.append("f" + k)
            out.append("f" + k + "x")
    return out


def build(out_path):
    src = {k: Source(k) for k in SOURCES}
    sinh = src["sinh"]

    # --- the glyph of each legacy character -----------------------------------------------
    singles = {}  # legacy char -> ((components), advance)
    for k, e in sorted(ls.TABLE.items()):
        if len(k) != 1:
            continue
        if e.cls == "space":
            singles[k] = ((), sinh.font["hmtx"]["space"][0])
            continue
        text = e.unicode if e.unicode is not None else k  # no reading: draw the Latin-1 character
        for key in ("sinh", "latn", "symb"):
            if src[key].has(text):
                singles[k] = src[key].layout(text)
                break
        else:
            raise RuntimeError("no source glyph for %r" % k)

    # --- ligatures -------------------------------------------------------------------------
    candidates = candidate_syllables()
    for cap in read_captions():
        candidates.extend(run for run, _, ok in ls.syllables(cap) if ok and len(run) > 1)
    cands = []
    seen = set()
    for c in candidates:
        if c in seen:
            continue
        seen.add(c)
        uni, bad = ls.convert(c)
        if bad or len(ls.syllables(c)) != 1:
            continue
        cands.append((c, uni))
    shaped = sinh.layouts([u for _, u in cands])
    ligatures = {}  # legacy string -> layout
    # Shortest first: a longer syllable only needs its own glyph when the shorter ligatures and
    # the single glyphs do not already draw it exactly.
    order = sorted(range(len(cands)), key=lambda i: (len(cands[i][0]), cands[i][0]))
    for i in order:
        legacy, uni = cands[i]
        if sinh.has_dotted_circle(uni):
            continue
        if draw(legacy, singles, ligatures) != shaped[i]:
            ligatures[legacy] = shaped[i]

    pairs = pair_adjustments(sinh, singles, ligatures)

    # --- assemble the font -----------------------------------------------------------------
    glyphs = {".notdef": None}
    metrics = {}
    cmap = {}
    for k, (comps, adv) in sorted(singles.items()):
        name = glyph_name(k)
        glyphs[name] = composite(comps)
        metrics[name] = adv
        cmap[ord(k)] = name
        if ord(k) > 0xFF:
            # Bytes 0x80-0x9F read as ISO 8859-1 give C1 code points; draw those the same way.
            try:
                b = k.encode("cp1252")
                if 0x80 <= b[0] <= 0x9F:
                    cmap[b[0]] = name
            except UnicodeEncodeError:
                pass
    for legacy, (comps, adv) in sorted(ligatures.items()):
        name = glyph_name(legacy)
        glyphs[name] = composite(comps)
        metrics[name] = adv

    # Source glyphs used as components, with everything they refer to.
    needed = []
    for g in list(glyphs.values()):
        if g is not None:
            needed.extend(c.glyphName for c in getattr(g, "components", []))
    copied = {}
    while needed:
        name = needed.pop()
        if name in copied:
            continue
        key = next((k for k, p in PREFIX.items() if p and name.startswith(p)), "sinh")
        orig = name[len(PREFIX[key]):]
        g = copy.deepcopy(src[key].font["glyf"][orig])
        g.expand(src[key].font["glyf"])
        if g.isComposite():
            for c in g.components:
                c.glyphName = PREFIX[key] + c.glyphName
                needed.append(c.glyphName)
        g.removeHinting()
        copied[name] = g
        metrics[name] = src[key].font["hmtx"][orig][0]
    notdef = copy.deepcopy(sinh.font["glyf"][".notdef"])
    notdef.removeHinting()
    glyphs[".notdef"] = notdef
    metrics[".notdef"] = sinh.font["hmtx"][".notdef"][0]
    for name in sorted(copied):
        glyphs[name] = copied[name]
    glyph_order = list(glyphs.keys())

    fb = FontBuilder(1000, isTTF=True)
    fb.setupGlyphOrder(glyph_order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(glyphs)
    glyf = fb.font["glyf"]
    hmtx = {}
    ymax, ymin = 0, 0
    for name in glyph_order:
        g = glyf[name]
        g.recalcBounds(glyf)
        xmin = getattr(g, "xMin", 0) if g.numberOfContours else 0
        hmtx[name] = (metrics[name], xmin)
        if g.numberOfContours:
            ymax, ymin = max(ymax, g.yMax), min(ymin, g.yMin)
    fb.setupHorizontalMetrics(hmtx)
    s_hhea = sinh.font["hhea"]
    s_os2 = sinh.font["OS/2"]
    fb.setupHorizontalHeader(ascent=s_hhea.ascent, descent=s_hhea.descent, lineGap=s_hhea.lineGap)
    fb.setupNameTable({
        "copyright": COPYRIGHT,
        "familyName": FAMILY,
        "styleName": "Regular",
        "uniqueFontIdentifier": "%s;%s" % (FAMILY, VERSION),
        "fullName": FAMILY,
        "version": "Version " + VERSION,
        "psName": FAMILY,
        "description": DESCRIPTION,
        "licenseDescription": LICENSE,
        "licenseInfoURL": "https://openfontlicense.org",
    }, mac=False)
    fb.setupOS2(
        version=4,
        achVendID="NONE",
        usWeightClass=400,
        usWidthClass=5,
        fsType=0,
        fsSelection=0x40 | 0x80,  # REGULAR, USE_TYPO_METRICS
        sTypoAscender=s_os2.sTypoAscender,
        sTypoDescender=s_os2.sTypoDescender,
        sTypoLineGap=s_os2.sTypoLineGap,
        usWinAscent=max(s_os2.usWinAscent, ymax),
        usWinDescent=max(s_os2.usWinDescent, -ymin),
        sxHeight=s_os2.sxHeight,
        sCapHeight=s_os2.sCapHeight,
        ulUnicodeRange1=(1 << 0) | (1 << 1) | (1 << 31),  # Basic Latin, Latin-1, punctuation
        ulUnicodeRange2=0, ulUnicodeRange3=0, ulUnicodeRange4=0,
        ulCodePageRange1=1,  # Latin 1
        ulCodePageRange2=0,
    )
    fb.setupPost(keepGlyphNames=False)
    fb.setupMaxp()
    fb.font["head"].created = TIMESTAMP
    fb.font["head"].modified = TIMESTAMP
    fb.font["head"].fontRevision = float(VERSION)
    gasp = newTable("gasp")
    gasp.gaspRange = {0xFFFF: 0x000A}  # grey scale, symmetric smoothing, no grid fitting
    fb.font["gasp"] = gasp

    addOpenTypeFeaturesFromString(fb.font, features(ligatures, pairs))

    fb.font.recalcTimestamp = False
    os.makedirs(os.path.dirname(os.path.abspath(out_path)), exist_ok=True)
    fb.font.save(out_path)
    return singles, ligatures, pairs


def units(legacy, singles, ligatures):
    """The glyphs the font draws for `legacy` (greedy longest-match ligatures, as a shaper does)."""
    out = []
    i = 0
    while i < len(legacy):
        for n in range(len(legacy) - i, 1, -1):
            if legacy[i:i + n] in ligatures:
                out.append(legacy[i:i + n])
                i += n
                break
        else:
            out.append(ls.normalise_c1(legacy[i]))
            i += 1
    return out


def draw(legacy, singles, ligatures, pairs=None):
    """Glyphs and positions the font gives `legacy`, as ([(source glyph, x, y)], advance)."""
    comps = []
    pen = 0
    prev = None
    for u in units(legacy, singles, ligatures):
        if pairs and prev is not None:
            pen += pairs[1].get((pairs[0][0].get(prev), pairs[0][1].get(u)), 0)
        cs, adv = ligatures[u] if len(u) > 1 else singles[u]
        comps.extend((g, pen + x, y) for g, x, y in cs)
        pen += adv
        prev = u
    return tuple(comps), pen


def pair_adjustments(sinh, singles, ligatures):
    """Spacing the source font applies between two neighbouring syllables.

    The source font positions pairs of glyphs by the last non-mark glyph of the first syllable and
    the first non-mark glyph of the second. Our glyphs are grouped the same way, and for each pair
    of groups the adjustment is measured by shaping two representative syllables together and
    apart. Returns ((first group of each unit, second group of each unit), {(g1, g2): value})."""
    gdef = sinh.font["GDEF"].table.GlyphClassDef.classDefs
    everything = dict(singles)
    everything.update(ligatures)
    first_of, last_of = {}, {}
    reps_first, reps_last = {}, {}
    for legacy, (comps, adv) in sorted(everything.items(), key=lambda kv: (len(kv[0]), kv[0])):
        uni, bad = ls.convert(legacy)
        entry = ls.TABLE.get(legacy)
        kombuva = entry is not None and entry.cls == "kombuva"
        if bad and not kombuva:
            continue
        if not sinh.has(uni):
            continue
        bases = [g for g, _, _ in comps if gdef.get(g) != 3]
        if not bases or adv == 0:
            continue
        first_of[legacy] = bases[0]
        if not kombuva:
            last_of[legacy] = bases[-1]
            reps_last.setdefault(bases[-1], legacy)
            if bases[0] != "evowelsignsinh" and bases[0] != "aivowelsignsinh":
                reps_first.setdefault(bases[0], legacy)
    # A syllable that starts with a kombuva glyph: represent it by a kombuva ligature or by kombuva + KA.
    for legacy in sorted(first_of, key=lambda s: (len(s), s)):
        g = first_of[legacy]
        if g not in reps_first:
            probe = legacy if legacy in ligatures else legacy + "l"
            if not ls.convert(probe)[1]:
                reps_first[g] = probe
    a_list = sorted(reps_last)
    b_list = sorted(reps_first)
    texts = []
    for a in a_list:
        for b in b_list:
            texts.append(ls.convert(reps_last[a])[0] + ls.convert(reps_first[b])[0])
    together = sinh.layouts(texts)
    value = {}
    it = iter(together)
    for a in a_list:
        x_lay = sinh.layout(ls.convert(reps_last[a])[0])
        for b in b_list:
            y_lay = sinh.layout(ls.convert(reps_first[b])[0])
            comps, adv = next(it)
            d = adv - x_lay[1] - y_lay[1]
            shifted = x_lay[0] + tuple((g, x + x_lay[1] + d, y) for g, x, y in y_lay[0])
            if d and comps == shifted:
                value[(a, b)] = d
    return (last_of, first_of), value


def composite(comps):
    g = Glyph()
    if not comps:
        g.numberOfContours = 0
        return g
    g.numberOfContours = -1
    g.components = []
    for name, x, y in comps:
        c = GlyphComponent()
        c.glyphName = name
        c.x, c.y = x, y
        c.flags = 0
        g.components.append(c)
    return g


def features(ligatures, pairs):
    lines = ["languagesystem DFLT dflt;", "languagesystem latn dflt;", "", "lookup syllables {"]
    for legacy in sorted(ligatures, key=lambda s: (-len(s), s)):
        lines.append("  sub %s by %s;" % (" ".join(glyph_name(c) for c in legacy), glyph_name(legacy)))
    lines += ["} syllables;", "", "feature rlig {", "  lookup syllables;", "} rlig;", ""]
    (last_of, first_of), value = pairs
    used_a = sorted(set(a for a, _ in value))
    used_b = sorted(set(b for _, b in value))
    ids_a = {a: i for i, a in enumerate(used_a)}
    ids_b = {b: i for i, b in enumerate(used_b)}
    for a in used_a:
        members = sorted(glyph_name(u) for u, g in last_of.items() if g == a)
        lines.append("@first%d = [%s];" % (ids_a[a], " ".join(members)))
    for b in used_b:
        members = sorted(glyph_name(u) for u, g in first_of.items() if g == b)
        lines.append("@second%d = [%s];" % (ids_b[b], " ".join(members)))
    lines.append("lookup spacing {")
    for (a, b), v in sorted(value.items()):
        lines.append("  pos @first%d @second%d %d;" % (ids_a[a], ids_b[b], v))
    lines += ["} spacing;", "", "feature dist {", "  lookup spacing;", "} dist;", ""]
    return "\n".join(lines)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUT
    singles, ligatures, pairs = build(out)
    print("%s: %d characters, %d syllable ligatures, %d spacing pairs"
          % (out, len(singles), len(ligatures), len(pairs[1])))


if __name__ == "__main__":
    main()
