// After the journal: opening balances, closing adjustments, carried rows
// and the eight totals.

#include "report/ReportFixture.h"

#include "core/MemTable.h"

namespace kasovka::test {
namespace {

class FinishTest : public ReportTest {
protected:
    int carriedRow(const TPenDenReport &report)
    {
        return rowsOfGroup(report, groupId(report, 0)).front();
    }
    void addStandardBalances()
    {
        addRegisters({{.zkrat = "P1", .ucPokl = "P", .pocStav = "10000"},
                      {.zkrat = "B1", .ucPokl = "U", .pocStav = "-3000"}});
        addColumnSetting("PZbo", "1500.50");
    }
};

TEST_F(FinishTest, WholeYearCarriedRowShowsTheOpeningBalances)
{
    addStandardBalances();
    addJournal({{.datum = day(2026, 1, 3), .castka = "100"}});
    auto report = generate();
    const TMemTable &denik = report->Denik();
    const int carried = carriedRow(*report);
    EXPECT_EQ(amount(denik, carried, 5), money("10000"));
    EXPECT_EQ(amount(denik, carried, 8), money("3000"));
    EXPECT_EQ(amount(denik, carried, 13), money("1500.5"));
    EXPECT_EQ(amount(denik, carried, 11), money("1500.5"));
    EXPECT_EQ(amount(denik, carried, 6), Currency());
    EXPECT_FALSE(isBlank(denik, carried, 6));
    // The group holds the balances and the journal.
    EXPECT_EQ(amount(report->Skupiny(), 0, 5), money("10100"));
    EXPECT_EQ(amount(report->Skupiny(), 0, 13), money("1600.5"));
    EXPECT_EQ(amount(report->PocatecniStav(), 0, 13), money("1500.5"));
    EXPECT_EQ(amount(report->PocatecniStav(), 0, 11), money("1500.5"));
}

TEST_F(FinishTest, PeriodWithEarlierMovementsCarriesBalancesAndEarlierRecords)
{
    addStandardBalances();
    addJournal({{.datum = day(2026, 1, 15), .zRadek = 1, .typ = "V", .pohyb = "VMat", .castka = "40"},
                {.datum = day(2026, 2, 20), .zRadek = 2, .castka = "60"},
                {.datum = day(2026, 4, 1), .zRadek = 3, .castka = "5"},
                {.datum = day(2026, 7, 1), .zRadek = 4, .castka = "999"}});
    auto report = generate([](TReportFilter &f) {
        f.ZaObdobi = true;
        f.ObdobiOD = day(2026, 3, 1);
        f.ObdobiDO = day(2026, 6, 30);
        f.ZapocitavatPredchObdobi = true;
    });
    const TMemTable &denik = report->Denik();
    const std::vector<int> rows = rowsOfGroup(*report, groupId(*report, 0));
    ASSERT_EQ(rows.size(), 2u);
    // Cash: balance 10000 + 60 in, 40 out before the period.
    EXPECT_EQ(amount(denik, rows[0], 5), money("10060"));
    EXPECT_EQ(amount(denik, rows[0], 6), money("40"));
    EXPECT_EQ(amount(denik, rows[0], 12), money("40"));
    EXPECT_EQ(amount(denik, rows[0], 11), money("1560.5"));
    for (int column = 5; column <= 35; ++column) {
        SCOPED_TRACE(column);
        EXPECT_EQ(amount(report->Skupiny(), 0, column),
                  amount(denik, rows[0], column) + amount(denik, rows[1], column));
    }
}

TEST_F(FinishTest, PeriodWithoutEarlierMovementsHasNoBalancesAnywhere)
{
    addStandardBalances();
    addJournal({{.datum = day(2026, 1, 15), .castka = "40"},
                {.datum = day(2026, 4, 1), .zRadek = 2, .castka = "5"}});
    auto report = generate([](TReportFilter &f) {
        f.ZaObdobi = true;
        f.ObdobiOD = day(2026, 3, 1);
        f.ObdobiDO = day(2026, 12, 31);
    });
    const int carried = carriedRow(*report);
    for (int column = 5; column <= 35; ++column) {
        SCOPED_TRACE(column);
        EXPECT_EQ(amount(report->Denik(), carried, column), Currency());
        EXPECT_FALSE(isBlank(report->Denik(), carried, column));
    }
    EXPECT_EQ(amount(report->Skupiny(), 0, 5), money("5"));
    EXPECT_EQ(report->PocatecniStav().recordCount(), 0);
}

TEST_F(FinishTest, RegisterBalancesByKindSignAndCurrency)
{
    addRegisters({{.zkrat = "EUR", .ucPokl = "P", .pocStav = "1000", .mena = "EUR", .psKurz = 25.5},
                  {.zkrat = "USD", .ucPokl = "U", .pocStav = "100", .mena = "USD", .psMnozstvi = 100,
                   .psKurz = 2234.5},
                  {.zkrat = "P0", .ucPokl = "U", .pocStav = "0"},
                  {.zkrat = "X", .ucPokl = "x", .pocStav = "77"},
                  {.zkrat = "NEG", .ucPokl = "P", .pocStav = "-200"}});
    auto report = generate();
    const TMemTable &opening = report->PocatecniStav();
    EXPECT_EQ(amount(opening, 0, 5), money("25500"));
    EXPECT_EQ(amount(opening, 0, 6), money("200"));
    EXPECT_EQ(amount(opening, 0, 7), money("2234.5"));
    EXPECT_EQ(amount(opening, 0, 8), Currency());
    EXPECT_FALSE(report->HasWarnings());
}

TEST_F(FinishTest, ForeignBalanceWithoutUnitsAddsZeroAndSaysSo)
{
    addRegisters({{.zkrat = "GBP", .ucPokl = "P", .pocStav = "1000", .mena = "GBP", .psMnozstvi = 0,
                   .psKurz = 29}});
    auto report = generate();
    EXPECT_EQ(amount(report->PocatecniStav(), 0, 6), Currency());
    EXPECT_EQ(amount(report->PocatecniStav(), 0, 5), Currency());
    EXPECT_EQ(report->Warnings(),
              QStringList({QString(), QStringLiteral("• počáteční stav 1000 GBP pokladny nebo účtu "
                                                     "\"GBP\" v databázi SZUCPOKL nebyl přepočten, "
                                                     "pole PSMnozstvi je 0")}));
}

TEST_F(FinishTest, ColumnSettingsMapCrosswiseAndUnreadableTextsAreWarnedAndSkipped)
{
    addColumnSetting("PPrP", "1000");
    addColumnSetting("VPrP", "1.25");
    addColumnSetting("VRzr", "3");
    addColumnSetting("VOsN", "4");
    addColumnSetting("VMat", "1 000,5");
    addColumnSetting("VZbo", "");
    addColumnSetting("PSlu", "99", "Jiny");
    auto report = generate();
    const TMemTable &opening = report->PocatecniStav();
    EXPECT_EQ(amount(opening, 0, 9), money("1000"));
    EXPECT_EQ(amount(opening, 0, 10), money("1.25"));
    EXPECT_EQ(amount(opening, 0, 35), money("7"));
    EXPECT_EQ(amount(opening, 0, 16), Currency());
    EXPECT_EQ(amount(opening, 0, 14), Currency());
    EXPECT_EQ(report->Warnings(),
              QStringList({QString(), QStringLiteral("• počáteční stav \"VMat\" (sekce \"Poc. stav "
                                                     "PD\" v databázi SETPVARS, pole Str) není "
                                                     "číslo: \"1 000,5\"; nebyl započten")}));
}

TEST_F(FinishTest, MissingRegisterTableIsReportedAndTheReportStillCompletes)
{
    removeTable(yearFolder(), QStringLiteral("SZUCPOKL"));
    addColumnSetting("PZbo", "10");
    addJournal({{.datum = day(2026, 1, 3), .castka = "100"}});
    auto report = generate();
    EXPECT_EQ(ui().single(),
              (RecordedMessage{MessageKind::Error,
                               QStringLiteral("Nastala chyba při otevírání databáze ")
                                   + yearFolder() + QStringLiteral("SZUCPOKL.DAT")}));
    // The settings are not read after the failure.
    EXPECT_EQ(amount(report->Skupiny(), 0, 13), money("100"));
    EXPECT_EQ(report->PocatecniStav().recordCount(), 1);
}

TEST_F(FinishTest, ClosingAdjustmentsFormTheLastRowAndReachOnlyPurposeColumns)
{
    addStandardBalances();
    addJournal({{.datum = day(2026, 1, 3), .castka = "100"}});
    addAdjustments({{.pohyb = "VMat", .castka = "30", .typ = "V"},
                    {.pohyb = "PZbo", .castka = "-5", .typ = "P", .stred = "A"},
                    {.pohyb = "NIC", .castka = "1"}});
    auto report = generate([](TReportFilter &f) {
        f.ZaverkoveUpravy = true;
        f.FiltrMena = true;
        f.FiltrMenaText = "EUR";
    });
    const TMemTable &denik = report->Denik();
    const std::vector<int> rows = rowsOfGroup(*report, groupId(*report, 0));
    // The currency filter keeps the journal record out, not the adjustments.
    ASSERT_EQ(rows.size(), 2u);
    const int adjustments = rows.back();
    EXPECT_EQ(textAt(denik, adjustments, "Popis"), QStringLiteral("Uzávěrkové úpravy:"));
    EXPECT_TRUE(denik.isNullAt(adjustments, denik.fieldIndex("Poradi")));
    EXPECT_EQ(amount(denik, adjustments, 16), money("30"));
    EXPECT_EQ(amount(denik, adjustments, 13), money("-5"));
    EXPECT_EQ(amount(denik, adjustments, 12), money("30"));
    EXPECT_TRUE(isBlank(denik, adjustments, 5));
    EXPECT_TRUE(isBlank(denik, adjustments, 6));
    EXPECT_EQ(amount(report->Skupiny(), 0, 16), money("30"));
    EXPECT_EQ(amount(report->Skupiny(), 0, 13), money("1495.5"));
    EXPECT_EQ(amount(denik, rows.front(), 16), Currency());
    EXPECT_EQ(report->Warnings().size(), 3); // the unknown movement, twice
    EXPECT_EQ(report->RowCountAll(), 2);
}

TEST_F(FinishTest, ClosingAdjustmentsFollowTheCentreFilterAndThePeriodEnd)
{
    addAdjustments({{.pohyb = "VMat", .castka = "30", .stred = "A"},
                    {.pohyb = "VMat", .castka = "7", .stred = "B"}});
    struct Case {
        const char *name;
        std::function<void(TReportFilter &)> setup;
        bool row;
        const char *col16;
    };
    const Case cases[] = {
        {"centre A", [](TReportFilter &f) { f.FiltrStrediska = true; f.FiltrStrediskaText = "A;"; }, true, "30"},
        {"period to year end", [](TReportFilter &f) { f.ZaObdobi = true; f.ObdobiOD = day(2026, 1, 1); f.ObdobiDO = day(2026, 12, 31); }, true, "37"},
        {"period ends earlier", [](TReportFilter &f) { f.ZaObdobi = true; f.ObdobiOD = day(2026, 1, 1); f.ObdobiDO = day(2026, 12, 30); }, false, "0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto report = generate([&c](TReportFilter &f) {
            f.ZaverkoveUpravy = true;
            c.setup(f);
        });
        EXPECT_EQ(rowsOfGroup(*report, groupId(*report, 0)).size(), c.row ? 2u : 1u);
        EXPECT_EQ(amount(report->Skupiny(), 0, 16), money(c.col16));
    }
}

TEST_F(FinishTest, EmptyAdjustmentsTableLeavesABlankAdjustmentsRow)
{
    auto report = generate([](TReportFilter &f) { f.ZaverkoveUpravy = true; });
    const std::vector<int> rows = rowsOfGroup(*report, groupId(*report, 0));
    ASSERT_EQ(rows.size(), 2u);
    for (int column = 5; column <= 35; ++column)
        EXPECT_TRUE(isBlank(report->Denik(), rows[1], column)) << column;
}

TEST_F(FinishTest, TotalsFollowTheirDefinitions)
{
    addJournal({{.datum = day(2026, 1, 1), .zdroj = "PK", .zRadek = 1, .typ = "P", .pohyb = "PZbo", .castka = "1000"},
                {.datum = day(2026, 1, 2), .zdroj = "PK", .zRadek = 2, .typ = "V", .pohyb = "VMat", .castka = "300"},
                {.datum = day(2026, 1, 3), .zdroj = "BK", .zRadek = 3, .typ = "P", .pohyb = "PDot", .castka = "50"},
                {.datum = day(2026, 1, 4), .zdroj = "BK", .zRadek = 4, .typ = "V", .pohyb = "VHIM", .castka = "20"},
                {.datum = day(2026, 1, 5), .zdroj = "BK", .zRadek = 5, .typ = "V", .pohyb = "VPrP", .castka = "8"},
                {.datum = day(2026, 1, 6), .zdroj = "PK", .zRadek = 6, .typ = "P", .pohyb = "PPrP", .castka = "3"},
                {.datum = day(2026, 1, 7), .zdroj = "BK", .zRadek = 7, .typ = "V", .pohyb = "VRez", .castka = "0.0001"}});
    auto report = generate();
    struct Expected {
        const char *field;
        const char *value;
    };
    const Expected expected[] = {
        {"HotovostCeninyCelkem", "703"},        // 1000 + 3 in, 300 out
        {"BankUctyCelkem", "21.9999"},          // 50 in; 20 + 8 + 0.0001 out
        {"PrubPolozkyCelkem", "5"},             // 8 - 3
        {"ZakladDane", "699.9999"},             // 1000 - 300.0001
        {"PrijmyZahrDoZaklCelkem", "1000"},
        {"VydajeNaZajPrijCelkem", "300.0001"},
        {"PrijmyNeovlZaklDaneCelkem", "50"},
        {"VydajeNeovlZaklDaneCelkem", "20"},
    };
    for (const Expected &e : expected)
        EXPECT_EQ(totalField(*report, 0, e.field), money(e.value)) << e.field;
    EXPECT_EQ(amount(report->Skupiny(), 0, 11), money("1000"));
    EXPECT_EQ(amount(report->Skupiny(), 0, 12), money("300.0001"));
}

} // namespace
} // namespace kasovka::test
