#include "core/DateTime.h"

#include "core/DateConvention.h"

#include "core/Error.h"

#include <cmath>

namespace kasovka {

namespace {

constexpr qint64 MsecsPerDay = 86400000;
// Serials of 1 January 0001 and 31 December 9999.
constexpr double MinSerial = -693593.0;
constexpr double MaxSerial = 2958466.0; // exclusive: the day after 9999-12-31

QDate epoch()
{
    return QDate(1899, 12, 30);
}

// The time of day in whole milliseconds, kept below one day.
qint64 timeMsecs(TDateTime serial)
{
    qint64 ms = qint64(std::llround(timePart(serial) * double(MsecsPerDay)));
    return ms >= MsecsPerDay ? MsecsPerDay - 1 : ms;
}

// Combines a day number and a time fraction the host's way: before day 0
// the time is subtracted, so the integral part stays the day.
TDateTime combine(qint64 days, double fraction)
{
    return days < 0 ? double(days) - fraction : double(days) + fraction;
}

int parseDigits(QStringView text, qsizetype from, qsizetype count, bool &ok)
{
    int value = 0;
    if (from + count > text.size()) {
        ok = false;
        return 0;
    }
    for (qsizetype i = from; i < from + count; ++i) {
        if (!text[i].isDigit() || text[i].unicode() > u'9') {
            ok = false;
            return 0;
        }
        value = value * 10 + (text[i].unicode() - u'0');
    }
    return value;
}

// The order of day, month and year in a numeric date format, or empty when
// the format has other fields (month names, weekdays).
QString fieldOrder(const QString &format)
{
    QString order;
    bool quoted = false;
    int run = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            continue;
        run = (i > 0 && format[i - 1] == c) ? run + 1 : 1;
        if ((c == u'd' || c == u'M') && run > 2)
            return QString(); // day or month names
        const QChar lower = c.toLower();
        if ((c == u'd' || c == u'M' || c == u'y') && !order.endsWith(lower))
            order += lower;
    }
    return order;
}

} // namespace

TDateTime encodeDate(int year, int month, int day)
{
    const QDate date(year, month, day);
    if (!date.isValid() || year < 1 || year > 9999)
        throw Error(QStringLiteral("Neplatné datum %1.%2.%3.").arg(day).arg(month).arg(year));
    return fromQDate(date);
}

TDateTime encodeTime(int hour, int minute, int second, int msec)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59
        || msec < 0 || msec > 999)
        throw Error(QStringLiteral("Neplatný čas %1:%2:%3.").arg(hour).arg(minute).arg(second));
    const qint64 ms = ((qint64(hour) * 60 + minute) * 60 + second) * 1000 + msec;
    return double(ms) / double(MsecsPerDay);
}

void decodeDate(TDateTime serial, int &year, int &month, int &day)
{
    const QDate date = toQDate(serial);
    if (!date.isValid()) {
        year = month = day = 0;
        return;
    }
    date.getDate(&year, &month, &day);
}

bool isValidSerial(TDateTime serial)
{
    return std::isfinite(serial) && serial > MinSerial - 1.0 && serial < MaxSerial;
}

QDate toQDate(TDateTime serial)
{
    if (!isValidSerial(serial))
        return QDate();
    return epoch().addDays(qint64(datePart(serial)));
}

TDateTime fromQDate(const QDate &date)
{
    if (!date.isValid())
        return 0.0;
    return double(epoch().daysTo(date));
}

QDateTime toQDateTime(TDateTime serial)
{
    const QDate date = toQDate(serial);
    if (!date.isValid())
        return QDateTime();
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(timeMsecs(serial))));
}

TDateTime fromQDateTime(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return 0.0;
    const qint64 days = epoch().daysTo(dateTime.date());
    const double fraction = double(dateTime.time().msecsSinceStartOfDay()) / double(MsecsPerDay);
    return combine(days, fraction);
}

TDateTime datePart(TDateTime serial)
{
    return std::trunc(serial);
}

TDateTime timePart(TDateTime serial)
{
    return std::fabs(serial - std::trunc(serial));
}

bool isZeroDate(TDateTime serial)
{
    return datePart(serial) == 0.0;
}

QString shortDateFormat(const QLocale &locale)
{
    // Czech dates as bookkeepers write them and the headings show periods
    // ("1.1.2024"), not the locale data's "dd.MM.yy".
    if (locale.language() == QLocale::Czech)
        return QStringLiteral("d.M.yyyy");
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u'y') {
            result += c;
            continue;
        }
        while (i + 1 < format.size() && format[i + 1] == u'y')
            ++i;
        result += QStringLiteral("yyyy");
    }
    // A separator of several characters (". ") is cut to one, as the program
    // types and shows dates compactly.
    return NormalizeDateConvention(DateSeparatorOf(result), result).shortDateFormat;
}

QString formatShortDate(TDateTime serial, const QLocale &locale)
{
    if (isZeroDate(serial))
        return QString();
    const QDate date = toQDate(serial);
    if (!date.isValid())
        return QString();
    return locale.toString(date, shortDateFormat(locale));
}

std::optional<TDateTime> parseShortDate(QStringView text, const QLocale &locale)
{
    const QString format = shortDateFormat(locale);
    const QString order = fieldOrder(format);
    const QString trimmed = text.trimmed().toString();
    if (order.size() != 3) {
        const QDate date = locale.toDate(trimmed, format);
        return date.isValid() ? std::optional<TDateTime>(fromQDate(date)) : std::nullopt;
    }
    // Three digit runs separated by single non-digit characters.
    QList<QStringView> parts;
    qsizetype start = 0;
    const QStringView view(trimmed);
    for (qsizetype i = 0; i <= view.size(); ++i) {
        if (i == view.size() || !(view[i] >= u'0' && view[i] <= u'9')) {
            if (i == start)
                return std::nullopt;
            parts.append(view.mid(start, i - start));
            start = i + 1;
        }
    }
    if (parts.size() != 3)
        return std::nullopt;
    int day = 0, month = 0, year = 0;
    for (int k = 0; k < 3; ++k) {
        const QStringView part = parts[k];
        const int value = part.toInt();
        if (order[k] == u'y') {
            if (part.size() != 4)
                return std::nullopt;
            year = value;
        } else if (part.size() > 2) {
            return std::nullopt;
        } else if (order[k] == u'd') {
            day = value;
        } else {
            month = value;
        }
    }
    const QDate date(year, month, day);
    if (!date.isValid() || year < 1)
        return std::nullopt;
    return fromQDate(date);
}

QString formatIsoDate(TDateTime serial)
{
    if (!isValidSerial(serial))
        return QString();
    qint64 days = qint64(datePart(serial));
    qint64 seconds = std::llround(timePart(serial) * 86400.0);
    if (seconds >= 86400) { // rounding reached midnight: the next day
        seconds = 0;
        days += serial < 0 ? -1 : 1;
    }
    const QDate date = epoch().addDays(days);
    QString text = date.toString(u"yyyy-MM-dd");
    if (seconds > 0)
        text += u'T' + QTime::fromMSecsSinceStartOfDay(int(seconds * 1000)).toString(u"HH:mm:ss");
    return text;
}

std::optional<TDateTime> parseIsoDate(QStringView text)
{
    text = text.trimmed();
    bool ok = true;
    const int year = parseDigits(text, 0, 4, ok);
    const int month = parseDigits(text, 5, 2, ok);
    const int day = parseDigits(text, 8, 2, ok);
    if (!ok || text[4] != u'-' || text[7] != u'-')
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid() || year < 1)
        return std::nullopt;
    const qint64 days = epoch().daysTo(date);
    if (text.size() == 10)
        return double(days);
    if (text[10] != u'T' && text[10] != u' ')
        return std::nullopt;
    const std::optional<TDateTime> time = parseIsoTime(text.mid(11));
    if (!time)
        return std::nullopt;
    return combine(days, *time);
}

QString formatIsoTime(TDateTime serial)
{
    if (!std::isfinite(serial))
        return QString();
    qint64 seconds = std::llround(timePart(serial) * 86400.0);
    if (seconds >= 86400)
        seconds = 86399;
    return QTime::fromMSecsSinceStartOfDay(int(seconds * 1000)).toString(u"HH:mm:ss");
}

std::optional<TDateTime> parseIsoTime(QStringView text)
{
    text = text.trimmed();
    const qsizetype colon = text.indexOf(u':');
    if (colon < 1 || colon > 2)
        return std::nullopt;
    bool ok = true;
    const int hour = parseDigits(text, 0, colon, ok);
    const int minute = parseDigits(text, colon + 1, 2, ok);
    int second = 0;
    int msec = 0;
    qsizetype pos = colon + 3;
    if (ok && pos < text.size()) {
        if (text[pos] != u':')
            return std::nullopt;
        second = parseDigits(text, pos + 1, 2, ok);
        pos += 3;
        if (ok && pos < text.size()) {
            if (text[pos] != u'.' || pos + 1 >= text.size() || text.size() - pos - 1 > 3)
                return std::nullopt;
            const qsizetype digits = text.size() - pos - 1;
            msec = parseDigits(text, pos + 1, digits, ok);
            for (qsizetype i = digits; i < 3; ++i)
                msec *= 10;
        }
    }
    if (!ok || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return encodeTime(hour, minute, second, msec);
}

} // namespace kasovka
