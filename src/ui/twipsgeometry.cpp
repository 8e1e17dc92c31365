#include "ui/twipsgeometry.h"

#include "ui/screen.h"

#include <QVariant>
#include <QWidget>

namespace parcelon::tw {
namespace {
constexpr const char *kLeft = "twipsLeft";
constexpr const char *kTop = "twipsTop";
constexpr const char *kWidth = "twipsWidth";
constexpr const char *kHeight = "twipsHeight";

int get(const QWidget *control, const char *name, int pixels)
{
    const QVariant value = control->property(name);
    return value.isValid() ? value.toInt() : toTwips(pixels);
}

void apply(QWidget *control)
{
    control->setGeometry(twips(left(control)), twips(top(control)), twips(width(control)), twips(height(control)));
}

void set(QWidget *control, const char *name, int value)
{
    // Keep the other three as they are before the first twips value lands.
    control->setProperty(kLeft, left(control));
    control->setProperty(kTop, top(control));
    control->setProperty(kWidth, width(control));
    control->setProperty(kHeight, height(control));
    control->setProperty(name, value);
    apply(control);
}
} // namespace

void place(QWidget *control, int l, int t, int w, int h)
{
    control->setProperty(kLeft, l);
    control->setProperty(kTop, t);
    control->setProperty(kWidth, w);
    control->setProperty(kHeight, h);
    apply(control);
}

void setLeft(QWidget *control, int value) { set(control, kLeft, value); }
void setTop(QWidget *control, int value) { set(control, kTop, value); }
void setWidth(QWidget *control, int value) { set(control, kWidth, value); }
void setHeight(QWidget *control, int value) { set(control, kHeight, value); }

int left(const QWidget *control) { return get(control, kLeft, control->x()); }
int top(const QWidget *control) { return get(control, kTop, control->y()); }
int width(const QWidget *control) { return get(control, kWidth, control->width()); }
int height(const QWidget *control) { return get(control, kHeight, control->height()); }

} // namespace parcelon::tw
