#pragma once
// The two checks a filter's entries must pass before a report is built from
// them, shared by the filter dialog and the command-line tool.

#include "app/UiServices.h"
#include "core/Currency.h"
#include "core/DateTime.h"

#include <QString>

#include <optional>

namespace kasovka {

// The entries as the user gave them. A date that is missing or could not be
// read is nullopt; a zero date counts as missing.
struct FilterEntries {
    bool periodOn = false;
    std::optional<TDateTime> periodFrom;
    std::optional<TDateTime> periodTo;
    int groupKind = 0;
    // The dates as typed, for the message; empty: the dates above are shown.
    QString fromText, toText;
};

// A refusal: the text and the kind of message box it is shown in.
struct FilterRejection {
    QString message;
    MessageKind kind;
};

// The lowest host version that can sum by address number (11.060).
Currency minimumVersionForAddressGroups();

// nullopt when the entries may be copied into the filter; otherwise the
// message of the first rule they break. The dates' message ends with a line
// that names the date at fault.
std::optional<FilterRejection> validateFilterEntries(const FilterEntries &entries,
                                                     Currency hostVersion);

} // namespace kasovka
