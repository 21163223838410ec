#include "Commands.h"

#include "export/workbook/Workbook.h"

namespace kasovka::xls {

int runRoundtrip(const QStringList &args)
{
    if (args.size() != 2)
        return kExitUsage;
    try {
        TXLSFile book;
        book.open(args[0]);
        book.save(args[1]);
    } catch (const Error &e) {
        printError(e.text());
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace kasovka::xls
