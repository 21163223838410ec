#pragma once
// The columns of the monthly table and the text of its cells, shared by the
// panel of the report view and the printed page, so both show the same
// figures under the same titles.

#include "report/TMonthlyOverview.h"

#include <QLocale>

#include <span>

namespace kasovka {

struct MonthlyColumn {
    const char *caption;           // breaks at "\n"
    const char *number;            // "[11]"; empty for none
    Currency MonthlyLine::*amount; // nullptr: the line's caption or its row count
};

// "Měsíc", income, expense, tax base of the month and cumulative, cash and
// bank at the month's end, the number of rows.
std::span<const MonthlyColumn> monthlyColumns();

// "1 234 567,89" in the locale: the format of the program's report grids.
QString formatMonthlyAmount(Currency amount, const QLocale &locale);

// A cell as it is shown: the line's caption, an amount, or the row count
// (blank on the carried line, which is no journal row).
QString monthlyCellText(const MonthlyLine &line, int column, const QLocale &locale);

} // namespace kasovka
