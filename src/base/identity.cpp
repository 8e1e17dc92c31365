#include "base/identity.h"

namespace parcelon {
namespace {
const QString kSeparator = QStringLiteral(" - ");
}

bool isIdentityNumber(const QString &text)
{
    if (text.size() != kIdentityLength)
        return false;
    for (int i = 0; i < 9; ++i) {
        if (text.at(i) < QLatin1Char('0') || text.at(i) > QLatin1Char('9'))
            return false;
    }
    const QChar letter = text.at(9).toLower();
    return letter == QLatin1Char('v') || letter == QLatin1Char('x');
}

bool isIdentityCharacter(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('v') || c == QLatin1Char('x');
}

QString numberedEntry(const QString &number, const QString &name) { return number + kSeparator + name; }

QString entryNumber(const QString &entry)
{
    const qsizetype at = entry.indexOf(kSeparator);
    return at < 0 ? QString() : entry.left(at).trimmed();
}

QString entryName(const QString &entry)
{
    const qsizetype at = entry.indexOf(kSeparator);
    return at < 0 ? entry : entry.mid(at + kSeparator.size());
}

} // namespace parcelon
