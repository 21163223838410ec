#pragma once
// Areas of a sheet the layer keeps as lists of their own: merged cells and
// manual page breaks. Rows and columns count from 0.

namespace kasovka {

// A cell area of MERGEDCELLS (Ref8, [MS-XLS] 2.5.211).
struct CellArea {
    int firstRow = 0, lastRow = 0, firstColumn = 0, lastColumn = 0;
    friend bool operator==(const CellArea &, const CellArea &) = default;
};

// One manual page break: the row (column) that begins a new page, and the
// columns (rows) it spans. HorzBrk and VertBrk ([MS-XLS] 2.5.155, 2.5.311)
// store the three fields in this order.
struct PageBreak {
    int at = 0, first = 0, last = 0;
    friend bool operator==(const PageBreak &, const PageBreak &) = default;
};

} // namespace kasovka
