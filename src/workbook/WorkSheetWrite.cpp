// Writing a worksheet: the kept records in their places, the cell table in
// blocks of 32 rows each closed by a DBCELL ([MS-XLS] 2.4.78), and an INDEX
// ([MS-XLS] 2.4.144) pointing at them. Lists, ROW and DIMENSIONS records
// are written back as read until something changed them.

#include "workbook/WorkSheet.h"

#include "workbook/detail/Bytes.h"
#include "workbook/detail/Rk.h"

#include <cstring>

namespace kasovka {

using namespace detail;

namespace {

constexpr int kBlockRows = 32;
constexpr int kRowRecordSize = 4 + RowRecord::kSize;

void header(QByteArray &out, uint16_t id, uint16_t size)
{
    append16(out, id);
    append16(out, size);
}

} // namespace

std::vector<TWorkSheet::RowBlock> TWorkSheet::rowBlocks() const
{
    std::vector<RowBlock> blocks;
    for (int r = 0; r < int(m_rows.size()); ++r) {
        if (m_rows[r].empty())
            continue;
        if (!blocks.empty() && blocks.back().first / kBlockRows == r / kBlockRows)
            blocks.back().last = r;
        else
            blocks.push_back({r, r});
    }
    return blocks;
}

QByteArray TWorkSheet::dimensions() const
{
    int firstRow = -1, lastRow = -1, firstCol = 256, lastCol = -1;
    for (int r = 0; r < int(m_rows.size()); ++r) {
        const auto &cells = m_rows[r].cells;
        if (cells.empty())
            continue;
        if (firstRow < 0)
            firstRow = r;
        lastRow = r;
        firstCol = std::min<int>(firstCol, cells.front().col);
        lastCol = std::max<int>(lastCol, cells.back().col);
    }
    QByteArray d;
    append32(d, firstRow < 0 ? 0 : uint32_t(firstRow));
    append32(d, firstRow < 0 ? 0 : uint32_t(lastRow + 1));
    append16(d, firstRow < 0 ? 0 : uint16_t(firstCol));
    append16(d, firstRow < 0 ? 0 : uint16_t(lastCol + 1));
    append16(d, 0);
    return d;
}

namespace {

// A list written back as read until it changed; then all of it goes where
// its first record stood.
template <typename Entry, typename Append>
void writeList(QByteArray &out, const BiffRecord &rec, const RecordList<Entry> &list,
               bool &written, Append append)
{
    if (!list.changed)
        rec.appendTo(out);
    else if (!written)
        append(out, list.entries);
    written = true;
}

} // namespace

void TWorkSheet::write(QByteArray &out, const std::vector<uint32_t> &stringMap) const
{
    qsizetype indexAt = -1, defColWidthPos = 0;
    const std::vector<RowBlock> blocks = rowBlocks();
    std::vector<uint32_t> dbCells;
    bool merged = false, rowBreaks = false, columnBreaks = false;
    auto appendBreaks = [](uint16_t id) {
        return [id](QByteArray &o, const std::vector<PageBreak> &b) { appendPageBreaks(o, id, b); };
    };
    for (const auto &rec : m_records) {
        switch (rec.id) {
        case IndexSpot:
            indexAt = out.size();
            header(out, rid::Index, uint16_t(16 + 4 * blocks.size()));
            out.append(QByteArray(16 + 4 * qsizetype(blocks.size()), '\0'));
            break;
        case CellTable:
            writeCellTable(out, stringMap, blocks, dbCells);
            break;
        case rid::MergedCells:
            writeList(out, rec, m_merged, merged, appendMergedCells);
            break;
        case rid::HorizontalBreaks:
            writeList(out, rec, m_rowBreaks, rowBreaks, appendBreaks(rid::HorizontalBreaks));
            break;
        case rid::VerticalBreaks:
            writeList(out, rec, m_columnBreaks, columnBreaks, appendBreaks(rid::VerticalBreaks));
            break;
        case BreaksSpot:
            if (m_rowBreaks.changed)
                appendPageBreaks(out, rid::HorizontalBreaks, m_rowBreaks.entries);
            break;
        case rid::Dimensions:
            if (m_cellsChanged)
                appendRecord(out, rid::Dimensions, dimensions());
            else
                rec.appendTo(out);
            break;
        case SheetDrawing::kDropped:
            break;
        default:
            if (rec.id == rid::DefColWidth)
                defColWidthPos = out.size();
            rec.appendTo(out);
        }
    }
    if (indexAt >= 0)
        fillIndex(out.data() + indexAt + 4, defColWidthPos, dbCells);
}

// INDEX ([MS-XLS] 2.4.144): reserved, rwMic, rwMac, ibXF (the DEFCOLWIDTH
// record's position), then each DBCELL's position.
void TWorkSheet::fillIndex(char *p, qsizetype defColWidthPos,
                           const std::vector<uint32_t> &dbCells) const
{
    int firstRow = 0, lastRow = -1;
    for (int r = 0; r < int(m_rows.size()); ++r)
        if (!m_rows[r].empty()) {
            if (lastRow < 0)
                firstRow = r;
            lastRow = r;
        }
    put32(p + 4, uint32_t(lastRow < 0 ? 0 : firstRow));
    put32(p + 8, uint32_t(lastRow + 1));
    put32(p + 12, uint32_t(defColWidthPos));
    for (size_t i = 0; i < dbCells.size(); ++i)
        put32(p + 16 + 4 * i, dbCells[i]);
}

void TWorkSheet::writeCellTable(QByteArray &out, const std::vector<uint32_t> &map,
                                const std::vector<RowBlock> &blocks,
                                std::vector<uint32_t> &dbCells) const
{
    for (const RowBlock &b : blocks) {
        const qsizetype firstRowRecord = out.size();
        for (int r = b.first; r <= b.last; ++r) {
            const RowData &rd = m_rows[r];
            if (rd.empty())
                continue;
            RowRecord rec = rd.record;
            rec.row = uint16_t(r);
            if (m_cellsChanged && !rd.cells.empty()) {
                rec.firstColumn = rd.cells.front().col;
                rec.lastColumnPlus1 = uint16_t(rd.cells.back().col + 1);
            }
            header(out, rid::Row, RowRecord::kSize);
            const qsizetype at = out.size();
            out.resize(at + RowRecord::kSize);
            rec.writeTo(out.data() + at);
        }
        std::vector<qsizetype> starts;
        for (int r = b.first; r <= b.last; ++r) {
            if (m_rows[r].empty())
                continue;
            starts.push_back(out.size());
            writeRow(out, r, map);
        }
        // DBCELL ([MS-XLS] 2.4.78): back to the first ROW, then each row's
        // first cell relative to the previous one.
        const qsizetype dbCell = out.size();
        dbCells.push_back(uint32_t(dbCell));
        QByteArray d;
        append32(d, uint32_t(dbCell - firstRowRecord));
        qsizetype previous = firstRowRecord + kRowRecordSize;
        for (qsizetype s : starts) {
            append16(d, uint16_t(s - previous));
            previous = s;
        }
        appendRecord(out, rid::DbCell, d);
    }
}

namespace {

// Writes the cell records of one row in place: this runs once per cell of
// the sheet. Each record: id, size, then rw, col, ixfe and the value
// ([MS-XLS] Blank, Number, RK, LabelSst, BoolErr); a run of blank cells
// becomes one MulBlank (rw, colFirst, ixfe per cell, colLast), a run of RK
// numbers one MulRk (rw, colFirst, ixfe and RK per cell, colLast).
class RowWriter {
public:
    RowWriter(QByteArray &out, int row) : m_out(out), m_row(uint16_t(row)) {}

    char *cell(uint16_t id, uint16_t size, const Cell &c)
    {
        char *p = record(id, size);
        put16(p, m_row);
        put16(p + 2, c.col);
        put16(p + 4, c.xf);
        return p + 6;
    }
    void blanks(const Cell *first, int count)
    {
        char *p = record(rid::MulBlank, uint16_t(6 + 2 * count));
        put16(p, m_row);
        put16(p + 2, first->col);
        for (int i = 0; i < count; ++i)
            put16(p + 4 + 2 * i, first[i].xf);
        put16(p + 4 + 2 * count, uint16_t(first->col + count - 1));
    }
    void numbers(const Cell *first, const uint32_t *rks, int count)
    {
        char *p = record(rid::MulRk, uint16_t(6 + 6 * count));
        put16(p, m_row);
        put16(p + 2, first->col);
        for (int i = 0; i < count; ++i) {
            put16(p + 4 + 6 * i, first[i].xf);
            put32(p + 6 + 6 * i, rks[i]);
        }
        put16(p + 4 + 6 * count, uint16_t(first->col + count - 1));
    }

private:
    char *record(uint16_t id, uint16_t size)
    {
        const qsizetype at = m_out.size();
        m_out.resize(at + 4 + size);
        char *p = m_out.data() + at;
        put16(p, id);
        put16(p + 2, size);
        return p + 4;
    }

    QByteArray &m_out;
    uint16_t m_row;
};

// Cells from `i` on that continue the row column by column and match.
template <typename Match>
int runLength(const std::vector<Cell> &cells, size_t i, Match match)
{
    size_t j = i + 1;
    while (j < cells.size() && cells[j].col == cells[j - 1].col + 1 && match(cells[j]))
        ++j;
    return int(j - i);
}

} // namespace

void TWorkSheet::writeRow(QByteArray &out, int row, const std::vector<uint32_t> &map) const
{
    const std::vector<Cell> &cells = m_rows[row].cells;
    RowWriter writer(out, row);
    uint32_t rks[256];
    for (size_t i = 0; i < cells.size();) {
        const Cell &c = cells[i];
        switch (c.type()) {
        case CellType::Blank: {
            const int n = runLength(cells, i, [](const Cell &x) { return x.type() == CellType::Blank; });
            if (n > 1)
                writer.blanks(&c, n);
            else
                writer.cell(rid::Blank, 6, c);
            i += n;
            continue;
        }
        case CellType::Number:
            if (const auto rk = doubleToRk(c.num())) {
                int n = 0;
                rks[n++] = *rk;
                runLength(cells, i, [&](const Cell &x) {
                    const auto next = x.type() == CellType::Number ? doubleToRk(x.num()) : std::nullopt;
                    if (next)
                        rks[n++] = *next;
                    return next.has_value();
                });
                if (n > 1)
                    writer.numbers(&c, rks, n);
                else
                    put32(writer.cell(rid::Rk, 10, c), *rk);
                i += n;
                continue;
            } else {
                char *p = writer.cell(rid::Number, 14, c);
                const double num = c.num();
                uint64_t bits;
                std::memcpy(&bits, &num, sizeof bits);
                put32(p, uint32_t(bits & 0xFFFFFFFFu));
                put32(p + 4, uint32_t(bits >> 32));
            }
            break;
        case CellType::Text:
            put32(writer.cell(rid::LabelSst, 10, c), map[c.str()]);
            break;
        case CellType::Bool: case CellType::Error: {
            char *p = writer.cell(rid::BoolErr, 8, c);
            p[0] = char(c.boolErr());
            p[1] = char(c.type() == CellType::Error ? 1 : 0);
            break;
        }
        case CellType::Formula:
            writeFormula(out, row, c);
            break;
        }
        ++i;
    }
}

// FORMULA ([MS-XLS] 2.4.127): the cell, its cached result (a number, or
// without one an empty text), flags asking for calculation on load, then
// its tokens.
void TWorkSheet::writeFormula(QByteArray &out, int row, const Cell &c) const
{
    const FormulaData &f = *c.formula();
    constexpr uint16_t kAlwaysCalc = 0x0002, kShared = 0x0008;
    QByteArray d;
    append16(d, uint16_t(row));
    append16(d, c.col);
    append16(d, c.xf);
    if (f.result)
        appendDouble(d, *f.result);
    else
        d.append("\x03\x00\x00\x00\x00\x00\xFF\xFF", 8);
    append16(d, uint16_t((f.flags | kAlwaysCalc) & ~kShared));
    append32(d, 0);
    append16(d, uint16_t(f.rgce.size()));
    d.append(f.rgce);
    d.append(f.extra);
    appendRecord(out, rid::Formula, d);
    for (const auto &a : f.attached)
        a.appendTo(out);
}

} // namespace kasovka
