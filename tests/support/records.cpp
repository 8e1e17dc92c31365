#include "support/records.h"

#include "base/dbsession.h"
#include "support/fixture.h"

#include <QVariantList>

#include <utility>
#include <vector>

namespace parcelon::test {
namespace {
using Columns = std::vector<std::pair<const char *, QString>>;

QString insert(const QString &table, const Columns &columns)
{
    QStringList names;
    QStringList marks;
    QVariantList values;
    for (const auto &[name, value] : columns) {
        names << QString::fromLatin1(name);
        marks << QStringLiteral("?");
        values << value;
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    return QString::number(db().insert(table, sql, values));
}
} // namespace

QString addOwner(const Owner &o)
{
    return insert(QStringLiteral("landowner"),
        {{"id", o.id}, {"house_no", o.house_no}, {"land_owner_name", o.land_owner_name}, {"ad1", o.ad1}, {"ad2", o.ad2},
            {"ad3", o.ad3}, {"ad4", o.ad4}, {"samajika_qty", o.samajika_qty}, {"job", o.job}, {"amoun", o.amoun},
            {"chak", o.chak}, {"gamiya", o.gamiya}, {"gama", o.gama}, {"username", o.username}, {"date", o.date},
            {"time", o.time}});
}

QString addLand(const Land &l)
{
    return insert(QStringLiteral("land"),
        {{"id", l.id}, {"guhasth", l.guhasth}, {"labn_owner_srno", l.labn_owner_srno}, {"balapa_no1", l.balapa_no1},
            {"balapa_no", l.balapa_no}, {"addre", l.addre}, {"loan_sbawaya", l.loan_sbawaya}, {"katti", l.katti},
            {"akkara1", l.akkara1}, {"akkara", l.akkara}, {"rut", l.rut}, {"parchase", l.parchase},
            {"aythiye_sbawaya", l.aythiye_sbawaya}, {"wewe_name", l.wewe_name}, {"othe_land", l.othe_land},
            {"pewarima", l.pewarima}, {"chack1", l.chack1}, {"chack", l.chack}, {"land_data", l.land_data},
            {"akkara_only", l.akkara_only}, {"kottashaya", l.kottashaya}, {"gama", l.gama}, {"p_name", l.p_name},
            {"p_naya", l.p_naya}, {"username", l.username}, {"date", l.date}, {"time", l.time}});
}

QString addDivision(const QString &name, const QStringList &villages, int srno)
{
    if (srno <= 0)
        srno = db().scalar(QStringLiteral("SELECT COALESCE(MAX(srno), 0) + 1 FROM gamasewa_wasama")).toInt();
    for (int i = 0; i < villages.size(); ++i)
        db().execute(
            QStringLiteral("INSERT INTO gamasewa_wasama (srno, gama_wasama, gsrno, gama, username, date, time) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?)"),
            {srno, name, QString::number(i + 1), villages.at(i), kSeedUser, kSeedDate, kSeedTime});
    return QString::number(srno);
}

} // namespace parcelon::test
