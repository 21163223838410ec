#pragma once
// What every printed page shares: the page's geometry in layout units, the
// header and the footer, and the plan entry that says what a page holds.

#include <QDateTime>
#include <QRectF>
#include <QString>

class QPainter;
class QPageLayout;

namespace kasovka::print {

class TextBatch;
struct PrintFonts;

// The paintable area of a page in units, its origin at the top left.
struct PageSpace {
    double width = 0;
    double height = 0;
    static PageSpace of(const QPageLayout &layout);
};

// The texts of the header of every page of one job; the group line comes
// from the page's section.
struct PageHeading {
    QString title;    // "Peněžní deník – Sestava 1"
    QString agenda;   // "Demo s.r.o., IČO 1234     Agenda: DEMO     Účetní rok: 2024"
    QString period;   // "Období: celý účetní rok"
    QDateTime printed;
    // The PDF's document information.
    QString author;   // the firm's name; empty when unknown
    QString subject;  // "Peněžní deník, období 1.1.2024 – 31.12.2024"
};

// One page of a job. A section fills in what it needs to paint the page
// again on its own (sections keep no state per page).
struct PlannedPage {
    int section = 0;
    int slice = -1;      // column slice of a table page; -1 for none
    int firstRow = 0;
    int rowCount = 0;
    bool overview = false; // the section's closing block (the final overview) below the rows
};

// Header and footer of a page.
class PageFrame {
public:
    PageFrame(const PageHeading &heading, const PrintFonts &fonts) : m_heading(heading), m_fonts(fonts) {}

    double headerHeight() const;
    double footerHeight() const;
    // The space between header and footer.
    QRectF body(const PageSpace &space) const;

    void paint(QPainter &painter, TextBatch &text, const PageSpace &space, const QString &group, int page,
               int pageCount) const;

private:
    PageHeading m_heading;
    const PrintFonts &m_fonts;
};

} // namespace kasovka::print
