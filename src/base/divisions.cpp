#include "base/divisions.h"

#include "base/dbsession.h"

namespace parcelon {

std::vector<NumberedName> divisions()
{
    Query rows
        = db().select(QStringLiteral("SELECT srno, MIN(gama_wasama) FROM gamasewa_wasama GROUP BY srno ORDER BY srno"));
    std::vector<NumberedName> out;
    while (rows.next()) {
        if (rows.value(0).toInt() != 0)
            out.push_back({rows.value(0), rows.value(1)});
    }
    return out;
}

std::vector<NumberedName> villagesOf(const QString &divisionNumber)
{
    Query rows = db().select(
        QStringLiteral("SELECT gsrno, gama FROM gamasewa_wasama WHERE srno = ? ORDER BY LENGTH(gsrno), gsrno"),
        {Dialect::key(divisionNumber)});
    std::vector<NumberedName> out;
    while (rows.next())
        out.push_back({rows.value(0), rows.value(1)});
    return out;
}

} // namespace parcelon
