#pragma once
// The two exports the windows start: the report (all groups or the current
// one) and the table of its groups. Both read their remembered target and
// check box from the settings file, show the exporter window and write them
// back, and leave the report's tables as they found them.

#include <QString>

namespace kasovka {

class IExportWindows;
class TBaseApplication;
class TMemTable;
class TPenDenReport;

inline constexpr int MaxExportRows = 65536;
inline constexpr int FinalSummaryRows = 40; // sheet rows of one group's final overview

QString reportTemplateName(bool finalSummaryVisible);
QString groupTablesTemplateName();

// The report export over a report's Skupiny and Denik (Denik linked to
// Skupiny as the report view links it) and RowCountAll.
void ExportReport(TBaseApplication &app, TMemTable &skupiny, TMemTable &denik, int rowCountAll,
                  bool finalSummaryVisible, IExportWindows &windows);
void ExportReport(TPenDenReport &report, bool finalSummaryVisible, IExportWindows &windows);

// The group table export over a report's Skupiny.
void ExportGroupTable(TBaseApplication &app, TMemTable &skupiny, IExportWindows &windows);

} // namespace kasovka
