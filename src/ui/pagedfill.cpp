#include "ui/pagedfill.h"

#include "base/dbsession.h"
#include "base/freedmemory.h"
#include "ui/failure.h"
#include "ui/listview.h"

#include <QAtomicInteger>
#include <QElapsedTimer>
#include <QEvent>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <deque>
#include <optional>
#include <utility>

namespace parcelon {

// What a reader shares with the list it reads for: the chunks read and not yet added, how it ended.
struct PagedFill::Reader
{
    std::atomic_bool stopped {false};
    // A drain is on its way to the list: the reader asks for no other, so chunks read faster than the
    // list adds them never pile up as a run of drains in one turn of the event loop.
    std::atomic_bool drainPosted {false};
    QMutex mutex;
    std::deque<Query> chunks;
    // Chunks the list has added, handed back to be freed where they were read: freeing a hundred
    // thousand texts on the window's thread while the reader makes new ones contends for the
    // allocator, and slows the reading by half.
    std::vector<Query> spent;
    bool ended = false;
    QString error; // the engine's message when the query failed
    QString sql;
};

PagedFill::PagedFill(ListView *list, QWidget *screen, std::function<QStringList(const Query &)> lineOf)
    : QObject(list)
    , m_list(list)
    , m_screen(screen)
    , m_lineOf(std::move(lineOf))
{
}

PagedFill::~PagedFill()
{
    for (Running &running : m_running) {
        running.reader->stopped = true;
        running.thread->disconnect(this);
        running.thread->wait();
        delete running.thread;
    }
}

void PagedFill::start(Source source)
{
    stop();
    m_source = std::move(source);
    m_after = 0;
    StringTableModel::freeAside(std::move(m_replaced));
    m_replaced = m_list->takeLines();
    page();
    if (!m_pending)
        StringTableModel::freeAside(std::exchange(m_replaced, {}));
    schedule();
}

void PagedFill::stop()
{
    ++m_fill;
    m_pending = false;
    if (m_awaitingPaint) {
        m_awaitingPaint = false;
        m_list->viewport()->removeEventFilter(this);
    }
    if (m_reader) {
        m_reader->stopped = true;
        m_reader.reset();
    }
}

void PagedFill::finish()
{
    if (!m_pending)
        return;
    if (!m_reader)
        readRest(); // the first page's paint has not come yet
    const std::shared_ptr<Reader> reader = m_reader;
    for (const Running &running : m_running) {
        if (running.reader == reader)
            running.thread->wait();
    }
    drain(reader, true);
}

void PagedFill::schedule()
{
    if (!m_pending)
        return;
    // The first page waits to be painted: the window's paint is posted behind anything queued now, and
    // lines added first would keep the clerk looking at an empty list. A list not on screen paints
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
        if (fill == m_fill && m_pending && !m_reader)
            readRest();
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
    if (!m_source.where.isEmpty())
        where += QStringLiteral(" AND (%1)").arg(m_source.where);
    params << m_source.params;
    const QString sql = m_source.select + where + QStringLiteral(" ORDER BY %1").arg(m_source.key)
        + (paged ? QStringLiteral(" LIMIT %1").arg(kFirstPage) : QString());
    m_firstSql = sql;
    m_firstParams = params;
    Query rows = paged ? firstPage(sql, params) : db().select(sql, params);
    std::vector<QStringList> lines;
    qsizetype read = 0;
    while (rows.next()) {
        QStringList line = m_lineOf(rows);
        if (!line.isEmpty())
            lines.push_back(std::move(line));
        ++read;
        m_after = rows.value(m_source.keyColumn).toLongLong();
    }
    m_firstShown = true;
    m_list->addItems(std::move(lines));
    m_pending = paged && read == kFirstPage;
}

void PagedFill::readRest()
{
    auto reader = std::make_shared<Reader>();
    const QString where = QStringLiteral(" WHERE %1 > ?").arg(m_source.key)
        + (m_source.where.isEmpty() ? QString() : QStringLiteral(" AND (%1)").arg(m_source.where))
        + QStringLiteral(" ORDER BY %1").arg(m_source.key);
    reader->sql = m_source.select + where;
    // SQLite lets no other connection commit while a statement reads (outside WAL): the rest is read
    // there in ranges of the key, a statement each, so a save on this or another workstation waits one
    // range at most, not the whole list.
    const bool ranges = db().dialect().engine == Engine::SQLite;
    if (ranges)
        reader->sql += QStringLiteral(" LIMIT %1").arg(kChunk);
    const QVariantList params = m_source.params;
    const qlonglong after = m_after;
    const int keyColumn = m_source.keyColumn;
    m_reader = reader;
    static QAtomicInteger<quint64> readers;
    const QString connection = QStringLiteral("parcelon-fill-%1").arg(readers.fetchAndAddRelaxed(1));
    auto replaced = std::make_shared<std::vector<QStringList>>(std::exchange(m_replaced, {}));
    QThread *thread = QThread::create([this, reader, params, after, keyColumn, ranges, connection, replaced] {
        const auto handBack = [this, reader] {
            if (reader->drainPosted.exchange(true))
                return;
            QMetaObject::invokeMethod(
                this, [this, reader] { drain(reader, false); }, Qt::QueuedConnection);
        };
        // Hands a chunk to the list; false when the fill has ended meanwhile.
        const auto hand = [&](Query chunk) {
            if (reader->stopped)
                return false;
            std::vector<Query> spent;
            {
                QMutexLocker lock(&reader->mutex);
                reader->chunks.push_back(std::move(chunk));
                spent.swap(reader->spent);
            }
            handBack();
            return !reader->stopped.load();
        };
        QString error;
        {
            DbSession session(connection);
            if (!session.connect_db()) {
                error = QStringLiteral("The connection to the data source land could not be opened.");
            } else {
                try {
                    if (ranges) {
                        QVariant from = after;
                        for (;;) {
                            Query chunk = session.select(reader->sql, QVariantList {from} + params);
                            const qsizetype read = chunk.rowCount();
                            from = chunk.last(keyColumn).toLongLong();
                            if ((read > 0 && !hand(std::move(chunk))) || read < kChunk)
                                break;
                        }
                    } else {
                        session.selectInChunks(reader->sql, QVariantList {after} + params, kChunk, hand);
                    }
                } catch (const DbError &failure) {
                    error = failure.description;
                }
            }
        }
        {
            QMutexLocker lock(&reader->mutex);
            reader->ended = true;
            reader->error = error;
        }
        handBack();
        replaced->clear();
        returnFreedMemoryLater();
    });
    m_running.push_back({thread, reader});
    connect(thread, &QThread::finished, this, [this, thread] {
        std::erase_if(m_running, [thread](const Running &running) { return running.thread == thread; });
        thread->deleteLater();
    });
    thread->start();
}

void PagedFill::drain(const std::shared_ptr<Reader> &reader, bool whole)
{
    if (!whole)
        reader->drainPosted = false; // from here on, what the reader hands back asks for a drain again
    if (reader != m_reader)
        return; // a fill ended since
    QElapsedTimer slice;
    slice.start();
    for (;;) {
        std::optional<Query> chunk;
        bool ended = false;
        bool more = false;
        QString error;
        {
            QMutexLocker lock(&reader->mutex);
            if (!reader->chunks.empty()) {
                chunk.emplace(std::move(reader->chunks.front()));
                reader->chunks.pop_front();
            }
            more = !reader->chunks.empty();
            ended = reader->ended && !more;
            error = reader->error;
        }
        if (chunk) {
            std::vector<QStringList> lines;
            lines.reserve(size_t(chunk->rowCount()));
            while (chunk->next()) {
                QStringList line = m_lineOf(*chunk);
                if (!line.isEmpty())
                    lines.push_back(std::move(line));
            }
            m_list->addItems(std::move(lines));
            QMutexLocker lock(&reader->mutex);
            reader->spent.push_back(std::move(*chunk));
        }
        if (ended) {
            m_pending = false;
            m_reader.reset();
            if (!error.isEmpty())
                guarded(m_screen, [&] { throw DbError(error, reader->sql); });
            return;
        }
        if (!more)
            return; // the reader hands back more later
        if (!whole && slice.elapsed() >= kSliceMs) {
            // The rest at a later turn, after the keys and paints waiting now.
            if (!reader->drainPosted.exchange(true))
                QTimer::singleShot(0, this, [this, reader] { drain(reader, false); });
            return;
        }
    }
}

} // namespace parcelon
