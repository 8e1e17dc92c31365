#include "base/permissions.h"

#include "base/dbsession.h"

namespace parcelon {

QString permissionFlag(const QString &userSrno, int flag)
{
    std::optional<Query> row = db().newest(QStringLiteral("awasara"), QStringLiteral("user_srno"), userSrno);
    if (!row)
        return {};
    return row->value(QStringLiteral("a%1").arg(flag));
}

int permissionLevel(const QString &userSrno, int flag)
{
    const QString text = permissionFlag(userSrno, flag);
    if (text.isEmpty() || !text.at(0).isDigit())
        return NoPermission;
    return text.at(0).digitValue();
}

} // namespace parcelon
