#pragma once
// One sheet of a workbook: its cell table parsed into rows and cells, its
// merged areas and manual page breaks parsed into lists, its drawing
// indexed, and every other record kept as read in its place.

#include "workbook/Formula.h"
#include "workbook/SheetAreas.h"
#include "workbook/SheetDrawing.h"
#include "workbook/detail/RecordViews.h"
#include "workbook/detail/SharedStrings.h"

#include <cstring>
#include <memory>
#include <optional>

namespace kasovka {

enum class CellType : uint8_t { Blank, Number, Text, Bool, Error, Formula };

// An array formula ([MS-XLS] 2.4.4 Array): the cells it fills, its tokens
// and their extra data.
struct ArrayFormula {
    CellArea range;
    QByteArray rgce, extra;
};

struct FormulaData {
    QByteArray rgce;
    QByteArray extra; // rgcb: array constants and the like
    uint16_t flags = 0;
    std::vector<detail::BiffRecord> attached; // ARRAY or TABLE at its anchor
    // The stored result: none as read (readers recalculate), a number once
    // TXLSFile::storeFormulaResults() has worked it out.
    std::optional<double> result;

    // A data table's formula ([MS-XLS] 2.4.319 Table) has no tokens of its own.
    bool isDataTable() const;
    // The array formula anchored in this cell, if any.
    std::optional<ArrayFormula> array() const;
    // A cell of an array formula other than its anchor: its tokens only
    // point there (PtgExp).
    bool isArrayMember() const;
};

// A cell in 14 bytes: a sheet of the largest size holds a few million of
// them, most of them blank. The value slot holds what the type calls for.
class Cell {
public:
    uint16_t col = 0;
    uint16_t xf = 0;

    Cell() = default;
    Cell(const Cell &o) { copyFrom(o); }
    Cell(Cell &&o) noexcept { takeFrom(o); }
    Cell &operator=(const Cell &o);
    Cell &operator=(Cell &&o) noexcept;
    ~Cell()
    {
        if (m_type == CellType::Formula)
            delete slot<FormulaData *>();
    }

    CellType type() const { return m_type; }
    double num() const { return m_type == CellType::Number ? slot<double>() : 0; }
    uint32_t str() const { return m_type == CellType::Text ? slot<uint32_t>() : 0; }
    uint8_t boolErr() const { return m_boolErr; }
    FormulaData *formula() const { return m_type == CellType::Formula ? slot<FormulaData *>() : nullptr; }

    void setBlank() { reset(CellType::Blank); }
    void setNumber(double v) { reset(CellType::Number); setSlot(v); }
    void setText(uint32_t poolIndex) { reset(CellType::Text); setSlot(poolIndex); }
    void setBool(uint8_t v) { reset(CellType::Bool); m_boolErr = v; } // kept as read
    void setError(uint8_t code) { reset(CellType::Error); m_boolErr = code; }
    void setFormula(std::unique_ptr<FormulaData> f);

private:
    void reset(CellType type)
    {
        release();
        m_type = type;
        m_boolErr = 0;
    }
    // The value slot is read only as the type says, so what is left in it
    // after a change of type does not matter.
    void release()
    {
        if (m_type == CellType::Formula)
            delete slot<FormulaData *>();
        m_type = CellType::Blank;
    }
    void copyFrom(const Cell &o);
    void takeFrom(Cell &o) noexcept;

    // The slot is unaligned, so that the cell needs no padding.
    template<typename T> T slot() const
    {
        T v;
        std::memcpy(&v, m_value, sizeof v);
        return v;
    }
    template<typename T> void setSlot(T v)
    {
        static_assert(sizeof v <= sizeof m_value);
        std::memcpy(m_value, &v, sizeof v);
    }

    CellType m_type = CellType::Blank;
    uint8_t m_boolErr = 0;
    // Number: double; Text: string pool index; Formula: owned FormulaData.
    unsigned char m_value[8] = {};
};

static_assert(sizeof(Cell) == 14);

// A row's own height, outline and format, from its ROW record ([MS-XLS]
// 2.4.221).
struct RowFormat {
    int heightTwips = 0;
    int outlineLevel = 0;
    bool collapsed = false, hidden = false;
    int format = -1; // XF index; -1 when the row has no format of its own
};

struct RowData {
    std::vector<Cell> cells; // ordered by column
    detail::RowRecord record;
    bool hasRecord = false;

    bool empty() const { return !hasRecord && cells.empty(); }
    RowFormat format() const;
    const Cell *find(int col) const;
    Cell *find(int col);
};

// A list the sheet keeps in records of its own kind (merged areas, page
// breaks): the records stay where they were read and are written back as
// read until the list changes.
template <typename Entry>
struct RecordList {
    std::vector<Entry> entries;
    bool changed = false;
};

class TWorkSheet {
public:
    static constexpr int kRows = 65536;
    static constexpr int kDefaultFormat = 15; // the XF of cells in the Normal style

    void load(std::vector<detail::BiffRecord> records, detail::StringPool &strings);
    // Appends the sheet's records to the stream being written (so that
    // stream positions are offsets in `out`).
    void write(QByteArray &out, const std::vector<uint32_t> &stringMap) const;

    bool isChart() const { return m_chart; }
    // Rows the sheet may hold (kRows unless the workbook lifts the limit).
    void setRowLimit(int rows) { m_rowLimit = rows; }
    int rowLimit() const { return m_rowLimit; }
    // The records kept as read, in sheet order, for the layer's readers of
    // what it keeps as bytes (BiffSheetSetup).
    const std::vector<detail::BiffRecord> &records() const { return m_records; }
    // Whether the sheet has drawn objects (pictures, charts, shapes) besides
    // the notes' text boxes.
    bool hasDrawnObjects() const;
    int lastRow() const; // 0-based last row in use, -1 when none
    const std::vector<RowData> &rows() const { return m_rows; }
    const RowData *row(int r) const { return r < int(m_rows.size()) ? &m_rows[r] : nullptr; }
    RowData &rowForWrite(int r)
    {
        m_cellsChanged = true;
        return rowAt(r);
    }
    // The format of a cell without one: the row's, else the column's.
    int defaultFormat(const RowData &row, int col) const
    {
        if (row.hasRecord && row.record.hasFormat())
            return row.record.formatIndex();
        const int column = col >= 0 && col < int(m_colFormat.size()) ? m_colFormat[col] : -1;
        return column >= 0 ? column : kDefaultFormat;
    }
    void setSelected(bool selected);

    // Moves references of every formula in the sheet; `onThisSheet` tells
    // whether the rows change on this sheet.
    void shiftFormulas(const ReferenceShifter &shifter, bool onThisSheet);
    // Structural changes of this sheet (formulas are shifted separately).
    // Throws when inserting count rows at `at` would push content off the sheet.
    void checkRoom(int at, int count) const;
    void insertEmptyRows(int at, int count);
    // ids: the workbook's shape ids, nullptr when it has no drawing group.
    void removeRows(int at, int count, detail::ShapeIdClusters *ids);
    void copyRows(int first, int last, int dest, int copies, bool formulasOnly,
                  detail::ShapeIdClusters *ids);

    // Manual page breaks: rows that begin a page (with the columns they
    // span) and columns that begin a page (with their rows), ascending.
    const std::vector<PageBreak> &rowBreaks() const { return m_rowBreaks.entries; }
    const std::vector<PageBreak> &columnBreaks() const { return m_columnBreaks.entries; }
    void addPageBreak(int row);
    const std::vector<CellArea> &merged() const { return m_merged.entries; }
    SheetDrawing &drawing() { return m_drawing; }
    const SheetDrawing &drawing() const { return m_drawing; }

private:
    enum Marker : uint16_t { CellTable = 0xF001, IndexSpot, BreaksSpot };

    void readList(const detail::BiffRecord &rec);
    // As rowForWrite, while reading.
    RowData &rowAt(int r)
    {
        if (r >= int(m_rows.size())) [[unlikely]]
            m_rows.resize(r + 1);
        return m_rows[r];
    }
    void parseCellRecord(const detail::BiffRecord &rec, detail::StringPool &strings);
    void parseFormula(const detail::BiffRecord &rec);
    void resolveSharedFormulas();
    void placeMissingMarkers();
    Cell &putCell(int row, Cell cell);
    // Rows that share one DBCELL: first..last in use, within 32 rows.
    struct RowBlock {
        int first, last;
    };
    std::vector<RowBlock> rowBlocks() const;
    void writeCellTable(QByteArray &out, const std::vector<uint32_t> &map,
                        const std::vector<RowBlock> &blocks, std::vector<uint32_t> &dbCells) const;
    void writeRow(QByteArray &out, int row, const std::vector<uint32_t> &map) const;
    void writeFormula(QByteArray &out, int row, const Cell &c) const;
    void fillIndex(char *index, qsizetype defColWidthPos, const std::vector<uint32_t> &dbCells) const;
    QByteArray dimensions() const;
    void shiftBreaks(int at, int delta);

    struct SharedFormula {
        int firstRow, lastRow, firstCol, lastCol;
        QByteArray rgce, extra;
    };

    bool m_chart = false;
    std::vector<detail::BiffRecord> m_records;
    std::vector<RowData> m_rows;
    std::vector<int> m_colFormat; // per column, from COLINFO; -1 none
    RecordList<CellArea> m_merged;
    RecordList<PageBreak> m_rowBreaks, m_columnBreaks;
    bool m_cellsChanged = false; // ROW and DIMENSIONS are as read until then
    std::vector<SharedFormula> m_shared;
    std::vector<std::pair<int, int>> m_pendingShared; // cells holding PtgExp
    SheetDrawing m_drawing;
    int m_lastFormulaRow = -1, m_lastFormulaCol = -1;
    int m_rowLimit = kRows;
};

} // namespace kasovka
