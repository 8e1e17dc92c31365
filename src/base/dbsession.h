#pragma once
// DbSession: the one connection to the data source `land`, opened at start-up and used by every screen
// until the application ends. Every value reaches the database as a bound parameter; the SQL text holds
// only fixed pieces. A statement the database rejects throws DbError, which the screens' handlers turn
// into the common failure message (see failure.h).

#include "base/datasource.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <memory>
#include <optional>
#include <stdexcept>

namespace parcelon {

class DbError : public std::runtime_error
{
public:
    DbError(const QString &description, const QString &source);
    QString description;
    QString source;
};

// A forward-only result. Columns are read by name (any letter case) or position; NULL reads as "".
class Query
{
public:
    explicit Query(std::unique_ptr<QSqlQuery> query);
    Query(Query &&) noexcept;
    Query &operator=(Query &&) noexcept;
    ~Query();

    bool next();
    QString value(const QString &column) const;
    QString value(int column) const;
    bool isNull(const QString &column) const;
    int columnCount() const;

private:
    std::unique_ptr<QSqlQuery> m_query;
};

// The differences between the engines that the screens' SQL must respect.
class Dialect
{
public:
    Engine engine = Engine::Other;
    bool viaOdbc = false;

    // A contains-search on a number column: PostgreSQL has no LIKE on integers.
    static QString numberLike(const QString &column);
    // The text to bind for a contains-search of what the clerk typed: % and _ match themselves.
    // Use with "LIKE ? ESCAPE '!'".
    static QString containsPattern(const QString &typed);
};

class DbSession
{
public:
    static DbSession &instance();

    // Opens the data source `land`. Returns false, showing nothing, when the source is missing or cannot
    // be opened, and when the session is already open (the open session stays usable).
    bool connect_db();
    bool isOpen() const;
    // Closes the session. The application never does; set-up and tests do.
    void close();

    const Dialect &dialect() const { return m_dialect; }
    const DataSource &dataSource() const { return m_source; }
    QSqlDatabase database() const;

    Query select(const QString &sql, const QVariantList &params = {});
    // The first row of a query, or nothing.
    std::optional<Query> first(const QString &sql, const QVariantList &params = {});
    // One value of the first row; empty when there is no row.
    QString scalar(const QString &sql, const QVariantList &params = {});
    // An INSERT, UPDATE or DELETE. Returns the number of rows affected.
    int execute(const QString &sql, const QVariantList &params = {});
    // An INSERT into a table with an identity srno; returns the srno the database gave the row.
    qlonglong insert(const QString &table, const QString &sql, const QVariantList &params = {});

    // RecordNumber: the srno the next row of a table is expected to receive ("1" for an empty table).
    QString recordNumber(const QString &table);
    // The row in force of a history table: the newest row whose keyColumn equals key.
    std::optional<Query> newest(const QString &table, const QString &keyColumn, const QString &key);

    // Runs several statements that form one change: all of them or none.
    template <typename Work>
    void transaction(Work &&work)
    {
        begin();
        try {
            work();
        } catch (...) {
            rollback();
            throw;
        }
        commit();
    }

    // A change that checks and then writes, under the register's lock (interim: one transaction).
    template <typename Work>
    void lockedChange(Work &&work)
    {
        transaction(std::forward<Work>(work));
    }

private:
    DbSession() = default;
    std::unique_ptr<QSqlQuery> run(const QString &sql, const QVariantList &params);
    [[noreturn]] void fail(const QString &description, const QString &detail) const;
    QString sourceName() const;
    bool openNative();
    bool openOdbc();
    void begin();
    void commit();
    void rollback();
    void keepUntilRollback(std::unique_ptr<QSqlQuery> query);

    DataSource m_source;
    std::unique_ptr<QSqlQuery> m_failed;
    Dialect m_dialect;
    bool m_open = false;
};

inline DbSession &db() { return DbSession::instance(); }

} // namespace parcelon
