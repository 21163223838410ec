#include "xlsx/detail/FormulaTokens.h"

#include "xlsx/detail/FunctionTable.h"

#include "workbook/FormulaTokens.h"
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

QString rowText(const TokenCell &c)
{
    return (c.rowRelative ? QString() : QStringLiteral("$")) + QString::number(c.row + 1);
}

QString colText(const TokenCell &c)
{
    return (c.columnRelative ? QString() : QStringLiteral("$")) + columnName(c.column);
}

QString cellText(const TokenCell &c)
{
    return colText(c) + rowText(c);
}

// BIFF8 has no whole-column or whole-row areas: a full span of its rows or
// columns means one, and must stay one now that sheets hold more rows.
QString areaText(const TokenCell &first, const TokenCell &last)
{
    if (first.row == 0 && last.row == kBiffLastRow)
        return colText(first) + QLatin1Char(':') + colText(last);
    if (first.column == 0 && last.column == kBiffLastColumn)
        return rowText(first) + QLatin1Char(':') + rowText(last);
    return cellText(first) + QLatin1Char(':') + cellText(last);
}

class Decompiler {
public:
    Decompiler(const QByteArray &rgce, const QByteArray &rgcb, const FormulaContext &context)
        : m_rgce(rgce), m_context(context), m_extra(rgcb, QString())
    {
    }

    QString run()
    {
        FormulaTokenizer tokens(m_rgce);
        try {
            for (FormulaToken t; tokens.next(t);)
                token(tokens, t);
        } catch (const Error &) {
            throw UnconvertibleToken{0}; // extra data cut short
        }
        if (tokens.stop() == FormulaTokenizer::Stop::UnknownToken)
            throw UnconvertibleToken{tokens.stopId()};
        if (tokens.stop() == FormulaTokenizer::Stop::CutShort || m_stack.size() != 1)
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

    // A corner of a cell-relative reference: offsets from the formula's own cell.
    TokenCell relative(TokenCell c) const
    {
        if (c.rowRelative)
            c.row = m_context.row + int16_t(c.row);
        if (c.columnRelative)
            c.column = (m_context.column + int8_t(c.column & 0xFF)) & 0xFF;
        return c;
    }

    QString sheetPrefix(int ixti, int id)
    {
        const std::optional<QString> prefix = m_context.sheetPrefix(ixti);
        if (!prefix)
            throw UnconvertibleToken{id};
        return *prefix;
    }

    void token(const FormulaTokenizer &tokens, const FormulaToken &t)
    {
        static const char *const operators[] = {"+", "-", "*", "/", "^", "&", "<", "<=",
                                                "=", ">=", ">", "<>", " ", ",", ":"};
        switch (t.kind) {
        case TokenKind::Add: case TokenKind::Sub: case TokenKind::Mul: case TokenKind::Div:
        case TokenKind::Power: case TokenKind::Concat: case TokenKind::Lt: case TokenKind::Le:
        case TokenKind::Eq: case TokenKind::Ge: case TokenKind::Gt: case TokenKind::Ne:
        case TokenKind::Isect: case TokenKind::Union: case TokenKind::Range:
            binary(operators[int(t.kind) - int(TokenKind::Add)]);
            return;
        case TokenKind::Uplus: m_stack.append(QLatin1Char('+') + pop()); return;
        case TokenKind::Uminus: m_stack.append(QLatin1Char('-') + pop()); return;
        case TokenKind::Percent: m_stack.append(pop() + QLatin1Char('%')); return;
        case TokenKind::Paren: m_stack.append(QLatin1Char('(') + pop() + QLatin1Char(')')); return;
        case TokenKind::MissArg: m_stack.append(QString()); return;
        case TokenKind::Str: m_stack.append(stringConstant(tokens.text(t))); return;
        case TokenKind::Attr:
            // Volatile, IF and CHOOSE jumps, and spaces have no text of their own.
            if (t.isSum())
                m_stack.append(QStringLiteral("SUM(") + pop() + QLatin1Char(')'));
            return;
        case TokenKind::Err: m_stack.append(errorText(t.value)); return;
        case TokenKind::Bool: m_stack.append(t.value ? QStringLiteral("TRUE") : QStringLiteral("FALSE")); return;
        case TokenKind::Int: m_stack.append(QString::number(t.value)); return;
        case TokenKind::Num: m_stack.append(numberText(t.number)); return;
        default: operand(t);
        }
    }

    void operand(const FormulaToken &t)
    {
        switch (t.kind) {
        case TokenKind::Array: m_stack.append(arrayConstant()); return;
        case TokenKind::Func: function(t.function, -1, t.id); return;
        case TokenKind::FuncVar: function(t.function, t.argumentCount, t.id); return;
        case TokenKind::Name: m_stack.append(m_context.name(int(t.nameIndex))); return;
        case TokenKind::Ref: m_stack.append(cellText(t.first)); return;
        case TokenKind::Area: m_stack.append(areaText(t.first, t.last)); return;
        case TokenKind::MemArea:
            // Its areas, precomputed, sit in the extra data; the expression follows as tokens.
            m_extra.skip(8 * qsizetype(m_extra.u16()));
            return;
        case TokenKind::MemErr: case TokenKind::MemNoMem: case TokenKind::MemFunc:
        case TokenKind::MemAreaN: case TokenKind::MemNoMemN:
            return;
        case TokenKind::RefErr: case TokenKind::AreaErr: case TokenKind::RefErr3d: case TokenKind::AreaErr3d:
            m_stack.append(errorText(0x17));
            return;
        case TokenKind::RefN: m_stack.append(cellText(relative(t.first))); return;
        case TokenKind::AreaN: m_stack.append(areaText(relative(t.first), relative(t.last))); return;
        case TokenKind::NameX: {
            if (m_context.sheetPrefix(t.ixti)) {
                m_stack.append(m_context.name(int(t.nameIndex)));
                return;
            }
            const std::optional<QString> addIn
                = m_context.addInName ? m_context.addInName(t.ixti, int(t.nameIndex)) : std::nullopt;
            if (!addIn)
                throw UnconvertibleToken{t.id}; // a name in another workbook
            m_stack.append(*addIn);
            return;
        }
        case TokenKind::Ref3d: {
            const QString prefix = sheetPrefix(t.ixti, t.id);
            m_stack.append(prefix + cellText(t.first));
            return;
        }
        case TokenKind::Area3d: {
            const QString prefix = sheetPrefix(t.ixti, t.id);
            m_stack.append(prefix + areaText(t.first, t.last));
            return;
        }
        default: throw UnconvertibleToken{t.id}; // Exp, Tbl and the extended tokens: no cell formula uses them
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
    QString arrayConstant()
    {
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
    const FormulaContext &m_context;
    ByteReader m_extra;
    QStringList m_stack;
};

} // namespace

QString formulaText(const QByteArray &rgce, const QByteArray &rgcb, const FormulaContext &context)
{
    return Decompiler(rgce, rgcb, context).run();
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
