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
#include "base/freedmemory.h"
#include "reports/frmland_balapath_report.h"
#include "reports/frmland_one_report.h"
#include "reports/frmland_report.h"
#include "reports/frmlandowner_report.h"
#include "reports/frmpawarim_wartha.h"
#include "reports/reportengine.h"
#include "reports/reportpreview.h"
#include "ui/listview.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThreadPool>
#include <QTimer>

namespace parcelon::bench {
namespace {
QTextStream out(stdout);

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

// The land report of every land in force printed as the clerk prints it: the print button fills the
// scratch table and opens the preview, and the preview prints every page on a printer (here a PDF file,
// as a print queue would get it). Timed: the click to the preview, the pages streamed, the longest stall
// of the event loop while printing, and the peak memory of the whole.
void printThroughPreview(frmland_report &screen)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("land-report.pdf"));
    // The clerk looks over the list before printing it: in that pause the memory the earlier lists
    // freed goes back to the system, as it does in the application.
    QElapsedTimer pause;
    pause.start();
    while (pause.elapsed() < kFreedMemoryQuietMs + 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QThreadPool::globalInstance()->waitForDone();
    const bool peakReset = resetPeakResident();
    const double before = peakResidentMb();
    QElapsedTimer clock;
    double opened = 0;
    double printing = 0;
    int pages = 0;
    bool whole = false;
    double stall = 0;
    double preparing = 0; // the longest stall from the click to the preview
    double lastTurn = 0; // from the click
    QTimer turns;
    turns.setTimerType(Qt::PreciseTimer);
    turns.setInterval(1);
    QObject::connect(&turns, &QTimer::timeout, [&] {
        const double at = double(clock.nsecsElapsed()) / 1e6;
        if (lastTurn >= 0 && printing == 0)
            (opened > 0 ? stall : preparing) = std::max(opened > 0 ? stall : preparing, at - lastTurn);
        lastTurn = at;
    });
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto *preview = qobject_cast<ReportPreview *>(QApplication::activeModalWidget());
        if (!preview)
            return;
        watch.stop();
        opened = double(clock.nsecsElapsed()) / 1e6;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        lastTurn = opened;
        whole = preview->printOn(&printer);
        printing = double(clock.nsecsElapsed()) / 1e6 - opened;
        pages = preview->pageCount();
        preview->reject();
    });
    watch.start();
    turns.start();
    clock.start();
    screen.cmdprint_Click();
    turns.stop();
    const double peak = peakResidentMb();
    const double perSecond = printing > 0 ? pages / (printing / 1000) : 0;
    QStringList beyond;
    if (!whole || pages == 0)
        beyond << QStringLiteral("NOT PRINTED");
    if (perSecond < kPagesPerSecond)
        beyond << QStringLiteral("< %1 pages a second").arg(kPagesPerSecond);
    if (peak > kPrintPeakMb)
        beyond << QStringLiteral("peak > %1 MB").arg(kPrintPeakMb);
    if (stall > kStallMs)
        beyond << QStringLiteral("stall > %1 ms").arg(kStallMs);
    if (preparing > kStallMs)
        beyond << QStringLiteral("stall before the preview > %1 ms").arg(kStallMs);
    out << qSetFieldWidth(46) << Qt::left << QStringLiteral("land report printed through the preview")
        << qSetFieldWidth(0)
        << QStringLiteral(
               "preview in %1 s (stall %9 ms); %2 pages, %3 MB of PDF, in %4 s: %5 pages a second; stall %6 ms; "
               "peak %7 MB (%8 before)")
               .arg(opened / 1000, 0, 'f', 1)
               .arg(pages)
               .arg(double(QFileInfo(path).size()) / 1e6, 0, 'f', 1)
               .arg(printing / 1000, 0, 'f', 1)
               .arg(perSecond, 0, 'f', 1)
               .arg(stall, 0, 'f', 1)
               .arg(peak, 0, 'f', 0)
               .arg(peakReset ? QStringLiteral("%1 MB").arg(before, 0, 'f', 0) : QStringLiteral("not reset"))
               .arg(preparing, 0, 'f', 1)
        << (beyond.isEmpty() ? QString() : QStringLiteral("   OVER: ") + beyond.join(QStringLiteral(", "))) << Qt::endl;
    if (!beyond.isEmpty())
        over(QStringLiteral("land report printed: ") + beyond.join(QStringLiteral(", ")));
}

void landReport(const Size &size)
{
    const Felt opening = openingFelt([] { return std::make_unique<frmland_report>(); }, &frmland_report::lvland);
    frmland_report screen;
    showScreen(&screen);
    const auto [firstSql, firstParams] = firstPageQuery(screen.lvland);
    reportFelt(QStringLiteral("land report: opening"), opening, kFirstPaintMs,
        medianMs([&] { nativeFetch(firstSql, firstParams); }), screen.lvland->count());
    const double native = medianMs([] { nativeFetch(landReportSql(false)); });
    const double whole = medianMs([&] {
        screen.rebuild();
        fillWhole(screen.lvland);
    });
    reportWhole(QStringLiteral("land report: lands in force, whole"), whole, native, screen.lvland->count());

    const QString household = QString::number(std::max(1, size.owners / 6));
    const Felt keys = typeAndErase(screen.lvland, screen.txtguha, household);
    reportFelt(QStringLiteral("land report: house number \"%1\", worst key").arg(household), keys, kKeyMs, 0, -1);
    screen.txtguha->setText(household);
    fillWhole(screen.lvland);
    const double filterNative
        = medianMs([&] { nativeFetch(landReportSql(true), {Dialect::containsPattern(household)}); });
    const double filter = medianMs([&] {
        screen.rebuild();
        fillWhole(screen.lvland);
    });
    reportWhole(QStringLiteral("land report: house number \"%1\", whole").arg(household), filter, filterNative,
        screen.lvland->count());

    if (!size.pdf)
        return;
    screen.txtguha->clear();
    fillWhole(screen.lvland);
    printThroughPreview(screen);
}

bool ownerReport(const Size &size)
{
    const Felt opening
        = openingFelt([] { return std::make_unique<frmlandowner_report>(); }, &frmlandowner_report::lvland);
    frmlandowner_report screen;
    showScreen(&screen);
    const auto [firstSql, firstParams] = firstPageQuery(screen.lvland);
    reportFelt(QStringLiteral("owner report: opening"), opening, kFirstPaintMs,
        medianMs([&] { nativeFetch(firstSql, firstParams); }), screen.lvland->count());
    const QString sql = QStringLiteral(
        "SELECT o.srno, o.id, o.house_no, o.land_owner_name, (SELECT COUNT(*) FROM land1 l WHERE l.labn_owner_srno = "
        "CAST(o.srno AS VARCHAR(20))), CASE WHEN COALESCE(o.house_no, '') = '' THEN 0 ELSE (SELECT COUNT(*) FROM "
        "land1 l WHERE l.guhasth = o.house_no) END FROM landowner1 o ORDER BY o.srno");
    const double native = medianMs([&] { nativeFetch(sql); });
    const double whole = medianMs([&] {
        screen.all_mem();
        fillWhole(screen.lvland);
    });
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
    const double slow = size.million ? -1 : medianMs(perLine);
    const Lines byLine = size.million ? byScreen : linesOf(screen.lvland);
    const bool same = sameLines(QStringLiteral("the owner report's list"), byScreen, byLine);
    report(QStringLiteral("owner report: both counts, whole"), whole, slow, native, qsizetype(byScreen.size()), same);
    if (ratio(whole, native) > kWholeRatio)
        over(QStringLiteral("owner report: whole > %1x native").arg(kWholeRatio));

    // A count filter that keeps few owners reads every owner's counts before its first screenful.
    screen.cmbid->setCurrentIndex(1); // ">"
    const Felt keys = typeAndErase(screen.lvland, screen.txtland_ganana, QStringLiteral("10"));
    reportFelt(QStringLiteral("owner report: more than \"10\" lands, worst key"), keys, kKeyMs, 0, -1);
    return same;
}

void successorReport()
{
    const Felt opening = openingFelt([] { return std::make_unique<frmpawarim_wartha>(); }, &frmpawarim_wartha::lv);
    frmpawarim_wartha screen;
    showScreen(&screen);
    const double native = medianMs([] { nativeFetch(QStringLiteral("SELECT * FROM pasuhimika_report")); });
    reportFelt(QStringLiteral("successor report: opening"), opening, kFirstPaintMs, native, screen.lv->count());
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
    const double history = medianMs([&] { permits.flv(); });
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
    out << qSetFieldWidth(46) << Qt::left << QStringLiteral("one-land report: a land printed") << qSetFieldWidth(0)
        << QStringLiteral("screen %1 ms, %2 page(s)").arg(land, 0, 'f', 1).arg(pages) << Qt::endl;
    // The holder of land 770, with every land held.
    one.txtid->setText(db().scalar(QStringLiteral("SELECT o.id FROM land l JOIN landowner o ON l.labn_owner_srno = "
                                                  "CAST(o.srno AS VARCHAR(20)) WHERE l.srno = 770")));
    const double owner = printMs([&] { one.cmdprint1_Click(); }, &pages);
    out << qSetFieldWidth(46) << Qt::left << QStringLiteral("one-land report: an owner printed") << qSetFieldWidth(0)
        << QStringLiteral("screen %1 ms, %2 page(s)").arg(owner, 0, 'f', 1).arg(pages) << Qt::endl;
}
} // namespace

bool reportScreens(const Size &size)
{
    landReport(size);
    const bool same = ownerReport(size);
    successorReport();
    oneRecordReports();
    return same;
}

} // namespace parcelon::bench
