#pragma once
// What every timed comparison of the bench shares: the median of a few runs, one printed row per list
// (the screen's way, the per-line way, the bare native fetch and their ratios), the lines of a list and
// their comparison, and the bare native fetch itself.

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <vector>

namespace parcelon {
class ListView;
}

namespace parcelon::bench {

using Lines = std::vector<QStringList>;

// The median time of `runs` runs of the work, in milliseconds.
double medianMs(const std::function<void()> &work, int runs = 5);
double ratio(double slow, double fast);
// One row: the screen's time, the per-line time and their ratio, the native fetch and the screen's ratio
// to it, the lines and whether both ways gave the same lines.
void report(const QString &what, double screen, double perLine, double native, qsizetype lines, bool same);
// A row without a per-line way: the screen's time against the native fetch (or statements) alone.
void reportNative(const QString &what, double screen, double native, qsizetype lines);

Lines linesOf(const ListView *list);
// Equal lines; a difference is printed with the first differing line.
bool sameLines(const QString &what, const Lines &screen, const Lines &perLine);

// The bare native fetch: the driver prepares, binds and runs the query, and every value of every row is
// read as text, as any list must; no session, no model. Returns the number of rows.
qsizetype nativeFetch(const QString &sql, const QVariantList &params = {});

} // namespace parcelon::bench
