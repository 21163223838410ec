#include "report/ReportWarning.h"

#include "core/DisplayFormat.h"

#include <QStringList>

namespace kasovka {

QString paperLine(const ReportWarning &warning, bool withGroups)
{
    QStringList where;
    if (warning.concernsRecord) {
        if (withGroups && warning.groupKey)
            where << QStringLiteral("skupina ") + (warning.groupKey->isEmpty() ? QStringLiteral("bez kódu")
                                                                                : *warning.groupKey);
        if (warning.adjustment)
            where << QStringLiteral("uzávěrková úprava");
        else if (warning.carried)
            where << QStringLiteral("řádek Převedeno");
        else if (warning.row > 0)
            where << QStringLiteral("řádek %1").arg(warning.row);
        if (!warning.document.isEmpty())
            where << QStringLiteral("doklad ") + warning.document;
        else if (warning.journalRecord > 0)
            where << QStringLiteral("záznam deníku č. %1").arg(warning.journalRecord);
        if (!isZeroDate(warning.date))
            where << toQDate(warning.date).toString(QStringLiteral("d.M.yyyy"));
    }
    QString line = where.isEmpty() ? warning.text : where.join(QStringLiteral(", ")) + QStringLiteral(": ") + warning.text;
    if (warning.unposted)
        line += QStringLiteral("; částka %1 není v žádném sloupci")
                    .arg(formatAmount(*warning.unposted, DisplayFormatForDecimals(2), QLocale(QLocale::Czech)));
    if (!line.isEmpty())
        line[0] = line[0].toUpper();
    return line;
}

QStringList paperLines(const std::vector<ReportWarning> &warnings, bool withGroups,
                       const std::optional<QString> &onlyGroupKey)
{
    QStringList lines;
    for (const ReportWarning &warning : warnings) {
        if (onlyGroupKey && warning.groupKey && *warning.groupKey != *onlyGroupKey)
            continue;
        lines << paperLine(warning, withGroups);
    }
    return lines;
}

} // namespace kasovka
