// The four boundaries as a clerk meets them from the land register: a new row for the permit being
// entered, the refusal of four empty boxes, a stored row reopened and saved in place, its deletion, and
// every way out restoring the land register. Also the relationship screen on its own.

#include "registry/frmhathara.h"
#include "registry/frmland.h"
#include "registry/frmnanayayo.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/records.h"
#include "support/screentest.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

using namespace parcelon;

namespace {
const QString kNewRow = QStringLiteral("we;=,a lsÍu");
const QString kStoredRow = QStringLiteral("fjkia lsrsu");
const QString kRecorded = QStringLiteral("igyka lr we;");
const QString kNothingWritten = QStringLiteral("lsisu fldgqjla ysia úh fkdyel");

// The boundary rows, as landsrno|landno1|landno|uthuru|dakuna|batahira|naganahira in srno order.
QStringList boundaryRows()
{
    QStringList out;
    Query rows = db().select(QStringLiteral("SELECT landsrno, landno1, landno, uthuru, dakuna, batahira, naganahira "
                                            "FROM hathara_maym ORDER BY srno"));
    while (rows.next()) {
        QStringList cells;
        for (int i = 0; i < 7; ++i)
            cells << rows.value(i);
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}
} // namespace

class tst_hathara : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    std::unique_ptr<frmland> m_screen;

    frmland *openScreen()
    {
        m_screen = std::make_unique<frmland>();
        test::showScreen(m_screen.get());
        return m_screen.get();
    }

    // Opens the boundaries from the land register and lets `clerk` work in them; checks that the land
    // register was dimmed while they were open and is fully opaque again after. A message the clerk meets
    // inside them is answered with `messageButton`.
    void boundaries(const std::function<void(frmhathara *)> &clerk, test::ModalAnswers &answers,
        const QString &messageButton = QString())
    {
        bool dimmed = false;
        answers.with([&](QWidget *dialog) {
            auto *b = qobject_cast<frmhathara *>(dialog);
            QVERIFY(b);
            dimmed = m_screen->windowOpacity() < 0.5;
            clerk(b);
        });
        if (!messageButton.isEmpty())
            answers.press(messageButton);
        // The button itself waits for a permit number, which the permit box's own handler decides.
        m_screen->cmdsathara_Click();
        QVERIFY(answers.allAnswered());
        QVERIFY(dimmed);
        QCOMPARE(m_screen->windowOpacity(), 1.0);
        test::backTo(m_screen.get());
    }

    // A land with recorded boundaries, loaded in change mode: its number and permit, labsathara set.
    void showStoredLand(frmland *s)
    {
        const QString land
            = test::addLand({.balapa_no1 = QStringLiteral("wjirm;% wxlh"), .balapa_no = QStringLiteral("77")});
        test::exec(QStringLiteral("INSERT INTO hathara_maym (landsrno, landno1, landno, dakuna, uthuru, batahira, "
                                  "naganahira) VALUES (?, ?, ?, ?, ?, ?, ?)"),
            {land, QStringLiteral("wjirm;% wxlh"), QStringLiteral("77"), QStringLiteral("mdr"), QStringLiteral("we,"),
                QStringLiteral("ysia bvu"), QStringLiteral("uy jej")});
        QTest::mouseClick(s->cmdedit, Qt::LeftButton);
        test::typeInto(s->labno, land);
        QTest::keyClick(s->labno, Qt::Key_Tab);
        QCOMPARE(s->txtlandno->text(), QStringLiteral("77"));
        QCOMPARE(s->labsathara->text(), kRecorded);
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        m_base.home(test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), {QStringLiteral("4 - ish¨ wjir")}));
    }

    void cleanup()
    {
        m_screen.reset();
        m_base.cleanup();
    }

    // A new land's boundaries show the expected land number and the permit typed so far; one boundary is
    // enough. The land has no number yet, so they stay with the land register until the land's save
    // (tst_land_save) and open again as typed.
    void newRowWithNorthOnly()
    {
        frmland *s = openScreen();
        test::typeInto(s->txtlandno, QStringLiteral("55"));
        test::ModalAnswers answers;
        boundaries(
            [](frmhathara *b) {
                QCOMPARE(b->cmdok->text(), kNewRow);
                QCOMPARE(b->lablandsrno->text(), QStringLiteral("1"));
                QCOMPARE(b->lablandno1->text(), QStringLiteral("fkd;drsia Tmamq wxlh"));
                QCOMPARE(b->lablandno->text(), QStringLiteral("55"));
                test::typeInto(b->txtuthura, QStringLiteral("we, 'x'"));
                QTest::mouseClick(b->cmdok, Qt::LeftButton);
            },
            answers);
        QCOMPARE(boundaryRows(), QStringList());
        QCOMPARE(s->labsathara->text(), kRecorded);

        // A row another land left under the expected number is never shown for the new land.
        test::exec(QStringLiteral("INSERT INTO hathara_maym (landsrno, landno, uthuru) VALUES ('1', '9', 'wka')"));
        boundaries(
            [](frmhathara *b) {
                QCOMPARE(b->cmdok->text(), kStoredRow);
                QCOMPARE(b->txtuthura->text(), QStringLiteral("we, 'x'"));
                QCOMPARE(b->txtdakuna->text(), QString());
                QTest::mouseClick(b->cmddelect, Qt::LeftButton);
            },
            answers);
        QCOMPARE(s->labsathara->text(), QString());
        QCOMPARE(boundaryRows(), QStringList({QStringLiteral("1||9|wka|||")}));
    }

    void fourEmptyBoxesAreRefused()
    {
        frmland *s = openScreen();
        test::typeInto(s->txtlandno, QStringLiteral("55"));
        test::ModalAnswers answers;
        boundaries(
            [](frmhathara *b) {
                test::typeInto(b->txtuthura, QStringLiteral("   "));
                test::typeInto(b->txtnaganahira, QStringLiteral(" "));
                QTest::mouseClick(b->cmdok, Qt::LeftButton);
                QVERIFY(b->isVisible());
                QCOMPARE(b->txtuthura->text(), QStringLiteral("   "));
                QTest::mouseClick(b->cmdexit, Qt::LeftButton);
            },
            answers, QStringLiteral("cmdexit"));
        QCOMPARE(answers.text(1), kNothingWritten);
        QCOMPARE(boundaryRows(), QStringList());
        QCOMPARE(s->labsathara->text(), QString());
    }

    void storedRowIsChangedInPlace()
    {
        frmland *s = openScreen();
        showStoredLand(s);
        const QString land = s->labno->text();
        test::ModalAnswers answers;
        boundaries(
            [](frmhathara *b) {
                QCOMPARE(b->cmdok->text(), kStoredRow);
                QCOMPARE(b->lablandno->text(), QStringLiteral("77"));
                QCOMPARE(b->lablandno1->text(), QStringLiteral("wjirm;% wxlh"));
                QCOMPARE(b->txtuthura->text(), QStringLiteral("we,"));
                QCOMPARE(b->txtdakuna->text(), QStringLiteral("mdr"));
                QCOMPARE(b->txtbatahira->text(), QStringLiteral("ysia bvu"));
                QCOMPARE(b->txtnaganahira->text(), QStringLiteral("uy jej"));
                b->txtdakuna->clear();
                test::typeInto(b->txtdakuna, QStringLiteral("mdr 2"));
                QTest::mouseClick(b->cmdok, Qt::LeftButton);
            },
            answers);
        QCOMPARE(boundaryRows(), QStringList({land + QStringLiteral("|wjirm;% wxlh|77|we,|mdr 2|ysia bvu|uy jej")}));
        QCOMPARE(s->labsathara->text(), kRecorded);
    }

    // Delete removes the land's own rows, not another land's under the same permit number, and the land
    // register no longer shows boundaries.
    void deleteRemovesTheLandsRows()
    {
        frmland *s = openScreen();
        showStoredLand(s);
        test::exec(QStringLiteral("INSERT INTO hathara_maym (landsrno, landno) VALUES ('99', '77')"));
        test::exec(QStringLiteral("INSERT INTO hathara_maym (landsrno, landno) VALUES ('98', '78')"));
        test::ModalAnswers answers;
        boundaries([](frmhathara *b) { QTest::mouseClick(b->cmddelect, Qt::LeftButton); }, answers);
        QCOMPARE(boundaryRows(), QStringList({QStringLiteral("99||77||||"), QStringLiteral("98||78||||")}));
        QCOMPARE(s->labsathara->text(), QString());
    }

    void exitWritesNothing_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("msgúu") << false;
        QTest::newRow("Escape") << true;
    }

    void exitWritesNothing()
    {
        QFETCH(bool, byEscape);
        frmland *s = openScreen();
        showStoredLand(s);
        const QStringList before = boundaryRows();
        test::ModalAnswers answers;
        boundaries(
            [byEscape](frmhathara *b) {
                test::typeInto(b->txtuthura, QStringLiteral(" w;=re"));
                if (byEscape)
                    QTest::keyClick(b->txtuthura, Qt::Key_Escape);
                else
                    QTest::mouseClick(b->cmdexit, Qt::LeftButton);
            },
            answers);
        QCOMPARE(boundaryRows(), before);
        QCOMPARE(s->labsathara->text(), kRecorded);
    }

    void boundaryBoxesHoldTwoHundredFiftyCharacters()
    {
        frmland *s = openScreen();
        frmhathara b(s);
        for (QLineEdit *box : {b.txtuthura, b.txtdakuna, b.txtbatahira, b.txtnaganahira})
            QCOMPARE(box->maxLength(), 250);
    }

    void relationshipNumberIsTheNextKind()
    {
        frmland *s = openScreen();
        {
            frmnanayayo kinds(s);
            QCOMPARE(kinds.labsrno->text(), QStringLiteral("1"));
        }
        test::exec(QStringLiteral("INSERT INTO nadayo (nathisambandaya) VALUES ('a')"));
        test::exec(QStringLiteral("INSERT INTO nadayo (nathisambandaya) VALUES ('b')"));
        frmnanayayo kinds(s);
        QCOMPARE(kinds.labsrno->text(), QStringLiteral("3"));
    }
};

QTEST_MAIN(tst_hathara)
#include "tst_hathara.moc"
