// Summation groups: keys, names from the host code lists, labels, order.

#include "report/ReportFixture.h"

#include "core/MemTable.h"

namespace kasovka::test {
namespace {

class GroupsTest : public ReportTest {
protected:
    // Zkratka and Nazev of every group in Skupiny order.
    std::vector<std::pair<QString, QString>> groups(const TPenDenReport &report)
    {
        std::vector<std::pair<QString, QString>> result;
        for (int row = 0; row < report.Skupiny().recordCount(); ++row)
            result.emplace_back(textAt(report.Skupiny(), row, "Zkratka"),
                                textAt(report.Skupiny(), row, "Nazev"));
        return result;
    }
    using Groups = std::vector<std::pair<QString, QString>>;
};

TEST_F(GroupsTest, CentresAreNamedFromTheirListAndTheEmptyKeyByItsLabel)
{
    addCodeListEntry("SZSTRED", "A", "Zlín");
    addCodeListEntry("SZSTRED", "B", "Brno");
    addJournal({{.datum = day(2026, 1, 1), .zRadek = 1, .castka = "1", .stred = "A"},
                {.datum = day(2026, 1, 1), .zRadek = 2, .castka = "2", .stred = "B"},
                {.datum = day(2026, 1, 1), .zRadek = 3, .castka = "4", .stred = ""},
                {.datum = day(2026, 1, 1), .zRadek = 4, .castka = "8", .stred = "A"}});
    auto report = generate([](TReportFilter &f) { f.VertikalniDeleni = sgkCentre; });
    // Ordered by name; the label sorts by its own text.
    EXPECT_EQ(groups(*report), (Groups{{"", "[doklady bez střediska]"}, {"B", "Brno"}, {"A", "Zlín"}}));
    EXPECT_EQ(amount(report->Skupiny(), groupRow(*report, "A"), 5), money("9"));
    // Each group numbers its rows on its own.
    const std::vector<int> rows = rowsOfGroup(*report, groupId(*report, groupRow(*report, "A")));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(integerAt(report->Denik(), rows[2], "Poradi"), 2);
}

TEST_F(GroupsTest, KeysDifferingInLetterCaseShareTheGroupOfTheFirst)
{
    addJournal({{.datum = day(2026, 1, 1), .zRadek = 1, .castka = "1", .zakazka = "abc"},
                {.datum = day(2026, 1, 1), .zRadek = 2, .castka = "2", .zakazka = "ABC"},
                {.datum = day(2026, 1, 1), .zRadek = 3, .castka = "4", .zakazka = "Abč"},
                {.datum = day(2026, 1, 1), .zRadek = 4, .castka = "8", .zakazka = "ABČ"}});
    auto report = generate([](TReportFilter &f) { f.VertikalniDeleni = sgkContract; });
    ASSERT_EQ(report->Skupiny().recordCount(), 2);
    EXPECT_EQ(amount(report->Skupiny(), groupRow(*report, "abc"), 5), money("3"));
    EXPECT_EQ(amount(report->Skupiny(), groupRow(*report, "Abč"), 5), money("12"));
    // Unknown contract codes leave the name empty.
    EXPECT_EQ(textAt(report->Skupiny(), groupRow(*report, "abc"), "Nazev"), QString());
}

TEST_F(GroupsTest, KeysAreCutLikeTheStoredCodeSoLongCodesStillShareAGroup)
{
    const QString base(50, u'K');
    addJournal({{.datum = day(2026, 1, 1), .zRadek = 1, .castka = "1", .vyst = base + "1"},
                {.datum = day(2026, 1, 1), .zRadek = 2, .castka = "2", .vyst = base + "2"}});
    auto report = generate([](TReportFilter &f) { f.VertikalniDeleni = sgkUser; });
    ASSERT_EQ(report->Skupiny().recordCount(), 1);
    EXPECT_EQ(amount(report->Skupiny(), 0, 5), money("3"));
}

TEST_F(GroupsTest, FirmsByAddressNumberWithTheUnlinkedGroupZero)
{
    addAddress(7, "111", "Alfa s.r.o.");
    addJournal({{.datum = day(2026, 1, 1), .zRadek = 1, .castka = "1", .adCislo = 7},
                {.datum = day(2026, 1, 1), .zRadek = 2, .castka = "2", .adCislo = 0},
                {.datum = day(2026, 1, 1), .zRadek = 3, .castka = "4", .adCislo = 99}});
    auto report = generate([](TReportFilter &f) { f.VertikalniDeleni = sgkFirmByAddress; });
    // An unknown number keeps an empty name, which sorts first.
    EXPECT_EQ(groups(*report), (Groups{{"99", ""}, {"0", "[doklady bez vazby na adresář]"},
                                       {"7", "Alfa s.r.o."}}));
}

TEST_F(GroupsTest, FirmsByCompanyNumberTakeTheNameTheIndexFindsFirst)
{
    addAddress(1, "222", "První");
    addAddress(2, "222", "Druhá");
    addJournal({{.datum = day(2026, 1, 1), .zRadek = 1, .castka = "1", .ico = "222", .adCislo = 1},
                {.datum = day(2026, 1, 1), .zRadek = 2, .castka = "2", .ico = "222", .adCislo = 2},
                {.datum = day(2026, 1, 1), .zRadek = 3, .castka = "4", .ico = ""}});
    auto report = generate([](TReportFilter &f) { f.VertikalniDeleni = sgkFirmByIco; });
    EXPECT_EQ(groups(*report), (Groups{{"", "[doklady bez IČO]"}, {"222", "První"}}));
    EXPECT_EQ(amount(report->Skupiny(), groupRow(*report, "222"), 5), money("3"));
}

TEST_F(GroupsTest, UsersAreNamedByTheirOwnTextAndActivitiesByTheirList)
{
    addJournal({{.datum = day(2026, 1, 1), .zRadek = 1, .castka = "1", .cinnost = "C1", .vyst = "Nováková"},
                {.datum = day(2026, 1, 1), .zRadek = 2, .castka = "2", .vyst = ""}});
    addCodeListEntry("SZCINN", "C1", "Prodej");
    auto users = generate([](TReportFilter &f) { f.VertikalniDeleni = sgkUser; });
    EXPECT_EQ(groups(*users), (Groups{{"", ""}, {"Nováková", "Nováková"}}));
    auto activities = generate([](TReportFilter &f) { f.VertikalniDeleni = sgkActivity; });
    EXPECT_EQ(groups(*activities), (Groups{{"", "[doklady bez činnosti]"}, {"C1", "Prodej"}}));
}

TEST_F(GroupsTest, EmptyJournalGivesTheKindsDefaultGroup)
{
    struct Case {
        quint8 kind;
        const char *key;
        const char *name;
    };
    for (const Case &c : {Case{sgkNone, "", ""}, Case{sgkCentre, "", "[doklady bez střediska]"},
                          Case{sgkFirmByAddress, "0", "[doklady bez vazby na adresář]"},
                          Case{sgkUser, "", ""},
                          Case{sgkMovement, "", "[doklady bez účetního pohybu]"}}) {
        SCOPED_TRACE(int(c.kind));
        auto report = generate([&c](TReportFilter &f) { f.VertikalniDeleni = c.kind; });
        EXPECT_EQ(groups(*report), (Groups{{c.key, c.name}}));
        EXPECT_EQ(report->Prevedeno().recordCount(), 1);
        EXPECT_EQ(report->RowCountAll(), 1);
    }
}

TEST_F(GroupsTest, MissingCodeListIsReportedButTheReportIsComplete)
{
    removeTable(yearFolder(), QStringLiteral("SZSTRED"));
    addJournal({{.datum = day(2026, 1, 1), .zRadek = 1, .castka = "1", .stred = "A"},
                {.datum = day(2026, 1, 1), .zRadek = 2, .castka = "2", .stred = ""}});
    auto report = generate([](TReportFilter &f) { f.VertikalniDeleni = sgkCentre; });
    EXPECT_EQ(ui().single(),
              (RecordedMessage{MessageKind::Error,
                               QStringLiteral("Nastala chyba při otevírání databáze ")
                                   + yearFolder() + QStringLiteral("SZSTRED.DAT")}));
    EXPECT_EQ(groups(*report), (Groups{{"A", ""}, {"", "[doklady bez střediska]"}}));
    EXPECT_EQ(report->Warnings().size(), 2);
}

TEST_F(GroupsTest, GroupsGetNeitherOpeningBalancesNorClosingAdjustments)
{
    addRegisters({{.zkrat = "P1", .ucPokl = "P", .pocStav = "500"}});
    addAdjustments({{.pohyb = "VMat", .castka = "9"}});
    addJournal({{.datum = day(2026, 1, 1), .castka = "1", .stred = "A"}});
    auto report = generate([](TReportFilter &f) {
        f.VertikalniDeleni = sgkCentre;
        f.ZaverkoveUpravy = true;
    });
    ASSERT_EQ(report->Skupiny().recordCount(), 1);
    EXPECT_EQ(amount(report->Skupiny(), 0, 5), money("1"));
    EXPECT_EQ(amount(report->Skupiny(), 0, 16), Currency());
    EXPECT_EQ(report->PocatecniStav().recordCount(), 0);
    EXPECT_EQ(report->RowCountAll(), 2);
}

} // namespace
} // namespace kasovka::test
