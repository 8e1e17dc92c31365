#include "timing.h"

#include "base/dbsession.h"
#include "ui/listview.h"
#include "ui/pagedfill.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace parcelon::bench {
namespace {
QTextStream out(stdout);
QTextStream err(stderr);

// What the native fetches read, kept so that no reading can be left out.
qsizetype fetchedCharacters = 0;

// Told of every paint once it is done, while a measure waits for one.
std::function<void(QObject *)> paintDone;

QStringList overs;

// One row of a time against the native fetch of the same rows, `label` naming what was timed.
void againstNative(
    const QString &what, const QString &label, double ms, double native, qsizetype lines, const QString &tail)
{
    out << qSetFieldWidth(46) << Qt::left << what << qSetFieldWidth(0)
        << QStringLiteral("%1 %2 ms                                native %3 ms  %1/native %4   %5 lines")
               .arg(label)
               .arg(ms, 8, 'f', 1)
               .arg(native, 8, 'f', 1)
               .arg(ratio(ms, native), 5, 'f', 1)
               .arg(lines)
        << tail << Qt::endl;
}

PagedFill *fillOf(const ListView *list) { return list->findChild<PagedFill *>(QString(), Qt::FindDirectChildrenOnly); }
} // namespace

bool BenchApplication::notify(QObject *receiver, QEvent *event)
{
    const bool paint = event->type() == QEvent::Paint;
    const bool result = QApplication::notify(receiver, event);
    if (paint && paintDone)
        paintDone(receiver);
    return result;
}

Felt feel(ListView *list, const std::function<void()> &action)
{
    return feelOpening([&] {
        action();
        return list;
    });
}

Felt feelOpening(const std::function<ListView *()> &action)
{
    ListView *list = nullptr;
    const PagedFill *fill = nullptr;
    const auto filling = [&fill] { return fill && fill->filling(); };
    Felt felt;
    QEventLoop loop;
    QElapsedTimer clock;
    bool acted = false;
    bool painted = false;
    bool whole = false;
    double lastTurn = 0;
    const auto now = [&clock] { return double(clock.nsecsElapsed()) / 1e6; };
    const auto check = [&] {
        if (acted && !whole && !filling()) {
            whole = true;
            felt.whole = now();
        }
        // A list that the action left as it was may paint nothing: its first screenful is then the fill's end.
        if (whole && !painted && now() - felt.whole > 250) {
            painted = true;
            felt.first = felt.whole;
        }
        if (whole && painted)
            loop.quit();
    };
    QTimer turns;
    turns.setTimerType(Qt::PreciseTimer);
    turns.setInterval(1);
    QObject::connect(&turns, &QTimer::timeout, [&] {
        if (!acted)
            return;
        const double at = now();
        felt.stall = std::max(felt.stall, at - lastTurn);
        lastTurn = at;
        check();
    });
    paintDone = [&](QObject *receiver) {
        if (!acted || !list || painted || receiver != list->viewport())
            return;
        if (list->count() > 0 || !filling()) {
            painted = true;
            felt.first = now();
        }
        check();
    };
    QTimer::singleShot(0, [&] {
        clock.start();
        acted = true;
        list = action();
        fill = fillOf(list);
        const double at = now();
        felt.stall = std::max(felt.stall, at);
        lastTurn = at;
        check();
    });
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
        err << "a fill did not end within ten minutes" << Qt::endl;
        loop.quit();
    });
    limit.start(600000);
    turns.start();
    loop.exec();
    paintDone = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return felt;
}

Felt medianFelt(ListView *list, const std::function<void()> &action, int runs)
{
    return medianFelt(
        [&] {
            action();
            return list;
        },
        runs);
}

Felt medianFelt(const std::function<ListView *()> &action, int runs)
{
    std::vector<Felt> felts;
    for (int i = 0; i < runs; ++i)
        felts.push_back(feelOpening(action));
    return medianOf(felts);
}

Felt medianOf(const std::vector<Felt> &felts)
{
    std::vector<double> first, whole, stall;
    for (const Felt &f : felts) {
        first.push_back(f.first);
        whole.push_back(f.whole);
        stall.push_back(f.stall);
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    return {median(first), median(whole), median(stall)};
}

Felt typeAndErase(ListView *list, QWidget *box, const QString &text, int runs)
{
    auto *edit = qobject_cast<QLineEdit *>(box);
    const qsizetype keys = text.size() * 2;
    std::vector<std::vector<Felt>> byKey(static_cast<size_t>(keys));
    for (int run = 0; run < runs; ++run) {
        edit->clear();
        edit->setFocus();
        fillWhole(list);
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            byKey[size_t(i)].push_back(feel(list, [&] { typeKey(edit, c.toUpper().unicode(), QString(c)); }));
        }
        for (qsizetype i = 0; i < text.size(); ++i)
            byKey[size_t(text.size() + i)].push_back(feel(list, [&] { typeKey(edit, Qt::Key_Backspace); }));
    }
    Felt worst;
    const bool eachKey = qEnvironmentVariableIsSet("PARCELON_BENCH_EACH_KEY");
    for (size_t k = 0; k < byKey.size(); ++k) {
        std::vector<Felt> &felts = byKey[k];
        const auto median = [&felts](double Felt::*figure) {
            std::vector<double> v;
            for (const Felt &f : felts)
                v.push_back(f.*figure);
            std::sort(v.begin(), v.end());
            return v[v.size() / 2];
        };
        worst.first = std::max(worst.first, median(&Felt::first));
        worst.whole = std::max(worst.whole, median(&Felt::whole));
        worst.stall = std::max(worst.stall, median(&Felt::stall));
        if (eachKey)
            qInfo("  key %zu: first %.1f ms, stall %.1f ms, whole %.1f ms", k + 1, median(&Felt::first),
                median(&Felt::stall), median(&Felt::whole));
    }
    return worst;
}

void showScreen(QWidget *screen)
{
    bool painted = false;
    paintDone = [&](QObject *receiver) {
        if (receiver == screen)
            painted = true;
    };
    screen->show();
    screen->raise();
    screen->activateWindow();
    QElapsedTimer waited;
    waited.start();
    while (!(painted && screen->windowHandle() && screen->windowHandle()->isExposed()) && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    paintDone = nullptr;
    fillWhole(screen->findChild<ListView *>());
}

void typeKey(QWidget *box, int key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(box, &release);
}

void fillWhole(ListView *list)
{
    if (!list)
        return;
    while (const PagedFill *fill = fillOf(list)) {
        if (!fill->filling())
            break;
        QCoreApplication::processEvents();
    }
}

std::pair<QString, QVariantList> firstPageQuery(const ListView *list)
{
    if (const PagedFill *fill = fillOf(list))
        return {fill->firstPageSql(), fill->firstPageParams()};
    return {};
}

void reportFelt(const QString &what, const Felt &felt, double firstBound, double firstNative, qsizetype lines)
{
    QStringList beyond;
    if (felt.first > firstBound)
        beyond << QStringLiteral("first > %1 ms").arg(firstBound);
    if (felt.stall > kStallMs)
        beyond << QStringLiteral("stall > %1 ms").arg(kStallMs);
    const QString native = firstNative > 0 ? QStringLiteral("first page native %1 ms  first/native %2")
                                                 .arg(firstNative, 7, 'f', 1)
                                                 .arg(ratio(felt.first, firstNative), 5, 'f', 1)
                                           : QStringLiteral("%1").arg(QString(), 44);
    out << qSetFieldWidth(46) << Qt::left << what << qSetFieldWidth(0)
        << QStringLiteral("first %1 ms  stall %2 ms  whole %3 ms   %4   %5")
               .arg(felt.first, 7, 'f', 1)
               .arg(felt.stall, 6, 'f', 1)
               .arg(felt.whole, 8, 'f', 1)
               .arg(native, lines >= 0 ? QStringLiteral("%1 lines").arg(lines) : QString())
        << (beyond.isEmpty() ? QString() : QStringLiteral("   OVER: ") + beyond.join(QStringLiteral(", "))) << Qt::endl;
    if (!beyond.isEmpty())
        over(what + QStringLiteral(": ") + beyond.join(QStringLiteral(", ")));
}

void reportWhole(const QString &what, double whole, double native, qsizetype lines)
{
    const bool beyond = ratio(whole, native) > kWholeRatio;
    againstNative(what, QStringLiteral("whole"), whole, native, lines,
        beyond ? QStringLiteral("   OVER: > %1x native").arg(kWholeRatio) : QString());
    if (beyond)
        over(what + QStringLiteral(": whole > %1x native").arg(kWholeRatio));
}

void over(const QString &what) { overs << what; }

QStringList overBounds() { return overs; }

double peakResidentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

bool resetPeakResident()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

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
    // A per-line way left out (the million-land register) is shown as such.
    const QString byLine = perLine < 0
        ? QStringLiteral("per line        -  ratio     -")
        : QStringLiteral("per line %1 ms  ratio %2").arg(perLine, 8, 'f', 1).arg(ratio(perLine, screen), 5, 'f', 1);
    out << qSetFieldWidth(46) << Qt::left << what << qSetFieldWidth(0)
        << QStringLiteral("screen %1 ms  %2   native %3 ms  screen/native %4   %5 lines %6")
               .arg(screen, 8, 'f', 1)
               .arg(byLine)
               .arg(native, 8, 'f', 1)
               .arg(ratio(screen, native), 5, 'f', 1)
               .arg(lines)
               .arg(same ? QStringLiteral("same") : QStringLiteral("DIFFER"))
        << Qt::endl;
}

void reportNative(const QString &what, double screen, double native, qsizetype lines)
{
    againstNative(what, QStringLiteral("screen"), screen, native, lines, QString());
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
