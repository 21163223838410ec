#include "core/Currency.h"
#include "core/Error.h"

#include <gtest/gtest.h>

#include <limits>

using kasovka::Currency;
using kasovka::Error;

namespace {

constexpr qint64 MaxRaw = std::numeric_limits<qint64>::max();
constexpr qint64 MinRaw = std::numeric_limits<qint64>::min();

Currency raw(qint64 value)
{
    return Currency::fromRaw(value);
}

TEST(CurrencyArithmetic, SumsOfManySmallAmountsAreExact)
{
    // 0.1 added ten thousand times drifts in binary floating point.
    Currency sum;
    for (int i = 0; i < 10000; ++i)
        sum += raw(1000);
    EXPECT_EQ(sum, Currency::fromInt(1000));
    sum -= raw(1);
    EXPECT_EQ(sum.toPlainText(), QStringLiteral("999.9999"));
}

TEST(CurrencyArithmetic, ProductsAndQuotientsRoundHalfAwayFromZero)
{
    struct Row {
        const char *name;
        Currency result;
        qint64 expectedRaw;
    };
    const Row rows[] = {
        {"1.0001 * 0.5 = 0.50005 -> 0.5001", raw(10001) * raw(5000), 5001},
        {"-1.0001 * 0.5 -> -0.5001", raw(-10001) * raw(5000), -5001},
        {"1.0001 * 0.4999 = 0.49994999 -> 0.4999", raw(10001) * raw(4999), 4999},
        {"1 / 3 -> 0.3333", Currency::fromInt(1) / Currency::fromInt(3), 3333},
        {"2 / 3 -> 0.6667", Currency::fromInt(2) / Currency::fromInt(3), 6667},
        {"-2 / 3 -> -0.6667", Currency::fromInt(-2) / Currency::fromInt(3), -6667},
        {"2 / -3 -> -0.6667", Currency::fromInt(2) / Currency::fromInt(-3), -6667},
        {"0.0001 / 2 = 0.00005 -> 0.0001", raw(1) / 2, 1},
        {"-0.0001 / 2 -> -0.0001", raw(-1) / 2, -1},
        {"0.0003 / 2 -> 0.0002", raw(3) / 2, 2},
        {"1500.25 * 3", raw(15002500) * 3, 45007500},
        {"21 % VAT of 99.99 = 20.9979", raw(999900) * raw(2100), 209979},
    };
    for (const Row &row : rows)
        EXPECT_EQ(row.result.raw(), row.expectedRaw) << row.name;
}

TEST(CurrencyArithmetic, ProductsBeyondSixtyFourBitsInTheMiddleStillWork)
{
    // 900 000 000 000 * 10 overflows 64 bits before the scale is divided out.
    const Currency big = Currency::fromInt(900'000'000'000);
    EXPECT_EQ(big * Currency::fromInt(10), Currency::fromInt(9'000'000'000'000));
    EXPECT_EQ((big * Currency::fromInt(10)) / Currency::fromInt(10), big);
}

TEST(CurrencyArithmetic, RoundingToFewerDecimals)
{
    EXPECT_EQ(raw(12345).rounded(2).raw(), 12300);
    EXPECT_EQ(raw(12350).rounded(2).raw(), 12400);
    EXPECT_EQ(raw(-12350).rounded(2).raw(), -12400);
    EXPECT_EQ(raw(-12349).rounded(2).raw(), -12300);
    EXPECT_EQ(raw(5000).rounded(0).raw(), 10000);
    EXPECT_EQ(raw(-5000).rounded(0).raw(), -10000);
    EXPECT_EQ(raw(12345).rounded(4).raw(), 12345);
}

TEST(CurrencyOverflow, EveryOperationThatLeavesTheRangeThrows)
{
    EXPECT_THROW(raw(MaxRaw) + raw(1), Error);
    EXPECT_THROW(raw(MinRaw) - raw(1), Error);
    EXPECT_THROW(-raw(MinRaw), Error);
    EXPECT_THROW(raw(MaxRaw) * 2, Error);
    EXPECT_THROW(Currency::fromInt(MaxRaw / 10000 + 1), Error);
    EXPECT_THROW(Currency::fromInt(1'000'000'000'000) * Currency::fromInt(1'000'000'000), Error);
    EXPECT_THROW(Currency::fromInt(MaxRaw / 20000) / raw(1), Error);
    Currency sum = raw(MaxRaw);
    EXPECT_THROW(sum += raw(1), Error);
    EXPECT_EQ(sum.raw(), MaxRaw) << "a failed += leaves the value alone";
    // At the edge the results are still exact.
    EXPECT_EQ((raw(MaxRaw - 1) + raw(1)).raw(), MaxRaw);
    EXPECT_EQ((raw(MinRaw + 1) - raw(1)).raw(), MinRaw);
}

TEST(CurrencyOverflow, DivisionByZeroThrows)
{
    EXPECT_THROW(Currency::fromInt(1) / Currency(), Error);
    EXPECT_THROW(Currency::fromInt(1) / qint64(0), Error);
}

TEST(CurrencyDouble, ConvertsWithRoundingAndRangeCheck)
{
    EXPECT_EQ(Currency::fromDouble(0.1).raw(), 1000);
    EXPECT_EQ(Currency::fromDouble(1.00005).raw(), 10001);
    EXPECT_EQ(Currency::fromDouble(-1.00005).raw(), -10001);
    EXPECT_EQ(Currency::fromDouble(-0.00004).raw(), 0);
    EXPECT_DOUBLE_EQ(raw(-15005000).toDouble(), -1500.5);
    EXPECT_THROW(Currency::fromDouble(1e16), Error);
    EXPECT_THROW(Currency::fromDouble(std::numeric_limits<double>::quiet_NaN()), Error);
    EXPECT_THROW(Currency::fromDouble(-std::numeric_limits<double>::infinity()), Error);
}

TEST(CurrencyText, PlainAndShortForms)
{
    struct Row {
        qint64 raw;
        const char *plain;
        const char *shortText;
    };
    const Row rows[] = {
        {-15005000, "-1500.5000", "-1500.5"},
        {0, "0.0000", "0"},
        {1, "0.0001", "0.0001"},
        {-1, "-0.0001", "-0.0001"},
        {120000, "12.0000", "12"},
        {MinRaw, "-922337203685477.5808", "-922337203685477.5808"},
        {MaxRaw, "922337203685477.5807", "922337203685477.5807"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(raw(row.raw).toPlainText(), QString::fromLatin1(row.plain));
        EXPECT_EQ(raw(row.raw).toShortText(), QString::fromLatin1(row.shortText));
    }
}

struct ParseRow {
    const char16_t *text;
    char16_t separator;
    std::optional<qint64> expectedRaw;
};

class CurrencyParse : public testing::TestWithParam<ParseRow> {};

TEST_P(CurrencyParse, ReadsOrRejects)
{
    const ParseRow &row = GetParam();
    const std::optional<Currency> value = Currency::parse(QString::fromUtf16(row.text), QChar(row.separator));
    if (!row.expectedRaw) {
        EXPECT_EQ(value.has_value(), false) << QString::fromUtf16(row.text).toStdString() << " -> "
                                        << (value ? value->raw() : 0);
        return;
    }
    ASSERT_EQ(value.has_value(), true) << QString::fromUtf16(row.text).toStdString();
    EXPECT_EQ(value->raw(), *row.expectedRaw);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CurrencyParse,
    testing::Values(ParseRow{u"12.5", u'.', 125000}, ParseRow{u"-12.5", u'.', -125000},
                    ParseRow{u"+3", u'.', 30000}, ParseRow{u"  7  ", u'.', 70000},
                    ParseRow{u"12,5", u',', 125000}, ParseRow{u"12.5", u',', 125000},
                    ParseRow{u"12,5", u'.', std::nullopt}, ParseRow{u".5", u'.', 5000},
                    ParseRow{u"5.", u'.', 50000}, ParseRow{u"1 234 567,89", u',', 12345678900},
                    ParseRow{u"1\u00a0234,5", u',', 12345000}, ParseRow{u"0.00005", u'.', 1},
                    ParseRow{u"-0.00005", u'.', -1}, ParseRow{u"0.00004999", u'.', 0},
                    ParseRow{u"1.23456789", u'.', 12346}, ParseRow{u"922337203685477.5807", u'.', MaxRaw},
                    ParseRow{u"-922337203685477.5808", u'.', MinRaw},
                    ParseRow{u"922337203685477.5808", u'.', std::nullopt},
                    ParseRow{u"99999999999999999999999", u'.', std::nullopt},
                    ParseRow{u"", u'.', std::nullopt}, ParseRow{u"   ", u'.', std::nullopt},
                    ParseRow{u"-", u'.', std::nullopt}, ParseRow{u".", u'.', std::nullopt},
                    ParseRow{u"abc", u'.', std::nullopt}, ParseRow{u"12abc", u'.', std::nullopt},
                    ParseRow{u"1.2.3", u'.', std::nullopt}, ParseRow{u"--1", u'.', std::nullopt},
                    ParseRow{u"1 ", u'.', 10000}, ParseRow{u"1 .5", u'.', std::nullopt},
                    ParseRow{u"1e5", u'.', std::nullopt}, ParseRow{u"\u0661\u0662", u'.', std::nullopt}));

} // namespace
