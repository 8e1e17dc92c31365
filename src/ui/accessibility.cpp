#include "ui/accessibility.h"

#include <QLabel>
#include <QWidget>

namespace parcelon {

void applyAccessibility(QWidget *form, std::initializer_list<std::pair<const char *, const char *>> labelBuddies)
{
    form->setAccessibleDescription(form->objectName());
    const QList<QWidget *> controls = form->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (!control->objectName().isEmpty() && !control->objectName().startsWith(QLatin1String("qt_")))
            control->setAccessibleDescription(control->objectName());
    }
    for (const auto &[label, box] : labelBuddies) {
        auto *caption = form->findChild<QLabel *>(QString::fromLatin1(label));
        auto *buddy = form->findChild<QWidget *>(QString::fromLatin1(box));
        if (caption && buddy)
            caption->setBuddy(buddy);
    }
}

} // namespace parcelon
