// The .xlsx side of the workbook model: formula tokens as text, the row
// limit a workbook written as .xlsx lifts, and what the writer refuses.
// What reaches the file is read back by check_xlsx_features.py.

#include "workbook/TWorkbook.h"
#include "xlsx/XlsxWriter.h"
#include "xlsx/detail/FormulaTokens.h"

#include "workbook/WorkbookTestSupport.h"

#include <QFileInfo>

using namespace kasovka;
using namespace kasovka::test;
using kasovka::xlsx::formulaText;
using kasovka::xlsx::FormulaContext;

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
    const char *what, *rgce, *rgcb, *text;
};

// Token bytes as [MS-XLS] 2.5.198 lays them out; rows and columns from 0.
const TokenCase kTokens[] = {
    {"relative reference", "240200" "03c0", "", "D3"},
    {"absolute reference", "2402000300", "", "$D$3"},
    {"mixed reference", "2402000340", "", "D$3"},
    {"area", "2500000400" "00c001c0", "", "A1:B5"},
    {"whole column stays whole", "250000ffff00c001c0", "", "A:B"},
    {"whole row stays whole", "2500000100" "00c0ffc0", "", "1:2"},
    {"operators and parentheses", "1e01001e020003151e03000512", "", "+(1+2)*3"},
    {"string with a quote", "170300612262", "", "\"a\"\"b\""},
    {"fixed-argument function", "1f9a9999999999b93f1e020021" "1b00", "", "ROUND(0.1,2)"},
    {"variable-argument function", "24000000c0" "24000001c0" "220204" "00", "", "SUM(A1,B1)"},
    {"sum attribute", "250000020000c000c0" "191000" "00", "", "SUM(A1:A3)"},
    {"missing argument", "24000000c0" "16" "1e0100" "220301" "00", "", "IF(A1,,1)"},
    {"3-D reference to a quoted sheet", "3a0000010001c0", "", "'Druhý list'!B2"},
    {"defined name", "2302000000", "", "Jmeno2"},
    {"errors and Booleans", "1c071d01" "04", "", "#DIV/0!-TRUE"},
    {"array constant", "20" "00000000000000", "010100" "01000000000000f03f" "0201000061" "040100000000000000" "101700000000000000",
     "{1,\"a\";TRUE,#REF!}"},
    {"relative to its cell", "2cfeff01c0", "", "D8"},
};

} // namespace

TEST(XlsxFormula, TokensGiveTheirText)
{
    for (const TokenCase &t : kTokens) {
        try {
            EXPECT_EQ(formulaText(hex(t.rgce), hex(t.rgcb), context()), QString::fromUtf8(t.text)) << t.what;
        } catch (const xlsx::UnconvertibleToken &e) {
            ADD_FAILURE() << t.what << ": token 0x" << std::hex << e.id;
        }
    }
}

TEST(XlsxFormula, ReferenceToAnotherWorkbookIsRefused)
{
    EXPECT_THROW(formulaText(hex("3a0100010001c0"), {}, context()), xlsx::UnconvertibleToken);
    EXPECT_THROW(formulaText(hex("1e0100" "03"), {}, context()), xlsx::UnconvertibleToken); // cut short
}

// The template: B3:B5 hold 1..3, C4 =B4*2, B8 =B10 (see ../workbook/data).
class RowLimit : public WorkbookFixture {};

TEST_F(RowLimit, BiffKeepsItsChecksUntilLifted)
{
    EXPECT_EQ(errorOf([&] { m_book.insertAndCopyRows(3, 3, 4, 70000, false); }),
              QStringLiteral("Ivalid arguments to call InsertAndCopyRows"));
    EXPECT_EQ(errorOf([&] { m_book.setCell(65537, 1, 1.0); }), QStringLiteral("Invalid Row (65537)"));

    m_book.setRowLimit(kMaxSheetRows);
    m_book.insertAndCopyRows(3, 3, 4, 70000, false);
    EXPECT_EQ(m_book.cell(70003, 2).value.toDouble(), 1.0);
    m_book.setCell(kMaxSheetRows, 1, QStringLiteral("poslední"));
    EXPECT_EQ(errorOf([&] { m_book.setCell(kMaxSheetRows + 1, 1, 1.0); }),
              QStringLiteral("Invalid Row (1048577)"));
    // Such a workbook has no place in the Excel 97-2003 format.
    EXPECT_EQ(errorOf([&] { m_book.save(scratch(QStringLiteral("velky.xls"))); }),
              QStringLiteral("Invalid Row (1048576)"));
    EXPECT_FALSE(QFileInfo::exists(scratch(QStringLiteral("velky.xls"))));
}

TEST_F(RowLimit, WriterRefusesWhatItCannotWriteAndLeavesNothing)
{
    const QString target = scratch(QStringLiteral("vystup.xlsx"));
    TXlsxWriter::save(*m_book.workbook(), target);
    EXPECT_EQ(errorOf([&] { TXlsxWriter::save(*m_book.workbook(), target); }),
              QStringLiteral("Soubor %1 již existuje.").arg(target));

    // Copies of row 4's formula past row 65536 lost their reference; the
    // first one that reaches BIFF8's last row is refused.
    m_book.setRowLimit(kMaxSheetRows);
    m_book.insertAndCopyRows(3, 3, 4, 65500, false);
    m_book.insertAndCopyRows(65504, 65504, 65505, 100, true);
    const QString big = scratch(QStringLiteral("velky.xlsx"));
    EXPECT_TRUE(errorOf([&] { TXlsxWriter::save(*m_book.workbook(), big); })
                    .startsWith(QStringLiteral("Vzorec v buňce C65536 listu \"Data\" by odkazoval za řádek 65536")));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("vystup.xlsx")});
}

TEST_F(RowLimit, StoppedWritingLeavesNothing)
{
    m_book.setRowLimit(kMaxSheetRows);
    m_book.insertAndCopyRows(3, 3, 4, 20000, false);
    const QString target = scratch(QStringLiteral("vystup.xlsx"));
    int calls = 0;
    EXPECT_EQ(errorOf([&] {
                  TXlsxWriter::save(*m_book.workbook(), target, [&](qint64 done, qint64 total) {
                      EXPECT_LE(done, total);
                      if (++calls == 2)
                          throw Error(QStringLiteral("přerušeno"));
                  });
              }),
              QStringLiteral("přerušeno"));
    EXPECT_TRUE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}
