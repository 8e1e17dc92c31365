#pragma once
// What a screen loaded of a stored record, so that its later save can tell whether the record still holds
// it.
//
// Another workstation, or another program on the same register, may change a record between the moment a
// screen shows it and the moment the clerk stores the screen's fields; writing them back then would
// silently undo that change. A screen keeps a LoadedRow when it loads a record and asks unchanged() inside
// its locked change (DbSession::lockedChange) before writing: when the record differs from what was loaded
// (or is gone), nothing is written and the clerk is told.
//
//     m_loaded = LoadedRow(QStringLiteral("land"), srno, row, {"akkara", "rut", ...});
//     if (!m_loaded.storeIfUnchanged([&] { db().execute(...); })) { tell the clerk; show it again; }

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace parcelon {

class Query;

class LoadedRow final
{
public:
    LoadedRow() = default;
    // Keeps the listed columns of `row`, the row of `table` whose srno is `srno`, as they were read.
    LoadedRow(QString table, QVariant srno, const Query &row, QStringList columns);
    // A record kept in several rows that share an srno (a division's villages): the rows' listed columns,
    // read now in `orderBy` order.
    static LoadedRow ofRows(QString table, QVariant srno, QString orderBy, QStringList columns);
    // A table kept as a whole (the office's details): every row's listed columns, read now.
    static LoadedRow ofTable(QString table, QString orderBy, QStringList columns);

    // Whether a record was loaded.
    bool isSet() const { return !m_table.isEmpty(); }
    const QVariant &srno() const { return m_srno; }
    // Reads the record again and tells whether every kept column still holds what was loaded; false when
    // it is gone. Inside a locked change on PostgreSQL the rows are also locked until the change ends, so
    // a program that does not take the register's lock cannot change them between this check and the
    // write.
    bool unchanged() const;
    // Runs `write` in one change under the register's lock, only while the record is still as loaded;
    // false when nothing was written.
    bool storeIfUnchanged(const std::function<void()> &write) const;
    // Forgets the record (the screen was emptied).
    void reset() { *this = LoadedRow(); }

private:
    QStringList read() const;
    QString m_table;
    QVariant m_srno;
    bool m_wholeTable = false;
    QString m_orderBy;
    QStringList m_columns;
    QStringList m_values; // the rows read, column by column
};

} // namespace parcelon
