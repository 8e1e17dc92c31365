#pragma once
// Every screen a clerk meets, for the checks that hold on all of them (layout, captions): the main menu,
// the login, the two message dialogs and every screen the registry knows, so a screen registered
// tomorrow is checked without touching the checks.

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace parcelon::test {

// The names of every screen: frmhome, frmloging, frmmessage, frmmessage_y, then each registered
// screen by its form name. Call after registerScreens().
QStringList everyScreen();

// One of them made as the application makes it and shown (not modally), over the main menu of this run
// (which must be open: ScreenTest::home()). A message dialog shows `message`. Closed and deleted when
// this goes; the main menu itself stays open.
class OpenScreen final
{
public:
    explicit OpenScreen(const QString &name, const QString &message = QString());
    ~OpenScreen();
    OpenScreen(const OpenScreen &) = delete;
    OpenScreen &operator=(const OpenScreen &) = delete;

    QWidget *window() const { return m_window; }

private:
    std::unique_ptr<QWidget> m_owned;
    QPointer<QWidget> m_window;
};

} // namespace parcelon::test
