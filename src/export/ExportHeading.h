#pragma once
// What the templates' title block says about the exported report: its name,
// the agenda, the accounting year, the period and the kind of summation
// groups. The exporter window publishes these as named values for "#." tags.

#include <QString>

namespace kasovka {

class TPenDenReport;
class TTemplateDataModule;

struct TExportHeading {
    QString reportName;
    QString agenda;
    QString year;        // "2026"; "2025/2026" for a year that spans two
    QString period;      // "1.1.2026 – 9.5.2026"
    QString groupKind;   // "střediska"; empty in a report without summation groups
    QString groupColumn; // "Středisko": the title of the column with each row's group key
    bool hasGroups = true;
};

TExportHeading reportHeading(const TPenDenReport &report);

// Publishes the heading under the names the program's templates use.
void publishHeading(TTemplateDataModule &module, const TExportHeading &heading);

} // namespace kasovka
