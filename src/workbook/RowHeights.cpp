#include "workbook/RowHeights.h"

#include "workbook/BiffSheetSetup.h"
#include "workbook/FontMetrics.h"
#include "workbook/TWorkbook.h"

#include <algorithm>
#include <cmath>

namespace kasovka {

namespace {

constexpr int kColumns = 256;
constexpr int kMaxRowTwips = 8190; // 409.5 pt, the most a row holds
// Of a row of the default height, the part that is not the line itself.
constexpr double kLineSpacing = 1.17;
// Room a cell keeps free on its left and right, in points.
constexpr double kCellMargins = 3.0;
constexpr uint16_t kCustomHeight = 0x0040; // fUnsynced: the height is the row's own

// The text width of each column in points; 0 for hidden columns.
std::vector<double> columnPoints(const BiffSheetSetup &setup, const BiffFont &normal)
{
    const double digit = digitPoints(normal);
    const int standard = setup.standardColumnWidth.value_or((setup.defaultColumnChars.value_or(8) + 1) * 256);
    std::vector<double> points(kColumns, standard / 256.0 * digit);
    for (const BiffColumn &c : setup.columns)
        for (int col = std::max(c.first, 0); col <= std::min(c.last, kColumns - 1); ++col)
            points[size_t(col)] = c.hidden ? 0 : c.width / 256.0 * digit;
    for (double &p : points)
        p = std::max(0.0, p - kCellMargins);
    return points;
}

} // namespace

int wrappedLines(const QString &text, const BiffFont &font, double width)
{
    if (width <= 0 || (!text.contains(u'\n') && textPoints(text, font) <= width))
        return 1;
    const double space = textPoints(u" ", font);
    int lines = 0;
    for (QStringView paragraph : QStringView(text).split(u'\n')) {
        ++lines;
        double used = 0;
        for (QStringView word : paragraph.split(u' ', Qt::SkipEmptyParts)) {
            double w = textPoints(word, font);
            if (used > 0 && used + space + w <= width) {
                used += space + w;
                continue;
            }
            if (used > 0)
                ++lines;
            // What does not fit on a line of its own fills whole lines.
            const int whole = int(std::ceil(w / width)) - 1;
            lines += std::max(0, whole);
            used = w - std::max(0, whole) * width;
        }
    }
    return lines;
}

namespace {

bool inMergedArea(const TWorkSheet &sheet, int row, int col)
{
    for (const CellArea &a : sheet.merged())
        if (row >= a.firstRow && row <= a.lastRow && col >= a.firstColumn && col <= a.lastColumn)
            return true;
    return false;
}

} // namespace

int fitWrappedRows(TWorkSheet &sheet, const TWorkbook &book)
{
    const BiffStyles styles = BiffStyles::read(book.globals());
    const BiffSheetSetup setup = BiffSheetSetup::read(sheet);
    const std::vector<double> widths = columnPoints(setup, styles.font(0));
    const int defaultTwips = setup.defaultRowTwips.value_or(255);
    std::vector<char> wraps(size_t(styles.xfCount()));
    for (int i = 0; i < styles.xfCount(); ++i)
        wraps[size_t(i)] = styles.xf(i).wrap;

    int grown = 0;
    const int rows = int(sheet.rows().size());
    for (int r = 0; r < rows; ++r) {
        const RowData &row = sheet.rows()[size_t(r)];
        const int current = row.hasRecord ? row.format().heightTwips : defaultTwips;
        int needed = 0;
        for (const Cell &c : row.cells) {
            if (c.type() != CellType::Text || c.xf >= wraps.size() || !wraps[c.xf] || inMergedArea(sheet, r, c.col))
                continue;
            const BiffFont &font = styles.font(styles.xf(c.xf).font);
            const int lines = wrappedLines(book.text(c.str()), font, widths[c.col]);
            if (lines < 2)
                continue;
            const int lineTwips = int(std::lround(font.heightTwips * kLineSpacing));
            needed = std::max(needed, current + (lines - 1) * lineTwips);
        }
        if (needed <= current)
            continue;
        RowData &grownRow = sheet.rowForWrite(r);
        if (!grownRow.hasRecord) {
            grownRow.record.row = uint16_t(r);
            grownRow.hasRecord = true;
        }
        grownRow.record.height = uint16_t(std::min(needed, kMaxRowTwips));
        grownRow.record.flags |= kCustomHeight;
        ++grown;
    }
    return grown;
}

} // namespace kasovka
