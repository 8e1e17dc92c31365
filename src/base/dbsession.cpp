#include "base/dbsession.h"

#include "base/pgtools.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

#include <sql.h>
#include <sqlext.h>

namespace parcelon {
namespace {
// The key of the register-wide lock of a locked change on PostgreSQL ("PCLN").
constexpr qint64 kRegisterLock = 0x50434C4E;

QString odbcDbmsName(const QSqlDatabase &database)
{
    // QODBC hands out its connection handle; ask the driver which engine stands behind it.
    const QVariant handle = database.driver()->handle();
    if (!handle.isValid() || (qstrcmp(handle.typeName(), "SQLHANDLE") != 0 && qstrcmp(handle.typeName(), "void*") != 0))
        return {};
    SQLHANDLE hdbc = *static_cast<SQLHANDLE const *>(handle.data());
    char name[128] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(hdbc, SQL_DBMS_NAME, name, sizeof name, &length)))
        return {};
    return QString::fromLatin1(name);
}
} // namespace

DbError::DbError(const QString &description_, const QString &source_)
    : std::runtime_error(description_.toStdString())
    , description(description_)
    , source(source_)
{
}

Query::Query(QSqlQuery &query, qsizetype maxRows)
    : m_record(query.record())
{
    const int columns = m_record.count();
    while ((maxRows < 0 || m_rows < maxRows) && query.next()) {
        for (int c = 0; c < columns; ++c) {
            const QVariant v = query.value(c);
            m_nulls.push_back(v.isNull());
            m_cells.push_back(v.isNull() ? QString() : v.toString());
        }
        ++m_rows;
    }
}

QString Query::last(int column) const
{
    const int columns = m_record.count();
    if (m_rows == 0 || column < 0 || column >= columns)
        return {};
    return m_cells[size_t((m_rows - 1) * columns + column)];
}

bool Query::next()
{
    if (m_row < m_rows)
        ++m_row;
    return m_row < m_rows;
}

int Query::indexOf(const QString &column) const
{
    const int index = m_record.indexOf(column);
    if (index < 0)
        throw DbError(
            QStringLiteral("Item cannot be found in the collection: %1").arg(column), QStringLiteral("Parcelon"));
    return index;
}

qsizetype Query::cell(int column) const
{
    if (column < 0 || column >= m_record.count())
        throw DbError(
            QStringLiteral("Item cannot be found in the collection: %1").arg(column), QStringLiteral("Parcelon"));
    if (m_row < 0 || m_row >= m_rows)
        throw DbError(QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                                     "Requested operation requires a current record."),
            QStringLiteral("Parcelon"));
    return m_row * m_record.count() + column;
}

QString Query::value(const QString &column) const { return value(indexOf(column)); }

QString Query::value(int column) const { return m_cells[std::size_t(cell(column))]; }

bool Query::isNull(const QString &column) const { return m_nulls[std::size_t(cell(indexOf(column)))]; }

int Query::columnCount() const { return m_record.count(); }

QString Dialect::numberLike(const QString &column)
{
    return QStringLiteral("CAST(%1 AS VARCHAR(20)) LIKE ? ESCAPE '!'").arg(column);
}

QString Dialect::containsPattern(const QString &typed)
{
    QString escaped;
    escaped.reserve(typed.size() + 2);
    for (const QChar c : typed) {
        if (c == QLatin1Char('!') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            escaped += QLatin1Char('!');
        escaped += c;
    }
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

QVariant Dialect::key(const QString &typed)
{
    // srno is a 32-bit INTEGER on PostgreSQL: a larger number would be an error there, and is no key.
    bool whole = false;
    const int number = typed.trimmed().toInt(&whole);
    return whole ? QVariant(number) : QVariant(QMetaType::fromType<int>());
}

DbSession &DbSession::instance()
{
    static DbSession session(QStringLiteral("land"));
    return session;
}

DbSession::DbSession(const QString &connectionName)
    : m_connection(connectionName)
{
}

DbSession::~DbSession() { close(); }

bool DbSession::connect_db()
{
    if (m_open)
        return false;
    const std::optional<DataSource> source = readDataSource(QStringLiteral("land"));
    if (!source)
        return false;
    m_source = *source;
    m_dialect = Dialect {m_source.engine, false};
    const bool opened = m_source.engine == Engine::Other ? openOdbc() : openNative();
    if (!opened) {
        QSqlDatabase::removeDatabase(m_connection);
        return false;
    }
    m_open = true;
    if (this == &instance()) {
        // Closed while Qt's SQL drivers are still there, so that SQLite refreshes its statistics.
        static const bool registered = (qAddPostRoutine([] { DbSession::instance().close(); }), true);
        Q_UNUSED(registered)
    }
    return true;
}

namespace {
// The register's queries are many and short; a list that counts per owner is costed high enough for
// PostgreSQL to compile it to machine code first, which takes longer (a quarter of a second a page) than
// the query itself. A server without the setting (before version 11) has nothing to switch off.
void tunePostgres(QSqlDatabase database) { QSqlQuery(database).exec(QStringLiteral("SET jit = off")); }
} // namespace

bool DbSession::openNative()
{
    if (m_source.engine == Engine::SQLite) {
        // QSQLITE would create an empty register for a missing file; the data source must name a real one.
        if (m_source.database.isEmpty() || !QFileInfo(m_source.database).isFile())
            return false;
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        database.setDatabaseName(m_source.database);
        database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_source.timeoutMs));
        if (!database.open())
            return false;
        // Legacy text is case-sensitive: "k" and "K" are different letters.
        QSqlQuery pragma(database);
        return pragma.exec(QStringLiteral("PRAGMA case_sensitive_like = ON"));
    }
    QSqlDatabase database = PgConnection::of(m_source).addDatabase(m_connection);
    if (!database.open())
        return false;
    tunePostgres(database);
    return true;
}

bool DbSession::openOdbc()
{
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_connection);
    database.setDatabaseName(m_source.name);
    if (!database.open(QString(), QString()))
        return false;
    m_dialect.viaOdbc = true;
    const QString dbms = odbcDbmsName(database);
    if (dbms.contains(QLatin1String("SQLite"), Qt::CaseInsensitive)) {
        m_dialect.engine = Engine::SQLite;
        QSqlQuery pragma(database);
        pragma.exec(QStringLiteral("PRAGMA case_sensitive_like = ON"));
    } else if (dbms.contains(QLatin1String("PostgreSQL"), Qt::CaseInsensitive)) {
        m_dialect.engine = Engine::PostgreSQL;
        tunePostgres(database);
    }
    return true;
}

bool DbSession::isOpen() const { return m_open; }

void DbSession::close()
{
    m_failed.reset();
    if (!m_open)
        return;
    {
        QSqlDatabase database = QSqlDatabase::database(m_connection, false);
        if (m_depth > 0) {
            rollback();
            m_depth = 0;
        }
        m_locked = m_doomed = false;
        if (m_dialect.engine == Engine::SQLite) {
            // Analyses the tables this session's queries would have planned better with statistics.
            QSqlQuery(database).exec(QStringLiteral("PRAGMA optimize"));
        }
        database.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    m_open = false;
}

QSqlDatabase DbSession::database() const { return QSqlDatabase::database(m_connection, false); }

QString DbSession::sourceName() const
{
    switch (m_dialect.engine) {
    case Engine::SQLite:
        return m_dialect.viaOdbc ? QStringLiteral("land (ODBC, SQLite)") : QStringLiteral("land (SQLite)");
    case Engine::PostgreSQL:
        return m_dialect.viaOdbc ? QStringLiteral("land (ODBC, PostgreSQL)") : QStringLiteral("land (PostgreSQL)");
    case Engine::Other:
        break;
    }
    return QStringLiteral("land (ODBC)");
}

void DbSession::fail(const QString &description, const QString &detail) const
{
    QString text = description.trimmed();
    if (text.isEmpty())
        text = QStringLiteral("The database did not answer.");
    if (!detail.isEmpty())
        text += QStringLiteral("\n") + detail;
    throw DbError(text, sourceName());
}

std::unique_ptr<QSqlQuery> DbSession::run(const QString &sql, const QVariantList &params)
{
    if (!m_open)
        fail(QStringLiteral("The connection to the data source land is not open."), QString());
    auto query = std::make_unique<QSqlQuery>(database());
    query->setForwardOnly(true);
    m_failed.reset();
    if (!query->prepare(sql)) {
        const QString error = query->lastError().text();
        keepUntilRollback(std::move(query));
        fail(error, sql);
    }
    // An empty value is stored as empty text, never as NULL. A NULL of another type stays NULL: it is
    // the key that matches nothing (Dialect::key).
    for (const QVariant &param : params) {
        const bool empty = !param.isValid() || (param.typeId() == QMetaType::QString && param.toString().isNull());
        query->addBindValue(empty ? QVariant(QString(QLatin1String(""))) : param);
    }
    if (!query->exec()) {
        const QString error = query->lastError().text();
        keepUntilRollback(std::move(query));
        fail(error, sql);
    }
    return query;
}

Query DbSession::fetch(const QString &sql, const QVariantList &params, qsizetype maxRows)
{
    std::unique_ptr<QSqlQuery> query = run(sql, params);
    Query result(*query, maxRows);
    if (query->lastError().type() != QSqlError::NoError) {
        const QString error = query->lastError().text();
        keepUntilRollback(std::move(query));
        fail(error, sql);
    }
    return result;
}

Query DbSession::select(const QString &sql, const QVariantList &params) { return fetch(sql, params, -1); }

void DbSession::selectInChunks(
    const QString &sql, const QVariantList &params, qsizetype rows, const std::function<bool(Query)> &chunk)
{
    std::unique_ptr<QSqlQuery> query = run(sql, params);
    for (;;) {
        Query part(*query, rows);
        if (query->lastError().type() != QSqlError::NoError) {
            const QString error = query->lastError().text();
            keepUntilRollback(std::move(query));
            fail(error, sql);
        }
        const bool last = part.rowCount() < rows;
        if (part.rowCount() > 0 && !chunk(std::move(part)))
            return;
        if (last)
            return;
    }
}

std::optional<Query> DbSession::first(const QString &sql, const QVariantList &params)
{
    Query q = fetch(sql, params, 1);
    if (!q.next())
        return std::nullopt;
    return q;
}

QString DbSession::scalar(const QString &sql, const QVariantList &params)
{
    std::optional<Query> row = first(sql, params);
    return row ? row->value(0) : QString();
}

int DbSession::execute(const QString &sql, const QVariantList &params) { return run(sql, params)->numRowsAffected(); }

void DbSession::executeUnprepared(const QString &sql)
{
    if (!m_open)
        fail(QStringLiteral("The connection to the data source land is not open."), QString());
    auto query = std::make_unique<QSqlQuery>(database());
    m_failed.reset();
    if (!query->exec(sql)) {
        const QString error = query->lastError().text();
        keepUntilRollback(std::move(query));
        fail(error, sql);
    }
}

qlonglong DbSession::insert(const QString &table, const QString &sql, const QVariantList &params)
{
    if (m_dialect.engine == Engine::PostgreSQL)
        return scalar(sql + QStringLiteral(" RETURNING srno"), params).toLongLong();
    std::unique_ptr<QSqlQuery> query = run(sql, params);
    if (!m_dialect.viaOdbc) {
        const QVariant id = query->lastInsertId();
        if (id.isValid())
            return id.toLongLong();
    }
    query.reset();
    if (m_dialect.engine == Engine::SQLite)
        return scalar(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
    return scalar(QStringLiteral("SELECT MAX(srno) FROM ") + table).toLongLong();
}

QString DbSession::recordNumber(const QString &table)
{
    const QString highest = scalar(QStringLiteral("SELECT MAX(srno) FROM ") + table);
    if (highest.isEmpty())
        return QStringLiteral("1");
    return QString::number(highest.toLongLong() + 1);
}

std::optional<Query> DbSession::newest(const QString &table, const QString &keyColumn, const QString &key)
{
    return first(QStringLiteral("SELECT * FROM %1 WHERE %2 = ? ORDER BY srno DESC").arg(table, keyColumn), {key});
}

void DbSession::control(const QString &sql)
{
    QSqlQuery query(database());
    if (!query.exec(sql))
        fail(query.lastError().text(), sql);
}

void DbSession::enter(bool locked)
{
    if (m_depth > 0) {
        // SQLite cannot move an open transaction to the lock, and on PostgreSQL a lock taken late could
        // wait on a workstation that waits on this change's rows: the lock is taken first or not at all.
        if (locked && !m_locked) {
            m_doomed = true;
            fail(QStringLiteral("A locked change cannot join a change begun without the lock."), QString());
        }
        ++m_depth;
        return;
    }
    begin(locked);
    m_depth = 1;
    m_locked = locked;
    m_doomed = false;
}

void DbSession::leave(bool completed)
{
    if (!completed)
        m_doomed = true;
    if (--m_depth > 0)
        return;
    const bool doomed = m_doomed;
    m_locked = m_doomed = false;
    if (!doomed) {
        commit();
        return;
    }
    rollback();
    if (completed)
        fail(QStringLiteral("The change was undone: a part of it failed."), QString());
}

void DbSession::begin(bool locked)
{
    if (!m_open)
        fail(QStringLiteral("The connection to the data source land is not open."), QString());
    if (m_dialect.engine == Engine::SQLite) {
        // Every change on SQLite takes the write lock at once, waiting for another workstation's change
        // up to the busy timeout. A deferred transaction that has read gets "database is locked" at once
        // when another writer is busy, without waiting.
        control(QStringLiteral("BEGIN IMMEDIATE"));
        return;
    }
    if (!database().transaction())
        fail(database().lastError().text(), QStringLiteral("BEGIN"));
    if (locked && m_dialect.engine == Engine::PostgreSQL) {
        try {
            control(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kRegisterLock));
        } catch (...) {
            rollback();
            throw;
        }
    }
}

void DbSession::commit()
{
    if (m_dialect.engine == Engine::SQLite) {
        try {
            control(QStringLiteral("COMMIT"));
        } catch (...) {
            rollback();
            throw;
        }
        return;
    }
    QSqlDatabase database = this->database();
    if (!database.commit()) {
        const QString error = database.lastError().text();
        database.rollback();
        m_failed.reset();
        fail(error, QStringLiteral("COMMIT"));
    }
}

void DbSession::rollback()
{
    if (m_dialect.engine == Engine::SQLite)
        QSqlQuery(database()).exec(QStringLiteral("ROLLBACK")); // SQLite may have rolled back already
    else
        database().rollback();
    m_failed.reset();
}

void DbSession::keepUntilRollback(std::unique_ptr<QSqlQuery> query)
{
    // On PostgreSQL a failed statement aborts the open transaction, and freeing its prepared statement
    // would fail too: it is freed after the rollback, or before the next statement.
    if (database().driver()->hasFeature(QSqlDriver::Transactions))
        m_failed = std::move(query);
}

} // namespace parcelon
