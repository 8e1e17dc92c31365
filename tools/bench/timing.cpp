#include "timing.h"

#include "base/dbsession.h"
#include "ui/listview.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>

#include <algorithm>

namespace parcelon::bench {
namespace {
QTextStream out(stdout);
QTextStream err(stderr);

// What the native fetches read, kept so that no reading can be left out.
qsizetype fetchedCharacters = 0;
} // namespace

double medianMs(const std::function<void()> &work, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double ratio(double slow, double fast) { return slow / std::max(fast, 0.001); }

void report(const QString &what, double screen, double perLine, double native, qsizetype lines, bool same)
{
    out << qSetFieldWidth(40) << Qt::left << what << qSetFieldWidth(0)
        << QStringLiteral("screen %1 ms  per line %2 ms  ratio %3   native %4 ms  screen/native %5   %6 lines %7")
               .arg(screen, 8, 'f', 1)
               .arg(perLine, 8, 'f', 1)
               .arg(ratio(perLine, screen), 5, 'f', 1)
               .arg(native, 8, 'f', 1)
               .arg(ratio(screen, native), 5, 'f', 1)
               .arg(lines)
               .arg(same ? QStringLiteral("same") : QStringLiteral("DIFFER"))
        << Qt::endl;
}

void reportNative(const QString &what, double screen, double native, qsizetype lines)
{
    out << qSetFieldWidth(40) << Qt::left << what << qSetFieldWidth(0)
        << QStringLiteral("screen %1 ms                                native %2 ms  screen/native %3   %4 lines")
               .arg(screen, 8, 'f', 1)
               .arg(native, 8, 'f', 1)
               .arg(ratio(screen, native), 5, 'f', 1)
               .arg(lines)
        << Qt::endl;
}

Lines linesOf(const ListView *list)
{
    Lines lines;
    for (int row = 0; row < list->count(); ++row)
        lines.push_back(list->line(row));
    return lines;
}

bool sameLines(const QString &what, const Lines &screen, const Lines &perLine)
{
    if (screen == perLine)
        return true;
    err << "MISMATCH in " << what << ": the screen gave " << screen.size() << " lines, the per-line way "
        << perLine.size() << Qt::endl;
    for (size_t i = 0; i < std::max(screen.size(), perLine.size()); ++i) {
        const QString a = i < screen.size() ? screen[i].join(QLatin1String(" | ")) : QStringLiteral("(none)");
        const QString b = i < perLine.size() ? perLine[i].join(QLatin1String(" | ")) : QStringLiteral("(none)");
        if (a != b) {
            err << "  line " << i + 1 << ": screen  " << a << Qt::endl
                << "  line " << i + 1 << ": per line " << b << Qt::endl;
            break;
        }
    }
    return false;
}

qsizetype nativeFetch(const QString &sql, const QVariantList &params)
{
    QSqlQuery query(db().database());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        qFatal("%s", qPrintable(query.lastError().text()));
    for (const QVariant &param : params)
        query.addBindValue(param);
    if (!query.exec())
        qFatal("%s", qPrintable(query.lastError().text()));
    const int columns = query.record().count();
    qsizetype rows = 0;
    qsizetype characters = 0;
    while (query.next()) {
        ++rows;
        for (int column = 0; column < columns; ++column)
            characters += query.value(column).toString().size();
    }
    fetchedCharacters += characters;
    return rows;
}

} // namespace parcelon::bench
