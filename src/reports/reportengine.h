#pragma once
// The report engine: reads a request's report (base/report.h), draws its pages on any paged device (a
// PDF writer, a printer) and presents it in a preview with print and save-as-PDF.
//
// Sinhala is set in Noto Sans Sinhala, shaped as the font wants, and drawn in a copy of the font that maps
// no glyph back to a character (reports/silentface.h); under it lies the same text in logical Unicode
// order as an invisible text layer, one glyph per character, so the PDF's text is real Sinhala that
// searches and copies. (Shaped glyphs with their usual mapping would come out of the PDF in visual order,
// the kombuva first and conjuncts lost.) Latin texts are plain PDF text.

#include "base/report.h"

#include <QByteArray>
#include <QVariantList>

#include <QPageLayout>

#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class QPainter;
class QPagedPaintDevice;
class QWidget;

namespace parcelon {

// A report laid out on its pages, drawn a page at a time: the preview draws the pages in view, printing
// streams them one after the other, so a report of every land never has all its pages in memory.
class ReportPages final
{
public:
    // Sets the rows on pages. `progress`, when given, hears now and then how many rows are set and stops
    // the setting by returning false; the pages are then not whole (see `whole`).
    explicit ReportPages(ReportData data, const std::function<bool(size_t rowsSet)> &progress = {});
    ~ReportPages();
    ReportPages(const ReportPages &) = delete;
    ReportPages &operator=(const ReportPages &) = delete;

    const ReportData &data() const { return m_data; }
    int count() const;
    // False when the setting was stopped before the last row.
    bool whole() const { return m_whole; }
    // The paper: A4 in the report's orientation, no margins (the pages keep their own).
    QPageLayout pageLayout() const;
    // Draws one page (from 0) with a painter on a device of `dpi` dots per inch.
    void paint(QPainter &painter, int page, qreal dpi) const;
    // Draws every page onto a paged device; `progress` hears of each page (from 0) before it is drawn
    // and ends the run early by returning false. Returns the pages drawn.
    int print(QPagedPaintDevice *device, const std::function<bool(int page)> &progress = {}) const;

private:
    struct Setter;
    ReportData m_data;
    std::unique_ptr<Setter> m_setter;
    bool m_whole = true;
};

class ReportEngine final
{
public:
    // Reads the request: its layout found in the report folder, its rows through the open session.
    static ReportData read(const ReportRequest &request);
    // Draws the report's pages on a paged device; returns the number of pages.
    static int paint(const ReportData &data, QPagedPaintDevice *device);
    // Writes the report as PDF into a device open for writing.
    static void writePdf(const ReportData &data, QIODevice *out);
    static QByteArray pdf(const ReportData &data);

    // Runs a request: reads it, renders it and presents it. A missing file or a failed render throws
    // (ReportError, DbError), which the screen's handler shows as the common failure message.
    static void run(const ReportRequest &request, QWidget *parent);
    // Fills a scratch table (land_report, member_report) with one row per list line (the values of
    // `columns`, and the line's place from 1 in line_no, which the report is ordered by), reads the
    // report over it and empties the table again, all in one transaction, so another workstation
    // printing at the same time never sees these rows nor mixes its own in; then renders and presents.
    // On any failure the transaction is undone and the table holds nothing of this run.
    // The table is filled, and the report read, on a session of its own on a worker thread while the
    // window answers (a progress bar and Cancel show when it takes long; Cancel undoes it all and
    // presents nothing).
    static void runWithScratch(const QString &scratchTable, const QStringList &columns,
        const std::vector<QVariantList> &rows, const ReportRequest &request, QWidget *parent);
    // The same with each row made from a list's line by `rowOf`, on the worker thread: a list of every
    // land is handed over as it stands, not turned into rows while the window waits.
    using RowOf = std::function<QVariantList(const QStringList &line)>;
    static void runWithScratch(const QString &scratchTable, const QStringList &columns, std::vector<QStringList> lines,
        const RowOf &rowOf, const ReportRequest &request, QWidget *parent);
    // A column of the scratch table filled from a list's lines: its name in the table and the line's
    // column it takes (the list's own name for it); a key is bound as a whole number (Dialect::key).
    struct FromLine
    {
        QString column;
        int line;
        bool key = false;
    };
    // The same with the scratch table's columns named against the list's.
    static void runWithScratch(const QString &scratchTable, const std::vector<FromLine> &columns,
        std::vector<QStringList> lines, const ReportRequest &request, QWidget *parent);

    // What presents a report: the preview window, which draws its pages as they are looked at, unless a
    // test puts something else here; that one is given the whole report rendered as PDF.
    using Presenter = std::function<void(QWidget *parent, const ReportData &data, const QByteArray &pdf)>;
    static Presenter setPresenter(Presenter presenter);
    // Called as each page starts; a test throws from it to make a render fail half-way.
    using PageHook = std::function<void(int page)>;
    static PageHook setPageHook(PageHook hook);

private:
    static void fillAndPresent(const QString &scratchTable, const QStringList &columns, size_t lines,
        const std::function<QVariantList(size_t line)> &rowAt, const ReportRequest &request, QWidget *parent);
};

// The office name as the main menu shows it; the register's office details when no main menu is open.
QString officeName();

} // namespace parcelon
