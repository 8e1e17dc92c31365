// The pieces every screen shares: the two message dialogs, placement, text selection, opacity, the event
// adapter and the list view.

#include "support/fixture.h"
#include "support/modal.h"
#include "ui/events.h"
#include "ui/listview.h"
#include "ui/messagebox.h"
#include "ui/messages.h"
#include "ui/screen.h"

#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace parcelon;

namespace {
// A caller with the hidden labels and worker buttons the purpose codes address.
struct Caller : QDialog
{
    QLabel *labcha = new QLabel(this);
    QLabel *labch = new QLabel(this);
    QPushButton *cmdl = new QPushButton(this);
    QPushButton *cmdff = new QPushButton(this);
    QStringList workers;
    Caller()
    {
        labcha->setObjectName(QStringLiteral("labcha"));
        labch->setObjectName(QStringLiteral("labch"));
        cmdl->setObjectName(QStringLiteral("cmdl"));
        cmdff->setObjectName(QStringLiteral("cmdff"));
        // A worker sees the flag already set and the question closed.
        connect(cmdl, &QPushButton::clicked, this, [this] { workers << QStringLiteral("cmdl:") + labch->text(); });
        connect(cmdff, &QPushButton::clicked, this, [this] { workers << QStringLiteral("cmdff:") + labch->text(); });
    }
};
} // namespace

class tst_dialogs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(test::loadParasFont()); }
    void cleanup() { QCOMPARE(test::closeAllWindows(), QStringList()); }

    void noticeShowsTextAndCloses()
    {
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        message(nullptr, QStringLiteral("Tng wjir fkdue;"));
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.name(), QStringLiteral("frmmessage"));
        QCOMPARE(answers.title(), QStringLiteral(" "));
        QCOMPARE(answers.text(), QStringLiteral("Tng wjir fkdue;"));
    }

    // The one box for English texts: its buttons answer as typed, Escape and closing answer no, and a
    // test can answer the next box without it showing.
    void messageBoxAnswers()
    {
        test::ModalAnswers answers;
        answers.press(QStringLiteral("OK")).press(QStringLiteral("Yes")).press(QStringLiteral("No"));
        answers.with([](QWidget *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
        QCOMPARE(messageBox(nullptr, QStringLiteral("Backup"), QStringLiteral("No File Path")), MessageAnswer::Ok);
        const MessageBoxOptions question {MessageButtons::YesNo, MessageKind::Notice, QStringLiteral("question")};
        QCOMPARE(messageBox(nullptr, QStringLiteral("Users"), QStringLiteral("Delete?"), question), MessageAnswer::Yes);
        QCOMPARE(messageBox(nullptr, QStringLiteral("Users"), QStringLiteral("Delete?"), question), MessageAnswer::No);
        QCOMPARE(messageBox(nullptr, QStringLiteral("Users"), QStringLiteral("Delete?"), question), MessageAnswer::No);
        QCOMPARE(answers.answered(), 4);
        QCOMPARE(answers.title(), QStringLiteral("Backup"));
        QCOMPARE(answers.text(), QStringLiteral("No File Path"));
        QCOMPARE(answers.name(1), QStringLiteral("question"));

        setNextAnswer(MessageAnswer::Yes);
        QCOMPARE(messageBox(nullptr, QStringLiteral("Users"), QStringLiteral("Answered beforehand"), question),
            MessageAnswer::Yes);
        QCOMPARE(lastMessageText(), QStringLiteral("Answered beforehand"));
        QCOMPARE(answers.answered(), 4); // nothing showed
    }

    void questionActsByPurposeCode_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("labcha");
        QTest::addColumn<QString>("labch");
        QTest::addColumn<QStringList>("workers");
        QTest::newRow("1 yes") << "1"
                               << "cmdyes"
                               << "1"
                               << "" << QStringList();
        QTest::newRow("1 no") << "1"
                              << "cmdexit"
                              << ""
                              << "" << QStringList();
        QTest::newRow("2 yes starts land deletion") << "2"
                                                    << "cmdyes"
                                                    << ""
                                                    << "1" << QStringList {QStringLiteral("cmdl:1")};
        QTest::newRow("2 no") << "2"
                              << "cmdexit"
                              << ""
                              << "" << QStringList();
        QTest::newRow("3 yes starts owner deletion") << "3"
                                                     << "cmdyes"
                                                     << ""
                                                     << "1" << QStringList {QStringLiteral("cmdff:1")};
        QTest::newRow("3 no") << "3"
                              << "cmdexit"
                              << ""
                              << "" << QStringList();
        QTest::newRow("unknown code yes") << "9"
                                          << "cmdyes"
                                          << ""
                                          << "" << QStringList();
    }
    void questionActsByPurposeCode()
    {
        QFETCH(QString, code);
        QFETCH(QString, button);
        Caller caller;
        frmmessage_y question(&caller);
        QCOMPARE(question.windowTitle(), QStringLiteral("Message"));
        QCOMPARE(question.cmdyes->text(), QStringLiteral("Tõ"));
        QCOMPARE(question.cmdexit->text(), QStringLiteral("ke;"));
        question.labmessage_y->setText(QStringLiteral("bj;a lrkjdo@"));
        question.labcc->setText(code);
        test::ModalAnswers answers;
        answers.press(button);
        question.exec();
        QCOMPARE(answers.answered(), 1);
        QCOMPARE(answers.text(), QStringLiteral("bj;a lrkjdo@"));
        QTEST(caller.labcha->text(), "labcha");
        QTEST(caller.labch->text(), "labch");
        QTEST(caller.workers, "workers");
    }

    void centreAndFill()
    {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QDialog small;
        small.resize(400, 300);
        center_form(&small);
        QVERIFY(qAbs(small.x() - (screen.width() - 400) / 2) <= 1);
        QVERIFY(qAbs(small.y() - (screen.height() - 300) / 2) <= 1);
        QCOMPARE(background(&small), colours::dialog);

        QDialog large;
        large.resize(screen.width() + 400, screen.height() + 200);
        center_form(&large);
        QVERIFY(large.x() < 0 && large.y() < 0); // placed by the same formula all the same

        QDialog work;
        fill_screen(&work);
        QCOMPARE(work.pos(), QPoint(0, 0));
        QCOMPARE(work.width(), twips(screenWidthTwips()));
        QCOMPARE(work.height(), twips(screenHeightTwips() - 600));
        QCOMPARE(background(&work), colours::work);
    }

    void selectAllFromTheCaret()
    {
        QLineEdit box;
        select_all(&box); // empty: nothing to select, no failure
        QCOMPARE(box.selectedText(), QString());
        box.setText(QStringLiteral("wkqrdOmqr"));
        box.setCursorPosition(0);
        select_all(&box);
        QCOMPARE(box.selectedText(), QStringLiteral("wkqrdOmqr"));
        box.setCursorPosition(3);
        select_all(&box);
        QCOMPARE(box.selectedText(), QStringLiteral("rdOmqr"));
    }

    void opacity()
    {
        QDialog screen;
        set_alpha(&screen, 100);
        QVERIFY(qAbs(screen.windowOpacity() - 100 / 255.0) < 0.01);
        set_alpha(&screen, 255);
        QCOMPARE(screen.windowOpacity(), 1.0);
    }

    void eventAdapter()
    {
        QDialog form;
        auto *layout = new QVBoxLayout(&form);
        auto *id = new QLineEdit(&form);
        auto *other = new QLineEdit(&form);
        layout->addWidget(id);
        layout->addWidget(other);
        int entered = 0, lost = 0, got = 0;
        Events::of(id)
            .enter([&] { ++entered; })
            .lostFocus([&] { ++lost; })
            .gotFocus([&] { ++got; })
            .keyPress([](QKeyEvent *key) { return !key->text().isEmpty() && !key->text().at(0).isDigit(); });
        test::showScreen(&form);
        other->setFocus();
        id->setFocus();
        QCOMPARE(got, 1);
        lost = 0; // moving focus by code counts as leaving too
        QTest::keyClicks(id, QStringLiteral("12a3"));
        QCOMPARE(id->text(), QStringLiteral("123")); // the letter was discarded
        QTest::keyClick(id, Qt::Key_Return);
        QCOMPARE(entered, 1);
        QTest::keyClick(id, Qt::Key_Tab); // Tab is never offered to the key filter
        QCOMPARE(lost, 1);
        QVERIFY(other->hasFocus());

        // A dialog opening over the form is no move of focus between its controls.
        id->setFocus();
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        message(&form, QStringLiteral("x"));
        QCOMPARE(lost, 1);
        form.close();
    }

    void comboClickFiresOncePerPickAndOnCodeChanges()
    {
        QComboBox combo;
        combo.addItems({QStringLiteral("1- fkdoks"), QStringLiteral("2- uv")});
        int clicks = 0;
        comboClick(&combo, [&] { ++clicks; });
        combo.setCurrentIndex(1);
        QCOMPARE(clicks, 1);
        QTest::qWait(1);
        combo.setCurrentIndex(0);
        emit combo.activated(0); // the clerk's pick arrives after the index change
        QCOMPARE(clicks, 2);
        QTest::qWait(1);
        emit combo.activated(0); // picking the entry already shown
        QCOMPARE(clicks, 3);
    }

    void listView()
    {
        ListView list;
        list.setColumns({{QStringLiteral("wxlh"), 900}, {QStringLiteral("ku"), 2000}});
        QCOMPARE(list.columnWidth(0), twips(900));
        std::vector<QStringList> lines;
        for (int i = 0; i < 100000; ++i)
            lines.push_back({QString::number(i), QStringLiteral("n%1").arg(i % 7)});
        list.addItems(std::move(lines));
        QCOMPARE(list.count(), 100000);
        list.sortByColumnText(1);
        QCOMPARE(list.text(0, 1), QStringLiteral("n0"));
        list.sortByColumnText(1); // the second click reverses
        QCOMPARE(list.text(0, 1), QStringLiteral("n6"));
        list.addItem({QStringLiteral("x")}); // fewer sub-items than columns
        QCOMPARE(list.text(100000, 1), QString());
        QCOMPARE(list.selectedRow(), -1);
        list.selectRow(5);
        QCOMPARE(list.selectedRow(), 5);
        const QString fifth = list.text(5);
        list.removeItem(4);
        QCOMPARE(list.text(4), fifth);
        list.clear();
        QCOMPARE(list.count(), 0);
    }
};

QTEST_MAIN(tst_dialogs)
#include "tst_dialogs.moc"
