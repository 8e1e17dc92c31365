#include "ui/application.h"

#include <QApplication>
#include <QWidget>

namespace parcelon {
namespace {
std::function<void()> &ending()
{
    static std::function<void()> end = [] {
        const QList<QWidget *> windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows)
            window->close();
        QApplication::quit();
    };
    return end;
}
} // namespace

void endApplication() { ending()(); }
void setEndApplication(std::function<void()> end) { ending() = std::move(end); }

} // namespace parcelon
