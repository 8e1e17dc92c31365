#include "ui/screen.h"

#include "ui/failure.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPalette>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace parcelon {
namespace {
int g_sharedAlpha = 255;

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

QColor background(const QWidget *widget) { return widget->palette().color(widget->backgroundRole()); }

void center_form(QWidget *form)
{
    const int left = screenWidthTwips() / 2 - toTwips(form->width()) / 2;
    const int top = screenHeightTwips() / 2 - toTwips(form->height()) / 2;
    form->move(twips(left), twips(top));
    setBackground(form, colours::dialog);
}

void cover_main_menu(QWidget *form)
{
    QRect area;
    if (auto *home = dynamic_cast<QWidget *>(Home::instance()))
        area = home->geometry();
    else if (const QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->geometry();
    area.setHeight(std::max(0, area.height() - twips(600)));
    QMargins frame;
    if (form->isVisible()) {
        const QRect outer = form->frameGeometry();
        const QRect client = form->geometry();
        frame = QMargins(client.left() - outer.left(), client.top() - outer.top(), outer.right() - client.right(),
            outer.bottom() - client.bottom());
    }
    form->setGeometry(area.marginsRemoved(frame));
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
    if (Home *home = Home::instance())
        home->setBlocked(true);
}

void undim_home()
{
    g_sharedAlpha = 255;
    if (Home *home = Home::instance())
        home->setBlocked(false);
}

void select_all(QLineEdit *box)
{
    const int start = box->cursorPosition();
    box->deselect();
    box->setSelection(start, int(box->text().size()) - start);
}

} // namespace parcelon
