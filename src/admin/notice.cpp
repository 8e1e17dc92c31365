#include "admin/notice.h"

#include <QMessageBox>

namespace parcelon {

void notice(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace parcelon
