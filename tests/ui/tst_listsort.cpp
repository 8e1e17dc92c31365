// A list the clerk has sorted stays sorted as lines arrive: lines added one at a time or many at once,
// and the later pages of a fill still under way, take their place in the sort (after the lines equal to
// them), so the list and whatever prints from it read in order. clear() forgets the sort. A long fill
// paints its first page before it reads on, and lets the event loop turn between its later pages.

#include "base/dbsession.h"
#include "support/clerk.h"
#include "support/fixture.h"
#include "ui/listview.h"
#include "ui/pagedfill.h"

#include <QEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <functional>

using namespace parcelon;

namespace {
// Calls back on every event of one kind that reaches a widget.
class Watch final : public QObject
{
public:
    Watch(QObject *watched, QEvent::Type type, std::function<void()> seen)
        : m_type(type)
        , m_seen(std::move(seen))
    {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == m_type)
            m_seen();
        return false;
    }

private:
    QEvent::Type m_type;
    std::function<void()> m_seen;
};

// Whether every line's text in the column follows the one before it, as the list sorts: as text, in
// any letter case.
// Rows 1..rows of a small table, each named after its number.
void seedNumbers(int rows)
{
    test::exec(QStringLiteral("INSERT INTO nadayo (srno, nathisambandaya) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                              "SELECT i + 1 FROM n WHERE i < %1) SELECT i, 'n' || CAST(i AS VARCHAR(10)) FROM n")
                   .arg(rows));
}

bool inOrder(const ListView &list, int column, Qt::SortOrder order)
{
    for (int row = 1; row < list.count(); ++row) {
        const int c = QString::compare(list.text(row - 1, column), list.text(row, column), Qt::CaseInsensitive);
        if (order == Qt::AscendingOrder ? c > 0 : c < 0)
            return false;
    }
    return true;
}
} // namespace

class tst_listsort : public QObject
{
    Q_OBJECT

private slots:
    void init() { test::openDatabase(); }
    void cleanup()
    {
        QCOMPARE(test::closeAllWindows(), QStringList());
        test::destroyDatabase();
    }

    void linesAddedAfterASortTakeTheirPlace_data()
    {
        QTest::addColumn<int>("clicks");
        QTest::addColumn<bool>("oneByOne");
        QTest::addColumn<QString>("numbers");
        // Lines equal but for letter case keep the order they came in: those shown first, then the added.
        QTest::newRow("ascending, one by one") << 1 << true << "1 5 2 4 7 3 6";
        QTest::newRow("ascending, many at once") << 1 << false << "1 5 2 4 7 3 6";
        QTest::newRow("descending, one by one") << 2 << true << "6 3 2 4 7 1 5";
        QTest::newRow("descending, many at once") << 2 << false << "6 3 2 4 7 1 5";
    }
    void linesAddedAfterASortTakeTheirPlace()
    {
        QFETCH(int, clicks);
        QFETCH(bool, oneByOne);
        QFETCH(QString, numbers);
        ListView list;
        list.setColumns({{QStringLiteral("wxlh"), 900}, {QStringLiteral("ku"), 2000}});
        list.addItems({{QStringLiteral("1"), QStringLiteral("a")}, {QStringLiteral("2"), QStringLiteral("B")},
            {QStringLiteral("3"), QStringLiteral("c")}});
        for (int i = 0; i < clicks; ++i)
            list.sortByColumnText(1);
        list.selectRow(1); // the line "2 B" in either order
        const std::vector<QStringList> added
            = {{QStringLiteral("4"), QStringLiteral("b")}, {QStringLiteral("5"), QStringLiteral("A")},
                {QStringLiteral("6"), QStringLiteral("d")}, {QStringLiteral("7"), QStringLiteral("b")}};
        if (oneByOne) {
            for (const QStringList &line : added)
                list.addItem(line);
        } else {
            list.addItems(added);
        }
        QCOMPARE(test::listLines(&list, {0}).join(QLatin1Char(' ')), numbers);
        // The selection stays on its line.
        QCOMPARE(list.text(list.selectedRow()), QStringLiteral("2"));

        list.clear();
        list.addItems({{QStringLiteral("9"), QStringLiteral("z")}, {QStringLiteral("8"), QStringLiteral("a")}});
        list.addItem({QStringLiteral("7"), QStringLiteral("m")});
        QCOMPARE(test::listLines(&list, {0}).join(QLatin1Char(' ')), QStringLiteral("9 8 7"));
    }

    void listSortedWhileFillingIsInOrderWhenWhole()
    {
        // Keys spread over three pages; names out of key order.
        const int rows = 1000;
        db().transaction([&] {
            for (int i = 1; i <= rows; ++i)
                db().execute(QStringLiteral("INSERT INTO nadayo (srno, nathisambandaya) VALUES (?, ?)"),
                    {i * 60, QStringLiteral("n%1").arg(i * 7919 % rows, 4, 10, QLatin1Char('0'))});
        });
        QWidget screen;
        ListView list(&screen);
        list.setColumns({{QStringLiteral("wxlh"), 900}, {QStringLiteral("ku"), 2000}});
        PagedFill fill(&list, &screen, [](const Query &row) { return QStringList {row.value(0), row.value(1)}; });
        PagedFill::Source source;
        source.select = QStringLiteral("SELECT srno, nathisambandaya FROM nadayo");
        source.key = QStringLiteral("srno");
        fill.start(source);
        QCOMPARE(list.count(), PagedFill::kFirstPage);
        QVERIFY(fill.filling());

        list.sortByColumnText(1);
        QVERIFY(inOrder(list, 1, Qt::AscendingOrder));
        // The pages still to come arrive after the sort, as before a print.
        fill.finish();
        QVERIFY(!fill.filling());
        QCOMPARE(list.count(), rows);
        QVERIFY(inOrder(list, 1, Qt::AscendingOrder));
    }

    // A clerk's next key starts a new fill while the last one is still being read: the list holds the
    // new fill's lines only, whatever the old reader still hands back; closing the screen mid-fill waits
    // for its reader.
    void newFillDropsTheOneUnderWay()
    {
        const int rows = 30000;
        seedNumbers(rows);
        QWidget screen;
        auto *list = new ListView(&screen);
        list->setColumns({{QStringLiteral("wxlh"), 900}, {QStringLiteral("ku"), 2000}});
        auto *fill = new PagedFill(list, &screen, [](const Query &row) {
            return QStringList {row.value(0), row.value(1)};
        });
        PagedFill::Source all;
        all.select = QStringLiteral("SELECT srno, nathisambandaya FROM nadayo");
        all.key = QStringLiteral("srno");
        fill->start(all);
        QTRY_VERIFY(list->count() > PagedFill::kFirstPage); // the reader is handing back the rest
        PagedFill::Source some = all;
        some.where = QStringLiteral("srno > ?");
        some.params = {rows - 500};
        fill->start(some);
        QTRY_VERIFY_WITH_TIMEOUT(!fill->filling(), 60000);
        QTest::qWait(200); // anything the old reader still had on its way
        QCOMPARE(list->count(), 500);
        QCOMPARE(list->text(0), QString::number(rows - 499));
        QCOMPARE(list->text(499), QString::number(rows));

        fill->start(all);
        QTRY_VERIFY(list->count() > PagedFill::kFirstPage);
        delete list; // the screen closes with its reader still running
    }

    void longFillPaintsFirstAndYieldsBetweenPages()
    {
        const int rows = 30000;
        seedNumbers(rows);
        QWidget screen;
        ListView list(&screen);
        list.setColumns({{QStringLiteral("wxlh"), 900}, {QStringLiteral("ku"), 2000}});
        list.resize(400, 300);
        test::showScreen(&screen);
        PagedFill fill(&list, &screen, [](const Query &row) { return QStringList {row.value(0), row.value(1)}; });
        PagedFill::Source source;
        source.select = QStringLiteral("SELECT srno, nathisambandaya FROM nadayo");
        source.key = QStringLiteral("srno");

        int atFirstPaint = -1;
        bool armed = false;
        Watch paints(list.viewport(), QEvent::Paint, [&] {
            if (armed && atFirstPaint < 0)
                atFirstPaint = list.count();
        });
        // What the event loop sees of the list each time it turns.
        QList<int> seen;
        QTimer turns;
        turns.setInterval(0);
        QObject::connect(&turns, &QTimer::timeout, [&] {
            if (seen.isEmpty() || seen.last() != list.count())
                seen << list.count();
        });
        fill.start(source);
        armed = true;
        turns.start();
        QTRY_VERIFY_WITH_TIMEOUT(!fill.filling(), 60000);
        turns.stop();
        QCOMPARE(list.count(), rows);
        // The first page reached the screen before anything more was read.
        QCOMPARE(atFirstPaint, PagedFill::kFirstPage);
        // The rest came in several pages, with the event loop turning between them.
        const auto between = std::count_if(seen.begin(), seen.end(), [&](int n) { return n > PagedFill::kFirstPage; });
        QVERIFY2(between >= 3, qPrintable(QStringLiteral("counts seen: %1").arg(seen.size())));
    }
};

QTEST_MAIN(tst_listsort)
#include "tst_listsort.moc"
