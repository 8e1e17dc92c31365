#include "base/loadedrow.h"

#include "base/dbsession.h"

#include <utility>

namespace parcelon {

LoadedRow::LoadedRow(QString table, QVariant srno, const Query &row, QStringList columns)
    : m_table(std::move(table))
    , m_srno(std::move(srno))
    , m_columns(std::move(columns))
{
    for (const QString &column : std::as_const(m_columns))
        m_values << row.value(column);
}

LoadedRow LoadedRow::ofRows(QString table, QVariant srno, QString orderBy, QStringList columns)
{
    LoadedRow loaded;
    loaded.m_table = std::move(table);
    loaded.m_srno = std::move(srno);
    loaded.m_orderBy = std::move(orderBy);
    loaded.m_columns = std::move(columns);
    loaded.m_values = loaded.read();
    return loaded;
}

LoadedRow LoadedRow::ofTable(QString table, QString orderBy, QStringList columns)
{
    LoadedRow loaded;
    loaded.m_table = std::move(table);
    loaded.m_wholeTable = true;
    loaded.m_orderBy = std::move(orderBy);
    loaded.m_columns = std::move(columns);
    loaded.m_values = loaded.read();
    return loaded;
}

QStringList LoadedRow::read() const
{
    QString sql = QStringLiteral("SELECT ") + m_columns.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + m_table;
    if (!m_wholeTable)
        sql += QStringLiteral(" WHERE srno = ?");
    if (!m_orderBy.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + m_orderBy;
    // Programs that do not take the register's lock wait for these rows until the change ends.
    if (db().dialect().engine == Engine::PostgreSQL)
        sql += QStringLiteral(" FOR UPDATE");
    Query rows = m_wholeTable ? db().select(sql) : db().select(sql, {m_srno});
    QStringList values;
    while (rows.next()) {
        for (int c = 0; c < m_columns.size(); ++c)
            values << rows.value(c);
    }
    return values;
}

bool LoadedRow::unchanged() const
{
    if (!isSet())
        return false;
    // A record gone reads as no values, which differs from any row loaded.
    const QStringList now = read();
    return now == m_values && !(now.isEmpty() && m_orderBy.isEmpty());
}

bool LoadedRow::storeIfUnchanged(const std::function<void()> &write) const
{
    bool stored = false;
    db().lockedChange([&] {
        if (!unchanged())
            return;
        write();
        stored = true;
    });
    return stored;
}

} // namespace parcelon
