#include "template/ExcelBand.h"

#include "core/Error.h"
#include "template/TemplateTags.h"

#include <algorithm>

namespace kasovka {

namespace {

constexpr int LastSheetRow = 65536;
constexpr int LastSheetColumn = 256;
// Templates nest two or three levels; far deeper nesting only comes from a
// damaged file and would recurse through every pass.
constexpr std::size_t MaxBandDepth = 64;

Error damaged(const QString &what)
{
    return Error(QStringLiteral("Šablona je poškozená: ") + what);
}

// Outer ranges first: top row ascending, then the taller one, then the one
// later in the workbook's names (it wins ties in the band search).
bool outerFirst(const TBandRange &a, const TBandRange &b)
{
    if (a.topRow != b.topRow)
        return a.topRow < b.topRow;
    if (a.bottomRow != b.bottomRow)
        return a.bottomRow > b.bottomRow;
    return a.rangeIndex > b.rangeIndex;
}

void checkOneRange(const TBandRange &r, int sheet)
{
    const auto inside = [](int value, int last) { return value >= 1 && value <= last; };
    if (!inside(r.topRow, LastSheetRow) || !inside(r.bottomRow, LastSheetRow)
        || !inside(r.firstColumn, LastSheetColumn) || !inside(r.lastColumn, LastSheetColumn))
        throw damaged(QStringLiteral("oblast %1 na listu %2 leží mimo list.").arg(r.name).arg(sheet));
    if (r.topRow > r.bottomRow)
        throw damaged(QStringLiteral("oblast %1 na listu %2 má první řádek (%3) za posledním (%4).")
                          .arg(r.name).arg(sheet).arg(r.topRow).arg(r.bottomRow));
    if (r.firstColumn > r.lastColumn)
        throw damaged(QStringLiteral("oblast %1 na listu %2 má první sloupec (%3) za posledním (%4).")
                          .arg(r.name).arg(sheet).arg(r.firstColumn).arg(r.lastColumn));
}

} // namespace

void checkBandRanges(const std::vector<TBandRange> &ranges, int sheet)
{
    for (const TBandRange &range : ranges)
        checkOneRange(range, sheet);
    std::vector<const TBandRange *> sorted;
    for (const TBandRange &range : ranges)
        sorted.push_back(&range);
    std::sort(sorted.begin(), sorted.end(),
              [](const TBandRange *a, const TBandRange *b) { return outerFirst(*a, *b); });
    // The chain of ranges enclosing the current one; a range that starts
    // inside the innermost but ends below it crosses it.
    std::vector<const TBandRange *> open;
    for (const TBandRange *range : sorted) {
        while (!open.empty() && open.back()->bottomRow < range->topRow)
            open.pop_back();
        if (!open.empty() && range->bottomRow > open.back()->bottomRow) {
            const TBandRange &outer = *open.back();
            throw damaged(QStringLiteral("oblasti %1 (řádky %2 až %3) a %4 (řádky %5 až %6) na listu %7 "
                                         "se překrývají, ale jedna neleží uvnitř druhé.")
                              .arg(outer.name).arg(outer.topRow).arg(outer.bottomRow)
                              .arg(range->name).arg(range->topRow).arg(range->bottomRow).arg(sheet));
        }
        open.push_back(range);
        if (open.size() > MaxBandDepth)
            throw damaged(QStringLiteral("oblasti na listu %1 jsou do sebe vnořeny více než %2krát.")
                              .arg(sheet).arg(MaxBandDepth));
    }
}

std::vector<TBandRange> activeSheetBandRanges(const IXlsWorkbook &workbook)
{
    std::vector<TBandRange> ranges;
    for (int i = 0; i < workbook.namedRangeCount(); ++i) {
        const TXlsNamedRange range = workbook.namedRange(i);
        if (range.sheet != workbook.activeSheet())
            continue;
        if (auto names = bandDataSetNames(range.name))
            ranges.push_back({i, range.firstRow, range.lastRow, *names, range.name, range.firstColumn,
                              range.lastColumn});
    }
    checkBandRanges(ranges, workbook.activeSheet());
    return ranges;
}

void checkRepetition(int repetition, int records, int sheet)
{
    if (repetition > records)
        throw damaged(QStringLiteral("oblasti na listu %1 se opakují bez konce.").arg(sheet));
}

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

TBandSearch::TBandSearch(std::vector<TBandRange> ranges, int sheet) : m_ranges(std::move(ranges)), m_sheet(sheet)
{
    std::sort(m_ranges.begin(), m_ranges.end(), outerFirst);
    for (std::size_t i = 0; i < m_ranges.size(); ++i)
        m_positions.emplace(m_ranges[i].rangeIndex, i);
}

std::size_t TBandSearch::rangePosition(int rangeIndex) const
{
    const auto found = m_positions.find(rangeIndex);
    return found == m_positions.end() ? 0 : found->second;
}

// Smallest top row first, then the largest bottom row; on ties the range that
// comes later in the workbook's names wins. The excluded rows are those of
// the band whose children are searched: a range with exactly its rows is that
// band itself (or a duplicate of it), never its child. The ranges are sorted
// in that order, so the first that fits wins; in checked ranges the only
// ones skipped are those enclosing first..last, as few as the nesting depth.
const TBandRange *TBandSearch::pick(int first, int last, int excludeTop, int excludeBottom) const
{
    auto range = std::lower_bound(m_ranges.begin(), m_ranges.end(), first,
                                  [](const TBandRange &r, int row) { return r.topRow < row; });
    for (; range != m_ranges.end() && range->topRow <= last; ++range) {
        if (range->bottomRow > last)
            continue;
        if (range->topRow == excludeTop && range->bottomRow == excludeBottom)
            continue;
        return &*range;
    }
    return nullptr;
}

void TBandSearch::checkOwnDataSets(const TExcelBand &band, const std::vector<const TExcelBand *> &enclosing) const
{
    for (const TExcelBand *outer : enclosing)
        for (IXlsDataSet *dataSet : band.dataSets)
            if (dataSet && std::find(outer->dataSets.begin(), outer->dataSets.end(), dataSet) != outer->dataSets.end())
                throw damaged(QStringLiteral("oblast %1 na listu %2 prochází tabulku %3, kterou prochází už oblast "
                                             "%4, ve které leží.")
                                  .arg(m_ranges[rangePosition(band.rangeIndex)].name).arg(m_sheet)
                                  .arg(dataSet->name(), m_ranges[rangePosition(outer->rangeIndex)].name));
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
