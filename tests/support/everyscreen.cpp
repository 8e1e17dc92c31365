#include "support/everyscreen.h"

#include "base/dbsession.h"
#include "shell/frmhome.h"
#include "shell/frmloging.h"
#include "support/fixture.h"
#include "ui/messages.h"
#include "ui/screenregistry.h"

#include <QDialog>
#include <QLabel>
#include <QTest>

namespace parcelon::test {
namespace {
const QString kHome = QStringLiteral("frmhome");
const QString kLogin = QStringLiteral("frmloging");
const QString kNotice = QStringLiteral("frmmessage");
const QString kQuestion = QStringLiteral("frmmessage_y");
} // namespace

QStringList everyScreen()
{
    QStringList names {kHome, kLogin, kNotice, kQuestion};
    for (ScreenId id : Screens::registered())
        names << screenName(id);
    return names;
}

OpenScreen::OpenScreen(const QString &name, const QString &message)
{
    frmhome *home = frmhome::current();
    QVERIFY2(home, "the main menu must be open before its screens");
    if (name == kHome) {
        m_window = home;
    } else if (name == kLogin) {
        // The login is the first screen of a run: it opens the session itself.
        db().close();
        auto login = std::make_unique<frmloging>();
        QVERIFY2(login->Form_Load(), "the login refused to start");
        m_owned = std::move(login);
    } else if (name == kNotice) {
        auto notice = std::make_unique<frmmessage>(home);
        notice->labmessage->setText(message);
        m_owned = std::move(notice);
    } else if (name == kQuestion) {
        auto question = std::make_unique<frmmessage_y>(home);
        question->labmessage_y->setText(message);
        m_owned = std::move(question);
    } else {
        for (ScreenId id : Screens::registered()) {
            if (screenName(id) == name)
                m_owned = Screens::make(id, home);
        }
        QVERIFY2(m_owned, qPrintable(name + QStringLiteral(" is not registered")));
    }
    if (m_owned)
        m_window = m_owned.get();
    if (m_window)
        showScreen(m_window);
}

OpenScreen::~OpenScreen()
{
    if (m_owned)
        m_owned->close();
}

} // namespace parcelon::test
