#include "core/screen.h"

#include "core/clock.h"
#include "core/failure.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPalette>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace parcelon {
namespace {
int g_sharedAlpha = 255;
Home *g_home = nullptr;

qreal dpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}
} // namespace

int twips(int value) { return int(std::lround(value * dpi() / 1440.0)); }
int toTwips(int pixels) { return int(std::lround(pixels * 1440.0 / dpi())); }

int screenWidthTwips()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? toTwips(screen->geometry().width()) : 0;
}

int screenHeightTwips()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? toTwips(screen->geometry().height()) : 0;
}

void setBackground(QWidget *widget, const QColor &colour)
{
    // Only the widget's own background role: a form's children keep their text boxes white.
    QPalette palette = widget->palette();
    palette.setColor(widget->backgroundRole(), colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QColor background(const QWidget *widget)
{
    return widget->palette().color(widget->backgroundRole());
}

void center_form(QWidget *form)
{
    const int left = screenWidthTwips() / 2 - toTwips(form->width()) / 2;
    const int top = screenHeightTwips() / 2 - toTwips(form->height()) / 2;
    form->move(twips(left), twips(top));
    setBackground(form, colours::dialog);
}

void fill_screen(QWidget *form)
{
    form->setGeometry(0, 0, twips(screenWidthTwips()), twips(screenHeightTwips() - 600));
    setBackground(form, colours::work);
}

int sharedAlpha() { return g_sharedAlpha; }

void set_alpha(QWidget *window, int alpha)
{
    if (!window) {
        showFailure(nullptr, QStringLiteral("Object variable not set"), QStringLiteral("set_alpha"));
        return;
    }
    window->window()->setWindowOpacity(qBound(0, alpha, 255) / 255.0);
}

void dim_home()
{
    g_sharedAlpha = 100;
    if (g_home)
        g_home->setBlocked(true);
}

void undim_home()
{
    g_sharedAlpha = 255;
    if (g_home)
        g_home->setBlocked(false);
}

void select_all(QLineEdit *box)
{
    const int start = box->cursorPosition();
    box->deselect();
    box->setSelection(start, int(box->text().size()) - start);
}

Home::~Home()
{
    if (g_home == this)
        g_home = nullptr;
}

Home *Home::instance() { return g_home; }

namespace session {
namespace {
QDateTime shownAt() { return g_home ? g_home->shownAt() : Clock::now(); }
} // namespace
QString userName() { return g_home ? g_home->userName() : QString(); }
QString userSrno() { return g_home ? g_home->userSrno() : QString(); }
QString dbDate() { return shownAt().toString(QStringLiteral("yyyy/MM/dd")); }
QString dbTime() { return shownAt().toString(QStringLiteral("hh:mm:ss")); }
} // namespace session
void Home::setInstance(Home *home) { g_home = home; }

} // namespace parcelon
