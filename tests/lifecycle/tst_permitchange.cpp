// The permit change as a clerk meets it: a land loaded by its old number (typed, handed in by the land
// register, or chosen in the land search), the new number refused when another land has it, and the
// store that keeps the land as it stood in its history, moves its boundaries and renumbers it, all or
// nothing, also against a second workstation.

#include "base/dbsession.h"
#include "lifecycle/frmland_change.h"
#include "lifecycle/frmland_search.h"
#include "registry/frmland.h"
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
#include "ui/screenregistry.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QWindow>

#include <memory>

using namespace parcelon;
using namespace std::chrono_literals;

namespace {
const QString kAll = QStringLiteral("4 - ish¨ wjir");
const QString kViewOnly = QStringLiteral("2 - ne,su muKhs");
const QString kTitle = QStringLiteral("fkd;drsia Tmamq wxlh");
const QString kDeed = QStringLiteral("wjirm;% wxlh");
const QString kGrant = QStringLiteral("osukdm;% wxlh");
const QString kNumberTaken = QStringLiteral("fuu bvñ wxlh óg fmr we;=<;a lr we;");
const QString kNoSuchLand = QStringLiteral("we;=,;a l< bvï wxlh jerÈh");

// The land columns its history row keeps, in the history's own names where they differ.
const QString kLandAsHistory
    = QStringLiteral("CAST(srno AS VARCHAR(20)), id, guhasth, labn_owner_srno, balapa_no1, balapa_no, addre, "
                     "loan_sbawaya, katti, akkara1, akkara, rut, parchase, aythiye_sbawaya, akkara_only, wewe_name, "
                     "othe_land, chack1, pewarima, chack, land_data, kottashaya, gama, p_name, p_naya");
const QString kHistory
    = QStringLiteral("land_srno, id, guhasth, labn_owner_srno, balapa_no1, balapa_no, addre, loan_sbawaya, kattti, "
                     "akkara1, akkara, rut, parchase, aythiye_sbawaya, akkara_only, wewe_name, othe_land, chack1, "
                     "pewarima, chack, land_data, kottashaya, gama, p_name, p_naya");

QStringList rows(const QString &sql, const QVariantList &params = {})
{
    QStringList lines;
    Query q = db().select(sql, params);
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < q.columnCount(); ++i)
            cells << q.value(i);
        lines << cells.join(QLatin1Char('|'));
    }
    return lines;
}

QStringList landRow(const QString &srno)
{
    return rows(QStringLiteral("SELECT %1 FROM land WHERE srno = ?").arg(kLandAsHistory), {srno.toInt()});
}

QStringList boundaries() { return rows(QStringLiteral("SELECT srno, landno, uthuru FROM hathara_maym ORDER BY srno")); }

void addBoundary(const QString &landno, const QString &north)
{
    test::exec(QStringLiteral("INSERT INTO hathara_maym (landsrno, landno1, landno, dakuna, uthuru, batahira, "
                              "naganahira) VALUES ('', '', ?, 'ol=K', ?, 'ngysr', 'kef.kysr')"),
        {landno, north});
}

// An opener that is the land register as far as this screen knows: it counts its cmdcha.
class LandRegisterStandIn final : public QDialog
{
public:
    LandRegisterStandIn()
    {
        setObjectName(QStringLiteral("frmland"));
        auto *cmdcha = new QPushButton(this);
        cmdcha->setObjectName(QStringLiteral("cmdcha"));
        connect(cmdcha, &QPushButton::clicked, this, [this] { ++restored; });
        resize(400, 300);
    }
    int restored = 0;
};
// The register refuses every change of a land row from now on, as a fault inside a store.
void refuseLandUpdates()
{
    const bool postgres = test::backend() == test::Backend::PostgreSQL;
    const QStringList statements = postgres
        ? QStringList {QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION "
                                      "'refused'; END $$ LANGUAGE plpgsql"),
            QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON land FOR EACH ROW EXECUTE FUNCTION refuse()")}
        : QStringList {QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON land BEGIN SELECT RAISE(ABORT, "
                                      "'refused'); END")};
    for (const QString &sql : statements) {
        QSqlQuery query(db().database());
        QVERIFY2(query.exec(sql), qPrintable(sql));
    }
}
} // namespace

class tst_permitchange : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    frmhome *m_home = nullptr;
    std::unique_ptr<frmland_change> m_screen;
    std::unique_ptr<frmland> m_land;
    QString m_owner, m_land125, m_other;

    frmland_change *openScreen(QWidget *opener = nullptr)
    {
        m_screen = std::make_unique<frmland_change>(opener ? opener : m_home);
        test::showScreen(m_screen.get());
        return m_screen.get();
    }

    // Loads a land by its old number and types the new one, leaving each box as a clerk does.
    static void typeChange(
        frmland_change *s, const QString &oldNumber, const QString &newNumber, const QString &newKind = kDeed)
    {
        test::typeInto(s->txtlandno1, oldNumber);
        test::typeInto(s->txtlandno, newNumber);
        test::choose(s->cmblandno1, newKind);
    }

    static QStringList valueTexts(const frmland_change *s)
    {
        QStringList texts;
        for (const QLabel *l : {s->labno, s->labid, s->labname, s->labguhano, s->labland_sabawaya,
                 s->labaythiye_sabawaya, s->labuthura, s->labdakuna, s->labbatahira, s->labnaganahira})
            texts << l->text();
        return texts;
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        m_home = m_base.home(test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), {kAll}));
        m_owner = test::addOwner({.id = QStringLiteral("123456789v"),
            .house_no = QStringLiteral("H-7"),
            .land_owner_name = QStringLiteral("iqks,a")});
        m_land125 = test::addLand({.id = QStringLiteral("123456789v"),
            .guhasth = QStringLiteral("H-7"),
            .labn_owner_srno = m_owner,
            .balapa_no1 = kTitle,
            .balapa_no = QStringLiteral("125"),
            .addre = QStringLiteral("uy mdr"),
            .loan_sbawaya = QStringLiteral("2- uv"),
            .katti = QStringLiteral("3"),
            .akkara1 = QStringLiteral("2 - wlalr"),
            .akkara = QStringLiteral("1"),
            .rut = QStringLiteral("2"),
            .parchase = QStringLiteral("10"),
            .aythiye_sbawaya = QStringLiteral("1- Èukd m;%"),
            .wewe_name = QStringLiteral("jej"),
            .othe_land = QStringLiteral("2- ke;"),
            .pewarima = QStringLiteral("il%sh"),
            .chack1 = QStringLiteral("0"),
            .land_data = QStringLiteral("2019/05/14"),
            .akkara_only = QStringLiteral("1.5625"),
            .kottashaya = QStringLiteral("5"),
            .gama = QStringLiteral("1 - wdrjk"),
            .p_name = QStringLiteral("mshd"),
            .p_naya = QStringLiteral("1- mq;d")});
        m_other = test::addLand({.labn_owner_srno = m_owner, .balapa_no = QStringLiteral("500")});
        addBoundary(QStringLiteral("500"), QStringLiteral("other"));
    }

    void cleanup()
    {
        m_screen.reset();
        m_land.reset();
        m_base.cleanup();
    }

    void changeKeepsTheLandInItsHistory_data()
    {
        QTest::addColumn<bool>("withBoundary");
        QTest::newRow("with a boundary row") << true;
        QTest::newRow("without a boundary row") << false;
    }
    void changeKeepsTheLandInItsHistory()
    {
        QFETCH(bool, withBoundary);
        if (withBoundary)
            addBoundary(QStringLiteral("125"), QStringLiteral("W;=r"));
        const QStringList before = landRow(m_land125);
        const QStringList boundariesBefore = boundaries();
        frmland_change *s = openScreen();
        typeChange(s, QStringLiteral("125"), QStringLiteral("300"));
        QCOMPARE(valueTexts(s),
            QStringList({m_land125, QStringLiteral(" 123456789v"), QStringLiteral(" iqks,a"), QStringLiteral(" H-7"),
                QStringLiteral(" 2- uv"), QStringLiteral(" 1- Èukd m;%"),
                withBoundary ? QStringLiteral(" W;=r") : QString(), withBoundary ? QStringLiteral(" ol=K") : QString(),
                withBoundary ? QStringLiteral(" ngysr") : QString(),
                withBoundary ? QStringLiteral(" kef.kysr") : QString()}));
        QCOMPARE(s->cmblandno->currentText(), kTitle);

        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(rows(QStringLiteral("SELECT %1 FROM land_pera").arg(kHistory)), before);
        QCOMPARE(rows(QStringLiteral("SELECT balapa_no, balapa_no1 FROM land WHERE srno = ?"), {m_land125.toInt()}),
            QStringList({QStringLiteral("300|") + kDeed}));
        QStringList expected = boundariesBefore;
        if (withBoundary)
            expected.last().replace(QStringLiteral("|125|"), QStringLiteral("|300|"));
        QCOMPARE(boundaries(), expected);
        // The screen is ready for the next land.
        QCOMPARE(s->txtlandno1->text(), QString());
        QCOMPARE(s->txtlandno->text(), QString());
        QCOMPARE(valueTexts(s), QStringList(10, QString()));
    }

    void twoChangesLeaveTwoHistoryRows()
    {
        frmland_change *s = openScreen();
        typeChange(s, QStringLiteral("125"), QStringLiteral("300"));
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        typeChange(s, QStringLiteral("300"), QStringLiteral("400"), kGrant);
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(rows(QStringLiteral("SELECT land_srno, balapa_no1, balapa_no FROM land_pera ORDER BY srno")),
            QStringList({m_land125 + QStringLiteral("|") + kTitle + QStringLiteral("|125"),
                m_land125 + QStringLiteral("|") + kDeed + QStringLiteral("|300")}));
        QCOMPARE(rows(QStringLiteral("SELECT balapa_no, balapa_no1 FROM land WHERE srno = ?"), {m_land125.toInt()}),
            QStringList({QStringLiteral("400|") + kGrant}));
    }

    // A retired land that kept the same permit number is another land: it keeps its number, also when
    // it was registered before the active one.
    void aRetiredLandWithTheOldNumberKeepsIt()
    {
        test::exec(QStringLiteral("UPDATE land SET chack = '0' WHERE srno = ?"), {m_land125.toInt()});
        const QString active = test::addLand({.balapa_no1 = kGrant, .balapa_no = QStringLiteral("125")});
        frmland_change *s = openScreen();
        typeChange(s, QStringLiteral("125"), QStringLiteral("300"));
        QCOMPARE(s->labno->text(), active);
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(rows(QStringLiteral("SELECT land_srno FROM land_pera")), QStringList({active}));
        QCOMPARE(rows(QStringLiteral("SELECT srno, balapa_no FROM land WHERE srno IN (?, ?) ORDER BY srno"),
                     {m_land125.toInt(), active.toInt()}),
            QStringList({m_land125 + QStringLiteral("|125"), active + QStringLiteral("|300")}));
    }

    void unknownOldNumberKeepsTheLandShown()
    {
        frmland_change *s = openScreen();
        test::typeInto(s->txtlandno1, QStringLiteral("125"));
        test::typeInto(s->txtlandno, QString());
        const QStringList shown = valueTexts(s);
        QCOMPARE(shown.first(), m_land125);
        s->txtlandno1->clear();
        test::typeInto(s->txtlandno1, QStringLiteral("999"));
        test::typeInto(s->txtlandno, QString());
        QCOMPARE(valueTexts(s), shown);
    }

    void newNumberTakenIsRefusedOnLeavingTheBox()
    {
        frmland_change *s = openScreen();
        test::typeInto(s->txtlandno1, QStringLiteral("125"));
        test::typeInto(s->txtlandno, QStringLiteral("500"));
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        test::choose(s->cmblandno1, kDeed);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.text(), kNumberTaken);
        QCOMPARE(s->txtlandno->text(), QString());
        test::backTo(s);
        QTRY_VERIFY(s->txtlandno->hasFocus());
        // Stored now, the empty new number is refused.
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(test::count(QStringLiteral("land_pera")), 0);
        QCOMPARE(background(s->txtlandno), colours::attention);
    }

    void emptyBoxesAreMarkedAndNothingIsStored_data()
    {
        QTest::addColumn<QString>("oldNumber");
        QTest::addColumn<QString>("newNumber");
        QTest::newRow("no old number") << QString() << QStringLiteral("300");
        QTest::newRow("no new number") << QStringLiteral("125") << QString();
        QTest::newRow("only blanks as new number") << QStringLiteral("125") << QStringLiteral("  ");
        QTest::newRow("neither") << QString() << QString();
    }
    void emptyBoxesAreMarkedAndNothingIsStored()
    {
        QFETCH(QString, oldNumber);
        QFETCH(QString, newNumber);
        const QStringList before = landRow(m_land125);
        frmland_change *s = openScreen();
        typeChange(s, oldNumber, newNumber);
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(background(s->txtlandno1), oldNumber.isEmpty() ? colours::attention : colours::field);
        QCOMPARE(background(s->txtlandno), newNumber.trimmed().isEmpty() ? colours::attention : colours::field);
        QCOMPARE(test::count(QStringLiteral("land_pera")), 0);
        QCOMPARE(landRow(m_land125), before);
        // Typing into a red box turns it back.
        test::typeInto(s->txtlandno1, QStringLiteral("1"));
        QCOMPARE(background(s->txtlandno1), colours::field);
    }

    void oldNumberGoneMeanwhileStoresNothing()
    {
        frmland_change *s = openScreen();
        typeChange(s, QStringLiteral("125"), QStringLiteral("300"));
        // Another clerk renumbers the land after it was loaded here.
        test::exec(QStringLiteral("UPDATE land SET balapa_no = '126' WHERE srno = ?"), {m_land125.toInt()});
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(answers.text(), kNoSuchLand);
        QCOMPARE(test::count(QStringLiteral("land_pera")), 0);
        QCOMPARE(test::value(QStringLiteral("SELECT balapa_no FROM land WHERE srno = ?"), {m_land125.toInt()}),
            QStringLiteral("126"));
        QCOMPARE(s->txtlandno1->text(), QString());
    }

    void failureInsideTheChangeLeavesNothingChanged_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("boundary table gone") << QStringLiteral("boundaries");
        QTest::newRow("land update refused") << QStringLiteral("land");
    }
    void failureInsideTheChangeLeavesNothingChanged()
    {
        QFETCH(QString, fault);
        addBoundary(QStringLiteral("125"), QStringLiteral("W;=r"));
        const QStringList before = landRow(m_land125);
        frmland_change *s = openScreen();
        typeChange(s, QStringLiteral("125"), QStringLiteral("300"));
        if (fault == QLatin1String("boundaries")) {
            QSqlQuery drop(db().database());
            QVERIFY(drop.exec(QStringLiteral("DROP TABLE hathara_maym")));
        } else {
            refuseLandUpdates();
        }
        test::ModalAnswers answers;
        answers.press(QStringLiteral("OK"));
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        QCOMPARE(answers.name(), QStringLiteral("failure"));
        QCOMPARE(test::count(QStringLiteral("land_pera")), 0);
        QCOMPARE(landRow(m_land125), before);
        if (fault == QLatin1String("land"))
            QCOMPARE(test::count(QStringLiteral("hathara_maym"), QStringLiteral("landno = '125'")), 1);
        // The clerk's work stays on the screen.
        QCOMPARE(s->txtlandno->text(), QStringLiteral("300"));
        QCOMPARE(s->labno->text(), m_land125);
    }

    void aSecondWorkstationTakesTheNewNumber()
    {
        frmland_change *s = openScreen();
        typeChange(s, QStringLiteral("125"), QStringLiteral("300"));
        QCOMPARE(s->txtlandno->text(), QStringLiteral("300"));

        // The other workstation registers a land numbered 300 and commits only once this clerk's store
        // waits for the register's lock.
        QString error;
        test::Signal holding, clerkWaiting;
        auto other = test::otherWorkstation(error, [&](DbSession &session) {
            session.lockedChange([&] {
                session.execute(
                    QStringLiteral("INSERT INTO land (balapa_no, balapa_no1, chack) VALUES ('300', ?, '1')"), {kGrant});
                holding.raise();
                test::waitForRival(session, clerkWaiting);
            });
        });
        QVERIFY(holding.wait(30s));
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        QTest::mouseClick(s->cmdenter, Qt::LeftButton);
        clerkWaiting.raise();
        other.join();
        QCOMPARE(error, QString());
        QCOMPARE(answers.text(), kNumberTaken);
        QCOMPARE(s->txtlandno->text(), QString());
        QCOMPARE(test::count(QStringLiteral("land_pera")), 0);
        QCOMPARE(test::value(QStringLiteral("SELECT balapa_no FROM land WHERE srno = ?"), {m_land125.toInt()}),
            QStringLiteral("125"));
        QCOMPARE(test::count(QStringLiteral("land"), QStringLiteral("balapa_no = '300'")), 1);
    }

    void readOnlyLevel_data()
    {
        QTest::addColumn<QString>("level");
        QTest::addColumn<bool>("mayStore");
        QTest::newRow("2 view only") << kViewOnly << false;
        QTest::newRow("3 entry") << QStringLiteral("3 - we;=,a lsrsu muKs") << true;
        QTest::newRow("4 all") << kAll << true;
    }
    void readOnlyLevel()
    {
        QFETCH(QString, level);
        QFETCH(bool, mayStore);
        m_home->labuser_srno->setText(test::addUser(QStringLiteral("Kamal"), QStringLiteral("p"), {level}));
        frmland_change *s = openScreen();
        QCOMPARE(s->cmdenter->isEnabled(), mayStore);
        // Looking a land up still works.
        test::typeInto(s->txtlandno1, QStringLiteral("125"));
        test::typeInto(s->txtlandno, QString());
        QCOMPARE(s->labno->text(), m_land125);
    }

    // The real land register hands its permit number in and is restored when the clerk leaves.
    void openedByTheLandRegister()
    {
        m_land = std::make_unique<frmland>(m_home);
        test::showScreen(m_land.get());
        m_land->txtlandno->setText(QStringLiteral("125"));
        test::ModalAnswers answers;
        QString handed, loaded;
        double opacityWhileOpen = 1.0;
        answers.with([&](QWidget *dialog) {
            auto *s = qobject_cast<frmland_change *>(dialog);
            QVERIFY(s);
            opacityWhileOpen = m_land->windowOpacity();
            handed = s->txtlandno1->text();
            QVERIFY(s->txtlandno1->hasFocus());
            test::typeInto(s->txtlandno, QString());
            loaded = s->labno->text();
            s->cmdexit->click();
        });
        QTest::mouseClick(m_land->cmdchange_name, Qt::LeftButton);
        QVERIFY(answers.allAnswered());
        QCOMPARE(handed, QStringLiteral("125"));
        QCOMPARE(loaded, m_land125);
        QCOMPARE(qRound(opacityWhileOpen * 255), 100);
        QCOMPARE(m_land->windowOpacity(), 1.0);
        QCOMPARE(sharedAlpha(), 255);
    }

    void leavingRestoresOnlyALandRegister_data()
    {
        QTest::addColumn<bool>("overLandRegister");
        QTest::addColumn<bool>("byWindowButton");
        QTest::newRow("land register, msgúu") << true << false;
        QTest::newRow("land register, window button") << true << true;
        QTest::newRow("main menu, msgúu") << false << false;
        QTest::newRow("main menu, window button") << false << true;
    }
    void leavingRestoresOnlyALandRegister()
    {
        QFETCH(bool, overLandRegister);
        QFETCH(bool, byWindowButton);
        LandRegisterStandIn landRegister;
        if (overLandRegister)
            test::showScreen(&landRegister);
        frmland_change *s = openScreen(overLandRegister ? static_cast<QWidget *>(&landRegister) : m_home);
        // No failure message comes up for a main menu without cmdcha.
        if (byWindowButton)
            s->windowHandle()->close();
        else
            QTest::mouseClick(s->cmdexit, Qt::LeftButton);
        QVERIFY(!s->isVisible());
        QCOMPARE(landRegister.restored, overLandRegister ? 1 : 0);
        m_screen.reset();
    }

    void landSearchHandsTheOldNumberBack()
    {
        frmland_change *s = openScreen();
        test::ModalAnswers answers;
        QString code;
        answers.with([&](QWidget *dialog) {
            auto *search = qobject_cast<frmland_search *>(dialog);
            QVERIFY(search);
            code = search->labch->text();
            const int row = int(test::listLines(search->lvland, {0}).indexOf(m_land125));
            QVERIFY(row >= 0);
            test::clickRow(search->lvland, row);
            QTest::mouseClick(search->cmdadd, Qt::LeftButton);
            if (search->isVisible())
                search->close();
        });
        QTest::mouseClick(s->cmdfind, Qt::LeftButton);
        QVERIFY(answers.allAnswered());
        test::backTo(s);
        QCOMPARE(code, QStringLiteral("1"));
        QCOMPARE(s->txtlandno1->text(), QStringLiteral("125"));
        QCOMPARE(s->cmblandno->currentText(), kTitle);
        QCOMPARE(s->labno->text(), m_land125);
        QCOMPARE(s->labname->text(), QStringLiteral(" iqks,a"));
        QVERIFY(s->txtlandno->hasFocus());
    }
};

QTEST_MAIN(tst_permitchange)
#include "tst_permitchange.moc"
