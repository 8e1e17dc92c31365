// The office details and the about screen: the one row of `detels` replaced whole on every save, never
// lost to a failed save; the about screen's own details; and the main menu's buttons that open these
// screens and the user accounts.

#include "admin/frmdetel_ct.h"
#include "admin/frmdetels.h"
#include "admin/frmuser.h"
#include "base/dbsession.h"
#include "buildconfig.h"
#include "shell/frmhome.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/screentest.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

#include <memory>

using namespace parcelon;

namespace {
const QString kOffice = QStringLiteral("m%dfoaYSh f,alï ld¾hd,h");

// The rows of detels as code|name|ad1|ad2|ad3|ad4|teno|faxno|emailno|web|date, oldest first.
QStringList storedDetails()
{
    QStringList rows;
    Query row = db().select(QStringLiteral(
        "SELECT codeno, name, ad1, ad2, ad3, ad4, teno, faxno, emailno, web, date FROM detels ORDER BY srno"));
    while (row.next()) {
        QStringList cells;
        for (int i = 0; i < 11; ++i)
            cells << row.value(i);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

void addDetails(const QString &code, const QString &name)
{
    test::exec(QStringLiteral("INSERT INTO detels (codeno, name, ad1, ad2, ad3, ad4, teno, faxno, emailno, web, date) "
                              "VALUES (?, ?, 'a1', 'a2', 'a3', 'a4', '011', '012', 'o@x', 'w', '2025/01/01')"),
        {code, name});
}

// Runs SQL that the session's prepared statements cannot carry (trigger definitions).
void execRaw(const QString &sql)
{
    QSqlQuery query(db().database());
    QVERIFY2(query.exec(sql), qPrintable(sql));
}
} // namespace

class tst_details : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    std::unique_ptr<FRMDETELS> m_screen;
    frmhome *m_home = nullptr;

    FRMDETELS *openScreen()
    {
        m_screen = std::make_unique<FRMDETELS>(m_home);
        test::showScreen(m_screen.get());
        return m_screen.get();
    }

    // The main menu of the application's next start.
    void restartMenu()
    {
        m_home->close();
        QTRY_VERIFY(!frmhome::current());
        m_home
            = m_base.home(test::value(QStringLiteral("SELECT srno FROM user_loging")), QStringLiteral("Chief"), true);
    }

    QList<QLineEdit *> boxes() const
    {
        FRMDETELS *s = m_screen.get();
        return {s->CODENO, s->txtNAME, s->AD1, s->AD2, s->AD3, s->AD4, s->TENO, s->FAXNO, s->EMAIL, s->WEB};
    }

    // Types one value into each box, the box's own value built from `stem`.
    void typeAll(const QString &stem)
    {
        for (QLineEdit *box : boxes()) {
            box->clear();
            QTest::mouseClick(box, Qt::LeftButton);
            test::type(box, stem + box->objectName().toLower());
        }
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        m_home = m_base.home(
            test::addUser(QStringLiteral("Chief"), QStringLiteral("c"), {QStringLiteral("4 - ish¨ wjir")}),
            QStringLiteral("Chief"), true);
    }

    void cleanup()
    {
        m_screen.reset();
        m_home = nullptr;
        m_base.cleanup();
    }

    void savedTwiceLeavesOneRow()
    {
        FRMDETELS *s = openScreen();
        for (QLineEdit *box : boxes())
            QCOMPARE(box->text(), QString());
        QCOMPARE(s->labcode2->text(), QString());
        typeAll(QStringLiteral("ï;"));
        QTest::mouseClick(s->OK, Qt::LeftButton);
        QVERIFY(!s->isVisible());
        QCOMPARE(storedDetails(),
            QStringList {QStringLiteral("ï;codeno|ï;txtname|ï;ad1|ï;ad2|ï;ad3|ï;ad4|ï;teno|ï;faxno|ï;email|ï;web|")
                + test::kStampDate});

        // Opened again, it shows what was saved; a second save replaces it.
        s = openScreen();
        QCOMPARE(s->labcode2->text(), QStringLiteral("ï;codeno"));
        QCOMPARE(s->EMAIL->text(), QStringLiteral("ï;email"));
        QCOMPARE(s->FAXNO->text(), QStringLiteral("ï;faxno"));
        s->txtNAME->setText(kOffice);
        QTest::mouseClick(s->OK, Qt::LeftButton);
        QCOMPARE(storedDetails(),
            QStringList {QStringLiteral("ï;codeno|") + kOffice
                + QStringLiteral("|ï;ad1|ï;ad2|ï;ad3|ï;ad4|ï;teno|ï;faxno|ï;email|ï;web|") + test::kStampDate});
        for (QLineEdit *box : boxes())
            QCOMPARE(box->text(), QString());
    }

    void everyRowGoesOnSave_data()
    {
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("several rows") << QStringList {QStringLiteral("7"), QStringLiteral("8")};
        // A loaded row whose code is empty is replaced too, not kept beside the new one.
        QTest::newRow("row without a code") << QStringList {QString()};
    }
    void everyRowGoesOnSave()
    {
        QFETCH(QStringList, codes);
        for (const QString &code : codes)
            addDetails(code, QStringLiteral("name ") + code);
        FRMDETELS *s = openScreen();
        QCOMPARE(s->CODENO->text(), codes.first());
        QCOMPARE(s->txtNAME->text(), QStringLiteral("name ") + codes.first());
        QCOMPARE(s->TENO->text(), QStringLiteral("011"));
        QTest::mouseClick(s->OK, Qt::LeftButton);
        QCOMPARE(storedDetails(),
            QStringList {codes.first() + QStringLiteral("|name ") + codes.first()
                + QStringLiteral("|a1|a2|a3|a4|011|012|o@x|w|") + test::kStampDate});
    }

    void emptyBoxesSaveARowOfEmptyTexts()
    {
        FRMDETELS *s = openScreen();
        QTest::mouseClick(s->OK, Qt::LeftButton);
        QCOMPARE(storedDetails(), QStringList {QStringLiteral("||||||||||") + test::kStampDate});
    }

    void failedInsertKeepsTheOldDetails()
    {
        addDetails(QStringLiteral("7"), kOffice);
        // The register refuses one name, so the save fails after its delete.
        if (test::backend() == test::Backend::PostgreSQL) {
            execRaw(QStringLiteral("CREATE FUNCTION refuse_bad() RETURNS trigger AS $$ BEGIN IF NEW.name = 'bad' "
                                   "THEN RAISE EXCEPTION 'details refused'; END IF; RETURN NEW; END $$ "
                                   "LANGUAGE plpgsql"));
            execRaw(QStringLiteral(
                "CREATE TRIGGER refuse_bad BEFORE INSERT ON detels FOR EACH ROW EXECUTE FUNCTION refuse_bad()"));
        } else {
            execRaw(QStringLiteral("CREATE TRIGGER refuse_bad BEFORE INSERT ON detels WHEN NEW.name = 'bad' "
                                   "BEGIN SELECT RAISE(ABORT, 'details refused'); END"));
        }
        const QStringList before = storedDetails();
        FRMDETELS *s = openScreen();
        s->txtNAME->setText(QStringLiteral("bad"));
        test::ModalAnswers answers;
        answers.press(QStringLiteral("OK"));
        QTest::mouseClick(s->OK, Qt::LeftButton);
        QCOMPARE(answers.answered(), 1);
        QVERIFY(answers.text().contains(QLatin1String("details refused")));
        QCOMPARE(storedDetails(), before);
        // The screen stays open with what was typed, to be corrected.
        QVERIFY(s->isVisible());
        QCOMPARE(s->txtNAME->text(), QStringLiteral("bad"));
        s->txtNAME->setText(QStringLiteral("good"));
        QTest::mouseClick(s->OK, Qt::LeftButton);
        QCOMPARE(test::value(QStringLiteral("SELECT name FROM detels")), QStringLiteral("good"));
        QCOMPARE(test::count(QStringLiteral("detels")), 1);
    }

    void mainMenuShowsTheNewNameFromItsNextStart()
    {
        addDetails(QStringLiteral("7"), QStringLiteral("old"));
        restartMenu();
        QCOMPARE(m_home->labname->text(), QStringLiteral("old"));
        FRMDETELS *s = openScreen();
        s->txtNAME->setText(kOffice);
        QTest::mouseClick(s->OK, Qt::LeftButton);
        QCOMPARE(m_home->labname->text(), QStringLiteral("old")); // read only when the menu loads
        m_screen.reset();
        restartMenu();
        QCOMPARE(m_home->labname->text(), kOffice);
    }

    void detailsLieOverTheMainMenu()
    {
        FRMDETELS *s = openScreen();
        const QRect menu = m_home->frameGeometry();
        const QRect screen = s->frameGeometry();
        QCOMPARE(screen.left(), menu.left());
        QCOMPARE(screen.top(), menu.top());
        QCOMPARE(screen.width(), menu.width());
        QVERIFY(screen.bottom() < menu.bottom());
        QCOMPARE(test::unaddressable(s), QStringList());
    }

    void aboutScreenShowsParcelonAndItsVersion()
    {
        frmdetel_ct about(m_home);
        test::showScreen(&about);
        QCOMPARE(about.labheading->text(), QStringLiteral("Parcelon " PARCELON_VERSION));
        QVERIFY(!QStringLiteral(PARCELON_VERSION).isEmpty());
        QCOMPARE(about.Label1->text(), QStringLiteral("Name              :-"));
        QCOMPARE(about.Label2->text(), QStringLiteral("Telephon No  :-"));
        QCOMPARE(about.Label3->text(), QStringLiteral("E-mail             :-"));
        QCOMPARE(about.Label4->text(), QStringLiteral("Website         :-"));
        QCOMPARE(test::unaddressable(&about), QStringList());
        QTest::mouseClick(about.cmdexit, Qt::LeftButton);
        QVERIFY(!about.isVisible());
    }

    void mainMenuButtonsOpenTheirScreens_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("screen");
        QTest::newRow("user accounts") << "cmbuser"
                                       << "frmuser";
        QTest::newRow("office details") << "cmddetels"
                                        << "FRMDETELS";
        QTest::newRow("about") << "cmdhelp"
                               << "frmdetel_ct";
    }
    void mainMenuButtonsOpenTheirScreens()
    {
        QFETCH(QString, button);
        QFETCH(QString, screen);
        test::ModalAnswers answers;
        answers.with([](QWidget *dialog) { dialog->close(); });
        QTest::mouseClick(m_home->findChild<QPushButton *>(button), Qt::LeftButton);
        QVERIFY(answers.allAnswered());
        QCOMPARE(answers.name(), screen);
    }
};

QTEST_MAIN(tst_details)
#include "tst_details.moc"
