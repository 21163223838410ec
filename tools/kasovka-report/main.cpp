// kasovka-report: builds one cash-journal report headless, as the plug-in
// would for the host's launch parameters, and writes it.
//
//   kasovka-report ?MAIN=...?MAIN ?AKTROK=...?AKTROK ... [options]
//
// The arguments up to the first option are the launch parameter groups.
// The options come from the tool's modules (ReportTool.h), registered below;
// main parses them and runs the report.

#include "ReportTool.h"
#include "RunReport.h"
#include "core/DateConvention.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

using namespace kasovka;
using namespace kasovka::tool;

namespace {

QString usage(const ToolRegistry &registry)
{
    QString text = QStringLiteral(
        "Použití: kasovka-report ?MAIN=...?MAIN ?AKTROK=...?AKTROK ?MVERZE=...?MVERZE "
        "?AKTHESLO=...?AKTHESLO ?AKTCFGNAME=...?AKTCFGNAME [volby]\n\nVolby:\n");
    for (const ToolOption &option : registry.options()) {
        QString left = QStringLiteral("  --") + option.name;
        if (!option.valueName.isEmpty())
            left += QLatin1Char(' ') + option.valueName;
        text += left.leftJustified(26) + QLatin1Char(' ') + option.help + QLatin1Char('\n');
    }
    return text;
}

int usageError(const ToolRegistry &registry, const QString &message)
{
    std::fprintf(stderr, "kasovka-report: %s\n\n%s", message.toLocal8Bit().constData(),
                 usage(registry).toLocal8Bit().constData());
    return ExitUsage;
}

} // namespace

int main(int argc, char *argv[])
{
    const std::unique_ptr<QCoreApplication> application = makeApplication(argc, argv);
    QLocale::setDefault(programLocale());
    QStringList arguments = application->arguments();
    arguments.removeFirst();

    RunSettings settings;
    ToolRegistry registry;
    registerRunOptions(registry, settings);
    registerJsonOptions(registry);
    registerExportOptions(registry);
    registerPdfOptions(registry);
    registerXlsxOptions(registry);

    qsizetype i = 0;
    while (i < arguments.size() && !arguments[i].startsWith(QStringLiteral("--")))
        settings.launchArguments.append(arguments[i++]);
    for (; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == u"--help") {
            std::fputs(usage(registry).toLocal8Bit().constData(), stdout);
            return ExitWritten;
        }
        if (!argument.startsWith(QStringLiteral("--")))
            return usageError(registry, QStringLiteral("nečekaný argument \"%1\"").arg(argument));
        const ToolOption *option = registry.find(argument.mid(2));
        if (!option)
            return usageError(registry, QStringLiteral("neznámá volba \"%1\"").arg(argument));
        QString value;
        if (!option->valueName.isEmpty()) {
            if (i + 1 >= arguments.size())
                return usageError(registry, QStringLiteral("volbě %1 chybí hodnota").arg(argument));
            value = arguments[++i];
        }
        const QString error = option->apply(value);
        if (!error.isEmpty())
            return usageError(registry, error);
    }
    if (settings.launchArguments.isEmpty())
        return usageError(registry, QStringLiteral("chybí parametry spuštění"));
    return runReport(settings, registry);
}
