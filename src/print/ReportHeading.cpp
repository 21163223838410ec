// The header texts of a report's pages and the column descriptions built
// from the grids' titles.

#include "print/ReportPrint.h"
#include "report/ReportHeading.h"
#include "report/TPenDenReport.h"

namespace kasovka::print {

PageHeading reportHeading(const TPenDenReport &report, const QString &title, const QDateTime &printed)
{
    // The same year and period the exported workbooks name.
    const TReportHeading exported = kasovka::reportHeading(report);
    const DocumentInfo info = documentInfo(exported, title);
    PageHeading heading;
    heading.title = info.title;
    heading.agenda = QStringLiteral("Agenda: %1     Účetní rok: %2").arg(exported.agenda, exported.year);
    // The firm stands before the agenda, so that each sheet says whose
    // books it is.
    if (!exported.firm.isEmpty())
        heading.agenda = exported.firm.line() + QStringLiteral("     ") + heading.agenda;
    heading.period = QStringLiteral("Období: ") + exported.period;
    heading.printed = printed;
    heading.author = info.author;
    heading.subject = info.subject;
    return heading;
}

PrintColumn columnFromTitle(const QString &title)
{
    QStringList lines = title.split(u'\n');
    for (QString &line : lines)
        line = line.trimmed();
    while (lines.size() < 3)
        lines.append(QString());
    PrintColumn column;
    if (lines[1].isEmpty() && lines[2].isEmpty()) {
        column.caption = lines[0];
    } else {
        column.group = lines[0];
        column.caption = lines[1];
        column.number = lines[2];
    }
    return column;
}

} // namespace kasovka::print
