#pragma once
// DbSession: the connection to the data source `land`, opened at start-up and used by every screen
// until the application ends. Every value reaches the database as a bound parameter; the SQL text holds
// only fixed pieces. A statement the database rejects throws DbError, which the screens' handlers turn
// into the common failure message (see failure.h).

#include "base/datasource.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

namespace parcelon {

class DbError : public std::runtime_error
{
public:
    DbError(const QString &description, const QString &source);
    QString description;
    QString source;
};

// A result read whole when its statement ran, so other statements may run while its rows are read
// (the native PostgreSQL driver would otherwise stream the rows, and any other statement would silently
// drop the unread ones). Columns are read by name (any letter case) or position; NULL reads as "".
// Naming a column the result does not have, or reading before next() or past the last row, throws
// DbError.
class Query
{
public:
    bool next();
    QString value(const QString &column) const;
    QString value(int column) const;
    bool isNull(const QString &column) const;
    int columnCount() const;
    qsizetype rowCount() const { return m_rows; }
    // A column's value in the last row, wherever the reading stands ("" when there are no rows).
    QString last(int column) const;

private:
    friend class DbSession;
    // Reads the rows of an executed statement; at most maxRows when it is not negative.
    Query(QSqlQuery &query, qsizetype maxRows);
    int indexOf(const QString &column) const;
    qsizetype cell(int column) const;

    QSqlRecord m_record;
    std::vector<QString> m_cells; // row by row
    std::vector<bool> m_nulls;
    qsizetype m_rows = 0;
    qsizetype m_row = -1;
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
    // The value to bind for a key the clerk typed, compared with "= ?" to an integer key column (srno):
    // a whole number, spaces around it allowed, binds as that number; anything else ("", "7a", a number
    // out of range) binds as NULL, which matches no row on every engine and raises no error.
    static QVariant key(const QString &typed);
};

class DbSession
{
public:
    // The application's session, on the connection "land". Closed when the application ends.
    static DbSession &instance();
    // Another session on a connection of its own, as a second workstation holds one. Used only in the
    // thread that opens it; closed when destroyed.
    explicit DbSession(const QString &connectionName);
    ~DbSession();
    Q_DISABLE_COPY_MOVE(DbSession)

    // Opens the data source `land`. Returns false, showing nothing, when the source is missing or cannot
    // be opened, and when the session is already open (the open session stays usable).
    bool connect_db();
    bool isOpen() const;
    // Closes the session; on SQLite first lets it refresh the planner's statistics (PRAGMA optimize).
    void close();

    const Dialect &dialect() const { return m_dialect; }
    const DataSource &dataSource() const { return m_source; }
    QSqlDatabase database() const;

    Query select(const QString &sql, const QVariantList &params = {});
    // Runs a query and hands its rows to `chunk` as they are read, at most `rows` at a time, until they
    // end or `chunk` returns false. The statement streams: meant for a session of its own on a worker
    // thread, where no other statement runs meanwhile.
    void selectInChunks(
        const QString &sql, const QVariantList &params, qsizetype rows, const std::function<bool(Query)> &chunk);
    // The first row of a query, or nothing.
    std::optional<Query> first(const QString &sql, const QVariantList &params = {});
    // One value of the first row; empty when there is no row.
    QString scalar(const QString &sql, const QVariantList &params = {});
    // An INSERT, UPDATE or DELETE. Returns the number of rows affected.
    int execute(const QString &sql, const QVariantList &params = {});
    // A statement without parameters that is neither a query nor a row change (CREATE, ALTER, DROP,
    // SET). It is run unprepared: the native PostgreSQL driver prepares only queries and row changes.
    void executeUnprepared(const QString &sql);
    // An INSERT into a table with an identity srno; returns the srno the database gave the row.
    qlonglong insert(const QString &table, const QString &sql, const QVariantList &params = {});

    // RecordNumber: the srno the next row of a table is expected to receive ("1" for an empty table).
    QString recordNumber(const QString &table);
    // The row in force of a history table: the newest row whose keyColumn equals key (compared as text).
    std::optional<Query> newest(const QString &table, const QString &keyColumn, const QString &key);

    // Runs several statements that form one change: all of them or none. Nested inside another change
    // it joins it: only the outermost commits, and a failure anywhere inside undoes the whole change
    // (the outermost throws DbError even when the failure was caught inside).
    template <typename Work> void transaction(Work &&work) { change(false, work); }

    // A change that checks and then writes (a next number, a uniqueness check): one transaction under
    // the register-wide lock. The same change on another workstation waits for it, and the work sees all
    // that was committed before: do the checks and the numbering inside the work. PostgreSQL: an advisory
    // lock held until the transaction ends; SQLite: the write lock, which every change there takes at
    // BEGIN, waiting up to the data source's Timeout; another engine through ODBC: a plain transaction.
    // It must be the outermost change or join another lockedChange: inside a plain transaction() it
    // throws DbError and the whole change is undone.
    template <typename Work> void lockedChange(Work &&work) { change(true, work); }

private:
    template <typename Work> void change(bool locked, Work &work)
    {
        enter(locked);
        try {
            work();
        } catch (...) {
            leave(false);
            throw;
        }
        leave(true);
    }

    std::unique_ptr<QSqlQuery> run(const QString &sql, const QVariantList &params);
    Query fetch(const QString &sql, const QVariantList &params, qsizetype maxRows);
    [[noreturn]] void fail(const QString &description, const QString &detail) const;
    QString sourceName() const;
    bool openNative();
    bool openOdbc();
    void control(const QString &sql);
    void enter(bool locked);
    void leave(bool completed);
    void begin(bool locked);
    void commit();
    void rollback();
    void keepUntilRollback(std::unique_ptr<QSqlQuery> query);

    const QString m_connection;
    DataSource m_source;
    std::unique_ptr<QSqlQuery> m_failed;
    Dialect m_dialect;
    bool m_open = false;
    int m_depth = 0; // changes entered and not yet left
    bool m_locked = false; // the outermost change holds the lock
    bool m_doomed = false; // a part of the open change failed: it ends in a rollback
};

inline DbSession &db() { return DbSession::instance(); }

} // namespace parcelon
