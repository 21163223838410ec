#pragma once
// The band tree of one sheet: named ranges whose names begin with "__",
// nested by their rows.

#include "template/WorkbookAdapter.h"
#include "template/XlsDataSet.h"

#include <QStringList>
#include <optional>
#include <unordered_map>
#include <vector>

namespace kasovka {

// A band range of the active sheet, as the band search sees it.
struct TBandRange {
    int rangeIndex = 0;
    int topRow = 0;
    int bottomRow = 0;
    QStringList dataSetNames;
    QString name;
    int firstColumn = 1;
    int lastColumn = 1;
};

// Throws kasovka::Error with a Czech text naming the range and the sheet
// when a band range of a damaged template would make the engine loop, grow
// without end or fill the wrong rows: rows or columns in the wrong order or
// outside the sheet, two ranges that cross (neither lies inside the other),
// or nesting deeper than any template needs.
void checkBandRanges(const std::vector<TBandRange> &ranges, int sheet);
// The band ranges of the workbook's active sheet, checked as above.
std::vector<TBandRange> activeSheetBandRanges(const IXlsWorkbook &workbook);
// Bands whose data sets move each other (a detail band around a band of its
// master) repeat for ever: throws kasovka::Error once a band starts more
// repetitions than the records it counted.
void checkRepetition(int repetition, int records, int sheet);

struct TExcelBand {
    int topRow = 0;
    int bottomRow = 0;
    int rangeIndex = 0;
    std::vector<TExcelBand> children;   // ordered by top row, not overlapping
    std::vector<IXlsDataSet *> dataSets; // nullptr: no data set of that name

    int height() const { return bottomRow - topRow + 1; }
    int childRows() const;
    int ownRows() const { return height() - childRows(); }
    TExcelBand *childAt(int row);
    bool allEntriesEmpty() const;
    bool allAtEnd() const;       // every present data set is at its end
    bool hasDataSets() const;    // at least one entry names a present data set
    void advance();              // next record of each present data set not at its end
    void rewind();               // every present data set to its first record
};

class TBandSearch {
public:
    // The ranges must have passed checkBandRanges; sheet names them in errors.
    TBandSearch(std::vector<TBandRange> ranges, int sheet);

    // The outermost band inside first..last, with its children; a range of
    // exactly first..last is not taken.
    std::optional<TExcelBand> find(int first, int last) const;
    // Resolves each band's names; unknown names leave empty entries. A band
    // that walks a data set a band around it walks throws kasovka::Error: it
    // would rewind the outer band on every repetition, for ever.
    template <typename Lookup>
    std::optional<TExcelBand> mainBand(Lookup lookup) const
    {
        auto band = find(1, 65535);
        std::vector<const TExcelBand *> enclosing;
        if (band)
            resolve(*band, lookup, enclosing);
        return band;
    }

private:
    const TBandRange *pick(int first, int last, int excludeTop, int excludeBottom) const;
    TExcelBand build(const TBandRange &range) const;
    template <typename Lookup>
    void resolve(TExcelBand &band, Lookup &lookup, std::vector<const TExcelBand *> &enclosing) const
    {
        for (const QString &name : m_ranges[rangePosition(band.rangeIndex)].dataSetNames)
            band.dataSets.push_back(lookup(name));
        checkOwnDataSets(band, enclosing);
        enclosing.push_back(&band);
        for (TExcelBand &child : band.children)
            resolve(child, lookup, enclosing);
        enclosing.pop_back();
    }
    void checkOwnDataSets(const TExcelBand &band, const std::vector<const TExcelBand *> &enclosing) const;
    std::size_t rangePosition(int rangeIndex) const;

    std::vector<TBandRange> m_ranges; // outer ranges first
    int m_sheet = 0;
    std::unordered_map<int, std::size_t> m_positions; // by range index
};

} // namespace kasovka
