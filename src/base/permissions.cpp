#include "base/permissions.h"

#include "base/dbsession.h"

namespace parcelon {

QString flagColumn(Flag flag) { return QStringLiteral("a%1").arg(int(flag)); }

QString permissionFlag(const QString &userSrno, Flag flag)
{
    std::optional<Query> row = db().newest(QStringLiteral("awasara"), QStringLiteral("user_srno"), userSrno);
    if (!row)
        return {};
    return row->value(flagColumn(flag));
}

bool isAdministrator(const QString &userName) { return userName == QLatin1String("Chief"); }

int levelOf(const QString &flagText)
{
    if (flagText.isEmpty() || !flagText.at(0).isDigit())
        return NoPermission;
    return flagText.at(0).digitValue();
}

int permissionLevel(const QString &userSrno, Flag flag) { return levelOf(permissionFlag(userSrno, flag)); }

} // namespace parcelon
