#include "print/PrintJob.h"

#include "core/Error.h"
#include "print/TextBatch.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace kasovka::print {

PrintJob::PrintJob(PageHeading heading) : m_heading(std::move(heading))
{
    if (!m_heading.printed.isValid())
        m_heading.printed = QDateTime::currentDateTime();
    m_pageLayout = defaultPageLayout();
}

PrintJob::~PrintJob() = default;

QPageLayout PrintJob::defaultPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

void PrintJob::addSection(std::unique_ptr<PrintSection> section)
{
    m_sections.push_back(std::move(section));
}

int PrintJob::layout(const QPageLayout &pageLayout)
{
    m_pageLayout = pageLayout;
    const PageFrame frame(m_heading, m_fonts);
    const QRectF body = frame.body(PageSpace::of(pageLayout));
    arrange(body);
    m_pages.clear();
    for (size_t i = 0; i < m_sections.size(); ++i)
        m_sections[i]->plan(body, int(i), m_pages);
    return pageCount();
}

void PrintJob::paintPage(QPainter &painter, int index, double dpiX, double dpiY) const
{
    if (index < 0 || index >= pageCount())
        return;
    const PlannedPage &page = m_pages[size_t(index)];
    const PrintSection &section = *m_sections[size_t(page.section)];
    const PageSpace space = PageSpace::of(m_pageLayout);
    const PageFrame frame(m_heading, m_fonts);
    painter.save();
    painter.scale(dpiX / UnitsPerInch, dpiY / UnitsPerInch);
    TextBatch text;
    frame.paint(painter, text, space, section.groupLine(), index + 1, pageCount());
    section.paint(painter, text, frame.body(space), page);
    text.flush(painter);
    painter.restore();
}

bool PrintJob::paint(QPagedPaintDevice &device, const Progress &progress, int first, int last) const
{
    last = last < 0 ? pageCount() - 1 : std::min(last, pageCount() - 1);
    first = std::max(first, 0);
    QPainter painter;
    if (!painter.begin(&device))
        throw Error(QStringLiteral("Tisk nelze zahájit, zařízení stránky nepřijímá."));
    for (int i = first; i <= last; ++i) {
        if (i > first)
            device.newPage();
        paintPage(painter, i, device.logicalDpiX(), device.logicalDpiY());
        if (progress && !progress(i - first + 1, last - first + 1))
            return false;
    }
    return painter.end();
}

} // namespace kasovka::print
