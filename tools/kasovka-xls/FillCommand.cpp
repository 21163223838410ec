// kasovka-xls fill TEMPLATE OUT DATA.json: runs the template engine over data
// sets given as JSON (see JsonDataModule.h); an OUT ending in ".xlsx"
// is written in that format.

#include "Commands.h"
#include "JsonDataModule.h"

#include "core/Error.h"
#include "template/TemplateReport.h"
#include "template/XlsWorkbookAdapter.h"

namespace kasovka::xls {

int runFill(const QStringList &args)
{
    if (args.size() != 3) {
        printError(QStringLiteral("Použití: kasovka-xls fill ŠABLONA VÝSTUP DATA.json"));
        return kExitUsage;
    }
    try {
        TJsonDataModule data = TJsonDataModule::fromFile(args.at(2));
        TXlsWorkbookAdapter adapter;
        adapter.setFormat(exportFormatOf(args.at(1)));
        TTemplateReport report(&data);
        report.setAdapter(&adapter);
        report.setTemplate(args.at(0));
        report.setFileName(args.at(1));
        report.Run();
    } catch (const Error &error) {
        printError(error.text());
        return kExitFailed;
    } catch (const std::exception &error) {
        printError(QString::fromUtf8(error.what()));
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace kasovka::xls
