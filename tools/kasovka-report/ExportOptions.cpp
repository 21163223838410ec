// --xls FILE, --group-table FILE: the report or its group table as a
// workbook, through the same export steps, messages and templates as the
// program's windows. --group ZKRATKA exports one summation group,
// --without-final-summary picks the template without the final overview,
// --templates DIR replaces the print forms folder, and --overwrite answers
// the overwrite question with yes (without it an existing file is refused).
// Like the program's start-up, an export first brings the support files
// (the templates) into the data root when this installation's are not there.

#include "ReportTool.h"

#include "app/ConsoleUiServices.h"
#include "app/SupportFiles.h"
#include "app/TBaseApplication.h"
#include "export/ExcelExporter.h"
#include "export/ExcelExporterForm.h"
#include "export/ExportDialog.h"
#include "export/ExportWindows.h"
#include "export/ReportExport.h"
#include "report/TPenDenReport.h"

#include <QDir>
#include <QFileInfo>

namespace kasovka::tool {

namespace {

struct ExportSettings {
    QString group;
    bool withoutFinalSummary = false;
    bool overwrite = false;
    QString templates;
};

ExportSettings &exportSettings()
{
    static ExportSettings settings;
    return settings;
}

// The export windows answered from the command line.
class CommandLineWindows : public IExportWindows {
public:
    // The export window takes only a full path; a command line may name one
    // relative to its working folder.
    CommandLineWindows(const QString &target, bool oneGroup)
        : m_target(QFileInfo(target).absoluteFilePath()), m_oneGroup(oneGroup)
    {
    }

    bool showExportDialog(TExportDialog &dialog) override
    {
        dialog.SetExportAllGroups(!m_oneGroup);
        return true;
    }
    void showExcelExporter(TExcelExporter &exporter) override
    {
        if (!exportSettings().templates.isEmpty())
            exporter.SetTemplateFolder(QDir(exportSettings().templates).absolutePath() + QLatin1Char('/'));
        TExcelExporterForm form(exporter);
        // A command line opens no viewer, and the program's check box keeps
        // the state the user gave it.
        const bool remembered = exporter.RunAssociatedProgram();
        m_exported = form.OnOk(m_target, false);
        exporter.SetRunAssociatedProgram(remembered);
    }
    bool exported() const { return m_exported; }

private:
    QString m_target;
    bool m_oneGroup;
    bool m_exported = false;
};

// The export steps answer the overwrite question and remember their target
// in the settings file; its folder and the templates are what the program's
// start-up would have put in place. False when that failed (shown).
bool prepare(TBaseApplication &app)
{
    if (auto *console = dynamic_cast<ConsoleUiServices *>(&app.UiServices()))
        console->setQuestionAnswer(exportSettings().overwrite ? MessageResult::Yes : MessageResult::No);
    // Outside the host's folder layout the data root is "/": nothing is
    // created there, the export reports what it then misses.
    if (!app.HasHostFolderShape())
        return true;
    if (!app.EnsureFolder(app.SettingsFolder()))
        return false;
    QString errorText;
    if (exportSettings().templates.isEmpty()
        && !InstallSupportFiles(app.ProgramFolder(), app.ProgramDataFolder(), app.DataFolder(), errorText)) {
        app.ShowMessageDialog(errorText, MessageKind::Error);
        return false;
    }
    return true;
}

bool exportReport(TBaseApplication &app, TPenDenReport &report, const QString &target)
{
    if (!prepare(app))
        return false;
    const QString code = exportSettings().group;
    const int group = code.isNull() ? -1 : report.Result().groupOfCode(code);
    if (!code.isNull() && group < 0) {
        app.ShowMessageDialog(QStringLiteral("Sumační skupina \"%1\" v sestavě není.").arg(code), MessageKind::Error);
        return false;
    }
    CommandLineWindows windows(target, !code.isNull());
    ExportReport(report, group, !exportSettings().withoutFinalSummary, windows);
    return windows.exported();
}

bool exportGroupTable(TBaseApplication &app, TPenDenReport &report, const QString &target)
{
    if (!prepare(app))
        return false;
    CommandLineWindows windows(target, false);
    ExportGroupTable(app, report.Skupiny(), windows, reportHeading(report));
    return windows.exported();
}

ToolOption flag(const char *name, const char *help, bool ExportSettings::*member)
{
    return ToolOption{QString::fromLatin1(name), QString(), QString::fromUtf8(help),
                      [member](const QString &) {
                          exportSettings().*member = true;
                          return QString();
                      }};
}

ToolOption valueOption(const char *name, const char *valueName, const char *help, QString ExportSettings::*member)
{
    return ToolOption{QString::fromLatin1(name), QString::fromLatin1(valueName), QString::fromUtf8(help),
                      [member, name](const QString &value) {
                          if (value.trimmed().isEmpty() && member != &ExportSettings::group)
                              return QStringLiteral("--%1: chybí hodnota").arg(QLatin1String(name));
                          exportSettings().*member = value;
                          return QString();
                      }};
}

ToolOption outputOption(ToolRegistry &registry, const char *name, const char *help,
                        bool (*write)(TBaseApplication &, TPenDenReport &, const QString &))
{
    return ToolOption{QString::fromLatin1(name), QStringLiteral("FILE"), QString::fromUtf8(help),
                      [&registry, name, write](const QString &value) -> QString {
                          if (value.trimmed().isEmpty())
                              return QStringLiteral("--%1: chybí název souboru").arg(QLatin1String(name));
                          registry.addOutput(ToolOutput{
                              QStringLiteral("output (%1)").arg(QLatin1String(name)),
                              [value, write](TBaseApplication &app, TPenDenReport &report) {
                                  return write(app, report, value);
                              }});
                          return QString();
                      }};
}

} // namespace

ReportOutputOptions outputOptions()
{
    const QString templates = exportSettings().templates;
    return {exportSettings().group, !exportSettings().withoutFinalSummary, exportSettings().overwrite,
            templates.isEmpty() ? QString() : QDir(templates).absolutePath() + QLatin1Char('/')};
}

bool exportReportWorkbook(TBaseApplication &app, TPenDenReport &report, const QString &target)
{
    return exportReport(app, report, target);
}

void registerExportOptions(ToolRegistry &registry)
{
    registry.addOption(outputOption(registry, "xls", "vyexportuje sestavu do sešitu FILE", exportReport));
    registry.addOption(outputOption(registry, "group-table", "vyexportuje tabulku skupin do sešitu FILE",
                                    exportGroupTable));
    registry.addOption(valueOption("group", "ZKRATKA", "s --xls a --pdf: jen tato součtová skupina",
                                   &ExportSettings::group));
    registry.addOption(flag("without-final-summary", "s --xls a --pdf: bez závěrečného přehledu",
                            &ExportSettings::withoutFinalSummary));
    registry.addOption(flag("overwrite", "přepíše existující soubor", &ExportSettings::overwrite));
    registry.addOption(valueOption("templates", "DIR", "vezme šablony ze složky DIR místo složky tiskových formulářů",
                                   &ExportSettings::templates));
}

} // namespace kasovka::tool
