#pragma once
// Dates as the host stores them: a floating-point day serial, day 0 being
// 30 December 1899, the fraction the time of day. Serials before day 0 carry
// the time as a positive fraction of a negative day: -1.25 is 29 December 1899
// 06:00 (the integral part is the day, the absolute fraction the time).

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringView>

#include <optional>

namespace kasovka {

using TDateTime = double;

/// Serial of a calendar day (proleptic Gregorian); throws Error for a day
/// that does not exist (31 April, 29 February 2025, year 0 ...).
TDateTime encodeDate(int year, int month, int day);
/// Serial of a time of day (fraction of a day); throws Error when invalid.
TDateTime encodeTime(int hour, int minute, int second, int msec = 0);

/// The calendar day of a serial; gives 0/0/0 for NaN and serials outside the
/// years 1..9999.
void decodeDate(TDateTime serial, int &year, int &month, int &day);

/// The day (invalid QDate for NaN or out-of-range serials).
QDate toQDate(TDateTime serial);
/// Day serial of a valid date; an invalid date gives 0.
TDateTime fromQDate(const QDate &date);
/// The day and time, rounded to milliseconds (local time, no zone).
QDateTime toQDateTime(TDateTime serial);
/// Serial of a valid date and time; an invalid one gives 0.
TDateTime fromQDateTime(const QDateTime &dateTime);

/// The whole-day part, with the sign of the serial (trunc).
TDateTime datePart(TDateTime serial);
/// The time of day as a fraction in [0, 1).
TDateTime timePart(TDateTime serial);

/// True when the serial names no day: its day part is 0 (the host's "no
/// date"); a pure time value counts as a zero date.
bool isZeroDate(TDateTime serial);
/// True for a finite serial within the years 1..9999.
bool isValidSerial(TDateTime serial);

/// The locale's short date format with the year forced to four digits
/// ("dd.MM.yy" becomes "dd.MM.yyyy"): a two-digit year would corrupt stored
/// dates.
QString shortDateFormat(const QLocale &locale);
/// The date part in shortDateFormat; a zero date or an invalid serial gives
/// an empty text.
QString formatShortDate(TDateTime serial, const QLocale &locale);
/// Reads a date written in the locale's short format. Leading zeros of day and
/// month may be omitted; the year must have four digits. Anything else
/// (including a two-digit year and non-existent days) gives nullopt.
std::optional<TDateTime> parseShortDate(QStringView text, const QLocale &locale);

/// "YYYY-MM-DD", followed by "THH:MM:SS" when the serial has a time part
/// (rounded to whole seconds). An invalid serial gives an empty text.
QString formatIsoDate(TDateTime serial);
/// Reads "YYYY-MM-DD" with an optional time "THH:MM[:SS[.zzz]]" ("T" or a
/// blank before the time). Anything else gives nullopt.
std::optional<TDateTime> parseIsoDate(QStringView text);

/// "HH:MM:SS" of the time part (rounded to whole seconds, 23:59:59 at most).
QString formatIsoTime(TDateTime serial);
/// Reads "H:MM" or "H:MM:SS[.zzz]" into a fraction of a day.
std::optional<TDateTime> parseIsoTime(QStringView text);

} // namespace kasovka
