// The template harness with the filled workbook written as .xlsx: the
// writer meets whatever the reader and the engine let through (texts of any
// characters, odd names, formats, notes and print setups). A run ends with a
// workbook or an error message, promptly and in bounded memory.

#include "FuzzReport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    kasovka::fuzz::exportTemplate(data, size, QStringLiteral("vystup.xlsx"));
    return 0;
}
