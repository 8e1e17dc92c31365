#include "register.h"

#include "base/landvalues.h"

#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <stdexcept>

namespace parcelon::bench {
namespace {
QSqlQuery prepared(QSqlDatabase database, const QString &sql)
{
    QSqlQuery query(database);
    if (!query.prepare(sql))
        throw std::runtime_error(query.lastError().text().toStdString());
    return query;
}

void run(QSqlQuery &query, const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec())
        throw std::runtime_error(query.lastError().text().toStdString());
}

// Legacy-text names made of a few real syllables, so sorting and LIKE see realistic text.
QString name(QRandomGenerator &random)
{
    static const char *const syllables[] = {"ks", "u,", "rK", "isx", "y", "fmf", "rd", "lre", "Kd", "r;", "ak", "iq",
        "ch", ";s", ",l", "mq", ";d", "ÿj", "wk", "qr"};
    QString text;
    const int words = 2 + int(random.bounded(2));
    for (int w = 0; w < words; ++w) {
        if (w)
            text += QLatin1Char(' ');
        const int parts = 2 + int(random.bounded(3));
        for (int p = 0; p < parts; ++p)
            text += QString::fromUtf8(syllables[random.bounded(int(std::size(syllables)))]);
    }
    return text;
}
} // namespace

void fillRegister(QSqlDatabase database, const Size &size)
{
    QRandomGenerator random(20261210); // the same register every run
    if (!database.transaction())
        throw std::runtime_error(database.lastError().text().toStdString());

    QSqlQuery village = prepared(database,
        QStringLiteral("INSERT INTO gamasewa_wasama (srno, gama_wasama, gsrno, gama, username, date, time) VALUES (?, "
                       "?, ?, ?, 'Chief', '2026/01/05', '09:00:00')"));
    for (int d = 1; d <= size.divisions; ++d) {
        const QString division = name(random);
        for (int v = 1; v <= size.villagesPerDivision; ++v)
            run(village, {d, division, QString::number(v), name(random)});
    }

    // Households of one to five members; the first member of each has an identity number.
    QSqlQuery owner = prepared(database,
        QStringLiteral("INSERT INTO landowner (srno, id, house_no, land_owner_name, ad1, ad2, ad3, ad4, samajika_qty, "
                       "job, amoun, chak, gamiya, gama, username, date, time) "
                       "VALUES (?, ?, ?, ?, ?, '', '', '', ?, '', '', ?, ?, ?, 'Chief', '2026/01/05', '09:00:00')"));
    std::vector<std::pair<QString, QString>> holders; // owner srno, household
    int house = 0;
    for (int o = 1; o <= size.owners;) {
        ++house;
        const int members = 1 + int(random.bounded(5));
        const int d = 1 + int(random.bounded(size.divisions));
        const int v = 1 + int(random.bounded(size.villagesPerDivision));
        for (int m = 0; m < members && o <= size.owners; ++m, ++o) {
            const QString id = m == 0 || random.bounded(3) ? QStringLiteral("%1v").arg(100000000 + o) : QString();
            run(owner,
                {o, id, QString::number(house), name(random), name(random), QString::number(members),
                    random.bounded(50) ? QStringLiteral("1") : QStringLiteral("0"), QStringLiteral("%1 - x").arg(d),
                    QStringLiteral("%1 - y").arg(v)});
            if (m == 0)
                holders.emplace_back(QString::number(o), QString::number(house));
        }
    }

    QSqlQuery land = prepared(database,
        QStringLiteral("INSERT INTO land (srno, id, guhasth, labn_owner_srno, balapa_no1, balapa_no, addre, "
                       "loan_sbawaya, katti, akkara1, akkara, rut, parchase, "
                       "aythiye_sbawaya, wewe_name, othe_land, pewarima, chack1, chack, land_data, akkara_only, "
                       "kottashaya, gama, p_name, p_naya, username, date, time) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, '1', '2 - wlalr', '1', '2', '20', ?, ?, '2- "
                       "ke;', ?, '0', ?, '2015/03/10', '1.625', ?, ?, '', ' ', 'Chief', '2026/01/05', '09:00:00')"));
    QSqlQuery boundary = prepared(database,
        QStringLiteral("INSERT INTO hathara_maym (landsrno, landno1, landno, dakuna, uthuru, batahira, naganahira) "
                       "VALUES (?, ?, ?, 'mdr', 'we,', 'ysia bvu', 'uy jej')"));
    QSqlQuery history = prepared(database,
        QStringLiteral("INSERT INTO land_pera (land_srno, balapa_no1, balapa_no, chack) VALUES (?, ?, ?, '1')"));
    QSqlQuery succession = prepared(database,
        QStringLiteral("INSERT INTO pasuhimikam (landowner_srno, newcus_srno, land_srno, land_wargaya, landno) VALUES "
                       "(?, ?, ?, ?, ?)"));
    static const char *const kinds[] = {"fkd;drsia Tmamq wxlh", "wjirm;% wxlh", "osukdm;% wxlh", "wkjir bvï"};
    // An office knows a few hundred tanks, each irrigating many lands.
    QRandomGenerator tankRandom(4242);
    QStringList tanks;
    for (int t = 0; t < 400; ++t)
        tanks << name(tankRandom);
    for (int l = 1; l <= size.lands; ++l) {
        const auto &[holder, household] = holders[size_t(random.bounded(int(holders.size())))];
        const QString kind = QString::fromUtf8(kinds[random.bounded(4)]);
        const QString permit = QString::number(10000 + l);
        const bool inForce = random.bounded(10) != 0;
        const int d = 1 + int(random.bounded(size.divisions));
        // Most lands are of the first nature and held under the first kind of ownership; every value occurs.
        const QString nature = landNatures().at(random.bounded(4) == 0 ? 1 + int(random.bounded(2)) : 0);
        const int ownership = random.bounded(10) < 6 ? 0 : 1 + int(random.bounded(int(ownershipKinds().size()) - 1));
        run(land,
            {l, QStringLiteral("%1v").arg(100000000 + holder.toInt()), household, holder, kind, permit, name(random),
                nature, ownershipKinds().at(ownership), tanks.at(tankRandom.bounded(int(tanks.size()))),
                inForce ? QStringLiteral("il%sh") : QStringLiteral("wl%sh"),
                inForce ? QStringLiteral("1") : QStringLiteral("0"), QStringLiteral("%1 - x").arg(d),
                QStringLiteral("%1 - y").arg(1 + random.bounded(size.villagesPerDivision))});
        run(boundary, {QString::number(l), kind, permit});
        if (l % 10 == 0)
            run(history, {QString::number(l), kind, QString::number(l)});
        if (l % 25 == 0)
            run(succession,
                {holder, QString::number(1 + random.bounded(size.owners)), QString::number(l), kind, permit});
    }
    if (!database.commit())
        throw std::runtime_error(database.lastError().text().toStdString());
}

} // namespace parcelon::bench
