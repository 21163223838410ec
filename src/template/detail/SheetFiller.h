#pragma once
// Processing one worksheet: the band tree, the row cache, the insertion and
// fill passes, then the full data set dumps and the markers.

#include "template/ExcelBand.h"
#include "template/TemplateTags.h"
#include "template/WorkbookAdapter.h"

#include <functional>
#include <vector>

namespace kasovka {
class TTemplateDataModule;
namespace detail {

// A dump of a whole data set, expanded after the fill pass.
struct TFullDataSet {
    QString tag;
    int row = 0;
    int column = 0;
};

class TSheetFiller {
public:
    using Lookup = std::function<IXlsDataSet *(const QString &)>;

    TSheetFiller(IXlsWorkbook &workbook, const TTagParser &parser,
                 const TTemplateDataModule *dataModule, Lookup lookup);

    // Leaves a sheet without bands exactly as it is.
    void run();

private:
    void buildCache(int topRow, int bottomRow);

    void insertBand(TExcelBand &band, int &offset);
    void resizeBand(const TExcelBand &band, int offset, int records);
    void insertChildren(TExcelBand &band, int &offset, int records);

    void fillBand(TExcelBand &band, int &row);
    void fillRepetition(TExcelBand &band, int &row);
    void writeRow(int cacheRow, int row);
    void fillComments(int row);
    void fillImages(int row);

    void expandDumps();
    int expandDump(const TFullDataSet &dump);
    void applyMarkers();
    bool firstCellIs(int row, const QString &marker) const;

    IXlsWorkbook &m_workbook;
    const TTagParser &m_parser;
    const TTemplateDataModule *m_dataModule;
    Lookup m_lookup;
    int m_firstColumn = 1;
    int m_lastColumn = 1;
    int m_templateTop = 1;
    std::vector<std::vector<TOneBandValue>> m_cache; // one entry per main band row
    std::vector<TFullDataSet> m_dumps;
};

} // namespace detail
} // namespace kasovka
