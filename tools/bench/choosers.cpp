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
#include <QTextStream>
#include <QTimer>

namespace parcelon::bench {
namespace {
QTextStream out(stdout);

const QString kLandColumns
    = QStringLiteral("SELECT l.srno, l.balapa_no1, l.balapa_no, o.id, o.house_no, l.loan_sbawaya, l.aythiye_sbawaya "
                     "FROM land l LEFT JOIN landowner o ON l.labn_owner_srno = CAST(o.srno AS VARCHAR(20)) ");

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

// The land search's lines of the owners whose column contains the text, each with its first land: the
// same eight columns as the screen reads.
const QString kOwnersSql = QStringLiteral(
    "SELECT l.srno, l.balapa_no1, l.balapa_no, o.id, o.house_no, l.loan_sbawaya, l.aythiye_sbawaya, o.srno "
    "FROM landowner o JOIN land l ON l.labn_owner_srno = CAST(o.srno AS VARCHAR(20)) "
    "WHERE o.%1 LIKE ? ESCAPE '!' AND l.srno = (SELECT MIN(f.srno) FROM land f "
    "WHERE f.labn_owner_srno = CAST(o.srno AS VARCHAR(20))) ORDER BY o.srno");

// The native fetch of the first page the list's last fill read.
double firstPageNative(const ListView *list)
{
    const auto [sql, params] = firstPageQuery(list);
    return sql.isEmpty() ? 0 : medianMs([&] { nativeFetch(sql, params); });
}

struct SearchCase
{
    QString what;
    QLineEdit *box = nullptr; // typed into a key at a time; otherwise
    QString typed;
    std::function<void(frmland_search &)> filter; // a value picked, as the clerk does it
    std::function<void(ListView *)> perLine;
    QString nativeSql;
    QVariantList params;
};

bool landSearch(const Size &size)
{
    bool allSame = true;
    const Felt opening = openingFelt([] { return std::make_unique<frmland_search>(nullptr); }, &frmland_search::lvland);
    frmland_search screen(nullptr);
    showScreen(&screen);
    const auto [openingSql, openingParams] = firstPageQuery(screen.lvland);
    reportFelt(QStringLiteral("land search: opening"), opening, kFirstPaintMs,
        medianMs([&] { nativeFetch(openingSql, openingParams); }), screen.lvland->count());
    const double whole = medianMs([&] {
        screen.fland();
        fillWhole(screen.lvland);
    });
    const QString active = QStringLiteral("WHERE l.chack = '1' ORDER BY l.srno");
    const double openingNative = medianMs([&] { nativeFetch(kLandColumns + active); });
    reportWhole(QStringLiteral("land search: active lands, whole"), whole, openingNative, screen.lvland->count());

    const QString identity = QString::number(std::max(1, size.owners / 7)).left(4);
    const QString household = QString::number(std::max(1, size.owners / 9));
    const QString permit = QStringLiteral("12");
    const auto contains = [](const QString &text) { return Dialect::containsPattern(text); };
    const auto pick = [](QComboBox *box, int index, const char *code) {
        return [box, index, code](frmland_search &s) {
            box->setCurrentIndex(index);
            s.labcc->setText(QLatin1String(code));
            s.all_sort();
        };
    };
    const QList<SearchCase> cases {
        {QStringLiteral("land search: identity \"%1\"").arg(identity), screen.txtid, identity, {},
            [&](ListView *l) { ownersPerLine(l, QStringLiteral("id"), identity); },
            kOwnersSql.arg(QStringLiteral("id")), {contains(identity)}},
        {QStringLiteral("land search: house number \"%1\"").arg(household), screen.txtguha, household, {},
            [&](ListView *l) { ownersPerLine(l, QStringLiteral("house_no"), household); },
            kOwnersSql.arg(QStringLiteral("house_no")), {contains(household)}},
        {QStringLiteral("land search: permit kind"), nullptr, {}, pick(screen.cmblandno, 1, "3"),
            [&](ListView *l) {
                landsPerLine(
                    l, QStringLiteral("WHERE balapa_no1 LIKE ? ESCAPE '!'"), {contains(screen.cmblandno->itemText(1))});
            },
            kLandColumns + QStringLiteral("WHERE l.balapa_no1 LIKE ? ESCAPE '!' ORDER BY l.srno"),
            {contains(screen.cmblandno->itemText(1))}},
        {QStringLiteral("land search: permit number \"%1\"").arg(permit), screen.txtlandno, permit,
            [&](frmland_search &) { screen.cmblandno->setCurrentIndex(0); },
            [&](ListView *l) {
                landsPerLine(l, QStringLiteral("WHERE balapa_no1 LIKE ? ESCAPE '!' AND balapa_no LIKE ? ESCAPE '!'"),
                    {contains(screen.cmblandno->itemText(0)), contains(permit)});
            },
            kLandColumns
                + QStringLiteral(
                    "WHERE l.balapa_no1 LIKE ? ESCAPE '!' AND l.balapa_no LIKE ? ESCAPE '!' ORDER BY l.srno"),
            {contains(screen.cmblandno->itemText(0)), contains(permit)}},
        {QStringLiteral("land search: ownership kind"), nullptr, {}, pick(screen.cmbaythiy_sbawaya, 1, "6"),
            [&](ListView *l) {
                landsPerLine(l, QStringLiteral("WHERE aythiye_sbawaya LIKE ? ESCAPE '!'"),
                    {contains(screen.cmbaythiy_sbawaya->itemText(1))});
            },
            kLandColumns + QStringLiteral("WHERE l.aythiye_sbawaya LIKE ? ESCAPE '!' ORDER BY l.srno"),
            {contains(screen.cmbaythiy_sbawaya->itemText(1))}},
        {QStringLiteral("land search: land kind"), nullptr, {}, pick(screen.cmbland_sabawaya, 1, "7"),
            [&](ListView *l) {
                landsPerLine(l, QStringLiteral("WHERE loan_sbawaya LIKE ? ESCAPE '!'"),
                    {contains(screen.cmbland_sabawaya->itemText(1))});
            },
            kLandColumns + QStringLiteral("WHERE l.loan_sbawaya LIKE ? ESCAPE '!' ORDER BY l.srno"),
            {contains(screen.cmbland_sabawaya->itemText(1))}},
    };
    for (const SearchCase &c : cases) {
        if (c.filter && c.box)
            c.filter(screen); // what the keys filter under
        if (c.box) {
            const Felt keys = typeAndErase(screen.lvland, c.box, c.typed);
            reportFelt(c.what + QStringLiteral(", worst key"), keys, kKeyMs, 0, -1);
        } else {
            const Felt picked = medianFelt(screen.lvland, [&] { c.filter(screen); });
            reportFelt(c.what + QStringLiteral(", picked"), picked, kKeyMs, firstPageNative(screen.lvland),
                screen.lvland->count());
        }
        // The whole list of the whole text, the screen's way and the per-line way.
        const auto apply = [&] {
            if (c.box) {
                c.box->setText(c.typed);
                typeKey(c.box, Qt::Key_End);
            } else {
                c.filter(screen);
            }
        };
        apply();
        fillWhole(screen.lvland);
        const double firstNative = firstPageNative(screen.lvland);
        const Felt typed = medianFelt(screen.lvland, apply);
        if (c.box)
            reportFelt(c.what + QStringLiteral(", whole text"), typed, kKeyMs, firstNative, screen.lvland->count());
        qsizetype nativeRows = 0;
        const double native = medianMs([&] { nativeRows = nativeFetch(c.nativeSql, c.params); });
        const double byScreen = medianMs([&] {
            apply();
            fillWhole(screen.lvland);
        });
        const Lines screenLines = linesOf(screen.lvland);
        const double perLine = size.million ? -1 : medianMs([&] { c.perLine(screen.lvland); });
        const Lines lineLines = size.million ? screenLines : linesOf(screen.lvland);
        const bool same = sameLines(c.what, screenLines, lineLines) && nativeRows == qsizetype(screenLines.size());
        if (screenLines.empty()) {
            over(c.what + QStringLiteral(": no lines to compare"));
            out << c.what << ": NO LINES: the register holds nothing this filter keeps" << Qt::endl;
        }
        allSame = allSame && same;
        report(c.what, byScreen, perLine, native, qsizetype(screenLines.size()), same);
        if (ratio(byScreen, native) > kWholeRatio)
            over(c.what + QStringLiteral(": whole > %1x native").arg(kWholeRatio));
    }
    return allSame;
}

// The owner finder: the clerk types an identity fragment a key at a time, and takes it back.
bool ownerFinder(const Size &size)
{
    frmfind_land_onew screen(nullptr);
    showScreen(&screen);
    const QString identity = QString::number(std::max(1, size.owners / 7)).left(3);
    const Felt keys = typeAndErase(screen.lvfind, screen.txtid, identity);
    reportFelt(QStringLiteral("owner finder: identity \"%1\", worst key").arg(identity), keys, kKeyMs, 0, -1);
    const auto apply = [&] { screen.txtid->setText(identity); };
    std::vector<double> runs;
    for (int run = 0; run < 5; ++run) {
        screen.txtid->clear();
        fillWhole(screen.lvfind);
        runs.push_back(medianMs(
            [&] {
                apply();
                fillWhole(screen.lvfind);
            },
            1));
    }
    std::sort(runs.begin(), runs.end());
    const double byScreen = runs[2];
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
    const double byLine = size.million ? -1 : medianMs([&] { perLine(identity); });
    const Lines lineLines = size.million ? screenLines : linesOf(screen.lvfind);
    const QString sql = QStringLiteral(
        "SELECT srno, id, house_no, land_owner_name FROM landowner WHERE CAST(srno AS VARCHAR(20)) LIKE ? ESCAPE '!' "
        "AND id LIKE ? ESCAPE '!' AND house_no LIKE ? ESCAPE '!' AND land_owner_name LIKE ? ESCAPE '!' ORDER BY srno");
    qsizetype nativeRows = 0;
    const double native = medianMs([&] {
        nativeRows = nativeFetch(sql,
            {Dialect::containsPattern(QString()), Dialect::containsPattern(identity),
                Dialect::containsPattern(QString()), Dialect::containsPattern(QString())});
    });
    const bool same = sameLines(QStringLiteral("the owner finder's list"), screenLines, lineLines)
        && nativeRows == qsizetype(screenLines.size());
    report(QStringLiteral("owner finder: identity \"%1\", whole").arg(identity), byScreen, byLine, native,
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
