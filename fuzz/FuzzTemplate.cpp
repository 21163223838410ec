// Fills arbitrary bytes, taken as a template, with a small report through
// the export's own steps: the workbook reader, the band search, tags, dumps,
// markers, the workbook writer and the replacement of the target. Whatever
// the template, a run ends with a workbook or an error message, promptly and
// in bounded memory (libFuzzer's -timeout and -rss_limit_mb watch that).

#include "FuzzReport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    kasovka::fuzz::exportTemplate(data, size, QStringLiteral("vystup.xls"));
    return 0;
}
