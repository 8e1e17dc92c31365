// The land owner register's changes to an owner: an update keeping the place the clerk did not change or
// storing the one chosen, its identity number check, the writing buttons each permission level allows,
// deactivation refused while the owner holds an active land, reactivation, and an owner another
// workstation changed meanwhile.

#include "landownertest.h"
#include "registry/frmselect.h"
#include "support/modal.h"
#include "support/workstation.h"
#include "ui/listview.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace parcelon;

namespace {
const QString kHoldsLand
    = QStringLiteral("fuu bvñ ysñhd hgf;a il%sh bvñ we; tajd wfydais jk f;la bvñ ysñhd wfydais l< fkdyel");
} // namespace

class tst_landowner_update : public test::LandOwnerTest
{
    Q_OBJECT

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

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init() { startTest(); }
    void cleanup() { endTest(); }

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
};

QTEST_MAIN(tst_landowner_update)
#include "tst_landowner_update.moc"
