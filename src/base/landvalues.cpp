#include "base/landvalues.h"

namespace parcelon {

const QStringList &permitKinds()
{
    static const QStringList entries {QStringLiteral("fkd;drsia Tmamq wxlh"), QStringLiteral("wjirm;% wxlh"),
        QStringLiteral("osukdm;% wxlh"), QStringLiteral("wkjir bvï")};
    return entries;
}

const QStringList &landNatures()
{
    static const QStringList entries {QStringLiteral("1- fkdoks"), QStringLiteral("2- uv"), QStringLiteral("3- f.dv")};
    return entries;
}

const QStringList &ownershipKinds()
{
    static const QStringList entries {QStringLiteral("1- Èukd m;%"), QStringLiteral("2- wjir m;%"),
        QStringLiteral("3- fkd;ßia Tmamq"), QStringLiteral("4- iskaklalr"), QStringLiteral("5- È¾. ld,sk nÿ"),
        QStringLiteral("6- foajd, bvï"), QStringLiteral("5- wkjir")};
    return entries;
}

} // namespace parcelon
