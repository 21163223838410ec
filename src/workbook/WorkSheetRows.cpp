// Row operations of a worksheet: making room, removing and copying row
// blocks, and moving the references of the sheet's formulas.

#include "workbook/WorkSheet.h"

#include "workbook/Errors.h"

#include <algorithm>

namespace kasovka {

using namespace detail;

namespace {

// An ARRAY record's range moves with its cells; its own formula moves like
// any other.
void shiftArray(BiffRecord &rec, const ReferenceShifter &shifter, bool onThisSheet)
{
    const ArrayEdit array(rec);
    int first = array.firstRow(), last = array.lastRow();
    if (shifter.moveRange(first, last, onThisSheet))
        array.setRows(first, last);
    QByteArray data = rec.joined();
    const int at = ArrayEdit::tokensAt(), size = array.tokenSize();
    if (at + size > data.size())
        throwDamaged(rec, at, QStringLiteral("expected %1 bytes of formula, found %2")
                                  .arg(size)
                                  .arg(data.size() - at));
    QByteArray tokens = data.mid(at, size);
    if (shifter.apply(tokens, onThisSheet)) {
        data.replace(at, size, tokens);
        rec.setJoined(data);
    }
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
    for (const PageBreak &b : m_rowBreaks.entries)
        if (b.at >= at && b.at + count > lastRow)
            throw Error(xlstext::tooManyEntries(b.at + count, lastRow));
}

namespace {

// A span of rows first..last after inserting (delta > 0) or deleting
// (delta < 0) rows at `at`, kept at or below lastRow: the part that stays,
// or false when none does.
bool shiftSpan(int &first, int &last, int at, int delta, int lastRow)
{
    if (delta > 0) {
        if (first >= at)
            first = std::min(first + delta, lastRow);
        if (last >= at)
            last = std::min(last + delta, lastRow);
        return true;
    }
    const int end = at - delta; // first row that stays
    if (first >= at && last < end)
        return false;
    first = first >= end ? first + delta : std::min(first, at);
    last = last >= end ? last + delta : std::min(last, at - 1);
    return first <= last;
}

} // namespace

// Row breaks move with their rows and go with deleted ones; column breaks
// spanning rows grow and shrink with them, as merged areas do.
void TWorkSheet::shiftBreaks(int at, int delta)
{
    auto &rows = m_rowBreaks;
    const auto before = rows.entries;
    std::erase_if(rows.entries, [&](const PageBreak &b) { return delta < 0 && b.at >= at && b.at < at - delta; });
    for (auto &b : rows.entries)
        if (b.at >= at - std::min(delta, 0))
            b.at += delta;
    rows.changed |= rows.entries != before;

    auto &columns = m_columnBreaks;
    const auto beforeColumns = columns.entries;
    std::erase_if(columns.entries,
                  [&](PageBreak &b) { return !shiftSpan(b.first, b.last, at, delta, m_rowLimit - 1); });
    columns.changed |= columns.entries != beforeColumns;
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
        m_cellsChanged = true;
    }
    shiftBreaks(at, count);
    for (auto &m : m_merged.entries)
        if (m.lastRow >= at) {
            shiftSpan(m.firstRow, m.lastRow, at, count, m_rowLimit - 1);
            m_merged.changed = true;
        }
    m_drawing.shiftRows(at, count);
}

void TWorkSheet::removeRows(int at, int count, ShapeIdClusters *ids)
{
    if (count <= 0)
        return;
    const int end = at + count; // first row that stays
    if (at < int(m_rows.size())) {
        m_rows.erase(m_rows.begin() + at, m_rows.begin() + std::min<int>(end, int(m_rows.size())));
        m_cellsChanged = true;
    }
    m_drawing.removeInRows(at, end - 1, ids);
    shiftBreaks(at, -count);
    const auto before = m_merged.entries;
    // An area that loses all its rows, or all but one cell, is no longer merged.
    std::erase_if(m_merged.entries, [&](CellArea &m) {
        return !shiftSpan(m.firstRow, m.lastRow, at, -count, m_rowLimit - 1)
            || (m.lastRow == m.firstRow && m.lastColumn == m.firstColumn);
    });
    m_merged.changed |= m_merged.entries != before;
    m_drawing.shiftRows(at, -count);
}

void TWorkSheet::copyRows(int first, int last, int dest, int copies, bool formulasOnly,
                          ShapeIdClusters *ids)
{
    const int height = last - first + 1;
    if (m_drawing.hasOleObjectIn(first, last))
        throw Error(xlstext::cantCopyOle());
    if (copies <= 0)
        return;
    rowForWrite(std::min(m_rowLimit - 1, dest + copies * height - 1));
    for (int i = first; i <= last; ++i) {
        const RowData *src = row(i);
        if (!src || src->empty())
            continue;
        for (int k = 0; k < copies; ++k) {
            const int target = dest + k * height + (i - first);
            RowData &out = m_rows[target];
            out.record = src->record;
            out.hasRecord = src->hasRecord;
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
    m_drawing.copyRows(first, last, copies, height, dest, ids);
    std::vector<CellArea> blockMerges;
    for (const auto &m : m_merged.entries)
        if (m.firstRow >= first && m.lastRow <= last)
            blockMerges.push_back(m);
    for (int k = 0; k < copies; ++k) {
        const int offset = dest + k * height - first;
        for (CellArea m : blockMerges) {
            m.firstRow += offset;
            m.lastRow += offset;
            m_merged.entries.push_back(m);
        }
    }
    m_merged.changed |= !blockMerges.empty();
}

} // namespace kasovka
