#pragma once
// Display formats of amounts. A format is a pattern of "#" (optional digit),
// "0" (required digit), "." (the locale's decimal separator) and blanks
// between integer placeholders (digit grouping by three). The locale is
// always an argument; nothing here reads global state.

#include "core/Currency.h"

#include <QLocale>
#include <QString>

namespace kasovka {

class TMemTable;

/// "# ### ### ##0" for 0 decimals, "# ### ### ##0.0" ... "# ### ### ##0.0000"
/// for 1..4; any other number gives the two-decimal format.
QString DisplayFormatForDecimals(int decimals);

/// Prepares every currency field of an open table, in field order: no
/// currency symbol, the display format of `decimals`, and the default
/// expression ("" leaves new records empty, "0" makes them hold 0).
void FormatCurrencyFields(TMemTable &table, int decimals, const QString &defaultExpression);

/// Renders an amount in `format`: digit groups of three separated by a blank
/// when the format groups, at least as many integer digits as the format has
/// "0" before the mark (at least one), the locale's decimal separator, a
/// leading "-" for negative amounts, no leading blanks. Rounds half away from
/// zero to the format's decimals ("0" after the mark are always shown, "#"
/// only when not zero). An amount that rounds to zero has no minus. An empty
/// format shows the shortest exact form with the locale's separator.
QString formatAmount(Currency amount, const QString &format, const QLocale &locale);

/// The number of decimal placeholders of a format ("# ##0.00" gives 2).
int decimalsOfFormat(const QString &format);

} // namespace kasovka
