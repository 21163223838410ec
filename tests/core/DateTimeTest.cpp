#include "core/DateTime.h"
#include "core/Error.h"

#include <gtest/gtest.h>

#include <limits>

using namespace kasovka;

namespace {

const QLocale Czech(QLocale::Czech, QLocale::CzechRepublic);
const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);

TEST(DateSerial, KnownDaysMatchTheHostsCalendar)
{
    struct Row {
        int y, m, d;
        double serial;
    };
    const Row rows[] = {
        {1899, 12, 30, 0},     {1899, 12, 31, 1},     {1899, 12, 29, -1},   {1900, 1, 1, 2},
        {1900, 3, 1, 61},      {2000, 2, 29, 36585},  {2000, 3, 1, 36586},  {2024, 2, 29, 45351},
        {2026, 12, 31, 46387}, {1, 1, 1, -693593},    {9999, 12, 31, 2958465},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(encodeDate(row.y, row.m, row.d), row.serial) << row.y << "-" << row.m << "-" << row.d;
        int y = 0, m = 0, d = 0;
        decodeDate(row.serial, y, m, d);
        EXPECT_EQ(QDate(y, m, d), QDate(row.y, row.m, row.d)) << row.serial;
    }
}

TEST(DateSerial, DaysThatDoNotExistAreRejected)
{
    EXPECT_THROW(encodeDate(1900, 2, 29), Error) << "1900 was not a leap year";
    EXPECT_THROW(encodeDate(2025, 2, 29), Error);
    EXPECT_THROW(encodeDate(2026, 4, 31), Error);
    EXPECT_THROW(encodeDate(2026, 13, 1), Error);
    EXPECT_THROW(encodeDate(0, 1, 1), Error);
    EXPECT_NO_THROW(encodeDate(2400, 2, 29));
}

TEST(DateSerial, TimeFractionAndNegativeSerials)
{
    // Before day 0 the time counts away from zero: -1.25 is 29.12.1899 6:00.
    const QDateTime morning(QDate(1899, 12, 29), QTime(6, 0));
    EXPECT_DOUBLE_EQ(fromQDateTime(morning), -1.25);
    EXPECT_EQ(toQDateTime(-1.25), morning);
    EXPECT_EQ(toQDate(-1.25), QDate(1899, 12, 29));
    EXPECT_DOUBLE_EQ(timePart(-1.25), 0.25);
    EXPECT_DOUBLE_EQ(datePart(-1.25), -1.0);

    const QDateTime noon(QDate(2026, 1, 15), QTime(12, 0, 30));
    EXPECT_EQ(toQDateTime(fromQDateTime(noon)), noon);
    EXPECT_DOUBLE_EQ(encodeTime(18, 0, 0), 0.75);
    EXPECT_THROW(encodeTime(24, 0, 0), Error);
}

TEST(DateSerial, InvalidSerialsGiveInvalidDatesNotCrashes)
{
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                          1e300, -1e300, 2958466.0, -693594.0};
    for (double serial : bad) {
        EXPECT_EQ(toQDate(serial).isValid(), false) << serial;
        EXPECT_EQ(formatShortDate(serial, Czech), QString()) << serial;
        EXPECT_EQ(formatIsoDate(serial), QString()) << serial;
        int y = 1, m = 1, d = 1;
        decodeDate(serial, y, m, d);
        EXPECT_EQ(y + m + d, 0);
    }
    EXPECT_EQ(fromQDate(QDate()), 0.0);
}

TEST(DateSerial, ZeroDate)
{
    EXPECT_EQ(isZeroDate(0.0), true);
    EXPECT_EQ(isZeroDate(0.5), true) << "a pure time names no day";
    EXPECT_EQ(isZeroDate(1.0), false);
    EXPECT_EQ(isZeroDate(-1.0), false);
    EXPECT_EQ(formatShortDate(0.0, Czech), QString());
}

TEST(ShortDate, YearIsAlwaysFourDigits)
{
    for (const QLocale &locale : {Czech, English, German, QLocale::c()}) {
        const QString format = shortDateFormat(locale);
        EXPECT_EQ(format.count(u'y'), 4) << format.toStdString();
        const double serial = encodeDate(2026, 3, 7);
        const QString text = formatShortDate(serial, locale);
        EXPECT_EQ(text.contains(QStringLiteral("2026")), true) << text.toStdString();
        EXPECT_EQ(parseShortDate(text, locale), serial) << text.toStdString();
    }
}

TEST(ShortDate, CzechForms)
{
    EXPECT_EQ(formatShortDate(encodeDate(2026, 3, 7), Czech), QStringLiteral("7.3.2026"));
    struct Row {
        const char *text;
        std::optional<double> serial;
    };
    const Row rows[] = {
        {"07.03.2026", encodeDate(2026, 3, 7)},
        {"7.3.2026", encodeDate(2026, 3, 7)},
        {" 31.12.1899 ", 1.0},
        {"29.02.2024", encodeDate(2024, 2, 29)},
        {"29.02.2025", std::nullopt},
        {"07.03.26", std::nullopt}, // a two-digit year would land in year 26
        {"07.03.02026", std::nullopt},
        {"7.3", std::nullopt},
        {"", std::nullopt},
        {"aa.bb.cccc", std::nullopt},
        {"1.2.3.2026", std::nullopt},
        {"123.3.2026", std::nullopt},
        {"07..2026", std::nullopt},
    };
    for (const Row &row : rows)
        EXPECT_EQ(parseShortDate(QString::fromLatin1(row.text), Czech), row.serial) << row.text;
}

TEST(ShortDate, MonthFirstLocale)
{
    EXPECT_EQ(parseShortDate(u"3/7/2026", English), encodeDate(2026, 3, 7));
    EXPECT_EQ(parseShortDate(u"13/7/2026", English), std::nullopt);
}

TEST(IsoDate, FormatsAndParsesBothWays)
{
    EXPECT_EQ(formatIsoDate(encodeDate(2026, 3, 7)), QStringLiteral("2026-03-07"));
    EXPECT_EQ(formatIsoDate(encodeDate(2026, 3, 7) + 0.75), QStringLiteral("2026-03-07T18:00:00"));
    EXPECT_EQ(formatIsoDate(-1.25), QStringLiteral("1899-12-29T06:00:00"));
    // 23:59:59.9 rounds to the next midnight, which belongs to the next day.
    EXPECT_EQ(formatIsoDate(1.0 + 86399.9 / 86400.0), QStringLiteral("1900-01-01"));

    struct Row {
        const char *text;
        std::optional<double> serial;
    };
    const Row rows[] = {
        {"2026-03-07", encodeDate(2026, 3, 7)},
        {"2026-03-07T18:00:00", encodeDate(2026, 3, 7) + 0.75},
        {"2026-03-07 18:00", encodeDate(2026, 3, 7) + 0.75},
        {"1899-12-29T06:00:00", -1.25},
        {"2026-03-07T18:00:00.5", encodeDate(2026, 3, 7) + 0.75 + 0.5 / 86400.0},
        {"2026-02-30", std::nullopt},
        {"2026-3-7", std::nullopt},
        {"2026-03-07T25:00", std::nullopt},
        {"2026-03-07X18:00", std::nullopt},
        {"2026-03-07T18", std::nullopt},
        {"", std::nullopt},
        {"20260307", std::nullopt},
    };
    for (const Row &row : rows) {
        const auto parsed = parseIsoDate(QString::fromLatin1(row.text));
        ASSERT_EQ(parsed.has_value(), row.serial.has_value()) << row.text;
        if (parsed)
            EXPECT_NEAR(*parsed, *row.serial, 1e-9) << row.text;
    }
}

TEST(IsoTime, Forms)
{
    EXPECT_EQ(formatIsoTime(0.75), QStringLiteral("18:00:00"));
    EXPECT_EQ(formatIsoTime(0.999999999), QStringLiteral("23:59:59"));
    EXPECT_EQ(parseIsoTime(u"6:05"), encodeTime(6, 5, 0));
    EXPECT_EQ(parseIsoTime(u"06:05:09"), encodeTime(6, 5, 9));
    EXPECT_EQ(parseIsoTime(u"06:60"), std::nullopt);
    EXPECT_EQ(parseIsoTime(u"06"), std::nullopt);
    EXPECT_EQ(parseIsoTime(u"06:05:09.1234"), std::nullopt);
}

} // namespace

TEST(ShortDate, LongSeparatorIsCutToOneCharacter)
{
    // Slovak conventions write "d. M. yyyy"; the program uses "d.M.yyyy".
    const QLocale slovak(QLocale::Slovak, QLocale::Slovakia);
    const QString format = shortDateFormat(slovak);
    EXPECT_EQ(format.contains(u' '), false) << format.toStdString();
    const double serial = encodeDate(2026, 3, 7);
    EXPECT_EQ(formatShortDate(serial, slovak).contains(u' '), false);
    EXPECT_EQ(parseShortDate(formatShortDate(serial, slovak), slovak), serial);
}
