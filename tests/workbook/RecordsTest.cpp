// Record-level pieces: RK numbers and the shared string table across
// CONTINUE records.

#include "workbook/detail/Rk.h"
#include "workbook/detail/SharedStrings.h"

#include "WorkbookTestSupport.h"

#include <cmath>
#include <limits>

using namespace kasovka;
using namespace kasovka::detail;
using namespace kasovka::test;

namespace {

TEST(Rk, EncodesOnlyWhatDecodesExactly)
{
    struct Case {
        double value;
        bool hasRk;
    };
    const Case cases[] = {
        {0, true}, {1, true}, {-1, true}, {536870911, true}, {-536870912, true},
        {536870912, true},  // no longer an integer RK, but a short double
        {1.25, true},       // 125 / 100
        {0.01, true},       // 1 / 100
        {123456.78, true},  // 12345678 / 100
        {0.5, true},        // double whose low bits are zero
        {0.1, true},        // 10 / 100 rounds to the same double
        {0.001, false},     // needs all 64 bits
        {1.0 / 3, false},
        {-0.0, false},      // the sign would be lost
        {std::numeric_limits<double>::quiet_NaN(), false},
        {std::numeric_limits<double>::infinity(), false},
    };
    for (const Case &c : cases) {
        const auto rk = doubleToRk(c.value);
        EXPECT_EQ(rk.has_value(), c.hasRk) << c.value;
        if (rk) {
            EXPECT_EQ(rkToDouble(*rk), c.value) << c.value;
        }
    }
}

TEST(Rk, DecodesTheFourForms)
{
    EXPECT_EQ(rkToDouble(0x3FF00000u), 1.0);       // double
    EXPECT_EQ(rkToDouble(0x3FF00001u), 0.01);      // double / 100
    EXPECT_EQ(rkToDouble((5u << 2) | 2), 5.0);     // integer
    EXPECT_EQ(rkToDouble((uint32_t(-7) << 2) | 3), -0.07); // integer / 100
}

// Parses what appendSst wrote (the SST and its CONTINUE records).
std::vector<SstString> readBack(const QByteArray &stream)
{
    auto records = readRecords(stream, QStringLiteral("bad"));
    EXPECT_GE(records.size(), 2u);
    EXPECT_EQ(records.front().id, rid::Sst);
    EXPECT_EQ(records.back().id, rid::ExtSst);
    return parseSst(records.front(), QStringLiteral("bad"));
}

TEST(SharedStrings, LongAndRichStringsCrossRecordsIntact)
{
    std::vector<SstString> strings;
    strings.push_back({QString(20000, QChar(u'ř')), {}, {}});         // 16-bit, 5 records
    strings.push_back({QString(9000, QLatin1Char('a')), {}, {}});     // 8-bit, split
    strings.push_back({QStringLiteral("tučně"), QByteArray::fromHex("0000010002000000"), {}});
    strings.push_back({QStringLiteral("ルビ"), {}, QByteArray(30, '\x07')});
    for (int i = 0; i < 3000; ++i)
        strings.push_back({QStringLiteral("řádek %1").arg(i), {}, {}});
    std::vector<const SstString *> pointers;
    for (const auto &s : strings)
        pointers.push_back(&s);
    QByteArray stream;
    appendSst(stream, pointers, 5000, 0);
    const auto back = readBack(stream);
    ASSERT_EQ(back.size(), strings.size());
    for (size_t i = 0; i < strings.size(); ++i) {
        EXPECT_EQ(back[i].text, strings[i].text) << i;
        EXPECT_EQ(back[i].runs, strings[i].runs) << i;
        EXPECT_EQ(back[i].ext, strings[i].ext) << i;
    }
}

TEST(SharedStrings, ExtSstPointsAtBucketStarts)
{
    std::vector<SstString> strings;
    for (int i = 0; i < 2000; ++i)
        strings.push_back({QString(i % 50 + 1, QLatin1Char('x')), {}, {}});
    std::vector<const SstString *> pointers;
    for (const auto &s : strings)
        pointers.push_back(&s);
    QByteArray stream(100, '\0'); // the table starts 100 bytes into the stream
    appendSst(stream, pointers, 2000, 100);
    const auto records = readRecords(stream.mid(100), QStringLiteral("bad"));
    const QByteArray ext = records.back().data;
    const int perBucket = uint8_t(ext[0]) | (uint8_t(ext[1]) << 8);
    ASSERT_EQ(perBucket, 16);
    // Every bucket's stream position holds the string's length field.
    for (int b = 0; b * perBucket < 2000; ++b) {
        const char *p = ext.constData() + 2 + 8 * b;
        const uint32_t pos = uint8_t(p[0]) | (uint8_t(p[1]) << 8) | (uint8_t(p[2]) << 16);
        const int cch = uint8_t(stream[pos]) | (uint8_t(stream[pos + 1]) << 8);
        EXPECT_EQ(cch, (b * perBucket) % 50 + 1) << b;
    }
}

TEST(SharedStrings, TruncatedTableIsDamage)
{
    BiffRecord sst{rid::Sst, QByteArray::fromHex("0100000001000000050000616263"), {}};
    EXPECT_EQ(errorOf([&] { parseSst(sst, QStringLiteral("damaged")); }), QStringLiteral("damaged"));
}

} // namespace
