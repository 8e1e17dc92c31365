// The land register's rows of the bench: opening the screen, the first screenful and the whole of the
// all-lands list, the household lists, the tank and division pickers, the division values behind the lot
// label, and the save of a land with its four boundaries.
//
// The per-line way of a land list reads the lands, then each land's owner by its own query, into the same
// columns of the same list, as the list was once filled; the per-line way of a picker walks every
// matching land (or village) row and keeps each new value, as the pickers were once filled.

#include "compare.h"
#include "timing.h"

#include "base/dbsession.h"
#include "base/identity.h"
#include "registry/frmhathara.h"
#include "registry/frmland.h"
#include "ui/listview.h"
#include "ui/screenregistry.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <optional>

namespace parcelon::bench {
namespace {
QTextStream out(stdout);

// The screen's own queries (frmland_lists.cpp), for the native fetch.
const QString kJoin
    = QStringLiteral(" FROM land l LEFT JOIN landowner o ON l.labn_owner_srno = CAST(o.srno AS VARCHAR(20))");
const QString kAllLands = QStringLiteral("SELECT o.house_no, SUBSTR(l.id, 1, 9), COALESCE(l.balapa_no1, '') || ' ' || "
                                         "COALESCE(l.balapa_no, ''), l.balapa_no, SUBSTR(l.loan_sbawaya, 4, 20), "
                                         "REPLACE(l.akkara_only, '.', ''''), l.aythiye_sbawaya, l.pewarima")
    + kJoin + QStringLiteral(" ORDER BY l.srno");
const QString kHousehold = QStringLiteral("SELECT o.house_no, l.id, l.balapa_no1, l.balapa_no, l.loan_sbawaya, "
                                          "l.akkara1, l.akkara, l.rut, l.parchase, l.aythiye_sbawaya, l.pewarima")
    + kJoin + QStringLiteral(" WHERE l.guhasth = ? ORDER BY l.srno");

QString ownersHousehold(const QString &ownerSrno)
{
    std::optional<Query> owner
        = db().first(QStringLiteral("SELECT house_no FROM landowner WHERE srno = ?"), {Dialect::key(ownerSrno)});
    return owner ? owner->value(0) : QString();
}

void allLandsPerLine(ListView *list)
{
    list->clear();
    Query lands = db().select(QStringLiteral("SELECT labn_owner_srno, id, balapa_no1, balapa_no, loan_sbawaya, "
                                             "akkara_only, aythiye_sbawaya, pewarima FROM land ORDER BY srno"));
    Lines lines;
    while (lands.next()) {
        QString extent = lands.value(5);
        extent.replace(QLatin1Char('.'), QLatin1Char('\''));
        lines.push_back({ownersHousehold(lands.value(0)), identityInList(lands.value(1)),
            lands.value(2) + QStringLiteral(" ") + lands.value(3), lands.value(3), lands.value(4).mid(3, 20), extent,
            lands.value(6), lands.value(7)});
    }
    list->addItems(std::move(lines));
}

void householdPerLine(ListView *list, const QString &household)
{
    list->clear();
    Query lands = db().select(QStringLiteral("SELECT labn_owner_srno, id, balapa_no1, balapa_no, loan_sbawaya, "
                                             "akkara1, akkara, rut, parchase, aythiye_sbawaya, pewarima FROM land "
                                             "WHERE guhasth = ? ORDER BY srno"),
        {household});
    Lines lines;
    while (lands.next()) {
        const QString extent = lands.value(5).mid(4, 14) + QStringLiteral(" ") + lands.value(6) + QStringLiteral(" $")
            + QStringLiteral(" reâ") + QStringLiteral(" ") + lands.value(7) + QStringLiteral(" $ ")
            + QStringLiteral("m¾pia ") + QStringLiteral(" ") + lands.value(8);
        lines.push_back({ownersHousehold(lands.value(0)), identityInList(lands.value(1)),
            lands.value(2) + QStringLiteral(" ") + lands.value(3), lands.value(3), lands.value(4), extent,
            lands.value(9), lands.value(10)});
    }
    list->addItems(std::move(lines));
}

// A picker the old way: every matching row in order, a line at each new value.
void walk(ListView *picker, const QString &sql, const QVariantList &params = {})
{
    picker->clear();
    Query rows = db().select(sql, params);
    Lines lines;
    QString last;
    while (rows.next()) {
        const QString value = rows.value(0);
        if (value != last) {
            last = value;
            lines.push_back({value});
        }
    }
    picker->addItems(std::move(lines));
}

// Dialogs that would wait for a clerk are closed and remembered, so a refused save cannot stall the run.
class DialogWatch final
{
public:
    DialogWatch()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (QWidget *dialog = QApplication::activeModalWidget()) {
                for (const QLabel *label : dialog->findChildren<QLabel *>())
                    m_seen << label->text();
                dialog->close();
            }
        });
        m_timer.start(20);
    }
    QStringList seen() const { return m_seen; }

private:
    QTimer m_timer;
    QStringList m_seen;
};

bool landLists(const Size &size)
{
    bool allSame = true;

    // Opening the screen: everything its load does, the list of all lands among it, to its first screenful
    // painted; the list fills on from the event loop.
    const Felt opening = openingFelt([] { return std::make_unique<frmland>(); }, &frmland::lvland);
    frmland screen;
    showScreen(&screen);
    const auto [firstSql, firstParams] = firstPageQuery(screen.lvland);
    reportFelt(QStringLiteral("land register: opening"), opening, kFirstPaintMs,
        medianMs([&] { nativeFetch(firstSql, firstParams); }), screen.lvland->count());
    const double native = medianMs([] { nativeFetch(kAllLands); });

    // The list of all lands again, from the screen's own button.
    const Felt again = medianFelt(screen.lvland, [&] { screen.land_all(); });
    reportFelt(QStringLiteral("lvland all lands, again"), again, kFirstPaintMs,
        medianMs([&] { nativeFetch(firstSql, firstParams); }), screen.lvland->count());

    const double all = medianMs([&] {
        screen.land_all();
        fillWhole(screen.lvland);
    });
    const Lines byScreen = linesOf(screen.lvland);
    const double perLine = size.million ? -1 : medianMs([&] { allLandsPerLine(screen.lvland); });
    const Lines byLine = linesOf(screen.lvland);
    bool same = (size.million || sameLines(QStringLiteral("the list of all lands"), byScreen, byLine))
        && qsizetype(byScreen.size()) == nativeFetch(kAllLands);
    allSame = allSame && same;
    report(QStringLiteral("lvland all lands: whole list"), all, perLine, native, qsizetype(byScreen.size()), same);
    if (ratio(all, native) > kWholeRatio)
        over(QStringLiteral("lvland all lands: whole > %1x native").arg(kWholeRatio));

    QRandomGenerator random(11);
    QStringList households;
    for (int i = 0; i < 500; ++i)
        households << QString::number(1 + random.bounded(std::max(1, size.owners / 3)));
    Lines householdScreen, householdLine;
    for (const QString &household : households) {
        screen.txtguhano->setText(household);
        screen.land_lv();
        const Lines a = linesOf(screen.lvland);
        householdScreen.insert(householdScreen.end(), a.begin(), a.end());
        householdPerLine(screen.lvland, household);
        const Lines b = linesOf(screen.lvland);
        householdLine.insert(householdLine.end(), b.begin(), b.end());
    }
    const double household = medianMs([&] {
        for (const QString &h : households) {
            screen.txtguhano->setText(h);
            screen.land_lv();
        }
    });
    const double householdSlow = medianMs([&] {
        for (const QString &h : households)
            householdPerLine(screen.lvland, h);
    });
    const double householdNative = medianMs([&] {
        for (const QString &h : households)
            nativeFetch(kHousehold, {h});
    });
    same = sameLines(QStringLiteral("the household lists of the land register"), householdScreen, householdLine);
    allSame = allSame && same;
    report(QStringLiteral("lvland households (500)"), household, householdSlow, householdNative,
        qsizetype(householdScreen.size()), same);
    return allSame;
}

// One picker filled by the screen's handler, the old walk and the native fetch of the screen's query.
bool picker(const QString &what, ListView *list, const std::function<void()> &fill, const QString &walkSql,
    const QString &nativeSql, const QVariantList &params = {})
{
    const double byScreen = medianMs(fill);
    const Lines screenLines = linesOf(list);
    const double byWalk = medianMs([&] { walk(list, walkSql, params); });
    Lines walkLines = linesOf(list);
    // The walk keeps an empty value the way it came; the screen never offers one.
    if (!walkLines.empty() && walkLines.front() == QStringList {QString()})
        walkLines.erase(walkLines.begin());
    const double native = medianMs([&] { nativeFetch(nativeSql, params); });
    const bool same = sameLines(what, screenLines, walkLines);
    report(what, byScreen, byWalk, native, qsizetype(screenLines.size()), same);
    return same;
}

bool pickers()
{
    frmland screen;
    bool same = true;
    const QString any = Dialect::containsPattern(QString());
    const QString fragment = Dialect::containsPattern(QStringLiteral("ks"));
    screen.txtwawa->clear();
    same = picker(QStringLiteral("tank picker, box empty"), screen.lvwawa, [&] { screen.txtwawa_GotFocus(); },
               QStringLiteral("SELECT wewe_name FROM land WHERE wewe_name LIKE ? ESCAPE '!' ORDER BY wewe_name"),
               QStringLiteral(
                   "SELECT DISTINCT wewe_name FROM land WHERE wewe_name LIKE ? ESCAPE '!' ORDER BY wewe_name"),
               {any})
        && same;
    screen.txtwawa->setText(QStringLiteral("ks"));
    same = picker(QStringLiteral("tank picker, key up \"ks\""), screen.lvwawa, [&] { screen.txtwawa_KeyUp(); },
               QStringLiteral("SELECT wewe_name FROM land WHERE wewe_name LIKE ? ESCAPE '!' ORDER BY wewe_name"),
               QStringLiteral(
                   "SELECT DISTINCT wewe_name FROM land WHERE wewe_name LIKE ? ESCAPE '!' ORDER BY wewe_name"),
               {fragment})
        && same;
    same = picker(
               QStringLiteral("division picker"), screen.lvkottashya, [&] { screen.txtkottasaya_GotFocus(); },
               QStringLiteral("SELECT srno || ' - ' || gama_wasama FROM gamasewa_wasama ORDER BY srno"),
               QStringLiteral("SELECT srno, MIN(gama_wasama) FROM gamasewa_wasama GROUP BY srno ORDER BY srno"))
        && same;
    screen.txtkottasaya->setText(QStringLiteral("1"));
    same = picker(QStringLiteral("divisions in use (lot label), \"1\""), screen.lvkottashya,
               [&] { screen.labkatti_Click(); },
               QStringLiteral("SELECT kottashaya FROM land WHERE kottashaya LIKE ? ESCAPE '!' ORDER BY kottashaya"),
               QStringLiteral(
                   "SELECT DISTINCT kottashaya FROM land WHERE kottashaya LIKE ? ESCAPE '!' ORDER BY kottashaya"),
               {Dialect::containsPattern(QStringLiteral("1"))})
        && same;
    return same;
}

// A land of a registered owner saved with its four boundaries, as a clerk enters it: the boundaries
// first (held by the land register), then the land. Timed is the save, which writes both.
void saveWithBoundaries()
{
    const std::optional<Query> owner = db().first(QStringLiteral(
        "SELECT srno, id, house_no, land_owner_name, gamiya FROM landowner1 WHERE id <> '' ORDER BY srno"));
    if (!owner)
        return;
    // The land register opens its boundaries screen through the registry, as in the application.
    Screens::add(ScreenId::frmhathara,
        [](QWidget *opener) -> std::unique_ptr<QDialog> { return std::make_unique<frmhathara>(opener); });
    DialogWatch watch;
    frmland screen;
    int saved = 0;
    bool linked = true;
    const int runs = 5;
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const int before = db().scalar(QStringLiteral("SELECT COUNT(*) FROM land")).toInt();
        const QString permit = QStringLiteral("B-%1").arg(before + run);
        screen.txtid->setText(owner->value(1));
        screen.txtguhano->setText(owner->value(2));
        screen.labsrno_customr->setText(owner->value(0));
        screen.labname->setText(owner->value(3));
        screen.txtkottasaya->setText(owner->value(4));
        screen.fgamanam();
        screen.txtlandno->setText(permit);
        screen.txtadd->setText(QStringLiteral("mdr"));
        screen.txtakkara->setText(QStringLiteral("1"));
        screen.txtrud->setText(QStringLiteral("2"));
        screen.txtparchase->setText(QStringLiteral("20"));
        screen.txtakkara_only->setText(QStringLiteral("1.625"));
        screen.txtwawa->setText(QStringLiteral("jej"));
        // The boundaries screen opens from the land register and holds what the clerk types until the
        // land's save writes it.
        QTimer::singleShot(0, [] {
            auto *boundaries = qobject_cast<frmhathara *>(QApplication::activeModalWidget());
            if (!boundaries)
                return;
            boundaries->txtuthura->setText(QStringLiteral("W;=r"));
            boundaries->txtdakuna->setText(QStringLiteral("ol=K"));
            boundaries->txtbatahira->setText(QStringLiteral("ngysr"));
            boundaries->txtnaganahira->setText(QStringLiteral("kef.kysr"));
            boundaries->cmdok_Click();
        });

        // Timed is what writes: the boundaries' screen holds its texts and writes nothing, the save writes
        // the land and its boundaries.
        screen.cmdsathara_Click();
        QApplication::processEvents(); // what the closed dialog left to the event loop, before the clerk's click
        QElapsedTimer timer;
        timer.start();
        screen.cmdenter_Click();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);

        if (db().scalar(QStringLiteral("SELECT COUNT(*) FROM land")).toInt() == before + 1) {
            ++saved;
            const QString land = db().scalar(QStringLiteral("SELECT srno FROM land WHERE balapa_no = ?"), {permit});
            linked = linked
                && db().scalar(QStringLiteral("SELECT landsrno FROM hathara_maym WHERE landno = ? AND uthuru = 'W;=r'"),
                       {permit})
                    == land;
        }
    }
    std::sort(times.begin(), times.end());
    const double ms = times[times.size() / 2];
    if (saved != runs) {
        out << qSetFieldWidth(46) << Qt::left << QStringLiteral("save of a land with four boundaries")
            << qSetFieldWidth(0)
            << QStringLiteral("NOT MEASURED: %1 of %2 saves wrote a land (%3)")
                   .arg(saved)
                   .arg(runs)
                   .arg(watch.seen().join(QStringLiteral("; ")))
            << Qt::endl;
        return;
    }
    // The same statements by hand: the boundary row, the land, the boundary row set to the land's number.
    int n = 0;
    const double native = medianMs([&] {
        const QString permit = QStringLiteral("N-%1").arg(++n);
        QSqlQuery q(db().database());
        db().database().transaction();
        q.prepare(QStringLiteral("INSERT INTO hathara_maym (landsrno, landno1, landno, dakuna, uthuru, batahira, "
                                 "naganahira) VALUES ('0', 'k', ?, 'a', 'b', 'c', 'd')"));
        q.addBindValue(permit);
        q.exec();
        q.prepare(QStringLiteral("INSERT INTO land (id, guhasth, labn_owner_srno, balapa_no1, balapa_no, chack) "
                                 "VALUES (?, ?, ?, 'k', ?, '1')"));
        q.addBindValue(owner->value(1));
        q.addBindValue(owner->value(2));
        q.addBindValue(owner->value(0));
        q.addBindValue(permit);
        q.exec();
        q.prepare(QStringLiteral("UPDATE hathara_maym SET landsrno = (SELECT CAST(MAX(srno) AS VARCHAR(20)) FROM land) "
                                 "WHERE landno = ?"));
        q.addBindValue(permit);
        q.exec();
        db().database().commit();
    });
    out << qSetFieldWidth(46) << Qt::left << QStringLiteral("save of a land with four boundaries") << qSetFieldWidth(0)
        << QStringLiteral("screen %1 ms  statements alone %2 ms   boundaries %3")
               .arg(ms, 8, 'f', 1)
               .arg(native, 8, 'f', 1)
               .arg(linked ? QStringLiteral("on the new land") : QStringLiteral("NOT ON THE NEW LAND"))
        << Qt::endl;
}
} // namespace

bool landRegister(const Size &size)
{
    const bool lists = landLists(size);
    const bool picked = pickers();
    saveWithBoundaries();
    return lists && picked;
}

} // namespace parcelon::bench
