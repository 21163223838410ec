#include "report/MonthlyColumns.h"

#include "core/DisplayFormat.h"

namespace kasovka {

namespace {

const MonthlyColumn Columns[] = {
    {"Měsíc", "", nullptr},
    {"Příjmy celkem", "[11]", &MonthlyLine::income},
    {"Výdaje celkem", "[12]", &MonthlyLine::expense},
    {"Základ daně\nza měsíc", "", &MonthlyLine::taxBase},
    {"Základ daně\nod začátku", "", &MonthlyLine::taxBaseCumulative},
    {"Hotovost\nke konci měsíce", "", &MonthlyLine::cash},
    {"Bankovní účty\nke konci měsíce", "", &MonthlyLine::bank},
    {"Počet\nřádků", "", nullptr},
};

} // namespace

std::span<const MonthlyColumn> monthlyColumns()
{
    return Columns;
}

QString formatMonthlyAmount(Currency amount, const QLocale &locale)
{
    return formatAmount(amount, DisplayFormatForDecimals(2), locale);
}

QString monthlyCellText(const MonthlyLine &line, int column, const QLocale &locale)
{
    if (column == 0)
        return monthlyLineCaption(line);
    if (Currency MonthlyLine::*amount = Columns[column].amount)
        return formatMonthlyAmount(line.*amount, locale);
    if (line.kind == MonthlyLine::Kind::Carried)
        return QString();
    return formatAmount(Currency::fromInt(line.rowCount), DisplayFormatForDecimals(0), locale);
}

} // namespace kasovka
