// The screen kit as the screens rely on it: the one key policy, the key filter of identity boxes, the
// identity and entry rules, the record table's writes and fill through the real register, the screen
// registry and hand-backs that fail loudly.

#include "base/identity.h"
#include "shell/screens.h"
#include "support/fixture.h"
#include "ui/handback.h"
#include "ui/kit.h"
#include "ui/record.h"
#include "ui/screenregistry.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace parcelon;

namespace {
// A small screen made the kit's way.
class Sample final : public QDialog
{
    Q_OBJECT
public:
    explicit Sample(QWidget *parent = nullptr)
        : QDialog(parent)
    {
        setObjectName(QStringLiteral("sample"));
        resize(400, 200);
        txtname = textBox(this, "txtname", {100, 100, 2000, 375});
        txtid = textBox(this, "txtid", {100, 600, 2000, 375});
        identityBox(txtid);
        labsrno = valueLabel(this, "labsrno", {2400, 100, 800, 375});
        cmdok = button(this, "cmdok", QStringLiteral("OK"), {100, 1200, 1000, 400});
        cmdexit = button(this, "cmdexit", QStringLiteral("Exit"), {1200, 1200, 1000, 400});
        cmdselect = button(this, "cmdselect", QString());
        cmdselect->hide();
        connect(cmdok, &QPushButton::clicked, this, [this] { ++oks; });
        connect(cmdexit, &QPushButton::clicked, this, [this] {
            ++exits;
            close();
        });
        connect(cmdselect, &QPushButton::clicked, this, [this] { ++selects; });
    }
    Q_INVOKABLE void land_lv() { ++lists; }

    QLineEdit *txtname;
    QLineEdit *txtid;
    QLabel *labsrno;
    QPushButton *cmdok;
    QPushButton *cmdexit;
    QPushButton *cmdselect;
    int oks = 0;
    int exits = 0;
    int selects = 0;
    int lists = 0;
};
} // namespace

class tst_kit : public QObject
{
    Q_OBJECT

private slots:
    void init() { test::openDatabase(); }
    void cleanup()
    {
        registerScreens();
        QCOMPARE(test::closeAllWindows(), QStringList());
        test::destroyDatabase();
    }

    void escapeDoesWhatTheExitButtonDoes()
    {
        Sample screen;
        applyKeyPolicy(&screen, screen.cmdexit);
        test::showScreen(&screen);
        test::type(screen.txtname, QStringLiteral("typed"));
        QTest::keyClick(screen.txtname, Qt::Key_Escape);
        QCOMPARE(screen.exits, 1);
        QVERIFY(!screen.isVisible());
    }

    void escapeWithoutAnExitButtonKeepsTheScreen()
    {
        Sample screen;
        applyKeyPolicy(&screen, nullptr);
        test::showScreen(&screen);
        QTest::keyClick(screen.txtname, Qt::Key_Escape);
        QTest::keyClick(screen.cmdok, Qt::Key_Escape);
        QVERIFY(screen.isVisible());
        QCOMPARE(screen.exits, 0);
    }

    void enterPressesOnlyTheFocusedButton()
    {
        Sample screen;
        applyKeyPolicy(&screen, screen.cmdexit);
        test::showScreen(&screen);
        screen.txtname->setFocus();
        QTest::keyClick(screen.txtname, Qt::Key_Return);
        QCOMPARE(screen.oks, 0); // no button is the dialog's default
        screen.cmdok->setFocus();
        QTest::keyClick(screen.cmdok, Qt::Key_Return);
        QCOMPARE(screen.oks, 1);
        screen.cmdok->setEnabled(false);
        QTest::keyClick(screen.cmdok, Qt::Key_Enter);
        QCOMPARE(screen.oks, 1);
    }

    void identityBoxTakesDigitsVAndX()
    {
        Sample screen;
        applyKeyPolicy(&screen, screen.cmdexit);
        test::showScreen(&screen);
        test::type(screen.txtid, QStringLiteral("12a-3 V4x5ñ6789v0"));
        QCOMPARE(screen.txtid->text(), QStringLiteral("1234x56789"));
        QTest::keyClick(screen.txtid, Qt::Key_Backspace);
        QTest::keyClick(screen.txtid, Qt::Key_Left);
        QTest::keyClick(screen.txtid, Qt::Key_Delete);
        QCOMPARE(screen.txtid->text(), QStringLiteral("1234x567"));
    }

    void identityNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("nine digits and v") << QStringLiteral("123456789v") << true;
        QTest::newRow("nine digits and x") << QStringLiteral("123456789x") << true;
        QTest::newRow("upper-case letter handed in") << QStringLiteral("123456789V") << true;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("no letter") << QStringLiteral("1234567890") << false;
        QTest::newRow("eight digits") << QStringLiteral("12345678v") << false;
        QTest::newRow("letter inside") << QStringLiteral("1234v6789v") << false;
        QTest::newRow("other letter") << QStringLiteral("123456789a") << false;
        QTest::newRow("too long") << QStringLiteral("123456789vx") << false;
    }
    void identityNumbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(isIdentityNumber(text), valid);
    }

    void numberedEntries_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        QTest::newRow("division") << QStringLiteral("12 - uykqjr") << QStringLiteral("12") << QStringLiteral("uykqjr");
        QTest::newRow("name with a dash")
            << QStringLiteral("100 - w - n") << QStringLiteral("100") << QStringLiteral("w - n");
        QTest::newRow("no number") << QStringLiteral("uykqjr") << QString() << QStringLiteral("uykqjr");
        QTest::newRow("empty") << QString() << QString() << QString();
    }
    void numberedEntries()
    {
        QFETCH(QString, entry);
        QFETCH(QString, number);
        QFETCH(QString, name);
        QCOMPARE(entryNumber(entry), number);
        QCOMPARE(entryName(entry), name);
        if (!number.isEmpty())
            QCOMPARE(numberedEntry(number, name), entry);
    }

    void recordTableWritesAndFillsTheSameColumns()
    {
        QWidget form;
        QLineEdit *id = textBox(&form, "txtid");
        QLineEdit *name = textBox(&form, "txtlandname");
        QComboBox *division = dropDown(&form, "cmbgamiya");
        division->setEditable(true);
        const RecordColumns owner(
            QStringLiteral("landowner"), {{"id", id}, {"land_owner_name", name}, {"gamiya", division}});
        id->setText(QStringLiteral("123456789v"));
        name->setText(QStringLiteral("O'Brien \"mshd\""));
        division->setCurrentText(QStringLiteral("1 - uykqjr"));
        test::exec(owner.insertSql({QStringLiteral("chak")}), owner.values() + QVariantList {QStringLiteral("1")});
        const QString srno = test::value(QStringLiteral("SELECT MAX(srno) FROM landowner"));

        name->setText(QStringLiteral("mshd"));
        test::exec(owner.updateSql({QStringLiteral("chak = '0'")}), owner.values() + QVariantList {srno});
        QCOMPARE(test::value(QStringLiteral("SELECT land_owner_name FROM landowner WHERE srno = ?"), {srno.toInt()}),
            QStringLiteral("mshd"));
        QCOMPARE(test::value(QStringLiteral("SELECT chak FROM landowner WHERE srno = ?"), {srno.toInt()}),
            QStringLiteral("0"));

        for (QLineEdit *box : {id, name})
            box->clear();
        division->setCurrentText(QString());
        std::optional<Query> row = db().first(owner.selectSql() + QStringLiteral("WHERE srno = ?"), {srno.toInt()});
        QVERIFY(row);
        owner.fill(*row);
        QCOMPARE(id->text(), QStringLiteral("123456789v"));
        QCOMPARE(name->text(), QStringLiteral("mshd"));
        QCOMPARE(division->currentText(), QStringLiteral("1 - uykqjr"));
    }

    void everyScreenBoxTakesAtMostWhatItsColumnHolds()
    {
        registerScreens();
        QVERIFY(!Screens::registered().empty());
        for (ScreenId id : Screens::registered()) {
            std::unique_ptr<QDialog> screen = Screens::make(id, nullptr);
            QVERIFY(screen);
            const QList<QLineEdit *> boxes = screen->findChildren<QLineEdit *>();
            for (const QLineEdit *box : boxes) {
                QVERIFY2(box->maxLength() <= kTextColumnLength,
                    qPrintable(screenName(id) + QStringLiteral(".") + box->objectName()));
            }
        }
    }

    void registryOpensPreparedScreensAndTestsReplaceEntries()
    {
        // A screen that is not registered opens nothing.
        Screens::remove(ScreenId::frmpawarim_wartha);
        QVERIFY(!Screens::open(ScreenId::frmpawarim_wartha, nullptr));
        QString seenWhenShown;
        Screens::add(ScreenId::frmpawarim_wartha, [&](QWidget *opener) -> std::unique_ptr<QDialog> {
            auto screen = std::make_unique<Sample>(opener);
            QTimer::singleShot(0, screen.get(), [&, s = screen.get()] {
                seenWhenShown = s->labsrno->text();
                s->close();
            });
            return screen;
        });
        QVERIFY(Screens::open(ScreenId::frmpawarim_wartha, nullptr,
            [](QDialog *s) { static_cast<Sample *>(s)->labsrno->setText(QStringLiteral("42")); }));
        QCOMPARE(seenWhenShown, QStringLiteral("42"));
        Screens::remove(ScreenId::frmpawarim_wartha);
        QVERIFY(!Screens::has(ScreenId::frmpawarim_wartha));
    }

    void handBackWritesControlsAndRunsTheHandler()
    {
        Sample opener;
        HandBack(&opener)
            .set("labsrno", QStringLiteral("7"))
            .set("txtid", QStringLiteral("123456789v"))
            .press("cmdselect")
            .call("land_lv");
        QCOMPARE(opener.labsrno->text(), QStringLiteral("7"));
        QCOMPARE(opener.txtid->text(), QStringLiteral("123456789v"));
        QCOMPARE(opener.selects, 1);
        QCOMPARE(opener.lists, 1);
    }

    void handBackToAMissingControlOrHandlerFailsLoudly_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("said");
        QTest::newRow("missing control") << 0 << QStringLiteral("labsrno_customr") << QStringLiteral("no control");
        QTest::newRow("control without text") << 1 << QStringLiteral("cmdok") << QStringLiteral("holds no text");
        QTest::newRow("missing button") << 2 << QStringLiteral("cmdcha") << QStringLiteral("no control");
        QTest::newRow("not a button") << 3 << QStringLiteral("txtid") << QStringLiteral("is not a button");
        QTest::newRow("disabled button") << 6 << QStringLiteral("cmdok") << QStringLiteral("cmdok is disabled");
        QTest::newRow("missing procedure") << 4 << QStringLiteral("lvland") << QStringLiteral("no procedure");
        QTest::newRow("a control of a dialog the opener has open")
            << 5 << QStringLiteral("labguhano") << QStringLiteral("no control");
    }
    void handBackToAMissingControlOrHandlerFailsLoudly()
    {
        QFETCH(int, step);
        QFETCH(QString, named);
        QFETCH(QString, said);
        Sample opener;
        auto *chooser = new QDialog(&opener);
        new QLabel(chooser);
        chooser->findChild<QLabel *>()->setObjectName(QStringLiteral("labguhano"));
        const QByteArray name = named.toLatin1();
        try {
            HandBack back(&opener);
            switch (step) {
            case 0:
            case 1:
            case 5:
                back.set(name.constData(), QStringLiteral("x"));
                break;
            case 2:
            case 3:
                back.press(name.constData());
                break;
            case 6:
                opener.cmdok->setEnabled(false);
                back.press(name.constData());
                break;
            default:
                back.call(name.constData());
            }
            QFAIL("the hand-back went on quietly");
        } catch (const HandBackError &error) {
            const QString text = QString::fromUtf8(error.what());
            QVERIFY2(text.contains(named) && text.contains(said) && text.contains(QStringLiteral("sample")),
                qPrintable(text));
        }
    }
};

QTEST_MAIN(tst_kit)
#include "tst_kit.moc"
