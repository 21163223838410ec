// Feeds arbitrary bytes to the workbook reader (compound file, records,
// strings, formulas, drawings); a file that loads is also changed and saved,
// and the saved bytes must load again.

#include "workbook/TWorkbook.h"

#include <cstdint>
#include <cstdlib>

using namespace kasovka;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     qsizetype(size));
    TWorkbook book;
    try {
        book.load(bytes, QStringLiteral("fuzz"));
    } catch (const Error &) {
        return 0;
    }
    QByteArray saved;
    try {
        for (int s = 0; s < book.sheetCount(); ++s) {
            if (book.sheet(s).isChart())
                continue;
            book.insertAndCopyRows(s, 0, 1, 2, 2, false);
            book.deleteRows(s, 1, 1);
        }
        saved = book.save();
    } catch (const Error &) {
        return 0;
    }
    TWorkbook again;
    try {
        again.load(saved, QStringLiteral("saved"));
    } catch (const Error &e) {
        std::abort(); // what the layer writes, it must read
    }
    return 0;
}
