#pragma once
// The two exports the windows start: the report (all groups or one) and the
// table of its groups. Both read their remembered target and check box from
// the settings file, show the exporter window and write them back. They
// read the report's tables only: no cursor, filter or link of theirs moves.

#include "report/ReportHeading.h"
#include "report/ReportWarning.h"

#include <QString>

namespace kasovka {

class IExportWindows;
class TBaseApplication;
class TMemTable;
class TPenDenReport;

QString reportTemplateName(bool finalSummaryVisible);
QString groupTablesTemplateName();

// The report export over a report's Skupiny and Denik. `group` is the
// Skupiny record the scope question offers alone (-1: none, so all groups
// go). Whether the filled sheet fits the file format's rows is checked by
// the exporter window on OK, against the template it fills.
void ExportReport(TBaseApplication &app, const TMemTable &skupiny, const TMemTable &denik, int group,
                  bool finalSummaryVisible, IExportWindows &windows, const TReportHeading &heading = {},
                  const std::vector<ReportWarning> &warnings = {});
// The same over a report; `group` counts the report's groups (ReportResult).
void ExportReport(const TPenDenReport &report, int group, bool finalSummaryVisible, IExportWindows &windows);

// The group table export over a report's Skupiny.
void ExportGroupTable(TBaseApplication &app, const TMemTable &skupiny, IExportWindows &windows,
                      const TReportHeading &heading = {});

} // namespace kasovka
