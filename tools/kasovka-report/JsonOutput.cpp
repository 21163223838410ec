// --json FILE: the report as JSON, to a file or ("-") to standard output.

#include "ReportTool.h"

#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "report/json/ReportJson.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

// A device or a pipe is written in place: a file renamed over it would
// replace it (and say nothing of a device that refuses the bytes).
void writeInPlace(const TPenDenReport &report, const QString &target)
{
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("Soubor %1 nelze otevřít pro zápis: %2").arg(target, file.errorString()));
    writeReportJson(report, file);
    if (!file.flush() || file.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("Soubor %1 nelze zapsat: %2").arg(target, file.errorString()));
    file.close();
    if (file.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("Soubor %1 nelze zapsat: %2").arg(target, file.errorString()));
}

// A file is written beside the target and renamed over it, so a failure
// leaves no partial file.
void writeReplacing(const TPenDenReport &report, const QString &target)
{
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("Soubor %1 nelze vytvořit: %2").arg(target, file.errorString()));
    writeReportJson(report, file);
    if (!file.commit())
        throw Error(QStringLiteral("Soubor %1 nelze zapsat: %2").arg(target, file.errorString()));
}

bool writeJson(TBaseApplication &app, TPenDenReport &report, const QString &target)
{
    try {
        const QFileInfo info(target);
        if (target == u"-")
            writeToStandardOutput(report);
        else if (info.exists() && !info.isFile())
            writeInPlace(report, target);
        else
            writeReplacing(report, target);
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
