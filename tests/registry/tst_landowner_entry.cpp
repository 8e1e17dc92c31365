// The land owner register as a clerk enters an owner: a new owner registered and stamped with the
// session, the identity number's keys and check, the look-up by identity with the household's lands, the
// messages and red boxes for what is missing, a name with quotes stored unchanged, and where the screen
// stands.

#include "landownertest.h"
#include "support/modal.h"
#include "ui/kit.h"
#include "ui/listview.h"
#include "ui/twipsgeometry.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace parcelon;

class tst_landowner_entry : public test::LandOwnerTest
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init() { startTest(); }
    void cleanup() { endTest(); }

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

QTEST_MAIN(tst_landowner_entry)
#include "tst_landowner_entry.moc"
