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

struct GroupTotalCell {
    std::optional<Currency> amount; // none for a field without amounts
    QString text;                   // as the table shows the field's values
};

// The line for `fields` of Skupiny (all its records, whatever the filter):
// a sum for each amount field, "Celkem" in a first field without amounts.
QList<GroupTotalCell> groupTableTotals(const TMemTable &skupiny, const QList<int> &fields, const QLocale &locale);

} // namespace kasovka
