#include "base/extent.h"

#include <QDate>
#include <QRegularExpression>

#include <cmath>

namespace parcelon {

double leadingNumber(const QString &text)
{
    // Blanks anywhere do not end the number: "1 2" reads as 12, as clerks sometimes space out digits.
    QString compact;
    compact.reserve(text.size());
    for (const QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            compact.append(c);
    }
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d*)(\\.(\\d*))?"));
    const QRegularExpressionMatch m = number.match(compact);
    if (m.captured(1).isEmpty() && m.captured(3).isEmpty())
        return 0;
    bool ok = false;
    double value = m.captured(0).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return 0;
    return value;
}

QString decimalAcresText(double value)
{
    QString text = QString::number(value, 'f', 4);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative)
        text.remove(0, 1);
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    // A value that rounds to zero shows as the point alone, never as "-.".
    if (negative && text != QLatin1String("."))
        text.prepend(QLatin1Char('-'));
    return text;
}

QString decimalAcres(const QString &unit, const QString &first, const QString &roods, const QString &perches)
{
    const double a = leadingNumber(first);
    const double r = leadingNumber(roods);
    const double p = leadingNumber(perches);
    const double value = unit == kAcresUnit ? r / 4 + a + p / 160 : a / 0.404 + r / 4 + p / 160;
    return decimalAcresText(value);
}

QString storedPermitDate(const QString &boxText)
{
    QString compact = boxText;
    compact.remove(QLatin1Char(' '));
    // An untouched date box still shows its separators: nothing was entered.
    if (compact.count(QLatin1Char('$')) == compact.size())
        return {};
    static const QRegularExpression dayFirst(QStringLiteral("^(\\d{1,2})[$/.-](\\d{1,2})[$/.-](\\d{4})$"));
    static const QRegularExpression yearFirst(QStringLiteral("^(\\d{4})[$/.-](\\d{1,2})[$/.-](\\d{1,2})$"));
    QDate date;
    if (const QRegularExpressionMatch m = dayFirst.match(compact); m.hasMatch())
        date = QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    else if (const QRegularExpressionMatch y = yearFirst.match(compact); y.hasMatch())
        date = QDate(y.captured(1).toInt(), y.captured(2).toInt(), y.captured(3).toInt());
    if (date.isValid())
        return date.toString(QStringLiteral("yyyy/MM/dd"));
    return boxText;
}

QString shownPermitDate(const QString &stored)
{
    static const QRegularExpression ymd(QStringLiteral("^(\\d{4})/(\\d{2})/(\\d{2})$"));
    const QRegularExpressionMatch m = ymd.match(stored);
    if (!m.hasMatch() || !QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()).isValid())
        return stored;
    return m.captured(3) + QLatin1Char('$') + m.captured(2) + QLatin1Char('$') + m.captured(1);
}

} // namespace parcelon
