#include "print/ui/PrintPageView.h"

#include "print/PrintJob.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace kasovka {

namespace {
constexpr int Border = 16; // grey around the sheet, in pixels
} // namespace

// The sheet of paper: white, with a shadow, its page painted inside the margins.
class PrintPageView::Sheet : public QWidget {
public:
    Sheet(PrintPageView &view) : QWidget(&view), m_view(view) {}

    QSizeF paperPixels(double zoom) const
    {
        const QSizeF points = m_view.m_job.pageLayout().fullRectPoints().size();
        return points * (logicalDpiX() / 72.0) * zoom;
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QSizeF paper = paperPixels(m_view.m_zoom);
        const QRectF sheet(Border, Border, paper.width(), paper.height());
        painter.fillRect(sheet.translated(3, 3), QColor(90, 90, 90));
        painter.fillRect(sheet, Qt::white);
        const QPageLayout &layout = m_view.m_job.pageLayout();
        const QPointF margins = layout.paintRect(QPageLayout::Point).topLeft() * (logicalDpiX() / 72.0) * m_view.m_zoom;
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        painter.translate(sheet.topLeft() + margins);
        const double dpi = logicalDpiX() * m_view.m_zoom;
        m_view.m_job.paintPage(painter, m_view.m_page, dpi, dpi);
    }

private:
    PrintPageView &m_view;
};

PrintPageView::PrintPageView(print::PrintJob &job, QWidget *parent) : QScrollArea(parent), m_job(job)
{
    setObjectName(QStringLiteral("PrintPageView"));
    setAlignment(Qt::AlignCenter);
    setBackgroundRole(QPalette::Dark);
    m_sheet = new Sheet(*this);
    setWidget(m_sheet);
    setWidgetResizable(false);
    setFocusPolicy(Qt::StrongFocus);
    updateZoom();
}

void PrintPageView::setPage(int page)
{
    page = std::clamp(page, 0, std::max(m_job.pageCount() - 1, 0));
    if (page == m_page)
        return;
    m_page = page;
    verticalScrollBar()->setValue(0);
    m_sheet->update();
    Q_EMIT pageChanged(m_page);
}

void PrintPageView::setFit(Fit fit, double factor)
{
    m_fit = fit;
    m_factor = std::clamp(factor, 0.1, 8.0);
    updateZoom();
}

void PrintPageView::jobChanged()
{
    m_page = std::min(m_page, std::max(m_job.pageCount() - 1, 0));
    updateZoom();
    m_sheet->update();
    Q_EMIT pageChanged(m_page);
}

void PrintPageView::updateZoom()
{
    const QSizeF natural = m_sheet->paperPixels(1.0);
    const QSize room = viewport()->size() - QSize(2 * Border + 4, 2 * Border + 4);
    double zoom = m_factor;
    if (m_fit == Fit::Width && natural.width() > 0)
        zoom = room.width() / natural.width();
    else if (m_fit == Fit::Page && natural.width() > 0 && natural.height() > 0)
        zoom = std::min(room.width() / natural.width(), room.height() / natural.height());
    m_zoom = std::clamp(zoom, 0.1, 8.0);
    const QSizeF paper = m_sheet->paperPixels(m_zoom);
    m_sheet->resize(int(paper.width()) + 2 * Border + 4, int(paper.height()) + 2 * Border + 4);
    m_sheet->update();
    Q_EMIT zoomChanged(m_zoom);
}

void PrintPageView::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    if (m_fit != Fit::Factor)
        updateZoom();
}

void PrintPageView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageDown: setPage(m_page + 1); return;
    case Qt::Key_PageUp: setPage(m_page - 1); return;
    case Qt::Key_Home: setPage(0); return;
    case Qt::Key_End: setPage(m_job.pageCount() - 1); return;
    default: QScrollArea::keyPressEvent(event);
    }
}

// The wheel scrolls within the page and turns it at its top or bottom;
// with Ctrl it zooms.
void PrintPageView::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (event->modifiers() & Qt::ControlModifier) {
        setFit(Fit::Factor, m_zoom * (delta > 0 ? 1.25 : 0.8));
        return;
    }
    QScrollBar *bar = verticalScrollBar();
    if (delta < 0 && bar->value() == bar->maximum() && m_page + 1 < m_job.pageCount()) {
        setPage(m_page + 1);
        return;
    }
    if (delta > 0 && bar->value() == bar->minimum() && m_page > 0) {
        setPage(m_page - 1);
        bar->setValue(bar->maximum());
        return;
    }
    QScrollArea::wheelEvent(event);
}

} // namespace kasovka
