#pragma once
// The pages of a report on screen, one under the other, drawn only when they come into view. The
// latest few pages drawn are kept as images for scrolling back; the others are drawn again when
// needed, so a report of every land takes no more memory to look at than a short one.

#include <QAbstractScrollArea>
#include <QCache>
#include <QImage>

namespace parcelon {

class ReportPages;

class PageView final : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit PageView(const ReportPages &pages, QWidget *parent = nullptr);

    // The pages kept drawn at most.
    static constexpr int kCachedPages = 8;

    int pageCount() const;
    int cachedPages() const { return int(m_cache.size()); }
    // The page at the top of the view, from 0.
    int currentPage() const;
    void showPage(int page);

    // Pixels per point: 1 at the screen's 72 points an inch.
    qreal zoom() const { return m_zoom; }
    void setZoom(qreal zoom);
    void zoomIn() { setZoom(m_zoom * 1.25); }
    void zoomOut() { setZoom(m_zoom / 1.25); }
    void fitToWidth();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QSize pageSize() const; // in device-independent pixels at the zoom
    int pitch() const; // a page and the gap below it
    const QImage &page(int index);
    void updateScrollBars();

    const ReportPages &m_pages;
    QSizeF m_points; // the paper in points
    qreal m_zoom = 1;
    QCache<int, QImage> m_cache;
};

} // namespace parcelon
