#include "reports/reportscreens.h"

#include "ui/legacyfont.h"
#include "ui/twipsgeometry.h"

#include <QRadioButton>

namespace parcelon {

QRadioButton *optionButton(QWidget *form, const char *name, const QString &caption, int left, int top, int width)
{
    auto *option = new QRadioButton(caption, form);
    option->setObjectName(QLatin1String(name));
    option->setFont(parasFont(12));
    option->setAutoFillBackground(true);
    tw::place(option, left, top, width, 400);
    return option;
}

} // namespace parcelon
