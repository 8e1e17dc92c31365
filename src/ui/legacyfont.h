#pragma once
// PARAS-N: the font in which every Sinhala text of the register reads. The texts are 8-bit legacy text
// (each character one glyph of the font), so a screen without PARAS-N shows Latin gibberish.

#include <QFont>
#include <QString>

namespace parcelon {

inline const QString kParasFamily = QStringLiteral("PARAS-N");

// Registers PARAS-N from the application's own data folder when the system has no such font installed.
void loadBundledParasFont();

// The family the font system really gives for a font: a missing family silently resolves to another.
QString actualFamily(const QFont &font);
bool isParasFont(const QFont &font);

QFont parasFont(int pointSize);
QFont latinFont(int pointSize, bool bold = false); // "Arial" (Liberation Sans)
// The heavy Latin face identity and household numbers read in ("Arial Black").
QFont heavyLatinFont(int pointSize);

} // namespace parcelon
