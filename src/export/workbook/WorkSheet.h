#pragma once
// One sheet of a workbook: its cell table parsed into rows and cells, its
// merged areas and manual page breaks parsed into lists, its drawing
// indexed, and every other record kept as read in its place.

#include "export/workbook/Formula.h"
#include "export/workbook/SheetDrawing.h"
#include "export/workbook/detail/Records.h"
#include "export/workbook/detail/SharedStrings.h"

#include <cstring>
#include <memory>

namespace kasovka {

enum class CellType : uint8_t { Blank, Number, Text, Bool, Error, Formula };

struct FormulaData {
    QByteArray rgce;
    QByteArray extra; // rgcb: array constants and the like
    uint16_t flags = 0;
    std::vector<detail::BiffRecord> attached; // ARRAY or TABLE at its anchor
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
    ~Cell() { release(); }

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
    void reset(CellType type);
    void release();
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
        std::memset(m_value, 0, sizeof m_value);
        std::memcpy(m_value, &v, sizeof v);
    }

    CellType m_type = CellType::Blank;
    uint8_t m_boolErr = 0;
    // Number: double; Text: string pool index; Formula: owned FormulaData.
    unsigned char m_value[8] = {};
};

static_assert(sizeof(Cell) == 14);

struct RowData {
    QByteArray record; // ROW record data, empty when the row has none
    std::vector<Cell> cells; // ordered by column

    bool empty() const { return record.isEmpty() && cells.empty(); }
    const Cell *find(int col) const;
    Cell *find(int col);
};

struct MergedArea {
    int firstRow, lastRow, firstCol, lastCol;
};

class TWorkSheet {
public:
    static constexpr int kRows = 65536;

    void load(std::vector<detail::BiffRecord> records, detail::StringPool &strings);
    // Appends the sheet's records to the stream being written (so that
    // stream positions are offsets in `out`).
    void write(QByteArray &out, const std::vector<uint32_t> &stringMap) const;

    bool isChart() const { return m_chart; }
    // Rows the sheet may hold (kRows unless the workbook lifts the limit).
    void setRowLimit(int rows) { m_rowLimit = rows; }
    int rowLimit() const { return m_rowLimit; }
    // The records kept as read, in sheet order, for writers of other formats.
    const std::vector<detail::BiffRecord> &records() const { return m_records; }
    int lastRow() const; // 0-based last row in use, -1 when none
    const std::vector<RowData> &rows() const { return m_rows; }
    const RowData *row(int r) const { return r < int(m_rows.size()) ? &m_rows[r] : nullptr; }
    RowData &rowForWrite(int r);
    int defaultFormat(int row, int col) const;
    void setSelected(bool selected);

    // Moves references of every formula in the sheet; `onThisSheet` tells
    // whether the rows change on this sheet.
    void shiftFormulas(const ReferenceShifter &shifter, bool onThisSheet);
    // Structural changes of this sheet (formulas are shifted separately).
    // Throws when inserting count rows at `at` would push content off the sheet.
    void checkRoom(int at, int count) const;
    void insertEmptyRows(int at, int count);
    void removeRows(int at, int count);
    void copyRows(int first, int last, int dest, int copies, bool formulasOnly);

    const std::vector<int> &pageBreaks() const { return m_breaks; }
    void addPageBreak(int row);
    const std::vector<MergedArea> &merged() const { return m_merged; }
    SheetDrawing &drawing() { return m_drawing; }
    const SheetDrawing &drawing() const { return m_drawing; }

private:
    enum Marker : uint16_t { CellTable = 0xF001, IndexSpot, MergedSpot, BreaksSpot };

    void parseCellRecord(const detail::BiffRecord &rec, detail::StringPool &strings);
    void parseFormula(const detail::BiffRecord &rec);
    void resolveSharedFormulas();
    void placeMissingMarkers();
    Cell &putCell(int row, Cell cell);
    void writeCellTable(QByteArray &out, const std::vector<uint32_t> &map,
                        std::vector<uint32_t> &dbCells) const;
    void writeCell(QByteArray &out, int row, const Cell &cell,
                   const std::vector<uint32_t> &map) const;
    QByteArray dimensions() const;

    struct SharedFormula {
        int firstRow, lastRow, firstCol, lastCol;
        QByteArray rgce, extra;
    };

    bool m_chart = false;
    std::vector<detail::BiffRecord> m_records;
    std::vector<RowData> m_rows;
    std::vector<int> m_colFormat; // per column, from COLINFO; -1 none
    std::vector<MergedArea> m_merged;
    std::vector<int> m_breaks; // rows beginning a new page, ascending
    std::vector<SharedFormula> m_shared;
    std::vector<std::pair<int, int>> m_pendingShared; // cells holding PtgExp
    SheetDrawing m_drawing;
    int m_lastFormulaRow = -1, m_lastFormulaCol = -1;
    int m_rowLimit = kRows;
};

} // namespace kasovka
