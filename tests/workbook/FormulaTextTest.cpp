// Formula tokens as text, in the cell form and in the listing form, one
// table row per token.

#include "workbook/FormulaText.h"

#include "WorkbookTestSupport.h"

using namespace kasovka;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

FormulaContext context()
{
    FormulaContext c;
    c.sheetPrefix = [](int ixti) -> std::optional<QString> {
        if (ixti == 0)
            return QStringLiteral("'Druhý list'!");
        return std::nullopt; // another workbook
    };
    c.name = [](int index) { return QStringLiteral("Jmeno%1").arg(index); };
    c.row = 9;
    c.column = 2;
    return c;
}

struct TokenCase {
    const char *what, *rgce, *rgcb, *text, *listing;
};

// Token bytes as [MS-XLS] 2.5.198 lays them out; rows and columns from 0.
const TokenCase kTokens[] = {
    {"relative reference", "240200" "03c0", "", "D3", "D3"},
    {"absolute reference", "2402000300", "", "$D$3", "$D$3"},
    {"mixed reference", "2402000340", "", "D$3", "D$3"},
    {"area", "2500000400" "00c001c0", "", "A1:B5", "A1:B5"},
    {"whole column stays whole", "250000ffff00c001c0", "", "A:B", "A1:B65536"},
    {"whole row stays whole", "2500000100" "00c0ffc0", "", "1:2", "A1:IV2"},
    {"operators and parentheses", "1e01001e020003151e03000512", "", "+(1+2)*3", "+(1+2)*3"},
    {"string with a quote", "170300612262", "", "\"a\"\"b\"", "\"a\"b\""},
    {"fixed-argument function", "1f9a9999999999b93f1e020021" "1b00", "", "ROUND(0.1,2)", "0.1 FUNC27(2)"},
    {"variable-argument function", "24000000c0" "24000001c0" "220204" "00", "", "SUM(A1,B1)", "SUM(A1,B1)"},
    {"sum attribute", "250000020000c000c0" "191000" "00", "", "SUM(A1:A3)", "SUM(A1:A3)"},
    {"missing argument", "24000000c0" "16" "1e0100" "220301" "00", "", "IF(A1,,1)", "IF(A1,,1)"},
    {"3-D reference to a quoted sheet", "3a0000010001c0", "", "'Druhý list'!B2", "'Druhý list'!B2"},
    {"defined name", "2302000000", "", "Jmeno2", "NAME2"},
    {"errors and Booleans", "1c071d01" "04", "", "#DIV/0!-TRUE", "#ERR-TRUE"},
    {"array constant", "20" "00000000000000", "010100" "01000000000000f03f" "0201000061" "040100000000000000" "101700000000000000",
     "{1,\"a\";TRUE,#REF!}", "?20"},
    {"relative to its cell", "2cfeff01c0", "", "D8", "?2c"},
    {"deleted 3-D reference", "3c0100010001c0", "", "#REF!", "?3c"},
};

} // namespace

TEST(FormulaText, TokensGiveTheirText)
{
    for (const TokenCase &t : kTokens) {
        try {
            EXPECT_EQ(formulaText(hex(t.rgce), hex(t.rgcb), context(), FormulaTextForm::Cell),
                      QString::fromUtf8(t.text))
                << t.what;
        } catch (const UnconvertibleToken &e) {
            ADD_FAILURE() << t.what << ": token 0x" << std::hex << e.id;
        }
        EXPECT_EQ(formulaText(hex(t.rgce), hex(t.rgcb), context(), FormulaTextForm::Listing),
                  QString::fromUtf8(t.listing))
            << t.what;
    }
}

TEST(FormulaText, ReferenceToAnotherWorkbookIsRefused)
{
    EXPECT_THROW(formulaText(hex("3a0100010001c0"), {}, context(), FormulaTextForm::Cell), UnconvertibleToken);
    EXPECT_THROW(formulaText(hex("1e0100" "03"), {}, context(), FormulaTextForm::Cell),
                 UnconvertibleToken); // cut short
}

// The listing never throws: what it cannot read ends it as "?xx".
TEST(FormulaText, ListingShowsWhatItCannotRead)
{
    const auto listing = [](const char *rgce) {
        return formulaText(hex(rgce), {}, context(), FormulaTextForm::Listing);
    };
    EXPECT_EQ(listing("3a0100010001c0"), QStringLiteral("?3a"));
    EXPECT_EQ(listing("1e0100" "03"), QStringLiteral("+1"));
    EXPECT_EQ(listing("24000000c0" "ff" "1e0100"), QStringLiteral("A1 ?ff"));
    EXPECT_EQ(listing("24000000c0" "250000"), QStringLiteral("A1 ?25"));
}
