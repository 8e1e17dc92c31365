#include "compare.h"

#include "timing.h"

#include "base/dbsession.h"
#include "registry/frmgamase_wasam.h"
#include "registry/frmlandoner.h"
#include "ui/listview.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace parcelon::bench {
namespace {
QTextStream out(stdout);

// The household's lands the per-line way: the household's first owner, the numbers of its lands, then
// each land by its number; the same six columns as the screen, into the same list.
void householdPerLine(ListView *list, const QString &household)
{
    list->clear();
    Lines lines;
    QString id, house, name;
    bool found = false;
    if (std::optional<Query> owner = db().first(
            QStringLiteral("SELECT id, house_no, land_owner_name FROM landowner WHERE house_no = ? ORDER BY srno"),
            {household})) {
        id = owner->value(0).left(9);
        house = owner->value(1);
        name = owner->value(2);
        found = true;
    }
    if (found) {
        std::vector<qlonglong> numbers;
        {
            Query lands = db().select(QStringLiteral("SELECT srno FROM land WHERE guhasth = ? ORDER BY srno"), {house});
            while (lands.next())
                numbers.push_back(lands.value(0).toLongLong());
        }
        for (const qlonglong number : numbers) {
            std::optional<Query> land = db().first(
                QStringLiteral("SELECT balapa_no1, balapa_no, loan_sbawaya, pewarima FROM land WHERE srno = ?"),
                {number});
            if (land)
                lines.push_back({id, house, name, land->value(0) + QStringLiteral("  ") + land->value(1),
                    land->value(2), land->value(3)});
        }
    }
    list->addItems(std::move(lines));
}

// The division list as it was once built: every village row, one line at each new division number.
void divisionsByWalk(ListView *list)
{
    list->clear();
    Lines lines;
    Query rows = db().select(QStringLiteral("SELECT srno, gama_wasama FROM gamasewa_wasama ORDER BY srno"));
    QString last = QStringLiteral("0");
    while (rows.next()) {
        if (rows.value(0) != last) {
            last = rows.value(0);
            lines.push_back({last, rows.value(1)});
        }
    }
    list->addItems(std::move(lines));
}

QString divisionNamesByWalk()
{
    Query rows = db().select(QStringLiteral("SELECT gama_wasama FROM gamasewa_wasama ORDER BY gama_wasama"));
    QString last;
    int count = 0;
    while (rows.next()) {
        if (rows.value(0) != last) {
            last = rows.value(0);
            ++count;
        }
    }
    return QString::number(count + 1);
}

bool divisions()
{
    frmgamase_wasam screen;
    bool allSame = true;

    const double fill = medianMs([&] { screen.lv_add(); });
    const Lines byScreen = linesOf(screen.lvgama_wasama);
    const double walk = medianMs([&] { divisionsByWalk(screen.lvgama_wasama); });
    const Lines byWalk = linesOf(screen.lvgama_wasama);
    qsizetype nativeRows = 0;
    const double native = medianMs([&] {
        nativeRows = nativeFetch(QStringLiteral(
            "SELECT srno, MIN(gama_wasama) AS gama_wasama FROM gamasewa_wasama GROUP BY srno ORDER BY srno"));
    });
    bool same
        = sameLines(QStringLiteral("the division list"), byScreen, byWalk) && nativeRows == qsizetype(byScreen.size());
    allSame = allSame && same;
    report(QStringLiteral("division list"), fill, walk, native, qsizetype(byScreen.size()), same);

    const double next = medianMs([&] { screen.lastno(); });
    const QString byCount = screen.labsrno->text();
    QString byNames;
    const double nextWalk = medianMs([&] {
        byNames = divisionNamesByWalk();
        screen.labsrno->setText(byNames);
    });
    const double nextNative
        = medianMs([] { nativeFetch(QStringLiteral("SELECT COUNT(DISTINCT gama_wasama) FROM gamasewa_wasama")); });
    same = sameLines(QStringLiteral("the next division number"), {{byCount}}, {{byNames}});
    allSame = allSame && same;
    report(QStringLiteral("next division number"), next, nextWalk, nextNative, 1, same);
    return allSame;
}

bool households(const Size &size)
{
    QRandomGenerator random(7);
    QStringList households;
    for (int i = 0; i < 500; ++i)
        households << QString::number(1 + random.bounded(std::max(1, size.owners / 3)));

    frmlandoner screen;
    // The lines of every household, gathered outside the timed runs.
    Lines byScreen, byLine;
    for (const QString &household : households) {
        screen.txtguhano->setText(household);
        screen.lvland();
        const Lines lines = linesOf(screen.lvdetels);
        byScreen.insert(byScreen.end(), lines.begin(), lines.end());
        householdPerLine(screen.lvdetels, household);
        const Lines other = linesOf(screen.lvdetels);
        byLine.insert(byLine.end(), other.begin(), other.end());
    }

    const double fill = medianMs([&] {
        for (const QString &household : households) {
            screen.txtguhano->setText(household);
            screen.lvland();
        }
    });
    const double perLine = medianMs([&] {
        for (const QString &household : households) {
            screen.txtguhano->setText(household);
            householdPerLine(screen.lvdetels, household);
        }
    });
    // The screen's own query.
    const QString sql = QStringLiteral(
        "SELECT o.id, o.house_no, o.land_owner_name, l.balapa_no1, l.balapa_no, l.loan_sbawaya, l.pewarima "
        "FROM landowner o JOIN land l ON l.guhasth = o.house_no "
        "WHERE o.srno = (SELECT MIN(srno) FROM landowner WHERE house_no = ?) ORDER BY l.srno");
    qsizetype nativeRows = 0;
    const double native = medianMs([&] {
        nativeRows = 0;
        for (const QString &household : households)
            nativeRows += nativeFetch(sql, {household});
    });
    const bool same = sameLines(QStringLiteral("the household land lists"), byScreen, byLine)
        && nativeRows == qsizetype(byScreen.size());
    report(QStringLiteral("household land lists (500 households)"), fill, perLine, native, qsizetype(byScreen.size()),
        same);
    return same;
}

} // namespace

bool compareLists(const Size &size)
{
    const auto part
        = [&size](const char *name) { return size.only.isEmpty() || size.only.contains(QLatin1String(name)); };
    const bool divisionsSame = !part("owners") || divisions();
    const bool householdsSame = !part("owners") || households(size);
    const bool landsSame = !part("register") || landRegister(size);
    const bool choosersSame = !part("search") || choosers(size);
    const bool reportsSame = !part("reports") || reportScreens(size);
    return divisionsSame && householdsSame && landsSame && choosersSame && reportsSame;
}

} // namespace parcelon::bench
