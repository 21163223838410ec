#pragma once
// Widget side of MemTableModel: sets a QTableView up as the program's
// read-only grid over a memory table (whole-row selection, no editing,
// column widths and multi-line titles from the model's columns) and links
// its selection to the table's cursor in both directions.

class QTableView;

namespace kasovka {

class MemTableModel;
class MemTableSelectionLink;

struct MemTableGridOptions {
    bool titleRow = true;      // show the column titles
    bool stretchLast = true;   // the last column takes the remaining width
    bool rowLines = false;     // grid lines between cells
};

// Gives the view the model and returns the selection link (a child of the
// view). The model is not owned by the view.
MemTableSelectionLink *bindMemTableGrid(QTableView *view, MemTableModel *model,
                                        const MemTableGridOptions &options = {});

} // namespace kasovka
