// The land register's save of a new land: every box stored and the form made ready for the next land,
// what the save refuses, a portion of another land handed to the transfer, and odd text stored and read
// back unchanged.

#include "landsavetest.h"
#include "support/modal.h"
#include "ui/screen.h"
#include "ui/screenregistry.h"

#include <QDialog>
#include <QPushButton>
#include <QRadioButton>

using namespace parcelon;

namespace {
const QString kPortion = QStringLiteral("1- Tõ");
const QString kNotPortion = QStringLiteral("2- ke;");

const QString kNoVillage = QStringLiteral(".%du ks,Odrs jiu wod, .u f;drkak");
const QString kReducePortion = QStringLiteral("fuu bvu fjk;a bvul fldgila neúka uq,a bvfñ m%udKh wvq lrkak");

bool isRed(const QWidget *w) { return background(w) == colours::attention; }

// Every Latin-1 character above the ASCII range a PARAS-N text may hold.
QString latin1Upper()
{
    QString text;
    for (int c = 0xA0; c <= 0xFF; ++c)
        text.append(QChar(c));
    return text;
}
} // namespace

class tst_land_save_store : public test::LandSaveTest
{
    Q_OBJECT

    // Picks an entry from the list of an editable combo box (a click there goes into its text).
    static void pick(QComboBox *combo, const QString &entry)
    {
        QVERIFY(combo->findText(entry) >= 0);
        combo->setCurrentIndex(combo->findText(entry));
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init() { startTest(); }
    void cleanup() { endTest(); }

    void savesTheLandAndResetsTheForm()
    {
        const QString owner = test::addOwner();
        frmland *s = openScreen();
        QCOMPARE(s->labno->text(), QStringLiteral("1"));
        test::typeInto(s->txtid, QStringLiteral("111111111v"));
        test::enter(s->txtid);
        QCOMPARE(s->labsrno_customr->text(), owner);
        test::choose(s->cmblandno, kAnnualPermit);
        test::typeInto(s->txtlandno, QStringLiteral("A/12"));
        test::enter(s->txtlandno);
        QVERIFY(s->txtadd->hasFocus());
        test::type(s->txtadd, QStringLiteral("uy mdr"));
        test::choose(s->cmbland_sabawaya, QStringLiteral("2- uv"));
        test::typeInto(s->txtkatti, QStringLiteral("7"));
        test::choose(s->cmbakkara, kAcres);
        test::typeInto(s->txtakkara, QStringLiteral("2"));
        test::typeInto(s->txtrud, QStringLiteral("1"));
        test::enter(s->txtrud);
        QVERIFY(s->txtparchase->hasFocus());
        test::type(s->txtparchase, QStringLiteral("20"));
        test::enter(s->txtparchase);
        QVERIFY(s->cmbaythiy_sbawaya->hasFocus());
        pick(s->cmbothland, kNotPortion);
        // The date box keeps its separators: the clerk types the digits from its start.
        QTest::mouseClick(s->mkbalapath_date, Qt::LeftButton);
        QTest::keyClick(s->mkbalapath_date, Qt::Key_Home);
        test::type(s->mkbalapath_date, QStringLiteral("14032026"));
        QCOMPARE(s->mkbalapath_date->text(), QStringLiteral("14$03$2026"));
        s->txtwawa->setText(QStringLiteral("uy jej"));
        s->txtkottasaya->setText(QStringLiteral("1 - ") + test::kDivision);
        s->cmbgama->setEditText(kVillage);
        s->txtpasuaythiya->setText(QStringLiteral("mq;d"));
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);

        QCOMPARE(test::count(QStringLiteral("land")), 1);
        const QString permit = QStringLiteral("A/12");
        const std::pair<const char *, QString> expected[]
            = {{"id", QStringLiteral("111111111v")}, {"guhasth", QStringLiteral("H-1")}, {"labn_owner_srno", owner},
                {"balapa_no1", kAnnualPermit}, {"addre", QStringLiteral("uy mdr")},
                {"loan_sbawaya", QStringLiteral("2- uv")}, {"katti", QStringLiteral("7")}, {"akkara1", kAcres},
                {"akkara", QStringLiteral("2")}, {"rut", QStringLiteral("1")}, {"parchase", QStringLiteral("20")},
                {"aythiye_sbawaya", kAnnualOwnership}, {"wewe_name", QStringLiteral("uy jej")},
                {"othe_land", kNotPortion}, {"pewarima", QStringLiteral("il%sh")}, {"chack1", QStringLiteral("0")},
                {"chack", QStringLiteral("1")}, {"land_data", QStringLiteral("2026/03/14")},
                {"akkara_only", QStringLiteral("2.375")}, {"kottashaya", QStringLiteral("1 - ") + test::kDivision},
                {"gama", kVillage}, {"p_name", QStringLiteral("mq;d")}, {"p_naya", QStringLiteral(" ")},
                {"username", QStringLiteral("Nimal")}, {"date", test::kStampDate}, {"time", test::kStampTime}};
        for (const auto &[column, value] : expected)
            QCOMPARE(land(QString::fromLatin1(column), permit), value);

        // Ready for the next land of the same owner.
        QCOMPARE(s->labno->text(), QStringLiteral("2"));
        for (QLineEdit *box : {s->txtlandno, s->txtadd, s->txtkatti, s->txtakkara, s->txtrud, s->txtparchase,
                 s->txtwawa, s->txtid, s->txtguhano, s->txtpasuaythiya, s->txtkottasaya, s->txtakkara_only})
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        QCOMPARE(s->labname->text(), QString());
        QCOMPARE(s->cmblandno->currentText(), kTaxPermit);
        QCOMPARE(s->cmbland_sabawaya->currentText(), QStringLiteral("1- fkdoks"));
        QCOMPARE(s->cmbaythiy_sbawaya->currentText(), kGrantOwnership);
        QCOMPARE(s->cmbakkara->currentText(), kHectares);
        QCOMPARE(s->cmbothland->currentText(), kNotPortion);
        QCOMPARE(s->cmbgama->count(), 0);
        QCOMPARE(s->labsrno_customr->text(), owner);
        QVERIFY(s->txtlandno->hasFocus());

        // A further save without choosing an owner stores the held owner number again; an empty date box
        // stores nothing.
        s->mkbalapath_date->clear();
        fillLand(s, QStringLiteral("A/13"));
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(land(QStringLiteral("labn_owner_srno"), QStringLiteral("A/13")), owner);
        QCOMPARE(land(QStringLiteral("land_data"), QStringLiteral("A/13")), QString());
        QCOMPARE(land(QStringLiteral("akkara_only"), QStringLiteral("A/13")), QStringLiteral("2.4752"));
    }

    void saveRefusesWhatIsMissing()
    {
        frmland *s = openScreen();
        // No permit number: nothing at all.
        test::typeInto(s->txtakkara, QStringLiteral("1"));
        s->cmbgama->setEditText(kVillage);
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(test::count(QStringLiteral("land")), 0);

        // No decimal acres: the box turns red until something is typed into it.
        test::typeInto(s->txtlandno, QStringLiteral("301"));
        s->txtakkara_only->clear();
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(test::count(QStringLiteral("land")), 0);
        QVERIFY(isRed(s->txtakkara_only));
        test::typeInto(s->txtakkara_only, QStringLiteral("4"));
        QVERIFY(!isRed(s->txtakkara_only));

        // No village.
        s->cmbgama->clear();
        s->cmbgama->setEditText(QString());
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.text(), kNoVillage);
        QCOMPARE(test::count(QStringLiteral("land")), 0);
        QCOMPARE(s->txtlandno->text(), QStringLiteral("301"));
    }

    void aPortionIsSavedAndHandedToTheTransfer()
    {
        frmland *s = openScreen();
        fillLand(s, QStringLiteral("601"));
        pick(s->cmbothland, kPortion);
        // The notice, then the transfer screen in transfer mode with the new land as its second land.
        QString second;
        bool transferMode = false;
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit")).with([&](QWidget *transfer) {
            second = transfer->findChild<QLineEdit *>(QStringLiteral("txtlandno"))->text();
            transferMode = transfer->findChild<QRadioButton *>(QStringLiteral("optland_pewarima"))->isChecked();
            transfer->findChild<QPushButton *>(QStringLiteral("cmdexit"))->click();
        });
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(answers.answered(), 2);
        QCOMPARE(answers.text(), kReducePortion);
        QCOMPARE(answers.name(1), QStringLiteral("frmland_pewarima"));
        QCOMPARE(second, QStringLiteral("601"));
        QVERIFY(transferMode);
        QCOMPARE(land(QStringLiteral("othe_land"), QStringLiteral("601")), kPortion);
        QCOMPARE(s->txtlandno->text(), QString());
        QCOMPARE(s->cmbothland->currentText(), kNotPortion);
        QCOMPARE(s->labno->text(), QStringLiteral("2"));
    }

    void aPortionOpensTheTransferInTransferMode()
    {
        // A stand-in for the transfer screen: its transfer option and its second land's box.
        QString shownNumber;
        bool transferMode = false;
        Screens::add(ScreenId::frmland_pewarima, [](QWidget *opener) {
            auto screen = std::make_unique<QDialog>(opener);
            screen->setObjectName(QStringLiteral("frmland_pewarima"));
            (new QRadioButton(screen.get()))->setObjectName(QStringLiteral("optland_pewarima"));
            (new QRadioButton(screen.get()))->setObjectName(QStringLiteral("optland_bedima"));
            (new QLineEdit(screen.get()))->setObjectName(QStringLiteral("txtlandno"));
            return screen;
        });
        frmland *s = openScreen();
        fillLand(s, QStringLiteral("602"));
        pick(s->cmbothland, kPortion);
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit")).with([&](QWidget *dialog) {
            shownNumber = dialog->findChild<QLineEdit *>(QStringLiteral("txtlandno"))->text();
            transferMode = dialog->findChild<QRadioButton *>(QStringLiteral("optland_pewarima"))->isChecked();
            static_cast<QDialog *>(dialog)->reject();
        });
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(answers.answered(), 2);
        QCOMPARE(answers.name(1), QStringLiteral("frmland_pewarima"));
        QCOMPARE(shownNumber, QStringLiteral("602"));
        QVERIFY(transferMode);
        QCOMPARE(test::count(QStringLiteral("land"), QStringLiteral("balapa_no = '602'")), 1);
    }

    void oddTextIsStoredAndReadBackUnchanged_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes") << QStringLiteral("O'Brien \"x\" ''");
        QTest::newRow("pattern characters") << QStringLiteral("50% _a_ \\ \\\\ [x] *");
        QTest::newRow("every upper Latin-1 character") << latin1Upper();
        QTest::newRow("10,000 characters") << QString(10000, QLatin1Char('a')) + QStringLiteral("b");
    }
    void oddTextIsStoredAndReadBackUnchanged()
    {
        QFETCH(QString, text);
        const QString stored = text.left(255);
        frmland *s = openScreen();
        // Every box the clerk types into, with its column; the decimal acres last, as the clerk may type
        // over them once the extent is in.
        const std::pair<const char *, QLineEdit *> columns[] = {{"balapa_no", s->txtlandno}, {"guhasth", s->txtguhano},
            {"addre", s->txtadd}, {"katti", s->txtkatti}, {"akkara", s->txtakkara}, {"rut", s->txtrud},
            {"parchase", s->txtparchase}, {"wewe_name", s->txtwawa}, {"p_name", s->txtpasuaythiya},
            {"kottashaya", s->txtkottasaya}, {"othe_land", s->cmbothland->lineEdit()}, {"gama", s->cmbgama->lineEdit()},
            {"akkara_only", s->txtakkara_only}};
        // Pasted into every box: each holds what its column holds.
        for (const auto &[column, box] : columns) {
            box->setText(text);
            QCOMPARE(box->text(), stored);
        }
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(test::count(QStringLiteral("land")), 1);
        for (const auto &[column, box] : columns)
            QCOMPARE(
                test::value(QStringLiteral("SELECT ") + QString::fromLatin1(column) + QStringLiteral(" FROM land")),
                stored);

        // Loaded again in change mode, every box shows it as stored; the household number comes from the
        // owner's row and the decimal acres are computed again.
        QTest::mouseClick(s->cmdedit, Qt::LeftButton);
        test::typeInto(s->labno, QStringLiteral("1"));
        leave(s->labno);
        for (const auto &[column, box] : columns) {
            if (box != s->txtguhano && box != s->txtakkara_only)
                QCOMPARE(box->text(), stored);
        }
    }
};

QTEST_MAIN(tst_land_save_store)
#include "tst_land_save_store.moc"
