#include "core/DisplayFormat.h"
#include "core/Error.h"
#include "core/Variant.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace kasovka;

namespace {

const QLocale Czech(QLocale::Czech, QLocale::CzechRepublic);
const QLocale English(QLocale::English, QLocale::UnitedStates);

TEST(VariantConversion, SensibleConversionsBetweenKinds)
{
    EXPECT_EQ(Variant(12).toCurrency(), Currency::fromInt(12));
    EXPECT_EQ(Variant(u"12.5").toCurrency().raw(), 125000);
    EXPECT_EQ(Variant(u" -3 ").toInt(), -3);
    EXPECT_EQ(Variant(2.5).toInt(), 3);
    EXPECT_EQ(Variant(-2.5).toInt(), -3);
    EXPECT_EQ(Variant(Currency::fromRaw(25000)).toInt(), 3);
    EXPECT_EQ(Variant(Currency::fromRaw(-24999)).toInt(), -2);
    EXPECT_DOUBLE_EQ(Variant::fromDate(45351.75).toDouble(), 45351.75);
    EXPECT_EQ(Variant::fromDate(45351.75).toInt(), 45351);
    EXPECT_EQ(Variant(u"2024-02-29").toDate(), 45351.0);
    EXPECT_EQ(Variant(45351).toDate(), 45351.0);
    EXPECT_EQ(Variant(true).toInt(), 1);
    EXPECT_EQ(Variant(u"Ano").toBool(), true);
    EXPECT_EQ(Variant(u"false").toBool(), false);
    EXPECT_EQ(Variant(u"0").toBool(), false);
    EXPECT_EQ(Variant(Currency::fromRaw(1)).toBool(), true);
    EXPECT_DOUBLE_EQ(Variant(u"1.25").toDouble(), 1.25);
}

TEST(VariantConversion, EmptyReadsAsZeroOfEveryKind)
{
    const Variant empty;
    EXPECT_EQ(empty.isEmpty(), true);
    EXPECT_EQ(empty.toText(), QString());
    EXPECT_EQ(empty.toInt(), 0);
    EXPECT_EQ(empty.toCurrency(), Currency());
    EXPECT_EQ(empty.toBool(), false);
    EXPECT_EQ(empty.toDate(), 0.0);
}

TEST(VariantConversion, TextForms)
{
    EXPECT_EQ(Variant(qint64(-42)).toText(), QStringLiteral("-42"));
    EXPECT_EQ(Variant(0.1).toText(), QStringLiteral("0.1"));
    EXPECT_EQ(Variant(Currency::fromRaw(-15005000)).toText(), QStringLiteral("-1500.5"));
    EXPECT_EQ(Variant(true).toText(), QStringLiteral("True"));
    EXPECT_EQ(Variant::fromDate(45351.75).toText(), QStringLiteral("2024-02-29T18:00:00"));
    EXPECT_EQ(Variant("Přehled").toText(), QStringLiteral("Přehled")) << "a literal is text, not a Boolean";
    EXPECT_EQ(Variant("Přehled").kind(), Variant::Kind::Text);
}

TEST(VariantConversion, ValuesThatDoNotConvertThrowWithTheValueInTheText)
{
    struct Row {
        const char *name;
        std::function<void()> convert;
    };
    const Row rows[] = {
        {"abc to integer", [] { Variant(u"abc").toInt(); }},
        {"empty text to integer", [] { Variant(u"").toInt(); }},
        {"12.5 to integer", [] { Variant(u"12.5").toInt(); }},
        {"decimal comma to currency", [] { Variant(u"12,5").toCurrency(); }},
        {"abc to currency", [] { Variant(u"abc").toCurrency(); }},
        {"maybe to bool", [] { Variant(u"maybe").toBool(); }},
        {"text to date", [] { Variant(u"7.3.2026").toDate(); }},
        {"bool to date", [] { Variant(true).toDate(); }},
        {"NaN to integer", [] { Variant(std::numeric_limits<double>::quiet_NaN()).toInt(); }},
        {"huge float to currency", [] { Variant(1e300).toCurrency(); }},
        {"huge integer to currency", [] { Variant(std::numeric_limits<qint64>::max()).toCurrency(); }},
        {"x to float", [] { Variant(u"x").toDouble(); }},
    };
    for (const Row &row : rows)
        EXPECT_THROW(row.convert(), Error) << row.name;
    try {
        Variant(u"abc").toInt();
        FAIL() << "no exception";
    } catch (const Error &e) {
        EXPECT_EQ(e.text(), QStringLiteral("Hodnotu \"abc\" (text) nelze převést na celé číslo."));
    }
}

TEST(VariantEquality, SameKindAndValue)
{
    EXPECT_EQ(Variant(1), Variant(qint64(1)));
    EXPECT_NE(Variant(1), Variant(1.0));
    EXPECT_NE(Variant(1), Variant(Currency::fromInt(1)));
    EXPECT_EQ(Variant(), Variant());
    EXPECT_NE(Variant(), Variant(u""));
    EXPECT_EQ(Variant(u"a"), Variant(QStringLiteral("a")));
    EXPECT_NE(Variant(u"a"), Variant(u"A"));
    EXPECT_NE(Variant::fromDate(1.0), Variant(1.0));
}

TEST(DisplayFormatForDecimals, FormatPerDecimals)
{
    const std::pair<int, const char *> rows[] = {
        {0, "# ### ### ##0"},         {1, "# ### ### ##0.0"},   {2, "# ### ### ##0.00"},
        {3, "# ### ### ##0.000"},     {4, "# ### ### ##0.0000"}, {5, "# ### ### ##0.00"},
        {7, "# ### ### ##0.00"},      {-1, "# ### ### ##0.00"},
    };
    for (const auto &[decimals, format] : rows)
        EXPECT_EQ(DisplayFormatForDecimals(decimals), QString::fromLatin1(format)) << decimals;
}

TEST(FormatAmount, CzechLocaleTable)
{
    struct Row {
        qint64 raw;
        int decimals;
        const char16_t *expected;
    };
    const Row rows[] = {
        {0, 2, u"0,00"},
        {15005000, 2, u"1 500,50"},
        {-15005000, 2, u"-1 500,50"},
        {12345678901234, 2, u"1 234 567 890,12"},
        {12345678901234, 0, u"1 234 567 890"},
        {9990000, 0, u"999"},
        {10000000, 0, u"1 000"},
        {125, 2, u"0,01"},        // 0.0125 -> 0.01
        {150, 2, u"0,02"},        // 0.015 rounds away from zero
        {-150, 2, u"-0,02"},
        {-49, 2, u"0,00"},        // rounds to zero: no minus
        {5000, 0, u"1"},
        {-5000, 0, u"-1"},
        {12345, 4, u"1,2345"},
        {12345, 3, u"1,235"},
        {12345, 1, u"1,2"},
        {std::numeric_limits<qint64>::max(), 4, u"922 337 203 685 477,5807"},
        {std::numeric_limits<qint64>::min(), 4, u"-922 337 203 685 477,5808"},
        {12345678901234567, 2, u"1 234 567 890 123,46"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(formatAmount(Currency::fromRaw(row.raw), DisplayFormatForDecimals(row.decimals), Czech),
                  QString::fromUtf16(row.expected))
            << row.raw << " / " << row.decimals;
    }
}

TEST(FormatAmount, LocaleDecidesTheMarkOnly)
{
    const Currency amount = Currency::fromRaw(-12345678900);
    EXPECT_EQ(formatAmount(amount, DisplayFormatForDecimals(2), English), QStringLiteral("-1 234 567.89"));
    EXPECT_EQ(formatAmount(amount, QString(), Czech), QStringLiteral("-1234567,89"));
}

TEST(FormatAmount, OtherPatterns)
{
    const Currency amount = Currency::fromRaw(15000);
    EXPECT_EQ(formatAmount(amount, QStringLiteral("0.##"), Czech), QStringLiteral("1,5"));
    EXPECT_EQ(formatAmount(Currency::fromInt(2), QStringLiteral("0.##"), Czech), QStringLiteral("2"));
    EXPECT_EQ(formatAmount(amount, QStringLiteral("000.00"), Czech), QStringLiteral("001,50"));
    EXPECT_EQ(formatAmount(Currency::fromRaw(5000), QStringLiteral("#.00"), Czech), QStringLiteral("0,50"));
    EXPECT_EQ(decimalsOfFormat(QStringLiteral("# ##0.000")), 3);
    EXPECT_EQ(decimalsOfFormat(QStringLiteral("# ##0")), 0);
}

} // namespace
