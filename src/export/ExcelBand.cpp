#include "export/ExcelBand.h"

namespace kasovka {

int TExcelBand::childRows() const
{
    int rows = 0;
    for (const TExcelBand &child : children)
        rows += child.height();
    return rows;
}

TExcelBand *TExcelBand::childAt(int row)
{
    for (TExcelBand &child : children)
        if (child.topRow == row)
            return &child;
    return nullptr;
}

bool TExcelBand::allEntriesEmpty() const
{
    for (IXlsDataSet *dataSet : dataSets)
        if (dataSet)
            return false;
    return true;
}

bool TExcelBand::hasDataSets() const
{
    return !allEntriesEmpty();
}

bool TExcelBand::allAtEnd() const
{
    for (IXlsDataSet *dataSet : dataSets)
        if (dataSet && !dataSet->eof())
            return false;
    return true;
}

void TExcelBand::advance()
{
    for (IXlsDataSet *dataSet : dataSets)
        if (dataSet && !dataSet->eof())
            dataSet->next();
}

void TExcelBand::rewind()
{
    for (IXlsDataSet *dataSet : dataSets)
        if (dataSet)
            dataSet->first();
}

TBandSearch::TBandSearch(std::vector<TBandRange> ranges) : m_ranges(std::move(ranges)) {}

std::size_t TBandSearch::rangePosition(int rangeIndex) const
{
    for (std::size_t i = 0; i < m_ranges.size(); ++i)
        if (m_ranges[i].rangeIndex == rangeIndex)
            return i;
    return 0;
}

// Smallest top row first, then the largest bottom row; on ties the range that
// comes later in the workbook's names wins. The excluded rows are those of
// the band whose children are searched: a range with exactly its rows is that
// band itself (or a duplicate of it), never its child.
const TBandRange *TBandSearch::pick(int first, int last, int excludeTop, int excludeBottom) const
{
    const TBandRange *best = nullptr;
    for (const TBandRange &range : m_ranges) {
        if (range.topRow < first || range.bottomRow > last)
            continue;
        if (range.topRow == excludeTop && range.bottomRow == excludeBottom)
            continue;
        if (!best || range.topRow < best->topRow
            || (range.topRow == best->topRow && range.bottomRow >= best->bottomRow))
            best = &range;
    }
    return best;
}

std::optional<TExcelBand> TBandSearch::find(int first, int last) const
{
    const TBandRange *range = pick(first, last, first, last);
    if (!range)
        return std::nullopt;
    return build(*range);
}

TExcelBand TBandSearch::build(const TBandRange &range) const
{
    TExcelBand band;
    band.topRow = range.topRow;
    band.bottomRow = range.bottomRow;
    band.rangeIndex = range.rangeIndex;
    int from = range.topRow;
    while (const TBandRange *child = pick(from, range.bottomRow, range.topRow, range.bottomRow)) {
        band.children.push_back(build(*child));
        from = child->bottomRow + 1;
    }
    return band;
}

} // namespace kasovka
