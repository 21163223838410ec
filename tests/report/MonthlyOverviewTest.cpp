// The monthly overview: where each row lands, the running figures, and that
// its total is the group's final overview.

#include "report/ReportFixture.h"

#include "core/MemTable.h"
#include "report/TMonthlyOverview.h"

#include <map>

namespace kasovka::test {

namespace {

struct ExpectedLine {
    std::string caption;
    const char *income, *expense, *cumulative, *cash, *bank;
    int rows;
};

void expectLines(const std::vector<MonthlyLine> &lines, const std::vector<ExpectedLine> &expected)
{
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const MonthlyLine &line = lines[i];
        const ExpectedLine &e = expected[i];
        SCOPED_TRACE(e.caption);
        EXPECT_EQ(monthlyLineCaption(line).toStdString(), e.caption);
        EXPECT_EQ(line.income, money(e.income));
        EXPECT_EQ(line.expense, money(e.expense));
        EXPECT_EQ(line.taxBase, line.income - line.expense);
        EXPECT_EQ(line.taxBaseCumulative, money(e.cumulative));
        EXPECT_EQ(line.cash, money(e.cash));
        EXPECT_EQ(line.bank, money(e.bank));
        EXPECT_EQ(line.rowCount, e.rows);
    }
}

class MonthlyOverviewTest : public ReportTest {
protected:
    // The accounting year is 2026; records before, after and without a date
    // come with it, as a host journal may hold them.
    MonthlyOverviewTest()
    {
        addRegisters({{.zkrat = "P1", .ucPokl = "P", .pocStav = "10000"},
                      {.zkrat = "B1", .ucPokl = "U", .pocStav = "-3000"}});
        addColumnSetting("PZbo", "1500.50");
        addJournal({{.datum = day(2025, 12, 20), .zRadek = 1, .castka = "200"},
                    {.datum = day(2026, 1, 5), .zRadek = 2, .castka = "100"},
                    {.datum = day(2026, 1, 31), .zdroj = "BK", .zRadek = 3, .typ = "V", .pohyb = "VMat", .castka = "40"},
                    {.datum = day(2026, 3, 10), .zRadek = 4, .pohyb = "PSlu", .castka = "1000"},
                    {.datum = 0, .zRadek = 5, .castka = "7"},
                    {.datum = day(2027, 2, 1), .zdroj = "BK", .zRadek = 6, .castka = "50"}});
        addAdjustments({{.pohyb = "VMat", .castka = "30", .typ = "V"}});
    }
};

TEST_F(MonthlyOverviewTest, WholeYearListsTheYearAndEveryOtherDatedMonth)
{
    auto report = generate([](TReportFilter &f) { f.ZaverkoveUpravy = true; });
    const std::vector<MonthlyLine> lines = report->MonthlyOverview()->lines(groupId(*report, 0));
    std::vector<ExpectedLine> expected = {
        {"Převedeno", "1500.5", "0", "1500.5", "10000", "-3000", 0},
        {"Bez data", "7", "0", "1507.5", "10007", "-3000", 1},
        {"prosinec 2025", "200", "0", "1707.5", "10207", "-3000", 1},
        {"leden 2026", "100", "40", "1767.5", "10307", "-3040", 2},
        {"únor 2026", "0", "0", "1767.5", "10307", "-3040", 0},
        {"březen 2026", "1000", "0", "2767.5", "11307", "-3040", 1},
    };
    for (const char *month : {"duben", "květen", "červen", "červenec", "srpen", "září", "říjen", "listopad"})
        expected.push_back({std::string(month) + " 2026", "0", "0", "2767.5", "11307", "-3040", 0});
    // The closing adjustments count in the year's last month, as no journal row.
    expected.push_back({"prosinec 2026", "0", "30", "2737.5", "11307", "-3040", 0});
    expected.push_back({"únor 2027", "50", "0", "2787.5", "11307", "-2990", 1});
    expected.push_back({"Celkem", "2857.5", "70", "2787.5", "11307", "-2990", 6});
    expectLines(lines, expected);

    const MonthlyLine &total = lines.back();
    EXPECT_EQ(total.income, totalField(*report, 0, "Col11"));
    EXPECT_EQ(total.expense, totalField(*report, 0, "Col12"));
    EXPECT_EQ(total.taxBase, totalField(*report, 0, "ZakladDane"));
    EXPECT_EQ(total.cash, totalField(*report, 0, "HotovostCeninyCelkem"));
    EXPECT_EQ(total.bank, totalField(*report, 0, "BankUctyCelkem"));
}

TEST_F(MonthlyOverviewTest, PeriodListsItsMonthsAfterTheCarriedRow)
{
    auto report = generate([](TReportFilter &f) {
        f.ZaObdobi = true;
        f.ObdobiOD = day(2026, 1, 15);
        f.ObdobiDO = day(2026, 3, 31);
        f.ZapocitavatPredchObdobi = true;
    });
    // Everything before 15 January, the undated record included, is carried.
    expectLines(report->MonthlyOverview()->lines(groupId(*report, 0)),
                {{"Převedeno", "1807.5", "0", "1807.5", "10307", "-3000", 0},
                 {"leden 2026", "0", "40", "1767.5", "10307", "-3040", 1},
                 {"únor 2026", "0", "0", "1767.5", "10307", "-3040", 0},
                 {"březen 2026", "1000", "0", "2767.5", "11307", "-3040", 1},
                 {"Celkem", "2807.5", "40", "2767.5", "11307", "-3040", 2}});
}

TEST_F(MonthlyOverviewTest, DecadesLongPeriodListsOnlyMonthsWithRows)
{
    auto report = generate([](TReportFilter &f) {
        f.ZaObdobi = true;
        f.ObdobiOD = day(2000, 1, 1);
        f.ObdobiDO = day(2030, 12, 31);
    });
    QStringList captions;
    for (const MonthlyLine &line : report->MonthlyOverview()->lines(groupId(*report, 0)))
        captions.append(monthlyLineCaption(line));
    EXPECT_EQ(captions, QStringList({"Převedeno", "prosinec 2025", "leden 2026", "březen 2026", "únor 2027",
                                     "Celkem"}));
}

TEST_F(MonthlyOverviewTest, NoLinesWithoutJournalRowsOrForAnUnknownGroup)
{
    auto onlyOverview = generate([](TReportFilter &f) { f.PouzeZaverecnyPrehled = true; });
    EXPECT_FALSE(onlyOverview->MonthlyOverview()->hasMonths());
    EXPECT_TRUE(onlyOverview->MonthlyOverview()->lines(groupId(*onlyOverview, 0)).empty());
    auto report = generate();
    EXPECT_TRUE(report->MonthlyOverview()->lines(groupId(*report, 0) + 1000).empty());
}

} // namespace

// Called for every report of the demo agenda's filter table: each month's
// figures equal those of the group's rows dated in it, and the lines add up
// to the group's final overview.
void checkMonthlyOverview(const TPenDenReport &report)
{
    const TMemTable &skupiny = report.Skupiny();
    const TMemTable &denik = report.Denik();
    const TMonthlyOverview &overview = *report.MonthlyOverview();
    ASSERT_EQ(overview.hasMonths(), !report.Filter().PouzeZaverecnyPrehled);
    if (!overview.hasMonths())
        return;
    const TReportFilter &f = report.Filter();
    const QDate closing = toQDate(f.ZaObdobi ? f.ObdobiDO : report.Application().FiscalYearTo());
    const QDate end(closing.year(), closing.month(), 1);
    const QDate first = f.ZaObdobi ? toQDate(f.ObdobiOD) : end.addMonths(-11);

    for (int g = 0; g < skupiny.recordCount(); ++g) {
        const qint64 id = groupId(report, g);
        struct Sums {
            Currency income, expense;
            int rows = 0;
        };
        std::map<std::pair<int, int>, Sums> byMonth; // (year, month); (0, 0) for no date
        for (QDate month(first.year(), first.month(), 1); month <= end; month = month.addMonths(1))
            byMonth[{month.year(), month.month()}];
        for (int row : rowsOfGroup(report, id)) {
            if (integerAt(denik, row, "ID") == integerAt(skupiny, g, "IDPrevedeno"))
                continue;
            const bool adjustments = denik.isNullAt(row, denik.fieldIndex("Poradi"));
            const QDate date = adjustments ? closing : toQDate(denik.valueAt(row, denik.fieldIndex("Datum")).toDate());
            Sums &sums = byMonth[date.isValid() && date.year() > 1899 ? std::pair(date.year(), date.month())
                                                                      : std::pair(0, 0)];
            sums.income += amount(denik, row, 11);
            sums.expense += amount(denik, row, 12);
            sums.rows += adjustments ? 0 : 1;
        }
        const std::vector<MonthlyLine> lines = overview.lines(id);
        ASSERT_EQ(lines.size(), byMonth.size() + 2) << "group " << id;
        auto expected = byMonth.begin();
        Currency cumulative;
        for (const MonthlyLine &line : lines) {
            cumulative += line.kind == MonthlyLine::Kind::Total ? Currency() : line.taxBase;
            EXPECT_EQ(line.taxBaseCumulative, cumulative);
            if (line.kind != MonthlyLine::Kind::Undated && line.kind != MonthlyLine::Kind::Month)
                continue;
            EXPECT_EQ(std::pair(line.year, line.month), expected->first);
            EXPECT_EQ(line.income, expected->second.income);
            EXPECT_EQ(line.expense, expected->second.expense);
            EXPECT_EQ(line.rowCount, expected->second.rows);
            ++expected;
        }
        const MonthlyLine &total = lines.back();
        EXPECT_EQ(total.income, totalField(report, g, "Col11"));
        EXPECT_EQ(total.expense, totalField(report, g, "Col12"));
        EXPECT_EQ(total.taxBase, totalField(report, g, "ZakladDane"));
        EXPECT_EQ(total.taxBaseCumulative, totalField(report, g, "ZakladDane"));
        EXPECT_EQ(total.cash, totalField(report, g, "HotovostCeninyCelkem"));
        EXPECT_EQ(total.bank, totalField(report, g, "BankUctyCelkem"));
    }
}

} // namespace kasovka::test
