#include "export/ExportHeading.h"

#include "app/TBaseApplication.h"
#include "core/DateTime.h"
#include "filter/TReportFilter.h"
#include "report/TPenDenReport.h"
#include "template/TemplateDataModule.h"

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

TExportHeading reportHeading(const TPenDenReport &report)
{
    const TReportFilter &filter = report.Filter();
    const TBaseApplication &app = report.Application();
    TExportHeading heading;
    heading.reportName = report.ReportName();
    heading.agenda = app.AgendaCode();
    heading.hasGroups = filter.VertikalniDeleni != sgkNone;
    heading.groupKind = TReportFilter::SummationGroupKindName(filter.VertikalniDeleni, GroupKindCaptionForm);
    heading.groupColumn = groupColumnTitle(filter.VertikalniDeleni);

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

void publishHeading(TTemplateDataModule &module, const TExportHeading &heading)
{
    module.setValue(QStringLiteral("NazevSestavy"), heading.reportName);
    module.setValue(QStringLiteral("Agenda"), heading.agenda);
    module.setValue(QStringLiteral("UcetniRok"), heading.year);
    module.setValue(QStringLiteral("Obdobi"), heading.period);
    // Without groups the captions that would name one are left out: their
    // rows are deleted, the group column's title stays empty.
    QString groups;
    if (heading.hasGroups)
        groups = heading.groupKind.isEmpty() ? QStringLiteral("Sumační skupiny")
                                             : QStringLiteral("Sumační skupiny (%1)").arg(heading.groupKind);
    module.setValue(QStringLiteral("SumacniSkupiny"), groups);
    const QString column = heading.groupColumn.isEmpty() ? QStringLiteral("Sumační skupina") : heading.groupColumn;
    module.setValue(QStringLiteral("SkupinaTitulek"), heading.hasGroups ? column : QString());
    module.setValue(QStringLiteral("SkupinaRadek"),
                    heading.hasGroups ? QString() : QStringLiteral("...delete row..."));
}

} // namespace kasovka
