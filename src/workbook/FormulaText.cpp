#include "workbook/FormulaText.h"

#include "workbook/FormulaTokens.h"

#include <QStringList>

namespace kasovka {

namespace {

QString columnName(int col)
{
    QString name;
    for (++col; col > 0; col = (col - 1) / 26)
        name.prepend(QChar(u'A' + (col - 1) % 26));
    return name;
}

QString cellText(const TokenCell &c)
{
    const QString col = (c.columnRelative ? QString() : QStringLiteral("$")) + columnName(c.column & 0xFF);
    return col + (c.rowRelative ? QString() : QStringLiteral("$")) + QString::number(c.row + 1);
}

bool isMem(TokenKind kind)
{
    switch (kind) {
    case TokenKind::MemArea: case TokenKind::MemErr: case TokenKind::MemNoMem: case TokenKind::MemFunc:
    case TokenKind::MemAreaN: case TokenKind::MemNoMemN:
        return true;
    default:
        return false;
    }
}

QString functionName(int index)
{
    switch (index) {
    case 0: return QStringLiteral("COUNT");
    case 1: return QStringLiteral("IF");
    case 4: return QStringLiteral("SUM");
    case 5: return QStringLiteral("AVERAGE");
    case 6: return QStringLiteral("MIN");
    case 7: return QStringLiteral("MAX");
    case 36: return QStringLiteral("AND");
    case 37: return QStringLiteral("OR");
    case 65: return QStringLiteral("DATE");
    case 74: return QStringLiteral("NOW");
    case 221: return QStringLiteral("TODAY");
    default: return QStringLiteral("FUNC%1").arg(index);
    }
}

const char *const kOperators[] = {"+", "-", "*", "/", "^", "&", "<", "<=", "=", ">=", ">", "<>", " ", ",", ":"};

} // namespace

QString formulaText(const QByteArray &rgce, const std::function<QString(int)> &sheetName)
{
    QStringList stack;
    auto pop = [&stack]() { return stack.isEmpty() ? QString() : stack.takeLast(); };
    auto call = [&](const QString &name, int argc) {
        QStringList args;
        for (int i = 0; i < argc; ++i)
            args.prepend(pop());
        stack.append(name + QLatin1Char('(') + args.join(QLatin1Char(',')) + QLatin1Char(')'));
    };
    auto idText = [](int id) { return QStringLiteral("?%1").arg(id, 2, 16, QLatin1Char('0')); };
    FormulaTokenizer tokens(rgce);
    for (FormulaToken t; tokens.next(t);) {
        const uint8_t id = t.id;
        auto sheet = [&]() { return sheetName(t.ixti) + QLatin1Char('!'); };
        if (id >= 0x03 && id <= 0x11) {
            const QString b = pop(), a = pop();
            stack.append(a + QLatin1String(kOperators[id - 3]) + b);
        } else if (id == 0x12 || id == 0x13) {
            stack.append((id == 0x12 ? QStringLiteral("+") : QStringLiteral("-")) + pop());
        } else if (id == 0x14) {
            stack.append(pop() + QLatin1Char('%'));
        } else if (id == 0x15) {
            stack.append(QLatin1Char('(') + pop() + QLatin1Char(')'));
        } else if (id == 0x16) {
            stack.append(QString());
        } else if (id == 0x17) {
            stack.append(QLatin1Char('"') + tokens.text(t) + QLatin1Char('"'));
        } else if (id == 0x19) {
            if (t.isSum())
                call(QStringLiteral("SUM"), 1);
        } else if (id == 0x1C) {
            stack.append(QStringLiteral("#ERR"));
        } else if (id == 0x1D) {
            stack.append(t.value ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
        } else if (id == 0x1E) {
            stack.append(QString::number(t.value));
        } else if (id == 0x1F) {
            stack.append(QString::number(t.number, 'g', 15));
        } else if (t.kind == TokenKind::Func) {
            call(functionName(t.function), 1);
        } else if (t.kind == TokenKind::FuncVar) {
            call(functionName(t.function), t.argumentCount | (t.prompt ? 0x80 : 0));
        } else if (t.kind == TokenKind::Ref) {
            stack.append(cellText(t.first));
        } else if (t.kind == TokenKind::Area) {
            stack.append(cellText(t.first) + QLatin1Char(':') + cellText(t.last));
        } else if (t.kind == TokenKind::RefErr || t.kind == TokenKind::AreaErr) {
            stack.append(QStringLiteral("#REF!"));
        } else if (t.kind == TokenKind::Ref3d) {
            stack.append(sheet() + cellText(t.first));
        } else if (t.kind == TokenKind::Area3d) {
            stack.append(sheet() + cellText(t.first) + QLatin1Char(':') + cellText(t.last));
        } else if (t.kind == TokenKind::RefErr3d || t.kind == TokenKind::AreaErr3d) {
            stack.append(sheet() + QStringLiteral("#REF!"));
        } else if (t.kind == TokenKind::Name) {
            stack.append(QStringLiteral("NAME%1").arg(t.nameIndex & 0xFFFF));
        } else if (id != 0x01 && id != 0x02 && !isMem(t.kind)) {
            stack.append(idText(id));
        }
    }
    if (tokens.stop() != FormulaTokenizer::Stop::End)
        stack.append(idText(tokens.stopId()));
    return stack.join(QLatin1Char(' '));
}

} // namespace kasovka
