#include "ui/pagedfill.h"

#include "base/dbsession.h"
#include "ui/failure.h"
#include "ui/listview.h"

#include <QTimer>

#include <optional>

#include <utility>
#include <vector>

namespace parcelon {

PagedFill::PagedFill(ListView *list, QWidget *screen, std::function<QStringList(const Query &)> lineOf)
    : QObject(list)
    , m_list(list)
    , m_screen(screen)
    , m_lineOf(std::move(lineOf))
{
}

void PagedFill::start(Source source)
{
    m_source = std::move(source);
    ++m_fill;
    m_pending = false;
    m_first = true;
    m_after = 0;
    m_highest = 0;
    m_list->clear();
    page();
    schedule();
}

void PagedFill::stop()
{
    ++m_fill;
    m_pending = false;
}

void PagedFill::finish()
{
    ++m_fill; // the page the event loop would read next is read here
    while (m_pending)
        page();
}

void PagedFill::schedule()
{
    if (!m_pending)
        return;
    QTimer::singleShot(0, this, [this, fill = m_fill] {
        if (fill != m_fill || !m_pending)
            return;
        guarded(m_screen, [this] {
            page();
            schedule();
        });
    });
}

Query PagedFill::firstPage(const QString &sql, const QVariantList &params)
{
    if (!m_source.fewRows || db().dialect().engine != Engine::PostgreSQL)
        return db().select(sql, params);
    db().executeUnprepared(QStringLiteral("SET enable_nestloop = off"));
    std::optional<Query> rows;
    try {
        rows = db().select(sql, params);
    } catch (...) {
        try {
            db().executeUnprepared(QStringLiteral("RESET enable_nestloop"));
        } catch (const DbError &) {
            // The query's own failure is the one to tell.
        }
        throw;
    }
    db().executeUnprepared(QStringLiteral("RESET enable_nestloop"));
    return std::move(*rows);
}

void PagedFill::page()
{
    m_pending = false;
    const bool paged = db().dialect().engine != Engine::Other; // LIMIT is SQLite's and PostgreSQL's
    QString where = QStringLiteral(" WHERE %1 > ?").arg(m_source.key);
    QVariantList params {m_after};
    if (m_first && paged) {
        m_highest = db().scalar(m_source.highest).toLongLong();
    } else if (paged) {
        where += QStringLiteral(" AND %1 <= ?").arg(m_source.key);
        params << m_after + kPage;
    }
    if (!m_source.where.isEmpty())
        where += QStringLiteral(" AND (%1)").arg(m_source.where);
    params << m_source.params;
    const QString sql = m_source.select + where + QStringLiteral(" ORDER BY %1").arg(m_source.key)
        + (m_first && paged ? QStringLiteral(" LIMIT %1").arg(kFirstPage) : QString());
    Query rows = m_first && paged ? firstPage(sql, params) : db().select(sql, params);
    std::vector<QStringList> lines;
    qsizetype read = 0;
    qlonglong last = m_first ? m_after : m_after + kPage;
    while (rows.next()) {
        QStringList line = m_lineOf(rows);
        if (!line.isEmpty())
            lines.push_back(std::move(line));
        ++read;
        if (m_first)
            last = rows.value(m_source.keyColumn).toLongLong();
    }
    const bool more = paged && last < m_highest && !(m_first && read < kFirstPage);
    m_first = false;
    m_after = last;
    m_list->addItems(std::move(lines));
    m_pending = more;
}

} // namespace parcelon
