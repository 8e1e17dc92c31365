#include "ui/failure.h"

#include "base/dbsession.h"

#include <QCoreApplication>
#include <QMessageBox>

#include <exception>

namespace parcelon {

QString applicationTitle() { return QStringLiteral("Parcelon"); }

void showFailure(QWidget *parent, const QString &description, const QString &source)
{
    QMessageBox box(QMessageBox::Critical, applicationTitle(), description + QStringLiteral(" Source : ") + source,
        QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("failure"));
    box.exec();
}

bool guarded(QWidget *screen, const std::function<void()> &handler)
{
    try {
        handler();
        return true;
    } catch (const DbError &error) {
        showFailure(screen, error.description, error.source);
    } catch (const std::exception &error) {
        showFailure(screen, QString::fromLocal8Bit(error.what()), applicationTitle());
    }
    return false;
}

} // namespace parcelon
