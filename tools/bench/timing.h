#pragma once
// What every timed comparison of the bench shares: the median of a few runs, one printed row per list
// (the screen's way, the per-line way, the bare native fetch and their ratios), the lines of a list and
// their comparison, and the bare native fetch itself.

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace parcelon {
class ListView;
}

namespace parcelon::bench {

using Lines = std::vector<QStringList>;

// The median time of `runs` runs of the work, in milliseconds.
double medianMs(const std::function<void()> &work, int runs = 5);
double ratio(double slow, double fast);
// One row: the screen's time, the per-line time and their ratio, the native fetch and the screen's ratio
// to it, the lines and whether both ways gave the same lines.
void report(const QString &what, double screen, double perLine, double native, qsizetype lines, bool same);
// A row without a per-line way: the screen's time against the native fetch (or statements) alone.
void reportNative(const QString &what, double screen, double native, qsizetype lines);

Lines linesOf(const ListView *list);
// Equal lines; a difference is printed with the first differing line.
bool sameLines(const QString &what, const Lines &screen, const Lines &perLine);

// The bare native fetch: the driver prepares, binds and runs the query, and every value of every row is
// read as text, as any list must; no session, no model. Returns the number of rows.
qsizetype nativeFetch(const QString &sql, const QVariantList &params = {});

// The application of the bench: it tells the measures below of every paint once it is done, so that a
// first screenful is timed when it has reached the window, through the event loop, as the clerk sees it.
class BenchApplication final : public QApplication
{
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override;
};

// What the clerk feels of one action on a shown screen, in milliseconds: the first screenful (the end
// of the first paint of the list that shows lines, or the end of the fill when it comes out empty), the
// list whole, and the longest time the event loop did not turn from the action to the list whole (how
// late a 1 ms timer came).
struct Felt
{
    double first = 0;
    double whole = 0;
    double stall = 0;
};
// Runs the action from the event loop, as a key or a click is run, and waits for the list to be whole
// and painted.
Felt feel(ListView *list, const std::function<void()> &action);
// The same for an action that opens a screen: it returns the list to watch.
Felt feelOpening(const std::function<ListView *()> &action);
Felt medianOf(const std::vector<Felt> &felts);
// A screen opened as the menu opens it (made and shown), felt to its list's first screenful and whole,
// `runs` times; each screen is closed once felt.
template <class Screen, class Make> Felt openingFelt(Make make, ListView *Screen::*list, int runs = 3)
{
    std::vector<Felt> felts;
    for (int run = 0; run < runs; ++run) {
        std::unique_ptr<Screen> screen;
        felts.push_back(feelOpening([&] {
            screen = make();
            screen->show();
            return (*screen).*list;
        }));
    }
    return medianOf(felts);
}
// The median of each figure over `runs` runs.
Felt medianFelt(ListView *list, const std::function<void()> &action, int runs = 5);
Felt medianFelt(const std::function<ListView *()> &action, int runs = 5);
// The keys of the text typed into the box one at a time, then taken back with Backspace until the box is
// empty, `runs` times: each key's median, and the worst key of each figure.
Felt typeAndErase(ListView *list, QWidget *box, const QString &text, int runs = 3);
// Shows a screen as the application does and waits until it has been painted.
void showScreen(QWidget *screen);
// A key typed into the box with the focus: pressed and released, as the keyboard sends it.
void typeKey(QWidget *box, int key, const QString &text = {});
// Reads the list's later pages at once (outside any timing).
void fillWhole(ListView *list);
// The query of the first page of the list's last paged fill and its values; empty when it has none.
std::pair<QString, QVariantList> firstPageQuery(const ListView *list);

// What the clerk waits for against what it may take.
constexpr double kFirstPaintMs = 100;
constexpr double kKeyMs = 50;
constexpr double kStallMs = 50;
constexpr double kWholeRatio = 1.5;
constexpr double kPagesPerSecond = 100;
constexpr double kPrintPeakMb = 300;

// A row of what the clerk feels: the first screenful, the longest stall and the whole, each against its
// bound (`firstBound`: a key's or an opening's), and the first screenful against the native fetch of the
// first page's own rows. Rows over a bound are counted for the summary.
void reportFelt(const QString &what, const Felt &felt, double firstBound, double firstNative, qsizetype lines);
// A whole list against the native fetch of the same rows, counted over when above kWholeRatio.
void reportWhole(const QString &what, double whole, double native, qsizetype lines);
// A figure that went over its bound, counted for the summary.
void over(const QString &what);
QStringList overBounds();

// The process's peak resident memory (VmHWM) in MB, and its reset (false where the system refuses it).
double peakResidentMb();
bool resetPeakResident();

} // namespace parcelon::bench
