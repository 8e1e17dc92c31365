#pragma once
// What the transfer screen's tests share: the screen opened for a clerk of a given level, a land in force
// to load into it, the clerk's ways of loading the two lands and retyping a box, and the texts both read.

#include "lifecycle/frmland_pewarima.h"
#include "shell/frmhome.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "support/records.h"
#include "support/screentest.h"

#include <QLabel>
#include <QLineEdit>
#include <QObject>

#include <memory>

namespace parcelon::test {

// The base of a transfer screen test class; its init() and cleanup() call startTest() and endTest().
class TransferTest : public QObject
{
protected:
    static inline const QString kAcres = QStringLiteral("2 - wlalr");
    static inline const QString kTaxPermit = QStringLiteral("fkd;drsia Tmamq wxlh");
    static inline const QString kGrant = QStringLiteral("osukdm;% wxlh");
    static inline const QString kAll = QStringLiteral("4 - ish¨ wjir");
    static inline const QString kDefaultReason = QStringLiteral("rchg mejÍu");

    ScreenTest m_base;
    frmhome *m_home = nullptr;
    std::unique_ptr<frmland_pewarima> m_screen;

    // An empty register, nobody signed in yet.
    void startTest()
    {
        m_base.init();
        m_home = m_base.home(QString());
    }
    void endTest()
    {
        m_screen.reset();
        m_home = nullptr;
        m_base.cleanup();
    }

    // A land in force under a permit of the given kind, with its extent.
    static QString land(const QString &permit, const QString &akkara, const QString &rut, const QString &parchase,
        const QString &akkaraOnly, const QString &unit = kAcres, const QString &owner = QString())
    {
        return test::addLand({.labn_owner_srno = owner,
            .balapa_no1 = kGrant,
            .balapa_no = permit,
            .akkara1 = unit,
            .akkara = akkara,
            .rut = rut,
            .parchase = parchase,
            .pewarima = QStringLiteral("il%sh"),
            .akkara_only = akkaraOnly});
    }

    frmland_pewarima *openScreen(const QString &level = kAll)
    {
        m_home->labuser_srno->setText(test::addUser(QStringLiteral("Nimal"), QStringLiteral("p"), {level}));
        m_screen = std::make_unique<frmland_pewarima>(m_home);
        test::showScreen(m_screen.get());
        return m_screen.get();
    }

    static void loadFirst(frmland_pewarima *s, const QString &permit)
    {
        test::typeInto(s->txtlandno_h, permit);
        test::enter(s->txtlandno_h);
    }
    static void loadSecond(frmland_pewarima *s, const QString &permit)
    {
        test::typeInto(s->txtlandno, permit);
        test::enter(s->txtlandno);
    }
    static void retype(QLineEdit *box, const QString &text)
    {
        box->clear();
        test::typeInto(box, text);
    }
};

} // namespace parcelon::test
