// --pdf FILE: the report printed into a PDF file, as the program's
// "Uložit jako PDF…" writes it, with the paper remembered in the settings
// file. --group ZKRATKA prints one summation group and
// --without-final-summary leaves the final overviews out, as for --xls. Each
// group's monthly table follows its journal unless
// --without-monthly-overview is given.
//
// Fonts need a GUI application object; the tool makes one on the offscreen
// platform when --pdf is given, so it runs without a display.

#include "ReportTool.h"

#include "app/ConsoleUiServices.h"
#include "app/OutputTarget.h"
#include "app/TBaseApplication.h"
#include "core/OutputFile.h"
#include "core/IniFile.h"
#include "print/PdfOutput.h"
#include "print/PrintSettings.h"
#include "print/ReportPrint.h"
#include "report/TPenDenReport.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <cstring>

namespace kasovka::tool {

namespace {

bool g_withoutMonthly = false;

bool writeReportPdf(TBaseApplication &app, TPenDenReport &report, const QString &target)
{
    const ReportOutputOptions options = outputOptions();
    print::ReportPrintOptions printOptions;
    printOptions.finalOverview = options.finalSummary;
    printOptions.monthlyOverview = !g_withoutMonthly;
    if (!options.group.isNull()) {
        printOptions.onlyGroup = report.Result().groupOfCode(options.group);
        if (printOptions.onlyGroup < 0) {
            app.ShowMessageDialog(QStringLiteral("Sumační skupina \"%1\" v sestavě není.").arg(options.group),
                                  MessageKind::Error);
            return false;
        }
    }
    if (auto *console = dynamic_cast<ConsoleUiServices *>(&app.UiServices()))
        console->setQuestionAnswer(options.overwrite ? MessageResult::Yes : MessageResult::No);
    const QString path = QFileInfo(target).absoluteFilePath();
    OutputPolicy policy = print::pdfPolicy(app);
    if (!options.templates.isEmpty())
        policy.templateFolders.append(options.templates);
    if (!ConfirmOutputTarget(app, path, policy))
        return false;
    print::PrintSettings settings;
    if (QFileInfo::exists(app.SettingsFileName())) {
        TIniFile ini(app.SettingsFileName());
        settings = print::PrintSettings::read(ini);
    }
    print::ReportPrintJob job(report, printOptions);
    job.layout(settings.pageLayout);
    return print::savePdf(app, job, path, policy);
}

} // namespace

std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv)
{
    bool pdf = false;
    for (int i = 1; i < argc; ++i)
        pdf = pdf || std::strcmp(argv[i], "--pdf") == 0;
    if (!pdf)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

void registerPdfOptions(ToolRegistry &registry)
{
    registry.addOption(ToolOption{
        QStringLiteral("pdf"), QStringLiteral("FILE"), QStringLiteral("vytiskne sestavu do souboru PDF FILE"),
        [&registry](const QString &value) -> QString {
            if (value.trimmed().isEmpty())
                return QStringLiteral("--pdf: chybí název souboru");
            registry.addOutput(ToolOutput{QStringLiteral("output (pdf)"),
                                          [value](TBaseApplication &app, TPenDenReport &report) {
                                              return writeReportPdf(app, report, value);
                                          }});
            return QString();
        }});
    registry.addOption(ToolOption{QStringLiteral("without-monthly-overview"), QString(),
                                  QStringLiteral("s --pdf: bez stránek měsíčního přehledu"),
                                  [](const QString &) {
                                      g_withoutMonthly = true;
                                      return QString();
                                  }});
}

} // namespace kasovka::tool
