// The land search as a clerk meets it: the list it opens with, each field's filter on its own, the
// identity box's keys, and the hand-back of the chosen permit number to each screen that opens it, with
// that screen's own look-up run and the transfer screen restored. The openers not built yet are stand-ins
// with the controls the hand-back names.

#include "lifecycle/frmland_search.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/records.h"
#include "support/screentest.h"
#include "ui/events.h"
#include "ui/listview.h"
#include "ui/screenregistry.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include <functional>
#include <map>
#include <memory>

using namespace parcelon;

namespace {
const QString kTitle = QStringLiteral("fkd;drsia Tmamq wxlh");
const QString kDeed = QStringLiteral("wjirm;% wxlh");
const QString kGrant = QStringLiteral("osukdm;% wxlh");
const QString kLowland = QStringLiteral("2- uv");
const QString kHighland = QStringLiteral("3- f.dv");
const QString kOwnGrant = QStringLiteral("1- Èukd m;%");
const QString kOwnDeed = QStringLiteral("2- wjir m;%");

// An opener with every control a hand-back may name, and the search button the clerk pressed: it counts the buttons
// pressed and the boxes left (leaving a box is how the real openers start their look-ups), and records the order of
// both.
class StandIn final : public QDialog
{
public:
    explicit StandIn(const QStringList &missing = {})
    {
        setObjectName(QStringLiteral("standin"));
        for (const char *name : {"txtlandno1", "txtlandno", "txtlandno_h"}) {
            if (missing.contains(QLatin1String(name)))
                continue;
            auto *box = new QLineEdit(this);
            box->setObjectName(QLatin1String(name));
            boxes[QLatin1String(name)] = box;
            Events::of(box).lostFocus([this, name] { events << QLatin1String("left ") + QLatin1String(name); });
        }
        cmblandno = new QComboBox(this);
        cmblandno->setObjectName(QStringLiteral("cmblandno"));
        cmblandno->setEditable(true);
        cmbrajaya = new QComboBox(this);
        cmbrajaya->setObjectName(QStringLiteral("cmbrajaya"));
        for (const char *name : {"cmdfind", "cmdtra", "cmdok", "cmdlv", "cmdff"}) {
            auto *b = new QPushButton(QLatin1String(name), this);
            b->setObjectName(QLatin1String(name));
            connect(b, &QPushButton::clicked, this, [this, name] {
                // What the search shows at the moment the opener's button runs.
                events << QLatin1String("pressed ") + QLatin1String(name)
                        + (searchOpen && searchOpen() ? QStringLiteral(" (search open)") : QString());
            });
        }
        resize(400, 300);
    }
    std::map<QString, QLineEdit *> boxes;
    QComboBox *cmblandno;
    QComboBox *cmbrajaya;
    QStringList events;
    std::function<bool()> searchOpen;
};
} // namespace

class tst_landsearch : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    std::unique_ptr<StandIn> m_opener;
    QString m_seen; // the text of the message met in the search
    QString m_owner1, m_owner2, m_owner3;
    QString m_land1, m_land2, m_land3, m_land4, m_orphan, m_retired;

    // Opens the search through the registry over a stand-in opener, with the caller code set as the
    // openers set it, and lets `clerk` work in it; a search the clerk leaves open is closed after. A
    // message the clerk meets in it is answered with `messageButton`.
    void inSearch(const QString &code, const std::function<void(frmland_search *)> &clerk,
        const QStringList &missing = {}, const QString &messageButton = {})
    {
        m_opener = std::make_unique<StandIn>(missing);
        test::showScreen(m_opener.get());
        // The clerk opens the search with the opener's search button.
        auto *find = m_opener->findChild<QPushButton *>(QStringLiteral("cmdfind"));
        find->setFocus();
        QVERIFY(find->hasFocus());
        test::ModalAnswers answers;
        answers.with([&](QWidget *dialog) {
            auto *s = qobject_cast<frmland_search *>(dialog);
            QVERIFY(s);
            QPointer<frmland_search> open(s);
            m_opener->searchOpen = [open] { return open && open->isVisible(); };
            clerk(s);
            if (s->isVisible())
                s->close();
        });
        if (!messageButton.isEmpty())
            answers.press(messageButton);
        QVERIFY(Screens::open(ScreenId::frmland_search, m_opener.get(),
            [&code](QDialog *screen) { screen->findChild<QLabel *>(QStringLiteral("labch"))->setText(code); }));
        QVERIFY(answers.allAnswered());
        m_opener->searchOpen = {};
        m_seen = answers.seen().size() > 1 ? answers.text(1) : QString();
    }

    // The land numbers (srno) the list shows, in order.
    static QStringList shown(const frmland_search *s) { return test::listLines(s->lvland, {0}); }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        m_owner1 = test::addOwner({.id = QStringLiteral("123456789v"), .house_no = QStringLiteral("A-12")});
        m_owner2 = test::addOwner({.id = QStringLiteral("555123000x"), .house_no = QStringLiteral("B-7")});
        m_owner3 = test::addOwner({.id = QStringLiteral("999999999v"), .house_no = QStringLiteral("C-1")});
        // The first owner holds three lands, the second one, the third none.
        m_land1 = test::addLand({.labn_owner_srno = m_owner1,
            .balapa_no1 = kTitle,
            .balapa_no = QStringLiteral("125"),
            .loan_sbawaya = kLowland,
            .aythiye_sbawaya = kOwnGrant});
        m_land2 = test::addLand({.labn_owner_srno = m_owner1,
            .balapa_no1 = kDeed,
            .balapa_no = QStringLiteral("300"),
            .loan_sbawaya = kHighland,
            .aythiye_sbawaya = kOwnDeed});
        m_land3 = test::addLand({.labn_owner_srno = m_owner1,
            .balapa_no1 = kTitle,
            .balapa_no = QStringLiteral("1250"),
            .loan_sbawaya = kHighland,
            .aythiye_sbawaya = kOwnGrant});
        m_land4 = test::addLand({.labn_owner_srno = m_owner2,
            .balapa_no1 = kGrant,
            .balapa_no = QStringLiteral("12"),
            .loan_sbawaya = kLowland,
            .aythiye_sbawaya = kOwnDeed});
        // A land whose owner row is gone, and a land no longer active.
        m_orphan = test::addLand({.labn_owner_srno = QStringLiteral("9999"),
            .balapa_no1 = kTitle,
            .balapa_no = QStringLiteral("77"),
            .loan_sbawaya = kLowland,
            .aythiye_sbawaya = kOwnGrant});
        m_retired = test::addLand({.labn_owner_srno = m_owner2,
            .balapa_no1 = kTitle,
            .balapa_no = QStringLiteral("125"),
            .loan_sbawaya = kLowland,
            .aythiye_sbawaya = kOwnGrant,
            .chack = QStringLiteral("0")});
    }

    void cleanup()
    {
        m_opener.reset();
        m_base.cleanup();
    }

    void opensWithEveryActiveLand()
    {
        QStringList lines;
        QList<int> counts;
        QString code = QStringLiteral("unset");
        inSearch(QStringLiteral("5"), [&](frmland_search *s) {
            lines = test::listLines(s->lvland, {0, 1, 2, 3, 4, 5, 6, 7});
            counts = {s->cmblandno->count(), s->cmbaythiy_sbawaya->count(), s->cmbland_sabawaya->count()};
            code = s->labcc->text();
        });
        QCOMPARE(lines,
            QStringList({m_land1 + QStringLiteral("|") + kTitle + QStringLiteral("  125|123456789|A-12|") + kLowland
                    + QStringLiteral("|") + kOwnGrant + QStringLiteral("|") + kTitle + QStringLiteral("|125"),
                m_land2 + QStringLiteral("|") + kDeed + QStringLiteral("  300|123456789|A-12|") + kHighland
                    + QStringLiteral("|") + kOwnDeed + QStringLiteral("|") + kDeed + QStringLiteral("|300"),
                m_land3 + QStringLiteral("|") + kTitle + QStringLiteral("  1250|123456789|A-12|") + kHighland
                    + QStringLiteral("|") + kOwnGrant + QStringLiteral("|") + kTitle + QStringLiteral("|1250"),
                m_land4 + QStringLiteral("|") + kGrant + QStringLiteral("  12|555123000|B-7|") + kLowland
                    + QStringLiteral("|") + kOwnDeed + QStringLiteral("|") + kGrant + QStringLiteral("|12"),
                // The owner row is gone: the owner columns stay empty.
                m_orphan + QStringLiteral("|") + kTitle + QStringLiteral("  77|||") + kLowland + QStringLiteral("|")
                    + kOwnGrant + QStringLiteral("|") + kTitle + QStringLiteral("|77")}));
        QCOMPARE(counts, QList<int>({4, 7, 3}));
        QCOMPARE(code, QString());
    }

    void filters_data()
    {
        QTest::addColumn<std::function<void(frmland_search *)>>("act");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("expected");
        using Act = std::function<void(frmland_search *)>;
        // Lines are named by land srno once the fixture has run; placeholders are resolved in the test.
        QTest::newRow("identity: an owner with three lands is listed once")
            << Act([](frmland_search *s) { test::typeInto(s->txtid, QStringLiteral("3456")); }) << QStringLiteral("1")
            << QStringList {QStringLiteral("land1")};
        QTest::newRow("identity: an owner without land adds nothing")
            << Act([](frmland_search *s) { test::typeInto(s->txtid, QStringLiteral("99999")); }) << QStringLiteral("1")
            << QStringList {};
        QTest::newRow("identity: two owners")
            << Act([](frmland_search *s) { test::typeInto(s->txtid, QStringLiteral("5")); }) << QStringLiteral("1")
            << QStringList {QStringLiteral("land1"), QStringLiteral("land4")};
        QTest::newRow("house number") << Act([](frmland_search *s) {
            test::typeInto(s->txtguha, QStringLiteral("B-"));
        }) << QStringLiteral("2") << QStringList {QStringLiteral("land4")};
        QTest::newRow("permit kind, retired lands included")
            << Act([](frmland_search *s) { test::choose(s->cmblandno, kTitle); }) << QStringLiteral("3")
            << QStringList {QStringLiteral("land1"), QStringLiteral("land3"), QStringLiteral("orphan"),
                   QStringLiteral("retired")};
        QTest::newRow("permit kind and number")
            << Act([](frmland_search *s) {
                   test::choose(s->cmblandno, kTitle);
                   test::typeInto(s->txtlandno, QStringLiteral("125"));
               })
            << QStringLiteral("4")
            << QStringList {QStringLiteral("land1"), QStringLiteral("land3"), QStringLiteral("retired")};
        QTest::newRow("permit number narrows as keys are released") << Act([](frmland_search *s) {
            test::choose(s->cmblandno, kTitle);
            test::typeInto(s->txtlandno, QStringLiteral("1250"));
        }) << QStringLiteral("4") << QStringList {QStringLiteral("land3")};
        QTest::newRow("ownership kind") << Act([](frmland_search *s) { test::choose(s->cmbaythiy_sbawaya, kOwnDeed); })
                                        << QStringLiteral("6")
                                        << QStringList {QStringLiteral("land2"), QStringLiteral("land4")};
        QTest::newRow("land kind") << Act([](frmland_search *s) { test::choose(s->cmbland_sabawaya, kHighland); })
                                   << QStringLiteral("7")
                                   << QStringList {QStringLiteral("land2"), QStringLiteral("land3")};
        QTest::newRow("filters do not combine: identity, then land kind")
            << Act([](frmland_search *s) {
                   test::typeInto(s->txtid, QStringLiteral("555"));
                   test::choose(s->cmbland_sabawaya, kLowland);
               })
            << QStringLiteral("7")
            << QStringList {QStringLiteral("land1"), QStringLiteral("land4"), QStringLiteral("orphan"),
                   QStringLiteral("retired")};
        QTest::newRow("filters do not combine: permit kind, then house number") << Act([](frmland_search *s) {
            test::choose(s->cmblandno, kGrant);
            test::typeInto(s->txtguha, QStringLiteral("A"));
        }) << QStringLiteral("2") << QStringList {QStringLiteral("land1")};
        QTest::newRow("a typed % matches itself")
            << Act([](frmland_search *s) { test::typeInto(s->txtguha, QStringLiteral("%")); }) << QStringLiteral("2")
            << QStringList {};
    }

    void filters()
    {
        QFETCH(std::function<void(frmland_search *)>, act);
        QFETCH(QString, code);
        QFETCH(QStringList, expected);
        const std::map<QString, QString> srnos {{QStringLiteral("land1"), m_land1}, {QStringLiteral("land2"), m_land2},
            {QStringLiteral("land3"), m_land3}, {QStringLiteral("land4"), m_land4},
            {QStringLiteral("orphan"), m_orphan}, {QStringLiteral("retired"), m_retired}};
        QStringList want;
        for (const QString &name : expected)
            want << srnos.at(name);
        QString ran;
        QStringList lines;
        inSearch(QStringLiteral("5"), [&](frmland_search *s) {
            act(s);
            ran = s->labcc->text();
            lines = shown(s);
        });
        QCOMPARE(ran, code);
        QCOMPARE(lines, want);
    }

    // A register longer than a page: the list opens with its first page, fills the rest from the event
    // loop, and a filter the clerk picks meanwhile replaces it without the old list's later pages.
    void aLongListFillsByPagesAndAFilterEndsTheFillUnderWay()
    {
        const int bulk = 450;
        test::exec(
            QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                           "INSERT INTO land (labn_owner_srno, balapa_no1, balapa_no, loan_sbawaya, "
                           "aythiye_sbawaya, chack) SELECT ?, ?, CAST(5000 + i AS VARCHAR(20)), ?, ?, '1' FROM n")
                .arg(bulk),
            {m_owner3, kGrant, kHighland, kOwnGrant});
        int firstPage = 0;
        bool filling = false;
        int whole = 0;
        QStringList highland;
        inSearch(QStringLiteral("5"), [&](frmland_search *s) {
            // The list the search opens with, as it stands before the event loop runs again.
            s->fland();
            firstPage = s->lvland->count();
            filling = s->listFilling();
            QTRY_VERIFY(!s->listFilling());
            whole = s->lvland->count();
            s->fland();
            QVERIFY(s->listFilling());
            test::choose(s->cmbland_sabawaya, kHighland);
            QTRY_VERIFY(!s->listFilling());
            QTest::qWait(50);
            highland = shown(s);
        });
        QCOMPARE(firstPage, 200);
        QVERIFY(filling);
        QCOMPARE(whole, bulk + 5);
        // Every highland land once, in order: the opening list's later pages never came.
        QCOMPARE(highland.size(), bulk + 2);
        QCOMPARE(highland.mid(0, 2), QStringList({m_land2, m_land3}));
        QCOMPARE(QSet<QString>(highland.cbegin(), highland.cend()).size(), highland.size());
    }

    void identityBoxTakesDigitsVAndXOnly()
    {
        QStringList texts;
        inSearch(QStringLiteral("5"), [&](frmland_search *s) {
            test::typeInto(s->txtid, QStringLiteral("12V3a4vXx"));
            texts << s->txtid->text();
            QTest::keyClick(s->txtid, Qt::Key_Backspace);
            texts << s->txtid->text();
        });
        QCOMPARE(texts, QStringList({QStringLiteral("1234vx"), QStringLiteral("1234v")}));
    }

    void clearingAFieldShowsTheInitialListAgain_data()
    {
        QTest::addColumn<QString>("box");
        QTest::newRow("identity") << QStringLiteral("txtid");
        QTest::newRow("house number") << QStringLiteral("txtguha");
    }

    void clearingAFieldShowsTheInitialListAgain()
    {
        QFETCH(QString, box);
        QStringList initial, narrowed, cleared;
        inSearch(QStringLiteral("5"), [&](frmland_search *s) {
            initial = shown(s);
            auto *field = s->findChild<QLineEdit *>(box);
            test::typeInto(field, QStringLiteral("55"));
            narrowed = shown(s);
            QTest::keyClick(field, Qt::Key_Backspace);
            QTest::keyClick(field, Qt::Key_Backspace);
            QCOMPARE(field->text(), QString());
            cleared = shown(s);
        });
        QCOMPARE(initial.size(), 5);
        QCOMPARE(narrowed, box == QLatin1String("txtid") ? QStringList {m_land4} : QStringList {});
        QCOMPARE(cleared, initial);
    }

    void handBack_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("focus");
        QTest::newRow("1 permit change") << QStringLiteral("1") << QStringLiteral("txtlandno1")
                                         << QStringList {QStringLiteral("left txtlandno1")}
                                         << QStringLiteral("txtlandno");
        QTest::newRow("2 transfer, first land")
            << QStringLiteral("2") << QStringLiteral("txtlandno_h")
            << QStringList {QStringLiteral("pressed cmdtra"), QStringLiteral("left txtlandno_h")}
            << QStringLiteral("cmbrajaya");
        QTest::newRow("3 transfer, second land")
            << QStringLiteral("3") << QStringLiteral("txtlandno")
            << QStringList {QStringLiteral("pressed cmdtra"), QStringLiteral("left txtlandno")}
            << QStringLiteral("cmdok");
        QTest::newRow("4 permit report") << QStringLiteral("4") << QStringLiteral("txtlandno")
                                         << QStringList {QStringLiteral("pressed cmdlv (search open)")} << QString();
        QTest::newRow("5 single land report")
            << QStringLiteral("5") << QStringLiteral("txtlandno") << QStringList {} << QString();
        QTest::newRow("6 successor change") << QStringLiteral("6") << QStringLiteral("txtlandno")
                                            << QStringList {QStringLiteral("pressed cmdff (search open)")} << QString();
    }

    void handBack()
    {
        QFETCH(QString, code);
        QFETCH(QString, box);
        QFETCH(QStringList, events);
        QFETCH(QString, focus);
        bool closed = false;
        inSearch(code, [&](frmland_search *s) {
            m_opener->events.clear();
            test::clickRow(s->lvland, 1); // the deed 300
            QTest::mouseClick(s->cmdadd, Qt::LeftButton);
            closed = !s->isVisible();
        });
        QVERIFY(closed);
        QCOMPARE(m_opener->boxes.at(box)->text(), QStringLiteral("300"));
        QCOMPARE(m_opener->events.join(QLatin1Char(',')), events.join(QLatin1Char(',')));
        if (code == QLatin1String("1"))
            QCOMPARE(m_opener->cmblandno->currentText(), kDeed);
        else
            QCOMPARE(m_opener->cmblandno->currentText(), QString());
        if (!focus.isEmpty())
            QCOMPARE(m_opener->focusWidget()->objectName(), focus);
    }

    void handBackOnDoubleClick()
    {
        bool closed = false;
        inSearch(QStringLiteral("5"), [&](frmland_search *s) {
            test::doubleClickRow(s->lvland, 3);
            closed = !s->isVisible();
        });
        QVERIFY(closed);
        QCOMPARE(m_opener->boxes.at(QStringLiteral("txtlandno"))->text(), QStringLiteral("12"));
    }

    void transferSecondChoiceWhenTheReasonListIsDisabled()
    {
        inSearch(QStringLiteral("2"), [&](frmland_search *s) {
            m_opener->cmbrajaya->setEnabled(false);
            test::clickRow(s->lvland, 0);
            QTest::mouseClick(s->cmdadd, Qt::LeftButton);
        });
        QCOMPARE(m_opener->boxes.at(QStringLiteral("txtlandno_h"))->text(), QStringLiteral("125"));
        QCOMPARE(m_opener->focusWidget()->objectName(), QStringLiteral("txtlandno"));
    }

    void noLineSelectedHandsNothingBack()
    {
        bool stayed = false;
        inSearch(QStringLiteral("6"), [&](frmland_search *s) {
            m_opener->events.clear();
            QTest::mouseClick(s->cmdadd, Qt::LeftButton);
            stayed = s->isVisible();
            QCOMPARE(m_opener->events, QStringList());
        });
        QVERIFY(stayed);
        QCOMPARE(m_opener->boxes.at(QStringLiteral("txtlandno"))->text(), QString());
    }

    void exitRestoresOnlyTheTransferScreen_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("escape");
        QTest::addColumn<QStringList>("events");
        const QStringList restored {QStringLiteral("pressed cmdtra (search open)")};
        QTest::newRow("2 by cmdexit") << QStringLiteral("2") << false << restored;
        QTest::newRow("3 by Escape") << QStringLiteral("3") << true << restored;
        QTest::newRow("1 by cmdexit") << QStringLiteral("1") << false << QStringList {};
        QTest::newRow("4 by Escape") << QStringLiteral("4") << true << QStringList {};
    }

    void exitRestoresOnlyTheTransferScreen()
    {
        QFETCH(QString, code);
        QFETCH(bool, escape);
        QFETCH(QStringList, events);
        bool closed = false;
        inSearch(code, [&](frmland_search *s) {
            m_opener->events.clear();
            test::clickRow(s->lvland, 0);
            if (escape)
                QTest::keyClick(s->lvland, Qt::Key_Escape);
            else
                QTest::mouseClick(s->cmdexit, Qt::LeftButton);
            closed = !s->isVisible();
        });
        QVERIFY(closed);
        QCOMPARE(m_opener->events.join(QLatin1Char(',')), events.join(QLatin1Char(',')));
        QCOMPARE(m_opener->boxes.at(QStringLiteral("txtlandno"))->text(), QString());
    }

    void aCallerWithoutTheBoxFailsLoudly()
    {
        bool stayed = false;
        inSearch(
            QStringLiteral("2"),
            [&](frmland_search *s) {
                test::clickRow(s->lvland, 0);
                QTest::mouseClick(s->cmdadd, Qt::LeftButton);
                stayed = s->isVisible();
            },
            {QStringLiteral("txtlandno_h")}, QStringLiteral("OK"));
        QVERIFY(stayed);
        QVERIFY2(m_seen.contains(QStringLiteral("txtlandno_h")), qPrintable(m_seen));
    }
};

QTEST_MAIN(tst_landsearch)
#include "tst_landsearch.moc"
