#pragma once
// One worksheet of the model written through libxlsxwriter: its layout and
// print setup, then its rows in order (row format and height, merged areas
// beginning there, cells, notes), which is the order constant-memory mode
// needs.

#include "workbook/BiffSheetSetup.h"
#include "workbook/FormulaText.h"
#include "xlsx/detail/XlsxFormats.h"

#include <array>
#include <functional>

namespace kasovka {
class TWorkbook;
class TWorkSheet;
class Cell;
} // namespace kasovka

namespace kasovka::xlsx {

struct SheetPrintNames {
    std::optional<std::pair<int, int>> titleRows, titleColumns; // first, last
    std::optional<std::array<int, 4>> printArea;                 // rows, then columns
};

class XlsxSheetWriter {
public:
    using RowsDone = std::function<void(int rows)>;

    XlsxSheetWriter(lxw_worksheet *worksheet, XlsxFormats &formats, const TWorkbook &book, int sheet,
                    const QString &name, FormulaContext formulas);

    void writeLayout(const SheetPrintNames &names);
    // Calls rowsDone every few thousand rows.
    void writeRows(const RowsDone &rowsDone);

    // Whether the rows can be written one after the other, as constant-memory
    // mode requires: no merged area spans more than two rows and no array
    // formula several rows.
    static bool writableRowByRow(const TWorkSheet &sheet);

private:
    void refuseDrawings() const;
    void writeColumns();
    void writePageSetup(const SheetPrintNames &names);
    void writeBreaksAndTitles(const SheetPrintNames &names);
    void writeView();
    void writeRowFormat(int row);
    void openMerges(int row);
    void writeTwoRowMerges(int row);
    void writeMerge(const std::array<int, 4> &merge);
    void writeCell(int row, const Cell &cell);
    void writeText(int row, int col, uint32_t text, lxw_format *format);
    void writeFormula(int row, const Cell &cell, lxw_format *format);
    void writeFormulaText(int row, int col, const QString &formula, lxw_format *format);
    void writeNotes(int row);
    void fillMergedGaps(int row);
    void check(lxw_error error, int row, int col) const;
    // `what` of the sheet (its header, its page breaks...) was refused.
    void checkSheet(lxw_error error, const QString &what) const;
    QString cellName(int row, int col) const;

    lxw_worksheet *m_ws;
    XlsxFormats &m_formats;
    const TWorkbook &m_book;
    const TWorkSheet &m_sheet;
    QString m_name;
    FormulaContext m_formulas;
    BiffSheetSetup m_setup;
    std::vector<std::array<int, 4>> m_merges; // first row, first column, last row, last column
    size_t m_nextMerge = 0;
    std::vector<std::array<int, 4>> m_openMerges;
    std::vector<std::array<int, 4>> m_twoRowMerges; // begun in the current row, not yet written
    bool m_rowByRow = false;
    std::vector<std::pair<int, int>> m_notes; // row, index into m_setup.notes
    size_t m_nextNote = 0;
    bool m_beyondBiff = false;
};

} // namespace kasovka::xlsx
