#pragma once
// Identity numbers and numbered list entries: rules the owner register, the land register and the
// choosers share.

#include <QString>

namespace parcelon {

// A national identity card number: nine digits and "v" or "x" (the letter in either case, since other
// screens may hand one in), ten characters in all.
bool isIdentityNumber(const QString &text);
// What a key may type into an identity box: digits and lower-case "v" and "x".
bool isIdentityCharacter(QChar c);
inline constexpr int kIdentityLength = 10;
// Lists show an identity number's first nine characters.
inline QString identityInList(const QString &id) { return id.left(9); }

// Entries of the division and village lists read "number - name"; the stored value is the whole text.
QString numberedEntry(const QString &number, const QString &name);
// The number before " - " (trimmed), or "" when the entry has none.
QString entryNumber(const QString &entry);
// The name after the first " - ", or the whole text when it has no number.
QString entryName(const QString &entry);

} // namespace parcelon
