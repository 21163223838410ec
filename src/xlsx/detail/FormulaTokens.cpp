#include "xlsx/detail/FormulaTokens.h"

#include "xlsx/detail/FunctionTable.h"

#include "workbook/detail/Bytes.h"

#include <QRegularExpression>
#include <cmath>

namespace kasovka::xlsx {

using namespace kasovka::detail;

namespace {

constexpr int kBiffLastRow = 65535, kBiffLastColumn = 255;

QString columnName(int col)
{
    QString name;
    for (++col; col > 0; col = (col - 1) / 26)
        name.prepend(QChar(u'A' + (col - 1) % 26));
    return name;
}


QString numberText(double v)
{
    QString text = QString::number(v, 'g', 15);
    if (text.toDouble() != v)
        text = QString::number(v, 'g', 17);
    return text;
}

QString stringConstant(const QString &s)
{
    QString quoted = s;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// A reference's column field: column in bits 0..13 (BIFF8 uses 8), bit 14
// relative column, bit 15 relative row.
struct Ref {
    int row;
    uint16_t colField;
    int col() const { return colField & 0x3FFF; }
    bool relCol() const { return colField & 0x4000; }
    bool relRow() const { return colField & 0x8000; }
};

QString rowText(const Ref &r)
{
    return (r.relRow() ? QString() : QStringLiteral("$")) + QString::number(r.row + 1);
}

QString colText(const Ref &r)
{
    return (r.relCol() ? QString() : QStringLiteral("$")) + columnName(r.col());
}

QString cellText(const Ref &r)
{
    return colText(r) + rowText(r);
}

// BIFF8 has no whole-column or whole-row areas: a full span of its rows or
// columns means one, and must stay one now that sheets hold more rows.
QString areaText(const Ref &first, const Ref &last)
{
    if (first.row == 0 && last.row == kBiffLastRow)
        return colText(first) + QLatin1Char(':') + colText(last);
    if (first.col() == 0 && last.col() == kBiffLastColumn)
        return rowText(first) + QLatin1Char(':') + rowText(last);
    return cellText(first) + QLatin1Char(':') + cellText(last);
}

class Decompiler {
public:
    Decompiler(const QByteArray &rgce, const QByteArray &rgcb, const FormulaContext &context)
        : m_rgce(rgce), m_rgcb(rgcb), m_context(context), m_extra(rgcb, QString())
    {
    }

    QString run()
    {
        ByteReader r(m_rgce, QString());
        try {
            while (!r.atEnd())
                token(r);
        } catch (const Error &) {
            throw UnconvertibleToken{0}; // cut short
        }
        if (m_stack.size() != 1)
            throw UnconvertibleToken{0};
        return m_stack.takeLast();
    }

private:
    QString pop()
    {
        if (m_stack.isEmpty())
            throw UnconvertibleToken{0};
        return m_stack.takeLast();
    }

    void binary(const char *op)
    {
        const QString right = pop();
        const QString left = pop();
        m_stack.append(left + QLatin1String(op) + right);
    }

    void call(const QString &name, int count)
    {
        QStringList args;
        for (int i = 0; i < count; ++i)
            args.prepend(pop());
        m_stack.append(name + QLatin1Char('(') + args.join(QLatin1Char(',')) + QLatin1Char(')'));
    }

    Ref readRef(ByteReader &r, bool relative)
    {
        const int row = r.u16();
        const uint16_t col = r.u16();
        Ref ref{row, col};
        if (relative) {
            // Offsets from the formula's own cell.
            if (ref.relRow())
                ref.row = m_context.row + int16_t(row);
            if (ref.relCol())
                ref.colField = uint16_t((col & 0xC000) | ((m_context.column + int8_t(col & 0xFF)) & 0xFF));
        }
        return ref;
    }

    std::pair<Ref, Ref> readArea(ByteReader &r, bool relative)
    {
        const int firstRow = r.u16(), lastRow = r.u16();
        const uint16_t firstCol = r.u16(), lastCol = r.u16();
        Ref first{firstRow, firstCol}, last{lastRow, lastCol};
        if (relative) {
            if (first.relRow())
                first.row = m_context.row + int16_t(firstRow);
            if (last.relRow())
                last.row = m_context.row + int16_t(lastRow);
            if (first.relCol())
                first.colField = uint16_t((firstCol & 0xC000) | ((m_context.column + int8_t(firstCol & 0xFF)) & 0xFF));
            if (last.relCol())
                last.colField = uint16_t((lastCol & 0xC000) | ((m_context.column + int8_t(lastCol & 0xFF)) & 0xFF));
        }
        return {first, last};
    }

    QString sheetPrefix(int ixti, int id)
    {
        const std::optional<QString> prefix = m_context.sheetPrefix(ixti);
        if (!prefix)
            throw UnconvertibleToken{id};
        return *prefix;
    }

    void token(ByteReader &r)
    {
        const int id = r.u8();
        const int base = id < 0x20 ? id : ((id & 0x1F) | 0x20);
        switch (base) {
        case 0x03: binary("+"); return;
        case 0x04: binary("-"); return;
        case 0x05: binary("*"); return;
        case 0x06: binary("/"); return;
        case 0x07: binary("^"); return;
        case 0x08: binary("&"); return;
        case 0x09: binary("<"); return;
        case 0x0A: binary("<="); return;
        case 0x0B: binary("="); return;
        case 0x0C: binary(">="); return;
        case 0x0D: binary(">"); return;
        case 0x0E: binary("<>"); return;
        case 0x0F: binary(" "); return;
        case 0x10: binary(","); return;
        case 0x11: binary(":"); return;
        case 0x12: m_stack.append(QLatin1Char('+') + pop()); return;
        case 0x13: m_stack.append(QLatin1Char('-') + pop()); return;
        case 0x14: m_stack.append(pop() + QLatin1Char('%')); return;
        case 0x15: m_stack.append(QLatin1Char('(') + pop() + QLatin1Char(')')); return;
        case 0x16: m_stack.append(QString()); return;
        case 0x17: {
            const int length = r.u8();
            m_stack.append(stringConstant(r.chars(length, r.u8() & 0x01)));
            return;
        }
        case 0x18: throw UnconvertibleToken{id}; // extended tokens: no cell formula uses them
        case 0x19: attribute(r); return;
        case 0x1C: m_stack.append(errorText(r.u8())); return;
        case 0x1D: m_stack.append(r.u8() ? QStringLiteral("TRUE") : QStringLiteral("FALSE")); return;
        case 0x1E: m_stack.append(QString::number(r.u16())); return;
        case 0x1F: m_stack.append(numberText(r.f64())); return;
        default: operand(r, id, base);
        }
    }

    void attribute(ByteReader &r)
    {
        const int kind = r.u8();
        const int data = r.u16();
        if (kind & 0x04)
            r.skip(2 * (data + 1)); // the jump table of CHOOSE
        if (kind & 0x10)
            m_stack.append(QStringLiteral("SUM(") + pop() + QLatin1Char(')'));
        // Volatile, IF and CHOOSE jumps, and spaces have no text of their own.
    }

    void operand(ByteReader &r, int id, int base)
    {
        switch (base) {
        case 0x20: m_stack.append(arrayConstant(r)); return;
        case 0x21: function(r.u16(), -1, id); return;
        case 0x22: {
            const int count = r.u8() & 0x7F;
            function(r.u16() & 0x7FFF, count, id);
            return;
        }
        case 0x23: m_stack.append(m_context.name(int(r.u32()))); return;
        case 0x24: m_stack.append(cellText(readRef(r, false))); return;
        case 0x25: {
            const auto [first, last] = readArea(r, false);
            m_stack.append(areaText(first, last));
            return;
        }
        case 0x26: {
            // Its areas, precomputed, sit in the extra data; the expression follows as tokens.
            r.skip(6);
            m_extra.skip(8 * qsizetype(m_extra.u16()));
            return;
        }
        case 0x27: case 0x28: r.skip(6); return;
        case 0x29: case 0x2E: case 0x2F: r.skip(2); return;
        case 0x2A: r.skip(4); m_stack.append(errorText(0x17)); return;
        case 0x2B: r.skip(8); m_stack.append(errorText(0x17)); return;
        case 0x2C: m_stack.append(cellText(readRef(r, true))); return;
        case 0x2D: {
            const auto [first, last] = readArea(r, true);
            m_stack.append(areaText(first, last));
            return;
        }
        case 0x39: {
            const int ixti = r.u16();
            const int index = int(r.u32());
            if (m_context.sheetPrefix(ixti)) {
                m_stack.append(m_context.name(index));
                return;
            }
            const std::optional<QString> addIn = m_context.addInName ? m_context.addInName(ixti, index) : std::nullopt;
            if (!addIn)
                throw UnconvertibleToken{id}; // a name in another workbook
            m_stack.append(*addIn);
            return;
        }
        case 0x3A: {
            const QString prefix = sheetPrefix(r.u16(), id);
            m_stack.append(prefix + cellText(readRef(r, false)));
            return;
        }
        case 0x3B: {
            const QString prefix = sheetPrefix(r.u16(), id);
            const auto [first, last] = readArea(r, false);
            m_stack.append(prefix + areaText(first, last));
            return;
        }
        case 0x3C: r.skip(6); m_stack.append(errorText(0x17)); return;
        case 0x3D: r.skip(10); m_stack.append(errorText(0x17)); return;
        default: throw UnconvertibleToken{id};
        }
    }

    void function(int index, int count, int id)
    {
        if (index == 255 && count > 0) {
            // A function of an add-in or macro: its name is the first argument.
            QStringList args;
            for (int i = 0; i < count - 1; ++i)
                args.prepend(pop());
            const QString name = pop();
            m_stack.append(name + QLatin1Char('(') + args.join(QLatin1Char(',')) + QLatin1Char(')'));
            return;
        }
        const BiffFunction f = biffFunction(index);
        if (!f.name || (count < 0 && f.fixedArguments < 0))
            throw UnconvertibleToken{id};
        call(QLatin1String(f.name), count < 0 ? f.fixedArguments : count);
    }

    // The values of a PtgArray live in the formula's extra data, in order
    // ([MS-XLS] 2.5.198.8 PtgArray, 2.2.2.3 SerAr).
    QString arrayConstant(ByteReader &r)
    {
        r.skip(7);
        const int columns = m_extra.u8() + 1;
        const int rows = m_extra.u16() + 1;
        QStringList lines;
        for (int row = 0; row < rows; ++row) {
            QStringList values;
            for (int col = 0; col < columns; ++col)
                values.append(arrayValue());
            lines.append(values.join(QLatin1Char(',')));
        }
        return QLatin1Char('{') + lines.join(QLatin1Char(';')) + QLatin1Char('}');
    }

    QString arrayValue()
    {
        switch (m_extra.u8()) {
        case 0x01: return numberText(m_extra.f64());
        case 0x02: {
            const int length = m_extra.u16();
            return stringConstant(m_extra.chars(length, m_extra.u8() & 0x01));
        }
        case 0x04: {
            const bool value = m_extra.u8();
            m_extra.skip(7);
            return value ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        }
        case 0x10: {
            const int code = m_extra.u8();
            m_extra.skip(7);
            return errorText(code);
        }
        default:
            m_extra.skip(8);
            return QString();
        }
    }

    const QByteArray &m_rgce;
    const QByteArray &m_rgcb;
    const FormulaContext &m_context;
    ByteReader m_extra;
    QStringList m_stack;
};

// Bytes of a token's data after its id, for walking without decoding;
// -1 for a token whose size depends on its content.
int fixedSize(int base)
{
    switch (base) {
    case 0x01: case 0x02: return 4;
    case 0x1C: case 0x1D: return 1;
    case 0x1E: return 2;
    case 0x1F: return 8;
    case 0x20: return 7;
    case 0x21: return 2;
    case 0x22: return 3;
    case 0x23: return 4;
    case 0x24: case 0x2A: case 0x2C: return 4;
    case 0x25: case 0x2B: case 0x2D: return 8;
    case 0x26: case 0x27: case 0x28: return 6;
    case 0x29: case 0x2E: case 0x2F: return 2;
    case 0x39: return 6;
    case 0x3A: case 0x3C: return 6;
    case 0x3B: case 0x3D: return 10;
    default: return base < 0x17 ? 0 : -1;
    }
}

} // namespace

QString formulaText(const QByteArray &rgce, const QByteArray &rgcb, const FormulaContext &context)
{
    return Decompiler(rgce, rgcb, context).run();
}

int highestReferencedRow(const QByteArray &rgce)
{
    int highest = -1;
    const char *d = rgce.constData();
    for (qsizetype pos = 0; pos < rgce.size();) {
        const int id = uint8_t(d[pos]);
        const int base = id < 0x20 ? id : ((id & 0x1F) | 0x20);
        int size = fixedSize(base);
        if (base == 0x17 && pos + 2 < rgce.size())
            size = 2 + uint8_t(d[pos + 1]) * ((d[pos + 2] & 0x01) ? 2 : 1);
        else if (base == 0x19 && pos + 3 < rgce.size())
            size = 3 + ((d[pos + 1] & 0x04) ? 2 * (u16At(d + pos + 2) + 1) : 0);
        if (size < 0 || pos + 1 + size > rgce.size())
            return highest;
        const char *p = d + pos + 1;
        if (base == 0x24)
            highest = std::max<int>(highest, u16At(p));
        else if (base == 0x3A)
            highest = std::max<int>(highest, u16At(p + 2));
        else if (base == 0x25 || base == 0x3B) {
            const char *area = base == 0x25 ? p : p + 2;
            const int first = u16At(area), last = u16At(area + 2);
            // A whole column says nothing about a moved reference.
            if (!(first == 0 && last == kBiffLastRow))
                highest = std::max({highest, first, last});
        }
        pos += 1 + size;
    }
    return highest;
}

QString quotedSheetName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.]*\\z"));
    static const QRegularExpression cellLike(QStringLiteral("^([A-Za-z]{1,3}[0-9]+|[Rr][0-9]*[Cc][0-9]*)\\z"));
    if (plain.match(name).hasMatch() && !cellLike.match(name).hasMatch())
        return name;
    QString quoted = name;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString errorText(int code)
{
    switch (code) {
    case 0x00: return QStringLiteral("#NULL!");
    case 0x07: return QStringLiteral("#DIV/0!");
    case 0x0F: return QStringLiteral("#VALUE!");
    case 0x17: return QStringLiteral("#REF!");
    case 0x1D: return QStringLiteral("#NAME?");
    case 0x24: return QStringLiteral("#NUM!");
    default: return QStringLiteral("#N/A");
    }
}

} // namespace kasovka::xlsx
