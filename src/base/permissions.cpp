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

int permissionLevel(const QString &userSrno, Flag flag)
{
    const QString text = permissionFlag(userSrno, flag);
    if (text.isEmpty() || !text.at(0).isDigit())
        return NoPermission;
    return text.at(0).digitValue();
}

} // namespace parcelon
