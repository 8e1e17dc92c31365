// The report screens' rows of the bench: the land report's list as it opens and after a filter, the land
// owner report's list with both counts, the successor list, the permit report's history of one permit, one
// land's and one owner's record printed, and the land report of every land rendered to PDF (pages per
// second).
//
// The per-line way of the owner report counts each owner's lands and its household's lands with two
// queries per owner, as the counts were once made.

#include "compare.h"
#include "timing.h"

#include "base/dbsession.h"
#include "reports/frmland_balapath_report.h"
#include "reports/frmland_one_report.h"
#include "reports/frmland_report.h"
#include "reports/frmlandowner_report.h"
#include "reports/frmpawarim_wartha.h"
#include "reports/reportengine.h"
#include "ui/listview.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <QTextStream>

namespace parcelon::bench {
namespace {
QTextStream out(stdout);

void paint(ListView *list)
{
    const QPixmap shown = list->viewport()->grab();
    Q_UNUSED(shown);
}

template <class Screen> void fillWhole(const Screen &screen)
{
    while (screen.listFilling())
        QCoreApplication::processEvents();
}

// The land report's list as the screen reads it, whole: every filter empty but the household's, which
// is a contains-search when typed.
QString landReportSql(bool household)
{
    return QStringLiteral(
        "SELECT balapa_no, labn_owner_srno, balapa_no1, id, house_no, aythiye_sbawaya, loan_sbawaya, wewe_name, "
        "kottashaya, pewarima, akkara_only, srno FROM land_re_1 WHERE balapa_no IS NOT NULL AND "
        "aythiye_sbawaya IS NOT NULL AND loan_sbawaya IS NOT NULL AND wewe_name IS NOT NULL AND kottashaya IS "
        "NOT NULL AND id IS NOT NULL AND %1 AND balapa_no1 IS NOT NULL AND gama IS NOT NULL ORDER BY srno")
        .arg(household ? QStringLiteral("house_no LIKE ? ESCAPE '!'") : QStringLiteral("house_no IS NOT NULL"));
}

void landReport(const Size &size)
{
    const double opening = medianMs(
        [] {
            frmland_report screen;
            paint(screen.lvland);
        },
        3);
    frmland_report screen;
    const double native = medianMs([] { nativeFetch(landReportSql(false)); }, 3);
    reportNative(QStringLiteral("land report: opening, first"), opening, native, screen.lvland->count());
    const double whole = medianMs(
        [&] {
            screen.rebuild();
            fillWhole(screen);
        },
        3);
    reportNative(QStringLiteral("land report: lands in force, whole"), whole, native, screen.lvland->count());

    const QString household = QString::number(std::max(1, size.owners / 6));
    const double filterNative
        = medianMs([&] { nativeFetch(landReportSql(true), {Dialect::containsPattern(household)}); });
    const double filter = medianMs([&] {
        screen.txtguha->setText(household);
        screen.rebuild();
        paint(screen.lvland);
    });
    fillWhole(screen);
    reportNative(QStringLiteral("land report: house number \"%1\"").arg(household), filter, filterNative,
        screen.lvland->count());

    // Every land in force printed: the scratch table filled, read and emptied, and the pages drawn.
    if (!size.pdf)
        return;
    screen.txtguha->clear();
    screen.rebuild();
    fillWhole(screen);
    QByteArray pdf;
    qsizetype rows = 0;
    const ReportEngine::Presenter before
        = ReportEngine::setPresenter([&](QWidget *, const ReportData &data, const QByteArray &bytes) {
              pdf = bytes;
              rows = qsizetype(data.rows.size());
          });
    QElapsedTimer timer;
    timer.start();
    screen.cmdprint_Click();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    ReportEngine::setPresenter(before);
    const qsizetype pages = pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page ")
        + pdf.count("/Type /Page/") + pdf.count("/Type /Page>");
    out << qSetFieldWidth(40) << Qt::left << QStringLiteral("land report printed to PDF") << qSetFieldWidth(0)
        << QStringLiteral("%1 lines, %2 pages, %3 MB in %4 s: %5 pages a second")
               .arg(rows)
               .arg(pages)
               .arg(double(pdf.size()) / 1e6, 0, 'f', 1)
               .arg(seconds, 0, 'f', 1)
               .arg(seconds > 0 ? double(pages) / seconds : 0, 0, 'f', 1)
        << Qt::endl;
}

bool ownerReport()
{
    const double opening = medianMs(
        [] {
            frmlandowner_report screen;
            paint(screen.lvland);
        },
        3);
    frmlandowner_report screen;
    const QString sql = QStringLiteral(
        "SELECT o.srno, o.id, o.house_no, o.land_owner_name, (SELECT COUNT(*) FROM land1 l WHERE l.labn_owner_srno = "
        "CAST(o.srno AS VARCHAR(20))), CASE WHEN COALESCE(o.house_no, '') = '' THEN 0 ELSE (SELECT COUNT(*) FROM "
        "land1 l WHERE l.guhasth = o.house_no) END FROM landowner1 o ORDER BY o.srno");
    const double native = medianMs([&] { nativeFetch(sql); }, 3);
    reportNative(QStringLiteral("owner report: opening, first"), opening, native, screen.lvland->count());
    const double whole = medianMs(
        [&] {
            screen.all_mem();
            fillWhole(screen);
        },
        3);
    const Lines byScreen = linesOf(screen.lvland);
    const auto perLine = [&] {
        screen.lvland->clear();
        Query owners
            = db().select(QStringLiteral("SELECT srno, id, house_no, land_owner_name FROM landowner1 ORDER BY srno"));
        Lines lines;
        while (owners.next()) {
            const QString byOwner = db().scalar(
                QStringLiteral("SELECT COUNT(*) FROM land1 WHERE labn_owner_srno = ?"), {owners.value(0)});
            const QString house = owners.value(2);
            const QString byHouse = house.isEmpty()
                ? QStringLiteral("0")
                : db().scalar(QStringLiteral("SELECT COUNT(*) FROM land1 WHERE guhasth = ?"), {house});
            const QString id = owners.value(1);
            lines.push_back({owners.value(0), id.left(9), house, owners.value(3), byOwner, byHouse, id.mid(9, 1)});
        }
        screen.lvland->addItems(std::move(lines));
    };
    const double slow = medianMs(perLine, 1);
    const Lines byLine = linesOf(screen.lvland);
    const bool same = sameLines(QStringLiteral("the owner report's list"), byScreen, byLine);
    report(QStringLiteral("owner report: both counts, whole"), whole, slow, native, qsizetype(byScreen.size()), same);

    // A count filter that keeps few owners reads every owner's counts before its first screenful.
    screen.cmbid->setCurrentIndex(1); // ">"
    screen.txtland_ganana->setText(QStringLiteral("10"));
    fillWhole(screen);
    const QString filtered = QString(sql).replace(QStringLiteral(" ORDER BY"),
        QStringLiteral(" WHERE (SELECT COUNT(*) FROM land1 l WHERE l.labn_owner_srno = CAST(o.srno AS VARCHAR(20))) > "
                       "10 ORDER BY"));
    const double filterNative = medianMs([&] { nativeFetch(filtered); }, 3);
    const double filter = medianMs([&] {
        screen.land_id_w();
        paint(screen.lvland);
    });
    fillWhole(screen);
    reportNative(
        QStringLiteral("owner report: more than 10 lands, first"), filter, filterNative, screen.lvland->count());
    return same;
}

void successorReport()
{
    const double opening = medianMs(
        [] {
            frmpawarim_wartha screen;
            paint(screen.lv);
        },
        3);
    frmpawarim_wartha screen;
    const double native = medianMs([] { nativeFetch(QStringLiteral("SELECT * FROM pasuhimika_report")); }, 3);
    reportNative(QStringLiteral("successor report: opening"), opening, native, screen.lv->count());
}

// A report of one land or one owner read and drawn to PDF: the time from the click to the preview.
double printMs(const std::function<void()> &print, qsizetype *pages)
{
    QByteArray pdf;
    const ReportEngine::Presenter before
        = ReportEngine::setPresenter([&](QWidget *, const ReportData &, const QByteArray &bytes) { pdf = bytes; });
    const double ms = medianMs(print, 3);
    ReportEngine::setPresenter(before);
    *pages = pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") + pdf.count("/Type /Page/")
        + pdf.count("/Type /Page>");
    return ms;
}

// The permit report's history of one permit number, and the one-land report's two prints.
void oneRecordReports()
{
    // Every tenth land has an earlier permit; land 770's number is 10770.
    frmland_balapath_report permits;
    permits.txtlandno->setText(QStringLiteral("10770"));
    const double history = medianMs([&] {
        permits.flv();
        paint(permits.lv);
    });
    const double historyNative = medianMs([] {
        nativeFetch(
            QStringLiteral(
                "SELECT 0 AS kind, l.srno AS srno, l.balapa_no1, l.balapa_no, o.srno AS holder, o.id FROM land l LEFT "
                "JOIN landowner o ON l.labn_owner_srno = CAST(o.srno AS VARCHAR(20)) WHERE l.srno = (SELECT MIN(srno) "
                "FROM land WHERE balapa_no = ?) UNION ALL SELECT 1 AS kind, p.srno AS srno, p.balapa_no1, "
                "p.balapa_no, o.srno AS holder, o.id FROM land l JOIN land_pera p ON p.land_srno = CAST(l.srno AS "
                "VARCHAR(20)) LEFT JOIN landowner o ON p.labn_owner_srno = CAST(o.srno AS VARCHAR(20)) WHERE l.srno "
                "= (SELECT MIN(srno) FROM land WHERE balapa_no = ?) ORDER BY kind, srno"),
            {QStringLiteral("10770"), QStringLiteral("10770")});
    });
    reportNative(QStringLiteral("permit report: a permit's history"), history, historyNative, permits.lv->count());

    frmland_one_report one;
    one.txtlandno->setText(QStringLiteral("10770"));
    qsizetype pages = 0;
    const double land = printMs([&] { one.cmdprint_Click(); }, &pages);
    out << qSetFieldWidth(40) << Qt::left << QStringLiteral("one-land report: a land printed") << qSetFieldWidth(0)
        << QStringLiteral("screen %1 ms, %2 page(s)").arg(land, 0, 'f', 1).arg(pages) << Qt::endl;
    // The holder of land 770, with every land held.
    one.txtid->setText(db().scalar(QStringLiteral("SELECT o.id FROM land l JOIN landowner o ON l.labn_owner_srno = "
                                                  "CAST(o.srno AS VARCHAR(20)) WHERE l.srno = 770")));
    const double owner = printMs([&] { one.cmdprint1_Click(); }, &pages);
    out << qSetFieldWidth(40) << Qt::left << QStringLiteral("one-land report: an owner printed") << qSetFieldWidth(0)
        << QStringLiteral("screen %1 ms, %2 page(s)").arg(owner, 0, 'f', 1).arg(pages) << Qt::endl;
}
} // namespace

bool reportScreens(const Size &size)
{
    landReport(size);
    const bool same = ownerReport();
    successorReport();
    oneRecordReports();
    return same;
}

} // namespace parcelon::bench
