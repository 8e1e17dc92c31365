#pragma once
// Record builders: rows put into the register through the open session, with defaults a screen accepts,
// so a test names only what it is about. Fields carry the register's column names. Each returns the
// row's srno as the screens show it (text).
//
//     const QString owner = test::addOwner({.id = "111111111v", .house_no = "H-7"});
//     test::addLand({.guhasth = "H-7", .labn_owner_srno = owner, .balapa_no = "101"});
//     test::addDivision(test::kDivision, {test::kVillage, "lÿre"});
//
// Seeded rows carry the stamp of an earlier session (kSeedUser, kSeedDate, kSeedTime), never the one the
// screens write under the test clock, so a row the screen wrote is told from a seeded one.

#include <QString>
#include <QStringList>

namespace parcelon::test {

// The place every seeded owner lives in unless told otherwise: village 1 of division 1, as
// addDivision(kDivision, {kVillage}) makes it in a fresh register.
inline const QString kDivision = QStringLiteral("uyje,");
inline const QString kVillage = QStringLiteral("wdrjk");

inline const QString kSeedUser = QStringLiteral("Seed");
inline const QString kSeedDate = QStringLiteral("2026/01/02");
inline const QString kSeedTime = QStringLiteral("08:00:00");

// A row of `landowner`; an active owner of village 1 of division 1 (kDivision, kVillage), its place as
// the owner register's drop-downs write it ("1 - uyje,").
struct Owner
{
    QString id = QStringLiteral("111111111v");
    QString house_no = QStringLiteral("H-1");
    QString land_owner_name = QStringLiteral("mshd");
    QString ad1 = QStringLiteral("ad1");
    QString ad2 = QStringLiteral("ad2");
    QString ad3 = QStringLiteral("ad3");
    QString ad4 = QStringLiteral("ad4");
    QString samajika_qty = QStringLiteral("5");
    QString job = QStringLiteral("f.dúhd");
    QString amoun = QStringLiteral("120000");
    QString chak = QStringLiteral("1"); // active
    QString gamiya = QStringLiteral("1 - ") + kDivision;
    QString gama = QStringLiteral("1 - ") + kVillage;
    QString username = kSeedUser;
    QString date = kSeedDate;
    QString time = kSeedTime;
};
QString addOwner(const Owner &owner = {});

// A row of `land`; an active land under a permit. Name the household and the owner it belongs to. (Every
// field has a default, so a designated initializer may name any few of them.)
struct Land
{
    QString id {};
    QString guhasth {};
    QString labn_owner_srno {};
    QString balapa_no1 = QStringLiteral("ysñ");
    QString balapa_no = QStringLiteral("1");
    QString addre {};
    QString loan_sbawaya = QStringLiteral("il%sh");
    QString katti {};
    QString akkara1 {};
    QString akkara {};
    QString rut {};
    QString parchase {};
    QString aythiye_sbawaya {};
    QString wewe_name {};
    QString othe_land {};
    QString pewarima {};
    QString chack1 {};
    QString chack = QStringLiteral("1"); // active
    QString land_data {};
    QString akkara_only {};
    QString kottashaya {};
    QString gama {};
    QString p_name {};
    QString p_naya {};
    QString username = kSeedUser;
    QString date = kSeedDate;
    QString time = kSeedTime;
};
QString addLand(const Land &land = {});

// A division of `gamasewa_wasama` with its villages numbered 1, 2, ... in the order given; srno 0 takes
// the next free number. A division without villages gets no row (the register has none for it).
QString addDivision(const QString &name, const QStringList &villages, int srno = 0);

} // namespace parcelon::test
