// Row operations of a worksheet: making room, removing and copying row
// blocks, and moving the references of the sheet's formulas.

#include "export/workbook/WorkSheet.h"

#include "export/workbook/Errors.h"
#include "export/workbook/detail/Bytes.h"

#include <algorithm>

namespace kasovka {

using namespace detail;

namespace {

// An ARRAY record's range ([MS-XLS] 2.4.4: RefU, then its formula at 14)
// is moved by running it through the shifter as an area token with
// relative rows, so that it follows the same rules as the references.
void shiftArray(BiffRecord &rec, const ReferenceShifter &shifter, bool onThisSheet)
{
    QByteArray data = rec.joined();
    if (data.size() < 14)
        return;
    QByteArray area(9, '\0');
    area[0] = 0x25;
    put16(area.data() + 1, u16At(data.constData()));
    put16(area.data() + 3, u16At(data.constData() + 2));
    put16(area.data() + 5, uint16_t(0xC000 | uint8_t(data[4])));
    put16(area.data() + 7, uint16_t(0xC000 | uint8_t(data[5])));
    if (shifter.apply(area, onThisSheet) && area[0] == 0x25) {
        put16(data.data(), u16At(area.constData() + 1));
        put16(data.data() + 2, u16At(area.constData() + 3));
    }
    const int cce = u16At(data.constData() + 12);
    if (14 + cce <= data.size()) {
        QByteArray rgce = data.mid(14, cce);
        shifter.apply(rgce, onThisSheet);
        data.replace(14, cce, rgce);
    }
    rec.setJoined(data);
}

void shiftFormula(FormulaData &f, const ReferenceShifter &shifter, bool onThisSheet, int row,
                  int col)
{
    try {
        shifter.apply(f.rgce, onThisSheet);
        for (auto &rec : f.attached)
            if (rec.id == rid::Array)
                shiftArray(rec, shifter, onThisSheet);
    } catch (const UnsupportedToken &t) {
        throw Error(xlstext::unsupportedToken(row + 1, col + 1, t.id));
    }
}

} // namespace

void TWorkSheet::shiftFormulas(const ReferenceShifter &shifter, bool onThisSheet)
{
    for (int r = 0; r < int(m_rows.size()); ++r)
        for (auto &c : m_rows[r].cells)
            if (c.formula())
                shiftFormula(*c.formula(), shifter, onThisSheet, r, c.col);
}

void TWorkSheet::checkRoom(int at, int count) const
{
    // Nothing may be pushed past the last row.
    const int lastRow = m_rowLimit - 1;
    for (int r = std::max(at, m_rowLimit - count); r < int(m_rows.size()); ++r)
        if (!m_rows[r].empty())
            throw Error(xlstext::invalidRow(r + count + 1));
    for (int b : m_breaks)
        if (b >= at && b + count > lastRow)
            throw Error(xlstext::tooManyEntries(b + count, lastRow));
}

void TWorkSheet::insertEmptyRows(int at, int count)
{
    if (count <= 0)
        return;
    checkRoom(at, count);
    if (at < int(m_rows.size())) {
        m_rows.insert(m_rows.begin() + at, size_t(count), RowData{});
        if (int(m_rows.size()) > m_rowLimit)
            m_rows.resize(m_rowLimit);
    }
    for (auto &b : m_breaks)
        if (b >= at)
            b += count;
    for (auto &m : m_merged) {
        if (m.firstRow >= at)
            m.firstRow = std::min(m.firstRow + count, m_rowLimit - 1);
        if (m.lastRow >= at)
            m.lastRow = std::min(m.lastRow + count, m_rowLimit - 1);
    }
    m_drawing.shiftRows(at, count);
}

void TWorkSheet::removeRows(int at, int count)
{
    if (count <= 0)
        return;
    const int end = at + count; // first row that stays
    if (at < int(m_rows.size()))
        m_rows.erase(m_rows.begin() + at, m_rows.begin() + std::min<int>(end, int(m_rows.size())));
    m_drawing.removeInRows(at, end - 1);
    std::erase_if(m_breaks, [&](int b) { return b >= at && b < end; });
    for (auto &b : m_breaks)
        if (b >= end)
            b -= count;
    std::erase_if(m_merged, [&](const MergedArea &m) { return m.firstRow >= at && m.lastRow < end; });
    for (auto &m : m_merged) {
        m.firstRow = m.firstRow >= end ? m.firstRow - count : std::min(m.firstRow, at);
        m.lastRow = m.lastRow >= end ? m.lastRow - count : std::min(m.lastRow, at - 1);
    }
    std::erase_if(m_merged, [](const MergedArea &m) {
        return m.lastRow < m.firstRow
            || (m.lastRow == m.firstRow && m.lastCol == m.firstCol);
    });
    m_drawing.shiftRows(at, -count);
}

void TWorkSheet::copyRows(int first, int last, int dest, int copies, bool formulasOnly)
{
    const int height = last - first + 1;
    if (m_drawing.hasOleObjectIn(first, last))
        throw Error(xlstext::cantCopyOle());
    if (copies <= 0)
        return;
    rowForWrite(std::min(m_rowLimit - 1, dest + copies * height - 1));
    std::vector<MergedArea> blockMerges;
    for (const auto &m : m_merged)
        if (m.firstRow >= first && m.lastRow <= last)
            blockMerges.push_back(m);
    for (int i = first; i <= last; ++i) {
        const RowData *src = row(i);
        if (!src || src->empty())
            continue;
        for (int k = 0; k < copies; ++k) {
            const int target = dest + k * height + (i - first);
            RowData &out = m_rows[target];
            out.record = src->record;
            out.cells.clear();
            out.cells.reserve(src->cells.size());
            const ReferenceShifter shifter(RowShift::copyBy(target - i), nullptr);
            for (const Cell &c : src->cells) {
                if (formulasOnly && !c.formula())
                    continue;
                out.cells.push_back(c);
                if (c.formula())
                    shiftFormula(*out.cells.back().formula(), shifter, true, i, c.col);
            }
        }
    }
    m_drawing.copyRows(first, last, copies, height, dest);
    for (int k = 0; k < copies; ++k) {
        const int offset = dest + k * height - first;
        for (const auto &m : blockMerges)
            m_merged.push_back({m.firstRow + offset, m.lastRow + offset, m.firstCol, m.lastCol});
    }
}

} // namespace kasovka
