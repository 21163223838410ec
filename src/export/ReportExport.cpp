#include "export/ReportExport.h"

#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "core/IniFile.h"
#include "core/MemTable.h"
#include "export/ExcelExporter.h"
#include "export/ExportDialog.h"
#include "report/TPenDenReport.h"

#include <optional>

namespace kasovka {

namespace {

const QString fileNameKey = QStringLiteral("ExportFileName");
const QString runProgramKey = QStringLiteral("ExportRunAssociatedProgram");
const QString fileTypeKey = QStringLiteral("ExportFileType");

// Runs the exporter with its remembered settings and writes them back,
// whether the user exported or cancelled.
void runExporter(TBaseApplication &app, TExcelExporter &exporter, const QString &section,
                 IExportWindows &windows)
{
    TIniFile ini(app.SettingsFileName());
    exporter.SetTemplateFolder(app.PrintFormsFolder());
    exporter.SetFileName(ini.ReadString(section, fileNameKey, QString()));
    exporter.SetRunAssociatedProgram(ini.ReadBool(section, runProgramKey, true));
    exporter.SetFileFormat(exportFormatFromName(ini.ReadString(section, fileTypeKey, QString())));
    exporter.Execute(windows);
    try {
        ini.WriteString(section, fileNameKey, exporter.FileName());
        ini.WriteBool(section, runProgramKey, exporter.RunAssociatedProgram());
        ini.WriteString(section, fileTypeKey, exportFormatName(exporter.FileFormat()));
    } catch (const Error &error) {
        app.ShowMessageDialog(error.text(), MessageKind::Error);
    }
}

// The scope question, asked when there are two groups or more; false when
// the user cancelled it. `onlyId` gets the ID of the group exported alone,
// nothing when all groups go.
bool askScope(TBaseApplication &app, const TMemTable &skupiny, int group, IExportWindows &windows,
              std::optional<qint64> &onlyId)
{
    if (skupiny.totalRecordCount() < 2)
        return true;
    const bool known = group >= 0 && group < skupiny.totalRecordCount();
    const auto value = [&](const QString &field) { return skupiny.recordValue(group, skupiny.fieldIndex(field)); };
    TExportDialog dialog(app, false, known ? value(QStringLiteral("Nazev")).toText() : QString());
    if (!dialog.Execute(windows))
        return false;
    if (known && !dialog.ExportAllGroups())
        onlyId = value(QStringLiteral("ID")).toInt();
    return true;
}

} // namespace

QString reportTemplateName(bool finalSummaryVisible)
{
    return finalSummaryVisible ? QStringLiteral("_PenDenReportWithFinalSummary.xl")
                               : QStringLiteral("_PenDenReportWithoutFinalSummary.xl");
}

QString groupTablesTemplateName()
{
    return QStringLiteral("_GroupTables.xl");
}

void ExportReport(TBaseApplication &app, const TMemTable &skupiny, const TMemTable &denik, int group,
                  bool finalSummaryVisible, IExportWindows &windows, const TReportHeading &heading,
                  const std::vector<ReportWarning> &warnings)
{
    std::optional<qint64> onlyId;
    if (!askScope(app, skupiny, group, windows, onlyId))
        return;
    TExcelExporter exporter(app, &skupiny, &denik, nullptr);
    exporter.SetMasterRecordId(onlyId);
    exporter.SetTemplateName(reportTemplateName(finalSummaryVisible));
    exporter.SetHeading(heading);
    exporter.SetInfo(documentInfo(heading, QStringLiteral("Peněžní deník")));
    std::optional<QString> onlyKey;
    if (onlyId)
        onlyKey = skupiny.recordValue(group, skupiny.fieldIndex(QStringLiteral("Zkratka"))).toText();
    exporter.SetWarnings(paperLines(warnings, heading.hasGroups, onlyKey));
    runExporter(app, exporter, QStringLiteral("PenDenReport"), windows);
}

void ExportReport(const TPenDenReport &report, int group, bool finalSummaryVisible, IExportWindows &windows)
{
    ExportReport(report.Application(), report.Skupiny(), report.Denik(), group, finalSummaryVisible, windows,
                 reportHeading(report), report.PaperWarnings());
}

void ExportGroupTable(TBaseApplication &app, const TMemTable &skupiny, IExportWindows &windows,
                      const TReportHeading &heading)
{
    TExcelExporter exporter(app, &skupiny, nullptr, nullptr);
    exporter.SetTemplateName(groupTablesTemplateName());
    exporter.SetHeading(heading);
    exporter.SetInfo(documentInfo(heading, QStringLiteral("Seznam sumačních skupin")));
    runExporter(app, exporter, QStringLiteral("GroupTables"), windows);
}

} // namespace kasovka
