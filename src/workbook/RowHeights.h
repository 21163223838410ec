#pragma once
// Rows grown to show the whole of their wrapped texts. A reader takes a
// row's height as stored, so a description that needs three lines in its
// column would otherwise show one.

#include "workbook/BiffStyles.h"

namespace kasovka {

class TWorkbook;
class TWorkSheet;

// Grows each row of the sheet whose text cells with wrapping formats need
// more lines than its height holds; rows never shrink. Cells of merged
// areas are left alone. Returns the rows grown.
int fitWrappedRows(TWorkSheet &sheet, const TWorkbook &book);

// Lines the text takes in a cell of that text width (points): words move to
// the next line whole, a word wider than the cell is broken where it reaches
// the edge, and line breaks in the text stand.
int wrappedLines(const QString &text, const BiffFont &font, double width);

} // namespace kasovka
