// The land owner register and its household chooser as a clerk uses them: the identity number's keys
// and check, look-ups by identity and household, the chooser, new members, completing a member's
// identity number, update, deactivation, the permission modes and the layout.

#include "registry/frmlandoner.h"
#include "registry/frmselect.h"
#include "shell/frmhome.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/records.h"
#include "support/screentest.h"
#include "support/workstation.h"
#include "ui/kit.h"
#include "ui/listview.h"
#include "ui/screen.h"
#include "ui/twipsgeometry.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace parcelon;

namespace {
const QString kDivision1 = QStringLiteral("1 - uyje,");
const QString kVillage11 = QStringLiteral("1 - wdrjk");
const QString kVillage12 = QStringLiteral("2 - lÿre");
const QString kDivision2 = QStringLiteral("2 - fld<U");
const QString kVillage21 = QStringLiteral("1 - nKavdr");

const QString kWrongId = QStringLiteral("Tn we;=<;a l< cd;sl ye÷kqïm;a wxlh jerÈh");
const QString kHoldsLand
    = QStringLiteral("fuu bvñ ysñhd hgf;a il%sh bvñ we; tajd wfydais jk f;la bvñ ysñhd wfydais l< fkdyel");

bool isRed(const QWidget *w) { return background(w) == colours::attention; }
} // namespace

// The controls and the land list the land register offers the chooser.
class LandRegisterStandIn final : public QDialog
{
    Q_OBJECT
public:
    LandRegisterStandIn()
    {
        txtid->setObjectName(QStringLiteral("txtid"));
        labsrno_customr->setObjectName(QStringLiteral("labsrno_customr"));
        labname->setObjectName(QStringLiteral("labname"));
    }
    Q_INVOKABLE void land_lv() { ++listed; }
    QLineEdit *txtid = new QLineEdit(this);
    QLabel *labsrno_customr = new QLabel(this);
    QLabel *labname = new QLabel(this);
    int listed = 0;
};

class tst_landowner : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    frmhome *m_home = nullptr;
    std::unique_ptr<frmlandoner> m_screen;

    frmlandoner *openScreen(const QString &flag = QStringLiteral("4 - ish¨ wjir"))
    {
        const QString user = test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), {flag});
        m_home->labuser_srno->setText(user);
        m_screen = std::make_unique<frmlandoner>(m_home);
        test::showScreen(m_screen.get());
        return m_screen.get();
    }

    // Leaves the identity box as a clerk does, with Tab.
    static void leave(QWidget *box)
    {
        QVERIFY(box->hasFocus());
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(!box->hasFocus());
    }

    // Types a household number and picks a member in the chooser, by the line it stands on.
    static void chooseMember(frmlandoner *s, const QString &household, int line)
    {
        test::ModalAnswers answers;
        answers.with([line](QWidget *dialog) {
            auto *chooser = qobject_cast<frmselect *>(dialog);
            QVERIFY(chooser);
            chooser->lv->selectRow(line);
            QTest::mouseClick(chooser->cmdok, Qt::LeftButton);
        });
        test::typeInto(s->txtguhano, household);
        test::enter(s->txtguhano);
        QCOMPARE(answers.answered(), 1);
        test::backTo(s);
    }

    // Registers an owner through the screen, which leaves the division chosen and its villages emptied.
    static void saveAnyOwner(frmlandoner *s)
    {
        test::typeInto(s->txtid, QStringLiteral("100000001v"));
        test::typeInto(s->txtlandname, QStringLiteral("wkH"));
        test::choose(s->cmbgamiya, kDivision1);
        test::choose(s->cmbgama, kVillage11);
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(s->cmbgama->count(), 0);
    }

    static QString owner(const QString &column, const QString &srno)
    {
        return test::value(
            QStringLiteral("SELECT ") + column + QStringLiteral(" FROM landowner WHERE srno = ?"), {srno.toLongLong()});
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        test::addDivision(test::kDivision, {test::kVillage, QStringLiteral("lÿre")});
        test::addDivision(QStringLiteral("fld<U"), {QStringLiteral("nKavdr")});
        // No one signed in yet: openScreen() signs the clerk in with the level the test needs.
        m_home = m_base.home(QString());
    }

    void cleanup()
    {
        m_screen.reset();
        m_home = nullptr;
        m_base.cleanup();
    }

    void registersNewOwnerStampedWithTheSession()
    {
        frmlandoner *s = openScreen();
        QCOMPARE(s->labno->text(), QStringLiteral("1"));
        QCOMPARE(s->labsakiya->text(), QStringLiteral("kj"));
        QCOMPARE(s->cmbgamiya->count(), 2);
        QCOMPARE(s->cmbgamiya->itemText(1), kDivision2);
        QCOMPARE(s->cmbgamiya->currentIndex(), -1);
        QCOMPARE(s->cmbgama->count(), 0);

        test::typeInto(s->txtid, QStringLiteral("123456789v"));
        test::enter(s->txtid);
        QVERIFY(s->txtguhano->hasFocus());
        test::type(s->txtguhano, QStringLiteral("G-12"));
        // Enter walks the details, in order, to the save button.
        const std::pair<QLineEdit *, QString> details[] = {{s->txtlandname, QStringLiteral("ir;a fmf¾rd")},
            {s->txtad1, QStringLiteral("12")}, {s->txtad2, QStringLiteral("m%Odk mdr")}, {s->txtad3, QString()},
            {s->txtad4, QString()}, {s->txtsamajikano, QStringLiteral("4")}, {s->txtjop, QStringLiteral("f.dúhd")},
            {s->txtadayama, QStringLiteral("96000")}};
        QWidget *current = s->txtguhano;
        for (const auto &[box, text] : details) {
            test::enter(current);
            QVERIFY(box->hasFocus());
            test::type(box, text);
            current = box;
        }
        test::enter(current);
        QVERIFY(s->cmdok->hasFocus());
        test::choose(s->cmbgamiya, kDivision1);
        QCOMPARE(s->cmbgama->count(), 2);
        QCOMPARE(s->cmbgama->currentIndex(), -1);
        test::choose(s->cmbgama, kVillage12);
        // Back over the division to the save button, and Enter presses it.
        QTest::keyClick(s->cmbgama, Qt::Key_Backtab);
        QTest::keyClick(s->cmbgamiya, Qt::Key_Backtab);
        QVERIFY(s->cmdok->hasFocus());
        test::enter(s->cmdok);

        QCOMPARE(test::count(QStringLiteral("landowner")), 1);
        const QString srno = test::value(QStringLiteral("SELECT srno FROM landowner"));
        QCOMPARE(owner(QStringLiteral("id"), srno), QStringLiteral("123456789v"));
        QCOMPARE(owner(QStringLiteral("house_no"), srno), QStringLiteral("G-12"));
        QCOMPARE(owner(QStringLiteral("land_owner_name"), srno), QStringLiteral("ir;a fmf¾rd"));
        QCOMPARE(owner(QStringLiteral("ad3"), srno), QString());
        QCOMPARE(owner(QStringLiteral("job"), srno), QStringLiteral("f.dúhd"));
        QCOMPARE(owner(QStringLiteral("amoun"), srno), QStringLiteral("96000"));
        QCOMPARE(owner(QStringLiteral("chak"), srno), QStringLiteral("1"));
        QCOMPARE(owner(QStringLiteral("gamiya"), srno), kDivision1);
        QCOMPARE(owner(QStringLiteral("gama"), srno), kVillage12);
        QCOMPARE(owner(QStringLiteral("username"), srno), QStringLiteral("Nimal"));
        QCOMPARE(owner(QStringLiteral("date"), srno), test::kStampDate);
        QCOMPARE(owner(QStringLiteral("time"), srno), test::kStampTime);
        // Ready for the next owner of the same division.
        QCOMPARE(s->labno->text(), QStringLiteral("2"));
        QVERIFY(s->txtid->text().isEmpty() && s->txtguhano->text().isEmpty() && s->txtadayama->text().isEmpty());
        QCOMPARE(s->cmbgamiya->currentText(), kDivision1);
        QCOMPARE(s->cmbgama->count(), 0);
    }

    void identityNumber_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("valid");
        QTest::newRow("nine digits and v") << "123456789v"
                                           << "123456789v" << true;
        QTest::newRow("nine digits and x") << "987654321x"
                                           << "987654321x" << true;
        QTest::newRow("eight digits and v") << "12345678v"
                                            << "12345678v" << false;
        QTest::newRow("ten digits") << "1234567890"
                                    << "1234567890" << false;
        QTest::newRow("upper-case V discarded") << "123456789V"
                                                << "123456789" << false;
        QTest::newRow("other keys discarded") << "1a2b3-4 5.6X7 8'9vv"
                                              << "123456789v" << true;
        QTest::newRow("Backspace corrects") << "123456780\b9v"
                                            << "123456789v" << true;
    }
    void identityNumber()
    {
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(bool, valid);
        frmlandoner *s = openScreen();
        QTest::mouseClick(s->txtid, Qt::LeftButton);
        for (const QChar ch : keys) {
            if (ch == QLatin1Char('\b'))
                QTest::keyClick(s->txtid, Qt::Key_Backspace);
            else
                QTest::keyClick(s->txtid, ch.toLatin1());
        }
        QCOMPARE(s->txtid->text(), shown);
        leave(s->txtid);
        QCOMPARE(s->labcha->text(), valid ? QString() : QStringLiteral("1"));
        QCOMPARE(isRed(s->txtid), !valid);

        test::typeInto(s->txtlandname, QStringLiteral("ir;a"));
        test::choose(s->cmbgamiya, kDivision2);
        test::choose(s->cmbgama, kVillage21);
        test::ModalAnswers answers;
        if (!valid)
            answers.press(QStringLiteral("cmdexit"));
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        if (valid) {
            QCOMPARE(answers.answered(), 0);
            QCOMPARE(test::value(QStringLiteral("SELECT id FROM landowner")), shown);
        } else {
            QCOMPARE(answers.answered(), 1);
            QCOMPARE(answers.text(), kWrongId);
            QCOMPARE(test::count(QStringLiteral("landowner")), 0);
        }
    }

    void checkAcceptsUpperCaseSetByAnotherScreen()
    {
        frmlandoner *s = openScreen();
        s->txtid->setText(QStringLiteral("123456789V"));
        s->txtid->setFocus(Qt::TabFocusReason);
        leave(s->txtid);
        QCOMPARE(s->labcha->text(), QString());
        // Typing again clears the mark.
        QTest::mouseClick(s->txtid, Qt::LeftButton);
        s->labcha->setText(QStringLiteral("1"));
        QTest::keyClick(s->txtid, Qt::Key_Backspace);
        QCOMPARE(s->labcha->text(), QString());
    }

    void lookupByIdentityLoadsOwnerAndHouseholdLandsOnce()
    {
        const QString first = test::addOwner({.id = QStringLiteral("111111111v"),
            .house_no = QStringLiteral("H-7"),
            .land_owner_name = QStringLiteral("mshd"),
            .gama = kVillage12});
        const QString second = test::addOwner({.id = QString(),
            .house_no = QStringLiteral("H-7"),
            .land_owner_name = QStringLiteral("iqks,a"),
            .gama = kVillage12});
        const QString other = test::addOwner({.id = QStringLiteral("555555555v"),
            .house_no = QStringLiteral("H-8"),
            .land_owner_name = QStringLiteral("wkH"),
            .gama = kVillage12});
        test::addLand({.guhasth = QStringLiteral("H-7"), .labn_owner_srno = first, .balapa_no = QStringLiteral("101")});
        test::addLand({.guhasth = QStringLiteral("H-7"),
            .labn_owner_srno = second,
            .balapa_no = QStringLiteral("102"),
            .chack = QStringLiteral("0")});
        test::addLand({.guhasth = QStringLiteral("H-8"), .labn_owner_srno = other, .balapa_no = QStringLiteral("103")});
        frmlandoner *s = openScreen();

        test::typeInto(s->txtid, QStringLiteral("111111111v"));
        test::enter(s->txtid);
        QCOMPARE(s->labno->text(), first);
        QCOMPARE(s->txtguhano->text(), QStringLiteral("H-7"));
        QCOMPARE(s->txtlandname->text(), QStringLiteral("mshd"));
        QCOMPARE(s->txtad4->text(), QStringLiteral("ad4"));
        QCOMPARE(s->txtsamajikano->text(), QStringLiteral("5"));
        QCOMPARE(s->txtjop->text(), QStringLiteral("f.dúhd"));
        QCOMPARE(s->txtadayama->text(), QStringLiteral("120000"));
        QCOMPARE(s->cmbgamiya->currentText(), kDivision1);
        QCOMPARE(s->cmbgama->currentText(), kVillage12);
        QCOMPARE(s->labsakiya->text(), QStringLiteral("l%shdldrs"));
        QVERIFY(!s->cmdok->isEnabled());
        QVERIFY(s->cmdupdata->isEnabled() && s->cmddelete->isEnabled());

        // Both lands of the household, active or not, each naming the household's first owner.
        const QStringList expected[] = {{QStringLiteral("111111111"), QStringLiteral("H-7"), QStringLiteral("mshd"),
                                            QStringLiteral("ysñ  101"), QStringLiteral("il%sh"), QString()},
            {QStringLiteral("111111111"), QStringLiteral("H-7"), QStringLiteral("mshd"), QStringLiteral("ysñ  102"),
                QStringLiteral("il%sh"), QString()}};
        QCOMPARE(s->lvdetels->count(), 2);
        for (int row = 0; row < 2; ++row)
            QCOMPARE(s->lvdetels->line(row), expected[row]);

        // Leaving the household box for the same person lists them once, not twice.
        QVERIFY(s->txtguhano->hasFocus());
        test::enter(s->txtguhano);
        QVERIFY(s->txtlandname->hasFocus());
        QCOMPARE(s->lvdetels->count(), 2);
        QCOMPARE(s->txtlandname->text(), QStringLiteral("mshd"));
    }

    void householdOfThreeOpensChooserAndStartsNewMember()
    {
        QStringList members;
        for (const QString &name : {QStringLiteral("wfmdf"), QStringLiteral("iqks,a"), QStringLiteral("lu,")})
            members << test::addOwner({.id = QString::number(members.size() + 1).repeated(9) + QLatin1Char('v'),
                .house_no = QStringLiteral("H-9"),
                .land_owner_name = name});
        test::addOwner({.id = QStringLiteral("999999999v"),
            .house_no = QStringLiteral("H-10"),
            .land_owner_name = QStringLiteral("wkH")});
        frmlandoner *s = openScreen();

        QList<QStringList> listed;
        QString caption;
        test::ModalAnswers answers;
        answers.with([&](QWidget *dialog) {
            auto *chooser = qobject_cast<frmselect *>(dialog);
            QVERIFY(chooser);
            for (int row = 0; row < chooser->lv->count(); ++row)
                listed << chooser->lv->line(row);
            caption = chooser->cmdnew->text();
            QTest::mouseClick(chooser->cmdnew, Qt::LeftButton);
        });
        test::typeInto(s->txtguhano, QStringLiteral("H-9"));
        test::enter(s->txtguhano);
        QCOMPARE(answers.answered(), 1);
        test::backTo(s);
        QCOMPARE(answers.name(), QStringLiteral("frmselect"));
        QCOMPARE(caption, QStringLiteral("kj idudcsl"));
        QCOMPARE(listed.size(), 3);
        QCOMPARE(listed.at(1), (QStringList {members.at(1), QStringLiteral("222222222v"), QStringLiteral("iqks,a")}));

        QCOMPARE(s->labno->text(), QStringLiteral("5"));
        QCOMPARE(s->labsakiya->text(), QStringLiteral("kj"));
        QCOMPARE(s->txtguhano->text(), QStringLiteral("H-9"));
        QVERIFY(s->cmdok->isEnabled());
        QVERIFY(!s->cmdupdata->isEnabled() && !s->cmddelete->isEnabled());

        QVERIFY(s->txtlandname->hasFocus());
        test::type(s->txtlandname, QStringLiteral("mqxÑ"));
        test::choose(s->cmbgamiya, kDivision1);
        test::choose(s->cmbgama, kVillage11);
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(test::count(QStringLiteral("landowner"), QStringLiteral("house_no = 'H-9'")), 4);
        QCOMPARE(
            test::value(QStringLiteral("SELECT id FROM landowner WHERE land_owner_name = ?"), {QStringLiteral("mqxÑ")}),
            QString());
    }

    void memberWithoutIdentityIsCompletedByTypingOne()
    {
        test::addOwner({.id = QStringLiteral("444444444v"),
            .house_no = QStringLiteral("H-5"),
            .land_owner_name = QStringLiteral("mshd")});
        const QString child = test::addOwner(
            {.id = QString(), .house_no = QStringLiteral("H-5"), .land_owner_name = QStringLiteral("mq;d")});
        frmlandoner *s = openScreen();

        test::ModalAnswers answers;
        answers.with([](QWidget *dialog) {
            auto *chooser = qobject_cast<frmselect *>(dialog);
            QVERIFY(chooser);
            QCOMPARE(chooser->cmdok->text(), QStringLiteral("fjkia lsrsu"));
            chooser->lv->selectRow(1);
            QTest::mouseClick(chooser->cmdok, Qt::LeftButton);
        });
        test::typeInto(s->txtguhano, QStringLiteral("H-5"));
        test::enter(s->txtguhano);
        QCOMPARE(answers.answered(), 1);
        test::backTo(s);
        QVERIFY(s->txtlandname->hasFocus());
        QCOMPARE(s->labno->text(), child);
        QCOMPARE(s->txtlandname->text(), QStringLiteral("mq;d"));
        QCOMPARE(s->txtid->text(), QString());
        QCOMPARE(s->labsakiya->text(), QStringLiteral("l%shdldrs"));
        QVERIFY(!s->cmdok->isEnabled());

        test::typeInto(s->txtid, QStringLiteral("666666666x"));
        leave(s->txtid);
        QVERIFY(!s->cmdok->isEnabled());
        QVERIFY(s->cmdupdata->isEnabled() && s->cmddelete->isEnabled());
        QVERIFY(!s->txtguhano->isEnabled());
        QCOMPARE(s->txtguhano->text(), QStringLiteral("H-5"));
        QCOMPARE(s->txtlandname->text(), QStringLiteral("mq;d"));

        QTest::mouseClick(s->cmdupdata, Qt::LeftButton);
        QCOMPARE(owner(QStringLiteral("id"), child), QStringLiteral("666666666x"));
        QCOMPARE(owner(QStringLiteral("house_no"), child), QStringLiteral("H-5"));
        QCOMPARE(owner(QStringLiteral("land_owner_name"), child), QStringLiteral("mq;d"));
        QCOMPARE(test::count(QStringLiteral("landowner")), 2);
        QCOMPARE(s->labno->text(), QString::number(child.toInt() + 1));
    }

    void newIdentityAfterNewHouseholdStartsNewOwner()
    {
        // The number on screen is the expected next owner, which no row holds yet: the new-owner branch,
        // and the identity number is checked there too.
        test::addOwner({.id = QStringLiteral("444444444v"),
            .house_no = QStringLiteral("H-5"),
            .land_owner_name = QStringLiteral("mshd")});
        frmlandoner *s = openScreen();
        test::typeInto(s->txtguhano, QStringLiteral("H-NEW"));
        test::enter(s->txtguhano);
        QCOMPARE(s->labno->text(), QStringLiteral("2"));
        test::typeInto(s->txtid, QStringLiteral("12345v"));
        leave(s->txtid);
        QCOMPARE(s->labsakiya->text(), QStringLiteral("kj"));
        QVERIFY(s->cmdok->isEnabled());
        QVERIFY(!s->cmdupdata->isEnabled());
        QCOMPARE(s->labcha->text(), QStringLiteral("1"));
        QVERIFY(isRed(s->txtid));
    }

    void updateKeepsThePlaceTheClerkDidNotChange_data()
    {
        QTest::addColumn<bool>("throughChooser");
        QTest::addColumn<QString>("division");
        QTest::addColumn<QString>("village");
        QTest::addColumn<bool>("offered");
        QTest::newRow("chosen member of another division") << true << kDivision2 << kVillage21 << true;
        QTest::newRow("chosen member, division no longer offered")
            << true << QStringLiteral("9 - .,a,") << QStringLiteral("1 - ,S,d") << false;
        QTest::newRow("looked up, division no longer offered")
            << false << QStringLiteral("9 - .,a,") << QStringLiteral("1 - ,S,d") << false;
        QTest::newRow("looked up, village no longer offered")
            << false << kDivision1 << QStringLiteral("7 - lkao") << false;
    }
    void updateKeepsThePlaceTheClerkDidNotChange()
    {
        QFETCH(bool, throughChooser);
        QFETCH(QString, division);
        QFETCH(QString, village);
        QFETCH(bool, offered);
        test::addOwner({.id = QStringLiteral("444444444v"),
            .house_no = QStringLiteral("H-5"),
            .land_owner_name = QStringLiteral("mshd")});
        const QString member = test::addOwner({.id = throughChooser ? QString() : QStringLiteral("555555555x"),
            .house_no = QStringLiteral("H-5"),
            .land_owner_name = QStringLiteral("mq;d"),
            .gamiya = division,
            .gama = village});
        frmlandoner *s = openScreen();
        saveAnyOwner(s);

        if (throughChooser) {
            chooseMember(s, QStringLiteral("H-5"), 1);
            QCOMPARE(s->labno->text(), member);
            test::typeInto(s->txtid, QStringLiteral("666666666x"));
            leave(s->txtid);
        } else {
            test::typeInto(s->txtid, QStringLiteral("555555555x"));
            leave(s->txtid);
            QCOMPARE(s->labno->text(), member);
        }
        // What the clerk sees is the member's own place, as far as the drop-downs still offer it.
        if (offered) {
            QCOMPARE(s->cmbgamiya->currentText(), division);
            QCOMPARE(s->cmbgama->currentText(), village);
        }
        QVERIFY(s->cmdupdata->isEnabled());
        QTest::mouseClick(s->txtad2, Qt::LeftButton);
        s->txtad2->selectAll();
        test::type(s->txtad2, QStringLiteral("kjmdr"));
        QTest::mouseClick(s->cmdupdata, Qt::LeftButton);
        QCOMPARE(owner(QStringLiteral("ad2"), member), QStringLiteral("kjmdr"));
        QCOMPARE(owner(QStringLiteral("gamiya"), member), division);
        QCOMPARE(owner(QStringLiteral("gama"), member), village);
    }

    void chosenPlaceIsStoredByUpdate()
    {
        // A member of the second division moves to the first: the clerk's own pick is what is stored.
        const QString member = test::addOwner({.id = QString(),
            .house_no = QStringLiteral("H-5"),
            .land_owner_name = QStringLiteral("mq;d"),
            .gamiya = kDivision2,
            .gama = kVillage21});
        frmlandoner *s = openScreen();
        chooseMember(s, QStringLiteral("H-5"), 0);
        test::choose(s->cmbgamiya, kDivision1);
        test::choose(s->cmbgama, kVillage12);
        QTest::mouseClick(s->cmdupdata, Qt::LeftButton);
        QCOMPARE(owner(QStringLiteral("gamiya"), member), kDivision1);
        QCOMPARE(owner(QStringLiteral("gama"), member), kVillage12);
    }

    void updateChecksTheIdentityNumber_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("valid");
        QTest::newRow("eight digits and v") << "12345678v" << false;
        QTest::newRow("ten digits") << "1234567890" << false;
        QTest::newRow("nine digits and x") << "123456789x" << true;
    }
    void updateChecksTheIdentityNumber()
    {
        QFETCH(QString, id);
        QFETCH(bool, valid);
        test::addOwner({.id = QStringLiteral("444444444v"),
            .house_no = QStringLiteral("H-5"),
            .land_owner_name = QStringLiteral("mshd")});
        const QString member = test::addOwner(
            {.id = QString(), .house_no = QStringLiteral("H-5"), .land_owner_name = QStringLiteral("mq;d")});
        frmlandoner *s = openScreen();
        chooseMember(s, QStringLiteral("H-5"), 1);
        test::typeInto(s->txtid, id);
        leave(s->txtid);
        QVERIFY(s->cmdupdata->isEnabled());

        test::ModalAnswers answers;
        if (!valid)
            answers.press(QStringLiteral("cmdexit"));
        QTest::mouseClick(s->cmdupdata, Qt::LeftButton);
        QCOMPARE(answers.answered(), valid ? 0 : 1);
        QCOMPARE(answers.text(), valid ? QString() : kWrongId);
        QCOMPARE(owner(QStringLiteral("id"), member), valid ? id : QString());
        if (!valid) {
            test::backTo(s);
            QCOMPARE(s->txtid->text(), id); // nothing is cleared: the clerk corrects the number
        }
    }

    void householdBoxReturnsToFieldColourOnFirstChange_data()
    {
        QTest::addColumn<bool>("refusedSave");
        QTest::newRow("save refused without numbers") << true;
        QTest::newRow("left empty") << false;
    }
    void householdBoxReturnsToFieldColourOnFirstChange()
    {
        QFETCH(bool, refusedSave);
        frmlandoner *s = openScreen();
        if (refusedSave) {
            QTest::mouseClick(s->cmdok, Qt::LeftButton);
        } else {
            QTest::mouseClick(s->txtguhano, Qt::LeftButton);
            leave(s->txtguhano);
        }
        QVERIFY(isRed(s->txtguhano));
        QTest::mouseClick(s->txtguhano, Qt::LeftButton);
        QTest::keyClick(s->txtguhano, Qt::Key_H);
        QCOMPARE(background(s->txtguhano), colours::field);
    }

    void writingButtonsStayWithinThePermission_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<bool>("mayRegister");
        QTest::newRow("view only") << "2 - ne,su muKhs" << false;
        QTest::newRow("entry only") << "3 - we;=,a lsrsu muKs" << true;
    }
    void writingButtonsStayWithinThePermission()
    {
        QFETCH(QString, flag);
        QFETCH(bool, mayRegister);
        test::addOwner({.id = QStringLiteral("111111111v"),
            .house_no = QStringLiteral("H-1"),
            .land_owner_name = QStringLiteral("mshd")});
        test::addOwner({.id = QString(), .house_no = QStringLiteral("H-1"), .land_owner_name = QStringLiteral("mq;d")});
        frmlandoner *s = openScreen(flag);
        // Whether every writing button the level forbids is disabled.
        auto shut = [&] {
            return !s->cmdupdata->isEnabled() && !s->cmddelete->isEnabled() && (mayRegister || !s->cmdok->isEnabled());
        };
        QVERIFY2(shut(), "at load");

        // Every box a clerk can type in.
        for (QLineEdit *box : s->findChildren<QLineEdit *>()) {
            if (!box->isEnabled())
                continue;
            test::typeInto(box, QStringLiteral("1"));
            QVERIFY2(shut(), qPrintable(box->objectName()));
        }
        QTest::mouseClick(s->cmdnew, Qt::LeftButton);

        // The numbers as another screen or a look-up sets them, and the look-ups they start.
        s->txtguhano->setText(QStringLiteral("H-9"));
        QVERIFY2(shut(), "household number set");
        s->txtguhano_LostFocus();
        QVERIFY2(shut(), "new household");
        s->txtguhano->clear();
        s->txtid->setText(QStringLiteral("111111111v"));
        s->txtid_LostFocus();
        QCOMPARE(s->txtguhano->text(), QStringLiteral("H-1"));
        QVERIFY2(shut(), "identity found");
        s->txtid->setText(QStringLiteral("222222222v"));
        s->txtid_LostFocus();
        QVERIFY2(shut(), "identity not registered");

        // The chooser: a member taken (and completed with an identity number), and a new member started.
        using Pick = QPushButton *frmselect::*;
        for (const Pick pick : {Pick(&frmselect::cmdok), Pick(&frmselect::cmdnew)}) {
            test::ModalAnswers answers;
            answers.with([pick](QWidget *dialog) {
                auto *chooser = qobject_cast<frmselect *>(dialog);
                QVERIFY(chooser);
                chooser->lv->selectRow(1);
                QTest::mouseClick(chooser->*pick, Qt::LeftButton);
            });
            s->txtid->clear();
            s->txtguhano->setText(QStringLiteral("H-1"));
            s->txtguhano_LostFocus();
            QCOMPARE(answers.answered(), 1);
            test::backTo(s);
            if (pick == &frmselect::cmdnew) {
                QVERIFY2(shut(), "new member");
                continue;
            }
            QVERIFY2(shut(), "member chosen");
            s->txtid->setText(QStringLiteral("333333333v"));
            s->txtid_LostFocus();
            QVERIFY2(shut(), "member completed");
        }
        QTest::mouseClick(s->cmdnew, Qt::LeftButton);
        QVERIFY2(shut(), "new owner");
        QCOMPARE(s->cmdok->isEnabled(), mayRegister);
    }

    void deactivationRefusedWhileOwnerHoldsActiveLand()
    {
        const QString holder = test::addOwner({.id = QStringLiteral("777777777v"),
            .house_no = QStringLiteral("H-3"),
            .land_owner_name = QStringLiteral("mshd")});
        test::addLand(
            {.guhasth = QStringLiteral("H-3"), .labn_owner_srno = holder, .balapa_no = QStringLiteral("301")});
        frmlandoner *s = openScreen();
        auto lookUp = [s, holder] {
            test::typeInto(s->txtid, QStringLiteral("777777777v"));
            test::enter(s->txtid);
            QCOMPARE(s->labno->text(), holder);
        };

        lookUp();
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        QTest::mouseClick(s->cmddelete, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.text(), kHoldsLand);
        test::backTo(s);
        QCOMPARE(owner(QStringLiteral("chak"), holder), QStringLiteral("1"));
        QCOMPARE(s->txtlandname->text(), QStringLiteral("mshd"));

        // Once the land is no longer active the owner can be deactivated.
        test::exec(QStringLiteral("UPDATE land SET chack = '0'"));
        QTest::mouseClick(s->cmdnew, Qt::LeftButton);
        lookUp();
        QTest::mouseClick(s->cmddelete, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(owner(QStringLiteral("chak"), holder), QStringLiteral("0"));
        QCOMPARE(test::count(QStringLiteral("landowner")), 1);
        QVERIFY(s->txtid->text().isEmpty() && s->txtlandname->text().isEmpty());
        QCOMPARE(s->labno->text(), QString::number(holder.toInt() + 1));
    }

    void updateReactivatesOwner()
    {
        const QString former = test::addOwner({.id = QStringLiteral("888888888v"),
            .house_no = QStringLiteral("H-4"),
            .land_owner_name = QStringLiteral("mshd"),
            .chak = QStringLiteral("0"),
            .gama = kVillage12});
        frmlandoner *s = openScreen();
        test::typeInto(s->txtid, QStringLiteral("888888888v"));
        leave(s->txtid);
        QCOMPARE(s->labsakiya->text(), QStringLiteral("wl%shdldrs"));
        QTest::mouseClick(s->txtad2, Qt::LeftButton);
        s->txtad2->selectAll();
        test::type(s->txtad2, QStringLiteral("kjmdr"));
        test::choose(s->cmbgama, kVillage11);
        QTest::mouseClick(s->cmdupdata, Qt::LeftButton);
        QCOMPARE(owner(QStringLiteral("chak"), former), QStringLiteral("1"));
        QCOMPARE(owner(QStringLiteral("ad2"), former), QStringLiteral("kjmdr"));
        QCOMPARE(owner(QStringLiteral("ad1"), former), QStringLiteral("ad1"));
        QCOMPARE(owner(QStringLiteral("gamiya"), former), kDivision1);
        QCOMPARE(owner(QStringLiteral("gama"), former), kVillage11);
        QCOMPARE(test::count(QStringLiteral("landowner")), 1);
    }

    // Another workstation updates the owner after this screen loaded it: this clerk's update writes
    // nothing over it; the clerk is told and sees the owner as stored now, and may then store again.
    void anOwnerChangedElsewhereIsNotWrittenOver()
    {
        const QString srno = test::addOwner({.id = QStringLiteral("888888888v"), .house_no = QStringLiteral("H-4")});
        frmlandoner *s = openScreen();
        test::typeInto(s->txtid, QStringLiteral("888888888v"));
        leave(s->txtid);
        QTest::mouseClick(s->txtad2, Qt::LeftButton);
        s->txtad2->selectAll();
        test::type(s->txtad2, QStringLiteral("kjmdr"));
        QString otherError;
        {
            std::jthread other = test::otherWorkstation(otherError, [&](DbSession &session) {
                session.execute(
                    QStringLiteral("UPDATE landowner SET ad1 = 'fjk', job = 'isjd' WHERE srno = ?"), {srno.toInt()});
            });
        }
        QCOMPARE(otherError, QString());
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        QTest::mouseClick(s->cmdupdata, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.text(),
            QStringLiteral("fuu f;dr;=re fjk;a mß.Klhlska fjkia lr we;' oekg we;s wdldrhg fmkajd we;'"));
        QCOMPARE(owner(QStringLiteral("ad1"), srno) + owner(QStringLiteral("ad2"), srno)
                + owner(QStringLiteral("job"), srno),
            QStringLiteral("fjkad2isjd"));
        QCOMPARE(s->txtad1->text(), QStringLiteral("fjk"));
        QCOMPARE(s->txtad2->text(), QStringLiteral("ad2"));
        QCOMPARE(s->txtjop->text(), QStringLiteral("isjd"));

        QTest::mouseClick(s->txtad2, Qt::LeftButton);
        s->txtad2->selectAll();
        test::type(s->txtad2, QStringLiteral("kjmdr"));
        QTest::mouseClick(s->cmdupdata, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(owner(QStringLiteral("ad1"), srno) + owner(QStringLiteral("ad2"), srno), QStringLiteral("fjkkjmdr"));
    }

    void placeMessages_data()
    {
        QTest::addColumn<bool>("division");
        QTest::addColumn<QString>("text");
        QTest::newRow("no division") << false << ".%du ks,Odrs jiu f;drkak";
        QTest::newRow("division, no village") << true << ".%du ks,Odrs jiu wod, .u f;drkak";
    }
    void placeMessages()
    {
        QFETCH(bool, division);
        QFETCH(QString, text);
        frmlandoner *s = openScreen();
        test::typeInto(s->txtid, QStringLiteral("123456789v"));
        test::typeInto(s->txtlandname, QStringLiteral("ir;a"));
        if (division)
            test::choose(s->cmbgamiya, kDivision2);
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.name(), QStringLiteral("frmmessage"));
        QCOMPARE(answers.text(), text);
        QCOMPARE(test::count(QStringLiteral("landowner")), 0);
        QCOMPARE(s->txtlandname->text(), QStringLiteral("ir;a"));
    }

    void emptyNumbersAndNameTurnRed()
    {
        frmlandoner *s = openScreen();
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QVERIFY(isRed(s->txtid) && isRed(s->txtguhano));
        test::typeInto(s->txtguhano, QStringLiteral("H-1"));
        test::enter(s->txtguhano);
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QVERIFY(isRed(s->txtlandname));
        test::type(s->txtlandname, QStringLiteral("x"));
        QVERIFY(!isRed(s->txtlandname));
        QCOMPARE(test::count(QStringLiteral("landowner")), 0);
    }

    void nameWithQuotesIsStoredUnchanged()
    {
        const QString name = QStringLiteral("O'Neil \"ir;a\" fmf¾rd'");
        frmlandoner *s = openScreen();
        test::typeInto(s->txtid, QStringLiteral("135792468v"));
        test::typeInto(s->txtlandname, name);
        test::typeInto(s->txtad1, QStringLiteral("12' mdr"));
        test::choose(s->cmbgamiya, kDivision1);
        test::choose(s->cmbgama, kVillage11);
        QTest::mouseClick(s->cmdok, Qt::LeftButton);
        QCOMPARE(test::value(QStringLiteral("SELECT land_owner_name FROM landowner WHERE id = '135792468v'")), name);

        test::typeInto(s->txtid, QStringLiteral("135792468v"));
        leave(s->txtid);
        QCOMPARE(s->txtlandname->text(), name);
        QCOMPARE(s->txtad1->text(), QStringLiteral("12' mdr"));
        // The division stayed chosen after the save; its villages are offered again for this owner.
        QCOMPARE(s->cmbgamiya->currentText(), kDivision1);
        QCOMPARE(s->cmbgama->currentText(), kVillage11);
    }

    void chooserHandsBackToLandRegister()
    {
        LandRegisterStandIn opener;
        frmselect chooser(&opener);
        chooser.cmdok->setText(QStringLiteral("f;drkak"));
        chooser.cmdnew->setEnabled(false);
        chooser.lv->addItems({{QStringLiteral("4"), QStringLiteral("111111111v"), QStringLiteral("mshd")},
            {QStringLiteral("9"), QStringLiteral("222222222x"), QStringLiteral("iqks,a")}});
        test::showScreen(&chooser);
        QCOMPARE(chooser.lv->columnWidth(1), 0);
        chooser.lv->selectRow(1);
        QTest::mouseClick(chooser.cmdok, Qt::LeftButton);
        QCOMPARE(opener.txtid->text(), QStringLiteral("222222222x"));
        QCOMPARE(opener.labsrno_customr->text(), QStringLiteral("9"));
        QCOMPARE(opener.labname->text(), QStringLiteral("iqks,a"));
        QCOMPARE(opener.listed, 1);
        QVERIFY(!chooser.isVisible());
    }

    void permissionModes_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("numbersTypable");
        QTest::addColumn<bool>("mayChange");
        QTest::newRow("view only") << "2 - ne,su muKhs"
                                   << "1" << false << false;
        QTest::newRow("entry only") << "3 - we;=,a lsrsu muKs"
                                    << "2" << true << false;
        QTest::newRow("all") << "4 - ish¨ wjir"
                             << "" << true << true;
    }
    void permissionModes()
    {
        QFETCH(QString, flag);
        QFETCH(QString, mode);
        QFETCH(bool, numbersTypable);
        QFETCH(bool, mayChange);
        test::addOwner({.id = QStringLiteral("111111111v"),
            .house_no = QStringLiteral("H-1"),
            .land_owner_name = QStringLiteral("mshd")});
        frmlandoner *s = openScreen(flag);
        QCOMPARE(s->labcu->text(), mode);
        QCOMPARE(s->txtid->isEnabled(), numbersTypable);
        QCOMPARE(s->txtguhano->isEnabled(), numbersTypable);
        if (!numbersTypable)
            return;
        test::typeInto(s->txtid, QStringLiteral("111111111v"));
        leave(s->txtid);
        QCOMPARE(s->txtlandname->text(), QStringLiteral("mshd"));
        QCOMPARE(s->cmdupdata->isEnabled(), mayChange);
        QCOMPARE(s->cmddelete->isEnabled(), mayChange);
    }

    void enterInIdentityBox()
    {
        frmlandoner *s = openScreen();
        QTest::mouseClick(s->txtid, Qt::LeftButton);
        test::enter(s->txtid);
        QVERIFY(s->cmdexit->hasFocus());
        QVERIFY(isRed(s->txtid));
        test::typeInto(s->txtid, QStringLiteral("1"));
        test::enter(s->txtid);
        QVERIFY(s->txtguhano->hasFocus());
        QCOMPARE(s->txtid->text(), QStringLiteral("1"));
    }

    void screenLiesOverTheMainMenuFrameIncluded()
    {
        // Overlaps, cut captions and controls leaving the window are checked for every screen at office
        // sizes (tests/ui/tst_layout); here: where the screen stands and the order of its buttons.
        frmlandoner *s = openScreen();
        QRect expected = m_home->geometry();
        expected.setHeight(expected.height() - twips(600));
        QCOMPARE(s->frameGeometry(), expected);
        using namespace tw;
        QVERIFY(left(s->cmddelete) < left(s->cmdupdata));
        QVERIFY(left(s->cmdupdata) < left(s->cmdok));
        QVERIFY(left(s->cmdok) < left(s->cmdexit));
        QCOMPARE(top(s->cmddelete), top(s->cmdexit));
        QVERIFY(bottom(s->lvdetels) < top(s->cmdexit));
        QVERIFY(!s->cmdselect->isVisible());
    }
};

QTEST_MAIN(tst_landowner)
#include "tst_landowner.moc"
