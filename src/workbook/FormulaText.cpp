#include "workbook/FormulaText.h"

#include "workbook/Formula.h"
#include "workbook/detail/Bytes.h"

#include <QStringList>

namespace kasovka {

using namespace detail;

namespace {

QString columnName(int col)
{
    QString name;
    for (++col; col > 0; col = (col - 1) / 26)
        name.prepend(QChar(u'A' + (col - 1) % 26));
    return name;
}

QString cellText(int row, uint16_t colField)
{
    const QString col = (colField & 0x4000 ? QString() : QStringLiteral("$")) + columnName(colField & 0xFF);
    return col + (colField & 0x8000 ? QString() : QStringLiteral("$")) + QString::number(row + 1);
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
    const char *d = rgce.constData();
    const int len = int(rgce.size());
    auto pop = [&stack]() { return stack.isEmpty() ? QString() : stack.takeLast(); };
    auto call = [&](const QString &name, int argc) {
        QStringList args;
        for (int i = 0; i < argc; ++i)
            args.prepend(pop());
        stack.append(name + QLatin1Char('(') + args.join(QLatin1Char(',')) + QLatin1Char(')'));
    };
    for (int pos = 0; pos < len;) {
        int size;
        try {
            size = ptgSize(d, pos, len);
        } catch (const UnsupportedToken &t) {
            stack.append(QStringLiteral("?%1").arg(t.id, 2, 16, QLatin1Char('0')));
            break;
        }
        const uint8_t id = uint8_t(d[pos]);
        const uint8_t base = id >= 0x20 ? uint8_t((id & 0x1F) | 0x20) : id;
        const char *p = d + pos + 1;
        auto sheet = [&]() { return sheetName(u16At(p)) + QLatin1Char('!'); };
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
            ByteReader r(rgce, QString(), pos + 3);
            stack.append(QLatin1Char('"') + r.chars(uint8_t(p[0]), p[1] & 1) + QLatin1Char('"'));
        } else if (id == 0x19) {
            if (p[0] & 0x10)
                call(QStringLiteral("SUM"), 1);
        } else if (id == 0x1C) {
            stack.append(QStringLiteral("#ERR"));
        } else if (id == 0x1D) {
            stack.append(p[0] ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
        } else if (id == 0x1E) {
            stack.append(QString::number(u16At(p)));
        } else if (id == 0x1F) {
            stack.append(QString::number(doubleAt(p), 'g', 15));
        } else if (base == 0x21) {
            call(functionName(u16At(p)), 1);
        } else if (base == 0x22) {
            call(functionName(u16At(p + 1) & 0x7FFF), uint8_t(p[0]));
        } else if (base == 0x24) {
            stack.append(cellText(u16At(p), u16At(p + 2)));
        } else if (base == 0x25) {
            stack.append(cellText(u16At(p), u16At(p + 4)) + QLatin1Char(':') + cellText(u16At(p + 2), u16At(p + 6)));
        } else if (base == 0x2A || base == 0x2B) {
            stack.append(QStringLiteral("#REF!"));
        } else if (base == 0x3A) {
            stack.append(sheet() + cellText(u16At(p + 2), u16At(p + 4)));
        } else if (base == 0x3B) {
            stack.append(sheet() + cellText(u16At(p + 2), u16At(p + 6)) + QLatin1Char(':')
                         + cellText(u16At(p + 4), u16At(p + 8)));
        } else if (base == 0x3C || base == 0x3D) {
            stack.append(sheet() + QStringLiteral("#REF!"));
        } else if (base == 0x23) {
            stack.append(QStringLiteral("NAME%1").arg(u16At(p)));
        } else if (id != 0x01 && id != 0x02 && !(base >= 0x26 && base <= 0x29)) {
            stack.append(QStringLiteral("?%1").arg(id, 2, 16, QLatin1Char('0')));
        }
        pos += size;
    }
    return stack.join(QLatin1Char(' '));
}

} // namespace kasovka
