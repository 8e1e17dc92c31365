#include "setup.h"

#include "base/passwords.h"
#include "base/sqlscript.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>

#include <stdexcept>

namespace parcelon::setup {
namespace {
void run(QSqlDatabase database, const QString &sql, const QVariantList &values = {})
{
    QSqlQuery query(database);
    // PostgreSQL prepares only queries and changes of rows: the schema's statements run as they are.
    if (values.isEmpty()) {
        if (!query.exec(sql))
            throw std::runtime_error((query.lastError().text() + QStringLiteral(": ") + sql).toStdString());
        return;
    }
    if (!query.prepare(sql))
        throw std::runtime_error((query.lastError().text() + QStringLiteral(": ") + sql).toStdString());
    for (const QVariant &v : values)
        query.addBindValue(v);
    if (!query.exec())
        throw std::runtime_error((query.lastError().text() + QStringLiteral(": ") + sql).toStdString());
}

QString lastSrno(QSqlDatabase database, const QString &table)
{
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("SELECT MAX(srno) FROM ") + table) || !query.next())
        throw std::runtime_error(query.lastError().text().toStdString());
    return query.value(0).toString();
}

void addAccount(QSqlDatabase database, const QString &name, const QString &password, const QStringList &flags)
{
    run(database,
        QStringLiteral(
            "INSERT INTO user_loging (username, password1, password2, name, chack) VALUES (?, ?, ?, ?, '1')"),
        {name, hashPassword(password), hashPassword(password), name});
    QVariantList values {lastSrno(database, QStringLiteral("user_loging")), name};
    for (const QString &flag : flags)
        values << flag;
    run(database,
        QStringLiteral("INSERT INTO awasara (user_srno, username, a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        values);
}
} // namespace

void createSchema(QSqlDatabase database, const QString &engine)
{
    QFile file(QStringLiteral(":/schema/%1.sql").arg(engine));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("schema not found");
    for (const QString &statement : splitSqlScript(QString::fromUtf8(file.readAll())))
        run(database, statement);
}

void buildRegister(QSqlDatabase database, const QString &engine, const QString &chiefPassword, bool demo)
{
    // Both engines change their schema inside a transaction: a register is made whole or not at all, so
    // a failed run leaves nothing that the next run would refuse as "a register already".
    if (!database.transaction())
        throw std::runtime_error(database.lastError().text().toStdString());
    try {
        createSchema(database, engine);
        seedAccounts(database, chiefPassword);
        if (demo)
            seedDemo(database);
        // SQLite keeps planner statistics only when asked.
        if (engine == QLatin1String("sqlite"))
            run(database, QStringLiteral("ANALYZE"));
        if (!database.commit())
            throw std::runtime_error(database.lastError().text().toStdString());
    } catch (...) {
        database.rollback();
        throw;
    }
}

void seedAccounts(QSqlDatabase database, const QString &chiefPassword)
{
    // Chief may do everything: level 4 on the two register flags, 3 ("all") on the others.
    QStringList chief(2, QStringLiteral("4 - ish¨ wjir"));
    while (chief.size() < 11)
        chief << QStringLiteral("3 - ish¨ wjir");
    addAccount(database, QStringLiteral("Chief"), chiefPassword, chief);
    addAccount(database, QStringLiteral("All User"), QString(QLatin1String("")),
        QStringList(11, QStringLiteral("2 - ne,su muKhs")));
    run(database,
        QStringLiteral("INSERT INTO detels (codeno, name, ad1, ad2, ad3, ad4, teno, faxno, emailno, web, date) "
                       "VALUES ('', '', '', '', '', '', '', '', '', '', '')"));
}

QString generatePassword()
{
    // No look-alike characters: the password is read off a terminal once and typed.
    static const QString alphabet = QStringLiteral("abcdefghjkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789");
    QString password;
    for (int i = 0; i < 12; ++i)
        password += alphabet.at(int(QRandomGenerator::system()->bounded(alphabet.size())));
    return password;
}

} // namespace parcelon::setup

namespace parcelon::setup {
namespace {
struct DemoOwner
{
    const char *id;
    const char *name;
    const char *address;
};
} // namespace

void seedDemo(QSqlDatabase database)
{
    // Names and places in legacy text, as a clerk would have typed them in PARAS-N.
    const QString user = QStringLiteral("Chief");
    const QString date = QStringLiteral("2026/01/05");
    const QString time = QStringLiteral("09:30:00");
    run(database, QStringLiteral("UPDATE detels SET codeno = ?, name = ?, ad1 = ?, teno = ?"),
        {QStringLiteral("NCP/07"), QStringLiteral("m%dfoaYSh f,alï ld¾hd,h - uyje,"), QStringLiteral("uyje,"),
            QStringLiteral("025-2222222")});

    struct Division
    {
        const char *name;
        std::vector<const char *> villages;
    };
    const std::vector<Division> divisions = {
        {"wkqrdOmqr", {"uyje,", "r;akmqr", "ud;f,a"}},
        {"fmdf,dkakrej", {"fld;auf,a", "uykqjr"}},
    };
    std::vector<std::pair<QString, QString>> places; // division entry, village entry
    int divisionNo = 0;
    for (const Division &division : divisions) {
        ++divisionNo;
        int villageNo = 0;
        for (const char *village : division.villages) {
            ++villageNo;
            run(database,
                QStringLiteral("INSERT INTO gamasewa_wasama (srno, gama_wasama, gsrno, gama, username, date, time) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                {QString::number(divisionNo), QString::fromUtf8(division.name), QString::number(villageNo),
                    QString::fromUtf8(village), user, date, time});
            places.emplace_back(QStringLiteral("%1 - %2").arg(divisionNo).arg(QString::fromUtf8(division.name)),
                QStringLiteral("%1 - %2").arg(villageNo).arg(QString::fromUtf8(village)));
        }
    }

    const std::vector<std::vector<DemoOwner>> households = {
        {{"671234567v", "tÉ' tï' rKisxy", "uyje,"}, {"702345678v", "ksu,d rKisxy", "uyje,"},
            {"", "iqks,a rKisxy", "uyje,"}},
        {{"583456789v", "ví' lreKdr;ak", "r;akmqr"}, {"614567890x", "tia' fmfrard", "r;akmqr"}},
        {{"795678901v", "iqks,a ch;s,l", "fld;auf,a"}},
    };
    const QStringList boundaries
        = {QStringLiteral("mdr"), QStringLiteral("we,"), QStringLiteral("ysia bvu"), QStringLiteral("uy jej")};
    int house = 100;
    int permit = 1000;
    size_t place = 0;
    for (const auto &household : households) {
        ++house;
        const auto &[division, village] = places[place++ % places.size()];
        bool first = true;
        for (const DemoOwner &owner : household) {
            run(database,
                QStringLiteral(
                    "INSERT INTO landowner (id, house_no, land_owner_name, ad1, ad2, ad3, ad4, samajika_qty, "
                    "job, amoun, chak, gamiya, gama, username, date, time) "
                    "VALUES (?, ?, ?, ?, '', '', '', ?, '', '', '1', ?, ?, ?, ?, ?)"),
                {QString::fromUtf8(owner.id), QString::number(house), QString::fromUtf8(owner.name),
                    QString::fromUtf8(owner.address), QString::number(household.size()), division, village, user, date,
                    time});
            if (!first || !*owner.id)
                continue;
            first = false;
            // The head of each household holds two lands.
            const QString ownerSrno = lastSrno(database, QStringLiteral("landowner"));
            for (int l = 0; l < 2; ++l) {
                const QString permitNo = QString::number(++permit);
                const QString kind = l == 0 ? QStringLiteral("osukdm;% wxlh") : QStringLiteral("wjirm;% wxlh");
                run(database,
                    QStringLiteral("INSERT INTO land (id, guhasth, labn_owner_srno, balapa_no1, balapa_no, addre, "
                                   "loan_sbawaya, katti, akkara1, akkara, rut, parchase, aythiye_sbawaya, wewe_name, "
                                   "othe_land, pewarima, chack1, chack, land_data, akkara_only, kottashaya, gama, "
                                   "p_name, p_naya, username, date, time) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                   "?, ?, '2- ke;', 'il%sh', '0', '1', ?, ?, ?, ?, '', ' ', ?, ?, ?)"),
                    {QString::fromUtf8(owner.id), QString::number(house), ownerSrno, kind, permitNo,
                        QString::fromUtf8(owner.address), l == 0 ? QStringLiteral("2- uv") : QStringLiteral("3- f.dv"),
                        QString::number(l + 1), QStringLiteral("2 - wlalr"), QString::number(l + 1),
                        QStringLiteral("2"), QStringLiteral("20"),
                        l == 0 ? QStringLiteral("1- Èukd m;%") : QStringLiteral("2- wjir m;%"),
                        QStringLiteral("uy jej"), QStringLiteral("2015/03/1%1").arg(l),
                        l == 0 ? QStringLiteral("1.625") : QStringLiteral("2.625"), division, village, user, date,
                        time});
                const QString landSrno = lastSrno(database, QStringLiteral("land"));
                run(database,
                    QStringLiteral("INSERT INTO hathara_maym (landsrno, landno1, landno, dakuna, uthuru, batahira, "
                                   "naganahira) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                    {landSrno, kind, permitNo, boundaries[0], boundaries[1], boundaries[2], boundaries[3]});
            }
        }
    }
    run(database, QStringLiteral("INSERT INTO nadayo (nathisambandaya) VALUES (?)"), {QStringLiteral("mq;d")});
    run(database, QStringLiteral("INSERT INTO nadayo (nathisambandaya) VALUES (?)"), {QStringLiteral("ÿj")});
}

} // namespace parcelon::setup
