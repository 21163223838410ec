// The filter record: list matching, kind names, the closing-adjustments
// rule, the settings file and the two checks of the entries.

#include "core/DateConvention.h"
#include "filter/FilterListMatcher.h"
#include "filter/FilterValidation.h"
#include "filter/IReportFilterEditor.h"
#include "filter/TReportFilter.h"

#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "core/IniFile.h"
#include "support/TestLaunchContext.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace kasovka::test {
namespace {

struct ListCase {
    const char *value;
    const char *list;
    bool negation;
    bool passes;
};

class FilterList : public ::testing::TestWithParam<ListCase> {};

TEST_P(FilterList, MatchesWholeCodesCaseSensitively)
{
    const ListCase &c = GetParam();
    const QString value = QString::fromUtf8(c.value);
    const QString list = QString::fromUtf8(c.list);
    EXPECT_EQ(TReportFilter::MatchesFilterList(value, list, c.negation), c.passes);
    // The prepared matcher of the reading loop gives the same answer.
    EXPECT_EQ(FilterListMatcher(true, list, c.negation).passes(value), c.passes);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, FilterList,
    ::testing::Values(ListCase{"A", "A;B;", false, true}, ListCase{"B", "A;B;", false, true},
                      ListCase{"AB", "A;B;", false, false}, ListCase{"a", "A;B;", false, false},
                      ListCase{"", "A;B;", false, false}, ListCase{"A", "A;B;", true, false},
                      ListCase{"AB", "A;B;", true, true}, ListCase{"", "A;B;", true, true},
                      ListCase{"EUR", "EUR", false, true}, ListCase{"EU", "EUR", false, false},
                      ListCase{"", "", false, true}, ListCase{"X", "", false, false},
                      ListCase{"", "", true, false}, ListCase{"X", "", true, true},
                      ListCase{"", "A;;B;", false, true}, ListCase{" A", "A;", false, false},
                      ListCase{"A;B", "A;B;", false, true}, ListCase{"B;", "A;B;", false, false},
                      ListCase{"Střed", "Střed;", false, true}));

TEST(FilterListMatcher, SwitchedOffLetsEverythingThrough)
{
    const FilterListMatcher off(false, "A;", true);
    for (const char *value : {"A", "", "B"})
        EXPECT_EQ(off.passes(QString::fromLatin1(value)), true) << value;
}

TEST(SummationGroupKindName, ListAndCaptionForms)
{
    const char *const list[] = {"[nesumovat]", "středisek", "zakázek", "činností", "firem dle IČO",
                                "firem dle čísla adresy", "uživatelů účetního systému",
                                "účetních pohybů"};
    const char *const caption[] = {"", "střediska", "zakázky", "činnosti", "firmy dle IČO",
                                   "firmy dle čísla adresy", "uživatelé účetního systému",
                                   "účetní pohyby"};
    for (quint8 kind = 0; kind <= 7; ++kind) {
        EXPECT_EQ(TReportFilter::SummationGroupKindName(kind, 1), QString::fromUtf8(list[kind]));
        EXPECT_EQ(TReportFilter::SummationGroupKindName(kind, 2), QString::fromUtf8(caption[kind]));
        EXPECT_EQ(TReportFilter::SummationGroupKindName(kind, 0), QString());
        EXPECT_EQ(TReportFilter::SummationGroupKindName(kind, 3), QString());
    }
    EXPECT_EQ(TReportFilter::SummationGroupKindName(8, 1), QString());
    EXPECT_EQ(TReportFilter::SummationGroupKindName(255, 2), QString());
}

class ReportFilterTest : public ::testing::Test {
protected:
    TBaseApplication &app() { return m_context.app(); }
    QString settingsFile() { return app().SettingsFileName(); }
    void writeSettings(const QByteArray &content)
    {
        ASSERT_EQ(QDir().mkpath(app().SettingsFolder()), true);
        QFile file(settingsFile());
        ASSERT_EQ(file.open(QIODevice::WriteOnly), true);
        file.write(content);
    }
    QString stored(const char *key)
    {
        TIniFile ini(settingsFile());
        return ini.ReadString("ReportFilter", QString::fromLatin1(key), "<none>");
    }
    TestLaunchContext m_context;
};

TEST_F(ReportFilterTest, ClosingAdjustmentsOnlyWithoutGroupsAndWithoutALimit)
{
    const TReportFilter filter(app());
    const TDateTime yearEnd = app().FiscalYearTo();
    EXPECT_EQ(filter.ClosingAdjustmentsAllowed(false, false, 0), false);
    EXPECT_EQ(filter.ClosingAdjustmentsAllowed(false, true, yearEnd), false);
    EXPECT_EQ(filter.ClosingAdjustmentsAllowed(true, false, 12345), true);
    EXPECT_EQ(filter.ClosingAdjustmentsAllowed(true, true, yearEnd), true);
    EXPECT_EQ(filter.ClosingAdjustmentsAllowed(true, true, yearEnd + 0.5), true);
    EXPECT_EQ(filter.ClosingAdjustmentsAllowed(true, true, yearEnd - 1), false);
}

TEST_F(ReportFilterTest, StoredAdjustmentsWithGroupsOrAnEarlyEndAreNotIncluded)
{
    TReportFilter filter(app());
    filter.ZaverkoveUpravy = true;
    EXPECT_EQ(filter.IncludesClosingAdjustments(), true);
    filter.VertikalniDeleni = sgkCentre;
    EXPECT_EQ(filter.IncludesClosingAdjustments(), false);
    filter.VertikalniDeleni = sgkNone;
    filter.ZaObdobi = true;
    filter.ObdobiDO = app().FiscalYearTo() - 1;
    EXPECT_EQ(filter.IncludesClosingAdjustments(), false);
}

TEST_F(ReportFilterTest, MissingFileGivesTheDefaults)
{
    TReportFilter filter(app());
    filter.ZaObdobi = true;
    filter.VertikalniDeleni = 3;
    filter.FiltrMenaText = "EUR";
    filter.NazevFiltru = "x";
    EXPECT_EQ(filter.LoadFromIni(), true);
    EXPECT_EQ(filter.ZaObdobi, false);
    EXPECT_EQ(filter.VertikalniDeleni, 0);
    EXPECT_EQ(filter.ZpusobSumace, 0);
    EXPECT_EQ(filter.TriditDle, 0);
    EXPECT_EQ(filter.ObdobiOD, 0);
    EXPECT_EQ(filter.FiltrMenaText, QString());
    EXPECT_EQ(filter.NazevFiltru, QString());
}

TEST_F(ReportFilterTest, SavedValuesComeBackButTheShortNameDoesNot)
{
    ASSERT_EQ(QDir().mkpath(app().SettingsFolder()), true);
    TReportFilter saved(app());
    saved.ZpusobSumace = rgDetailed;
    saved.ZaObdobi = true;
    saved.ObdobiOD = encodeDate(2026, 2, 1);
    saved.ObdobiDO = encodeDate(2026, 2, 28);
    saved.ZapocitavatPredchObdobi = true;
    saved.VertikalniDeleni = sgkMovement;
    saved.PouzeZaverecnyPrehled = true;
    saved.TriditDle = roDocumentNumber;
    saved.NazevFiltru = "Únor";
    saved.ZaverkoveUpravy = true;
    saved.FiltrStrediska = true;
    saved.FiltrStrediskaText = "A;B;";
    saved.FiltrCinnostiNegace = true;
    saved.FiltrZakazkyText = "Z 1;";
    saved.FiltrMena = true;
    saved.FiltrMenaText = "EUR";
    saved.FiltrMenaNegace = true;
    EXPECT_EQ(saved.SaveToIni(), true);
    EXPECT_EQ(stored("NazevFiltru"), QStringLiteral("Únor"));
    EXPECT_EQ(stored("ZaObdobi"), QStringLiteral("1"));
    EXPECT_EQ(stored("FiltrCinnosti"), QStringLiteral("0"));

    TReportFilter loaded(app());
    loaded.LoadFromIni();
    EXPECT_EQ(loaded.ZpusobSumace, rgDetailed);
    EXPECT_EQ(loaded.ZaObdobi, true);
    EXPECT_EQ(loaded.ObdobiOD, encodeDate(2026, 2, 1));
    EXPECT_EQ(loaded.ObdobiDO, encodeDate(2026, 2, 28));
    EXPECT_EQ(loaded.ZapocitavatPredchObdobi, true);
    EXPECT_EQ(loaded.VertikalniDeleni, sgkMovement);
    EXPECT_EQ(loaded.PouzeZaverecnyPrehled, true);
    EXPECT_EQ(loaded.TriditDle, roDocumentNumber);
    EXPECT_EQ(loaded.NazevFiltru, QString());
    EXPECT_EQ(loaded.ZaverkoveUpravy, true);
    EXPECT_EQ(loaded.FiltrStrediska, true);
    EXPECT_EQ(loaded.FiltrStrediskaText, QStringLiteral("A;B;"));
    EXPECT_EQ(loaded.FiltrCinnostiNegace, true);
    EXPECT_EQ(loaded.FiltrZakazkyText, QStringLiteral("Z 1;"));
    EXPECT_EQ(loaded.FiltrMena, true);
    EXPECT_EQ(loaded.FiltrMenaText, QStringLiteral("EUR"));
    EXPECT_EQ(loaded.FiltrMenaNegace, true);
}

TEST_F(ReportFilterTest, BlankDateIsStoredAsDayZeroAndReadsBackAsNoDate)
{
    ASSERT_EQ(QDir().mkpath(app().SettingsFolder()), true);
    TReportFilter saved(app());
    saved.ObdobiDO = encodeDate(2026, 6, 30);
    saved.SaveToIni();
    const QLocale locale = programLocale();
    EXPECT_EQ(stored("ObdobiOD"), locale.toString(QDate(1899, 12, 30), shortDateFormat(locale)));
    TReportFilter loaded(app());
    loaded.LoadFromIni();
    EXPECT_EQ(loaded.ObdobiOD, 0);
    EXPECT_EQ(loaded.ObdobiDO, encodeDate(2026, 6, 30));
}

TEST_F(ReportFilterTest, UnreadableValuesGiveDefaultsAndNumbersKeepEightBits)
{
    writeSettings("[reportfilter]\n"
                  "ZpusobSumace=abc\n"
                  "VertikalniDeleni=300\n"
                  "TriditDle=9\n"
                  "ZaObdobi=2\n"
                  "ZaverkoveUpravy=yes\n"
                  "FiltrMena=-1\n"
                  "ObdobiOD=31.02.2026\n"
                  "ObdobiDO=\n"
                  "FiltrStrediskaText=  A;B;  \n");
    TReportFilter filter(app());
    filter.LoadFromIni();
    EXPECT_EQ(filter.ZpusobSumace, 0);
    EXPECT_EQ(filter.VertikalniDeleni, 44);
    EXPECT_EQ(filter.TriditDle, 9);
    EXPECT_EQ(filter.ZaObdobi, true);
    EXPECT_EQ(filter.ZaverkoveUpravy, false);
    EXPECT_EQ(filter.FiltrMena, true);
    EXPECT_EQ(filter.ObdobiOD, 0);
    EXPECT_EQ(filter.ObdobiDO, 0);
    EXPECT_EQ(filter.FiltrStrediskaText, QStringLiteral("A;B;"));
}

class ScriptedEditor : public IReportFilterEditor {
public:
    explicit ScriptedEditor(bool confirm) : m_confirm(confirm) {}
    bool edit(TReportFilter &filter) override
    {
        seenKind = filter.VertikalniDeleni;
        if (m_confirm) {
            filter.VertikalniDeleni = sgkUser;
            filter.NazevFiltru = "Nový";
        }
        return m_confirm;
    }
    int seenKind = -1;

private:
    bool m_confirm;
};

TEST_F(ReportFilterTest, ExecuteSavesOnlyWhatTheEditorConfirmed)
{
    writeSettings("[ReportFilter]\nVertikalniDeleni=2\nNazevFiltru=Starý\n");
    TReportFilter cancelled(app());
    ScriptedEditor no(false);
    EXPECT_EQ(cancelled.Execute(no), false);
    EXPECT_EQ(no.seenKind, 2);
    EXPECT_EQ(cancelled.NazevFiltru, QString());
    EXPECT_EQ(stored("VertikalniDeleni"), QStringLiteral("2"));

    TReportFilter confirmed(app());
    ScriptedEditor yes(true);
    EXPECT_EQ(confirmed.Execute(yes), true);
    EXPECT_EQ(stored("VertikalniDeleni"), QStringLiteral("6"));
    EXPECT_EQ(stored("NazevFiltru"), QStringLiteral("Nový"));
}

TEST_F(ReportFilterTest, SettingsFileThatCannotBeWrittenIsAnError)
{
    // The settings folder does not exist, so nothing can be written there.
    TReportFilter filter(app());
    EXPECT_THROW(filter.SaveToIni(), Error);
}

struct EntriesCase {
    const char *name;
    FilterEntries entries;
    const char *version;
    int rejection; // 0 none, 1 dates, 2 version
    const char *detail = ""; // the dates' message's last line
};

class FilterEntriesCheck : public ::testing::TestWithParam<EntriesCase> {};

TEST_P(FilterEntriesCheck, DatesAndHostVersion)
{
    const EntriesCase &c = GetParam();
    const auto rejection = validateFilterEntries(c.entries, *Currency::parse(QString::fromLatin1(c.version)));
    const QString dates = QStringLiteral(
        "Datum nemá platný formát, nebo není vyplněn, nebo je datum OD vyšší než datum DO. "
        "Nastavte správné hodnoty, případně filtr \"za období\" vypněte.");
    const QString version = QStringLiteral(
        "Sumovat deník podle \"firem dle čísla adresy\" je možné ve verzi účetního systému "
        "11.060 nebo vyšší.");
    switch (c.rejection) {
    case 0:
        EXPECT_EQ(rejection.has_value(), false);
        break;
    case 1:
        ASSERT_EQ(rejection.has_value(), true);
        EXPECT_EQ(rejection->message, dates + QStringLiteral("\n\n") + QString::fromUtf8(c.detail));
        EXPECT_EQ(rejection->kind, MessageKind::Warning);
        break;
    case 2:
        ASSERT_EQ(rejection.has_value(), true);
        EXPECT_EQ(rejection->message, version);
        EXPECT_EQ(rejection->kind, MessageKind::Information);
        break;
    }
}

const TDateTime kMay1 = 46143, kMay31 = 46173;

INSTANTIATE_TEST_SUITE_P(
    Rules, FilterEntriesCheck,
    ::testing::Values(
        EntriesCase{"PeriodOk", {true, kMay1, kMay31, 0}, "11.06", 0},
        EntriesCase{"EqualDates", {true, kMay1, kMay1, 0}, "11.06", 0},
        EntriesCase{"Reversed", {true, kMay31, kMay1, 0}, "11.06", 1,
                    "Datum od 31.5.2026 je pozdější než datum do 1.5.2026."},
        EntriesCase{"NoFrom", {true, std::nullopt, kMay31, 0}, "11.06", 1, "Datum od není vyplněno."},
        EntriesCase{"ShortYear", {true, std::nullopt, kMay31, 0, "31.3.24"}, "11.06", 1,
                    "Datum od „31.3.24“ nemá platný tvar d.M.rrrr (například 31.3.2024)."},
        EntriesCase{"NoTo", {true, kMay1, std::nullopt, 0}, "11.06", 1, "Datum do není vyplněno."},
        EntriesCase{"ZeroDate", {true, 0.0, kMay31, 0}, "11.06", 1, "Datum od není vyplněno."},
        EntriesCase{"PeriodOffIgnoresDates", {false, std::nullopt, kMay1 - 40, 0}, "11.06", 0},
        EntriesCase{"AddressOnOldHost", {false, std::nullopt, std::nullopt, 5}, "11.059", 2},
        EntriesCase{"AddressOnNewHost", {false, std::nullopt, std::nullopt, 5}, "11.06", 0},
        EntriesCase{"OtherKindOnOldHost", {false, std::nullopt, std::nullopt, 4}, "10", 0},
        EntriesCase{"DatesCheckedFirst", {true, kMay31, kMay1, 5}, "11", 1,
                    "Datum od 31.5.2026 je pozdější než datum do 1.5.2026."}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
} // namespace kasovka::test
