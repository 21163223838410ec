#pragma once
// The two exports the windows start: the report (all groups or the current
// one) and the table of its groups. Both read their remembered target and
// check box from the settings file, show the exporter window and write them
// back, and leave the report's tables as they found them.

#include "report/ReportHeading.h"

#include <QString>

namespace kasovka {

class IExportWindows;
class TBaseApplication;
class TMemTable;
class TPenDenReport;

QString reportTemplateName(bool finalSummaryVisible);
QString groupTablesTemplateName();

// The report export over a report's Skupiny and Denik (Denik linked to
// Skupiny as the report view links it). Whether the filled sheet fits the
// file format's rows is checked by the exporter window on OK, against the
// template it fills.
void ExportReport(TBaseApplication &app, TMemTable &skupiny, TMemTable &denik, bool finalSummaryVisible,
                  IExportWindows &windows, const TReportHeading &heading = {});
void ExportReport(TPenDenReport &report, bool finalSummaryVisible, IExportWindows &windows);

// The group table export over a report's Skupiny.
void ExportGroupTable(TBaseApplication &app, TMemTable &skupiny, IExportWindows &windows,
                      const TReportHeading &heading = {});

} // namespace kasovka
