// The land register as a clerk meets it: the next land number, finding the owner by identity number and
// by household number (directly for one member, through the chooser for more), what typing in the owner
// boxes undoes, the owner register opened for an owner not among the active ones, the permission levels,
// the focus colour, the Enter order and the sub-screens opened dimmed.

#include "registry/frmland.h"
#include "registry/frmselect.h"
#include "shell/frmhome.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/records.h"
#include "support/screentest.h"
#include "ui/listview.h"
#include "ui/screen.h"
#include "ui/screenregistry.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace parcelon;

namespace {
const QColor kViolet {209, 116, 248};
const QColor kYellow {255, 255, 192};
const QColor kLightGreen {128, 255, 128};
const QString kAll = QStringLiteral("4 - ish¨ wjir");

QColor colourOf(const QWidget *field) { return field->palette().color(QPalette::Base); }

// A screen another area will build, standing in for it: the named controls the land register prepares,
// and what they held when the screen showed.
struct SubScreen
{
    const char *control;
    QString seen = QStringLiteral("<not shown>");
    double opacityWhileOpen = -1;
    QWidget *opener = nullptr;

    Screens::Maker maker()
    {
        return [this](QWidget *openedBy) {
            opener = openedBy;
            auto screen = std::make_unique<QDialog>(openedBy);
            screen->setObjectName(QStringLiteral("standIn"));
            new QLineEdit(screen.get());
            screen->findChild<QLineEdit *>()->setObjectName(QString::fromLatin1(control));
            return screen;
        };
    }
    // Answers the stand-in when it shows: records and closes it.
    void answer(test::ModalAnswers &answers)
    {
        answers.with([this](QWidget *dialog) {
            seen = dialog->findChild<QLineEdit *>(QString::fromLatin1(control))->text();
            opacityWhileOpen = opener->windowOpacity();
            static_cast<QDialog *>(dialog)->reject();
        });
    }
};
} // namespace

class tst_land_owner : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    frmhome *m_home = nullptr;
    std::unique_ptr<frmland> m_screen;

    frmland *openScreen(const QString &flag = kAll)
    {
        m_home->labuser_srno->setText(test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), {flag}));
        m_screen = std::make_unique<frmland>(m_home);
        test::showScreen(m_screen.get());
        return m_screen.get();
    }

    static void leave(QWidget *box)
    {
        QVERIFY(box->hasFocus());
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(!box->hasFocus());
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        test::addDivision(test::kDivision, {test::kVillage, QStringLiteral("lÿre")});
        m_home = m_base.home(QString());
    }

    void cleanup()
    {
        m_screen.reset();
        m_home = nullptr;
        m_base.cleanup();
    }

    void nextLandNumber()
    {
        frmland *s = openScreen();
        QCOMPARE(s->labno->text(), QStringLiteral("1"));
        QVERIFY(!s->labno->isEnabled());
        m_screen.reset();
        for (int i = 0; i < 3; ++i)
            test::addLand({.guhasth = QStringLiteral("H-1")});
        test::exec(QStringLiteral("DELETE FROM land WHERE srno = 3"));
        test::addLand({.guhasth = QStringLiteral("H-1")});
        s = openScreen();
        QCOMPARE(s->labno->text(), QStringLiteral("5"));
    }

    void identityNumberFindsOwnerAndHousehold()
    {
        const QString owner = test::addOwner({.id = QStringLiteral("123456789v"),
            .house_no = QStringLiteral("H-7"),
            .land_owner_name = QStringLiteral("iqks,a"),
            .gama = QStringLiteral("2 - lÿre")});
        test::addLand({.id = QStringLiteral("123456789v"), .guhasth = QStringLiteral("H-7"), .labn_owner_srno = owner});
        test::addLand({.id = QStringLiteral("123456789v"),
            .guhasth = QStringLiteral("H-7"),
            .labn_owner_srno = owner,
            .balapa_no = QStringLiteral("2")});
        test::addLand({.guhasth = QStringLiteral("H-8"), .balapa_no = QStringLiteral("3")});
        frmland *s = openScreen();
        QCOMPARE(s->lvland->count(), 3);

        test::typeInto(s->txtid, QStringLiteral("123456789v"));
        leave(s->txtid);
        QCOMPARE(s->labname->text(), QStringLiteral("iqks,a"));
        QCOMPARE(s->labsrno_customr->text(), owner);
        QCOMPARE(s->txtguhano->text(), QStringLiteral("H-7"));
        QVERIFY(!s->txtguhano->isEnabled());
        QCOMPARE(colourOf(s->txtguhano), kLightGreen);
        QCOMPARE(s->txtkottasaya->text(), QStringLiteral("1 - ") + test::kDivision);
        QCOMPARE(s->cmbgama->currentText(), QStringLiteral("2 - lÿre"));
        QCOMPARE(test::listLines(s->lvland, {0, 3}), (QStringList {QStringLiteral("H-7|1"), QStringLiteral("H-7|2")}));

        // Emptying the number lists every land again.
        QTest::mouseClick(s->txtid, Qt::LeftButton);
        s->txtid->selectAll();
        QTest::keyClick(s->txtid, Qt::Key_Backspace);
        QCOMPARE(s->lvland->count(), 3);
    }

    void householdOfOneIsTakenWithoutChooser()
    {
        const QString owner = test::addOwner({.id = QStringLiteral("222222222v"),
            .house_no = QStringLiteral("H-2"),
            .land_owner_name = QStringLiteral("lu,")});
        test::addOwner(
            {.id = QStringLiteral("333333333v"), .house_no = QStringLiteral("H-2"), .chak = QStringLiteral("0")});
        frmland *s = openScreen();
        // No dialog may come up: the test watch fails on one.
        test::typeInto(s->txtguhano, QStringLiteral("H-2"));
        leave(s->txtguhano);
        QCOMPARE(s->txtid->text(), QStringLiteral("222222222v"));
        QCOMPARE(s->labname->text(), QStringLiteral("lu,"));
        QCOMPARE(s->labsrno_customr->text(), owner);
        QVERIFY(!s->txtguhano->isEnabled());
    }

    void householdOfTwoIsChosen()
    {
        test::addOwner({.id = QStringLiteral("444444444v"),
            .house_no = QStringLiteral("H-4"),
            .land_owner_name = QStringLiteral("wfmdf")});
        const QString second = test::addOwner({.id = QStringLiteral("555555555v"),
            .house_no = QStringLiteral("H-4"),
            .land_owner_name = QStringLiteral("iqks,a")});
        frmland *s = openScreen();

        QString household;
        QString newCaption;
        bool newEnabled = true;
        QString okCaption;
        int members = 0;
        test::ModalAnswers answers;
        answers.with([&](QWidget *dialog) {
            auto *chooser = qobject_cast<frmselect *>(dialog);
            QVERIFY(chooser);
            household = chooser->labguhano->text();
            newCaption = chooser->cmdnew->text();
            newEnabled = chooser->cmdnew->isEnabled();
            okCaption = chooser->cmdok->text();
            members = chooser->lv->count();
            chooser->lv->selectRow(1);
            QTest::mouseClick(chooser->cmdok, Qt::LeftButton);
        });
        test::typeInto(s->txtguhano, QStringLiteral("H-4"));
        leave(s->txtguhano);
        QCOMPARE(answers.answered(), 1);
        test::backTo(s);
        QCOMPARE(household, QStringLiteral("H-4"));
        QCOMPARE(newCaption, QStringLiteral("kj idudcsl"));
        QVERIFY(!newEnabled);
        QCOMPARE(okCaption, QStringLiteral("f;drkak"));
        QCOMPARE(members, 2);
        QCOMPARE(s->txtid->text(), QStringLiteral("555555555v"));
        QCOMPARE(s->labname->text(), QStringLiteral("iqks,a"));
        QCOMPARE(s->labsrno_customr->text(), second);
        // The identity look-up ran after the chooser closed.
        QVERIFY(!s->txtguhano->isEnabled());
    }

    void typingInOneOwnerBoxUndoesTheOther()
    {
        const QString owner = test::addOwner({.id = QStringLiteral("123456789v"), .house_no = QStringLiteral("H-7")});
        frmland *s = openScreen();
        // Only digits, "v" and "x" go into the identity box.
        test::typeInto(s->txtid, QStringLiteral("12a3-V45678x9v"));
        QCOMPARE(s->txtid->text(), QStringLiteral("12345678x9"));
        s->txtid->clear();
        test::type(s->txtid, QStringLiteral("123456789v"));
        leave(s->txtid);
        QCOMPARE(s->labsrno_customr->text(), owner);

        QTest::mouseClick(s->txtid, Qt::LeftButton);
        QTest::keyClick(s->txtid, Qt::Key_Backspace);
        QCOMPARE(s->txtguhano->text(), QString());
        QVERIFY(s->txtguhano->isEnabled());
        QCOMPARE(s->labname->text(), QString());
        QCOMPARE(s->labsrno_customr->text(), QString());

        test::typeInto(s->txtguhano, QStringLiteral("H"));
        QCOMPARE(s->txtid->text(), QString());
    }

    void ownerNotAmongActiveOnesOpensRegister_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("registerOpens");
        QTest::newRow("deactivated owner") << "987654321v" << true;
        QTest::newRow("unknown number") << "111222333x" << true;
        QTest::newRow("number failing its check") << "12345" << false;
    }
    void ownerNotAmongActiveOnesOpensRegister()
    {
        QFETCH(QString, typed);
        QFETCH(bool, registerOpens);
        test::addOwner(
            {.id = QStringLiteral("987654321v"), .house_no = QStringLiteral("H-9"), .chak = QStringLiteral("0")});
        SubScreen ownerRegister {"txtid"};
        Screens::add(ScreenId::frmlandoner, ownerRegister.maker());
        frmland *s = openScreen();

        test::ModalAnswers answers;
        if (registerOpens)
            ownerRegister.answer(answers);
        test::typeInto(s->txtid, typed);
        QTest::keyClick(s->txtid, Qt::Key_Tab);
        QCOMPARE(answers.answered(), registerOpens ? 1 : 0);
        test::backTo(s);
        QCOMPARE(ownerRegister.seen, registerOpens ? typed : QStringLiteral("<not shown>"));
        QCOMPARE(s->labname->text(), QString());
        QCOMPARE(s->labsrno_customr->text(), QString());
        QVERIFY(s->txtguhano->isEnabled());
        QCOMPARE(s->labcha->text(), registerOpens ? QString() : QStringLiteral("1"));
        QCOMPARE(background(s->txtid) == colours::attention, !registerOpens);
    }

    void permissionLevels_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<bool>("typesOwnerAndPermit");
        QTest::addColumn<bool>("switchesMode");
        QTest::newRow("view only") << "2 - ne,su muKhs" << false << false;
        QTest::newRow("entry only") << "3 - we;=,a lsrsu muKs" << true << false;
        QTest::newRow("all") << kAll << true << true;
    }
    void permissionLevels()
    {
        QFETCH(QString, flag);
        QFETCH(bool, typesOwnerAndPermit);
        QFETCH(bool, switchesMode);
        frmland *s = openScreen(flag);
        for (QWidget *w :
            std::initializer_list<QWidget *> {s->txtid, s->txtguhano, s->txtlandno, s->cmdfind, s->cmdnew})
            QVERIFY2(w->isEnabled() == typesOwnerAndPermit, qPrintable(w->objectName()));
        QCOMPARE(s->cmdedit->isEnabled(), switchesMode);
        QVERIFY(s->cmdenter->isEnabled());
        QVERIFY(!s->cmdupdate->isEnabled());
        QVERIFY(!s->cmddeleter->isEnabled());
    }

    void focusedFieldIsViolet_data()
    {
        QTest::addColumn<QString>("field");
        for (const char *name :
            {"txtadd", "txtkatti", "txtakkara_only", "cmbland_sabawaya", "cmbaythiy_sbawaya", "cmbothland"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void focusedFieldIsViolet()
    {
        QFETCH(QString, field);
        frmland *s = openScreen();
        QWidget *w = s->findChild<QWidget *>(field);
        QVERIFY(w);
        QCOMPARE(colourOf(w), kYellow);
        w->setFocus(Qt::TabFocusReason);
        QCOMPARE(colourOf(w), kViolet);
        s->cmdexit->setFocus(Qt::TabFocusReason);
        QCOMPARE(colourOf(w), kYellow);
    }

    void enterOrder_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("identity") << "txtid"
                                  << "txtguhano";
        QTest::newRow("household") << "txtguhano"
                                   << "txtlandno";
        QTest::newRow("place") << "txtadd"
                               << "cmbland_sabawaya";
        QTest::newRow("nature") << "cmbland_sabawaya"
                                << "txtkatti";
        QTest::newRow("lot") << "txtkatti"
                             << "txtakkara";
        QTest::newRow("ownership") << "cmbaythiy_sbawaya"
                                   << "cmbothland";
        QTest::newRow("portion") << "cmbothland"
                                 << "cmdenter";
    }
    void enterOrder()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        frmland *s = openScreen();
        auto *source = s->findChild<QWidget *>(from);
        QVERIFY(source);
        source->setFocus(Qt::TabFocusReason);
        QVERIFY(source->hasFocus());
        test::enter(source);
        QCOMPARE(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(), to);
    }

    void enterSkipsHouseholdOfFoundOwner()
    {
        test::addOwner({.id = QStringLiteral("123456789v"), .house_no = QStringLiteral("H-7")});
        frmland *s = openScreen();
        test::typeInto(s->txtid, QStringLiteral("123456789v"));
        leave(s->txtid);
        QTest::mouseClick(s->txtid, Qt::LeftButton);
        test::enter(s->txtid);
        QVERIFY(s->txtlandno->hasFocus());
    }

    void resetEmptiesTheEntryAndKeepsTheRest()
    {
        test::exec(QStringLiteral("INSERT INTO nadayo (nathisambandaya) VALUES (?)"), {QStringLiteral("mq;d")});
        frmland *s = openScreen();
        const QList<QLineEdit *> emptied {s->txtlandno, s->txtadd, s->txtkatti, s->txtakkara, s->txtrud, s->txtparchase,
            s->txtwawa, s->txtid, s->txtguhano, s->txtpasuaythiya, s->txtkottasaya, s->txtakkara_only};
        for (QLineEdit *box : emptied)
            box->setText(QStringLiteral("12"));
        s->labname->setText(QStringLiteral("mshd"));
        s->labsrno_customr->setText(QStringLiteral("7"));
        s->labsathara->setText(QStringLiteral("igyka lr we;"));
        s->cmbgama->setCurrentText(QStringLiteral("1 - wdrjk"));
        s->mkbalapath_date->setText(QStringLiteral("14032026"));
        for (QComboBox *combo : {s->cmblandno, s->cmbland_sabawaya, s->cmbaythiy_sbawaya, s->cmbakkara})
            combo->setCurrentIndex(1);
        s->cmbothland->setCurrentIndex(0);
        s->cmbpasuaythiya->setCurrentIndex(1);
        const QString date = s->mkbalapath_date->text();
        const QString number = s->labno->text();

        s->home_mumant();
        for (QLineEdit *box : emptied)
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        QCOMPARE(s->labname->text(), QString());
        QCOMPARE(s->cmblandno->currentText(), QStringLiteral("fkd;drsia Tmamq wxlh"));
        QCOMPARE(s->cmbland_sabawaya->currentText(), QStringLiteral("1- fkdoks"));
        QCOMPARE(s->cmbaythiy_sbawaya->currentText(), QStringLiteral("1- Èukd m;%"));
        QCOMPARE(s->cmbakkara->currentText(), QStringLiteral("1 - fylaghd¾"));
        QCOMPARE(s->cmbothland->currentText(), QStringLiteral("2- ke;"));
        QCOMPARE(s->labno->text(), number);
        QCOMPARE(s->labsrno_customr->text(), QStringLiteral("7"));
        QCOMPARE(s->labsathara->text(), QStringLiteral("igyka lr we;"));
        QCOMPARE(s->cmbgama->currentText(), QStringLiteral("1 - wdrjk"));
        QCOMPARE(s->cmbpasuaythiya->currentText(), QStringLiteral("1- mq;d"));
        QCOMPARE(s->mkbalapath_date->text(), date);
    }

    void subScreensOpenDimmed_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("handed");
        QTest::newRow("owner finder") << int(ScreenId::frmfind_land_onew) << "cmdfind"
                                      << "labch"
                                      << "1";
        QTest::newRow("permit change") << int(ScreenId::frmland_change) << "cmdchange_name"
                                       << "txtlandno1"
                                       << "w - 4";
    }
    void subScreensOpenDimmed()
    {
        QFETCH(int, screen);
        QFETCH(QString, button);
        QFETCH(QString, control);
        QFETCH(QString, handed);
        const auto id = ScreenId(screen);
        frmland *s = openScreen();
        s->txtlandno->setText(QStringLiteral("w - 4"));
        auto *b = s->findChild<QPushButton *>(button);
        QVERIFY(b);

        // Not built yet: nothing opens and the screen stays as it was.
        Screens::remove(id);
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(s->windowOpacity(), 1.0);
        QCOMPARE(sharedAlpha(), 255);

        const QByteArray name = control.toLatin1();
        SubScreen sub {name.constData()};
        Screens::add(id, sub.maker());
        test::ModalAnswers answers;
        sub.answer(answers);
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        test::backTo(s);
        QCOMPARE(sub.seen, handed);
        QCOMPARE(qRound(sub.opacityWhileOpen * 255), 100);
        // The sub-screen restores the register by pressing cmdcha.
        s->cmdcha->click();
        QCOMPARE(s->windowOpacity(), 1.0);
    }
};

QTEST_MAIN(tst_land_owner)
#include "tst_land_owner.moc"
