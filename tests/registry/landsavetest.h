#pragma once
// What the tests of the land register's new land share: the screen opened for a clerk who may do
// everything, the clerk's way of leaving a box, the least a save needs, a saved land's column, and the
// kinds and units both enter.

#include "registry/frmland.h"
#include "shell/frmhome.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/records.h"
#include "support/screentest.h"
#include "ui/screenregistry.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QTest>

#include <memory>

namespace parcelon::test {

// The base of a new-land test class; its init() and cleanup() call startTest() and endTest().
class LandSaveTest : public QObject
{
protected:
    static inline const QString kHectares = QStringLiteral("1 - fylaghd¾");
    static inline const QString kAcres = QStringLiteral("2 - wlalr");
    static inline const QString kTaxPermit = QStringLiteral("fkd;drsia Tmamq wxlh");
    static inline const QString kAnnualPermit = QStringLiteral("wjirm;% wxlh");
    static inline const QString kUnnumbered = QStringLiteral("wkjir bvï");
    static inline const QString kGrantOwnership = QStringLiteral("1- Èukd m;%");
    static inline const QString kAnnualOwnership = QStringLiteral("2- wjir m;%");

    static inline const QString kVillage = QStringLiteral("1 - wdrjk");

    ScreenTest m_base;
    frmhome *m_home = nullptr;
    std::unique_ptr<frmland> m_screen;

    // A register with one division and nobody signed in yet.
    void startTest()
    {
        m_base.init();
        test::addDivision(test::kDivision, {test::kVillage});
        m_home = m_base.home(QString());
    }
    void endTest()
    {
        m_screen.reset();
        m_home = nullptr;
        Screens::remove(ScreenId::frmland_pewarima);
        m_base.cleanup();
    }

    static QString land(const QString &column, const QString &permit)
    {
        return test::value(
            QStringLiteral("SELECT ") + column + QStringLiteral(" FROM land WHERE balapa_no = ?"), {permit});
    }

    frmland *openScreen()
    {
        const QString user
            = test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), {QStringLiteral("4 - ish¨ wjir")});
        m_home->labuser_srno->setText(user);
        m_screen = std::make_unique<frmland>(m_home);
        test::showScreen(m_screen.get());
        return m_screen.get();
    }

    // Leaves a box with Tab, as a clerk does.
    static void leave(QWidget *box)
    {
        QVERIFY(box->hasFocus());
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(!box->hasFocus());
    }

    // The least a save needs: a permit number, an extent and a village.
    static void fillLand(frmland *s, const QString &permit)
    {
        test::typeInto(s->txtlandno, permit);
        leave(s->txtlandno);
        test::typeInto(s->txtakkara, QStringLiteral("1"));
        s->cmbgama->setEditText(kVillage);
    }
};

} // namespace parcelon::test
