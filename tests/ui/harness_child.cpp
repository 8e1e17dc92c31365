// Tests that misbehave on purpose, run by tst_harness as a program of their own: each shows what the
// harness does with a dialog nobody answers. Not registered with CTest; most of these fail by design.

#include "support/modal.h"
#include "ui/messages.h"

#include <QTest>

using namespace parcelon;

class tst_harness_child : public QObject
{
    Q_OBJECT
private slots:
    void init() { test::clearUnexpectedDialogs(); }

    void unexpectedNotice()
    {
        message(nullptr, QStringLiteral("Tng wjir fkdue;"));
        QVERIFY(true); // reached: the dialog was closed for the test
    }

    void unexpectedAfterTheAnswers()
    {
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        message(nullptr, QStringLiteral("m<uq"));
        message(nullptr, QStringLiteral("fojk"));
        QCOMPARE(answers.answered(), 1);
    }

    void unexpectedInsideAnAnswer()
    {
        test::ModalAnswers answers;
        answers.with([](QWidget *dialog) {
            message(dialog, QStringLiteral("we;=,d"));
            test::clickButton(dialog, QStringLiteral("cmdexit"));
        });
        message(nullptr, QStringLiteral("msg;"));
        QCOMPARE(answers.answered(), 1);
    }

    void answerLeavesTheDialogOpen()
    {
        test::ModalAnswers answers;
        answers.with([](QWidget *) {});
        message(nullptr, QStringLiteral("rEmh"));
    }

    void answeredAsExpected()
    {
        test::ModalAnswers answers;
        answers.press(QStringLiteral("cmdexit"));
        message(nullptr, QStringLiteral("Tng wjir fkdue;"));
        QCOMPARE(answers.answered(), 1);
        QVERIFY(test::unexpectedDialogs().isEmpty());
    }
};

QTEST_MAIN(tst_harness_child)
#include "harness_child.moc"
