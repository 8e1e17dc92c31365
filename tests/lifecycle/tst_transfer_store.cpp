// The transfer and division screen's store: a transfer stored and the refusals, a division stored only
// after this question's yes, the next history number, a store that fails half-way, another workstation
// changing the first land while the clerk works, a second transfer checked against what the first left,
// and an extent the land cannot keep.

#include "base/dbsession.h"
#include "support/modal.h"
#include "support/workstation.h"
#include "transfertest.h"
#include "ui/screen.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTest>

using namespace parcelon;
using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {
const QString kChangeExtent = QStringLiteral("bvfñ m%udKh fjkia lrkak");
const QString kChangedElsewhere
    = QStringLiteral("fuu f;dr;=re fjk;a mß.Klhlska fjkia lr we;' oekg we;s wdldrhg fmkajd we;'");
const QString kTransfer = QStringLiteral("bvï mejßu");
const QString kDivision = QStringLiteral("bvï neyer lsÍu");

QString landColumn(const QString &column, const QString &srno)
{
    return test::value(
        QStringLiteral("SELECT ") + column + QStringLiteral(" FROM land WHERE srno = ?"), {srno.toInt()});
}

// The history rows, oldest first, each as "column|column|...".
QStringList history()
{
    QStringList rows;
    Query q = db().select(
        QStringLiteral("SELECT land_srno, land_no1, land_no, land_behera_wargaya, land_hethuwa, "
                       "land_a, land_r, land_p, land_no_2, land_no_2_1 FROM land_pewarima ORDER BY srno"));
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < 10; ++i)
            cells << q.value(i);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

bool isRed(const QWidget *w) { return background(w) == colours::attention; }
} // namespace

class tst_transfer_store : public test::TransferTest
{
    Q_OBJECT

    // The first land 3 a 2 r 0 p (3.5 acres) and the second 1.25 acres, both loaded; the clerk types the
    // first land's new extent 2 a 1 r 0 p.
    static void readyTransfer(frmland_pewarima *s)
    {
        loadFirst(s, QStringLiteral("301"));
        loadSecond(s, QStringLiteral("302"));
        retype(s->txtakkara_h, QStringLiteral("2"));
        retype(s->txtrud_h, QStringLiteral("1"));
        QCOMPARE(s->txtakkara_only_h->text(), QStringLiteral("2.25"));
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init() { startTest(); }
    void cleanup() { endTest(); }

    void aTransferIsStored()
    {
        const QString first = land(u"301"_s, u"3"_s, u"2"_s, u"0"_s, u"3.5"_s);
        test::addLand({.balapa_no1 = kTaxPermit, .balapa_no = u"302"_s, .akkara_only = u"1.25"_s});
        test::exec(QStringLiteral("INSERT INTO land_pewarima (land_srno) VALUES ('9')"));
        frmland_pewarima *s = openScreen();
        QCOMPARE(s->lablandno->text(), QStringLiteral("2"));
        readyTransfer(s);
        QTest::mouseClick(s->cmdok, Qt::LeftButton);

        QCOMPARE(landColumn(QStringLiteral("akkara"), first), QStringLiteral("2"));
        QCOMPARE(landColumn(QStringLiteral("rut"), first), QStringLiteral("1"));
        QCOMPARE(landColumn(QStringLiteral("parchase"), first), QStringLiteral("0"));
        // The decimal acres follow the numbers the land keeps; the unit stays.
        QCOMPARE(landColumn(QStringLiteral("akkara_only"), first), QStringLiteral("2.25"));
        QCOMPARE(landColumn(QStringLiteral("akkara1"), first), kAcres);
        QCOMPARE(history().mid(1),
            QStringList {first + u"|"_s + kGrant + u"|301|"_s + kTransfer + u"|ke;a|3|2|0|302|"_s + kTaxPermit});
        QCOMPARE(s->lablandno->text(), QStringLiteral("3"));
        // Ready for the next land.
        for (QLineEdit *box : {s->txtlandno_h, s->txtlandno, s->txtakkara_only_h, s->txtakkara_only_old})
            QCOMPARE(box->text(), QString());
        for (QLabel *label : {s->labid_h, s->labakkara_h, s->tt1, s->labid, s->labakkara})
            QCOMPARE(label->text(), QString());
    }

    void aTransferIsRefused_data()
    {
        QTest::addColumn<QString>("second");
        QTest::addColumn<QStringList>("extent"); // the first land's extent as the clerk leaves it
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QString>("red");
        QTest::newRow("second larger") << u"4."_s << QStringList {u"2"_s, u"1"_s} << kChangeExtent << u""_s;
        QTest::newRow("first unchanged") << u"1.25"_s << QStringList {u"3"_s, u"2"_s} << kChangeExtent << u""_s;
        QTest::newRow("no second land") << u""_s << QStringList {u"2"_s, u"1"_s} << u""_s << u"txtlandno"_s;
    }
    void aTransferIsRefused()
    {
        QFETCH(QString, second);
        QFETCH(QStringList, extent);
        QFETCH(QString, notice);
        QFETCH(QString, red);
        const QString first = land(u"301"_s, u"3"_s, u"2"_s, u"0"_s, u"3.5"_s);
        test::addLand({.balapa_no = QStringLiteral("302"), .akkara_only = second});
        frmland_pewarima *s = openScreen();
        loadFirst(s, QStringLiteral("301"));
        if (!second.isEmpty())
            loadSecond(s, QStringLiteral("302"));
        retype(s->txtakkara_h, extent.at(0));
        retype(s->txtrud_h, extent.at(1));
        test::ModalAnswers answers;
        if (!notice.isEmpty())
            answers.press(QStringLiteral("cmdexit"));
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(answers.answered(), notice.isEmpty() ? 0 : 1);
        QCOMPARE(answers.text(), notice);
        if (!red.isEmpty())
            QVERIFY(isRed(s->findChild<QWidget *>(red)));
        QCOMPARE(landColumn(QStringLiteral("akkara"), first), QStringLiteral("3"));
        QCOMPARE(landColumn(QStringLiteral("rut"), first), QStringLiteral("2"));
        QCOMPARE(test::count(QStringLiteral("land_pewarima")), 0);
        QCOMPARE(s->lablandno->text(), QStringLiteral("1"));
    }

    void aDivisionIsStoredOnlyAfterThisQuestionsYes()
    {
        const QString a = land(u"501"_s, u"2"_s, u"1"_s, u"0"_s, u"2.25"_s);
        const QString b = land(u"502"_s, u"1"_s, QString(), QString(), u"1."_s);
        frmland_pewarima *s = openScreen();
        QTest::mouseClick(s->optland_behera, Qt::LeftButton);
        loadFirst(s, QStringLiteral("501"));
        QCOMPARE(s->cmbrajaya->currentText(), kDefaultReason);
        {
            test::ModalAnswers answers;
            answers.press(QStringLiteral("cmdyes"));
            QTest::mouseClick(s->cmdenter, Qt::LeftButton);
            QCOMPARE(answers.answered(), 1);
            test::backTo(s);
            QCOMPARE(answers.name(), QStringLiteral("frmmessage_y"));
            QCOMPARE(answers.text(),
                kGrant + QStringLiteral("& 501 jk bvï n,m;% wxlh ") + kDefaultReason
                    + QStringLiteral("' jk w;r bvñ n,m;% wxlh wfydis fú'Tn tlÕ o@   "));
        }
        QCOMPARE(landColumn(QStringLiteral("chack"), a), QStringLiteral("0"));
        QCOMPARE(landColumn(QStringLiteral("pewarima"), a), kDefaultReason);
        QCOMPARE(history(),
            QStringList {
                a + u"|"_s + kGrant + u"|501|"_s + kDivision + u"|"_s + kDefaultReason + u"|2|1|0|0|"_s + kTaxPermit});
        QCOMPARE(s->lablandno->text(), QStringLiteral("2"));
        QCOMPARE(s->txtlandno_h->text(), QString());

        // The next land: the clerk says no, after the yes given to the first.
        loadFirst(s, QStringLiteral("502"));
        s->cmbrajaya->setCurrentText(QStringLiteral("fnÿï"));
        {
            test::ModalAnswers answers;
            answers.press(QStringLiteral("cmdexit"));
            QTest::mouseClick(s->cmdenter, Qt::LeftButton);
            QCOMPARE(answers.answered(), 1);
            test::backTo(s);
        }
        QCOMPARE(landColumn(QStringLiteral("chack"), b), QStringLiteral("1"));
        QCOMPARE(landColumn(QStringLiteral("pewarima"), b), QStringLiteral("il%sh"));
        QCOMPARE(test::count(QStringLiteral("land_pewarima")), 1);
        QCOMPARE(s->lablandno->text(), QStringLiteral("2"));
        QCOMPARE(s->txtlandno_h->text(), QStringLiteral("502"));

        // Yes this time, with the reason typed.
        {
            test::ModalAnswers answers;
            answers.press(QStringLiteral("cmdyes"));
            QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        }
        QCOMPARE(landColumn(QStringLiteral("pewarima"), b), QStringLiteral("fnÿï"));
        QCOMPARE(s->lablandno->text(), QStringLiteral("3"));

        // Without a number the box turns red and nothing is asked.
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QVERIFY(isRed(s->txtlandno_h));
    }

    void aStoreThatFailsHalfWayChangesNothing_data()
    {
        QTest::addColumn<bool>("transfer");
        QTest::newRow("transfer") << true;
        QTest::newRow("division") << false;
    }
    void aStoreThatFailsHalfWayChangesNothing()
    {
        QFETCH(bool, transfer);
        const QString first = land(u"301"_s, u"3"_s, u"2"_s, u"0"_s, u"3.5"_s);
        test::addLand({.balapa_no = u"302"_s, .akkara_only = u"1.25"_s});
        frmland_pewarima *s = openScreen();
        if (transfer) {
            readyTransfer(s);
        } else {
            QTest::mouseClick(s->optland_behera, Qt::LeftButton);
            loadFirst(s, QStringLiteral("301"));
        }
        // The history table is gone: the second statement of the store fails.
        QSqlQuery drop(db().database());
        QVERIFY(drop.exec(QStringLiteral("DROP TABLE land_pewarima")));
        test::ModalAnswers answers;
        if (!transfer)
            answers.press(QStringLiteral("cmdyes"));
        answers.press(QStringLiteral("OK"));
        QTest::mouseClick(transfer ? s->cmdok : s->cmdenter, Qt::LeftButton);
        QVERIFY(answers.allAnswered());
        QCOMPARE(answers.name(answers.answered() - 1), QStringLiteral("failure"));
        QCOMPARE(landColumn(QStringLiteral("akkara"), first), QStringLiteral("3"));
        QCOMPARE(landColumn(QStringLiteral("rut"), first), QStringLiteral("2"));
        QCOMPARE(landColumn(QStringLiteral("chack"), first), QStringLiteral("1"));
        QCOMPARE(landColumn(QStringLiteral("pewarima"), first), QStringLiteral("il%sh"));
        // The screen stays as it was, ready to try again.
        QCOMPARE(s->txtlandno_h->text(), QStringLiteral("301"));
    }

    void anotherWorkstationChangesTheFirstLand_data()
    {
        QTest::addColumn<QString>("change"); // what the other workstation sets on the first land
        QTest::addColumn<bool>("stored");
        QTest::newRow("a transfer meanwhile: refused, shown as it stands")
            << u"akkara = '1', rut = '0', parchase = '0', akkara_only = '1.'"_s << false;
        QTest::newRow("its roods changed: refused") << u"rut = '3'"_s << false;
        QTest::newRow("its address changed: stored") << u"addre = 'kj mdr'"_s << true;
    }
    void anotherWorkstationChangesTheFirstLand()
    {
        QFETCH(QString, change);
        QFETCH(bool, stored);
        const QString first = land(u"301"_s, u"3"_s, u"2"_s, u"0"_s, u"3.5"_s);
        test::addLand({.balapa_no = u"302"_s, .akkara_only = u"1.25"_s});
        frmland_pewarima *s = openScreen();
        readyTransfer(s);
        const QString before = test::value(u"SELECT akkara || '/' || rut || '/' || parchase || '/' || akkara_only "
                                           "FROM land WHERE srno = ?"_s,
            {first.toInt()});
        // The other workstation changes the first land and holds its change open until this clerk's store
        // waits for it.
        QString otherError;
        test::Signal holding;
        test::Signal clerkDone;
        test::ModalAnswers answers;
        if (!stored)
            answers.press(QStringLiteral("cmdexit"));
        {
            std::jthread other = test::otherWorkstation(otherError, [&](DbSession &session) {
                session.lockedChange([&] {
                    session.execute(u"UPDATE land SET "_s + change + u" WHERE srno = ?"_s, {first.toInt()});
                    holding.raise();
                    test::waitForRival(session, clerkDone);
                });
            });
            QVERIFY(holding.wait(30s));
            QTest::mouseClick(s->cmdok, Qt::LeftButton);
            clerkDone.raise();
        }
        QCOMPARE(otherError, QString());
        QCOMPARE(answers.answered(), stored ? 0 : 1);
        const QString after = test::value(u"SELECT akkara || '/' || rut || '/' || parchase || '/' || akkara_only "
                                          "FROM land WHERE srno = ?"_s,
            {first.toInt()});
        if (stored) {
            QCOMPARE(after, u"2/1/0/2.25"_s);
            QCOMPARE(
                history(), QStringList {first + u"|"_s + kGrant + u"|301|"_s + kTransfer + u"|ke;a|3|2|0|302|ysñ"_s});
            return;
        }
        QCOMPARE(answers.text(), kChangedElsewhere);
        QVERIFY(after != before); // the other workstation's change stands
        QCOMPARE(after,
            test::value(u"SELECT akkara || '/' || rut || '/' || parchase || '/' || akkara_only FROM land "
                        "WHERE srno = ?"_s,
                {first.toInt()}));
        QCOMPARE(test::count(QStringLiteral("land_pewarima")), 0);
        // The first land as it now stands, ready for the clerk to decide again.
        QCOMPARE(s->txtakkara_h->text() + u"/"_s + s->txtrud_h->text() + u"/"_s + s->txtparchase_h->text(),
            after.section(QLatin1Char('/'), 0, 2));
        QCOMPARE(s->tt2->text(), after.section(QLatin1Char('/'), 1, 1));
    }

    // A transfer keeps the land's decimal acres with its numbers, so the next transfer is checked and
    // proposed against what the land now holds: 5.9375 acres reduced to 4 a 1 r 20 p hold 4.375.
    void aSecondTransferSeesWhatTheFirstLeft()
    {
        const QString first = land(u"301"_s, u"5"_s, u"3"_s, u"30"_s, u"5.9375"_s);
        test::addLand({.balapa_no = u"302"_s, .akkara_only = u"1.5625"_s});
        test::addLand({.balapa_no = u"303"_s, .akkara_only = u"4.5"_s});
        frmland_pewarima *s = openScreen();
        loadFirst(s, u"301"_s);
        loadSecond(s, u"302"_s);
        QCOMPARE(s->txtakkara_only_h->text(), u"4.375"_s);
        retype(s->txtakkara_h, u"4"_s);
        retype(s->txtrud_h, u"1"_s);
        retype(s->txtparchase_h, u"20"_s);
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(landColumn(u"akkara_only"_s, first), u"4.375"_s);

        loadFirst(s, u"301"_s);
        QCOMPARE(s->txtakkara_only_old->text(), u"4.375"_s);
        loadSecond(s, u"303"_s);
        QCOMPARE(s->txtakkara_only_h->text(), u"4.375"_s); // 4.5 is more than the land holds: no proposal
        retype(s->txtakkara_h, u"0"_s);
        retype(s->txtrud_h, u"0"_s);
        retype(s->txtparchase_h, u"0"_s);
        test::ModalAnswers answers;
        answers.press(u"cmdexit"_s);
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(answers.text(), kChangeExtent);
        QCOMPARE(landColumn(u"akkara"_s, first) + u"/"_s + landColumn(u"rut"_s, first), u"4/1"_s);
        QCOMPARE(test::count(u"land_pewarima"_s), 1);
    }

    // Whatever reaches the boxes (a stored text, a program writing them) is checked again at the store.
    void anExtentTheLandCannotKeepIsRefused_data()
    {
        QTest::addColumn<QStringList>("kept"); // acres, roods, perches the first land would keep
        QTest::newRow("negative") << QStringList {u"-1"_s, u"0"_s, u"0"_s};
        QTest::newRow("text") << QStringList {u"forty"_s, u""_s, u""_s};
        QTest::newRow("grows the land") << QStringList {u"6"_s, u"0"_s, u"0"_s};
        QTest::newRow("roods past the land") << QStringList {u"3"_s, u"3"_s, u"0"_s};
    }
    void anExtentTheLandCannotKeepIsRefused()
    {
        QFETCH(QStringList, kept);
        const QString first = land(u"301"_s, u"3"_s, u"2"_s, u"0"_s, u"3.5"_s);
        test::addLand({.balapa_no = u"302"_s, .akkara_only = u"1.25"_s});
        frmland_pewarima *s = openScreen();
        readyTransfer(s);
        s->txtakkara_h->setText(kept.at(0));
        s->txtrud_h->setText(kept.at(1));
        s->txtparchase_h->setText(kept.at(2));
        test::ModalAnswers answers;
        answers.press(u"cmdexit"_s);
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.text(), kChangeExtent);
        QCOMPARE(test::value(
                     u"SELECT akkara || '/' || rut || '/' || akkara_only FROM land WHERE srno = ?"_s, {first.toInt()}),
            u"3/2/3.5"_s);
        QCOMPARE(test::count(u"land_pewarima"_s), 0);
    }
};

QTEST_MAIN(tst_transfer_store)
#include "tst_transfer_store.moc"
