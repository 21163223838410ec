#include "filter/FilterValidation.h"

#include "filter/TReportFilter.h"

namespace kasovka {

namespace {

bool isUsableDate(const std::optional<TDateTime> &date)
{
    return date && isValidSerial(*date) && !isZeroDate(*date);
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
                               "\"za období\" vypněte."),
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
