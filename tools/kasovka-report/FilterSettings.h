#pragma once
// Setting one filter field from the command line: "--set KEY=VALUE".

#include <QString>

namespace kasovka {

class TReportFilter;

// Sets the field named `key` (letter case ignored) from `value`: dates as
// YYYY-MM-DD or the program's short date text (empty: no date), Booleans 0
// or 1, the kinds and orders as their numbers within range, texts as they
// are. Returns an error text, or an empty text when the field was set.
QString setFilterField(TReportFilter &filter, const QString &key, const QString &value);

} // namespace kasovka
