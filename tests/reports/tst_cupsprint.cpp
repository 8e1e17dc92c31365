// Printing to the office's print queue: the preview's Print sends the land report through the real
// QPrinter to a CUPS queue, and the page that comes out holds the report's lines. The queue belongs to a
// private print server started for the tests (tools/test-cups.sh); its cups-pdf backend writes each job as
// a PDF into a folder, which stands in for the paper. cups-pdf is a PostScript printer: on the way the
// report's Sinhala loses its text layer (the glyphs are printed, but read back as nothing useful), so the
// lines are recognised by their Latin fields.

#include "reports/pdftext.h"
#include "reports/reportengine.h"
#include "reports/reportpreview.h"
#include "support/modal.h"
#include "support/screentest.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTest>

using namespace parcelon;

namespace {
const QString kOffice = QStringLiteral("ue'Kdjr m%dfoaYSh f,alï ld¾hd,h");

ReportRequest landRequest()
{
    ReportRequest r;
    r.file = QStringLiteral("land.rpt");
    r.setFormula(0, QStringLiteral("fname ='") + kOffice + QStringLiteral("'"));
    return r;
}

QStringList printedFiles(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files);
}
} // namespace

class tst_cupsprint : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    QString m_queue;
    QString m_printed;

private slots:
    void initTestCase()
    {
        m_queue = qEnvironmentVariable("PARCELON_TEST_PRINT_QUEUE");
        m_printed = qEnvironmentVariable("PARCELON_TEST_PRINTED");
        QVERIFY2(!m_queue.isEmpty() && !qEnvironmentVariableIsEmpty("CUPS_SERVER"),
            "run through ctest, which starts the private print server");
    }
    void init() { m_base.init(); }
    void cleanup() { m_base.cleanup(); }

    void printsTheLandReportToTheOfficeQueue()
    {
        QVERIFY(QPrinterInfo::availablePrinterNames().contains(m_queue));
        const QStringList before = printedFiles(m_printed);

        const QStringList columns = {QStringLiteral("srno"), QStringLiteral("land_no"), QStringLiteral("id"),
            QStringLiteral("guhano"), QStringLiteral("aythiya_sbawaya"), QStringLiteral("land_sabawaya"),
            QStringLiteral("wawa_name"), QStringLiteral("kottashaya"), QStringLiteral("land_wargaya"),
            QStringLiteral("land_pramanaya"), QStringLiteral("id1")};
        auto row = [](const QString &owner, const QString &id, const QString &house, const QString &extent) {
            return QVariantList {owner, QStringLiteral("wjirm;% wxlh 300"), id.left(9), house,
                QStringLiteral("Èukd m;%"), QStringLiteral("uv"), QStringLiteral("ñ;=re jej"), QStringLiteral("uyje,"),
                QStringLiteral("l%shd;aul"), extent, id.mid(9, 1)};
        };
        const std::vector<QVariantList> rows
            = {row(QStringLiteral("7"), QStringLiteral("555123000x"), QStringLiteral("B-7"), QStringLiteral("10")),
                row(QStringLiteral("8"), QStringLiteral("999999999v"), QStringLiteral("C-12"), QStringLiteral("2.5"))};
        test::CapturedReports captured;
        ReportEngine::runWithScratch(QStringLiteral("land_report"), columns, rows, landRequest(), nullptr);
        QCOMPARE(captured.reports.size(), size_t(1));
        ReportPreview preview(captured.reports[0].data, captured.reports[0].pdf);
        preview.show();

        // The dialog lists the office's queues; the clerk picks this one and prints.
        QStringList offered;
        test::ModalAnswers answers;
        answers.with([&](QWidget *dialog) {
            QVERIFY(qobject_cast<QPrintDialog *>(dialog));
            auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
            QVERIFY(printers);
            for (int i = 0; i < printers->count(); ++i)
                offered << printers->itemText(i);
            printers->setCurrentIndex(printers->findText(m_queue));
            QVERIFY(test::clickButton(dialog, QStringLiteral("Print")));
        });
        QTest::mouseClick(preview.cmdprint, Qt::LeftButton);
        QVERIFY(answers.allAnswered());
        QVERIFY2(offered.contains(m_queue), qPrintable(offered.join(QLatin1Char(','))));

        // The job passes the server's filters and ghostscript: allow it a while. A PDF still being written
        // does not read yet.
        QString text;
        auto printedText = [&] {
            for (const QString &name : printedFiles(m_printed)) {
                QFile paper(QDir(m_printed).filePath(name));
                if (!before.contains(name) && paper.open(QIODevice::ReadOnly))
                    return test::pdfText(paper.readAll());
            }
            return QString();
        };
        QTRY_VERIFY_WITH_TIMEOUT(!(text = printedText()).isEmpty(), 60000);
        QVERIFY2(test::hasLine(text, {QStringLiteral("555123000x"), QStringLiteral("B-7"), QStringLiteral("10")}),
            qPrintable(text));
        QVERIFY2(test::hasLine(text, {QStringLiteral("999999999v"), QStringLiteral("C-12"), QStringLiteral("2.5")}),
            qPrintable(text));
        preview.close();
    }
};

QTEST_MAIN(tst_cupsprint)
#include "tst_cupsprint.moc"
