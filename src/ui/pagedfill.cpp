#include "ui/pagedfill.h"

#include "base/dbsession.h"
#include "ui/failure.h"
#include "ui/listview.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>
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
    m_slice = kFirstSlice;
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
    // The first page waits to be painted: the window's paint is posted behind anything queued now, and
    // a page read first would keep the clerk looking at an empty list. A list not on screen paints
    // nothing and reads on at once; the timer stands in for a paint that never comes.
    QWidget *viewport = m_list->viewport();
    const bool firstShown = std::exchange(m_firstShown, false);
    if (firstShown && viewport->isVisible() && !m_awaitingPaint) {
        m_awaitingPaint = true;
        viewport->installEventFilter(this);
        QTimer::singleShot(100, this, [this, fill = m_fill] {
            if (fill == m_fill && m_awaitingPaint)
                readOnLater();
        });
        return;
    }
    readOnLater();
}

bool PagedFill::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && m_awaitingPaint && watched == m_list->viewport()) {
        // Read on after this paint has reached the screen, not inside it.
        readOnLater();
    }
    return QObject::eventFilter(watched, event);
}

void PagedFill::readOnLater()
{
    if (m_awaitingPaint) {
        m_awaitingPaint = false;
        m_list->viewport()->removeEventFilter(this);
    }
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
        params << m_after + m_slice;
    }
    if (!m_source.where.isEmpty())
        where += QStringLiteral(" AND (%1)").arg(m_source.where);
    params << m_source.params;
    const QString sql = m_source.select + where + QStringLiteral(" ORDER BY %1").arg(m_source.key)
        + (m_first && paged ? QStringLiteral(" LIMIT %1").arg(kFirstPage) : QString());
    if (m_first) {
        m_firstSql = sql;
        m_firstParams = params;
    }
    QElapsedTimer took;
    took.start();
    Query rows = m_first && paged ? firstPage(sql, params) : db().select(sql, params);
    std::vector<QStringList> lines;
    qsizetype read = 0;
    qlonglong last = m_first ? m_after : m_after + m_slice;
    while (rows.next()) {
        QStringList line = m_lineOf(rows);
        if (!line.isEmpty())
            lines.push_back(std::move(line));
        ++read;
        if (m_first)
            last = rows.value(m_source.keyColumn).toLongLong();
    }
    const bool more = paged && last < m_highest && !(m_first && read < kFirstPage);
    const bool first = m_first;
    m_first = false;
    m_firstShown = first;
    m_after = last;
    m_list->addItems(std::move(lines));
    m_pending = more;
    if (!first) {
        // The next range in proportion to the time this one took (the keys are spread about evenly).
        const qint64 ms = took.elapsed();
        m_slice = ms <= 0 ? m_slice * 2 : m_slice * kSliceTime / ms;
        m_slice = std::clamp(m_slice, kLeastSlice, kPage);
    }
}

} // namespace parcelon
