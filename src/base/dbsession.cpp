#include "base/dbsession.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

#include <sql.h>
#include <sqlext.h>

namespace parcelon {
namespace {
const QString kConnection = QStringLiteral("land");

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
    : std::runtime_error(description_.toStdString()), description(description_), source(source_)
{
}

Query::Query(std::unique_ptr<QSqlQuery> query) : m_query(std::move(query)) {}
Query::Query(Query &&) noexcept = default;
Query &Query::operator=(Query &&) noexcept = default;
Query::~Query() = default;

bool Query::next() { return m_query->next(); }

QString Query::value(const QString &column) const
{
    const int index = m_query->record().indexOf(column);
    if (index < 0)
        throw DbError(QStringLiteral("Item cannot be found in the collection: %1").arg(column),
                      QStringLiteral("Parcelon"));
    return value(index);
}

QString Query::value(int column) const
{
    const QVariant v = m_query->value(column);
    return v.isNull() ? QString() : v.toString();
}

bool Query::isNull(const QString &column) const
{
    const int index = m_query->record().indexOf(column);
    return index < 0 || m_query->isNull(index);
}

int Query::columnCount() const { return m_query->record().count(); }

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

DbSession &DbSession::instance()
{
    static DbSession session;
    return session;
}

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
        QSqlDatabase::removeDatabase(kConnection);
        return false;
    }
    m_open = true;
    return true;
}

bool DbSession::openNative()
{
    if (m_source.engine == Engine::SQLite) {
        // QSQLITE would create an empty register for a missing file; the data source must name a real one.
        if (m_source.database.isEmpty() || !QFileInfo(m_source.database).isFile())
            return false;
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
        database.setDatabaseName(m_source.database);
        database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_source.timeoutMs));
        if (!database.open())
            return false;
        // Legacy text is case-sensitive: "k" and "K" are different letters.
        QSqlQuery pragma(database);
        return pragma.exec(QStringLiteral("PRAGMA case_sensitive_like = ON"));
    }
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), kConnection);
    database.setHostName(m_source.server);
    database.setDatabaseName(m_source.database);
    if (!m_source.user.isEmpty())
        database.setUserName(m_source.user);
    bool portOk = false;
    const int port = m_source.port.toInt(&portOk);
    if (portOk)
        database.setPort(port);
    if (!m_source.passfile.isEmpty())
        database.setConnectOptions(QStringLiteral("passfile=") + m_source.passfile);
    return database.open();
}

bool DbSession::openOdbc()
{
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), kConnection);
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
        QSqlDatabase database = QSqlDatabase::database(kConnection, false);
        database.close();
    }
    QSqlDatabase::removeDatabase(kConnection);
    m_open = false;
}

QSqlDatabase DbSession::database() const { return QSqlDatabase::database(kConnection, false); }

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
    // Every value is text, and an empty value is stored as empty text, never as NULL.
    for (const QVariant &param : params) {
        const bool empty = param.isNull() || (param.typeId() == QMetaType::QString && param.toString().isNull());
        query->addBindValue(empty ? QVariant(QString(QLatin1String(""))) : param);
    }
    if (!query->exec()) {
        const QString error = query->lastError().text();
        keepUntilRollback(std::move(query));
        fail(error, sql);
    }
    return query;
}

Query DbSession::select(const QString &sql, const QVariantList &params) { return Query(run(sql, params)); }

std::optional<Query> DbSession::first(const QString &sql, const QVariantList &params)
{
    Query q = select(sql, params);
    if (!q.next())
        return std::nullopt;
    return q;
}

QString DbSession::scalar(const QString &sql, const QVariantList &params)
{
    std::optional<Query> row = first(sql, params);
    return row ? row->value(0) : QString();
}

int DbSession::execute(const QString &sql, const QVariantList &params)
{
    return run(sql, params)->numRowsAffected();
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

void DbSession::begin()
{
    if (!database().transaction())
        fail(database().lastError().text(), QStringLiteral("BEGIN"));
}

void DbSession::commit()
{
    QSqlDatabase database = this->database();
    if (!database.commit()) {
        const QString error = database.lastError().text();
        database.rollback();
        fail(error, QStringLiteral("COMMIT"));
    }
}

void DbSession::rollback()
{
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
