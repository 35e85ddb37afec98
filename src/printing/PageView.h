#pragma once

#include <QAbstractScrollArea>
#include <QList>

#include <functional>

class PreparedReport;
struct PreparedPage;

// The pages one under the other on a grey desk, each on white paper with a shadow.
class PageView : public QAbstractScrollArea
{
public:
    static constexpr int margin = 20; // around the pages
    static constexpr int gap = 16;    // between pages

    explicit PageView(QWidget* parent);

    std::function<void(int delta, const QPoint& at)> zoomWheel;
    std::function<void()> resized;

    void setReport(const PreparedReport* report);

    double zoom() const { return m_zoom; }

    // Sets the zoom keeping the point of the paper under anchor (viewport coordinates) there.
    void setZoom(double zoom, const QPoint& anchor);

    double fitWidthZoom() const;

    double wholePageZoom(int page) const;

    // The page most in view: the one across the middle of the window, the first or the last
    // at the ends of the scroll range.
    int pageInView() const;

    void scrollToPage(int page);

    // Scrolls the least that brings an area of a page (millimetres) into view, centring it
    // when it was out of sight.
    void showArea(int page, const QRectF& mm);

    void setHighlight(int page, const QRectF& mm);

    void clearHighlight() { setHighlight(-1, QRectF()); }

protected:
    void paintEvent(QPaintEvent*) override;

    void resizeEvent(QResizeEvent* event) override;

    void scrollContentsBy(int dx, int dy) override { viewport()->scroll(dx, dy); }

    void wheelEvent(QWheelEvent* event) override;

    // The paper can be dragged around with the mouse.
    void mousePressEvent(QMouseEvent* event) override;

    void mouseMoveEvent(QMouseEvent* event) override;

    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const QList<PreparedPage>& pages() const;

    double dotsPerMm() const;

    QPoint offset() const;

    // Content coordinates of an area of a page given in millimetres.
    QRectF onPage(int page, const QRectF& mm) const;

    // The page at or next above a height of the content.
    int pageNear(int y) const;

    void relayout();

    const PreparedReport* m_report = nullptr;
    double m_zoom = 1;
    QList<QRect> m_pages;
    int m_highlightPage = -1;
    QRectF m_highlight;
    bool m_dragging = false;
    QPoint m_dragFrom;
    QPoint m_dragOffset;
};
