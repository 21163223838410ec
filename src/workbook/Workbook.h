#pragma once
// The workbook object of the file layer: an Excel 97-2003 workbook (BIFF8 in
// a compound file) loaded into memory, changed cell by cell and row block by
// row block, and saved as a new file. Records the object does not change are
// written back as they were read.
//
// Counting: sheets from 1 in file order; rows (1..65536) and columns
// (1..256) from 1, as absolute sheet positions; defined names from 0.
// Row and cell operations act on the active sheet. Every failure throws
// kasovka::Error carrying the layer's user-facing text.

#include "core/Error.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

namespace kasovka {

class TOutputFile;
class TWorkbook;
class TWorkSheet;

enum class XlsSheetKind { Worksheet, Chart };

// Rows of a sheet in an Excel 97-2003 file, and the most any sheet may hold
// when the workbook is written in the Office Open XML format instead.
inline constexpr int kBiffRows = 65536;
inline constexpr int kMaxSheetRows = 1048576;

// What a cell holds. A formula's cached result is never reported: the layer
// clears it on reading, stores only what storeFormulaResults() works out,
// and asks for recalculation when the file is opened.
enum class XlsCellKind { None, Blank, Number, Text, Bool, Error, Formula };

struct XlsCell {
    XlsCellKind kind = XlsCellKind::None;
    // None, Blank, Formula: null; Number: double; Text: QString; Bool: bool;
    // Error: the error code as int (0x07 = #DIV/0!, 0x17 = #REF!, ...).
    QVariant value;
    int format = -1; // XF index; -1 when the cell does not exist
    QString formula; // Formula: a readable text of its tokens ("SUM(B3:B5)")
    bool isFormula() const { return kind == XlsCellKind::Formula; }
};

// A defined name. An area name has its sheet and rows/columns (from 1);
// anything else (constants, several areas, external references) only its
// formula's token bytes in `raw`.
struct XlsDefinedName {
    QString name;        // built-in names by their usual text ("Print_Area")
    int scopeSheet = 0;  // sheet the name is local to, 0 for the workbook
    bool isArea = false;
    int sheet = 0;       // sheet the area lies on (from 1)
    int firstRow = 0;
    int lastRow = 0;
    int firstColumn = 0;
    int lastColumn = 0;
    QByteArray raw;
};

enum class XlsImageType { Emf, Wmf, Jpeg, Png };

// Listing entries, for tools and tests.
struct XlsCellEntry {
    int row = 0;
    int column = 0;
    XlsCell cell;
};
struct XlsCommentEntry {
    int row = 0;
    int column = 0;
    QString text;
};
struct XlsImageEntry {
    int row = 0;
    QString name;
};
// A manual page break: the row (column) that begins a new page and the
// columns (rows) it spans, all from 1. A break over the whole sheet spans
// columns 1..256 (rows 1..65536).
struct XlsPageBreak {
    int at = 0;
    int first = 0;
    int last = 0;
};

class TXLSFile {
public:
    TXLSFile();
    ~TXLSFile();
    TXLSFile(const TXLSFile &) = delete;
    TXLSFile &operator=(const TXLSFile &) = delete;

    // Loads a template; a path without extension is tried with ".xls".
    void open(const QString &path);
    // Writes the workbook to a path that must not exist yet. A failed save
    // leaves no file behind.
    void save(const QString &path);
    // Writes the workbook through `output`, which it opens and commits.
    void save(TOutputFile &output);

    // Rows the sheets may hold: kBiffRows (the default) for a workbook saved
    // by save(); up to kMaxSheetRows for one another writer takes from
    // workbook(). Formulas, drawing anchors and notes keep BIFF8's row range.
    void setRowLimit(int rows);
    int rowLimit() const { return m_rowLimit; }
    // The loaded workbook, read-only; nullptr before open().
    const TWorkbook *workbook() const { return m_book.get(); }

    int sheetCount() const;
    QString sheetName(int sheet) const;
    XlsSheetKind sheetKind(int sheet) const;
    bool isWorksheet(int sheet) const { return sheetKind(sheet) == XlsSheetKind::Worksheet; }
    int activeSheet() const;
    void setActiveSheet(int sheet);
    // Sheet 1 becomes the active and the only selected sheet.
    void selectFirstSheet();

    int namedRangeCount() const;
    XlsDefinedName namedRange(int index) const;
    // Removes a defined name when nothing refers to it or to a name after
    // it (formulas name them by their position); false when it stays.
    bool removeNamedRange(int index);

    // Last row of the active sheet holding a row record or a cell; 0: none.
    int lastRow() const;
    XlsCell cell(int row, int column) const;
    // value: null or empty text = blank (or removed), bool, text, any number
    // (integers, double, qlonglong); a QDate/QDateTime is stored as its text.
    // format < 0 keeps the present cell's, else the row's, else the
    // column's, else the default format.
    void setCell(int row, int column, const QVariant &value, int format = -1);

    // count copies of rows first..last inserted at destination; rows at or
    // below destination move down. formulasOnly copies only formula cells.
    void insertAndCopyRows(int first, int last, int destination, int count,
                           bool formulasOnly);
    void deleteRows(int first, int count);

    int commentCount(int row) const;
    QString commentText(int row, int index) const; // index from 0
    // An empty text removes the comment.
    void setCommentText(int row, int index, const QString &text);

    int imageCount(int row) const;
    QString imageName(int row, int index) const; // index from 0
    void setImage(int row, int index, XlsImageType type, const QByteArray &data);

    // A manual break so that row begins a new printed page.
    void addPageBreak(int row);

    // Stores the results of the active sheet's formulas as they stand now
    // (FormulaResults.h), for readers that do not recalculate; a later
    // change of the sheet leaves them stale. Returns the formulas left
    // without a result.
    int storeFormulaResults();
    // Grows the active sheet's rows whose wrapped texts need more lines
    // than they hold (RowHeights.h); returns the rows grown.
    int fitWrappedRows();

    // Listings of the active sheet, in row then column order.
    QList<XlsCellEntry> cells() const;
    QList<XlsCommentEntry> comments() const;
    QList<XlsImageEntry> images() const;
    QList<int> pageBreaks() const; // rows that begin a new page
    QList<XlsPageBreak> rowPageBreaks() const;
    QList<XlsPageBreak> columnPageBreaks() const;

private:
    TWorkSheet &activeWorkSheet() const;
    TWorkSheet &writableSheet();

    std::unique_ptr<TWorkbook> m_book;
    int m_active = 1;
    int m_rowLimit = kBiffRows;
};

} // namespace kasovka
