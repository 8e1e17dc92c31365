#include "reports/pageview.h"

#include "reports/reportengine.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace parcelon {
namespace {
constexpr int kGap = 12; // between pages, and around them
constexpr qreal kLeastZoom = 0.2;
constexpr qreal kMostZoom = 6;
} // namespace

PageView::PageView(const ReportPages &pages, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_pages(pages)
    , m_points(pages.pageLayout().fullRectPoints().size())
    , m_cache(kCachedPages)
{
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(40);
    horizontalScrollBar()->setSingleStep(40);
}

int PageView::pageCount() const { return m_pages.count(); }

QSize PageView::pageSize() const
{
    return {int(std::lround(m_points.width() * m_zoom)), int(std::lround(m_points.height() * m_zoom))};
}

int PageView::pitch() const { return pageSize().height() + kGap; }

int PageView::currentPage() const
{
    return std::clamp(verticalScrollBar()->value() / std::max(1, pitch()), 0, std::max(0, pageCount() - 1));
}

void PageView::showPage(int page) { verticalScrollBar()->setValue(std::clamp(page, 0, pageCount() - 1) * pitch()); }

void PageView::setZoom(qreal zoom)
{
    zoom = std::clamp(zoom, kLeastZoom, kMostZoom);
    if (qFuzzyCompare(zoom, m_zoom))
        return;
    const int page = currentPage();
    m_zoom = zoom;
    m_cache.clear(); // drawn at the old size
    updateScrollBars();
    showPage(page);
    viewport()->update();
}

void PageView::fitToWidth()
{
    // A pixel short of the room, so rounding never brings up a horizontal scroll bar.
    const int room = viewport()->width() - 2 * kGap - 1;
    if (room > 0 && m_points.width() > 0)
        setZoom(room / m_points.width());
}

void PageView::updateScrollBars()
{
    const QSize size = pageSize();
    const int height = pageCount() * pitch() + kGap;
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setRange(0, std::max(0, size.width() + 2 * kGap - viewport()->width()));
}

void PageView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

const QImage &PageView::page(int index)
{
    if (const QImage *drawn = m_cache.object(index))
        return *drawn;
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = pageSize() * ratio;
    auto *image = new QImage(pixels, QImage::Format_RGB32);
    image->setDevicePixelRatio(ratio);
    image->fill(Qt::white);
    QPainter painter(image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // The image's dots per inch: its width in pixels over the paper's width in inches.
    m_pages.paint(painter, index, pixels.width() / (m_points.width() / 72.0));
    painter.end();
    m_cache.insert(index, image);
    return *m_cache.object(index);
}

void PageView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QSize size = pageSize();
    const int top = verticalScrollBar()->value();
    const int left = std::max(kGap, (viewport()->width() - size.width()) / 2) - horizontalScrollBar()->value();
    const QRect exposed = event->rect();
    const int first = std::max(0, (top + exposed.top() - kGap) / pitch());
    const int last = std::min(pageCount() - 1, (top + exposed.bottom()) / pitch());
    for (int p = first; p <= last; ++p) {
        const QRect where(QPoint(left, kGap + p * pitch() - top), size);
        if (where.intersects(exposed))
            painter.drawImage(where, page(p));
    }
}

} // namespace parcelon
