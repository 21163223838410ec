#pragma once
// An independent reckoning of a report's column sums straight from the host
// tables, written from the bookkeeping rules and sharing no code with the
// engine: the figures the engine and kasovka-report must reproduce.

#include "core/Currency.h"
#include "core/DateTime.h"

#include <QHash>
#include <QString>

#include <array>

namespace kasovka::test {

using Columns = std::array<Currency, 36>; // index = column number, 5..35 used

struct ReferenceFilter {
    bool period = false;
    TDateTime from = 0;
    TDateTime to = 0;
    bool earlier = false;
    bool adjustments = false; // closing adjustments included
};

struct ReferenceReport {
    Columns group{};    // the one group of a report without groups
    Columns carried{};  // its carried row
    Columns opening{};  // the opening balances
    bool hasOpening = false;
};

// The report without groups of the host year folder (agenda folder above it).
ReferenceReport computeReference(const QString &yearFolder, const ReferenceFilter &filter);

// Column sums per group key (as read, letter case ignored) for groups by
// the given journal field, over the accepted records.
QHash<QString, Columns> computeGroupSums(const QString &yearFolder, const ReferenceFilter &filter,
                                         const QString &keyField);

} // namespace kasovka::test
