// The owner finder as its three callers meet it: the list of active owners it opens with, the four boxes
// narrowing the list together, the identity box's keys, the single-click hand-back for each caller code
// (with the letter the list leaves off), an owner deleted meanwhile, no line selected, and the way out
// that restores the land register whoever opened the finder. Callers not built yet are stand-ins with
// the controls the finder writes; the land register is the real one.

#include "lifecycle/frmfind_land_onew.h"
#include "registry/frmland.h"
#include "shell/frmhome.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/modal.h"
#include "support/records.h"
#include "support/screentest.h"
#include "ui/events.h"
#include "ui/listview.h"
#include "ui/screenregistry.h"

#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <functional>
#include <memory>

using namespace parcelon;

namespace {
const QString kAll = QStringLiteral("4 - ish¨ wjir");

// A caller not built yet: a window with the boxes a hand-back writes, counting the presses of its
// restore button and each box's LostFocus.
class StandIn final : public QDialog
{
public:
    StandIn(const QString &name, QWidget *parent = nullptr)
        : QDialog(parent)
    {
        setObjectName(name);
        resize(400, 300);
        // The buttons first: the stand-in shows with its focus on a button, not on a box it watches.
        auto *cmdcha = new QPushButton(this);
        cmdcha->setObjectName(QStringLiteral("cmdcha"));
        connect(cmdcha, &QPushButton::clicked, this, [this] { ++restored; });
        auto *cmdok = new QPushButton(this);
        cmdok->setObjectName(QStringLiteral("cmdok"));
        for (const char *box : {"txtid", "txtguhano", "txtlandno", "txtid_c"}) {
            auto *edit = new QLineEdit(this);
            edit->setObjectName(QString::fromLatin1(box));
            Events::of(edit).lostFocus([this, edit] { ++left[edit->objectName()]; });
        }
        for (const char *label : {"labsrno_customr", "labname"})
            (new QLabel(this))->setObjectName(QString::fromLatin1(label));
    }
    QString text(const char *name) const
    {
        const QString n = QString::fromLatin1(name);
        if (auto *edit = findChild<QLineEdit *>(n))
            return edit->text();
        return findChild<QLabel *>(n)->text();
    }
    int restored = 0;
    QHash<QString, int> left;
};

// The finder opened over `opener` with a caller code, as the callers open it; `clerk` works in it while
// it is open. Returns whether the finder had closed by the time the clerk was done (one left open is
// closed by its exit button, so the test goes on).
bool inFinder(QWidget *opener, const QString &code, const std::function<void(frmfind_land_onew *)> &clerk)
{
    test::ModalAnswers answers;
    bool closedByClerk = false;
    answers.with([&](QWidget *dialog) {
        auto *finder = qobject_cast<frmfind_land_onew *>(dialog);
        QVERIFY(finder);
        clerk(finder);
        closedByClerk = !finder->isVisible();
        if (!closedByClerk)
            finder->cmdexit->click();
    });
    Screens::open(ScreenId::frmfind_land_onew, opener,
        [&code](QDialog *finder) { finder->findChild<QLabel *>(QStringLiteral("labch"))->setText(code); });
    if (!answers.allAnswered())
        qWarning("the finder never showed");
    return closedByClerk;
}

// The line of an owner number, or -1.
int lineOf(const ListView *list, const QString &srno)
{
    for (int row = 0; row < list->count(); ++row) {
        if (list->text(row) == srno)
            return row;
    }
    return -1;
}
} // namespace

class tst_findowner : public QObject
{
    Q_OBJECT
    test::ScreenTest m_base;
    frmhome *m_home = nullptr;
    std::unique_ptr<frmfind_land_onew> m_finder;
    std::unique_ptr<StandIn> m_standIn;
    std::unique_ptr<frmland> m_land;

    frmfind_land_onew *openFinder(const QString &code = QStringLiteral("1"))
    {
        m_standIn = std::make_unique<StandIn>(QStringLiteral("frmland"));
        m_finder = std::make_unique<frmfind_land_onew>(m_standIn.get());
        m_finder->labch->setText(code);
        test::showScreen(m_finder.get());
        return m_finder.get();
    }

private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }

    void init()
    {
        m_base.init();
        test::addDivision(test::kDivision, {test::kVillage});
        m_home = m_base.home(QString());
    }

    void cleanup()
    {
        m_finder.reset();
        m_standIn.reset();
        m_land.reset();
        m_base.cleanup();
    }

    void opensWithEveryActiveOwner()
    {
        const QString first = test::addOwner({.id = QStringLiteral("123456789v"),
            .house_no = QStringLiteral("H-7"),
            .land_owner_name = QStringLiteral("iqks,a")});
        test::addOwner({.id = QStringLiteral("222222222x"), .chak = QStringLiteral("0")});
        const QString third = test::addOwner({.id = QStringLiteral("333333333v"),
            .house_no = QStringLiteral("H-9"),
            .land_owner_name = QStringLiteral("lu,")});
        frmfind_land_onew *f = openFinder();

        // Only active owners; the identity number without its letter.
        QCOMPARE(test::listLines(f->lvfind, {0, 1, 2, 3}),
            (QStringList {
                first + QStringLiteral("|123456789|H-7|iqks,a"), third + QStringLiteral("|333333333|H-9|lu,")}));
        const StringTableModel *table = f->lvfind->table();
        QCOMPARE(table->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral(" wkq wxlh"));
        QCOMPARE(table->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral(" cd ye wxlh"));
        QCOMPARE(table->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral(".Dy wxlh"));
        QCOMPARE(table->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral(" bvñ ysñhdf.a ku"));
        QCOMPARE(table->headerData(2, Qt::Horizontal, Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
            int(Qt::AlignHCenter));
        // Three fifths of the list's width, then the name with the rest less a margin.
        const int width = f->lvfind->width();
        for (int column = 0; column < 3; ++column)
            QVERIFY(qAbs(f->lvfind->columnWidth(column) - width / 5) <= 2);
        QVERIFY(f->lvfind->columnWidth(3) < 2 * width / 5 && f->lvfind->columnWidth(3) > 2 * width / 5 - 20);
        QCOMPARE(f->windowTitle(), QStringLiteral("Find"));
        QCOMPARE(f->labname->text(), QStringLiteral("bvñ ysñ f,aLKh"));
        QCOMPARE(f->labid->text(), QStringLiteral("yeÿkqïm;a wxlh"));
        QVERIFY(f->labch->isHidden());
    }

    void filter_data()
    {
        QTest::addColumn<QString>("srno");
        QTest::addColumn<QString>("guha");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("expected"); // owner numbers in order

        QTest::newRow("number contains 12")
            << QStringLiteral("12") << QStringLiteral("") << QStringLiteral("") << QStringLiteral("")
            << QStringList {QStringLiteral("12"), QStringLiteral("112")};
        QTest::newRow("number 12 and identity v") << QStringLiteral("12") << QStringLiteral("") << QStringLiteral("v")
                                                  << QStringLiteral("") << QStringList {QStringLiteral("12")};
        QTest::newRow("identity x") << QStringLiteral("") << QStringLiteral("") << QStringLiteral("x")
                                    << QStringLiteral("") << QStringList {QStringLiteral("112"), QStringLiteral("113")};
        QTest::newRow("household part") << QStringLiteral("") << QStringLiteral("B-") << QStringLiteral("")
                                        << QStringLiteral("")
                                        << QStringList {QStringLiteral("2"), QStringLiteral("113")};
        QTest::newRow("name, inactive owners too")
            << QStringLiteral("") << QStringLiteral("") << QStringLiteral("") << QStringLiteral("ir")
            << QStringList {QStringLiteral("3"), QStringLiteral("12")};
        QTest::newRow("all four together") << QStringLiteral("1") << QStringLiteral("B-") << QStringLiteral("x")
                                           << QStringLiteral("r") << QStringList {QStringLiteral("113")};
        QTest::newRow("blanks around the typed value")
            << QStringLiteral("  12 ") << QStringLiteral("") << QStringLiteral("") << QStringLiteral("")
            << QStringList {QStringLiteral("12"), QStringLiteral("112")};
        QTest::newRow("percent matches itself") << QStringLiteral("") << QStringLiteral("%") << QStringLiteral("")
                                                << QStringLiteral("") << QStringList {QStringLiteral("4")};
        QTest::newRow("underscore matches itself")
            << QStringLiteral("") << QStringLiteral("_") << QStringLiteral("") << QStringLiteral("") << QStringList {};
        QTest::newRow("no owner matches")
            << QStringLiteral("99") << QStringLiteral("") << QStringLiteral("") << QStringLiteral("") << QStringList {};
    }

    // Owners 1 to 113 (with gaps), the interesting ones named; each box narrows the list with the others.
    void filter()
    {
        QFETCH(QString, srno);
        QFETCH(QString, guha);
        QFETCH(QString, id);
        QFETCH(QString, name);
        QFETCH(QStringList, expected);
        const auto owner
            = [](int number, const char *identity, const char *house, const char *ownerName, const char *chak = "1") {
                  test::exec(QStringLiteral("INSERT INTO landowner (srno, id, house_no, land_owner_name, chak) "
                                            "VALUES (?, ?, ?, ?, ?)"),
                      {number, QString::fromLatin1(identity), QString::fromLatin1(house),
                          QString::fromLatin1(ownerName), QString::fromLatin1(chak)});
              };
        owner(1, "111111111v", "A-1", "mshd");
        owner(2, "222222222v", "B-2", "lu,");
        owner(3, "333333333v", "A-3", "irk", "0");
        owner(4, "444444444v", "5%", "ldu");
        owner(12, "121212121v", "A-12", "irje");
        owner(112, "112112112x", "A-112", "uy");
        owner(113, "113113113x", "B-113", "r;a");
        frmfind_land_onew *f = openFinder();
        QCOMPARE(f->lvfind->count(), 6);

        // Boxes typed into the finder as a clerk does; the identity box takes what an identity number may hold.
        test::typeInto(f->txtsrno, srno);
        test::typeInto(f->txtguha, guha);
        test::typeInto(f->txtid, id);
        test::typeInto(f->txtlname, name);
        QCOMPARE(test::listLines(f->lvfind, {0}), expected);

        // Emptying every box lists every owner of the register (the table, not only the active ones).
        for (QLineEdit *box : {f->txtsrno, f->txtguha, f->txtid, f->txtlname})
            box->clear();
        QCOMPARE(f->lvfind->count(), 7);
    }

    void identityBoxTakesOnlyIdentityKeys()
    {
        frmfind_land_onew *f = openFinder();
        test::typeInto(f->txtid, QStringLiteral("12aV x%v"));
        QCOMPARE(f->txtid->text(), QStringLiteral("12xv"));
        QTest::keyClick(f->txtid, Qt::Key_Backspace);
        QCOMPARE(f->txtid->text(), QStringLiteral("12x"));
        test::typeInto(f->txtid, QStringLiteral("123456789012"));
        QCOMPARE(f->txtid->text().size(), 10);
    }

    void handBack_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("ownerGone");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("handedId"); // empty: nothing handed back, the finder stays open
        QTest::addColumn<int>("restored");
        QTest::addColumn<QString>("focusLeft"); // the box whose LostFocus ran

        QTest::newRow("1 land register") << QStringLiteral("1") << false << QStringLiteral("txtid")
                                         << QStringLiteral("123456789v") << 1 << QStringLiteral("txtid");
        QTest::newRow("2 single land report") << QStringLiteral("2") << false << QStringLiteral("txtid")
                                              << QStringLiteral("123456789v") << 0 << QStringLiteral("");
        QTest::newRow("3 successor change") << QStringLiteral("3") << false << QStringLiteral("txtid_c")
                                            << QStringLiteral("123456789v") << 0 << QStringLiteral("txtid_c");
        QTest::newRow("1, owner deleted meanwhile")
            << QStringLiteral("1") << true << QStringLiteral("txtid") << QStringLiteral("") << 1 << QStringLiteral("");
        QTest::newRow("2, owner deleted: no letter") << QStringLiteral("2") << true << QStringLiteral("txtid")
                                                     << QStringLiteral("123456789") << 0 << QStringLiteral("");
        QTest::newRow("3, owner deleted: no letter") << QStringLiteral("3") << true << QStringLiteral("txtid_c")
                                                     << QStringLiteral("123456789") << 0 << QStringLiteral("txtid_c");
    }

    // One click on a line hands the owner back by the caller code and closes the finder.
    void handBack()
    {
        QFETCH(QString, code);
        QFETCH(bool, ownerGone);
        QFETCH(QString, box);
        QFETCH(QString, handedId);
        QFETCH(int, restored);
        QFETCH(QString, focusLeft);
        test::addOwner({.id = QStringLiteral("999999999x")});
        const QString owner = test::addOwner({.id = QStringLiteral("123456789v"),
            .house_no = QStringLiteral("H-7"),
            .land_owner_name = QStringLiteral("iqks,a")});
        StandIn caller(code == QLatin1String("1") ? QStringLiteral("frmland") : QStringLiteral("caller"));
        test::showScreen(&caller);

        const bool closed = inFinder(&caller, code, [&](frmfind_land_onew *f) {
            const int line = lineOf(f->lvfind, owner);
            QVERIFY(line >= 0);
            if (ownerGone)
                test::exec(QStringLiteral("DELETE FROM landowner WHERE srno = ?"), {owner.toInt()});
            test::clickRow(f->lvfind, line);
        });

        const bool handed = !handedId.isEmpty();
        QCOMPARE(closed, handed);
        QCOMPARE(caller.text(box.toLatin1().constData()), handedId);
        // The code "1" caller is restored once, by the hand-back or by the way out.
        QCOMPARE(caller.restored, restored);
        const bool landRegister = code == QLatin1String("1");
        QCOMPARE(caller.text("labsrno_customr"), landRegister && handed ? owner : QString());
        QCOMPARE(caller.text("txtguhano"), landRegister && handed ? QStringLiteral("H-7") : QString());
        QCOMPARE(caller.text("labname"), landRegister && handed ? QStringLiteral("iqks,a") : QString());
        for (const QString &b : {QStringLiteral("txtid"), QStringLiteral("txtid_c")})
            QCOMPARE(caller.left.value(b), b == focusLeft ? 1 : 0);
    }

    void nothingSelectedHandsNothingBack()
    {
        test::addOwner();
        frmfind_land_onew *f = openFinder();
        QCOMPARE(f->lvfind->selectedRow(), -1);
        QTest::mouseClick(f->cmdadd, Qt::LeftButton);
        QVERIFY(f->isVisible());
        QCOMPARE(m_standIn->text("txtid"), QString());
        QCOMPARE(m_standIn->restored, 0);
    }

    void unknownCallerCodeFailsLoudly()
    {
        test::addOwner();
        frmfind_land_onew *f = openFinder(QStringLiteral("7"));
        test::ModalAnswers answers;
        answers.press(QStringLiteral("OK"));
        test::clickRow(f->lvfind, 0);
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.name(), QStringLiteral("failure"));
        QVERIFY(answers.text().contains(QStringLiteral("\"7\"")));
        QVERIFY(f->isVisible());
    }

    void exitRestoresTheLandRegister_data()
    {
        QTest::addColumn<QString>("opener");
        QTest::addColumn<bool>("overLandRegister");
        QTest::addColumn<int>("restored");
        QTest::newRow("opened by the land register") << QStringLiteral("frmland") << false << 1;
        QTest::newRow("opened by a screen over the land register")
            << QStringLiteral("frmpasuhimika_change") << true << 1;
        QTest::newRow("no land register open") << QStringLiteral("frmland_one_report") << false << 0;
    }

    void exitRestoresTheLandRegister()
    {
        QFETCH(QString, opener);
        QFETCH(bool, overLandRegister);
        QFETCH(int, restored);
        StandIn landRegister(QStringLiteral("frmland"));
        if (overLandRegister)
            test::showScreen(&landRegister);
        StandIn caller(opener, overLandRegister ? &landRegister : nullptr);
        StandIn *restoredOne = opener == QLatin1String("frmland") ? &caller : &landRegister;
        test::showScreen(&caller);
        for (const bool byWindowButton : {false, true}) {
            const int before = restoredOne->restored;
            const bool closed = inFinder(&caller, QStringLiteral("2"), [&](frmfind_land_onew *f) {
                // The window's own close button: a close the window system sends.
                if (byWindowButton)
                    f->windowHandle()->close();
                else
                    f->cmdexit->click();
            });
            QVERIFY(closed);
            QVERIFY2(restoredOne->restored - before == restored, byWindowButton ? "window button" : "cmdexit");
            QCOMPARE(caller.text("txtid"), QString());
        }
    }

    // The real land register: "f;drd" dims it, one click on the owner's line fills the owner, restores
    // it and leaving txtid loads the owner's household and lands.
    void landRegisterTakesTheOwner()
    {
        const QString owner = test::addOwner({.id = QStringLiteral("123456789v"),
            .house_no = QStringLiteral("H-7"),
            .land_owner_name = QStringLiteral("iqks,a")});
        test::addLand({.id = QStringLiteral("123456789v"), .guhasth = QStringLiteral("H-7"), .labn_owner_srno = owner});
        test::addLand({.guhasth = QStringLiteral("H-8"), .balapa_no = QStringLiteral("3")});
        m_home->labuser_srno->setText(test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), {kAll}));
        m_land = std::make_unique<frmland>(m_home);
        test::showScreen(m_land.get());
        QCOMPARE(m_land->lvland->count(), 2);

        test::ModalAnswers answers;
        double opacityWhileOpen = 1.0;
        QString code;
        answers.with([&](QWidget *dialog) {
            auto *f = qobject_cast<frmfind_land_onew *>(dialog);
            QVERIFY(f);
            opacityWhileOpen = m_land->windowOpacity();
            code = f->labch->text();
            test::clickRow(f->lvfind, lineOf(f->lvfind, owner));
            if (f->isVisible())
                f->cmdexit->click();
        });
        QTest::mouseClick(m_land->cmdfind, Qt::LeftButton);
        QVERIFY(answers.allAnswered());
        QCOMPARE(code, QStringLiteral("1"));
        QVERIFY(opacityWhileOpen < 0.5);
        QCOMPARE(m_land->windowOpacity(), 1.0);
        QCOMPARE(m_land->txtid->text(), QStringLiteral("123456789v"));
        QCOMPARE(m_land->labsrno_customr->text(), owner);
        QCOMPARE(m_land->labname->text(), QStringLiteral("iqks,a"));
        QCOMPARE(m_land->txtguhano->text(), QStringLiteral("H-7"));
        // The look-up of leaving txtid ran: the household box is locked and only its lands are listed.
        QVERIFY(!m_land->txtguhano->isEnabled());
        QCOMPARE(test::listLines(m_land->lvland, {0}), QStringList {QStringLiteral("H-7")});
        QVERIFY(m_land->txtlandno->hasFocus());
    }

    void exitFromTheLandRegisterRestoresIt()
    {
        m_home->labuser_srno->setText(test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), {kAll}));
        m_land = std::make_unique<frmland>(m_home);
        test::showScreen(m_land.get());
        test::ModalAnswers answers;
        answers.with([](QWidget *dialog) { qobject_cast<frmfind_land_onew *>(dialog)->cmdexit->click(); });
        QTest::mouseClick(m_land->cmdfind, Qt::LeftButton);
        QVERIFY(answers.allAnswered());
        QCOMPARE(m_land->windowOpacity(), 1.0);
        QCOMPARE(m_land->txtid->text(), QString());
    }
};

QTEST_MAIN(tst_findowner)
#include "tst_findowner.moc"
