#include "base/backupcheck.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <sqlite3.h>
#include <unistd.h>

#include <functional>
#include <vector>

namespace parcelon {
namespace {

bool isBusy(int rc) { return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED; }

// Runs one statement, handing each row to `row`; SQLITE_DONE when it ran to its end.
int each(sqlite3 *connection, const QString &sql, const std::function<void(sqlite3_stmt *)> &row = {})
{
    sqlite3_stmt *statement = nullptr;
    int rc = sqlite3_prepare_v2(connection, sql.toUtf8().constData(), -1, &statement, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        if (row)
            row(statement);
    sqlite3_finalize(statement);
    return rc;
}

QString text(sqlite3_stmt *statement, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, column)));
}

QString quoted(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString uniqueName(const QString &purpose)
{
    static QAtomicInt counter;
    return QStringLiteral("parcelon_%1_%2_%3_%4")
        .arg(purpose)
        .arg(getpid())
        .arg(counter.fetchAndAddRelaxed(1))
        .arg(QDateTime::currentMSecsSinceEpoch() % 100000000);
}

} // namespace

qlonglong RegisterCounts::totalRows() const
{
    qlonglong total = 0;
    for (const auto &[table, count] : rows)
        total += count;
    return total;
}

QString RegisterCounts::describe() const
{
    return QStringLiteral("%1 tables, %2 rows, schema version %3").arg(rows.size()).arg(totalRows()).arg(version);
}

QString sqliteCounts(sqlite3 *connection, RegisterCounts *counts, bool *busy)
{
    counts->rows.clear();
    counts->version = 0;
    const auto failed = [&](int rc) {
        if (busy)
            *busy = isBusy(rc);
        return QString::fromUtf8(sqlite3_errmsg(connection));
    };
    std::vector<QString> tables;
    int rc = each(connection,
        QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite!_%' ESCAPE '!'"),
        [&](sqlite3_stmt *row) { tables.push_back(text(row, 0)); });
    if (rc != SQLITE_DONE)
        return failed(rc);
    for (const QString &table : tables) {
        rc = each(connection, QStringLiteral("SELECT COUNT(*) FROM ") + quoted(table),
            [&](sqlite3_stmt *row) { counts->rows[table.toLower()] = sqlite3_column_int64(row, 0); });
        if (rc != SQLITE_DONE)
            return failed(rc);
    }
    if (!counts->rows.count(QStringLiteral("parcelon_schema")))
        return QStringLiteral("it is not a Parcelon register (it has no schema version)");
    rc = each(connection, QStringLiteral("SELECT version FROM parcelon_schema"),
        [&](sqlite3_stmt *row) { counts->version = sqlite3_column_int(row, 0); });
    if (rc != SQLITE_DONE)
        return failed(rc);
    if (counts->version <= 0)
        return QStringLiteral("it is not a Parcelon register (it has no schema version)");
    return {};
}

QString inspectSqliteFile(const QString &file, RegisterCounts *counts)
{
    QFile head(file);
    if (!head.open(QIODevice::ReadOnly))
        return QStringLiteral("it cannot be read");
    if (head.read(16) != QByteArray("SQLite format 3\0", 16))
        return QStringLiteral("it is not an SQLite database");
    head.close();
    sqlite3 *connection = nullptr;
    QString problem;
    if (sqlite3_open_v2(file.toUtf8().constData(), &connection, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        problem = QStringLiteral("it cannot be opened: %1").arg(QString::fromUtf8(sqlite3_errmsg(connection)));
    } else {
        sqlite3_busy_timeout(connection, kLockWaitMs);
        QStringList findings;
        const int rc = each(connection, QStringLiteral("PRAGMA integrity_check(20)"),
            [&](sqlite3_stmt *row) { findings << text(row, 0); });
        if (rc != SQLITE_DONE)
            problem
                = QStringLiteral("it fails the integrity check: %1").arg(QString::fromUtf8(sqlite3_errmsg(connection)));
        else if (findings != QStringList {QStringLiteral("ok")})
            problem = QStringLiteral("it fails the integrity check: %1").arg(findings.join(QStringLiteral("; ")));
        else if (each(connection, QStringLiteral("BEGIN")) == SQLITE_DONE) {
            problem = sqliteCounts(connection, counts);
            each(connection, QStringLiteral("COMMIT"));
        }
    }
    sqlite3_close(connection);
    return problem;
}

QString compareCounts(const RegisterCounts &expected, const RegisterCounts &found)
{
    if (expected.version != found.version)
        return QStringLiteral("it holds schema version %1 instead of %2").arg(found.version).arg(expected.version);
    for (const auto &[table, rows] : expected.rows) {
        const auto it = found.rows.find(table);
        if (it == found.rows.end())
            return QStringLiteral("the table %1 is missing").arg(table);
        if (it->second != rows)
            return QStringLiteral("the table %1 holds %2 rows instead of %3").arg(table).arg(it->second).arg(rows);
    }
    for (const auto &[table, rows] : found.rows)
        if (!expected.rows.count(table))
            return QStringLiteral("it holds a table %1 the register has not").arg(table);
    return {};
}

PgLink::PgLink(const PgConnection &connection)
{
    static QAtomicInt counter;
    m_name = QStringLiteral("pglink-%1").arg(counter.fetchAndAddRelaxed(1));
    QSqlDatabase database = connection.addDatabase(m_name, QStringLiteral("connect_timeout=10"));
    m_open = database.open();
    if (!m_open)
        m_error = database.lastError().text();
}

PgLink::~PgLink()
{
    {
        QSqlDatabase database = QSqlDatabase::database(m_name, false);
        database.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase PgLink::database() const { return QSqlDatabase::database(m_name, false); }

QString PgLink::exec(const QString &sql)
{
    QSqlQuery query(database());
    if (query.exec(sql))
        return {};
    const QString said = query.lastError().databaseText().trimmed();
    return said.isEmpty() ? query.lastError().text() : said;
}

std::optional<QString> PgLink::value(const QString &sql)
{
    QSqlQuery query(database());
    if (!query.exec(sql) || !query.next())
        return std::nullopt;
    return query.value(0).toString();
}

QString pgCounts(PgLink &link, RegisterCounts *counts)
{
    counts->rows.clear();
    counts->version = 0;
    std::vector<QString> tables;
    {
        // Read whole before the counts run: a forward-only result streams.
        QSqlQuery query(link.database());
        if (!query.exec(QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = "
                                       "current_schema() AND table_type = 'BASE TABLE'")))
            return query.lastError().databaseText().trimmed();
        while (query.next())
            tables.push_back(query.value(0).toString());
    }
    for (const QString &table : tables) {
        QSqlQuery query(link.database());
        if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM ") + quoted(table)) || !query.next())
            return query.lastError().databaseText().trimmed();
        counts->rows[table.toLower()] = query.value(0).toLongLong();
    }
    if (!counts->rows.count(QStringLiteral("parcelon_schema")))
        return QStringLiteral("it is not a Parcelon register (it has no schema version)");
    counts->version = link.value(QStringLiteral("SELECT version FROM parcelon_schema")).value_or(QString()).toInt();
    if (counts->version <= 0)
        return QStringLiteral("it is not a Parcelon register (it has no schema version)");
    return {};
}

ScratchDatabase::ScratchDatabase(const PgConnection &like, const QString &purpose)
    : m_connection(like)
    , m_admin(like)
{
    m_connection.database = uniqueName(purpose);
    PgLink admin(m_admin);
    if (!admin.isOpen()) {
        m_error = admin.error();
        return;
    }
    // The same encoding and collation as the register, so that what is restored into it compares alike.
    QSqlQuery settings(admin.database());
    QString clauses;
    if (settings.exec(QStringLiteral("SELECT pg_encoding_to_char(encoding), datcollate, datctype FROM pg_database "
                                     "WHERE datname = current_database()"))
        && settings.next())
        clauses = QStringLiteral(" ENCODING '%1' LC_COLLATE '%2' LC_CTYPE '%3'")
                      .arg(settings.value(0).toString(), settings.value(1).toString(), settings.value(2).toString());
    settings.finish();
    m_error = admin.exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0%2").arg(m_connection.database, clauses));
    m_created = m_error.isEmpty();
}

ScratchDatabase::~ScratchDatabase()
{
    if (!m_created)
        return;
    PgLink admin(m_admin);
    admin.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_connection.database));
}

BackupResult restoreDumpInto(const PgConnection &target, const QString &file)
{
    return runProgram(postgresProgram(QStringLiteral("pg_restore")),
        target.arguments(true)
            + QStringList {QStringLiteral("--no-owner"), QStringLiteral("--no-privileges"),
                QStringLiteral("--single-transaction"), QStringLiteral("--exit-on-error"), file},
        target.environment());
}

BackupResult verifyPgDump(const DataSource &source, const QString &file, const RegisterCounts *expected)
{
    QByteArray list;
    const PgConnection connection = PgConnection::of(source);
    BackupResult result = runProgram(postgresProgram(QStringLiteral("pg_restore")), {QStringLiteral("--list"), file},
        connection.environment(), 600000, &list);
    if (!result.ok)
        return BackupResult::failed(QStringLiteral("it cannot be read: %1").arg(result.error));
    // Table of contents lines: "<id>; <oid> <oid> TABLE DATA <schema> <table> <owner>".
    QStringList withData;
    for (const QByteArray &line : list.split('\n')) {
        const QList<QByteArray> words = line.simplified().split(' ');
        const int at = words.indexOf("DATA");
        if (at > 0 && words.at(at - 1) == "TABLE" && at + 2 < words.size())
            withData << QString::fromUtf8(words.at(at + 2)).toLower();
    }
    if (!withData.contains(QStringLiteral("parcelon_schema")))
        return BackupResult::failed(QStringLiteral("it is not a Parcelon register (it has no schema version)"));
    if (expected)
        for (const auto &[table, rows] : expected->rows)
            if (!withData.contains(table))
                return BackupResult::failed(QStringLiteral("the rows of the table %1 are missing").arg(table));
    result = BackupResult::done();
    if (!registerIsOnThisMachine(source)) {
        if (expected)
            result.counts = *expected;
        return result;
    }
    ScratchDatabase scratch(connection, QStringLiteral("check"));
    if (!scratch.created()) {
        // No right to create a database here: the table of contents is all that can be checked.
        if (expected)
            result.counts = *expected;
        return result;
    }
    const BackupResult restored = restoreDumpInto(scratch.connection(), file);
    if (!restored.ok)
        return BackupResult::failed(QStringLiteral("it does not restore: %1").arg(restored.error));
    PgLink link(scratch.connection());
    if (!link.isOpen())
        return BackupResult::failed(link.error());
    const QString problem = pgCounts(link, &result.counts);
    if (!problem.isEmpty())
        return BackupResult::failed(problem);
    if (expected) {
        const QString difference = compareCounts(*expected, result.counts);
        if (!difference.isEmpty())
            return BackupResult::failed(difference);
    }
    return result;
}

} // namespace parcelon
