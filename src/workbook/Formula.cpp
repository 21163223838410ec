#include "workbook/Formula.h"

#include "workbook/detail/Bytes.h"

namespace kasovka {

using namespace detail;

namespace {

constexpr int kLastRow = 65535;
constexpr uint16_t kRelative = 0xC000; // fRwRel and fColRel in a column field

bool is3d(const FormulaToken &t)
{
    return t.kind == TokenKind::Ref3d || t.kind == TokenKind::Area3d;
}

// RefErr and AreaErr lie 6 ids above Ref and Area, their 3-D forms 2 above
// Ref3d and Area3d; the operand class stays.
uint8_t errorId(const FormulaToken &t)
{
    return uint8_t(t.id + (is3d(t) ? 2 : 6));
}

// One corner of a cell-relative reference made absolute.
void resolveRelative(TokenCell &c, int row, int col)
{
    if (c.rowRelative)
        c.row = (row + int16_t(c.row)) & 0xFFFF;
    if (c.columnRelative)
        c.column = (col + int8_t(c.column & 0xFF)) & 0xFF;
}

void checkEnd(const FormulaTokenizer &tokens)
{
    if (tokens.stop() != FormulaTokenizer::Stop::End)
        throw UnsupportedToken{tokens.stopId()};
}

} // namespace

QByteArray expandSharedFormula(const QByteArray &rgce, int row, int col)
{
    QByteArray out = rgce;
    char *data = out.data();
    FormulaTokenizer tokens(out);
    for (FormulaToken t; tokens.next(t);) {
        if (t.kind != TokenKind::RefN && t.kind != TokenKind::AreaN)
            continue;
        resolveRelative(t.first, row, col);
        resolveRelative(t.last, row, col);
        t.kind = t.kind == TokenKind::RefN ? TokenKind::Ref : TokenKind::Area;
        t.id = uint8_t(t.id - 8); // RefN -> Ref, AreaN -> Area
        writeReference(data, t);
    }
    checkEnd(tokens);
    return out;
}

RowShift RowShift::insertRows(int sheet, int at, int count)
{
    return {Kind::Insert, sheet, at, count, 0};
}

RowShift RowShift::deleteRows(int sheet, int at, int count)
{
    return {Kind::Delete, sheet, at, count, 0};
}

RowShift RowShift::copyBy(int delta)
{
    return {Kind::Copy, 0, 0, 0, delta};
}

ReferenceShifter::ReferenceShifter(RowShift shift, SpanTest span)
    : m_shift(shift), m_span(std::move(span))
{
}

ReferenceShifter::Move ReferenceShifter::moveOf(const FormulaToken &t, bool onChangedSheet) const
{
    if (m_shift.kind == RowShift::Kind::Copy)
        return Move::Whole;
    if (!is3d(t))
        return onChangedSheet ? Move::Whole : Move::None;
    switch (m_span ? m_span(t.ixti, m_shift.sheet) : SheetSpan::Outside) {
    case SheetSpan::Only: return Move::Whole;
    case SheetSpan::Mixed: return Move::SizeOnly;
    case SheetSpan::Outside: break;
    }
    return Move::None;
}

bool ReferenceShifter::apply(QByteArray &rgce, bool onChangedSheet) const
{
    char *data = rgce.data();
    FormulaTokenizer tokens(rgce);
    bool changed = false;
    for (FormulaToken t; tokens.next(t);) {
        bool moved = false;
        switch (t.kind) {
        case TokenKind::Ref: case TokenKind::Ref3d:
            if (const Move move = moveOf(t, onChangedSheet); move != Move::None)
                moved = shiftRef(t, move);
            break;
        case TokenKind::Area: case TokenKind::Area3d:
            if (const Move move = moveOf(t, onChangedSheet); move != Move::None)
                moved = shiftArea(t, move);
            break;
        case TokenKind::Exp: case TokenKind::Tbl:
            // The anchor of an array or table formula moves with its cells.
            moved = shiftAnchor(t, onChangedSheet);
            break;
        default:
            break;
        }
        if (moved)
            writeReference(data, t);
        changed |= moved;
    }
    checkEnd(tokens);
    return changed;
}

bool ReferenceShifter::moveRange(int &first, int &last, bool onChangedSheet) const
{
    // PtgArea ([MS-XLS] 2.5.198.27): rwFirst, rwLast, colFirst, colLast, the
    // column fields carrying the relative-row flags.
    QByteArray area(9, '\0');
    area[0] = char(TokenKind::Area);
    put16(area.data() + 1, uint16_t(first));
    put16(area.data() + 3, uint16_t(last));
    put16(area.data() + 5, kRelative);
    put16(area.data() + 7, kRelative);
    if (!apply(area, onChangedSheet) || uint8_t(area[0]) != uint8_t(TokenKind::Area))
        return false;
    first = u16At(area.constData() + 1);
    last = u16At(area.constData() + 3);
    return true;
}

bool ReferenceShifter::shiftAnchor(FormulaToken &t, bool onChangedSheet) const
{
    const int row = t.first.row;
    int moved = row;
    if (m_shift.kind == RowShift::Kind::Copy)
        moved = row + m_shift.delta;
    else if (!onChangedSheet)
        return false;
    else if (m_shift.kind == RowShift::Kind::Insert && row >= m_shift.at)
        moved = row + m_shift.count;
    else if (m_shift.kind == RowShift::Kind::Delete && row >= m_shift.at + m_shift.count)
        moved = row - m_shift.count;
    if (moved == row || moved < 0 || moved > kLastRow)
        return false;
    t.first.row = moved;
    return true;
}

bool ReferenceShifter::shiftRef(FormulaToken &t, Move move) const
{
    const int row = t.first.row;
    int moved = row;
    const int at = m_shift.at, n = m_shift.count;
    const bool whole = move == Move::Whole;
    switch (m_shift.kind) {
    case RowShift::Kind::Insert:
        if (whole && row >= at)
            moved = std::min(row + n, kLastRow);
        break;
    case RowShift::Kind::Delete:
        if (row >= at && row < at + n) {
            t.id = errorId(t);
            return true;
        }
        if (whole && row >= at + n)
            moved = row - n;
        break;
    case RowShift::Kind::Copy:
        if (t.first.rowRelative) {
            moved = row + m_shift.delta;
            if (moved < 0 || moved > kLastRow) {
                t.id = errorId(t);
                return true;
            }
        }
        break;
    }
    if (moved == row)
        return false;
    t.first.row = t.last.row = moved;
    return true;
}

bool ReferenceShifter::shiftArea(FormulaToken &t, Move move) const
{
    int first = t.first.row, last = t.last.row;
    const int at = m_shift.at, n = m_shift.count;
    const bool whole = move == Move::Whole;
    switch (m_shift.kind) {
    case RowShift::Kind::Insert:
        if (first == 0 && last == kLastRow)
            return false; // whole columns stay whole columns
        if (whole && first >= at)
            first = std::min(first + n, kLastRow);
        if (last >= at && (whole || first < at))
            last = std::min(last + n, kLastRow);
        break;
    case RowShift::Kind::Delete:
        if (first == 0 && last == kLastRow)
            return false;
        if (!whole && (last < at || first >= at + n))
            return false; // rows deleted above or below it on one of its sheets
        if (first >= at && last < at + n) {
            t.id = errorId(t);
            return true;
        }
        // An area that loses some of its rows shrinks.
        if (first >= at + n)
            first -= n;
        else if (first >= at)
            first = at;
        if (last >= at + n)
            last -= n;
        else if (last >= at)
            last = at - 1;
        break;
    case RowShift::Kind::Copy:
        if (t.first.rowRelative)
            first += m_shift.delta;
        if (t.last.rowRelative)
            last += m_shift.delta;
        if (first < 0 || first > kLastRow || last < 0 || last > kLastRow) {
            t.id = errorId(t);
            return true;
        }
        break;
    }
    if (first == t.first.row && last == t.last.row)
        return false;
    t.first.row = first;
    t.last.row = last;
    return true;
}

} // namespace kasovka
