#pragma once
// Making a screen's controls: each is parented and named, so the screen's code, the other screens, tests
// and accessibility tools address it by the name the register's screens have always used.

#include "ui/twipsgeometry.h"

#include <QString>
#include <QWidget>

namespace parcelon {

template <typename W> W *named(QWidget *parent, const char *name, W *widget)
{
    widget->setParent(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// A named control placed in twips.
template <typename W> W *control(QWidget *parent, W *widget, const char *name, int left, int top, int width, int height)
{
    named(parent, name, widget);
    tw::place(widget, left, top, width, height);
    return widget;
}

} // namespace parcelon
