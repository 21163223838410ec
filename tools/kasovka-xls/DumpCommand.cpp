// dump: the workbook as tab-separated lines, for people and test scripts.

#include "Commands.h"

#include "workbook/FormulaText.h"
#include "workbook/Workbook.h"

#include <QLocale>

#include <algorithm>
#include <iterator>
#include <cstdio>

namespace kasovka::xls {

namespace {

QString escaped(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    text.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return text;
}

// The dump names a code no spreadsheet program knows by its number, where
// a formula's text would show "#N/A".
QString dumpErrorText(int code)
{
    static constexpr int known[] = {0x00, 0x07, 0x0F, 0x17, 0x1D, 0x24, 0x2A};
    if (std::find(std::begin(known), std::end(known), code) != std::end(known))
        return errorText(code);
    return QStringLiteral("#ERR%1").arg(code);
}

std::pair<QString, QString> kindAndValue(const XlsCell &c)
{
    switch (c.kind) {
    case XlsCellKind::Number:
        return {QStringLiteral("number"),
                QString::number(c.value.toDouble(), 'g', QLocale::FloatingPointShortest)};
    case XlsCellKind::Text: return {QStringLiteral("text"), escaped(c.value.toString())};
    case XlsCellKind::Bool:
        return {QStringLiteral("bool"), c.value.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE")};
    case XlsCellKind::Error: return {QStringLiteral("error"), dumpErrorText(c.value.toInt())};
    case XlsCellKind::Formula: return {QStringLiteral("formula"), escaped(c.formula)};
    default: return {QStringLiteral("blank"), QString()};
    }
}

void line(const QStringList &fields)
{
    const QByteArray bytes = fields.join(QLatin1Char('\t')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
}

void dumpSheet(const TXLSFile &book, int s)
{
    const QString sheet = QString::number(s);
    for (const auto &e : book.cells()) {
        const auto [kind, value] = kindAndValue(e.cell);
        line({QStringLiteral("cell"), sheet, QString::number(e.row), QString::number(e.column), kind, value});
    }
    for (const auto &c : book.comments())
        line({QStringLiteral("comment"), sheet, QString::number(c.row), QString::number(c.column),
              escaped(c.text)});
    for (const auto &i : book.images())
        line({QStringLiteral("image"), sheet, QString::number(i.row), escaped(i.name)});
    for (int row : book.pageBreaks())
        line({QStringLiteral("pagebreak"), sheet, QString::number(row)});
}

} // namespace

int runDump(const QStringList &args)
{
    if (args.size() != 1)
        return kExitUsage;
    try {
        TXLSFile book;
        book.open(args[0]);
        for (int s = 1; s <= book.sheetCount(); ++s)
            line({QStringLiteral("sheet"), QString::number(s), escaped(book.sheetName(s)),
                  book.isWorksheet(s) ? QStringLiteral("worksheet") : QStringLiteral("chart")});
        for (int s = 1; s <= book.sheetCount(); ++s) {
            book.setActiveSheet(s);
            if (book.isWorksheet(s))
                dumpSheet(book, s);
        }
        for (int i = 0; i < book.namedRangeCount(); ++i) {
            const XlsDefinedName n = book.namedRange(i);
            if (n.isArea)
                line({QStringLiteral("name"), escaped(n.name), QString::number(n.sheet),
                      QString::number(n.firstRow), QString::number(n.lastRow),
                      QString::number(n.firstColumn), QString::number(n.lastColumn)});
            else
                line({QStringLiteral("name"), escaped(n.name), QString::number(n.scopeSheet),
                      QString::fromLatin1(n.raw.toHex())});
        }
    } catch (const Error &e) {
        std::fflush(stdout);
        printError(e.text());
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace kasovka::xls
