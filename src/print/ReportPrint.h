#pragma once
// The print jobs of a report: its cash journal, group by group, each group
// starting on a new page and ending with its sums row and (when the view
// shows it) its final overview, then its monthly table on a page of its
// own; and the table of its groups.
//
// Both read the report's tables through its result, which moves no cursor,
// so printing leaves the view's current group and rows alone. The report
// must not change while a job exists.

#include "print/OverviewBlock.h"
#include "print/PrintJob.h"
#include "print/PrintTable.h"

#include <QDateTime>

namespace kasovka {
class TPenDenReport;
}

namespace kasovka::print {

class MonthlyPages;

struct ReportPrintOptions {
    int onlyGroup = -1;       // the one group printed (ReportResult); -1: every group
    bool finalOverview = true;
    bool monthlyOverview = true; // left out when the report has no months
    QDateTime printed;        // footer date; invalid: now
};

// The header texts of a report's pages under the given title.
PageHeading reportHeading(const TPenDenReport &report, const QString &title, const QDateTime &printed);

// The journal's 35 columns: row number, date, document, description and the
// amount columns [5]..[35].
QList<PrintColumn> journalColumns();

// A column described by the three title lines the grids use ("Hotovost a
// ceniny\npříjem\n[5]"): a first line followed by blank lines is the
// column's own caption, otherwise it is the caption of the column's group.
PrintColumn columnFromTitle(const QString &title);

class ReportPrintJob : public PrintJob {
public:
    ReportPrintJob(const TPenDenReport &report, const ReportPrintOptions &options);
    ~ReportPrintJob() override;

    const TableLayout &table() const { return m_table; }
    // The rows of section `section`: a group's journal rows and its sums.
    const TableSource &groupRows(int section) const { return *m_groupRows[size_t(section)]; }

protected:
    void arrange(const QRectF &body) override;

private:
    TableLayout m_table;
    OverviewBlock m_overview;
    std::unique_ptr<MonthlyPages> m_monthly; // none when not printed
    std::vector<const TableSource *> m_groupRows;
};

// The group table: one row per group with every column sum and total.
// `columns` and `fields` go together; the columns that are not amounts are
// the key columns repeated on every sheet.
class GroupTablePrintJob : public PrintJob {
public:
    GroupTablePrintJob(const TPenDenReport &report, const QList<PrintColumn> &columns, const QStringList &fields,
                       const QDateTime &printed = {});
    ~GroupTablePrintJob() override;

    const TableLayout &table() const { return m_table; }

protected:
    void arrange(const QRectF &body) override;

private:
    TableLayout m_table;
};

} // namespace kasovka::print
