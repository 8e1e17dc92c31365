#pragma once
// Reading LegacyText (Sinhala typed in the PARAS-N glyph layout, one Latin-1 character per glyph) as
// Unicode Sinhala, and writing Unicode Sinhala back in that layout.
//
// LegacyText is in visual order: the kombuva "f" is typed before its consonant, rakaransaya "%",
// yansaya "H" and repaya "_" after it, and several characters are whole syllables ("ï" ම්, "ñ" මි).
// legacyToUnicode() puts every syllable into Unicode's logical order. Characters that do not form
// valid Sinhala (a kombuva followed by a second vowel sign, a sign without a consonant, a character
// the layout has no reading for) are kept in the output and their positions reported.

#include <QList>
#include <QString>

namespace parcelon {

struct LegacyConversion
{
    QString unicode;
    // Positions (indexes into the LegacyText) of characters that do not form valid Sinhala. Each is
    // still in `unicode`: a sign as its Unicode sign, a character without a reading as itself.
    QList<qsizetype> invalidPositions;

    bool isValid() const { return invalidPositions.isEmpty(); }
};

// LegacyText as QString: each character is the Latin-1 character of one byte. Bytes 0x80-0x9F may
// come as C1 code points (read as ISO 8859-1) or as their Windows-1252 characters; both are read.
LegacyConversion legacyToUnicode(const QString &legacy);

// One canonical LegacyText spelling of Unicode Sinhala: consonant + signs as typed keys (no
// precomposed syllable characters), so legacyToUnicode(unicodeToLegacy(s)) == s for valid Sinhala.
// Characters the layout cannot express are kept as they are.
QString unicodeToLegacy(const QString &unicode);

} // namespace parcelon
