#pragma once
// Filters that together reach every branch of the engine on the demo
// agenda: every group kind, generation mode, order and period rule, with
// the object filters and closing adjustments mixed in.

#include "filter/TReportFilter.h"

#include <QString>

#include <functional>
#include <vector>

namespace kasovka::test {

struct FilterCase {
    QString name;
    std::function<void(TReportFilter &)> setup;
};

// Four variants per group kind, periods inside the demo year 2024.
std::vector<FilterCase> demoFilterCases();

} // namespace kasovka::test
