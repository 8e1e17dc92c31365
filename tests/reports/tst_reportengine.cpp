// The report engine as the report screens use it: the installed layout chosen by the request's file, the
// scratch table filled, read and emptied in one change, the formula values in the header, every row in
// the PDF as real Unicode Sinhala, the selection formula honoured with its quotes escaped, and nothing
// left behind when the file is missing or the render fails half-way.

#include "base/dbsession.h"
#include "base/legacyconvert.h"
#include "reports/pageview.h"
#include "reports/pdftext.h"
#include "reports/reportengine.h"
#include "reports/reportpreview.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/records.h"
#include "support/screentest.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <numeric>

using namespace parcelon;

namespace {
const QStringList kLandColumns = {QStringLiteral("srno"), QStringLiteral("land_no"), QStringLiteral("id"),
    QStringLiteral("guhano"), QStringLiteral("aythiya_sbawaya"), QStringLiteral("land_sabawaya"),
    QStringLiteral("wawa_name"), QStringLiteral("kottashaya"), QStringLiteral("land_wargaya"),
    QStringLiteral("land_pramanaya"), QStringLiteral("id1")};
// An office whose name holds an apostrophe: the formula carries it unchanged.
const QString kOffice = QStringLiteral("ue'Kdjr m%dfoaYSh f,alï ld¾hd,h");

QString uni(const QString &legacy) { return legacyToUnicode(legacy).unicode; }

QVariantList landRow(const QString &owner, const QString &permit, const QString &id, const QString &house,
    const QString &tank, const QString &extent)
{
    return {Dialect::key(owner), permit, id.left(9), house, QStringLiteral("Èukd m;%"), QStringLiteral("uv"), tank,
        QStringLiteral("uyje,"), QStringLiteral("l%shd;aul"), extent, id.mid(9, 1)};
}

ReportRequest landRequest()
{
    ReportRequest r;
    r.file = QStringLiteral("D:\\Parcelon\\Report\\land.rpt");
    r.setFormula(0, QStringLiteral("fname ='") + kOffice + QStringLiteral("'"));
    return r;
}
} // namespace

class tst_reportengine : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;

private slots:
    void init() { m_base.init(); }
    void cleanup()
    {
        ReportEngine::setPageHook({});
        m_base.cleanup();
    }

    void landReportPrintsEveryRowAsUnicode()
    {
        const std::vector<QVariantList> rows = {
            landRow(QStringLiteral("7"), QStringLiteral("fkd;drsia Tmamq wxlh 125"), QStringLiteral("123456789v"),
                QStringLiteral("A-12"), QStringLiteral("ud;r jej"), QStringLiteral("2.5")),
            landRow(QStringLiteral("8"), QStringLiteral("wjirm;% wxlh 300"), QStringLiteral("555123000x"),
                QStringLiteral("B-7"), QStringLiteral("ñ;=re jej"), QStringLiteral("10")),
            // A value with a quote mark goes in unchanged.
            landRow(QString(), QStringLiteral("wkjir bvï 9'1"), QStringLiteral("999999999v"), QStringLiteral("C'1"),
                QString(), QStringLiteral("0.25")),
        };
        test::CapturedReports captured;
        ReportEngine::runWithScratch(QStringLiteral("land_report"), kLandColumns, rows, landRequest(), nullptr);
        QCOMPARE(test::count(QStringLiteral("land_report")), 0);
        QCOMPARE(captured.reports.size(), size_t(1));
        QCOMPARE(captured.reports[0].data.file, QStringLiteral("land.rpt"));
        QString error;
        const QString text = test::pdfText(captured.reports[0].pdf, &error);
        QVERIFY2(!text.isEmpty(), qPrintable(error));
        QVERIFY2(text.contains(uni(kOffice)), qPrintable(text));
        QVERIFY(text.contains(uni(QStringLiteral("bvï f,aLKh"))));
        QVERIFY(text.contains(uni(QStringLiteral("whs;sfha iajNdjh"))));
        QVERIFY2(
            test::hasLine(text,
                {uni(QStringLiteral("fkd;drsia Tmamq wxlh 125")), QStringLiteral("123456789v"), QStringLiteral("A-12"),
                    uni(QStringLiteral("Èukd m;%")), uni(QStringLiteral("ud;r jej")), QStringLiteral("2.5")}),
            qPrintable(text));
        QVERIFY(test::hasLine(text,
            {uni(QStringLiteral("wjirm;% wxlh 300")), QStringLiteral("555123000x"), QStringLiteral("B-7"),
                uni(QStringLiteral("ñ;=re jej")), QStringLiteral("10")}));
        QVERIFY(test::hasLine(text,
            {uni(QStringLiteral("wkjir bvï 9'1")), QStringLiteral("999999999v"), QStringLiteral("C'1"),
                QStringLiteral("0.25")}));
        // Sinhala comes out in logical order: the kombuva after its consonant, conjuncts whole.
        QVERIFY(text.contains(QStringLiteral("ක්‍රියාත්මක"))
            || text.contains(uni(QStringLiteral("l%shd;aul"))));
    }

    // A register-sized report must stay a file a clerk can keep: the Sinhala glyphs are an embedded font,
    // written once, not outlines at every use, and the text reads back once, in the list's order.
    void sinhalaIsEmbeddedAndReadsBackOnce()
    {
        std::vector<QVariantList> rows;
        for (int i = 0; i < 120; ++i)
            rows.push_back(landRow(QString::number(1000 - i), QStringLiteral("wjirm;% wxlh %1").arg(i),
                QStringLiteral("555123000x"), QStringLiteral("B-7"), QStringLiteral("ñ;=re jej"), QStringLiteral("1")));
        test::CapturedReports captured;
        ReportEngine::runWithScratch(QStringLiteral("land_report"), kLandColumns, rows, landRequest(), nullptr);
        QCOMPARE(captured.reports.size(), size_t(1));
        const QByteArray &pdf = captured.reports[0].pdf;
        const qsizetype pages = pdf.count("/Type /Page\n") + pdf.count("/Type /Page ") + pdf.count("/Type /Page/")
            + pdf.count("/Type /Page>");
        QVERIFY2(pages >= 4, qPrintable(QString::number(pages)));
        // Outlines took over a megabyte a page; glyphs of an embedded font take a few kilobytes.
        QVERIFY2(pdf.size() / pages < 60000, qPrintable(QString::number(pdf.size() / pages)));
        QVERIFY(pdf.contains("ParcelonSilent"));
        const QString text = test::pdfText(pdf);
        QCOMPARE(text.count(uni(QStringLiteral("ñ;=re jej"))), 120);
        qsizetype at = 0;
        for (int i = 0; i < 120; ++i) {
            const QRegularExpression line(
                QStringLiteral("%1\\s+555123000x")
                    .arg(QRegularExpression::escape(uni(QStringLiteral("wjirm;% wxlh %1").arg(i)))));
            const QRegularExpressionMatch found = line.match(text, at);
            QVERIFY2(found.hasMatch(), qPrintable(QString::number(i)));
            at = found.capturedEnd();
        }
    }

    void emptyListStillPrints()
    {
        test::CapturedReports captured;
        ReportEngine::runWithScratch(QStringLiteral("land_report"), kLandColumns, {}, landRequest(), nullptr);
        QCOMPARE(captured.reports.size(), size_t(1));
        QVERIFY(captured.reports[0].data.rows.empty());
        QVERIFY(test::pdfText(captured.reports[0].pdf).contains(uni(kOffice)));
    }

    void failureLeavesNothingBehind_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("renderFails");
        QTest::newRow("missing report file") << QStringLiteral("D:\\Parcelon\\Report\\nothere.rpt") << false;
        QTest::newRow("render fails on its first page") << QStringLiteral("D:\\Parcelon\\Report\\land.rpt") << true;
    }
    void failureLeavesNothingBehind()
    {
        QFETCH(QString, file);
        QFETCH(bool, renderFails);
        if (renderFails)
            ReportEngine::setPageHook([](int) { throw ReportError(QStringLiteral("the printer ran dry")); });
        ReportRequest request = landRequest();
        request.file = file;
        test::CapturedReports captured;
        bool failed = false;
        try {
            ReportEngine::runWithScratch(QStringLiteral("land_report"), kLandColumns,
                {landRow(QStringLiteral("7"), QStringLiteral("125"), QStringLiteral("123456789v"), QStringLiteral("A"),
                    QString(), QStringLiteral("1"))},
                request, nullptr);
        } catch (const ReportError &) {
            failed = true;
        }
        QVERIFY(failed);
        QVERIFY(captured.reports.empty());
        QCOMPARE(test::count(QStringLiteral("land_report")), 0);
    }

    // A layout over the register itself, restricted by a selection formula, as the single-land reports
    // ask.
    void selectionFormulaIsHonoured_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("text") << selectionFormula(
            QStringLiteral("land"), QStringLiteral("balapa_no"), QStringLiteral("125"))
                              << QStringList {QStringLiteral("125")};
        QTest::newRow("text with a double quote, escaped")
            << selectionFormula(QStringLiteral("land"), QStringLiteral("balapa_no"), QStringLiteral("12\"5"))
            << QStringList {QStringLiteral("12\"5")};
        QTest::newRow("text that only looks like an injection")
            << selectionFormula(QStringLiteral("land"), QStringLiteral("balapa_no"), QStringLiteral("1\" OR \"\"=\""))
            << QStringList {};
        QTest::newRow("number") << selectionFormula(QStringLiteral("land"), QStringLiteral("srno"), 2)
                                << QStringList {QStringLiteral("12\"5")};
        QTest::newRow("number, written tight as the screens do")
            << QStringLiteral("{land.srno}=3") << QStringList {QStringLiteral("300")};
        QTest::newRow("no formula") << QString()
                                    << QStringList {
                                           QStringLiteral("125"), QStringLiteral("12\"5"), QStringLiteral("300")};
    }
    void selectionFormulaIsHonoured()
    {
        QFETCH(QString, formula);
        QFETCH(QStringList, expected);
        QTemporaryDir folder;
        QFile layout(folder.filePath(QStringLiteral("one_land.rpt")));
        QVERIFY(layout.open(QIODevice::WriteOnly));
        layout.write(R"({"title": "bvu", "header": [[{"formula": "fname"}]],
            "query": "SELECT l.balapa_no FROM land l", "tables": {"land": "l"}, "order": "l.srno",
            "columns": [{"field": "balapa_no", "caption": "wxlh", "legacy": false}]})");
        layout.close();
        qputenv("PARCELON_REPORT_DIR", folder.path().toLocal8Bit());
        test::addLand({.balapa_no = QStringLiteral("125")});
        test::addLand({.balapa_no = QStringLiteral("12\"5")});
        test::addLand({.balapa_no = QStringLiteral("300")});
        ReportRequest request;
        request.file = QStringLiteral("D:\\Parcelon\\Report\\one_land.rpt");
        request.selectionFormula = formula;
        request.setFormula(0, QStringLiteral("fname ='") + kOffice + QStringLiteral("'"));
        const ReportData data = ReportEngine::read(request);
        qunsetenv("PARCELON_REPORT_DIR");
        QStringList got;
        for (const ReportData::Row &row : data.rows)
            got << row.cells.value(0);
        QCOMPARE(got, expected);
        QCOMPARE(data.header.value(0), uni(kOffice));
    }

    // Every installed layout reads the register on this engine, restricted by the selection formula its
    // screen makes, and sets its rows on pages. One land (permit 125) with an earlier version, its
    // boundaries and a successor; a second land (permit 300) that no formula names.
    void everyInstalledLayoutReads_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("formula");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("shown");
        const QString permit
            = selectionFormula(QStringLiteral("land"), QStringLiteral("balapa_no"), QStringLiteral("125"));
        QTest::newRow("old_land1.rpt") << QStringLiteral("old_land1.rpt") << permit << 1
                                       << QStringList {QStringLiteral("123456789"), uni(QStringLiteral("mshd"))};
        QTest::newRow("old_land.rpt: the land and its earlier version") << QStringLiteral(
            "old_land.rpt") << permit << 2 << QStringList {QStringLiteral("99"), QStringLiteral("125")};
        QTest::newRow("land_all_detels.rpt")
            << QStringLiteral("land_all_detels.rpt") << permit << 1
            << QStringList {uni(QStringLiteral("W;=r")), uni(QStringLiteral("lkao")), uni(QStringLiteral("mshd"))};
        QTest::newRow("land_owner_all.rpt: the owner with both lands")
            << QStringLiteral("land_owner_all.rpt")
            << selectionFormula(QStringLiteral("landowner"), QStringLiteral("id"), QStringLiteral("123456789v")) << 2
            << QStringList {uni(QStringLiteral("mshd")), QStringLiteral("123456789v")};
        QTest::newRow("pasuhimikam.rpt") << QStringLiteral("pasuhimikam.rpt") << QStringLiteral("{land.srno}=1") << 1
                                         << QStringList {uni(QStringLiteral("ks,a"))};
    }
    void everyInstalledLayoutReads()
    {
        QFETCH(QString, file);
        QFETCH(QString, formula);
        QFETCH(int, rows);
        QFETCH(QStringList, shown);
        const QString holder
            = test::addOwner({.id = QStringLiteral("123456789v"), .land_owner_name = QStringLiteral("mshd")});
        const QString heir
            = test::addOwner({.id = QStringLiteral("555123000x"), .land_owner_name = QStringLiteral("ks,a")});
        const QString land = test::addLand({.labn_owner_srno = holder, .balapa_no = QStringLiteral("125")});
        test::addLand({.labn_owner_srno = holder, .balapa_no = QStringLiteral("300")});
        test::exec(QStringLiteral(
                       "INSERT INTO land_pera (land_srno, labn_owner_srno, balapa_no1, balapa_no) VALUES (?, ?, ?, ?)"),
            {land, heir, QStringLiteral("wjirm;% wxlh"), QStringLiteral("99")});
        test::exec(QStringLiteral("INSERT INTO hathara_maym (landsrno, landno, uthuru, dakuna) VALUES (?, ?, ?, ?)"),
            {land, QStringLiteral("125"), QStringLiteral("lkao"), QStringLiteral("jej")});
        test::exec(QStringLiteral(
                       "INSERT INTO pasuhimikam (landowner_srno, newcus_srno, land_srno, landno) VALUES (?, ?, ?, ?)"),
            {holder, heir, land, QStringLiteral("125")});
        ReportRequest request;
        request.file = QStringLiteral("D:\\Parcelon\\Report\\") + file;
        request.selectionFormula = formula;
        request.setFormula(0, QStringLiteral("fname ='") + kOffice + QStringLiteral("'"));
        request.setFormula(1, QStringLiteral("fanuname ='n,m;%'"));
        test::CapturedReports captured;
        ReportEngine::run(request, nullptr);
        QCOMPARE(captured.reports.size(), size_t(1));
        QCOMPARE(int(captured.reports[0].data.rows.size()), rows);
        const QString text = test::pdfText(captured.reports[0].pdf);
        QVERIFY(text.contains(uni(kOffice)));
        for (const QString &s : shown)
            QVERIFY2(text.contains(s), qPrintable(s + QStringLiteral("\n") + text));
    }

    void formulasAndSelectionsRead_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::newRow("with a space") << QStringLiteral("fname ='abc'") << QStringLiteral("fname")
                                      << QStringLiteral("abc");
        QTest::newRow("tight") << QStringLiteral("ddf='<>'") << QStringLiteral("ddf") << QStringLiteral("<>");
        QTest::newRow("apostrophes inside")
            << QStringLiteral("anuname='a'b''") << QStringLiteral("anuname") << QStringLiteral("a'b'");
        QTest::newRow("blanks kept") << QStringLiteral("anuname=' ish,a, '") << QStringLiteral("anuname")
                                     << QStringLiteral(" ish,a, ");
    }
    void formulasAndSelectionsRead()
    {
        QFETCH(QString, text);
        const Formula f = parseFormula(text);
        QTEST(f.name, "name");
        QTEST(f.value, "value");
    }

    void unknownSelectionsAreRefused_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::newRow("a column name with SQL in it") << QStringLiteral("{land.srno; DELETE FROM land}=1");
        QTest::newRow("an unescaped quote") << QStringLiteral("{land.balapa_no} = \"a\"b\"");
        QTest::newRow("another operator") << QStringLiteral("{land.srno} > 1");
        QTest::newRow("a table the report does not read") << QStringLiteral("{landowner.srno}=1");
    }
    void unknownSelectionsAreRefused()
    {
        QFETCH(QString, formula);
        ReportRequest request = landRequest();
        request.selectionFormula = formula;
        QVERIFY_THROWS_EXCEPTION(ReportError, ReportEngine::read(request));
    }

    // The preview's Print goes through the system's print dialog; this machine has no printer, so the
    // dialog offers printing to a file, which is what a clerk without a printer would choose.
    void printsThroughThePrintDialog()
    {
        const std::vector<QVariantList> rows = {landRow(QStringLiteral("7"), QStringLiteral("wjirm;% wxlh 300"),
            QStringLiteral("555123000x"), QStringLiteral("B-7"), QStringLiteral("ñ;=re jej"), QStringLiteral("10"))};
        test::CapturedReports captured;
        ReportEngine::runWithScratch(QStringLiteral("land_report"), kLandColumns, rows, landRequest(), nullptr);
        ReportPreview preview(captured.reports[0].data, captured.reports[0].pdf);
        preview.show();
        QTemporaryDir folder;
        const QString printed = folder.filePath(QStringLiteral("printed.pdf"));
        test::ModalAnswers cancel;
        cancel.press(QStringLiteral("Cancel"));
        QTest::mouseClick(preview.cmdprint, Qt::LeftButton);
        QVERIFY(cancel.allAnswered());
        QVERIFY(QDir(folder.path()).isEmpty());

        test::ModalAnswers answers;
        answers.with([&](QWidget *dialog) {
            QVERIFY(qobject_cast<QPrintDialog *>(dialog));
            auto *file = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
            QVERIFY(file && file->isVisible());
            file->selectAll();
            QTest::keyClicks(file, printed);
            QVERIFY(test::clickButton(dialog, QStringLiteral("Print")));
        });
        QTest::mouseClick(preview.cmdprint, Qt::LeftButton);
        QVERIFY(answers.allAnswered());
        QFile paper(printed);
        QVERIFY(paper.open(QIODevice::ReadOnly));
        const QString text = test::pdfText(paper.readAll());
        QVERIFY2(text.contains(uni(kOffice)), qPrintable(text));
        QVERIFY(test::hasLine(text,
            {uni(QStringLiteral("wjirm;% wxlh 300")), QStringLiteral("555123000x"), QStringLiteral("B-7"),
                uni(QStringLiteral("ñ;=re jej")), QStringLiteral("10")}));
    }

    void previewShowsThePagesAndSaves()
    {
        std::vector<QVariantList> rows;
        for (int i = 0; i < 120; ++i)
            rows.push_back(landRow(QString::number(i), QStringLiteral("wjirm;% wxlh %1").arg(i),
                QStringLiteral("123456789v"), QStringLiteral("H"), QString(), QStringLiteral("1")));
        test::CapturedReports captured;
        ReportEngine::runWithScratch(QStringLiteral("land_report"), kLandColumns, rows, landRequest(), nullptr);
        QCOMPARE(captured.reports.size(), size_t(1));
        const QString text = test::pdfText(captured.reports[0].pdf);
        for (int i : {0, 57, 119})
            QVERIFY2(
                test::hasLine(text, {uni(QStringLiteral("wjirm;% wxlh %1").arg(i))}), qPrintable(QString::number(i)));
        // More than one page, each numbered.
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("\\b1 ?/ ?\\d"))));
        const int pages = text.count(QLatin1Char('\f'));
        QVERIFY2(pages > 1, qPrintable(QString::number(pages)));

        ReportPreview preview(captured.reports[0].data, captured.reports[0].pdf);
        preview.show();
        QTRY_COMPARE(preview.pageCount(), pages);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("land.pdf"));
        QVERIFY(preview.saveTo(path));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), captured.reports[0].pdf);
        preview.close();
    }

    // Texts as long as the boxes allow wrap inside their cells: each reads back whole from the PDF, the
    // next field still after it, and nothing is drawn past the page's right margin.
    void longTextsWrapInsideTheirCells()
    {
        QString words; // many words, as a long permit number or address
        while (words.size() < 240)
            words += QStringLiteral("wjirm;% wxlh ");
        words = words.trimmed();
        const QString oneWord = QStringLiteral("ñ;=re").repeated(51); // 255 letters without a space
        const std::vector<QVariantList> rows = {
            landRow(QStringLiteral("7"), words, QStringLiteral("123456789v"), QStringLiteral("A-12"), oneWord,
                QStringLiteral("2.5")),
            landRow(QStringLiteral("8"), QStringLiteral("wjirm;% wxlh 300"), QStringLiteral("555123000x"),
                QStringLiteral("B-7"), QStringLiteral("ud;r jej"), QStringLiteral("10")),
        };
        test::CapturedReports captured;
        ReportEngine::runWithScratch(QStringLiteral("land_report"), kLandColumns, rows, landRequest(), nullptr);
        const QString text = test::pdfText(captured.reports[0].pdf);
        auto squeezed = [](QString t) { return t.remove(QRegularExpression(QStringLiteral("\\s+"))); };
        const QString all = squeezed(text);
        // Each long field whole and in order, then the identity number of the same land.
        const qsizetype permit = all.indexOf(squeezed(uni(words)));
        QVERIFY2(permit >= 0, qPrintable(text));
        QVERIFY2(all.indexOf(squeezed(uni(oneWord))) > permit, qPrintable(text));
        QVERIFY(test::hasLine(text, {uni(QStringLiteral("wjirm;% wxlh 300")), QStringLiteral("555123000")}));

        // Drawn on an image of the page: the margins right of the table and below it stay white.
        ReportPages pages(captured.reports[0].data);
        const QSizeF paper = pages.pageLayout().fullRectPoints().size();
        QImage page((paper * 2).toSize(), QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        pages.paint(painter, 0, 144);
        painter.end();
        const int margin = 144 / 2; // half an inch
        const auto white = [&](int x, int y) { return page.pixel(x, y) == qRgb(255, 255, 255); };
        for (int y = 0; y < page.height(); ++y) {
            for (int x = page.width() - margin + 4; x < page.width(); ++x)
                QVERIFY2(white(x, y), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
        // Nor across the border between two columns of the table's lines (below the rules above and
        // under the column captions).
        const std::vector<int> &widths = captured.reports[0].data.widths;
        const qreal scale = (page.width() - 2 * margin) / qreal(std::accumulate(widths.begin(), widths.end(), 0));
        const int middle = page.width() / 2;
        int rules = 0;
        for (int y = 0; y < page.height(); ++y) {
            const bool rule = !white(margin + 1, y) && !white(middle, y);
            if (rule && (y == 0 || white(margin + 1, y - 1)))
                ++rules;
            if (rule || rules < 2)
                continue;
            qreal edge = margin;
            for (size_t c = 0; c + 1 < widths.size(); ++c) {
                edge += widths[c] * scale;
                if (widths[c] == 0 || widths[c + 1] == 0)
                    continue;
                QVERIFY2(white(int(edge), y), qPrintable(QStringLiteral("column %1 at %2").arg(c).arg(y)));
            }
        }
    }

    // Filling the scratch table and reading the report back run off the window's thread: the window
    // turns while they do, the progress bar comes up when they take long, and its Cancel undoes the
    // rows written and presents nothing.
    void longPreparationAnswersAndCancels()
    {
        std::vector<QStringList> lines;
        for (int i = 0; i < 5000; ++i)
            lines.push_back({QString::number(i), QStringLiteral("wxlh %1").arg(i)});
        // A slow server: each row takes a millisecond to make.
        const ReportEngine::RowOf slowRow = [](const QStringList &line) {
            QThread::msleep(1);
            return landRow(
                line[0], line[1], QStringLiteral("123456789v"), QStringLiteral("H"), QString(), QStringLiteral("1"));
        };
        test::CapturedReports captured;
        int turns = 0;
        QTimer turn;
        turn.setInterval(10);
        connect(&turn, &QTimer::timeout, [&turns] { ++turns; });
        turn.start();
        test::ModalAnswers progress;
        QString asked;
        progress.with([&](QWidget *dialog) {
            asked = dialog->objectName();
            QVERIFY(test::clickButton(dialog, QStringLiteral("Cancel")));
        });
        ReportEngine::runWithScratch(
            QStringLiteral("land_report"), kLandColumns, lines, slowRow, landRequest(), nullptr);
        turn.stop();
        QCOMPARE(asked, QStringLiteral("preparing"));
        QVERIFY2(turns >= 3, qPrintable(QString::number(turns))); // none while the rows were written here
        QVERIFY(captured.reports.empty());
        QCOMPARE(test::count(QStringLiteral("land_report")), 0);
    }

    // A long report is looked at and printed a page at a time: the preview keeps no more than its few
    // drawn pages however far the clerk scrolls, and printing streams every page to the printer.
    void longReportKeepsOnlyItsCacheOfPages()
    {
        std::vector<QVariantList> rows;
        for (int i = 0; i < 1500; ++i)
            rows.push_back(landRow(QString::number(i), QStringLiteral("wjirm;% wxlh %1").arg(i),
                QStringLiteral("123456789v"), QStringLiteral("H"), QString(), QStringLiteral("1")));
        test::CapturedReports captured;
        ReportEngine::runWithScratch(QStringLiteral("land_report"), kLandColumns, rows, landRequest(), nullptr);
        ReportPreview preview(captured.reports[0].data); // as the application opens it: nothing rendered yet
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        const int pages = preview.pageCount();
        QVERIFY2(pages > 2 * PageView::kCachedPages, qPrintable(QString::number(pages)));
        int most = 0;
        for (int p = 0; p < pages; p += 3) {
            preview.preview->showPage(p);
            preview.preview->viewport()->repaint();
            most = std::max(most, preview.preview->cachedPages());
            QVERIFY(preview.preview->cachedPages() <= PageView::kCachedPages);
        }
        QCOMPARE(most, PageView::kCachedPages);

        QTemporaryDir folder;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder.filePath(QStringLiteral("printed.pdf")));
        // The progress bar comes up when printing takes over a second; it closes by itself.
        test::ModalAnswers progress;
        progress.with([](QWidget *dialog) { QCOMPARE(dialog->objectName(), QStringLiteral("printing")); });
        QVERIFY(preview.printOn(&printer));
        QVERIFY(preview.preview->cachedPages() <= PageView::kCachedPages);
        QFile paper(printer.outputFileName());
        QVERIFY(paper.open(QIODevice::ReadOnly));
        const QString text = test::pdfText(paper.readAll());
        QCOMPARE(int(text.count(QLatin1Char('\f'))), pages);
        QVERIFY(test::hasLine(text, {uni(QStringLiteral("wjirm;% wxlh 1499"))}));
        preview.close();
    }
};

QTEST_MAIN(tst_reportengine)
#include "tst_reportengine.moc"
