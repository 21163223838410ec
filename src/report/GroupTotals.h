#pragma once
// The group table's "Celkem" line, on screen and on paper: each amount field
// summed over every group, exact to the haléř.

#include "core/Currency.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <optional>

namespace kasovka {

class TMemTable;

// The sum of each of `fields` over all records of Skupiny (whatever its
// filter); none for a field that holds no amounts.
QList<std::optional<Currency>> groupTableTotals(const TMemTable &skupiny, const QList<int> &fields);

// A total as the table shows its amounts ("1 234,50").
QString groupTotalText(Currency total, const QLocale &locale);

} // namespace kasovka
