#pragma once
// The report's warnings on paper: a section headed "Upozornění" after the
// tables, one warning a line as the warning list names it, long ones
// wrapped, over as many pages as they take.

#include "print/PrintJob.h"

#include <QStringList>

#include <optional>

namespace kasovka {
class TPenDenReport;
}

namespace kasovka::print {

// The lines of the report's warnings. With `groupKey`, only those of that
// group (its Zkratka) and those that concern no group.
QStringList warningLines(const TPenDenReport &report, const std::optional<QString> &groupKey = std::nullopt);

// The section listing `lines` under the heading; `lines` must not be empty.
std::unique_ptr<PrintSection> warningSection(QStringList lines, const PrintFonts &fonts, QString groupLine);

} // namespace kasovka::print
