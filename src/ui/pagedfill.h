#pragma once
// A long list filled a page at a time: the first lines at once, the rest while the window answers.
//
// A list that may hold every land of the register (a hundred thousand lines) shows its first page (the
// first lines in key order, a LIMIT) at once, read on the screen's own session; nothing more is read
// until the list has painted it. The rest is read in one query, as fast as the engine reads the whole
// list (on SQLite in ranges of the key, a statement each, so that no save waits for the whole list), on
// a session of its own on a worker thread, and handed back in chunks that the list adds from
// the event loop one at a time, so the clerk's keys are taken between them. A new fill (or `stop`) ends
// a fill still under way: its reader is told to stop, and what it still hands back is dropped. An
// engine reached through a generic driver, which has no LIMIT, gets the whole list in one query on the
// screen's session.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <memory>
#include <vector>

class QEvent;
class QThread;
class QWidget;

namespace parcelon {

class ListView;
class Query;

class PagedFill final : public QObject
{
    Q_OBJECT
public:
    // The list's lines are made by `lineOf` from the rows (an empty line leaves the row out); failures
    // are shown over `screen`.
    PagedFill(ListView *list, QWidget *screen, std::function<QStringList(const Query &)> lineOf);
    // Waits for the readers still running (they stop at their next chunk).
    ~PagedFill() override;

    struct Source
    {
        QString select; // "SELECT <columns> FROM <tables>", the key among the columns
        QString where; // a condition on the rows, or empty for every row
        QVariantList params; // the condition's values
        QString key; // the whole-number key the list is ordered by, as the select names it ("l.srno")
        int keyColumn = 0; // the key's place among the selected columns
        // The condition is expected to keep few rows (a typed contains-search over a joined view), so
        // finding even the first page reads every row. PostgreSQL is then told to join by hashing, not
        // row by row along the key's index, which it would choose hoping to fill the page early.
        bool fewRows = false;
    };

    // Empties the list and starts filling it from the source.
    void start(Source source);
    // Ends a fill under way; the lines already shown stay.
    void stop();
    // Waits for the rest of the list and adds it at once, so the list is whole (before it is printed).
    void finish();
    // True while lines are still to come.
    bool filling() const { return m_pending; }
    // The query of the first page of the last fill, as it ran, with its values (for the plans' tests
    // and the bench, which time the same rows read bare).
    QString firstPageSql() const { return m_firstSql; }
    QVariantList firstPageParams() const { return m_firstParams; }

    static constexpr int kFirstPage = 200;
    // The rows the reader hands back at a time. The list adds the chunks waiting at a turn of the event
    // loop until kSliceMs have passed (at least one), so the clerk's keys and the paints come between.
    static constexpr qsizetype kChunk = 2000;
    static constexpr int kSliceMs = 12;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Reader;
    struct Running
    {
        QThread *thread;
        std::shared_ptr<Reader> reader;
    };

    // Reads the first page of the fill under way.
    void page();
    Query firstPage(const QString &sql, const QVariantList &params);
    void schedule();
    // Reads on, once the first page has been painted.
    void readOnLater();
    // Starts the reader of the rest of the list.
    void readRest();
    // Adds what the reader has handed back: a chunk at a turn of the event loop, or all of it when `whole`.
    void drain(const std::shared_ptr<Reader> &reader, bool whole);

    ListView *m_list;
    QWidget *m_screen;
    std::function<QStringList(const Query &)> m_lineOf;
    Source m_source;
    quint64 m_fill = 0;
    bool m_pending = false;
    qlonglong m_after = 0; // the last key of the first page
    bool m_firstShown = false; // the first page was just added: the rest waits for its paint
    bool m_awaitingPaint = false;
    QString m_firstSql;
    QVariantList m_firstParams;
    std::shared_ptr<Reader> m_reader; // the reader of the fill under way
    // The lines the fill replaced. A reader frees them once it has read: freed meanwhile, on any
    // thread, they would contend for the allocator with the reading.
    std::vector<QStringList> m_replaced;
    std::vector<Running> m_running; // every reader's thread still running, stopped ones included
};

} // namespace parcelon
