// Where each amount lands: money and purpose columns, derived totals and
// the blank cells of a journal row.

#include "report/ReportFixture.h"

#include "core/MemTable.h"

namespace kasovka::test {
namespace {

class PostingTest : public ReportTest {
protected:
    // The one data row of a report without groups (after the carried row).
    int onlyDataRow(const TPenDenReport &report)
    {
        const std::vector<int> rows = rowsOfGroup(report, groupId(report, 0));
        EXPECT_EQ(rows.size(), 2u);
        return rows.size() == 2 ? rows[1] : -1;
    }
};

struct PostingCase {
    const char *name;
    const char *zdroj;
    const char *typ;
    const char *pohyb;
    const char *castka;
    int moneyColumn;   // 0: none
    int purposeColumn; // 0: none
};

class PostingColumns : public PostingTest, public ::testing::WithParamInterface<PostingCase> {};

TEST_P(PostingColumns, AmountLandsInItsMoneyAndPurposeColumnsOnly)
{
    const PostingCase &c = GetParam();
    addJournal({{.datum = day(2026, 3, 1), .zdroj = c.zdroj, .typ = c.typ, .pohyb = c.pohyb,
                 .castka = c.castka}});
    auto report = generate();
    const TMemTable &denik = report->Denik();
    const int row = onlyDataRow(*report);
    const Currency value = money(c.castka);

    for (int column = 5; column <= 35; ++column) {
        if (column == 11 || column == 12)
            continue;
        SCOPED_TRACE(column);
        const bool posted = column == c.moneyColumn || column == c.purposeColumn;
        EXPECT_EQ(isBlank(denik, row, column), !posted);
        EXPECT_EQ(amount(denik, row, column), posted ? value : Currency());
        EXPECT_EQ(amount(report->Skupiny(), 0, column), posted ? value : Currency());
    }
    const bool income = c.purposeColumn >= 13 && c.purposeColumn <= 15;
    const bool expense = c.purposeColumn >= 16 && c.purposeColumn <= 23;
    // The derived columns are written on every row that received a posting.
    EXPECT_FALSE(isBlank(denik, row, 11));
    EXPECT_FALSE(isBlank(denik, row, 12));
    EXPECT_EQ(amount(denik, row, 11), income ? value : Currency());
    EXPECT_EQ(amount(denik, row, 12), expense ? value : Currency());
}

INSTANTIATE_TEST_SUITE_P(
    Classification, PostingColumns,
    ::testing::Values(
        PostingCase{"CashIncomeGoods", "PK", "P", "PZbo", "100", 5, 13},
        PostingCase{"CashExpense", "PK", "V", "VMat", "40.25", 6, 16},
        PostingCase{"BankIncome", "BK", "P", "PSlu", "7", 7, 14},
        PostingCase{"BankExpenseTransit", "BK", "V", "VPrP", "500", 8, 9},
        PostingCase{"TransitOut", "PK", "V", "PPrP", "12", 6, 10},
        PostingCase{"LowerCaseTypeHasNoMoneyColumn", "PK", "p", "PZbo", "100", 0, 13},
        PostingCase{"LowerCaseSourceHasNoMoneyColumn", "pk", "P", "PZbo", "100", 0, 13},
        PostingCase{"OtherSourceOnlyPurpose", "ID", "V", "VMat", "80", 0, 16},
        PostingCase{"MovementWithoutColumn", "BK", "P", "BEZ", "30", 7, 0},
        PostingCase{"ReservesToCol35", "PK", "V", "VRzr", "5", 6, 35},
        PostingCase{"OtherOutsideToCol35", "PK", "V", "VOsN", "6", 6, 35},
        PostingCase{"NegativeAmount", "PK", "P", "PZbo", "-250.5", 5, 13},
        PostingCase{"WageTax", "BK", "V", "VDMz", "1000", 8, 20},
        PostingCase{"SocialOutside", "BK", "V", "VOzc", "3", 8, 31}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PostingTest, SameColumnTwiceAddsUpInOneRowAndBothColumns)
{
    // A cash document whose records both go to goods income.
    addJournal({{.datum = day(2026, 1, 10), .zRadek = 4, .castka = "100"},
                {.datum = day(2026, 1, 10), .zRadek = 4, .castka = "0.0001"}});
    auto report = generate();
    const int row = onlyDataRow(*report);
    EXPECT_EQ(amount(report->Denik(), row, 5), money("100.0001"));
    EXPECT_EQ(amount(report->Denik(), row, 13), money("100.0001"));
    EXPECT_EQ(amount(report->Denik(), row, 11), money("100.0001"));
}

TEST_F(PostingTest, MissingMovementWarnsPerPostingAndPostsNothing)
{
    addJournal({{.datum = day(2026, 2, 1), .zdroj = "PK", .typ = "P", .pohyb = "XX", .castka = "70"},
                {.datum = day(2026, 2, 2), .zRadek = 2, .castka = "5"}});
    auto report = generate();
    const QString warning = QStringLiteral("• nebyl nalezen účetní pohyb \"XX\"");
    // Once for the group and once for the row.
    EXPECT_EQ(report->Warnings(), QStringList({QString(), warning, warning}));
    EXPECT_TRUE(report->HasWarnings());
    EXPECT_EQ(amount(report->Skupiny(), 0, 5), money("5"));
    const std::vector<int> rows = rowsOfGroup(*report, groupId(*report, 0));
    ASSERT_EQ(rows.size(), 3u);
    // The row of the unknown movement has its number but no amount at all,
    // not even in the money column.
    EXPECT_EQ(integerAt(report->Denik(), rows[1], "Poradi"), 1);
    for (int column = 5; column <= 35; ++column)
        EXPECT_TRUE(isBlank(report->Denik(), rows[1], column)) << column;
}

// Paper names each record once, with its group, row, document, date and the
// amount that is in no column; the protocol keeps a line per posting.
TEST_F(PostingTest, PaperListsEachWarningOnceWithTheRecordItConcerns)
{
    addJournal({{.datum = day(2026, 1, 20), .zRadek = 1, .pohyb = "XX", .castka = "3", .doklad = "PK01", .stred = "S1"},
                {.datum = day(2026, 2, 1), .zRadek = 2, .pohyb = "XX", .castka = "139610.74", .doklad = "BV06",
                 .stred = "S1"},
                {.datum = 0, .zRadek = 3, .castka = "1", .doklad = "PK03", .stred = "S1", .cislo = 42}});
    addAdjustments({{.pohyb = "YY", .castka = "12.5", .stred = "S1"}});
    const auto lines = [this](quint8 groups) {
        auto report = generate([groups](TReportFilter &f) {
            f.ZaObdobi = true;
            f.ObdobiOD = day(2026, 2, 1);
            f.ObdobiDO = day(2026, 12, 31);
            f.ZapocitavatPredchObdobi = true;
            f.ZaverkoveUpravy = true; // only without groups
            f.VertikalniDeleni = groups;
        });
        EXPECT_EQ(report->Warnings().count(QStringLiteral("• nebyl nalezen účetní pohyb \"XX\"")), 4);
        QStringList lines;
        for (const ReportWarning &warning : report->PaperWarnings())
            lines << paperLine(warning, groups != sgkNone);
        return lines;
    };
    const QString noDate = "Doklad PK03: řádek 42 v databázi deníku nemá vyplněný datum";
    const QString carried = "řádek Převedeno, doklad PK01, 20.1.2026: nebyl nalezen účetní pohyb \"XX\"; "
                            "částka 3,00 není v žádném sloupci";
    // The row numbers go on from the records before the period.
    const QString row = "řádek 3, doklad BV06, 1.2.2026: nebyl nalezen účetní pohyb \"XX\"; "
                        "částka 139 610,74 není v žádném sloupci";
    EXPECT_EQ(lines(sgkCentre), QStringList({noDate, "Skupina S1, " + carried, "Skupina S1, " + row}));
    EXPECT_EQ(lines(sgkNone), QStringList({noDate, "Ř" + carried.mid(1), "Ř" + row.mid(1),
                                           "Uzávěrková úprava: nebyl nalezen účetní pohyb \"YY\"; "
                                           "částka 12,50 není v žádném sloupci"}));
}

TEST_F(PostingTest, WarningsTextStartsWithTheEmptyLineAndEndsLinesWithCrLf)
{
    addJournal({{.datum = 0, .pohyb = "PZbo", .castka = "1", .cislo = 42}});
    auto report = generate();
    EXPECT_EQ(report->WarningsText(),
              QStringLiteral("\r\n• řádek 42 v databázi deníku nemá vyplněný datum\r\n"));
}

TEST_F(PostingTest, DocumentNumberCarriesTheVariableSymbolWhenPresent)
{
    addJournal({{.datum = day(2026, 1, 5), .zRadek = 1, .doklad = "P001", .varSym = "2024"},
                {.datum = day(2026, 1, 6), .zRadek = 2, .doklad = "P002"},
                {.datum = day(2026, 1, 7), .zRadek = 3,
                 .doklad = "DOKLAD-S-VELMI-DLOUHYM-CISLEM-01", .varSym = "123456789"}});
    auto report = generate();
    const std::vector<int> rows = rowsOfGroup(*report, groupId(*report, 0));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(textAt(report->Denik(), rows[1], "Doklad_VS"), QStringLiteral("P001/2024"));
    EXPECT_EQ(textAt(report->Denik(), rows[2], "Doklad_VS"), QStringLiteral("P002"));
    // The field keeps 30 characters.
    EXPECT_EQ(textAt(report->Denik(), rows[3], "Doklad_VS"),
              QStringLiteral("DOKLAD-S-VELMI-DLOUHYM-CISLEM-"));
}

} // namespace
} // namespace kasovka::test
