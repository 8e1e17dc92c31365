// A clerk registers a land from the main menu for a registered owner, with its four boundaries and a
// successor, finds it again in change mode, changes it and deletes it.

#include "registry/frmhathara.h"
#include "registry/frmland.h"
#include "shell/frmhome.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/records.h"
#include "support/screentest.h"
#include "ui/listview.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace parcelon;

class tst_land_walk : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }
    void init() { m_base.init(); }
    void cleanup() { m_base.cleanup(); }

    void aLandFromTheMainMenuRegisteredFoundChangedAndDeleted()
    {
        test::addDivision(test::kDivision, {test::kVillage, QStringLiteral("lÿre")});
        const QString owner = test::addOwner({.id = QStringLiteral("671234567v"), .house_no = QStringLiteral("45")});
        test::exec(QStringLiteral("INSERT INTO nadayo (nathisambandaya) VALUES (?)"), {QStringLiteral("mq;d")});
        const QString chief
            = test::addUser(QStringLiteral("Chief"), QStringLiteral("p"), {QStringLiteral("4 - ish¨ wjir")});
        frmhome *home = m_base.home(chief, QStringLiteral("Chief"), true);

        test::ModalAnswers answers;
        answers.with([](QWidget *dialog) {
            auto *s = qobject_cast<frmland *>(dialog);
            QVERIFY(s);
            QCOMPARE(test::unaddressable(s), QStringList());
            QCOMPARE(s->labno->text(), QStringLiteral("1"));
            // The owner, by identity number.
            test::typeInto(s->txtid, QStringLiteral("671234567v"));
            test::enter(s->txtid);
            QCOMPARE(s->txtguhano->text(), QStringLiteral("45"));
            QCOMPARE(s->labname->text(), QStringLiteral("mshd"));
            // The permit and the land.
            test::choose(s->cmblandno, QStringLiteral("wjirm;% wxlh"));
            QCOMPARE(s->cmbaythiy_sbawaya->currentText(), QStringLiteral("2- wjir m;%"));
            test::typeInto(s->txtlandno, QStringLiteral("wk/12/345"));
            test::enter(s->txtlandno);
            test::typeInto(s->txtadd, QStringLiteral("uyje, mdr"));
            // The four boundaries, answered in their own dialog (next in the queue).
            QVERIFY(s->cmdsathara->isEnabled());
            QTest::mouseClick(s->cmdsathara, Qt::LeftButton);
            test::backTo(s);
            QCOMPARE(s->labsathara->text(), QStringLiteral("igyka lr we;"));
            test::choose(s->cmbakkara, QStringLiteral("2 - wlalr"));
            test::typeInto(s->txtakkara, QStringLiteral("2"));
            test::typeInto(s->txtrud, QStringLiteral("1"));
            test::typeInto(s->txtparchase, QStringLiteral("20"));
            QCOMPARE(s->txtakkara_only->text(), QStringLiteral("2.375"));
            // The successor.
            test::typeInto(s->txtpasuaythiya, QStringLiteral("ksu,a"));
            test::choose(s->cmbpasuaythiya, QStringLiteral("1- mq;d"));
            QCOMPARE(s->cmbgama->currentText(), QStringLiteral("1 - ") + test::kVillage);
            QTest::mouseClick(s->cmdenter, Qt::LeftButton);
            QCOMPARE(s->labno->text(), QStringLiteral("2"));
            QVERIFY(s->txtlandno->text().isEmpty());

            // Found again in change mode, changed, then deleted.
            QTest::mouseClick(s->cmdedit, Qt::LeftButton);
            test::typeInto(s->labno, QStringLiteral("1"));
            QTest::keyClick(s->labno, Qt::Key_Tab);
            QCOMPARE(s->txtlandno->text(), QStringLiteral("wk/12/345"));
            QCOMPARE(s->txtakkara_only->text(), QStringLiteral("2.375"));
            QCOMPARE(s->cmbpasuaythiya->currentText(), QStringLiteral("1- mq;d"));
            QCOMPARE(s->labsathara->text(), QStringLiteral("igyka lr we;"));
            s->txtadd->clear();
            test::typeInto(s->txtadd, QStringLiteral("kqjr mdr"));
            QTest::mouseClick(s->cmdupdate, Qt::LeftButton);
            test::typeInto(s->labno, QStringLiteral("1"));
            QTest::keyClick(s->labno, Qt::Key_Tab);
            QTest::mouseClick(s->cmddeleter, Qt::LeftButton);
            QTest::mouseClick(s->cmdexit, Qt::LeftButton);
        });
        answers.with([](QWidget *dialog) {
            auto *b = qobject_cast<frmhathara *>(dialog);
            QVERIFY(b);
            QCOMPARE(b->lablandno->text(), QStringLiteral("wk/12/345"));
            test::typeInto(b->txtuthura, QStringLiteral("mdr"));
            test::typeInto(b->txtdakuna, QStringLiteral("l=Uqr"));
            test::typeInto(b->txtbatahira, QStringLiteral("weM"));
            test::typeInto(b->txtnaganahira, QStringLiteral("j;a;"));
            QTest::mouseClick(b->cmdok, Qt::LeftButton);
        });
        QTest::mouseClick(home->cmdland, Qt::LeftButton);
        QVERIFY(answers.allAnswered());

        const QString land = QStringLiteral("SELECT %1 FROM land WHERE srno = 1");
        QCOMPARE(test::value(land.arg(QStringLiteral("balapa_no"))), QStringLiteral("wk/12/345"));
        QCOMPARE(test::value(land.arg(QStringLiteral("labn_owner_srno"))), owner);
        QCOMPARE(test::value(land.arg(QStringLiteral("addre"))), QStringLiteral("kqjr mdr"));
        QCOMPARE(test::value(land.arg(QStringLiteral("akkara_only"))), QStringLiteral("2.375"));
        QCOMPARE(test::value(land.arg(QStringLiteral("p_name"))), QStringLiteral("ksu,a"));
        QCOMPARE(test::value(land.arg(QStringLiteral("p_naya"))), QStringLiteral("1- mq;d"));
        QCOMPARE(test::value(land.arg(QStringLiteral("username"))), QStringLiteral("Chief"));
        // Deleted: inactive with its status text, never removed.
        QCOMPARE(test::value(land.arg(QStringLiteral("chack"))), QStringLiteral("0"));
        QCOMPARE(test::value(land.arg(QStringLiteral("pewarima"))), QStringLiteral("wl%sh"));
        QCOMPARE(test::value(QStringLiteral("SELECT landsrno FROM hathara_maym WHERE landno = 'wk/12/345'")),
            QStringLiteral("1"));
        QCOMPARE(test::value(QStringLiteral("SELECT naganahira FROM hathara_maym")), QStringLiteral("j;a;"));
    }
};

QTEST_MAIN(tst_land_walk)
#include "tst_land_walk.moc"
