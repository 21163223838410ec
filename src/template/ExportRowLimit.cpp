#include "template/ExportRowLimit.h"

#include "template/ExcelBand.h"
#include "template/TemplateTags.h"
#include "template/WorkbookAdapter.h"
#include "template/XlsDataSet.h"

#include <algorithm>

namespace kasovka {

namespace {

struct RowTally {
    qint64 rows = 0;
    qint64 peak = 0;
    int sheet = 1;
    void add(qint64 count)
    {
        rows += count;
        peak = std::max(peak, rows);
    }
};

// How often the engine repeats a band: the largest record count among its
// data sets, a name that resolves to nothing counting as one.
int repetitions(const TExcelBand &band)
{
    if (band.dataSets.empty())
        return 1;
    int records = 0;
    for (IXlsDataSet *dataSet : band.dataSets)
        records = std::max(records, !dataSet ? 1 : dataSet->isActive() ? countRecords(*dataSet) : 0);
    return records;
}

// Follows the insertion pass: all copies of a band first, then its children
// in each repetition, so the running total passes through the same peak.
void tally(TExcelBand &band, RowTally &rows)
{
    const int records = repetitions(band);
    if (records == 0) {
        rows.add(-band.height());
        band.rewind();
        return;
    }
    rows.add(qint64(records - 1) * band.height());
    for (int repetition = 1; !band.children.empty(); ++repetition) {
        checkRepetition(repetition, records, rows.sheet);
        for (TExcelBand &child : band.children)
            tally(child, rows);
        if (band.allEntriesEmpty())
            break;
        band.advance();
        if (band.allAtEnd())
            break;
    }
    band.rewind();
}

} // namespace

qint64 filledRowCount(IXlsWorkbook &workbook, const std::function<IXlsDataSet *(const QString &)> &lookup)
{
    qint64 most = 0;
    for (int sheet = 1; sheet <= workbook.sheetCount(); ++sheet) {
        if (!workbook.isWorksheet(sheet))
            continue;
        workbook.setActiveSheet(sheet);
        RowTally rows{workbook.lastRow(), workbook.lastRow(), sheet};
        if (std::optional<TExcelBand> main = TBandSearch(activeSheetBandRanges(workbook), sheet).mainBand(lookup))
            tally(*main, rows);
        most = std::max(most, rows.peak);
    }
    return most;
}

QString rowLimitText(int limit)
{
    return QStringLiteral("Maximální počet řádků pro export do Excelu je %1, export nelze provést").arg(limit);
}

} // namespace kasovka
