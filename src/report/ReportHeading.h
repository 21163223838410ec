#pragma once
// What the title block of an exported workbook and the header of a printed
// page say about a report: its name, the agenda, the accounting year, the
// period, the kind of summation groups and the firm.

#include "core/DocumentInfo.h"
#include "report/FirmIdentity.h"

#include <QString>

namespace kasovka {

class TPenDenReport;

struct TReportHeading {
    QString reportName;
    QString agenda;
    QString year;        // "2026"; "2025/2026" for a year that spans two
    QString period;      // "1.1.2026 – 9.5.2026"
    QString groupKind;   // "střediska"; empty in a report without summation groups
    QString groupColumn; // "Středisko": the title of the column with each row's group key
    bool hasGroups = true;
    FirmIdentity firm;
};

TReportHeading reportHeading(const TPenDenReport &report);

// A written report's properties: `kind` ("Peněžní deník") with the
// report's name as title, the firm as author, title and period as subject.
DocumentInfo documentInfo(const TReportHeading &heading, const QString &kind);

} // namespace kasovka
