#pragma once
// Rows of a printed table split into pages, and one page of one column slice
// painted: the title block with the column groups, captions and numbers,
// then the rows.

#include <QList>
#include <QPair>
#include <QPointF>

class QPainter;

namespace kasovka::print {

class TableLayout;
class TableSource;
class TextBatch;

struct RowRange {
    int first = 0;
    int count = 0;
};

// Splits the source's rows into pages whose rows fit `available` (the height
// under the titles). A last row marked to be kept with its predecessor
// (a sums row) never starts a page alone. Every page but the first keeps
// `carryHeight` for the row carried in from the previous page, and every
// page but the last for the row carried out to the next one. Always at
// least one page.
QList<RowRange> splitRows(const TableLayout &layout, const TableSource &source, double available,
                          bool keepLastWithPrevious, double carryHeight = 0);

// Height of the rows of a range.
double rowsHeight(const TableLayout &layout, const TableSource &source, RowRange rows);

// Paints the titles and the rows of one slice with its top left at `origin`;
// returns the bottom of the table. With `ruleAboveLast` the last row of the
// source (a sums row) gets a heavier rule above it. The first row of
// `carriedIn` stands above the rows and that of `carriedOut` below them,
// with a heavier rule above it.
double paintTable(QPainter &painter, TextBatch &text, const TableLayout &layout, int slice,
                  const TableSource &source, RowRange rows, QPointF origin, bool ruleAboveLast,
                  const TableSource *carriedIn = nullptr, const TableSource *carriedOut = nullptr);

} // namespace kasovka::print
