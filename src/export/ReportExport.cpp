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

const QString idField = QStringLiteral("ID");
const QString fileNameKey = QStringLiteral("ExportFileName");
const QString runProgramKey = QStringLiteral("ExportRunAssociatedProgram");
const QString fileTypeKey = QStringLiteral("ExportFileType");

std::optional<qint64> currentId(const TMemTable &table)
{
    if (!table.isActive() || !table.hasCurrent())
        return std::nullopt;
    return table.asInteger(idField);
}

void moveTo(TMemTable &table, std::optional<qint64> id)
{
    if (id && table.isActive())
        table.locate(idField, Variant(static_cast<long long>(*id)));
}

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

// The scope of the report export; nullopt when the user cancelled.
std::optional<bool> askExportAll(TBaseApplication &app, TMemTable &skupiny, IExportWindows &windows)
{
    if (skupiny.recordCount() < 2)
        return true;
    const QString name = skupiny.hasCurrent() ? skupiny.asText(QStringLiteral("Nazev")) : QString();
    TExportDialog dialog(app, false, name);
    if (!dialog.Execute(windows))
        return std::nullopt;
    return dialog.ExportAllGroups();
}

// Puts the report's tables back as the export found them, whatever happened.
class RestoreReportState {
public:
    // denik: the report's journal rows, nullptr for the group table export,
    // which never filters the groups.
    RestoreReportState(TMemTable &skupiny, TMemTable *denik)
        : m_skupiny(skupiny), m_denik(denik), m_groupId(currentId(skupiny)),
          m_rowId(denik ? currentId(*denik) : std::nullopt) {}
    ~RestoreReportState()
    {
        try {
            if (m_denik && m_skupiny.isActive())
                m_skupiny.setFiltered(false);
            moveTo(m_skupiny, m_groupId);
            if (m_denik)
                moveTo(*m_denik, m_rowId);
        } catch (...) {
            // Restoring the cursor is best effort; it must not mask the export's outcome.
        }
    }
    std::optional<qint64> groupId() const { return m_groupId; }

private:
    TMemTable &m_skupiny;
    TMemTable *m_denik;
    std::optional<qint64> m_groupId;
    std::optional<qint64> m_rowId;
};

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

void ExportReport(TBaseApplication &app, TMemTable &skupiny, TMemTable &denik, bool finalSummaryVisible,
                  IExportWindows &windows, const TReportHeading &heading)
{
    const std::optional<bool> exportAll = askExportAll(app, skupiny, windows);
    if (!exportAll)
        return;
    const RestoreReportState restore(skupiny, &denik);
    if (!*exportAll && restore.groupId()) {
        skupiny.setFilterText(QStringLiteral("ID = %1").arg(*restore.groupId()));
        skupiny.setFiltered(true);
    }
    TExcelExporter exporter(app, &skupiny, &denik, nullptr);
    exporter.SetTemplateName(reportTemplateName(finalSummaryVisible));
    exporter.SetHeading(heading);
    runExporter(app, exporter, QStringLiteral("PenDenReport"), windows);
}

void ExportReport(TPenDenReport &report, bool finalSummaryVisible, IExportWindows &windows)
{
    ExportReport(report.Application(), report.Skupiny(), report.Denik(), finalSummaryVisible, windows,
                 reportHeading(report));
}

void ExportGroupTable(TBaseApplication &app, TMemTable &skupiny, IExportWindows &windows,
                      const TReportHeading &heading)
{
    const RestoreReportState restore(skupiny, nullptr);
    TExcelExporter exporter(app, &skupiny, nullptr, nullptr);
    exporter.SetTemplateName(groupTablesTemplateName());
    exporter.SetHeading(heading);
    runExporter(app, exporter, QStringLiteral("GroupTables"), windows);
}

} // namespace kasovka
