// Writing a worksheet: the kept records in their places, the cell table in
// blocks of 32 rows each closed by a DBCELL ([MS-XLS] 2.4.78), and an INDEX
// ([MS-XLS] 2.4.144) pointing at them.

#include "export/workbook/WorkSheet.h"

#include "export/workbook/detail/Bytes.h"
#include "export/workbook/detail/Rk.h"

#include <cstring>

namespace kasovka {

using namespace detail;

namespace {

constexpr int kBlockRows = 32;
constexpr int kRowRecordSize = 4 + 16;

void header(QByteArray &out, uint16_t id, uint16_t size)
{
    append16(out, id);
    append16(out, size);
}

// The rows that share one DBCELL.
struct Block {
    int first, last; // row range in use within the block
};

std::vector<Block> blocksOf(const std::vector<RowData> &rows)
{
    std::vector<Block> blocks;
    for (int r = 0; r < int(rows.size()); ++r) {
        if (rows[r].empty())
            continue;
        if (!blocks.empty() && blocks.back().first / kBlockRows == r / kBlockRows)
            blocks.back().last = r;
        else
            blocks.push_back({r, r});
    }
    return blocks;
}

} // namespace

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

void TWorkSheet::write(QByteArray &out, const std::vector<uint32_t> &stringMap) const
{
    qsizetype indexAt = -1, defColWidthPos = 0;
    std::vector<uint32_t> dbCells;
    for (const auto &rec : m_records) {
        switch (rec.id) {
        case IndexSpot:
            indexAt = out.size();
            header(out, rid::Index, uint16_t(16 + 4 * blocksOf(m_rows).size()));
            out.append(QByteArray(16 + 4 * qsizetype(blocksOf(m_rows).size()), '\0'));
            break;
        case CellTable:
            writeCellTable(out, stringMap, dbCells);
            break;
        case MergedSpot:
            for (size_t i = 0; i < m_merged.size(); i += 1026) {
                const size_t n = std::min<size_t>(1026, m_merged.size() - i);
                QByteArray d;
                append16(d, uint16_t(n));
                for (size_t k = i; k < i + n; ++k) {
                    append16(d, uint16_t(m_merged[k].firstRow));
                    append16(d, uint16_t(m_merged[k].lastRow));
                    append16(d, uint16_t(m_merged[k].firstCol));
                    append16(d, uint16_t(m_merged[k].lastCol));
                }
                appendRecord(out, rid::MergedCells, d);
            }
            break;
        case BreaksSpot:
            if (!m_breaks.empty()) {
                QByteArray d;
                append16(d, uint16_t(m_breaks.size()));
                for (int b : m_breaks) {
                    append16(d, uint16_t(b));
                    append16(d, 0);
                    append16(d, 255);
                }
                appendRecord(out, rid::HorizontalBreaks, d);
            }
            break;
        case rid::Dimensions:
            appendRecord(out, rid::Dimensions, dimensions());
            break;
        case SheetDrawing::kDropped:
            break;
        default:
            if (rec.id == rid::DefColWidth)
                defColWidthPos = out.size();
            rec.appendTo(out);
        }
    }
    if (indexAt < 0)
        return;
    char *p = out.data() + indexAt + 4;
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
                                std::vector<uint32_t> &dbCells) const
{
    for (const Block &b : blocksOf(m_rows)) {
        const qsizetype firstRowRecord = out.size();
        for (int r = b.first; r <= b.last; ++r) {
            const RowData &rd = m_rows[r];
            if (rd.empty())
                continue;
            QByteArray rec = rd.record;
            if (rec.size() < 16) {
                rec = QByteArray(16, '\0');
                put16(rec.data() + 6, 0x00FF);
                put16(rec.data() + 12, 0x0100);
                put16(rec.data() + 14, 0x000F);
            }
            put16(rec.data(), uint16_t(r));
            if (!rd.cells.empty()) {
                put16(rec.data() + 2, rd.cells.front().col);
                put16(rec.data() + 4, uint16_t(rd.cells.back().col + 1));
            }
            header(out, rid::Row, 16);
            out.append(rec);
        }
        std::vector<qsizetype> starts;
        for (int r = b.first; r <= b.last; ++r) {
            const RowData &rd = m_rows[r];
            if (rd.empty())
                continue;
            starts.push_back(out.size());
            for (const Cell &c : rd.cells)
                writeCell(out, r, c, map);
        }
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

void TWorkSheet::writeCell(QByteArray &out, int row, const Cell &c,
                           const std::vector<uint32_t> &map) const
{
    // Fixed-size cell records are written in place: this loop runs once per
    // cell of the sheet.
    auto start = [&](uint16_t id, uint16_t size) {
        const qsizetype at = out.size();
        out.resize(at + 4 + size);
        char *p = out.data() + at;
        put16(p, id);
        put16(p + 2, size);
        put16(p + 4, uint16_t(row));
        put16(p + 6, c.col);
        put16(p + 8, c.xf);
        return p + 10;
    };
    switch (c.type()) {
    case CellType::Blank:
        start(rid::Blank, 6);
        break;
    case CellType::Number:
        if (const auto rk = doubleToRk(c.num())) {
            put32(start(rid::Rk, 10), *rk);
        } else {
            char *p = start(rid::Number, 14);
            uint64_t bits;
            const double num = c.num();
            std::memcpy(&bits, &num, sizeof bits);
            put32(p, uint32_t(bits & 0xFFFFFFFFu));
            put32(p + 4, uint32_t(bits >> 32));
        }
        break;
    case CellType::Text:
        put32(start(rid::LabelSst, 10), map[c.str()]);
        break;
    case CellType::Bool: case CellType::Error: {
        char *p = start(rid::BoolErr, 8);
        p[0] = char(c.boolErr());
        p[1] = char(c.type() == CellType::Error ? 1 : 0);
        break;
    }
    case CellType::Formula: {
        const FormulaData &f = *c.formula();
        QByteArray d;
        append16(d, uint16_t(row));
        append16(d, c.col);
        append16(d, c.xf);
        // Result cleared (an empty text) and calculation on load requested.
        d.append("\x03\x00\x00\x00\x00\x00\xFF\xFF", 8);
        append16(d, uint16_t((f.flags | 0x0002) & ~0x0008));
        append32(d, 0);
        append16(d, uint16_t(f.rgce.size()));
        d.append(f.rgce);
        d.append(f.extra);
        appendRecord(out, rid::Formula, d);
        for (const auto &a : f.attached)
            a.appendTo(out);
        break;
    }
    }
}

} // namespace kasovka
