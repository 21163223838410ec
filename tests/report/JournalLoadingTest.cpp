// Reading the journal: skipped records, object filters, the period rules,
// row numbering and merging, descriptions, progress and cancelling.

#include "report/ReportFixture.h"

#include "core/MemTable.h"

#include <gmock/gmock.h>

namespace kasovka::test {
namespace {

class JournalLoadingTest : public ReportTest {
protected:
    std::vector<int> rowsOfOnlyGroup(const TPenDenReport &report)
    {
        EXPECT_EQ(report.Skupiny().recordCount(), 1);
        return rowsOfGroup(report, groupId(report, 0));
    }
    std::vector<qint64> numbers(const TPenDenReport &report, const std::vector<int> &rows)
    {
        std::vector<qint64> result;
        for (int row : rows)
            result.push_back(integerAt(report.Denik(), row, "Poradi"));
        return result;
    }
};

TEST_F(JournalLoadingTest, JournalWithNothingAcceptedStillHasOneGroupWithItsCarriedRow)
{
    addJournal({{.datum = day(2026, 1, 1), .castka = "10", .del = true},
                {.datum = day(2026, 1, 2), .zRadek = 2, .castka = "20", .free = true},
                {.datum = day(2026, 1, 3), .zRadek = 3, .castka = "40", .stred = "X"}});
    auto report = generate([](TReportFilter &f) {
        f.FiltrStrediska = true;
        f.FiltrStrediskaText = "A;";
    });
    ASSERT_EQ(report->Skupiny().recordCount(), 1);
    const std::vector<int> rows = rowsOfOnlyGroup(*report);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(textAt(report->Denik(), rows[0], "Popis"), QStringLiteral("Převedeno:"));
    EXPECT_EQ(integerAt(report->Denik(), rows[0], "Poradi"), 0);
    EXPECT_EQ(integerAt(report->Skupiny(), 0, "IDPrevedeno"),
              integerAt(report->Denik(), rows[0], "ID"));
    EXPECT_EQ(report->Prevedeno().recordCount(), 1);
    EXPECT_EQ(amount(report->Skupiny(), 0, 5), Currency());
    EXPECT_EQ(report->RowCountAll(), 1);
}

TEST_F(JournalLoadingTest, PeriodWhollyOutsideTheAccountingYearIsWarnedOfButStillGenerated)
{
    addJournal({{.datum = day(2026, 5, 4), .castka = "10"}});
    const QString warning = QStringLiteral(
        "• období sestavy %1 leží celé mimo účetní rok 1.1.2026 – 31.12.2026");
    const struct {
        TDateTime from, to;
        const char *outside; // the period in the warning; nullptr: no warning
    } cases[] = {
        {day(2025, 1, 1), day(2025, 12, 31), "1.1.2025 – 31.12.2025"},
        {day(2027, 1, 1), day(2027, 3, 31), "1.1.2027 – 31.3.2027"},
        {day(2025, 6, 1), day(2026, 1, 1), nullptr}, // touches the first day
        {day(2026, 12, 31), day(2027, 2, 1), nullptr}, // touches the last day
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.outside ? c.outside : "overlapping");
        auto report = generate([&](TReportFilter &f) {
            f.ZaObdobi = true;
            f.ObdobiOD = c.from;
            f.ObdobiDO = c.to;
        });
        ASSERT_EQ(report->Skupiny().recordCount(), 1);
        const QStringList expected = c.outside
            ? QStringList{QString(), warning.arg(QString::fromUtf8(c.outside))}
            : QStringList{QString()};
        EXPECT_EQ(report->Warnings(), expected);
    }
}

TEST_F(JournalLoadingTest, PeriodBoundsAreInsideAndTheDayAfterIsNeverCounted)
{
    addJournal({{.datum = day(2026, 2, 28), .zRadek = 1, .castka = "1"},
                {.datum = day(2026, 3, 1), .zRadek = 2, .castka = "10"},
                {.datum = day(2026, 6, 30) + 0.75, .zRadek = 3, .castka = "100"},
                {.datum = day(2026, 7, 1), .zRadek = 4, .castka = "1000"}});
    for (bool earlier : {false, true}) {
        SCOPED_TRACE(earlier);
        auto report = generate([earlier](TReportFilter &f) {
            f.ZaObdobi = true;
            f.ObdobiOD = day(2026, 3, 1);
            f.ObdobiDO = day(2026, 6, 30);
            f.ZapocitavatPredchObdobi = earlier;
        });
        EXPECT_EQ(amount(report->Skupiny(), 0, 5), earlier ? money("111") : money("110"));
        const std::vector<int> rows = rowsOfOnlyGroup(*report);
        ASSERT_EQ(rows.size(), 3u);
        // Without earlier movements the period's first row is number 1.
        EXPECT_EQ(numbers(*report, rows), (std::vector<qint64>{0, earlier ? 2 : 1, earlier ? 3 : 2}));
        EXPECT_EQ(amount(report->Denik(), rows[0], 5), earlier ? money("1") : Currency());
    }
}

TEST_F(JournalLoadingTest, TenDocumentsBeforeThePeriodNumberTheFirstPeriodRowEleven)
{
    std::vector<JournalEntry> entries;
    for (int i = 1; i <= 10; ++i)
        entries.push_back({.datum = day(2026, 1, i), .zRadek = i, .castka = "2", .stred = "S"});
    entries.push_back({.datum = day(2026, 3, 2), .zRadek = 11, .castka = "50", .stred = "S"});
    addJournal(entries);
    auto report = generate([](TReportFilter &f) {
        f.VertikalniDeleni = sgkCentre;
        f.ZaObdobi = true;
        f.ObdobiOD = day(2026, 3, 1);
        f.ObdobiDO = day(2026, 12, 31);
        f.ZapocitavatPredchObdobi = true;
    });
    const int group = groupRow(*report, "S");
    ASSERT_GE(group, 0);
    const std::vector<int> rows = rowsOfGroup(*report, groupId(*report, group));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(numbers(*report, rows), (std::vector<qint64>{0, 11}));
    EXPECT_EQ(amount(report->Denik(), rows[0], 5), money("20"));
    EXPECT_EQ(amount(report->Denik(), rows[1], 5), money("50"));
    EXPECT_EQ(amount(report->Skupiny(), group, 5), money("70"));
    EXPECT_EQ(integerAt(report->Skupiny(), group, "LastPoradi"), 11);
}

TEST_F(JournalLoadingTest, RecordWithoutDateWarnsAndCountsAsBeforeThePeriod)
{
    addJournal({{.datum = 0, .zRadek = 1, .castka = "7", .cislo = 314},
                {.datum = day(2026, 4, 1), .zRadek = 2, .castka = "3"}});
    const QString warning = QStringLiteral("• řádek 314 v databázi deníku nemá vyplněný datum");
    for (bool earlier : {false, true}) {
        SCOPED_TRACE(earlier);
        auto report = generate([earlier](TReportFilter &f) {
            f.ZaObdobi = true;
            f.ObdobiOD = day(2026, 1, 1);
            f.ObdobiDO = day(2026, 12, 31);
            f.ZapocitavatPredchObdobi = earlier;
        });
        EXPECT_EQ(report->Warnings(), QStringList({QString(), warning}));
        EXPECT_EQ(amount(report->Skupiny(), 0, 5), earlier ? money("10") : money("3"));
        const std::vector<int> rows = rowsOfOnlyGroup(*report);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(amount(report->Denik(), rows[0], 5), earlier ? money("7") : Currency());
    }
}

TEST_F(JournalLoadingTest, ByDocumentMergesADocumentIntoOneRowWithTheBookDescription)
{
    addBookRecord(false, 8, QStringLiteral("Tržba hotově"));
    addBookRecord(true, 8, QStringLiteral("Výpis banky"));
    addJournal({{.datum = day(2026, 5, 1), .zdroj = "PK", .zRadek = 8, .pohyb = "PZbo",
                 .castka = "100", .popis = "první"},
                {.datum = day(2026, 5, 1), .zdroj = "PK", .zRadek = 8, .pohyb = "PSlu",
                 .castka = "20", .popis = "druhý"},
                {.datum = day(2026, 5, 2), .zdroj = "PK", .zRadek = 8, .pohyb = "PDPH",
                 .castka = "3", .doklad = "PP8"},
                {.datum = day(2026, 5, 3), .zdroj = "BK", .zRadek = 8, .castka = "1"},
                {.datum = day(2026, 5, 4), .zdroj = "ID", .zRadek = 8, .castka = "1"}});
    auto report = generate();
    const TMemTable &denik = report->Denik();
    const std::vector<int> rows = rowsOfOnlyGroup(*report);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(numbers(*report, rows), (std::vector<qint64>{0, 1, 2, 3}));
    EXPECT_EQ(amount(denik, rows[1], 5), money("123"));
    EXPECT_EQ(amount(denik, rows[1], 13), money("100"));
    EXPECT_EQ(amount(denik, rows[1], 14), money("20"));
    EXPECT_EQ(amount(denik, rows[1], 25), money("3"));
    EXPECT_EQ(amount(denik, rows[1], 11), money("120"));
    EXPECT_EQ(textAt(denik, rows[1], "Popis"), QStringLiteral("Tržba hotově"));
    // Date and document number are those of the row's last record.
    EXPECT_EQ(denik.valueAt(rows[1], denik.fieldIndex("Datum")).toDate(), day(2026, 5, 2));
    EXPECT_EQ(textAt(denik, rows[1], "Doklad_VS"), QStringLiteral("PP8"));
    // Same number in another book is another document.
    EXPECT_EQ(textAt(denik, rows[2], "Popis"), QStringLiteral("Výpis banky"));
    EXPECT_EQ(textAt(denik, rows[3], "Popis"), QString());
}

TEST_F(JournalLoadingTest, DetailedModeGivesEveryRecordItsRowAndOwnDescription)
{
    addBookRecord(false, 8, QStringLiteral("Tržba hotově"));
    addJournal({{.datum = day(2026, 5, 1), .zRadek = 8, .castka = "1", .popis = "a"},
                {.datum = day(2026, 5, 1), .zRadek = 8, .castka = "2", .popis = "b"},
                {.datum = day(2026, 5, 1), .zRadek = 8, .castka = "4", .popis = "c"}});
    auto report = generate([](TReportFilter &f) { f.ZpusobSumace = rgDetailed; });
    const std::vector<int> rows = rowsOfOnlyGroup(*report);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(numbers(*report, rows), (std::vector<qint64>{0, 1, 2, 3}));
    const char *const descriptions[] = {"a", "b", "c"};
    const char *const amounts[] = {"1", "2", "4"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(textAt(report->Denik(), rows[i + 1], "Popis"), QString::fromLatin1(descriptions[i]));
        EXPECT_EQ(amount(report->Denik(), rows[i + 1], 13), money(amounts[i]));
    }
}

TEST_F(JournalLoadingTest, DocumentSplitOverTwoGroupsGetsARowInEachWithItsOwnAmounts)
{
    addJournal({{.datum = day(2026, 5, 1), .zRadek = 3, .pohyb = "PZbo", .castka = "1"},
                {.datum = day(2026, 5, 1), .zRadek = 3, .pohyb = "PSlu", .castka = "10"},
                {.datum = day(2026, 5, 1), .zRadek = 3, .pohyb = "PZbo", .castka = "100"},
                {.datum = day(2026, 5, 1), .zRadek = 3, .pohyb = "PSlu", .castka = "1000"}});
    auto report = generate([](TReportFilter &f) { f.VertikalniDeleni = sgkMovement; });
    ASSERT_EQ(report->Skupiny().recordCount(), 2);
    struct Expected {
        const char *key;
        int column;
        const char *sum;
    };
    for (const Expected &e : {Expected{"PZbo", 13, "101"}, Expected{"PSlu", 14, "1010"}}) {
        SCOPED_TRACE(e.key);
        const int group = groupRow(*report, e.key);
        ASSERT_GE(group, 0);
        const std::vector<int> rows = rowsOfGroup(*report, groupId(*report, group));
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(amount(report->Denik(), rows[1], e.column), money(e.sum));
        EXPECT_EQ(amount(report->Denik(), rows[1], 5), money(e.sum));
        EXPECT_EQ(textAt(report->Skupiny(), group, "Nazev"),
                  QStringLiteral("Pohyb ") + QString::fromLatin1(e.key));
    }
}

TEST_F(JournalLoadingTest, FirstRecordOfAGroupStartsARowEvenWithoutSourceAndNumber)
{
    // Zdroj "" and ZRadek 0 equal a new group's empty LastZdroj/LastZRadek;
    // the amount must still reach a row of its own, not the carried row.
    addJournal({{.datum = day(2026, 2, 1), .zdroj = "", .zRadek = 0, .pohyb = "VMat",
                 .castka = "60"}});
    auto report = generate();
    const std::vector<int> rows = rowsOfOnlyGroup(*report);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(integerAt(report->Denik(), rows[1], "Poradi"), 1);
    EXPECT_EQ(amount(report->Denik(), rows[1], 16), money("60"));
    EXPECT_EQ(amount(report->Denik(), rows[0], 16), Currency());
}

TEST_F(JournalLoadingTest, DocumentStraddlingThePeriodStartKeepsItsNumberInThePeriod)
{
    // Index order is by date, so the document's earlier record comes first.
    addJournal({{.datum = day(2026, 2, 27), .zRadek = 5, .castka = "1"},
                {.datum = day(2026, 2, 28), .zRadek = 6, .castka = "2"},
                {.datum = day(2026, 3, 1), .zRadek = 6, .castka = "4"},
                {.datum = day(2026, 3, 2), .zRadek = 7, .castka = "8"}});
    auto report = generate([](TReportFilter &f) {
        f.ZaObdobi = true;
        f.ObdobiOD = day(2026, 3, 1);
        f.ObdobiDO = day(2026, 12, 31);
        f.ZapocitavatPredchObdobi = true;
    });
    const std::vector<int> rows = rowsOfOnlyGroup(*report);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(numbers(*report, rows), (std::vector<qint64>{0, 2, 3}));
    EXPECT_EQ(amount(report->Denik(), rows[0], 5), money("3"));
    EXPECT_EQ(amount(report->Denik(), rows[1], 5), money("4"));
    EXPECT_EQ(amount(report->Denik(), rows[2], 5), money("8"));
}

TEST_F(JournalLoadingTest, FinalOverviewOnlyKeepsTotalsWithoutRows)
{
    addJournal({{.datum = day(2026, 1, 1), .zRadek = 1, .castka = "5"},
                {.datum = day(2026, 1, 2), .zRadek = 2, .castka = "6"}});
    addAdjustments({{.pohyb = "VMat", .castka = "9"}});
    auto report = generate([](TReportFilter &f) {
        f.PouzeZaverecnyPrehled = true;
        f.ZaverkoveUpravy = true;
    });
    EXPECT_EQ(amount(report->Skupiny(), 0, 5), money("11"));
    EXPECT_EQ(amount(report->Skupiny(), 0, 16), money("9"));
    const std::vector<int> rows = rowsOfOnlyGroup(*report);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(textAt(report->Denik(), rows[0], "Popis"), QStringLiteral("Převedeno:"));
    EXPECT_EQ(textAt(report->Denik(), rows[1], "Popis"), QStringLiteral("Uzávěrkové úpravy:"));
    EXPECT_EQ(report->RowCountAll(), 2);
}

TEST_F(JournalLoadingTest, ObjectFiltersApplyTheListRuleToEachField)
{
    addJournal({{.datum = day(2026, 1, 1), .zRadek = 1, .castka = "1", .stred = "A", .mena = "EUR"},
                {.datum = day(2026, 1, 1), .zRadek = 2, .castka = "2", .stred = "B"},
                {.datum = day(2026, 1, 1), .zRadek = 3, .castka = "4", .stred = "AB", .mena = "EUR"},
                {.datum = day(2026, 1, 1), .zRadek = 4, .castka = "8", .stred = "", .mena = "USD"},
                {.datum = day(2026, 1, 1), .zRadek = 5, .castka = "16", .cinnost = "X",
                 .zakazka = "Z1"}});
    struct Case {
        const char *name;
        std::function<void(TReportFilter &)> setup;
        const char *sum;
    };
    const Case cases[] = {
        {"centres A and B", [](TReportFilter &f) { f.FiltrStrediska = true; f.FiltrStrediskaText = "A;B;"; }, "3"},
        {"centres negated", [](TReportFilter &f) { f.FiltrStrediska = true; f.FiltrStrediskaText = "A;B;"; f.FiltrStrediskaNegace = true; }, "28"},
        {"switch off ignores text", [](TReportFilter &f) { f.FiltrStrediskaText = "A;"; f.FiltrStrediskaNegace = true; }, "31"},
        {"empty list passes empty code", [](TReportFilter &f) { f.FiltrStrediska = true; }, "24"},
        {"currency without separator", [](TReportFilter &f) { f.FiltrMena = true; f.FiltrMenaText = "EUR"; }, "5"},
        {"activity", [](TReportFilter &f) { f.FiltrCinnosti = true; f.FiltrCinnostiText = "X"; }, "16"},
        {"contract negated", [](TReportFilter &f) { f.FiltrZakazky = true; f.FiltrZakazkyText = "Z1;"; f.FiltrZakazkyNegace = true; }, "15"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto report = generate(c.setup);
        EXPECT_EQ(amount(report->Skupiny(), 0, 5), money(c.sum));
    }
}

TEST_F(JournalLoadingTest, ProgressIsShownAndRefreshedEveryTwoHundredRecords)
{
    std::vector<JournalEntry> entries(450, JournalEntry{.datum = day(2026, 1, 1), .castka = "1"});
    addJournal(entries);
    auto report = generate();
    EXPECT_EQ(ui().progressCalls.first(),
              QStringLiteral("show:Generuji sestavu, prosím čekejte [cancel] [animate]"));
    EXPECT_EQ(ui().refreshCount, 2);
    EXPECT_EQ(ui().progressCalls.last(), QStringLiteral("hide"));
    EXPECT_FALSE(ui().progressVisible);
    EXPECT_EQ(amount(report->Skupiny(), 0, 5), money("450"));
}

TEST_F(JournalLoadingTest, CancelStopsWithoutMessageAndLeavesNoFigures)
{
    std::vector<JournalEntry> entries(450, JournalEntry{.datum = day(2026, 1, 1), .castka = "1"});
    addJournal(entries);
    ui().cancelAfterRefreshes(1);
    TPenDenReport report(app(), std::make_unique<TReportFilter>(app()));
    EXPECT_TRUE(run(report).cancelled());
    EXPECT_TRUE(ui().messages.isEmpty());
    EXPECT_FALSE(report.Skupiny().isActive());
    EXPECT_FALSE(report.Denik().isActive());
}

TEST_F(JournalLoadingTest, JournalWithoutItsOrderIndexShowsTheIndexMessage)
{
    HostTableDef def = *HostSchema::find(QStringLiteral("UCPENDEN"));
    def.indexes = {HostIndexDef{QStringLiteral("Cislo")}};
    replaceTable(yearFolder(), def);
    TPenDenReport report(app(), std::make_unique<TReportFilter>(app()));
    EXPECT_FALSE(run(report));
    EXPECT_EQ(ui().single(),
              (RecordedMessage{MessageKind::Error,
                               QStringLiteral("Nastala chyba při nastavení indexu databáze ")
                                   + yearFolder() + QStringLiteral("UCPENDEN.DAT")}));
}

TEST_F(JournalLoadingTest, MissingBookShowsTheOpeningMessage)
{
    removeTable(yearFolder(), QStringLiteral("BANKKNIH"));
    TPenDenReport report(app(), std::make_unique<TReportFilter>(app()));
    EXPECT_FALSE(run(report));
    EXPECT_EQ(ui().single(),
              (RecordedMessage{MessageKind::Error,
                               QStringLiteral("Nastala chyba při otevírání databáze ")
                                   + yearFolder() + QStringLiteral("BANKKNIH.DAT")}));
}

TEST_F(JournalLoadingTest, JournalLackingAFieldFailsWithAMessageNamingIt)
{
    HostTableDef def = *HostSchema::find(QStringLiteral("UCPENDEN"));
    def.fields.removeIf([](const HostFieldDef &field) { return field.name == u"Castka"; });
    replaceTable(yearFolder(), def);
    TPenDenReport report(app(), std::make_unique<TReportFilter>(app()));
    EXPECT_FALSE(run(report));
    ASSERT_EQ(ui().messages.size(), 1);
    EXPECT_EQ(ui().messages[0].kind, MessageKind::Error);
    EXPECT_THAT(ui().messages[0].text.toStdString(), ::testing::HasSubstr("Castka"));
}

TEST_F(JournalLoadingTest, UnknownGroupKindIsRefused)
{
    auto filter = std::make_unique<TReportFilter>(app());
    filter->VertikalniDeleni = 9;
    TPenDenReport report(app(), std::move(filter));
    EXPECT_FALSE(run(report));
    EXPECT_EQ(ui().single().kind, MessageKind::Error);
}

} // namespace
} // namespace kasovka::test
