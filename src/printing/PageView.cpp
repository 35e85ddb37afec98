#include "printing/PageView.h"

#include "printing/PreparedReport.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <cmath>

namespace {
constexpr double mmPerInch = 25.4;
} // namespace

PageView::PageView(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("PageView"));
    setFrameShape(QFrame::NoFrame);
    // Always there, so that fitting the width does not make it come and go.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::OpenHandCursor);
    QPalette desk = viewport()->palette();
    desk.setColor(QPalette::Window, QColor(0x6e, 0x74, 0x7a));
    viewport()->setPalette(desk);
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
}

void PageView::setReport(const PreparedReport* report)
{
    m_report = report;
    m_highlightPage = -1;
    relayout();
}

void PageView::setZoom(double zoom, const QPoint& anchor)
{
    const QPoint point = anchor + offset();
    const int page = pageNear(point.y());
    QPointF within(0, 0);
    if (page >= 0) {
        const QRect r = m_pages.at(page);
        within = QPointF(double(point.x() - r.left()) / r.width(),
                         double(point.y() - r.top()) / r.height());
    }
    m_zoom = zoom;
    relayout();
    if (page >= 0) {
        const QRect r = m_pages.at(page);
        horizontalScrollBar()->setValue(int(std::lround(r.left() + within.x() * r.width())) -
                                        anchor.x());
        verticalScrollBar()->setValue(int(std::lround(r.top() + within.y() * r.height())) -
                                      anchor.y());
    }
}

double PageView::fitWidthZoom() const
{
    double widest = 0;
    for (const PreparedPage& page : pages())
        widest = std::max(widest, page.paper.width());
    if (widest <= 0)
        return 1;
    return (viewport()->width() - 2 * margin) / (widest * dotsPerMm());
}

double PageView::wholePageZoom(int page) const
{
    if (page < 0 || page >= int(pages().size()) || pages().at(page).paper.isEmpty())
        return 1;
    const QSizeF paper = pages().at(page).paper * dotsPerMm();
    return std::min((viewport()->width() - 2 * margin) / paper.width(),
                    (viewport()->height() - 2 * margin) / paper.height());
}

int PageView::pageInView() const
{
    if (m_pages.isEmpty())
        return 0;
    const QScrollBar* bar = verticalScrollBar();
    if (bar->maximum() > 0 && bar->value() >= bar->maximum())
        return int(m_pages.size()) - 1;
    if (bar->value() <= bar->minimum())
        return 0;
    return pageNear(bar->value() + viewport()->height() / 2);
}

void PageView::scrollToPage(int page)
{
    if (page < 0 || page >= int(m_pages.size()))
        return;
    verticalScrollBar()->setValue(page == 0 ? 0 : m_pages.at(page).top() - gap / 2);
}

void PageView::showArea(int page, const QRectF& mm)
{
    const QRect r = onPage(page, mm).toAlignedRect();
    const QRect visible(offset(), viewport()->size());
    if (r.top() < visible.top() || r.bottom() > visible.bottom())
        verticalScrollBar()->setValue(r.center().y() - viewport()->height() / 2);
    if (r.left() < visible.left() || r.right() > visible.right())
        horizontalScrollBar()->setValue(r.center().x() - viewport()->width() / 2);
}

void PageView::setHighlight(int page, const QRectF& mm)
{
    m_highlightPage = page;
    m_highlight = mm;
    viewport()->update();
}

void PageView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const QPoint off = offset();
    const QRect visible = QRect(off, viewport()->size()).adjusted(-8, -8, 8, 8);
    for (int i = 0; i < int(m_pages.size()); ++i) {
        if (!m_pages.at(i).intersects(visible))
            continue;
        const QRect paper = m_pages.at(i).translated(-off);
        for (int s = 1; s <= 4; ++s)
            painter.fillRect(paper.translated(s, s), QColor(0, 0, 0, 28));
        painter.fillRect(paper.adjusted(-1, -1, 1, 1), QColor(0, 0, 0, 90));
        m_report->render(painter, i, paper);
        if (i == m_highlightPage) {
            const QRectF mark = onPage(i, m_highlight).translated(-off).adjusted(-3, -2, 3, 2);
            painter.setRenderHint(QPainter::Antialiasing);
            // Multiplied, so that the text under the marker stays black.
            painter.setCompositionMode(QPainter::CompositionMode_Multiply);
            painter.setPen(QPen(QColor(0xe0, 0x7b, 0x00), 1.5));
            painter.setBrush(QColor(0xff, 0xe0, 0x66));
            painter.drawRoundedRect(mark, 3, 3);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
    }
}

void PageView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayout();
    if (resized)
        resized();
}

void PageView::wheelEvent(QWheelEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        if (zoomWheel)
            zoomWheel(event->angleDelta().y(), event->position().toPoint());
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

void PageView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    m_dragFrom = event->position().toPoint();
    m_dragOffset = offset();
    m_dragging = true;
    viewport()->setCursor(Qt::ClosedHandCursor);
}

void PageView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging)
        return QAbstractScrollArea::mouseMoveEvent(event);
    const QPoint moved = event->position().toPoint() - m_dragFrom;
    horizontalScrollBar()->setValue(m_dragOffset.x() - moved.x());
    verticalScrollBar()->setValue(m_dragOffset.y() - moved.y());
}

void PageView::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragging = false;
    viewport()->setCursor(Qt::OpenHandCursor);
    QAbstractScrollArea::mouseReleaseEvent(event);
}

double PageView::dotsPerMm() const
{
    return logicalDpiX() / mmPerInch;
}

const QList<PreparedPage>& PageView::pages() const
{
    static const QList<PreparedPage> none;
    return m_report ? m_report->pages : none;
}

QPoint PageView::offset() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

QRectF PageView::onPage(int page, const QRectF& mm) const
{
    if (page < 0 || page >= int(m_pages.size()) || pages().at(page).paper.isEmpty())
        return QRectF();
    const QRect r = m_pages.at(page);
    const double sx = r.width() / pages().at(page).paper.width();
    const double sy = r.height() / pages().at(page).paper.height();
    return QRectF(r.left() + mm.left() * sx, r.top() + mm.top() * sy, mm.width() * sx,
                  mm.height() * sy);
}

int PageView::pageNear(int y) const
{
    for (int i = 0; i < int(m_pages.size()); ++i)
        if (y < m_pages.at(i).bottom() + gap)
            return i;
    return int(m_pages.size()) - 1;
}

void PageView::relayout()
{
    m_pages.clear();
    const double scale = m_zoom * dotsPerMm();
    int widest = 0;
    for (const PreparedPage& page : pages()) {
        const QSize size(std::max(1, int(std::lround(page.paper.width() * scale))),
                         std::max(1, int(std::lround(page.paper.height() * scale))));
        m_pages.append(QRect(QPoint(0, 0), size));
        widest = std::max(widest, size.width());
    }
    const int width = std::max(viewport()->width(), widest + 2 * margin);
    int y = margin;
    for (QRect& r : m_pages) {
        r.moveTo((width - r.width()) / 2, y);
        y += r.height() + gap;
    }
    const int height = m_pages.isEmpty() ? 0 : y - gap + margin;
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(40);
    viewport()->update();
}
