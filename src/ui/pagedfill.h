#pragma once
// A long list filled a page at a time: the first lines at once, the rest from the event loop.
//
// A list that may hold every land of the register (a hundred thousand lines) is read in pages of its
// key, each page one query read whole. The first page is the first lines in key order (a LIMIT), so the
// first screenful shows at once: nothing more is read until the list has painted it. The others are
// ranges of the key, which the engines read the way they read the whole list, one after the other from
// the event loop; each range is sized from the time the one before took, so that no page holds the
// window for more than a few tens of milliseconds and the clerk's keys are taken between pages. A new
// fill (or `stop`) ends a fill still under way. An engine reached through a generic driver, which has no
// LIMIT, gets the whole list in one query.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

class QEvent;
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

    struct Source
    {
        QString select; // "SELECT <columns> FROM <tables>", the key among the columns
        QString where; // a condition on the rows, or empty for every row
        QVariantList params; // the condition's values
        QString key; // the whole-number key the list is ordered by, as the select names it ("l.srno")
        int keyColumn = 0; // the key's place among the selected columns
        QString highest; // the query of the highest key of the table ("SELECT MAX(srno) FROM land")
        // The condition is expected to keep few rows (a typed contains-search over a joined view), so
        // finding even the first page reads every row. PostgreSQL is then told to join by hashing, not
        // row by row along the key's index, which it would choose hoping to fill the page early.
        bool fewRows = false;
    };

    // Empties the list and starts filling it from the source.
    void start(Source source);
    // Ends a fill under way; the lines already shown stay.
    void stop();
    // Reads the pages still to come at once, so the list is whole (before it is printed).
    void finish();
    // True while pages are still to come.
    bool filling() const { return m_pending; }
    // The query of the first page of the last fill, as it ran, with its values (for the plans' tests
    // and the bench, which time the same rows read bare).
    QString firstPageSql() const { return m_firstSql; }
    QVariantList firstPageParams() const { return m_firstParams; }

    static constexpr int kFirstPage = 200;
    // The keys of a later page: the first guess, and the bounds of what the time taken makes of it.
    static constexpr qlonglong kFirstSlice = 2000;
    static constexpr qlonglong kLeastSlice = 250;
    static constexpr qlonglong kPage = 25000;
    // What a later page may take, in milliseconds.
    static constexpr qint64 kSliceTime = 20;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Reads the next page of the fill under way.
    void page();
    Query firstPage(const QString &sql, const QVariantList &params);
    void schedule();
    // Reads on from the event loop, once the first page has been painted.
    void readOnLater();

    ListView *m_list;
    QWidget *m_screen;
    std::function<QStringList(const Query &)> m_lineOf;
    Source m_source;
    quint64 m_fill = 0;
    bool m_pending = false;
    bool m_first = true;
    qlonglong m_after = 0; // the last key read
    qlonglong m_highest = 0; // the highest key when the fill started
    qlonglong m_slice = kFirstSlice; // the keys of the next later page
    bool m_firstShown = false; // the first page was just added: the next waits for its paint
    bool m_awaitingPaint = false;
    QString m_firstSql;
    QVariantList m_firstParams;
};

} // namespace parcelon
