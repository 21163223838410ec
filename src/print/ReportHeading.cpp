// The header texts of a report's pages and the column descriptions built
// from the grids' titles.

#include "app/TBaseApplication.h"
#include "core/DateTime.h"
#include "filter/TReportFilter.h"
#include "print/ReportPrint.h"
#include "report/TPenDenReport.h"

#include <QLocale>

namespace kasovka::print {

namespace {

QString periodText(const TReportFilter &filter)
{
    if (!filter.ZaObdobi)
        return QStringLiteral("Období: celý účetní rok");
    const QLocale locale = QLocale::system();
    return QStringLiteral("Období: %1 – %2")
        .arg(formatShortDate(filter.ObdobiOD, locale), formatShortDate(filter.ObdobiDO, locale));
}

// The accounting year is the year its last day falls in.
QString yearText(const TBaseApplication &app)
{
    int year = 0, month = 0, day = 0;
    decodeDate(app.FiscalYearTo(), year, month, day);
    return year > 0 ? QString::number(year) : QString();
}

} // namespace

PageHeading reportHeading(const TPenDenReport &report, const QString &title, const QDateTime &printed)
{
    const TBaseApplication &app = report.Application();
    PageHeading heading;
    heading.title = report.ReportName().isEmpty() ? title : title + QStringLiteral(" – ") + report.ReportName();
    heading.agenda = QStringLiteral("Agenda: %1     Účetní rok: %2").arg(app.AgendaCode(), yearText(app));
    heading.period = periodText(report.Filter());
    heading.printed = printed;
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
