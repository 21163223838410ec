#include "Commands.h"

#include "template/ExportFormat.h"
#include "workbook/Workbook.h"
#include "xlsx/XlsxWriter.h"

namespace kasovka::xls {

int runRoundtrip(const QStringList &args)
{
    if (args.size() != 2)
        return kExitUsage;
    try {
        TXLSFile book;
        book.open(args[0]);
        if (exportFormatOf(args[1]) == TExportFormat::Xlsx)
            TXlsxWriter::save(*book.workbook(), args[1]);
        else
            book.save(args[1]);
    } catch (const Error &e) {
        printError(e.text());
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace kasovka::xls
