#!/usr/bin/python3
"""Reading of PARAS-N LegacyText in Python, for the font generator and the contact sheet.

The rules are the same as the C++ converter (src/base/legacyconvert.cpp) and both read the same
table, src/base/legacy_map.inc. LegacyText is kept in visual order, the way it was typed for the
legacy font: the kombuva ("f") comes before its consonant, rakaransaya "%", yansaya "H" and
repaya "_" follow it. A syllable is: kombuva(s), a base, then signs/structure marks/finals.
"""

import os

HAL = "\u0DCA"
ZWJ = "\u200D"
SIGN_E = "\u0DD9"
SIGN_EE = "\u0DDA"
SIGN_AI = "\u0DDB"
SIGN_O = "\u0DDC"
SIGN_OO = "\u0DDD"
SIGN_AU = "\u0DDE"
SIGN_AA = "\u0DCF"
SIGN_AU_LENGTH = "\u0DDF"
RAKAR = HAL + ZWJ + "\u0DBB"
YANSA = HAL + ZWJ + "\u0DBA"
REPAYA = "\u0DBB" + HAL + ZWJ

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
TABLE_PATH = os.path.join(ROOT, "src", "base", "legacy_map.inc")

BASE_CLASSES = ("cons", "conshal", "syl")
TAIL_CLASSES = ("sign", "final", "struct")


class Entry:
    def __init__(self, legacy, unicode, cls):
        self.legacy = legacy
        self.unicode = unicode  # None when the character has no reading
        self.cls = cls


def _cps(field):
    if field == "-":
        return None
    return "".join(chr(int(x, 16)) for x in field.split())


def load_table(path=TABLE_PATH):
    entries = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#") or line.startswith("R\"") or line.startswith(")"):
                continue
            cols = line.split("\t")
            legacy = _cps(cols[0])
            entries[legacy] = Entry(legacy, _cps(cols[1]), cols[2])
    return entries


TABLE = load_table()
MAX_KEY = max(len(k) for k in TABLE)


def normalise_c1(ch):
    """A byte 0x80-0x9F read as ISO 8859-1 gives a C1 control; the layout means its Windows-1252 character."""
    o = ord(ch)
    if 0x80 <= o <= 0x9F:
        try:
            return bytes([o]).decode("cp1252")
        except UnicodeDecodeError:
            return ch
    return ch


class Token:
    def __init__(self, pos, text, entry):
        self.pos = pos
        self.text = text
        self.entry = entry

    @property
    def cls(self):
        return self.entry.cls if self.entry else "unknown"

    @property
    def unicode(self):
        return self.entry.unicode if self.entry else None


def tokenize(legacy):
    s = "".join(normalise_c1(c) for c in legacy)
    out = []
    i = 0
    while i < len(s):
        for n in range(min(MAX_KEY, len(s) - i), 0, -1):
            e = TABLE.get(s[i:i + n])
            if e is not None:
                out.append(Token(i, s[i:i + n], e))
                i += n
                break
        else:
            out.append(Token(i, s[i], None))
            i += 1
    return out


def _vowel(kombuvas, signs):
    """Combine the kombuva count with the signs after the consonant. Returns (vowel, used)."""
    u = [s for s, _ in signs]
    if kombuvas == 0:
        return (u[0], 1) if u else ("", 0)
    if kombuvas == 1:
        if u[:2] == [SIGN_AA, HAL]:
            return SIGN_OO, 2
        if u[:1] == [HAL]:
            return SIGN_EE, 1
        if u[:1] == [SIGN_AA]:
            return SIGN_O, 1
        if u[:1] == [SIGN_AU_LENGTH]:
            return SIGN_AU, 1
        return SIGN_E, 0
    return SIGN_AI, 0


def convert(legacy):
    """LegacyText -> (Unicode text, positions of characters that do not form valid Sinhala)."""
    toks = tokenize(legacy)
    out = []
    bad = []
    i = 0
    n = len(toks)
    while i < n:
        t = toks[i]
        if t.cls == "kombuva" or t.cls in BASE_CLASSES:
            k = 0
            while i + k < n and toks[i + k].cls == "kombuva":
                k += 1
            j = i + k
            if j >= n or toks[j].cls not in BASE_CLASSES:
                for m in range(i, j):
                    out.append(SIGN_E)
                    bad.append(toks[m].pos)
                i = j
                continue
            extra_kombuva = []
            if k > 2:
                extra_kombuva = toks[i:i + k - 2]
                k = 2
            text, flagged, i = _syllable(toks, j, k)
            for x in extra_kombuva:
                text += SIGN_E
                flagged.append(x.pos)
            out.append(text)
            bad.extend(flagged)
            continue
        if t.cls == "vowel":
            out.append(t.unicode)
            i += 1
            finals = []
            while i < n and toks[i].cls == "final":
                if toks[i].unicode not in finals:
                    finals.append(toks[i].unicode)
                i += 1
            out.extend(finals)
            continue
        if t.cls in TAIL_CLASSES:
            out.append(t.unicode)
            bad.append(t.pos)
        elif t.cls in ("punct", "space"):
            out.append(t.unicode)
        else:  # unknown character or a lone prefix piece: keep it as it stands
            out.append(t.text)
            bad.append(t.pos)
        i += 1
    return "".join(out), sorted(bad)


def _syllable(toks, j, kombuvas):
    base = toks[j]
    u = base.unicode
    signs = []
    if base.cls in ("conshal", "syl"):
        signs.append((u[-1], base.pos))
        u = u[:-1]
    rakar = yansa = repaya = False
    finals = []
    extras = []
    m = j + 1
    while m < len(toks) and toks[m].cls in TAIL_CLASSES:
        t = toks[m]
        if t.cls == "struct":
            if t.unicode == RAKAR:
                rakar = True
            elif t.unicode == YANSA:
                yansa = True
            else:
                repaya = True
        elif t.cls == "final":
            if t.unicode not in [f for f, _ in finals]:
                finals.append((t.unicode, t.pos))
        elif finals:
            extras.append((t.unicode, t.pos))
        elif not signs or signs[-1][0] != t.unicode:  # a repeated sign is a typing artefact
            signs.append((t.unicode, t.pos))
        m += 1
    vowel, used = _vowel(kombuvas, signs)
    extras = signs[used:] + extras
    text = (REPAYA if repaya else "") + u + (RAKAR if rakar else "") + (YANSA if yansa else "") + vowel
    text += "".join(f for f, _ in finals) + "".join(x for x, _ in extras)
    return text, [p for _, p in extras], m


def syllables(legacy):
    """Split LegacyText into the runs the font draws as one ligature: kombuva(s) + base + tail.

    Returns a list of (legacy run, Unicode reading, valid)."""
    toks = tokenize(legacy)
    res = []
    i = 0
    n = len(toks)
    while i < n:
        start = i
        if toks[i].cls in ("kombuva",) + BASE_CLASSES:
            while i < n and toks[i].cls == "kombuva":
                i += 1
            if i < n and toks[i].cls in BASE_CLASSES:
                i += 1
                while i < n and toks[i].cls in TAIL_CLASSES:
                    i += 1
        elif toks[i].cls == "vowel":
            i += 1
            while i < n and toks[i].cls == "final":
                i += 1
        else:
            i += 1
        run = "".join(t.text for t in toks[start:i])
        uni, bad = convert(run)
        res.append((run, uni, not bad))
    return res
