// The choosers' rows of the bench: the land search's list as it opens and after each of its filters, and
// the owner finder's list at every change of its boxes, each timed as the clerk waits for it (the query,
// the list filled, its first screenful painted).
//
// The per-line way of the land search reads the lands, then each land's owner by its own query; for the
// owner filters it reads the matching owners, then each owner's first land by its own query. The per-line
// way of the owner finder reads the matching owners' numbers, then each owner by its own query.

#include "compare.h"
#include "timing.h"

#include "base/dbsession.h"
#include "lifecycle/frmfind_land_onew.h"
#include "lifecycle/frmland_search.h"
#include "ui/listview.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTextStream>

namespace parcelon::bench {
namespace {

const QString kLandColumns
    = QStringLiteral("SELECT l.srno, l.balapa_no1, l.balapa_no, o.id, o.house_no, l.loan_sbawaya, l.aythiye_sbawaya "
                     "FROM land l LEFT JOIN landowner o ON l.labn_owner_srno = CAST(o.srno AS VARCHAR(20)) ");

// The list's first screenful painted, as the clerk sees it after the query.
void paint(ListView *list)
{
    const QPixmap shown = list->viewport()->grab();
    Q_UNUSED(shown);
}

// Lets a list fill its later pages, as the event loop does while the screen is shown.
template <typename Screen> void fillWhole(const Screen &screen)
{
    while (screen.listFilling())
        QCoreApplication::processEvents();
}

QStringList searchLine(const QString &srno, const QString &kind, const QString &number, const QString &id,
    const QString &house, const QString &landKind, const QString &ownership)
{
    return {srno, kind + QStringLiteral("  ") + number, id.left(9), house, landKind, ownership, kind, number};
}

// The lands a where-clause selects, each land's owner read by its own query.
void landsPerLine(ListView *list, const QString &where, const QVariantList &params)
{
    list->clear();
    Query lands = db().select(QStringLiteral("SELECT srno, balapa_no1, balapa_no, labn_owner_srno, loan_sbawaya, "
                                             "aythiye_sbawaya FROM land ")
            + where + QStringLiteral(" ORDER BY srno"),
        params);
    Lines lines;
    while (lands.next()) {
        QString id, house;
        if (std::optional<Query> owner = db().first(
                QStringLiteral("SELECT id, house_no FROM landowner WHERE srno = ?"), {Dialect::key(lands.value(3))})) {
            id = owner->value(0);
            house = owner->value(1);
        }
        lines.push_back(
            searchLine(lands.value(0), lands.value(1), lands.value(2), id, house, lands.value(4), lands.value(5)));
    }
    list->addItems(std::move(lines));
}

// The owners whose column contains the text, each owner's first land read by its own query.
void ownersPerLine(ListView *list, const QString &column, const QString &typed)
{
    list->clear();
    Query owners = db().select(
        QStringLiteral("SELECT srno, id, house_no FROM landowner WHERE %1 LIKE ? ESCAPE '!' ORDER BY srno").arg(column),
        {Dialect::containsPattern(typed)});
    Lines lines;
    while (owners.next()) {
        std::optional<Query> land = db().first(QStringLiteral("SELECT srno, balapa_no1, balapa_no, loan_sbawaya, "
                                                              "aythiye_sbawaya FROM land WHERE labn_owner_srno = ? "
                                                              "ORDER BY srno"),
            {owners.value(0)});
        if (land)
            lines.push_back(searchLine(land->value(0), land->value(1), land->value(2), owners.value(1), owners.value(2),
                land->value(3), land->value(4)));
    }
    list->addItems(std::move(lines));
}

struct SearchCase
{
    QString what;
    std::function<void(frmland_search &)> filter; // as the clerk does it: a key typed, a value picked
    std::function<void(ListView *)> perLine;
    QString nativeSql;
    QVariantList params;
};

bool landSearch(const Size &size)
{
    bool allSame = true;
    const double opening = medianMs(
        [] {
            frmland_search screen(nullptr);
            paint(screen.lvland);
        },
        3);
    frmland_search screen(nullptr);
    const double whole = medianMs([&] {
        screen.fland();
        fillWhole(screen);
    });
    const QString active = QStringLiteral("WHERE l.chack = '1' ORDER BY l.srno");
    const double openingNative = medianMs([&] { nativeFetch(kLandColumns + active); }, 3);
    reportNative(QStringLiteral("land search: opening, first"), opening, openingNative, screen.lvland->count());
    reportNative(QStringLiteral("land search: active lands, whole"), whole, openingNative, screen.lvland->count());

    const QString identity = QString::number(std::max(1, size.owners / 7)).left(4);
    const QString household = QString::number(std::max(1, size.owners / 9));
    const QString permit = QStringLiteral("12");
    const auto contains = [](const QString &text) { return Dialect::containsPattern(text); };
    const QString ownersSql = QStringLiteral(
        "SELECT l.srno FROM landowner o JOIN land l ON l.labn_owner_srno = CAST(o.srno AS VARCHAR(20)) "
        "WHERE o.%1 LIKE ? ESCAPE '!' AND l.srno = (SELECT MIN(f.srno) FROM land f "
        "WHERE f.labn_owner_srno = CAST(o.srno AS VARCHAR(20))) ORDER BY o.srno");
    const QList<SearchCase> cases {
        {QStringLiteral("land search: identity \"%1\"").arg(identity),
            [&](frmland_search &s) {
                s.txtid->setText(identity);
                s.labcc->setText(QStringLiteral("1"));
                s.all_sort();
            },
            [&](ListView *l) { ownersPerLine(l, QStringLiteral("id"), identity); }, ownersSql.arg(QStringLiteral("id")),
            {contains(identity)}},
        {QStringLiteral("land search: house number \"%1\"").arg(household),
            [&](frmland_search &s) {
                s.txtguha->setText(household);
                s.labcc->setText(QStringLiteral("2"));
                s.all_sort();
            },
            [&](ListView *l) { ownersPerLine(l, QStringLiteral("house_no"), household); },
            ownersSql.arg(QStringLiteral("house_no")), {contains(household)}},
        {QStringLiteral("land search: permit kind"),
            [](frmland_search &s) {
                s.cmblandno->setCurrentIndex(1);
                s.labcc->setText(QStringLiteral("3"));
                s.all_sort();
            },
            [&](ListView *l) {
                landsPerLine(
                    l, QStringLiteral("WHERE balapa_no1 LIKE ? ESCAPE '!'"), {contains(screen.cmblandno->itemText(1))});
            },
            kLandColumns + QStringLiteral("WHERE l.balapa_no1 LIKE ? ESCAPE '!' ORDER BY l.srno"),
            {contains(screen.cmblandno->itemText(1))}},
        {QStringLiteral("land search: permit number \"%1\"").arg(permit),
            [&](frmland_search &s) {
                s.cmblandno->setCurrentIndex(0);
                s.txtlandno->setText(permit);
                s.labcc->setText(QStringLiteral("4"));
                s.all_sort();
            },
            [&](ListView *l) {
                landsPerLine(l, QStringLiteral("WHERE balapa_no1 LIKE ? ESCAPE '!' AND balapa_no LIKE ? ESCAPE '!'"),
                    {contains(screen.cmblandno->itemText(0)), contains(permit)});
            },
            kLandColumns
                + QStringLiteral(
                    "WHERE l.balapa_no1 LIKE ? ESCAPE '!' AND l.balapa_no LIKE ? ESCAPE '!' ORDER BY l.srno"),
            {contains(screen.cmblandno->itemText(0)), contains(permit)}},
        {QStringLiteral("land search: ownership kind"),
            [](frmland_search &s) {
                s.cmbaythiy_sbawaya->setCurrentIndex(1);
                s.labcc->setText(QStringLiteral("6"));
                s.all_sort();
            },
            [&](ListView *l) {
                landsPerLine(l, QStringLiteral("WHERE aythiye_sbawaya LIKE ? ESCAPE '!'"),
                    {contains(screen.cmbaythiy_sbawaya->itemText(1))});
            },
            kLandColumns + QStringLiteral("WHERE l.aythiye_sbawaya LIKE ? ESCAPE '!' ORDER BY l.srno"),
            {contains(screen.cmbaythiy_sbawaya->itemText(1))}},
        {QStringLiteral("land search: land kind"),
            [](frmland_search &s) {
                s.cmbland_sabawaya->setCurrentIndex(1);
                s.labcc->setText(QStringLiteral("7"));
                s.all_sort();
            },
            [&](ListView *l) {
                landsPerLine(l, QStringLiteral("WHERE loan_sbawaya LIKE ? ESCAPE '!'"),
                    {contains(screen.cmbland_sabawaya->itemText(1))});
            },
            kLandColumns + QStringLiteral("WHERE l.loan_sbawaya LIKE ? ESCAPE '!' ORDER BY l.srno"),
            {contains(screen.cmbland_sabawaya->itemText(1))}},
    };
    for (const SearchCase &c : cases) {
        qsizetype nativeRows = 0;
        const double native = medianMs([&] { nativeRows = nativeFetch(c.nativeSql, c.params); });
        const double first = medianMs([&] {
            c.filter(screen);
            paint(screen.lvland);
        }); // the next fill ends the one under way
        const double byScreen = medianMs([&] {
            c.filter(screen);
            fillWhole(screen);
        });
        const Lines screenLines = linesOf(screen.lvland);
        reportNative(c.what + QStringLiteral(", first"), first, native, qsizetype(screenLines.size()));
        const double perLine = medianMs([&] { c.perLine(screen.lvland); }, 1);
        const Lines lineLines = linesOf(screen.lvland);
        const bool same = sameLines(c.what, screenLines, lineLines) && nativeRows == qsizetype(screenLines.size());
        allSame = allSame && same;
        report(c.what, byScreen, perLine, native, qsizetype(screenLines.size()), same);
    }
    return allSame;
}

// The owner finder: the clerk types a name fragment, then narrows by an identity fragment, a key at a time.
bool ownerFinder(const Size &size)
{
    frmfind_land_onew screen(nullptr);
    const QString identity = QString::number(std::max(1, size.owners / 7)).left(3);
    QList<std::pair<QLineEdit *, QString>> keys;
    for (qsizetype i = 1; i <= identity.size(); ++i)
        keys.append({screen.txtid, identity.left(i)});
    const double first = medianMs([&] {
        for (const auto &[box, text] : keys) {
            box->setText(text);
            paint(screen.lvfind);
        }
    }) / double(keys.size());
    const double byScreen = medianMs([&] {
        for (const auto &[box, text] : keys) {
            box->setText(text);
            fillWhole(screen);
        }
    }) / double(keys.size());
    const Lines screenLines = linesOf(screen.lvfind);

    const auto perLine = [&](const QString &typed) {
        screen.lvfind->clear();
        Query numbers
            = db().select(QStringLiteral("SELECT srno FROM landowner WHERE id LIKE ? ESCAPE '!' ORDER BY srno"),
                {Dialect::containsPattern(typed)});
        Lines lines;
        while (numbers.next()) {
            std::optional<Query> owner
                = db().first(QStringLiteral("SELECT srno, id, house_no, land_owner_name FROM landowner WHERE srno = ?"),
                    {Dialect::key(numbers.value(0))});
            if (owner)
                lines.push_back({owner->value(0), owner->value(1).left(9), owner->value(2), owner->value(3)});
        }
        screen.lvfind->addItems(std::move(lines));
    };
    const double byLine = medianMs(
                              [&] {
                                  for (const auto &key : keys)
                                      perLine(key.second);
                              },
                              1)
        / double(keys.size());
    const Lines lineLines = linesOf(screen.lvfind);
    const QString sql = QStringLiteral(
        "SELECT srno, id, house_no, land_owner_name FROM landowner WHERE CAST(srno AS VARCHAR(20)) LIKE ? ESCAPE '!' "
        "AND id LIKE ? ESCAPE '!' AND house_no LIKE ? ESCAPE '!' AND land_owner_name LIKE ? ESCAPE '!' ORDER BY srno");
    qsizetype nativeRows = 0;
    const double native = medianMs([&] {
        for (const auto &key : keys)
            nativeRows = nativeFetch(sql,
                {Dialect::containsPattern(QString()), Dialect::containsPattern(key.second),
                    Dialect::containsPattern(QString()), Dialect::containsPattern(QString())});
    }) / double(keys.size());
    reportNative(QStringLiteral("owner finder: a key, first"), first, native, qsizetype(screenLines.size()));
    const bool same = sameLines(QStringLiteral("the owner finder's list"), screenLines, lineLines)
        && nativeRows == qsizetype(screenLines.size());
    report(QStringLiteral("owner finder: a key of \"%1\"").arg(identity), byScreen, byLine, native,
        qsizetype(screenLines.size()), same);
    return same;
}
} // namespace

bool choosers(const Size &size)
{
    const bool search = landSearch(size);
    const bool finder = ownerFinder(size);
    return search && finder;
}

} // namespace parcelon::bench
