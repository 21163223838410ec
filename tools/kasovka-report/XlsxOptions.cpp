// --xlsx FILE: the report as an Office Open XML workbook, through the same
// export steps as --xls, so that --group, --without-final-summary,
// --templates and --overwrite apply alike. (--group-table takes a name
// ending in ".xlsx" for its table the same way.)

#include "ReportTool.h"

#include "template/ExportFormat.h"

namespace kasovka::tool {

void registerXlsxOptions(ToolRegistry &registry)
{
    registry.addOption(ToolOption{
        QStringLiteral("xlsx"), QStringLiteral("FILE"),
        QStringLiteral("vyexportuje sestavu do sešitu FILE ve formátu .xlsx (Office Open XML)"),
        [&registry](const QString &value) -> QString {
            if (value.trimmed().isEmpty())
                return QStringLiteral("--xlsx: chybí název souboru");
            // The export takes the format from the name, as the export window does.
            if (exportFormatOf(value) != TExportFormat::Xlsx)
                return QStringLiteral("--xlsx: název souboru musí mít příponu .xlsx");
            registry.addOutput(ToolOutput{QStringLiteral("output (xlsx)"),
                                          [value](TBaseApplication &app, TPenDenReport &report) {
                                              return exportReportWorkbook(app, report, value);
                                          }});
            return QString();
        }});
}

} // namespace kasovka::tool
