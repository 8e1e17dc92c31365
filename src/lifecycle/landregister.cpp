#include "lifecycle/landregister.h"

#include "ui/handback.h"

#include <QApplication>
#include <QWidget>

namespace parcelon {

QWidget *openLandRegister(QWidget *opener)
{
    for (QWidget *w = opener; w; w = w->parentWidget()) {
        if (w->objectName() == QLatin1String("frmland"))
            return w;
    }
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("frmland") && w->isVisible())
            return w;
    }
    return nullptr;
}

void restoreLandRegister(QWidget *opener)
{
    if (QWidget *landRegister = openLandRegister(opener))
        HandBack(landRegister).press("cmdcha");
}

} // namespace parcelon
