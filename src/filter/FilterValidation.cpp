#include "filter/FilterValidation.h"

#include "core/DateConvention.h"
#include "filter/TReportFilter.h"

namespace kasovka {

namespace {

bool isUsableDate(const std::optional<TDateTime> &date)
{
    return date && isValidSerial(*date) && !isZeroDate(*date);
}

QString shownDate(const std::optional<TDateTime> &date, const QString &typed)
{
    return typed.trimmed().isEmpty() && isUsableDate(date) ? formatShortDate(*date, programLocale())
                                                           : typed.trimmed();
}

// Which date is wrong, and how: a short year ("31.3.24") reads as no date.
QString dateDetail(const FilterEntries &e)
{
    const auto unusable = [](const char *which, const QString &typed) {
        if (typed.trimmed().isEmpty())
            return QStringLiteral("Datum %1 není vyplněno.").arg(QLatin1String(which));
        return QStringLiteral("Datum %1 „%2“ nemá platný tvar d.M.rrrr (například 31.3.2024).")
            .arg(QLatin1String(which), typed.trimmed());
    };
    if (!isUsableDate(e.periodFrom))
        return unusable("od", e.fromText);
    if (!isUsableDate(e.periodTo))
        return unusable("do", e.toText);
    return QStringLiteral("Datum od %1 je pozdější než datum do %2.")
        .arg(shownDate(e.periodFrom, e.fromText), shownDate(e.periodTo, e.toText));
}

} // namespace

Currency minimumVersionForAddressGroups()
{
    return Currency::fromRaw(110600); // 11.06
}

std::optional<FilterRejection> validateFilterEntries(const FilterEntries &entries,
                                                     Currency hostVersion)
{
    if (entries.periodOn) {
        const bool datesUsable = isUsableDate(entries.periodFrom) && isUsableDate(entries.periodTo);
        // Whole days: a date box never carries a time, and a stray fraction
        // must not turn equal days into a reversed period.
        if (!datesUsable || datePart(*entries.periodTo) < datePart(*entries.periodFrom)) {
            return FilterRejection{
                QStringLiteral("Datum nemá platný formát, nebo není vyplněn, nebo je datum OD "
                               "vyšší než datum DO. Nastavte správné hodnoty, případně filtr "
                               "\"za období\" vypněte.\n\n")
                    + dateDetail(entries),
                MessageKind::Warning};
        }
    }
    if (entries.groupKind == sgkFirmByAddress && hostVersion < minimumVersionForAddressGroups()) {
        return FilterRejection{
            QStringLiteral("Sumovat deník podle \"firem dle čísla adresy\" je možné ve verzi "
                           "účetního systému 11.060 nebo vyšší."),
            MessageKind::Information};
    }
    return std::nullopt;
}

} // namespace kasovka
