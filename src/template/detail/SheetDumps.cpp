// The steps after the fill pass: full data set dumps, then the row markers.

#include "core/Error.h"
#include "template/detail/CellEvaluation.h"
#include "template/detail/SheetFiller.h"

#include <algorithm>

namespace kasovka::detail {

namespace {
const QString deleteRowMarker = QStringLiteral("...delete row...");
const QString pageBreakMarker = QStringLiteral("...page break...");

QVariant dumpValue(IXlsField &field)
{
    const QVariant value = field.value();
    if (value.isNull())
        return {};
    if (field.isDateTime())
        return QVariant(dateText(field.asFloat()));
    if (field.isMemo())
        return QVariant(value.toString().remove(QLatin1Char('\r')));
    return cellValue(value);
}
} // namespace

void TSheetFiller::expandDumps()
{
    for (std::size_t i = 0; i < m_dumps.size(); ++i) {
        const int shift = expandDump(m_dumps[i]);
        for (std::size_t later = i + 1; later < m_dumps.size(); ++later)
            if (m_dumps[later].row > m_dumps[i].row)
                m_dumps[later].row += shift;
    }
}

// Returns how far the rows below the dump moved.
int TSheetFiller::expandDump(const TFullDataSet &dump)
{
    const QString name = TTagParser::dumpDataSetName(dump.tag);
    IXlsDataSet *dataSet = name.isEmpty() ? nullptr : m_lookup(name);
    if (!dataSet)
        throw Error(missingDataSetText(name));
    const int records = countRecords(*dataSet);
    const int templateRow = dump.row + 1;
    if (records < 1)
        m_workbook.deleteRows(templateRow, 1);
    else if (records > 1)
        m_workbook.insertAndCopyRows(templateRow, templateRow, templateRow + 1, records - 1, false);

    for (int i = 0; i < dataSet->fieldCount(); ++i)
        m_workbook.setCell(dump.row, dump.column + i, dataSet->field(i)->displayName(), -1);
    for (int record = 1; record <= records && !dataSet->eof(); ++record) {
        for (int i = 0; i < dataSet->fieldCount(); ++i)
            m_workbook.setCell(dump.row + record, dump.column + i, dumpValue(*dataSet->field(i)), -1);
        dataSet->next();
    }
    return records < 1 ? -1 : records - 1;
}

bool TSheetFiller::firstCellIs(int row, const QString &marker) const
{
    try {
        const QVariant value = m_workbook.cell(row, 1).value;
        return value.typeId() == QMetaType::QString && value.toString() == marker;
    } catch (const Error &) {
        return false; // a row whose first cell cannot be read is skipped
    }
}

// One scan finds both markers: the marked rows are deleted from the last to
// the first, then each break row, moved up by the deletions above it, gets
// its page break and loses its marker text.
void TSheetFiller::applyMarkers()
{
    std::vector<int> deleted;
    std::vector<int> breaks;
    for (int row = m_workbook.lastRow(); row >= 1; --row) {
        if (firstCellIs(row, deleteRowMarker))
            deleted.push_back(row);
        else if (firstCellIs(row, pageBreakMarker))
            breaks.push_back(row);
    }
    for (int row : deleted)
        m_workbook.deleteRows(row, 1);
    for (int row : breaks) {
        const auto above = std::count_if(deleted.begin(), deleted.end(), [row](int d) { return d < row; });
        const int moved = row - static_cast<int>(above);
        m_workbook.addPageBreak(moved);
        m_workbook.setCell(moved, 1, QVariant(), -1);
    }
}

} // namespace kasovka::detail
