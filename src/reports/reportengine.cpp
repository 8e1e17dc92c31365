#include "reports/reportengine.h"

#include "base/clock.h"
#include "base/dbsession.h"
#include "base/freedmemory.h"
#include "reports/reportpreview.h"
#include "reports/silentface.h"

#include <QApplication>
#include <QAtomicInteger>
#include <QBuffer>
#include <QDate>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QProgressDialog>
#include <QRawFont>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <exception>
#include <limits>
#include <numeric>
#include <utility>

namespace parcelon {
namespace {
ReportEngine::Presenter &presenter()
{
    static ReportEngine::Presenter p;
    return p;
}

ReportEngine::PageHook &pageHook()
{
    static ReportEngine::PageHook h;
    return h;
}

// Pages are laid out in tenths of a point, so font sizes in whole pixels still come in tenths.
constexpr qreal kUnitsPerInch = 720.0;
constexpr qreal kMargin = 360; // half an inch
constexpr int kBodySize = 85; // 8.5 pt
constexpr qreal kLine = 150; // a line of the table
constexpr qreal kCellPad = 30;

bool hasSinhala(const QString &text)
{
    return std::any_of(
        text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x0D80 && c.unicode() <= 0x0DFF; });
}

QFont reportFont(int tenthsOfPoint, bool bold = false)
{
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans Sinhala"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(tenthsOfPoint);
    font.setBold(bold);
    return font;
}

QFont latinFace(int tenthsOfPoint, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(tenthsOfPoint);
    font.setBold(bold);
    return font;
}

// One piece of text on a page: Sinhala as shaped glyphs that map to no characters plus its invisible
// logical text; anything else as plain text. `x` is the left edge, `baseline` the base line.
class TextSetter
{
public:
    explicit TextSetter(QPainter &painter)
        : m_painter(painter)
    {
    }

    qreal width(const QString &text, const QFont &font) const { return QFontMetricsF(font).horizontalAdvance(text); }

    void draw(const QString &text, const QFont &font, qreal x, qreal baseline)
    {
        if (text.isEmpty())
            return;
        if (!hasSinhala(text)) {
            m_painter.setFont(font);
            m_painter.setPen(Qt::black);
            m_painter.drawText(QPointF(x, baseline), text);
            return;
        }
        if (!shape(text, font, x, baseline)) {
            QPainterPath path;
            path.addText(x, baseline, font, text);
            m_painter.fillPath(path, Qt::black);
        }
        layer(text, font, x, baseline);
    }

    // A text wrapped over several lines of a cell: each line's glyphs drawn without text, and under the
    // first line the whole text as one invisible run, set small enough to fit the cell's width, so that
    // the PDF's text holds the field whole, in reading order, inside its column.
    void drawWrapped(const QStringList &lines, const QFont &font, qreal x, qreal baseline, qreal step, qreal room)
    {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const qreal lineBase = baseline + i * step;
            if (!hasSinhala(lines.at(i)) || !shape(lines.at(i), font, x, lineBase)) {
                QPainterPath path;
                path.addText(x, lineBase, font, lines.at(i));
                m_painter.fillPath(path, Qt::black);
            }
        }
        const QString whole = lines.join(QLatin1Char(' '));
        const qreal full = width(whole, font);
        QFont small = font;
        if (full > room && full > 0)
            small.setPixelSize(std::max(1, int(font.pixelSize() * room / full)));
        layer(whole, small, x, baseline);
    }

private:
    // The visible text: shaped glyphs drawn in silent copies of their faces (see silentface.h). False when
    // a face cannot be copied, before anything is drawn.
    bool shape(const QString &text, const QFont &font, qreal x, qreal baseline)
    {
        QTextLayout layout(text, font);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        QList<QGlyphRun> runs = layout.glyphRuns();
        for (QGlyphRun &run : runs) {
            const QRawFont silent = silentFace(run.rawFont());
            if (!silent.isValid())
                return false;
            run.setRawFont(silent);
        }
        m_painter.setPen(Qt::black);
        for (const QGlyphRun &run : runs)
            m_painter.drawGlyphRun(QPointF(x, baseline - line.ascent()), run);
        return true;
    }

    // The invisible text: each character its own glyph, in logical order, from the Sinhala face where it
    // has the character and from the Latin face otherwise.
    void layer(const QString &text, const QFont &font, qreal x, qreal baseline)
    {
        const QRawFont sinhala = QRawFont::fromFont(font, QFontDatabase::Sinhala);
        QFont latin = latinFace(font.pixelSize(), font.bold());
        const QRawFont roman = QRawFont::fromFont(latin);
        m_painter.setPen(QColor(Qt::transparent));
        qsizetype i = 0;
        while (i < text.size()) {
            const bool inSinhala = sinhala.supportsCharacter(text.at(i)) || text.at(i) == QChar(0x200D);
            qsizetype j = i + 1;
            while (
                j < text.size() && (sinhala.supportsCharacter(text.at(j)) || text.at(j) == QChar(0x200D)) == inSinhala)
                ++j;
            const QRawFont &face = inSinhala ? sinhala : roman;
            const QList<quint32> glyphs = face.glyphIndexesForString(text.mid(i, j - i));
            const QList<QPointF> advances = face.advancesForGlyphIndexes(glyphs);
            QList<QPointF> positions;
            for (const QPointF &advance : advances) {
                positions << QPointF(x, baseline);
                x += advance.x();
            }
            QGlyphRun run;
            run.setRawFont(face);
            run.setGlyphIndexes(glyphs);
            run.setPositions(positions);
            m_painter.drawGlyphRun(QPointF(0, 0), run);
            i = j;
        }
    }

    QPainter &m_painter;
};

struct PageLine
{
    bool group = false;
    int row = 0;
    qreal height = kLine;
};

// The step from one wrapped line of a cell to the next.
constexpr qreal kWrapStep = 100;

// The pieces of `text` that each fit `room` in `font`: broken between words, and inside a word (between
// its letters as the reader sees them) only where one word is wider than the cell.
QStringList wrapped(const QString &text, const QFont &font, qreal room)
{
    const QFontMetricsF metrics(font);
    auto fits = [&](const QString &piece) { return metrics.horizontalAdvance(piece) <= room; };
    QStringList lines;
    QString line;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (fits(longer)) {
            line = longer;
            continue;
        }
        if (!line.isEmpty())
            lines << line;
        line.clear();
        if (fits(word)) {
            line = word;
            continue;
        }
        QTextBoundaryFinder letters(QTextBoundaryFinder::Grapheme, word);
        qsizetype start = 0;
        qsizetype last = 0;
        for (qsizetype at = letters.toNextBoundary(); at > 0; at = letters.toNextBoundary()) {
            if (!fits(word.mid(start, at - start)) && last > start) {
                lines << word.mid(start, last - start);
                start = last;
            }
            last = at;
        }
        line = word.mid(start);
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines << line;
    return lines;
}

class PageSetter
{
public:
    explicit PageSetter(const ReportData &data, const std::function<bool(size_t rowsSet)> &progress = {})
        : m_data(data)
        , m_layout(QPageSize(QPageSize::A4), data.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
              QMarginsF(0, 0, 0, 0))
    {
        const QRectF paper = m_layout.fullRectPoints();
        m_width = paper.width() * 10 - 2 * kMargin;
        m_height = paper.height() * 10 - 2 * kMargin;
        const int total = std::accumulate(m_data.widths.begin(), m_data.widths.end(), 0);
        m_scale = total > 0 ? m_width / total : 1;
        m_pages = paginate(progress);
    }

    const QPageLayout &layout() const { return m_layout; }
    bool whole() const { return m_whole; }
    int count() const { return int(m_pages.size()); }

    // One page, from 0, on a device of `dpi` dots per inch.
    void paintPage(QPainter &painter, int p, qreal dpi)
    {
        TextSetter text(painter);
        painter.resetTransform();
        painter.scale(dpi / kUnitsPerInch, dpi / kUnitsPerInch);
        painter.translate(kMargin, kMargin);
        qreal y = header(painter, text);
        for (const PageLine &line : m_pages[size_t(p)]) {
            const qreal top = y;
            y += line.height;
            if (line.group) {
                const QFont bold = reportFont(kBodySize, true);
                text.draw(
                    m_data.groupCaption + QStringLiteral(" ") + m_data.rows[size_t(line.row)].group, bold, 0, y - 40);
            } else {
                cells(text, m_data.rows[size_t(line.row)].cells, reportFont(kBodySize), top + kLine - 40);
            }
        }
        painter.setPen(QPen(Qt::black, 5));
        painter.drawLine(QPointF(0, y + 30), QPointF(m_width, y + 30));
        const QString footer = QStringLiteral("%1 / %2").arg(p + 1).arg(m_pages.size());
        const QFont small = latinFace(75);
        text.draw(footer, small, (m_width - text.width(footer, small)) / 2, m_height);
    }

    // Every page onto the device, one after the other: only the page being drawn is held. `progress`
    // hears of each page before it is drawn and stops the run by returning false.
    int print(QPagedPaintDevice *device, const std::function<bool(int)> &progress)
    {
        device->setPageLayout(m_layout);
        QPainter painter;
        if (!painter.begin(device))
            throw ReportError(QStringLiteral("The report %1 cannot be drawn on this device").arg(m_data.file));
        int p = 0;
        try {
            for (; p < count(); ++p) {
                if (pageHook())
                    pageHook()(p + 1);
                if (progress && !progress(p))
                    break;
                if (p > 0 && !device->newPage())
                    throw ReportError(QStringLiteral("The report %1 could not start a new page").arg(m_data.file));
                paintPage(painter, p, device->logicalDpiX());
            }
            painter.end();
        } catch (...) {
            painter.end();
            throw;
        }
        return p;
    }

private:
    // The office, the header lines, the title, the date and the column captions; returns where the
    // table's first line starts.
    qreal header(QPainter &painter, TextSetter &text)
    {
        qreal y = 0;
        for (qsizetype i = 0; i < m_data.header.size(); ++i) {
            const QFont font = reportFont(i == 0 ? 160 : 110, i == 0);
            y += i == 0 ? 220 : 170;
            const QString &line = m_data.header.at(i);
            text.draw(line, font, (m_width - text.width(line, font)) / 2, y);
        }
        const QFont titleFont = reportFont(140, true);
        y += 220;
        text.draw(m_data.title, titleFont, (m_width - text.width(m_data.title, titleFont)) / 2, y);
        // The day it was printed, by the clock the screens stamp rows with.
        const QString printed = Clock::now().date().toString(QStringLiteral("yyyy/MM/dd"));
        const QFont small = latinFace(75);
        text.draw(printed, small, m_width - text.width(printed, small), y);
        y += 120;
        painter.setPen(QPen(Qt::black, 5));
        painter.drawLine(QPointF(0, y), QPointF(m_width, y));
        y += kLine + 20;
        cells(text, m_data.captions, reportFont(kBodySize, true), y - 50);
        painter.drawLine(QPointF(0, y), QPointF(m_width, y));
        return y;
    }

    // How a cell's text is set: a text wider than its column is set smaller, down to two thirds of the
    // size; what is wider still wraps inside the cell, and its line of the table grows.
    struct Fitted
    {
        QFont font;
        QStringList lines;
        qreal width = 0; // of the one line, when it fits on one
    };
    Fitted fit(const QString &value, const QFont &font, qreal room) const
    {
        Fitted fitted {font, {value}, QFontMetricsF(font).horizontalAdvance(value)};
        if (fitted.width <= room || room <= 0)
            return fitted;
        fitted.font.setPixelSize(std::max(font.pixelSize() * 2 / 3, int(font.pixelSize() * room / fitted.width)));
        fitted.width = QFontMetricsF(fitted.font).horizontalAdvance(value);
        if (fitted.width > room)
            fitted.lines = wrapped(value, fitted.font, room);
        return fitted;
    }

    // The height of a row of the table: one line, and a step for every further line a cell wraps to.
    // Every row is measured before the first page shows, so the common case is kept cheap: a text too
    // short to overflow is not measured, and the measures of the two sizes are made once.
    qreal rowHeight(const QStringList &values) const
    {
        qsizetype lines = 1;
        for (size_t c = 0; c < m_data.widths.size() && qsizetype(c) < values.size(); ++c) {
            const QString &value = values.at(qsizetype(c));
            const qreal room = m_data.widths[c] * m_scale - 2 * kCellPad;
            if (room <= 0 || value.size() * m_body.maxWidth() <= room || m_body.horizontalAdvance(value) <= room
                || m_small.horizontalAdvance(value) <= room)
                continue;
            lines = std::max(lines, wrapped(value, m_smallFont, room).size());
        }
        return kLine + qreal(lines - 1) * kWrapStep;
    }

    // A line of the table; no text runs into the next column or past the page.
    void cells(TextSetter &text, const QStringList &values, const QFont &font, qreal baseline)
    {
        qreal x = 0;
        for (size_t c = 0; c < m_data.widths.size(); ++c) {
            const qreal w = m_data.widths[c] * m_scale;
            if (w > 0 && qsizetype(c) < values.size()) {
                const QString &value = values.at(qsizetype(c));
                const qreal room = w - 2 * kCellPad;
                const Fitted set = fit(value, font, room);
                if (set.lines.size() > 1) {
                    text.drawWrapped(set.lines, set.font, x + kCellPad, baseline, kWrapStep, room);
                    x += w;
                    continue;
                }
                const QFont &fitted = set.font;
                const qreal width = set.width;
                qreal left = x + kCellPad;
                if (m_data.aligns[c] & Qt::AlignRight)
                    left = x + w - kCellPad - width;
                else if (m_data.aligns[c] & Qt::AlignHCenter)
                    left = x + (w - width) / 2;
                text.draw(value, fitted, left, baseline);
            }
            x += w;
        }
    }

    qreal headerHeight() const { return 220 + (m_data.header.size() - 1) * 170 + 220 + 120 + kLine + 20; }

    std::vector<std::vector<PageLine>> paginate(const std::function<bool(size_t rowsSet)> &progress)
    {
        const qreal room = std::max(5 * kLine, m_height - headerHeight() - 300);
        std::vector<std::vector<PageLine>> pages(1);
        qreal used = 0;
        QString group;
        for (size_t r = 0; r < m_data.rows.size(); ++r) {
            if (progress && r % kRowsBetweenWords == 0 && !progress(r)) {
                m_whole = false;
                break;
            }
            const bool newGroup = m_data.grouped && (r == 0 || m_data.rows[r].group != group);
            const qreal height = std::min(room - (newGroup ? kLine : 0), rowHeight(m_data.rows[r].cells));
            const qreal needed = height + (newGroup ? kLine : 0);
            if (used + needed > room && !pages.back().empty()) {
                pages.emplace_back();
                used = 0;
            }
            if (newGroup)
                pages.back().push_back({true, int(r), kLine});
            pages.back().push_back({false, int(r), height});
            used += needed;
            group = m_data.rows[r].group;
        }
        return pages;
    }

    const ReportData &m_data;
    // The table's text at its size and at the two thirds it may shrink to.
    const QFontMetricsF m_body {reportFont(kBodySize)};
    const QFont m_smallFont = reportFont(kBodySize * 2 / 3);
    const QFontMetricsF m_small {m_smallFont};
    QPageLayout m_layout;
    std::vector<std::vector<PageLine>> m_pages;
    qreal m_width = 0;
    qreal m_height = 0;
    qreal m_scale = 1;
    bool m_whole = true;
    // How often the setting of the rows tells how far it is.
    static constexpr size_t kRowsBetweenWords = 256;
};

// The report as the clerk gets it: the preview, or whatever a test put in its place.
void present(QWidget *parent, std::unique_ptr<ReportPages> pages)
{
    if (presenter()) {
        presenter()(parent, pages->data(), ReportEngine::pdf(pages->data()));
        return;
    }
    {
        ReportPreview preview(std::move(pages), {}, parent);
        preview.exec();
    }
    returnFreedMemoryLater(); // the pages and their rows
}

void present(QWidget *parent, ReportData data)
{
    if (presenter()) {
        presenter()(parent, data, ReportEngine::pdf(data));
        return;
    }
    present(parent, std::make_unique<ReportPages>(std::move(data)));
}

// A long preparation lets the window answer at least this often, and shows its progress after this long.
constexpr int kTurnMs = 25;
constexpr int kProgressAfterMs = 1000;
} // namespace

ReportData ReportEngine::read(const ReportRequest &request)
{
    return readReport(ReportLayout::load(reportFilePath(request.file)), request);
}

int ReportEngine::paint(const ReportData &data, QPagedPaintDevice *device)
{
    return PageSetter(data).print(device, {});
}

struct ReportPages::Setter : PageSetter
{
    using PageSetter::PageSetter;
};

ReportPages::ReportPages(ReportData data, const std::function<bool(size_t rowsSet)> &progress)
    : m_data(std::move(data))
    , m_setter(std::make_unique<Setter>(m_data, progress))
    , m_whole(m_setter->whole())
{
}

ReportPages::~ReportPages() = default;

int ReportPages::count() const { return m_setter->count(); }

QPageLayout ReportPages::pageLayout() const { return m_setter->layout(); }

void ReportPages::paint(QPainter &painter, int page, qreal dpi) const { m_setter->paintPage(painter, page, dpi); }

int ReportPages::print(QPagedPaintDevice *device, const std::function<bool(int)> &progress) const
{
    return m_setter->print(device, progress);
}

void ReportEngine::writePdf(const ReportData &data, QIODevice *out)
{
    QPdfWriter writer(out);
    writer.setResolution(1200);
    writer.setTitle(data.title);
    writer.setCreator(QStringLiteral("Parcelon"));
    paint(data, &writer);
}

QByteArray ReportEngine::pdf(const ReportData &data)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writePdf(data, &buffer);
    return bytes;
}

void ReportEngine::run(const ReportRequest &request, QWidget *parent) { present(parent, read(request)); }

void ReportEngine::runWithScratch(const QString &scratchTable, const QStringList &columns,
    const std::vector<QVariantList> &rows, const ReportRequest &request, QWidget *parent)
{
    fillAndPresent(
        scratchTable, columns, rows.size(), [&rows](size_t r) { return rows[r]; }, request, parent);
}

void ReportEngine::runWithScratch(const QString &scratchTable, const QStringList &columns,
    std::vector<QStringList> lines, const RowOf &rowOf, const ReportRequest &request, QWidget *parent)
{
    fillAndPresent(
        scratchTable, columns, lines.size(), [&lines, &rowOf](size_t r) { return rowOf(lines[r]); }, request, parent);
}

void ReportEngine::runWithScratch(const QString &scratchTable, const std::vector<FromLine> &columns,
    std::vector<QStringList> lines, const ReportRequest &request, QWidget *parent)
{
    QStringList names;
    for (const FromLine &column : columns)
        names << column.column;
    runWithScratch(
        scratchTable, names, std::move(lines),
        [&columns](const QStringList &line) {
            QVariantList row;
            row.reserve(qsizetype(columns.size()));
            for (const FromLine &column : columns) {
                const QString value = line.value(column.line);
                row << (column.key ? Dialect::key(value) : QVariant(value));
            }
            return row;
        },
        request, parent);
}

void ReportEngine::fillAndPresent(const QString &scratchTable, const QStringList &columns, size_t lines,
    const std::function<QVariantList(size_t line)> &rowAt, const ReportRequest &request, QWidget *parent)
{
    // A missing layout is known before any row is written.
    const ReportLayout layout = ReportLayout::load(reportFilePath(request.file));
    // The rows go in fifty to a statement: a register-sized list is thousands of statements, not a
    // hundred thousand round trips to the server (and within the oldest SQLite's 999 parameters).
    constexpr size_t kRowsPerInsert = 50;
    const QString head
        = QStringLiteral("INSERT INTO %1 (%2, line_no) VALUES ").arg(scratchTable, columns.join(QStringLiteral(", ")));
    const QString values = QStringLiteral("(%1?)").arg(QStringLiteral("?, ").repeated(columns.size()));

    // Writing a register's worth of lines and reading them back takes seconds: it runs on a session of
    // its own on a worker thread while the window answers, with a progress bar and Cancel; then the
    // rows are set on pages a slice at a time. Cancel undoes the writing and shows nothing.
    const int total = int(std::min<size_t>(lines, size_t(std::numeric_limits<int>::max() / 2)));
    QProgressDialog progress(
        QStringLiteral("Preparing the report..."), QStringLiteral("Cancel"), 0, 2 * total + 1, parent);
    progress.setObjectName(QStringLiteral("preparing"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(kProgressAfterMs);
    // Until the bar shows, the clerk's keys and clicks wait: the screen behind is in the middle of this.
    const auto answer = [&progress] {
        QCoreApplication::processEvents(
            progress.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    };

    struct Stopped
    {
    };
    std::atomic<qsizetype> written {0};
    std::atomic_bool stop {false};
    ReportData data;
    std::exception_ptr failure;
    bool stopped = false;
    static QAtomicInteger<quint64> sessions;
    const QString connection = QStringLiteral("parcelon-report-%1").arg(sessions.fetchAndAddRelaxed(1));
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            DbSession session(connection);
            if (!session.connect_db())
                throw DbError(QStringLiteral("The connection to the data source land could not be opened."), head);
            session.transaction([&] {
                for (size_t first = 0; first < lines; first += kRowsPerInsert) {
                    if (stop)
                        throw Stopped {};
                    const size_t count = std::min(kRowsPerInsert, lines - first);
                    QVariantList params;
                    params.reserve(qsizetype(count) * (columns.size() + 1));
                    for (size_t r = first; r < first + count; ++r) {
                        const QVariantList row = rowAt(r);
                        if (row.size() != columns.size())
                            throw ReportError(QStringLiteral("A line of %1 has %2 values for %3 columns")
                                                  .arg(scratchTable)
                                                  .arg(row.size())
                                                  .arg(columns.size()));
                        params << row << int(r + 1);
                    }
                    session.execute(head + QStringList(qsizetype(count), values).join(QStringLiteral(", ")), params);
                    written += qsizetype(count);
                }
                data = readReport(layout, request, session);
                session.execute(QStringLiteral("DELETE FROM ") + scratchTable);
            });
        } catch (const Stopped &) {
            stopped = true;
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    worker->start();
    while (!worker->wait(QDeadlineTimer(kTurnMs))) {
        progress.setValue(int(std::min<qsizetype>(written, total)));
        if (progress.wasCanceled())
            stop = true;
        answer();
    }
    if (failure)
        std::rethrow_exception(failure);
    if (stopped)
        return;

    QElapsedTimer turn;
    turn.start();
    auto pages = std::make_unique<ReportPages>(std::move(data), [&](size_t set) {
        if (turn.elapsed() >= kTurnMs) {
            progress.setValue(total + int(std::min<size_t>(set, size_t(total))));
            answer();
            turn.restart();
        }
        return !progress.wasCanceled();
    });
    progress.reset();
    if (!pages->whole())
        return;
    present(parent, std::move(pages));
}

ReportEngine::Presenter ReportEngine::setPresenter(Presenter p) { return std::exchange(presenter(), std::move(p)); }

ReportEngine::PageHook ReportEngine::setPageHook(PageHook hook) { return std::exchange(pageHook(), std::move(hook)); }

QString officeName()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("frmhome")) {
            if (auto *label = w->findChild<QLabel *>(QStringLiteral("labname")))
                return label->text();
        }
    }
    return db().scalar(QStringLiteral("SELECT name FROM detels ORDER BY srno"));
}

} // namespace parcelon
