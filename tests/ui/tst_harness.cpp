// The test harness itself: a dialog that no test expected fails the test at once, naming the dialog and
// its text, and is closed so the run goes on; an answer that leaves its dialog open fails too (the
// misbehaving tests run as a program of their own, harness_child, so their failures are read here). The
// clerk's picks and double clicks reach the screens as a clerk's do, and the checks run on every screen
// find the faults they are for.

#include "support/clerk.h"
#include "support/fixture.h"
#include "support/records.h"
#include "support/screencheck.h"
#include "ui/events.h"
#include "ui/legacyfont.h"
#include "ui/listview.h"

#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace parcelon;

namespace {
// Records the mouse events a widget receives: type and the buttons held.
class MouseLog final : public QObject
{
public:
    QStringList events;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        const auto type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease
            || type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const char *name = type == QEvent::MouseButtonPress ? "press"
                : type == QEvent::MouseButtonRelease            ? "release"
                : type == QEvent::MouseButtonDblClick           ? "double"
                                                                : "move";
            events << QString::fromLatin1(name) + (mouse->buttons() ? QStringLiteral("+held") : QString());
        }
        return false;
    }
};
} // namespace

class tst_harness : public QObject
{
    Q_OBJECT

    struct Run
    {
        int exitCode = -1;
        bool finished = false;
        qint64 ms = 0;
        QString output;
    };

    static Run runChild(const QStringList &functions)
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // Without the harness the child would wait for a clerk until this watchdog ends it.
        env.insert(QStringLiteral("QTEST_FUNCTION_TIMEOUT"), QStringLiteral("60000"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        QElapsedTimer clock;
        clock.start();
        child.start(QStringLiteral(HARNESS_CHILD), functions);
        Run run;
        run.finished = child.waitForFinished(120000);
        run.ms = clock.elapsed();
        run.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
        run.output = QString::fromUtf8(child.readAll());
        if (!run.finished)
            child.kill();
        return run;
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }
    void cleanup() { QCOMPARE(test::closeAllWindows(), QStringList()); }

    void dialogNobodyExpects_data()
    {
        QTest::addColumn<QString>("function");
        QTest::addColumn<int>("failures");
        QTest::addColumn<QString>("reported");
        QTest::newRow("no answers at all")
            << "unexpectedNotice" << 1 << "a dialog no test expected: frmmessage ( ): Tng wjir fkdue;";
        QTest::newRow("one more dialog than answers")
            << "unexpectedAfterTheAnswers" << 1 << "a dialog no test expected: frmmessage ( ): fojk";
        QTest::newRow("a dialog opened inside an answer")
            << "unexpectedInsideAnAnswer" << 1 << "a dialog no test expected: frmmessage ( ): we;=,d";
        QTest::newRow("an answer that leaves its dialog open")
            << "answerLeavesTheDialogOpen" << 1 << "dialog frmmessage stayed open after its answer";
        QTest::newRow("every dialog answered") << "answeredAsExpected" << 0 << "";
    }
    void dialogNobodyExpects()
    {
        QFETCH(QString, function);
        QFETCH(int, failures);
        QFETCH(QString, reported);
        const Run run = runChild({function});
        QVERIFY2(run.finished, qPrintable(run.output));
        QCOMPARE(run.exitCode, failures);
        // At once: the watch polls every 20 ms; an answer that leaves its dialog open is given 5 s to close.
        QVERIFY2(run.ms < 20000, qPrintable(QStringLiteral("took %1 ms").arg(run.ms)));
        if (!reported.isEmpty()) {
            const QString line = QStringLiteral("FAIL!  : tst_harness_child::%1() %2").arg(function, reported);
            QVERIFY2(run.output.contains(line), qPrintable(run.output));
        }
        QVERIFY2(!run.output.contains(QLatin1String("timed out")), qPrintable(run.output));
    }

    void runGoesOnAfterTheFailure()
    {
        const Run run = runChild({QStringLiteral("unexpectedNotice"), QStringLiteral("answeredAsExpected")});
        QVERIFY2(run.finished, qPrintable(run.output));
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.output.contains(QLatin1String("PASS   : tst_harness_child::answeredAsExpected()")),
            qPrintable(run.output));
        QVERIFY2(run.output.contains(QLatin1String("Totals: 3 passed, 1 failed")), qPrintable(run.output));
    }

    void choosingAnEntryFiresTheComboClick()
    {
        QDialog form;
        auto *combo = new QComboBox(&form);
        (new QVBoxLayout(&form))->addWidget(combo);
        combo->addItems({QStringLiteral("1 - uyje,"), QStringLiteral("2 - fld<U"), QStringLiteral("3 - ks,")});
        combo->setCurrentIndex(-1);
        QStringList clicks;
        comboClick(combo, [&] { clicks << combo->currentText(); });
        test::showScreen(&form);
        test::choose(combo, QStringLiteral("3 - ks,"));
        test::choose(combo, QStringLiteral("1 - uyje,"));
        // Picking the entry already shown is a pick too.
        test::choose(combo, QStringLiteral("1 - uyje,"));
        QCOMPARE(clicks,
            (QStringList {QStringLiteral("3 - ks,"), QStringLiteral("1 - uyje,"), QStringLiteral("1 - uyje,")}));
    }

    void doubleClickIsTheWindowSystemsSequence()
    {
        ListView list;
        list.setColumns({{QStringLiteral("wxlh"), 900}, {QStringLiteral("ku"), 2000}});
        list.addItems({{QStringLiteral("1"), QStringLiteral("a")}, {QStringLiteral("2"), QStringLiteral("b")}});
        QList<int> doubled;
        QList<int> clicked;
        connect(&list, &ListView::itemDoubleClicked, this, [&](int row) { doubled << row; });
        connect(&list, &ListView::itemClicked, this, [&](int row) { clicked << row; });
        MouseLog log;
        list.viewport()->installEventFilter(&log);
        test::showScreen(&list);
        test::doubleClickRow(&list, 1);
        QCOMPARE(doubled, QList<int> {1});
        QCOMPARE(log.events,
            (QStringList {QStringLiteral("press+held"), QStringLiteral("release"), QStringLiteral("double+held"),
                QStringLiteral("release")}));
        // No button is left held: the next click is a plain click.
        log.events.clear();
        test::clickRow(&list, 0);
        QCOMPARE(log.events, (QStringList {QStringLiteral("press+held"), QStringLiteral("release")}));
        QCOMPARE(clicked.last(), 0);
        QCOMPARE(list.selectedRow(), 0);
        QCOMPARE(test::listLines(&list), (QStringList {QStringLiteral("1|a"), QStringLiteral("2|b")}));
    }

    void layoutChecksFindTheFaults()
    {
        QDialog form;
        form.setObjectName(QStringLiteral("form"));
        form.resize(300, 200);
        auto place = [&form](QWidget *w, const char *name, QRect at) {
            w->setParent(&form);
            w->setObjectName(QString::fromLatin1(name));
            w->setGeometry(at);
        };
        place(new QPushButton(QStringLiteral("OK")), "fits", {10, 10, 80, 30});
        place(new QPushButton(QStringLiteral("A caption far too long")), "narrow", {100, 10, 40, 30});
        place(new QLabel(QStringLiteral("x")), "onTop", {20, 20, 20, 20});
        place(new QLabel(QStringLiteral("y")), "beyond", {280, 150, 40, 20});
        place(new QLabel(QStringLiteral("low")), "low", {150, 60, 60, 6});
        place(new QLabel(QStringLiteral("background")), "picture", {0, 0, 300, 200});
        auto *frame = new QFrame;
        place(frame, "frame", {10, 100, 100, 50});
        auto *inside = new QPushButton(QStringLiteral("in"), frame);
        inside->setObjectName(QStringLiteral("inside"));
        inside->setGeometry(5, 5, 40, 30);
        auto *hidden = new QPushButton(QStringLiteral("hidden, never seen"), &form);
        hidden->setGeometry(0, 0, 10, 10);
        hidden->hide();
        test::showScreen(&form);

        // A control inside its frame is no overlap; a background picture may be named as one.
        QCOMPARE(test::overlaps(&form, {QStringLiteral("picture")}),
            QStringList {QStringLiteral("fits and onTop overlap: 20x20 at 20,20")});
        // The picture lies under the seven others, the frame's button among them.
        QCOMPARE(test::overlaps(&form).size(), 1 + 7);
        QCOMPARE(test::outside(&form), QStringList {QStringLiteral("beyond (40x20 at 280,150) leaves form (300x200)")});
        const QStringList cut = test::cutCaptions(&form);
        QCOMPARE(cut.size(), 2);
        QVERIFY2(cut.at(0).startsWith(QLatin1String("narrow: caption \"A caption far too long\" needs ")),
            qPrintable(cut.at(0)));
        QCOMPARE(cut.at(1), QStringLiteral("low: caption \"low\" is cut at the top or bottom (6 px high)"));
    }

    void recordBuildersWriteTheRegister()
    {
        test::openDatabase();
        QCOMPARE(test::addDivision(test::kDivision, {test::kVillage, QStringLiteral("lÿre")}), QStringLiteral("1"));
        QCOMPARE(test::addDivision(QStringLiteral("fld<U"), {QStringLiteral("nKavdr")}), QStringLiteral("2"));
        QCOMPARE(test::addDivision(QStringLiteral("ks,"), {QStringLiteral("p")}, 7), QStringLiteral("7"));
        QCOMPARE(test::value(QStringLiteral("SELECT gama FROM gamasewa_wasama WHERE srno = 1 AND gsrno = '2'")),
            QStringLiteral("lÿre"));
        QCOMPARE(test::count(QStringLiteral("gamasewa_wasama"), QStringLiteral("username = 'Seed'")), 4);

        const QString owner = test::addOwner();
        const QString second = test::addOwner(
            {.id = QString(), .house_no = QStringLiteral("H-7"), .land_owner_name = QStringLiteral("O'Neil \"ir;a\"")});
        QCOMPARE(owner, QStringLiteral("1"));
        QCOMPARE(second, QStringLiteral("2"));
        // The default place is the first village of the first division as the owner register writes it.
        QCOMPARE(test::value(QStringLiteral("SELECT gama FROM landowner WHERE srno = 1")), QStringLiteral("1 - wdrjk"));
        QCOMPARE(test::value(QStringLiteral("SELECT land_owner_name FROM landowner WHERE srno = 2")),
            QStringLiteral("O'Neil \"ir;a\""));
        QCOMPARE(test::value(QStringLiteral("SELECT id FROM landowner WHERE srno = 2")), QString());

        const QString land = test::addLand({.guhasth = QStringLiteral("H-7"),
            .labn_owner_srno = second,
            .balapa_no = QStringLiteral("101"),
            .chack = QStringLiteral("0")});
        QCOMPARE(land, QStringLiteral("1"));
        QCOMPARE(test::value(QStringLiteral("SELECT labn_owner_srno || '|' || balapa_no1 || '|' || balapa_no || '|' || "
                                            "chack || '|' || date FROM land WHERE srno = 1")),
            QStringLiteral("2|ysñ|101|0|2026/01/02"));
        test::destroyDatabase();
    }

    void captionCheckReadsOnlyParasText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("readable");
        QTest::newRow("caption") << "bvï ysñlre" << true;
        QTest::newRow("digits and punctuation") << "wxlh ^1&'" << true;
        QTest::newRow("kombuva before a vowel sign") << "fjs,dj" << false;
        QTest::newRow("no reading for the character") << "l»l" << false;
        QTest::newRow("sign without a letter") << "ks sl" << false;
    }
    void captionCheckReadsOnlyParasText()
    {
        QFETCH(QString, text);
        QFETCH(bool, readable);
        QDialog form;
        auto *paras = new QLabel(text, &form);
        paras->setObjectName(QStringLiteral("paras"));
        paras->setFont(parasFont(12));
        auto *latin = new QPushButton(QStringLiteral("l»l Exit"), &form);
        latin->setFont(latinFont(10));
        QCOMPARE(test::unreadableCaptions(&form).isEmpty(), readable);
        QCOMPARE(test::unreadableCaptions(&form, {text}), QStringList());
    }
};

QTEST_MAIN(tst_harness)
#include "tst_harness.moc"
