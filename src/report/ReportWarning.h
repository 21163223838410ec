#pragma once
// A report's warning as paper lists it. The warning protocol shows the
// engine's lines as they arose (an unknown movement once per posting); paper
// lists each warning once, with the row, document, date and amount it
// concerns where it concerns a record, so that an auditor can find why a
// column misses an amount.

#include "core/Currency.h"
#include "core/DateTime.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace kasovka {

struct ReportWarning {
    QString text;     // the protocol's text without its bullet
    std::optional<QString> groupKey; // the group of the record it concerns, when known
    bool concernsRecord = false;
    int row = 0;        // the journal row (Poradi); 0 for none
    bool carried = false; // the record went into the carried row
    bool adjustment = false; // a closing adjustment
    QString document;  // empty where the report does not read documents
    qint64 journalRecord = 0; // the record's number in the journal, named without a document
    TDateTime date = 0; // 0 for none
    std::optional<Currency> unposted; // an amount that is in no column
};

// "Řádek 57, doklad BV06-2004, 12.3.2024: nebyl nalezen účetní pohyb "X";
// částka 139 610,74 není v žádném sloupci". The group is named when the
// report has summation groups.
QString paperLine(const ReportWarning &warning, bool withGroups);

// The lines of the warnings a printout or export of one group (its key) or
// of every group (nullopt) lists: those of its records and those that
// concern no group.
QStringList paperLines(const std::vector<ReportWarning> &warnings, bool withGroups,
                       const std::optional<QString> &onlyGroupKey);

} // namespace kasovka
