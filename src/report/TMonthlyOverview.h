#pragma once
// How a report's year went, month by month, for each summation group:
// income (Col11), expense (Col12) and the tax base of every calendar month,
// the tax base accumulated from the carried row on, the cash and bank
// balances at each month's end and the number of journal rows.
//
// Built from the report's result in one pass over Denik; a group's lines are
// assembled when asked for, so a report with thousands of groups keeps only
// the months that hold rows. The lines are plain values, ready for a table,
// a chart, a printed page or a machine-readable output.
//
//     TMonthlyOverview overview(report); // Generate has succeeded
//     for (const MonthlyLine &line : overview.lines(groupId))
//         print(monthlyLineCaption(line), line.income, ...);

#include "core/Currency.h"

#include <QString>

#include <utility>
#include <vector>

namespace kasovka {

class ReportResult;
class TPenDenReport;

struct MonthlyLine {
    enum class Kind {
        Carried, // the carried row ("Převedeno:")
        Undated, // journal rows that show no date
        Month,   // one calendar month
        Total,   // the group's final overview
    };
    Kind kind = Kind::Month;
    int year = 0;  // Month lines only
    int month = 0; // 1..12, Month lines only
    Currency income;            // Col11
    Currency expense;           // Col12
    Currency taxBase;           // income - expense
    Currency taxBaseCumulative; // the carried row's tax base and every line up to this one
    Currency cash;              // Col5 - Col6 of the carried row and every line up to this one
    Currency bank;              // Col7 - Col8 likewise
    int rowCount = 0;           // numbered journal rows; the Total line sums them
};

class TMonthlyOverview {
public:
    // Reads the report's result and filter; the report must outlive the
    // overview.
    explicit TMonthlyOverview(const TPenDenReport &report);

    // False when the report keeps only its final overview: without journal
    // rows nothing can be split by month.
    bool hasMonths() const { return m_hasMonths; }

    // The lines of the group with this Skupiny ID, in order: the carried row,
    // the rows without a date (only when there are any), the months of the
    // report's period (of the accounting year without one) together with
    // every other month a row is dated in, and the total. Empty for an ID
    // that names no group and when there are no months.
    std::vector<MonthlyLine> lines(qint64 groupId) const;

private:
    struct Sums {
        Currency income, expense, cash, bank;
        int rows = 0;
        void add(const Sums &other);
    };
    struct GroupMonths {
        Sums carried;
        Sums undated;
        bool hasUndated = false;
        // By monthIndex, ascending. A group's rows come in date order, so a
        // new month is nearly always appended: a vector saves a node
        // allocation per month of each of thousands of groups.
        std::vector<std::pair<int, Sums>> months;
        int lastMonth = -1;  // the month the group's last row went to
        int lastPlace = -1;  // its place in `months`
    };
    void readRows();
    void setMonthRange(const TPenDenReport &report);

    const ReportResult &m_result;
    std::vector<GroupMonths> m_groups; // by group of the result
    // Months listed even without rows; none when first > last.
    int m_firstMonth = 1;
    int m_lastMonth = 0;
    // Where the closing adjustments count; -1: among the undated rows.
    int m_closingMonth = -1;
    bool m_hasMonths = true;
};

// Months counted from January of year 0, so that consecutive months differ by one.
int monthIndex(int year, int month);

// "leden".."prosinec".
QString czechMonthName(int month);
// The first column of a line: "Převedeno", "Bez data", "leden 2024", "Celkem".
QString monthlyLineCaption(const MonthlyLine &line);

} // namespace kasovka
