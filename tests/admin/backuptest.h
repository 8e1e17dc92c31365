#pragma once
// What the backup and restore tests share: a register's rows compared table by table, a register with
// something in every kind of column, and parcelon-setup --restore run as the office runs it.

#include "base/dbsession.h"
#include "support/fixture.h"
#include "support/records.h"
#include "tools/run.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>

#include <map>

namespace parcelon::test {

// Every user table: its rows, each as its cells (NULL told from ""), sorted.
using Snapshot = std::map<QString, QStringList>;

inline Snapshot snapshot(const QSqlDatabase &database = db().database())
{
    Snapshot tables;
    const QStringList names = database.tables(QSql::Tables);
    for (const QString &table : names) {
        if (table.startsWith(QLatin1String("sqlite_")))
            continue;
        QSqlQuery query(database);
        if (!query.exec(QStringLiteral("SELECT * FROM ") + table))
            continue;
        QStringList rows;
        while (query.next()) {
            QStringList cells;
            for (int c = 0; c < query.record().count(); ++c)
                cells << (query.isNull(c) ? QStringLiteral("<NULL>") : query.value(c).toString());
            rows << cells.join(QLatin1Char('\x1f'));
        }
        rows.sort();
        tables[table.toLower()] = rows;
    }
    return tables;
}

// A register with something in every kind of column: legacy text, quotes, empty texts and NULLs.
inline void seedRegister()
{
    addDivision(kDivision, {kVillage, QStringLiteral("lÿre")});
    const QString owner = addOwner({.id = QStringLiteral("111111111v"), .house_no = QStringLiteral("H-7")});
    addOwner({.id = QStringLiteral("222222222v"),
        .house_no = QStringLiteral("H-'8"),
        .land_owner_name = QStringLiteral("O'Brien \"x\"")});
    addLand({.guhasth = QStringLiteral("H-7"), .labn_owner_srno = owner, .balapa_no = QStringLiteral("101")});
    addLand({.guhasth = QStringLiteral("H-7"),
        .labn_owner_srno = owner,
        .balapa_no = QStringLiteral("102"),
        .addre = QString()});
    exec(QStringLiteral("INSERT INTO backup_d (backup_w, path, username) VALUES (?, ?, NULL)"),
        {QStringLiteral(" Backup "), QStringLiteral("/x/'y'/")});
    exec(QStringLiteral("INSERT INTO backup_coun (bbb, date) VALUES ('07:00:00', '2026/03/13')"));
    // Numbering that a restore must carry on: a deleted newest row leaves a gap.
    exec(QStringLiteral("INSERT INTO backup_coun (bbb, date) VALUES ('07:00:00', '2026/03/14')"));
    exec(QStringLiteral("DELETE FROM backup_coun WHERE date = '2026/03/14'"));
}

inline Finished restoreWithSetup(const QString &backup)
{
    return runProgram(QStringLiteral(PARCELON_SETUP), {QStringLiteral("--restore"), backup});
}

inline QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// The registers a restore kept beside the test's register (PostgreSQL keeps them as databases).
inline QStringList keptRegisters()
{
    QStringList kept;
    const QString current = db().dataSource().database;
    if (backend() != Backend::PostgreSQL) {
        const QFileInfo info(current);
        for (const QString &name :
            info.dir().entryList({info.fileName() + QStringLiteral(".before-restore-*")}, QDir::Files))
            kept << info.dir().filePath(name);
        return kept;
    }
    QSqlQuery query(db().database());
    query.exec(QStringLiteral("SELECT datname FROM pg_database WHERE datname LIKE '%1!_before!_restore!_%' ESCAPE '!'")
                   .arg(current));
    while (query.next())
        kept << query.value(0).toString();
    return kept;
}

inline void dropKeptRegisters(const QStringList &kept)
{
    for (const QString &name : kept) {
        if (backend() != Backend::PostgreSQL) {
            QFile::remove(name);
            continue;
        }
        QSqlQuery(db().database()).exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    }
}

} // namespace parcelon::test
