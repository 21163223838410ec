#pragma once
// A print job: a heading and a list of sections, laid out into pages for a
// page layout and painted one page at a time on any paged device (PDF file,
// printer) or, page by page, on a preview.
//
// Laying out counts the pages without painting anything, so the footer can
// say "Strana x z y"; the plan it keeps is a few numbers per page, and pages
// are painted one after the other and never kept.

#include "print/PrintFont.h"
#include "print/PrintPage.h"

#include <QPageLayout>

#include <functional>
#include <memory>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace kasovka::print {

class TextBatch;

// A run of pages of one kind: a group's journal, the group table, ... A
// section plans its pages into the job's plan and paints any of them again
// from its plan entry alone.
class PrintSection {
public:
    virtual ~PrintSection() = default;
    // The right-hand side of the header's second line on this section's pages.
    virtual QString groupLine() const = 0;
    // Appends this section's pages; `index` is the section's own number.
    virtual void plan(const QRectF &body, int index, std::vector<PlannedPage> &pages) const = 0;
    virtual void paint(QPainter &painter, TextBatch &text, const QRectF &body, const PlannedPage &page) const = 0;
};

class PrintJob {
public:
    virtual ~PrintJob();
    PrintJob(const PrintJob &) = delete;
    PrintJob &operator=(const PrintJob &) = delete;

    // Lays the pages out for the paper, orientation and margins; returns the
    // page count.
    int layout(const QPageLayout &pageLayout);
    int pageCount() const { return int(m_pages.size()); }
    const QPageLayout &pageLayout() const { return m_pageLayout; }
    const PageHeading &heading() const { return m_heading; }
    const std::vector<PlannedPage> &plan() const { return m_pages; }

    // Paints page `index` (from 0). The painter's origin is the top left of
    // the paintable area and its units are device pixels at `dpiX` x `dpiY`.
    void paintPage(QPainter &painter, int index, double dpiX, double dpiY) const;

    // Called after each page with the pages done and the total; false stops.
    using Progress = std::function<bool(int done, int total)>;
    // Paints pages `first`..`last` (from 0; -1: to the end) on a device
    // already set to pageLayout(). False when `progress` stopped it; throws
    // Error when the device takes no pages.
    bool paint(QPagedPaintDevice &device, const Progress &progress = {}, int first = 0, int last = -1) const;

    // The usual paper: A4 landscape with 10 mm margins.
    static QPageLayout defaultPageLayout();

protected:
    explicit PrintJob(PageHeading heading);
    void addSection(std::unique_ptr<PrintSection> section);
    // Fits what the sections share (column slices) to the body of a page.
    virtual void arrange(const QRectF &body) = 0;

    PrintFonts m_fonts;

private:
    PageHeading m_heading;
    std::vector<std::unique_ptr<PrintSection>> m_sections;
    QPageLayout m_pageLayout;
    std::vector<PlannedPage> m_pages;
};

} // namespace kasovka::print
