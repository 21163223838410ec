// --json FILE: the report as JSON, to a file or ("-") to standard output.

#include "ReportTool.h"

#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "core/OutputFile.h"
#include "report/json/ReportJson.h"

#include <QFile>

#include <cerrno>
#include <cstdio>

namespace kasovka::tool {

namespace {

// Everything written is checked down to the descriptor: buffered bytes meet
// a full disk only when they are flushed.
void writeToStandardOutput(const TPenDenReport &report)
{
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        throw Error(QStringLiteral("Standardní výstup nelze otevřít pro zápis."));
    writeReportJson(report, out);
    const bool written = out.flush() && out.error() == QFileDevice::NoError;
    if (!written || std::fflush(stdout) != 0 || std::ferror(stdout) != 0)
        throw Error(QStringLiteral("Standardní výstup nelze zapsat: %1")
                        .arg(written ? qt_error_string(errno) : out.errorString()));
}

// A file is written beside the target and renamed over it, so a failure
// leaves no partial file; a pipe or a device is a stream written in place
// (a file renamed over it would replace it). An export template is never
// replaced.
void writeFile(TBaseApplication &app, const TPenDenReport &report, const QString &target)
{
    TOutputFile file(target, {.replace = true, .streamInPlace = true, .templateFolders = {app.PrintFormsFolder(), outputOptions().templates}});
    file.open();
    writeReportJson(report, file.device());
    file.commit();
}

bool writeJson(TBaseApplication &app, TPenDenReport &report, const QString &target)
{
    try {
        if (target == u"-")
            writeToStandardOutput(report);
        else
            writeFile(app, report, target);
        return true;
    } catch (const Error &error) {
        app.ShowMessageDialog(error.text(), MessageKind::Error);
        return false;
    }
}

} // namespace

void registerJsonOptions(ToolRegistry &registry)
{
    registry.addOption(ToolOption{
        QStringLiteral("json"), QStringLiteral("FILE"),
        QStringLiteral("zapíše sestavu jako JSON do FILE (- pro standardní výstup)"),
        [&registry](const QString &value) -> QString {
            if (value.isEmpty())
                return QStringLiteral("--json: chybí název souboru");
            registry.addOutput(ToolOutput{
                QStringLiteral("output (json)"),
                [value](TBaseApplication &app, TPenDenReport &report) {
                    return writeJson(app, report, value);
                }});
            return QString();
        }});
}

} // namespace kasovka::tool
