// edit: applies operations in order to a workbook and saves the result.

#include "Commands.h"

#include "workbook/Workbook.h"

namespace kasovka::xls {

namespace {

// Reads the integer arguments of one operation; false on a usage error.
bool integers(const QStringList &args, int &pos, int count, QList<int> &out)
{
    out.clear();
    for (int i = 0; i < count; ++i) {
        if (pos >= args.size())
            return false;
        bool ok = false;
        out.append(args[pos++].toInt(&ok));
        if (!ok)
            return false;
    }
    return true;
}

QVariant parseValue(const QString &text)
{
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (ok)
        return number;
    return text;
}

// Applies one operation; returns false on a usage error.
bool apply(TXLSFile &book, const QStringList &args, int &pos, bool &formulasOnly)
{
    const QString op = args[pos++];
    QList<int> n;
    if (op == QLatin1String("--sheet") && integers(args, pos, 1, n)) {
        book.setActiveSheet(n[0]);
    } else if (op == QLatin1String("--formulas-only")) {
        formulasOnly = true;
    } else if (op == QLatin1String("--insert-copy") && integers(args, pos, 4, n)) {
        book.insertAndCopyRows(n[0], n[1], n[2], n[3], formulasOnly);
        formulasOnly = false;
    } else if (op == QLatin1String("--delete") && integers(args, pos, 2, n)) {
        book.deleteRows(n[0], n[1]);
    } else if (op == QLatin1String("--set") && integers(args, pos, 2, n) && pos < args.size()) {
        book.setCell(n[0], n[1], parseValue(args[pos++]), -1);
    } else if (op == QLatin1String("--page-break") && integers(args, pos, 1, n)) {
        book.addPageBreak(n[0]);
    } else if (op == QLatin1String("--comment") && integers(args, pos, 2, n) && pos < args.size()) {
        book.setCommentText(n[0], n[1] - 1, args[pos++]);
    } else {
        return false;
    }
    return true;
}

} // namespace

int runEdit(const QStringList &args)
{
    if (args.size() < 2)
        return kExitUsage;
    try {
        TXLSFile book;
        book.open(args[0]);
        bool formulasOnly = false;
        for (int pos = 2; pos < args.size();)
            if (!apply(book, args, pos, formulasOnly))
                return kExitUsage;
        book.save(args[1]);
    } catch (const Error &e) {
        printError(e.text());
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace kasovka::xls
