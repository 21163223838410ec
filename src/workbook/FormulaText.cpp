#include "workbook/FormulaText.h"

#include "workbook/FormulaTokens.h"
#include "workbook/detail/Bytes.h"
#include "workbook/detail/FunctionTable.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

namespace kasovka {

using namespace kasovka::detail;

namespace {

constexpr int kBiffLastRow = 65535, kBiffLastColumn = 255;

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

// The listing shows a column's 8 bits and every area from cell to cell.
QString listedCell(TokenCell c)
{
    c.column &= 0xFF;
    return cellText(c);
}

QString listedArea(const TokenCell &first, const TokenCell &last)
{
    return listedCell(first) + QLatin1Char(':') + listedCell(last);
}

// The functions the listing names; the others by their index.
QString listedFunctionName(int index)
{
    static constexpr int kNamed[] = {0, 1, 4, 5, 6, 7, 36, 37, 65, 74, 221};
    if (std::find(std::begin(kNamed), std::end(kNamed), index) != std::end(kNamed))
        return QLatin1String(biffFunction(index).name);
    return QStringLiteral("FUNC%1").arg(index);
}

class Decompiler {
public:
    Decompiler(const QByteArray &rgce, const QByteArray &rgcb, const FormulaContext &context,
               FormulaTextForm form)
        : m_rgce(rgce), m_context(context), m_listing(form == FormulaTextForm::Listing),
          m_extra(rgcb, QString())
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
        const FormulaTokenizer::Stop stop = tokens.stop();
        if (m_listing) {
            if (stop != FormulaTokenizer::Stop::End)
                untexted(tokens.stopId());
            return m_stack.join(QLatin1Char(' '));
        }
        if (stop == FormulaTokenizer::Stop::UnknownToken)
            throw UnconvertibleToken{tokens.stopId()};
        if (stop == FormulaTokenizer::Stop::CutShort || m_stack.size() != 1)
            throw UnconvertibleToken{0};
        return m_stack.takeLast();
    }

private:
    void push(const QString &text) { m_stack.append(text); }

    // The listing shows what it can of a formula that is not one expression.
    QString pop()
    {
        if (m_stack.isEmpty()) {
            if (m_listing)
                return QString();
            throw UnconvertibleToken{0};
        }
        return m_stack.takeLast();
    }

    void untexted(int id)
    {
        if (!m_listing)
            throw UnconvertibleToken{id};
        push(QStringLiteral("?%1").arg(id, 2, 16, QLatin1Char('0')));
    }

    void binary(const char *op)
    {
        const QString right = pop();
        const QString left = pop();
        push(left + QLatin1String(op) + right);
    }

    void call(const QString &name, int count)
    {
        QStringList args;
        for (int i = 0; i < count; ++i)
            args.prepend(pop());
        push(name + QLatin1Char('(') + args.join(QLatin1Char(',')) + QLatin1Char(')'));
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
        case TokenKind::Uplus: push(QLatin1Char('+') + pop()); return;
        case TokenKind::Uminus: push(QLatin1Char('-') + pop()); return;
        case TokenKind::Percent: push(pop() + QLatin1Char('%')); return;
        case TokenKind::Paren: push(QLatin1Char('(') + pop() + QLatin1Char(')')); return;
        case TokenKind::MissArg: push(QString()); return;
        case TokenKind::Str:
            push(m_listing ? QLatin1Char('"') + tokens.text(t) + QLatin1Char('"') : stringConstant(tokens.text(t)));
            return;
        case TokenKind::Attr:
            // Volatile, IF and CHOOSE jumps, and spaces have no text of their own.
            if (t.isSum())
                call(QStringLiteral("SUM"), 1);
            return;
        case TokenKind::Err: push(m_listing ? QStringLiteral("#ERR") : errorText(t.value)); return;
        case TokenKind::Bool: push(t.value ? QStringLiteral("TRUE") : QStringLiteral("FALSE")); return;
        case TokenKind::Int: push(QString::number(t.value)); return;
        case TokenKind::Num: push(m_listing ? QString::number(t.number, 'g', 15) : numberText(t.number)); return;
        case TokenKind::Exp: case TokenKind::Tbl:
            // They stand for the formula of another cell, which the listing
            // shows there; a cell's own text cannot be made of them.
            if (!m_listing)
                untexted(t.id);
            return;
        default:
            operand(t);
        }
    }

    void operand(const FormulaToken &t)
    {
        switch (t.kind) {
        case TokenKind::Func: case TokenKind::FuncVar: function(t); return;
        case TokenKind::Name:
            push(m_listing ? QStringLiteral("NAME%1").arg(t.nameIndex & 0xFFFF) : m_context.name(int(t.nameIndex)));
            return;
        case TokenKind::Ref: push(m_listing ? listedCell(t.first) : cellText(t.first)); return;
        case TokenKind::Area: push(m_listing ? listedArea(t.first, t.last) : areaText(t.first, t.last)); return;
        case TokenKind::RefErr: case TokenKind::AreaErr: push(errorText(0x17)); return;
        case TokenKind::Ref3d: case TokenKind::Area3d: case TokenKind::RefErr3d: case TokenKind::AreaErr3d:
            reference3d(t);
            return;
        case TokenKind::MemArea:
            // Its areas, precomputed, sit in the extra data; the expression follows as tokens.
            if (!m_listing)
                m_extra.skip(8 * qsizetype(m_extra.u16()));
            return;
        case TokenKind::MemErr: case TokenKind::MemNoMem: case TokenKind::MemFunc:
        case TokenKind::MemAreaN: case TokenKind::MemNoMemN:
            return;
        default:
            break;
        }
        // Tokens the listing has no text for.
        if (m_listing) {
            untexted(t.id);
            return;
        }
        switch (t.kind) {
        case TokenKind::Array: push(arrayConstant()); return;
        case TokenKind::RefN: push(cellText(relative(t.first))); return;
        case TokenKind::AreaN: push(areaText(relative(t.first), relative(t.last))); return;
        case TokenKind::NameX: externalName(t); return;
        default: untexted(t.id); // the extended tokens: no cell formula uses them
        }
    }

    // A deleted reference is "#REF!" in a cell, whatever its sheets; the
    // listing keeps them.
    void reference3d(const FormulaToken &t)
    {
        const bool deleted = t.kind == TokenKind::RefErr3d || t.kind == TokenKind::AreaErr3d;
        if (deleted && !m_listing) {
            push(errorText(0x17));
            return;
        }
        const std::optional<QString> prefix = m_context.sheetPrefix(t.ixti);
        if (!prefix)
            untexted(t.id);
        else if (deleted)
            push(*prefix + errorText(0x17));
        else if (t.kind == TokenKind::Ref3d)
            push(*prefix + (m_listing ? listedCell(t.first) : cellText(t.first)));
        else
            push(*prefix + (m_listing ? listedArea(t.first, t.last) : areaText(t.first, t.last)));
    }

    void externalName(const FormulaToken &t)
    {
        if (m_context.sheetPrefix(t.ixti)) {
            push(m_context.name(int(t.nameIndex)));
            return;
        }
        const std::optional<QString> addIn
            = m_context.addInName ? m_context.addInName(t.ixti, int(t.nameIndex)) : std::nullopt;
        if (!addIn)
            untexted(t.id); // a name in another workbook
        else
            push(*addIn);
    }

    void function(const FormulaToken &t)
    {
        const bool fixed = t.kind == TokenKind::Func;
        if (m_listing) {
            // A fixed call counts as one argument; fPrompt as part of the count.
            call(listedFunctionName(t.function), fixed ? 1 : t.argumentCount | (t.prompt ? 0x80 : 0));
            return;
        }
        const int count = fixed ? -1 : t.argumentCount;
        if (t.function == 255 && count > 0) {
            // A function of an add-in or macro: its name is the first argument.
            QStringList args;
            for (int i = 0; i < count - 1; ++i)
                args.prepend(pop());
            const QString name = pop();
            push(name + QLatin1Char('(') + args.join(QLatin1Char(',')) + QLatin1Char(')'));
            return;
        }
        const BiffFunction f = biffFunction(t.function);
        if (!f.name || (count < 0 && f.fixedArguments < 0))
            throw UnconvertibleToken{t.id};
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
    const bool m_listing;
    ByteReader m_extra;
    QStringList m_stack;
};

} // namespace

QString formulaText(const QByteArray &rgce, const QByteArray &rgcb, const FormulaContext &context,
                    FormulaTextForm form)
{
    return Decompiler(rgce, rgcb, context, form).run();
}

QString columnName(int column)
{
    QString name;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        name.prepend(QChar(u'A' + (c - 1) % 26));
    return name;
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

} // namespace kasovka
