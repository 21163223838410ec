// --json FILE: the report as JSON, to a file or ("-") to standard output.

#include "ReportJson.h"
#include "ReportTool.h"

#include "app/TBaseApplication.h"
#include "core/Error.h"

#include <QFile>
#include <QSaveFile>

#include <cstdio>

namespace kasovka::tool {

namespace {

bool writeJson(TBaseApplication &app, TPenDenReport &report, const QString &target)
{
    try {
        if (target == u"-") {
            QFile out;
            if (!out.open(stdout, QIODevice::WriteOnly))
                throw Error(QStringLiteral("Standardní výstup nelze otevřít pro zápis."));
            writeReportJson(report, out);
            out.flush();
            return true;
        }
        // Written beside the target and renamed over it, so a failure leaves
        // no partial file.
        QSaveFile file(target);
        if (!file.open(QIODevice::WriteOnly))
            throw Error(QStringLiteral("Soubor %1 nelze vytvořit: %2").arg(target, file.errorString()));
        writeReportJson(report, file);
        if (!file.commit())
            throw Error(QStringLiteral("Soubor %1 nelze zapsat: %2").arg(target, file.errorString()));
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
