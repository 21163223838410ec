#include "workbook/Formula.h"

#include "workbook/detail/Bytes.h"

namespace kasovka {

using namespace detail;

namespace {

constexpr int kLastRow = 65535;
constexpr uint16_t kRowRelative = 0x8000; // fRwRel in the column field

// Base ids of the operand tokens, class bits (0x20/0x40/0x60) removed.
enum : uint8_t {
    PtgArray = 0x20, PtgFunc, PtgFuncVar, PtgName, PtgRef, PtgArea, PtgMemArea,
    PtgMemErr, PtgMemNoMem, PtgMemFunc, PtgRefErr, PtgAreaErr, PtgRefN, PtgAreaN,
    PtgNameX = 0x39, PtgRef3d, PtgArea3d, PtgRefErr3d, PtgAreaErr3d,
};

uint8_t baseId(uint8_t id)
{
    return id >= 0x20 ? uint8_t((id & 0x1F) | 0x20) : id;
}

int operandSize(uint8_t base)
{
    switch (base) {
    case PtgArray: return 8;
    case PtgFunc: return 3;
    case PtgFuncVar: return 4;
    case PtgName: return 5;
    case PtgRef: case PtgRefErr: case PtgRefN: return 5;
    case PtgArea: case PtgAreaErr: case PtgAreaN: return 9;
    case PtgMemArea: case PtgMemErr: case PtgMemNoMem: return 7;
    case PtgMemFunc: return 3;
    case PtgNameX: return 7;
    case PtgRef3d: case PtgRefErr3d: return 7;
    case PtgArea3d: case PtgAreaErr3d: return 11;
    default: return 0;
    }
}

// Sizes of the tokens of the 0x18 family ([MS-XLS] 2.5.198.x, PtgElf* and
// PtgSxName), by their second byte.
int extendedSize(uint8_t eptg)
{
    switch (eptg) {
    case 0x01: case 0x02: case 0x03: case 0x04: case 0x05: case 0x06: case 0x07:
    case 0x08: case 0x09: case 0x0A: case 0x0B: case 0x0C: case 0x0D: case 0x0E:
    case 0x0F: return 0; // natural-language references: not walked
    case 0x1D: return 6; // PtgSxName: id, eptg, 4-byte index
    default: return 0;
    }
}

int attrSize(const char *rgce, int pos, int len)
{
    if (pos + 4 > len)
        return 0;
    const uint8_t kind = uint8_t(rgce[pos + 1]);
    if (kind & 0x04) // AttrChoose: a jump table of wCount + 1 offsets
        return 4 + 2 * (u16At(rgce + pos + 2) + 1);
    return 4;
}

} // namespace

int ptgSize(const char *rgce, int pos, int len)
{
    const uint8_t id = uint8_t(rgce[pos]);
    int size = 0;
    if (id >= 0x20 && id < 0x80) {
        size = operandSize(baseId(id));
    } else if (id == 0x01 || id == 0x02) {
        size = 5;
    } else if (id >= 0x03 && id <= 0x16) {
        size = 1;
    } else if (id == 0x17 && pos + 3 <= len) {
        const int cch = uint8_t(rgce[pos + 1]);
        size = 3 + cch * ((rgce[pos + 2] & 0x01) ? 2 : 1);
    } else if (id == 0x18 && pos + 2 <= len) {
        size = extendedSize(uint8_t(rgce[pos + 1]));
    } else if (id == 0x19) {
        size = attrSize(rgce, pos, len);
    } else if (id == 0x1C || id == 0x1D) {
        size = 2;
    } else if (id == 0x1E) {
        size = 3;
    } else if (id == 0x1F) {
        size = 9;
    }
    if (size == 0 || pos + size > len)
        throw UnsupportedToken{id};
    return size;
}

namespace {

// One coordinate pair of a cell-relative reference made absolute.
void resolveRelative(char *rowField, char *colField, int row, int col)
{
    const uint16_t colBits = u16At(colField);
    int r = u16At(rowField);
    int c = colBits & 0x3FFF;
    if (colBits & kRowRelative)
        r = (row + int16_t(r)) & 0xFFFF;
    if (colBits & 0x4000)
        c = (col + int8_t(colBits & 0xFF)) & 0xFF;
    put16(rowField, uint16_t(r));
    put16(colField, uint16_t((colBits & 0xC000) | c));
}

} // namespace

QByteArray expandSharedFormula(const QByteArray &rgce, int row, int col)
{
    QByteArray out = rgce;
    char *data = out.data();
    const int len = int(out.size());
    for (int pos = 0; pos < len;) {
        const int size = ptgSize(data, pos, len);
        const uint8_t id = uint8_t(data[pos]);
        const uint8_t base = baseId(id);
        char *body = data + pos + 1;
        if (base == PtgRefN) {
            resolveRelative(body, body + 2, row, col);
            data[pos] = char(id - 8); // RefN -> Ref
        } else if (base == PtgAreaN) {
            resolveRelative(body, body + 4, row, col);
            resolveRelative(body + 2, body + 6, row, col);
            data[pos] = char(id - 8); // AreaN -> Area
        }
        pos += size;
    }
    return out;
}

// PtgRef (rw, col), PtgArea (rwFirst, rwLast, colFirst, colLast), and
// their 3-D forms led by ixti ([MS-XLS] 2.5.198.84, .27, .85, .28); the
// column fields carry the relative flags above the column.
std::optional<TokenArea> singleArea(const QByteArray &rgce)
{
    if (rgce.isEmpty())
        return std::nullopt;
    const uint8_t base = baseId(uint8_t(rgce[0]));
    const bool is3d = base == PtgRef3d || base == PtgArea3d;
    const bool area = base == PtgArea || base == PtgArea3d;
    if (!(base == PtgRef || base == PtgArea || is3d) || rgce.size() != operandSize(base))
        return std::nullopt;
    const char *p = rgce.constData() + 1;
    TokenArea out;
    if (is3d) {
        out.ixti = u16At(p);
        p += 2;
    }
    out.firstRow = u16At(p);
    out.lastRow = u16At(p + (area ? 2 : 0));
    out.firstColumn = u16At(p + (area ? 4 : 2)) & 0x00FF;
    out.lastColumn = u16At(p + (area ? 6 : 2)) & 0x00FF;
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

// p: the token body; a 3-D token begins with its EXTERNSHEET index.
ReferenceShifter::Move ReferenceShifter::moveOf(bool is3d, const char *p, bool onChangedSheet) const
{
    if (m_shift.kind == RowShift::Kind::Copy)
        return Move::Whole;
    if (!is3d)
        return onChangedSheet ? Move::Whole : Move::None;
    switch (m_span ? m_span(u16At(p), m_shift.sheet) : SheetSpan::Outside) {
    case SheetSpan::Only: return Move::Whole;
    case SheetSpan::Mixed: return Move::SizeOnly;
    case SheetSpan::Outside: break;
    }
    return Move::None;
}

bool ReferenceShifter::apply(QByteArray &rgce, bool onChangedSheet) const
{
    char *data = rgce.data();
    const int len = int(rgce.size());
    bool changed = false;
    for (int pos = 0; pos < len;) {
        const int size = ptgSize(data, pos, len);
        uint8_t id = uint8_t(data[pos]);
        const uint8_t base = baseId(id);
        char *body = data + pos + 1;
        if (base == PtgRef || base == PtgRef3d) {
            const bool is3d = base == PtgRef3d;
            if (const Move move = moveOf(is3d, body, onChangedSheet); move != Move::None)
                changed |= shiftRef(is3d ? body + 2 : body, id, is3d, move);
        } else if (base == PtgArea || base == PtgArea3d) {
            const bool is3d = base == PtgArea3d;
            if (const Move move = moveOf(is3d, body, onChangedSheet); move != Move::None)
                changed |= shiftArea(is3d ? body + 2 : body, id, is3d, move);
        } else if (id == 0x01 || id == 0x02) {
            // The anchor of an array or table formula moves with its cells.
            changed |= shiftAnchor(body, onChangedSheet);
        }
        data[pos] = char(id);
        pos += size;
    }
    return changed;
}

bool ReferenceShifter::moveRange(int &first, int &last, bool onChangedSheet) const
{
    // PtgArea ([MS-XLS] 2.5.198.27): rwFirst, rwLast, colFirst, colLast, the
    // column fields carrying the relative-row flags.
    QByteArray area(9, '\0');
    area[0] = char(PtgArea);
    put16(area.data() + 1, uint16_t(first));
    put16(area.data() + 3, uint16_t(last));
    put16(area.data() + 5, 0xC000);
    put16(area.data() + 7, 0xC000);
    if (!apply(area, onChangedSheet) || uint8_t(area[0]) != PtgArea)
        return false;
    first = u16At(area.constData() + 1);
    last = u16At(area.constData() + 3);
    return true;
}

bool ReferenceShifter::shiftAnchor(char *p, bool onChangedSheet) const
{
    const int row = u16At(p);
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
    put16(p, uint16_t(moved));
    return true;
}

// p: row (2 bytes) then column field (2 bytes).
bool ReferenceShifter::shiftRef(char *p, uint8_t &id, bool is3d, Move move) const
{
    const int row = u16At(p);
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
            id = uint8_t(id + (is3d ? 2 : 6)); // Ref -> RefErr, Ref3d -> RefErr3d
            return true;
        }
        if (whole && row >= at + n)
            moved = row - n;
        break;
    case RowShift::Kind::Copy:
        if (u16At(p + 2) & kRowRelative) {
            moved = row + m_shift.delta;
            if (moved < 0 || moved > kLastRow) {
                id = uint8_t(id + (is3d ? 2 : 6));
                return true;
            }
        }
        break;
    }
    if (moved == row)
        return false;
    put16(p, uint16_t(moved));
    return true;
}

// p: first row, last row, first column field, last column field.
bool ReferenceShifter::shiftArea(char *p, uint8_t &id, bool is3d, Move move) const
{
    int first = u16At(p), last = u16At(p + 2);
    const int at = m_shift.at, n = m_shift.count;
    const int oldFirst = first, oldLast = last;
    const uint8_t errorId = uint8_t(id + (is3d ? 2 : 6)); // Area -> AreaErr
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
            id = errorId;
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
        if (u16At(p + 4) & kRowRelative)
            first += m_shift.delta;
        if (u16At(p + 6) & kRowRelative)
            last += m_shift.delta;
        if (first < 0 || first > kLastRow || last < 0 || last > kLastRow) {
            id = errorId;
            return true;
        }
        break;
    }
    if (first == oldFirst && last == oldLast)
        return false;
    put16(p, uint16_t(first));
    put16(p + 2, uint16_t(last));
    return true;
}

} // namespace kasovka
