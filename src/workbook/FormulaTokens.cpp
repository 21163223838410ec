#include "workbook/FormulaTokens.h"

#include "workbook/detail/Bytes.h"

#include <algorithm>

namespace kasovka {

using namespace detail;

namespace {

constexpr int kLastRow = 65535;

// Sizes of the operand tokens by their kind, id included; 0 for ids of the
// operand range that name no token.
int operandSize(TokenKind kind)
{
    switch (kind) {
    case TokenKind::Array: return 8;
    case TokenKind::Func: return 3;
    case TokenKind::FuncVar: return 4;
    case TokenKind::Name: return 5;
    case TokenKind::Ref: case TokenKind::RefErr: case TokenKind::RefN: return 5;
    case TokenKind::Area: case TokenKind::AreaErr: case TokenKind::AreaN: return 9;
    case TokenKind::MemArea: case TokenKind::MemErr: case TokenKind::MemNoMem: return 7;
    case TokenKind::MemFunc: case TokenKind::MemAreaN: case TokenKind::MemNoMemN: return 3;
    case TokenKind::NameX: return 7;
    case TokenKind::Ref3d: case TokenKind::RefErr3d: return 7;
    case TokenKind::Area3d: case TokenKind::AreaErr3d: return 11;
    default: return 0;
    }
}

TokenCell cellOf(uint16_t row, uint16_t columnField)
{
    return {row, columnField & 0x3FFF, bool(columnField & 0x8000), bool(columnField & 0x4000)};
}

// A reference stores its row, then its column field; an area both rows,
// then both column fields.
void referenceAt(const char *p, FormulaToken &t)
{
    t.first = t.last = cellOf(u16At(p), u16At(p + 2));
}

void areaAt(const char *p, FormulaToken &t)
{
    t.first = cellOf(u16At(p), u16At(p + 4));
    t.last = cellOf(u16At(p + 2), u16At(p + 6));
}

bool isArea(TokenKind kind)
{
    switch (kind) {
    case TokenKind::Area: case TokenKind::AreaErr: case TokenKind::AreaN:
    case TokenKind::Area3d: case TokenKind::AreaErr3d:
        return true;
    default:
        return false;
    }
}

uint16_t columnField(const TokenCell &c)
{
    return uint16_t(c.column | (c.columnRelative ? 0x4000 : 0) | (c.rowRelative ? 0x8000 : 0));
}

// The fields after the id; `p` points at the id.
void decode(FormulaToken &t, const char *p)
{
    switch (t.kind) {
    case TokenKind::Exp: case TokenKind::Tbl:
        t.first.row = u16At(p + 1);
        t.first.column = u16At(p + 3);
        break;
    case TokenKind::SxName: t.nameIndex = u32At(p + 2); break;
    case TokenKind::Attr:
        t.attributes = uint8_t(p[1]);
        t.value = u16At(p + 2);
        break;
    case TokenKind::Err: case TokenKind::Bool: t.value = uint8_t(p[1]); break;
    case TokenKind::Int: t.value = u16At(p + 1); break;
    case TokenKind::Num: t.number = doubleAt(p + 1); break;
    case TokenKind::Func: t.function = u16At(p + 1); break;
    case TokenKind::FuncVar:
        t.argumentCount = uint8_t(p[1]) & 0x7F;
        t.prompt = uint8_t(p[1]) & 0x80;
        t.function = u16At(p + 2) & 0x7FFF;
        break;
    case TokenKind::Name: t.nameIndex = u32At(p + 1); break;
    case TokenKind::NameX:
        t.ixti = u16At(p + 1);
        t.nameIndex = u32At(p + 3);
        break;
    case TokenKind::Ref: case TokenKind::RefErr: case TokenKind::RefN:
        referenceAt(p + 1, t);
        break;
    case TokenKind::Area: case TokenKind::AreaErr: case TokenKind::AreaN: areaAt(p + 1, t); break;
    case TokenKind::Ref3d: case TokenKind::RefErr3d:
        t.ixti = u16At(p + 1);
        referenceAt(p + 3, t);
        break;
    case TokenKind::Area3d: case TokenKind::AreaErr3d:
        t.ixti = u16At(p + 1);
        areaAt(p + 3, t);
        break;
    case TokenKind::MemArea: case TokenKind::MemErr: case TokenKind::MemNoMem: t.memSize = u16At(p + 5); break;
    case TokenKind::MemFunc: case TokenKind::MemAreaN: case TokenKind::MemNoMemN: t.memSize = u16At(p + 1); break;
    default: break;
    }
}

} // namespace

FormulaTokenizer::FormulaTokenizer(const QByteArray &rgce)
    : m_data(rgce.constData()), m_size(int(rgce.size()))
{
}

bool FormulaTokenizer::fail(Stop stop, uint8_t id)
{
    m_stop = stop;
    m_stopId = id;
    return false;
}

// Operands (0x20..0x7F) carry their class in bits 5 and 6; the ids below
// 0x20 have none, and ids from 0x80 on name no token.
bool FormulaTokenizer::next(FormulaToken &t)
{
    if (m_stop != Stop::None)
        return false;
    if (m_pos >= m_size)
        return fail(Stop::End, 0);
    const char *p = m_data + m_pos;
    const int left = m_size - m_pos;
    const uint8_t id = uint8_t(p[0]);
    t = FormulaToken{};
    t.id = id;
    t.at = m_pos;
    int size = 0;
    if (id >= 0x20 && id < 0x80) {
        t.kind = TokenKind((id & 0x1F) | 0x20);
        t.operandClass = OperandClass(id >> 5 & 0x03);
        size = operandSize(t.kind);
    } else if (id == 0x01 || id == 0x02) {
        size = 5;
    } else if (id >= 0x03 && id <= 0x16) {
        size = 1;
    } else if (id == 0x17) {
        if (left < 3)
            return fail(Stop::CutShort, id);
        size = 3 + uint8_t(p[1]) * ((p[2] & 0x01) ? 2 : 1);
    } else if (id == 0x18) {
        // [MS-XLS] 2.5.198.x: the second byte tells the token; only
        // PtgSxName (an index of 4 bytes) is read.
        size = left >= 2 && uint8_t(p[1]) == 0x1D ? 6 : 0;
    } else if (id == 0x19) {
        if (left < 4)
            return fail(Stop::CutShort, id);
        // PtgAttrChoose carries a jump table of wCount + 1 offsets.
        size = 4 + ((p[1] & 0x04) ? 2 * (u16At(p + 2) + 1) : 0);
    } else if (id == 0x1C || id == 0x1D) {
        size = 2;
    } else if (id == 0x1E) {
        size = 3;
    } else if (id == 0x1F) {
        size = 9;
    }
    if (size == 0)
        return fail(Stop::UnknownToken, id);
    if (size > left)
        return fail(Stop::CutShort, id);
    if (id < 0x20)
        t.kind = TokenKind(id);
    t.size = size;
    decode(t, p);
    m_pos += size;
    return true;
}

// PtgStr ([MS-XLS] 2.5.198.89): a ShortXLUnicodeString after the id.
QString FormulaTokenizer::text(const FormulaToken &t) const
{
    const char *p = m_data + t.at;
    const int count = uint8_t(p[1]);
    if (p[2] & 0x01) {
        QString s(count, Qt::Uninitialized);
        for (int i = 0; i < count; ++i)
            s[i] = QChar(u16At(p + 3 + 2 * i));
        return s;
    }
    return QString::fromLatin1(p + 3, count);
}

void writeReference(char *rgce, const FormulaToken &t)
{
    char *p = rgce + t.at;
    p[0] = char(t.id);
    switch (t.kind) {
    case TokenKind::Exp: case TokenKind::Tbl:
        put16(p + 1, uint16_t(t.first.row));
        put16(p + 3, uint16_t(t.first.column));
        return;
    case TokenKind::Ref3d: case TokenKind::RefErr3d: case TokenKind::Area3d: case TokenKind::AreaErr3d:
        put16(p + 1, uint16_t(t.ixti));
        p += 2;
        break;
    case TokenKind::Ref: case TokenKind::RefErr: case TokenKind::RefN:
    case TokenKind::Area: case TokenKind::AreaErr: case TokenKind::AreaN:
        break;
    default:
        return;
    }
    put16(p + 1, uint16_t(t.first.row));
    if (isArea(t.kind)) {
        put16(p + 3, uint16_t(t.last.row));
        put16(p + 5, columnField(t.first));
        put16(p + 7, columnField(t.last));
    } else {
        put16(p + 3, columnField(t.first));
    }
}

std::optional<TokenArea> singleArea(const QByteArray &rgce)
{
    FormulaTokenizer tokens(rgce);
    FormulaToken t;
    if (!tokens.next(t) || t.size != rgce.size())
        return std::nullopt;
    switch (t.kind) {
    case TokenKind::Ref: case TokenKind::Area: case TokenKind::Ref3d: case TokenKind::Area3d:
        return TokenArea{t.ixti, t.first.row, t.last.row, t.first.column & 0xFF, t.last.column & 0xFF};
    default:
        return std::nullopt;
    }
}

// Print titles over rows and columns are two areas joined by a union;
// MemFunc and parentheses only enclose them.
std::vector<TokenArea> nameAreas(const QByteArray &rgce)
{
    std::vector<TokenArea> out;
    FormulaTokenizer tokens(rgce);
    for (FormulaToken t; tokens.next(t);) {
        if (t.kind == TokenKind::MemFunc || t.kind == TokenKind::Union || t.kind == TokenKind::Paren)
            continue;
        if (t.kind != TokenKind::Ref3d && t.kind != TokenKind::Area3d)
            break;
        out.push_back({t.ixti, t.first.row, t.last.row, t.first.column & 0xFF, t.last.column & 0xFF});
    }
    return out;
}

int highestReferencedRow(const QByteArray &rgce)
{
    int highest = -1;
    FormulaTokenizer tokens(rgce);
    for (FormulaToken t; tokens.next(t);) {
        switch (t.kind) {
        case TokenKind::Ref: case TokenKind::Ref3d:
            highest = std::max(highest, t.first.row);
            break;
        case TokenKind::Area: case TokenKind::Area3d:
            // A whole column says nothing about a moved reference.
            if (!(t.first.row == 0 && t.last.row == kLastRow))
                highest = std::max({highest, t.first.row, t.last.row});
            break;
        default:
            break;
        }
    }
    return highest;
}

} // namespace kasovka
