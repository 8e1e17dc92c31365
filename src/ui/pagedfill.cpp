#include "ui/pagedfill.h"

#include "base/dbsession.h"
#include "ui/failure.h"
#include "ui/listview.h"

#include <QTimer>

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
    m_list->clear();
    page(m_fill, 0, 0);
}

void PagedFill::stop()
{
    ++m_fill;
    m_pending = false;
}

void PagedFill::page(quint64 fill, qlonglong after, qlonglong highest)
{
    m_pending = false;
    if (fill != m_fill)
        return;
    const bool first = highest == 0;
    const bool paged = db().dialect().engine != Engine::Other; // LIMIT is SQLite's and PostgreSQL's
    QString where = QStringLiteral(" WHERE %1 > ?").arg(m_source.key);
    QVariantList params {after};
    if (first && paged) {
        highest = db().scalar(m_source.highest).toLongLong();
    } else if (paged) {
        where += QStringLiteral(" AND %1 <= ?").arg(m_source.key);
        params << after + kPage;
    }
    if (!m_source.where.isEmpty())
        where += QStringLiteral(" AND (%1)").arg(m_source.where);
    params << m_source.params;
    Query rows = db().select(m_source.select + where + QStringLiteral(" ORDER BY %1").arg(m_source.key)
            + (first && paged ? QStringLiteral(" LIMIT %1").arg(kFirstPage) : QString()),
        params);
    std::vector<QStringList> lines;
    qsizetype read = 0;
    qlonglong last = first ? after : after + kPage;
    while (rows.next()) {
        lines.push_back(m_lineOf(rows));
        ++read;
        if (first)
            last = rows.value(m_source.keyColumn).toLongLong();
    }
    const bool more = paged && last < highest && !(first && read < kFirstPage);
    m_list->addItems(std::move(lines));
    if (!more)
        return;
    m_pending = true;
    QTimer::singleShot(0, this, [this, fill, last, highest] { guarded(m_screen, [&] { page(fill, last, highest); }); });
}

} // namespace parcelon
