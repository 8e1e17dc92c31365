#pragma once
// A land's extent as the register keeps it: the first number in hectares or acres (by its unit), roods
// and perches, each as typed, and beside them the extent in decimal acres. One acre is 4 roods, one rood
// 40 perches, and an acre is taken as 0.404 hectares.

#include <QString>

namespace parcelon {

// The unit entry that makes the first number acres; any other unit text means hectares.
inline const QString kAcresUnit = QStringLiteral("2 - wlalr");

// The number a box's text starts with, blanks anywhere ignored: an optional sign, digits and a decimal
// point ("1 2.5x" is 12.5). A text that starts with no number counts as 0.
double leadingNumber(const QString &text);

// A value as the register shows decimal acres: rounded to four places, trailing zeros dropped, no 0
// before the point below 1 (".25"), a whole number keeps its point ("3."), zero is the point alone.
QString decimalAcresText(double value);

// The decimal acres of an extent typed as unit, first number, roods and perches.
QString decimalAcres(const QString &unit, const QString &first, const QString &roods, const QString &perches);

// The permit date as stored: a box reading day, month and year ("14$03$2026", any single non-digit
// between the parts) that is a real date becomes "2026/03/14"; any other text is stored as it stands,
// except that a box holding nothing but its separators stores "".
QString storedPermitDate(const QString &boxText);
// The box's text for a stored permit date: "2026/03/14" shows as "14$03$2026"; any other text as stored.
QString shownPermitDate(const QString &stored);

} // namespace parcelon
