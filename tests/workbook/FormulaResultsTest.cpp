// Stored formula results: one table row per formula, evaluated on a small
// sheet whose column A holds 1.1, 2.2, a text, a blank, the formula under
// test, =A1+A2 and a formula that refers to itself.

#include "workbook/FormulaResults.h"
#include "workbook/WorkSheet.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kasovka;

namespace {

constexpr int kTested = 4;

void put(TWorkSheet &sheet, int row, Cell cell)
{
    sheet.rowForWrite(row).cells.push_back(std::move(cell));
}

Cell number(double v)
{
    Cell c;
    c.setNumber(v);
    return c;
}

Cell formula(const char *hex)
{
    auto f = std::make_unique<FormulaData>();
    f->rgce = QByteArray::fromHex(hex);
    Cell c;
    c.setFormula(std::move(f));
    return c;
}

std::optional<double> resultAt(const TWorkSheet &sheet, int row)
{
    for (const FormulaResult &r : formulaResults(sheet))
        if (r.row == row && r.column == 0)
            return r.value;
    ADD_FAILURE() << "no formula in row " << row;
    return std::nullopt;
}

struct ResultCase {
    const char *what, *hex;
    std::optional<double> expected;
};

// Refs: 2400000000 = A1, 2401000000 = A2, 2402000000 = A3 (text),
// 2403000000 = A4 (blank), 2405000000 = A6, 2406000000 = A7.
const ResultCase kCases[] = {
    {"a sum of binary fractions is the amount", "2400000000" "2401000000" "03", 3.3},
    {"SUM of an area skips text and blanks", "250000030000000000" "19100000", 3.3},
    {"SUM of several arguments", "2400000000" "1e0200" "22020400", 3.1},
    {"a blank counts as 0", "2403000000" "1e0200" "03", 2},
    {"minus and percent", "2400000000" "13" "1e3200" "14" "05", -0.55},
    {"a minus zero is stored as 0", "1e0000" "13", 0.0},
    {"through another formula", "2405000000" "1e0100" "04", 2.3},
    {"a division keeps its digits", "1e0100" "1e0300" "06", 1.0 / 3},
    {"text outside a SUM", "2400000000" "2402000000" "03", std::nullopt},
    {"division by zero", "2400000000" "2403000000" "06", std::nullopt},
    {"a formula that refers to itself", "2406000000", std::nullopt},
    {"a function it does not know (MAX)", "2400000000" "22010700", std::nullopt},
    {"a string constant", "1702006162", std::nullopt},
    {"two values left over", "2400000000" "2401000000", std::nullopt},
    {"tokens cut short", "24000000", std::nullopt},
};

} // namespace

TEST(FormulaResults, StoredForWhatReportsUseAndNoneForTheRest)
{
    for (const ResultCase &c : kCases) {
        TWorkSheet sheet;
        put(sheet, 0, number(1.1));
        put(sheet, 1, number(2.2));
        Cell text;
        text.setText(0);
        put(sheet, 2, std::move(text));
        put(sheet, kTested, formula(c.hex));
        put(sheet, 5, formula("2400000000" "2401000000" "03"));
        put(sheet, 6, formula("2406000000"));

        const std::optional<double> got = resultAt(sheet, kTested);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.what;
        if (got) {
            EXPECT_EQ(*got, *c.expected) << c.what; // exact: amounts must not drift
            EXPECT_EQ(std::signbit(*got), std::signbit(*c.expected)) << c.what;
        }
    }
}

// Each row refers to the one below it, so evaluating the first row walks
// the whole column; the chain must neither overflow the stack nor give
// wrong results where it is evaluated.
TEST(FormulaResults, ALongChainOfReferencesEndsSafely)
{
    constexpr int kRows = 60000;
    TWorkSheet sheet;
    for (int row = 0; row + 1 < kRows; ++row) {
        const int below = row + 1;
        char hex[32];
        std::snprintf(hex, sizeof hex, "24%02x%02x0000" "1e0100" "03", below & 0xFF, below >> 8);
        put(sheet, row, formula(hex));
    }
    put(sheet, kRows - 1, number(0.5));

    const std::vector<FormulaResult> results = formulaResults(sheet);
    ASSERT_EQ(results.size(), size_t(kRows - 1));
    for (const FormulaResult &r : results)
        if (r.value)
            EXPECT_EQ(*r.value, kRows - 1 - r.row + 0.5) << "row " << r.row;
    EXPECT_TRUE(results.back().value.has_value());
}
