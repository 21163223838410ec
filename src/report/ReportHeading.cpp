#include "report/ReportHeading.h"

#include "app/TBaseApplication.h"
#include "core/DateTime.h"
#include "filter/TReportFilter.h"
#include "report/TPenDenReport.h"

namespace kasovka {

namespace {

// The day-serial form the template's date cells use as well.
QString dayText(const QDate &day)
{
    return day.toString(QStringLiteral("d.M.yyyy"));
}

QString periodText(const QDate &first, const QDate &last)
{
    return dayText(first) + QStringLiteral(" – ") + dayText(last);
}

// What one group key is, by the kind of summation groups: a row with an
// empty key then reads as a document without a centre, contract, ...
QString groupColumnTitle(quint8 kind)
{
    static const char *const titles[] = {"", "Středisko", "Zakázka", "Činnost", "IČO", "Číslo adresy",
                                         "Uživatel", "Účetní pohyb"};
    return kind <= LastSummationGroupKind ? QString::fromUtf8(titles[kind]) : QString();
}

} // namespace

TReportHeading reportHeading(const TPenDenReport &report)
{
    const TReportFilter &filter = report.Filter();
    const TBaseApplication &app = report.Application();
    TReportHeading heading;
    heading.reportName = report.ReportName();
    heading.agenda = app.AgendaCode();
    heading.hasGroups = filter.VertikalniDeleni != sgkNone;
    heading.groupKind = TReportFilter::SummationGroupKindName(filter.VertikalniDeleni, GroupKindCaptionForm);
    heading.groupColumn = groupColumnTitle(filter.VertikalniDeleni);
    heading.firm = readFirmIdentity(app);

    // Without year settings the last day of the year is day 1 of the serial
    // calendar: no year to name then.
    const TDateTime yearEnd = app.FiscalYearTo();
    QDate first, last;
    if (isValidSerial(yearEnd) && toQDate(yearEnd).year() > 1900) {
        last = toQDate(yearEnd);
        first = last.addYears(-1).addDays(1);
        heading.year = first.year() == last.year()
                           ? QString::number(last.year())
                           : QStringLiteral("%1/%2").arg(first.year()).arg(last.year());
    }
    if (filter.ZaObdobi)
        heading.period = periodText(toQDate(filter.ObdobiOD), toQDate(filter.ObdobiDO));
    else if (last.isValid())
        heading.period = periodText(first, last);
    else
        heading.period = QStringLiteral("celý účetní rok");
    return heading;
}

DocumentInfo documentInfo(const TReportHeading &heading, const QString &kind)
{
    DocumentInfo info;
    info.title = heading.reportName.isEmpty() ? kind : kind + QStringLiteral(" – ") + heading.reportName;
    info.author = heading.firm.name;
    info.subject = info.title + QStringLiteral(", období ") + heading.period;
    return info;
}

} // namespace kasovka
