#pragma once
// A group's monthly table on a page of its own, after the group's journal:
// the same lines and columns as the monthly panel of the report view, under
// a caption naming the group.
//
// The lines are computed when a page asks for them and only one group's
// lines are kept at a time, so a job of thousands of groups holds no more
// than a page's worth.

#include "print/PrintTable.h"

#include <memory>

namespace kasovka {
class TMonthlyOverview;
}

namespace kasovka::print {

class PrintSection;
class MonthlyRows;

class MonthlyPages {
public:
    MonthlyPages(const TMonthlyOverview &overview, const PrintFonts &fonts);
    ~MonthlyPages();

    // The pages of the group with this Skupiny ID; the table is widened for
    // the group's figures.
    std::unique_ptr<PrintSection> section(qint64 groupId, QString groupLine, QString caption);
    void arrange(double pageWidth) { m_table.arrange(pageWidth); }

private:
    friend class MonthlyRows;

    const TMonthlyOverview &m_overview;
    TableLayout m_table;
    const MonthlyRows *m_filled = nullptr; // the rows holding their lines
};

} // namespace kasovka::print
