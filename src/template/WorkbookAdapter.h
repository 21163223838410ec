#pragma once
// The only door through which the template engine reaches a workbook. Rows
// and columns count from 1 and are absolute sheet positions; sheets count
// from 1 in file order. Every operation throws kasovka::Error with the
// workbook layer's text on failure.

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <memory>

namespace kasovka {

struct OutputPolicy;

struct TXlsCellValue {
    QVariant value;      // null for a missing or blank cell
    int format = -1;     // -1: the cell does not exist
    bool isFormula = false;
};

struct TXlsNamedRange {
    QString name;
    int sheet = 0; // 0: the name is not bound to one sheet
    int firstRow = 0;
    int lastRow = 0;
    int firstColumn = 0;
    int lastColumn = 0;
};

enum class TXlsImageType { Emf, Wmf, Jpeg, Png };

class IXlsWorkbook {
public:
    virtual ~IXlsWorkbook() = default;

    virtual void open(const QString &path) = 0;
    // Writes the workbook to `path` as the policy allows (core/OutputFile.h).
    virtual void save(const QString &path, const OutputPolicy &policy) = 0;

    virtual int sheetCount() const = 0;
    virtual bool isWorksheet(int sheet) const = 0;
    virtual int activeSheet() const = 0;
    virtual void setActiveSheet(int sheet) = 0;
    virtual void selectFirstSheet() = 0;

    virtual int namedRangeCount() const = 0;
    virtual TXlsNamedRange namedRange(int index) const = 0; // index from 0
    // Removes a name when that is safe (nothing refers to it by position);
    // false when it stays.
    virtual bool removeNamedRange(int index) = 0;

    // The active sheet's last row that holds a row record or a cell (0: none).
    virtual int lastRow() const = 0;
    virtual TXlsCellValue cell(int row, int column) const = 0;
    // format -1 keeps the present cell's (or row's, column's) format.
    virtual void setCell(int row, int column, const QVariant &value, int format) = 0;
    // Inserts count copies of first..last at destination; formulasOnly copies
    // only the formula cells of the block, otherwise all its cells.
    virtual void insertAndCopyRows(int first, int last, int destination, int count,
                                   bool formulasOnly) = 0;
    virtual void deleteRows(int first, int count) = 0;

    virtual int commentCount(int row) const = 0;
    virtual QString commentText(int row, int index) const = 0;
    // An empty text removes the comment.
    virtual void setCommentText(int row, int index, const QString &text) = 0;

    virtual int imageCount(int row) const = 0;
    virtual QString imageName(int row, int index) const = 0;
    virtual void setImage(int row, int index, TXlsImageType type, const QByteArray &data) = 0;

    // A manual break so that row begins a new printed page.
    virtual void addPageBreak(int row) = 0;

    // Stores the results of the active sheet's formulas for readers that
    // do not recalculate; returns how many were left without one.
    virtual int storeFormulaResults() = 0;
    // Grows the active sheet's rows so that wrapped texts show whole.
    virtual void fitWrappedRows() = 0;
};

// Creates the workbook objects the engine fills.
class TWorkbookAdapter {
public:
    virtual ~TWorkbookAdapter() = default;
    virtual std::unique_ptr<IXlsWorkbook> createWorkbook() = 0;
};

} // namespace kasovka
