#include "ui/failure.h"

#include "base/dbsession.h"
#include "ui/messagebox.h"

#include <QCoreApplication>

#include <exception>

namespace parcelon {

QString applicationTitle() { return QStringLiteral("Parcelon"); }

void showFailure(QWidget *parent, const QString &description, const QString &source)
{
    messageBox(parent, applicationTitle(), description + QStringLiteral(" Source : ") + source,
        {MessageButtons::Ok, MessageKind::Failure, QStringLiteral("failure")});
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
