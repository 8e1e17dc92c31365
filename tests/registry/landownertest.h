#pragma once
// What the land owner register's tests share: the screen opened for a clerk of a given level, the clerk's
// way of leaving a box, an owner's stored column, a box turned red, and the divisions and villages the
// register holds.

#include "registry/frmlandoner.h"
#include "shell/frmhome.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/records.h"
#include "support/screentest.h"
#include "ui/screen.h"

#include <QLabel>
#include <QObject>
#include <QTest>

#include <memory>

namespace parcelon::test {

// The base of a land owner register test class; its init() and cleanup() call startTest() and endTest().
class LandOwnerTest : public QObject
{
protected:
    static inline const QString kDivision1 = QStringLiteral("1 - uyje,");
    static inline const QString kVillage11 = QStringLiteral("1 - wdrjk");
    static inline const QString kVillage12 = QStringLiteral("2 - lÿre");
    static inline const QString kDivision2 = QStringLiteral("2 - fld<U");
    static inline const QString kVillage21 = QStringLiteral("1 - nKavdr");

    static inline const QString kWrongId = QStringLiteral("Tn we;=<;a l< cd;sl ye÷kqïm;a wxlh jerÈh");

    ScreenTest m_base;
    frmhome *m_home = nullptr;
    std::unique_ptr<frmlandoner> m_screen;

    // A register with two divisions and nobody signed in: openScreen() signs the clerk in with the level
    // the test needs.
    void startTest()
    {
        m_base.init();
        test::addDivision(test::kDivision, {test::kVillage, QStringLiteral("lÿre")});
        test::addDivision(QStringLiteral("fld<U"), {QStringLiteral("nKavdr")});
        m_home = m_base.home(QString());
    }
    void endTest()
    {
        m_screen.reset();
        m_home = nullptr;
        m_base.cleanup();
    }

    static bool isRed(const QWidget *w) { return background(w) == colours::attention; }

    frmlandoner *openScreen(const QString &flag = QStringLiteral("4 - ish¨ wjir"))
    {
        const QString user = test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), {flag});
        m_home->labuser_srno->setText(user);
        m_screen = std::make_unique<frmlandoner>(m_home);
        test::showScreen(m_screen.get());
        return m_screen.get();
    }

    // Leaves the identity box as a clerk does, with Tab.
    static void leave(QWidget *box)
    {
        QVERIFY(box->hasFocus());
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(!box->hasFocus());
    }

    static QString owner(const QString &column, const QString &srno)
    {
        return test::value(
            QStringLiteral("SELECT ") + column + QStringLiteral(" FROM landowner WHERE srno = ?"), {srno.toLongLong()});
    }
};

} // namespace parcelon::test
