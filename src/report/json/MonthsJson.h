#pragma once
// The "months" value of a group in the report's JSON: the group's monthly
// overview without its carried row (the group's "carried" has it) and its
// total (the group's "totals" has it).

#include <QByteArray>

namespace kasovka {

class TPenDenReport;

// One object per month in order, with "month" ("YYYY-MM", null for the rows
// without a date), "Col11", "Col12", "ZakladDane", "ZakladDaneCumulative",
// "HotovostCeninyCelkem", "BankUctyCelkem" (amounts as the other amounts of
// the JSON) and "rowCount". An empty array when the report keeps only its
// final overview.
QByteArray monthsJson(const TPenDenReport &report, qint64 groupId);

} // namespace kasovka
