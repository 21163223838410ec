// The template engine over the in-memory workbook: bands, tags, dumps,
// markers, the engine's error texts and the formats a target name picks.

#include "FakeDataSet.h"
#include "FakeWorkbook.h"

#include "core/Error.h"
#include "template/ExcelBand.h"
#include "template/ExportFormat.h"
#include "template/ExportRowLimit.h"
#include "template/TemplateReport.h"
#include "template/TemplateTags.h"

#include <QDate>
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace kasovka;
using namespace kasovka::test;

namespace {

class EngineTest : public ::testing::Test {
protected:
    EngineTest()
        : groups("Table1", {"ID", "Nazev"}),
          rows("Table2", {"ID", "Parent_ID", "Popis", "Datum", "Poznamka"},
               {FakeFieldKind::Plain, FakeFieldKind::Plain, FakeFieldKind::Plain,
                FakeFieldKind::DateTime, FakeFieldKind::Memo})
    {
        module.addDataSet("Table1", &groups);
        module.addDataSet("Table2", &rows);
    }

    FakeSheet &sheet() { return book.sheets[0]; }
    void run()
    {
        adapter.files["template.xl"] = book;
        TTemplateReport report(&module);
        report.setAdapter(&adapter);
        report.setTemplate("template.xl");
        report.setFileName("out.xls");
        report.Run();
    }
    std::string runError()
    {
        try {
            run();
        } catch (const Error &error) {
            return error.text().toStdString();
        }
        return "(no error)";
    }
    const FakeSheet &out() { return adapter.saved("out.xls").sheets[0]; }
    std::vector<QStringList> outTexts(int width = 2) { return out().texts(width); }
    void addGroups(int count)
    {
        for (int i = 1; i <= count; ++i)
            groups.add({i, QString("G%1").arg(i)});
    }

    FakeAdapter adapter;
    TTemplateDataModule module;
    FakeBook book;
    FakeDataSet groups;
    FakeDataSet rows;
};

// ---- bands ----

TEST_F(EngineTest, OneRowBandRepeatsOncePerRecordAndVanishesWithoutRecords)
{
    for (int count : {0, 1, 3}) {
        SCOPED_TRACE(count);
        FakeDataSet table("Table1", {"ID", "Nazev"});
        for (int i = 1; i <= count; ++i)
            table.add({i, QString("G%1").arg(i)});
        TTemplateDataModule local;
        local.addDataSet("Table1", &table);
        FakeBook templ;
        templ.sheets[0].set(1, 1, "Hlava");
        templ.sheets[0].set(2, 1, "##Table1##Nazev", 7);
        templ.sheets[0].set(3, 1, "Konec");
        templ.addName("__Table1__", 1, 2, 2);
        FakeAdapter files;
        files.files["t"] = templ;
        TTemplateReport report(&local);
        report.setAdapter(&files);
        report.setTemplate("t");
        report.setFileName("o");
        report.Run();

        std::vector<QStringList> expected{{"Hlava"}};
        for (int i = 1; i <= count; ++i)
            expected.push_back({QString("G%1").arg(i)});
        expected.push_back({"Konec"});
        EXPECT_EQ(files.saved("o").sheets[0].texts(1), expected);
        if (count > 0)
            EXPECT_EQ(files.saved("o").sheets[0].format(1 + count, 1), 7);
    }
}

TEST_F(EngineTest, DetailBandRepeatsPerDetailRecordInsideEachMaster)
{
    groups.add({1, "A"});
    groups.add({2, "B"});
    rows.add({10, 1, "A-detail-1"});
    rows.add({11, 1, "A-detail-2"});
    rows.add({12, 3, "other group"});
    rows.linkTo(groups, "ID", "Parent_ID");
    sheet().set(1, 1, "Titulek");
    sheet().set(2, 1, "##Table1##Nazev");
    sheet().set(2, 2, "-row-2");
    sheet().set(3, 1, "##Table2##Popis");
    sheet().set(4, 1, "##Table1##Nazev");
    sheet().set(4, 2, "-row-4");
    sheet().set(5, 1, "##Table1##Nazev");
    sheet().set(5, 2, "-row-5");
    sheet().set(6, 1, "Pata");
    book.addName("__Table1__", 1, 2, 5);
    book.addName("__Table2__", 1, 3, 3);
    run();

    const std::vector<QStringList> expected{
        {"Titulek", ""}, {"A", "-row-2"}, {"A-detail-1", ""}, {"A-detail-2", ""},
        {"A", "-row-4"}, {"A", "-row-5"}, {"B", "-row-2"}, {"B", "-row-4"},
        {"B", "-row-5"}, {"Pata", ""}};
    EXPECT_EQ(outTexts(), expected);
}

TEST_F(EngineTest, BandOfUnknownDataSetIsKeptAndFilledOnce)
{
    sheet().set(1, 1, "jednou");
    sheet().set(2, 1, "Pata");
    book.addName("__Nikde__", 1, 1, 1);
    run();
    EXPECT_EQ(outTexts(1), (std::vector<QStringList>{{"jednou"}, {"Pata"}}));
}

TEST_F(EngineTest, TallerRangeWithTheSameTopRowIsTheParent)
{
    addGroups(2);
    rows.add({10, 1, "d1"});
    rows.add({11, 2, "d2"});
    rows.add({12, 2, "d3"});
    rows.linkTo(groups, "ID", "Parent_ID");
    sheet().set(1, 1, "##Table2##Popis");
    sheet().set(2, 1, "##Table1##Nazev");
    // The shorter range is listed first and later: neither order may matter.
    book.addName("__Table2__", 1, 1, 1);
    book.addName("__Table1__", 1, 1, 2);
    run();
    EXPECT_EQ(outTexts(1), (std::vector<QStringList>{{"d1"}, {"G1"}, {"d2"}, {"d3"}, {"G2"}}));
}

TEST_F(EngineTest, ChildBandThatEndsOnItsParentsLastRowIsFound)
{
    addGroups(1);
    rows.add({10, 1, "d1"});
    rows.add({11, 1, "d2"});
    rows.linkTo(groups, "ID", "Parent_ID");
    FakeDataSet notes("Table3", {"Parent_ID", "Text"});
    notes.add({1, "n1"});
    notes.add({1, "n2"});
    notes.add({1, "n3"});
    notes.linkTo(groups, "ID", "Parent_ID");
    module.addDataSet("Table3", &notes);
    sheet().set(1, 1, "##Table1##Nazev");
    sheet().set(2, 1, "##Table2##Popis");
    sheet().set(3, 1, "##Table3##Text");
    book.addName("__Table1__", 1, 1, 3);
    book.addName("__Table2__", 1, 2, 2);
    book.addName("__Table3__", 1, 3, 3);
    run();
    EXPECT_EQ(outTexts(1),
              (std::vector<QStringList>{{"G1"}, {"d1"}, {"d2"}, {"n1"}, {"n2"}, {"n3"}}));
}

// Band ranges of a damaged template: each is refused before the sheet is
// changed, instead of looping, growing or filling the wrong rows.
TEST_F(EngineTest, DamagedBandRangesAreRefused)
{
    struct Range {
        const char *name;
        int firstRow, lastRow, firstColumn, lastColumn;
    };
    struct Row {
        const char *what;
        std::vector<Range> ranges;
        const char *error; // after "Šablona je poškozená: "
    };
    std::vector<Range> deep;
    for (int level = 0; level <= 64; ++level)
        deep.push_back({"__Table1__", 1 + level, 200 - level, 1, 2});
    const Row cases[] = {
        {"first row after the last", {{"__Table1__", 1, 10, 1, 2}, {"__Table2__", 8, 6, 1, 2}},
         "oblast __Table2__ na listu 1 má první řádek (8) za posledním (6)."},
        {"columns reversed", {{"__Table1__", 1, 1, 5, 2}},
         "oblast __Table1__ na listu 1 má první sloupec (5) za posledním (2)."},
        {"row 0", {{"__Table1__", 0, 3, 1, 2}}, "oblast __Table1__ na listu 1 leží mimo list."},
        {"below the last row", {{"__Table1__", 65530, 70000, 1, 2}}, "oblast __Table1__ na listu 1 leží mimo list."},
        {"column 257", {{"__Table1__", 1, 3, 1, 257}}, "oblast __Table1__ na listu 1 leží mimo list."},
        {"crossing ranges", {{"__Table1__", 1, 5, 1, 2}, {"__Table2__", 4, 8, 1, 2}},
         "oblasti __Table1__ (řádky 1 až 5) a __Table2__ (řádky 4 až 8) na listu 1 se překrývají, ale jedna "
         "neleží uvnitř druhé."},
        {"65 levels", deep, "oblasti na listu 1 jsou do sebe vnořeny více než 64krát."},
    };
    addGroups(3);
    for (const Row &row : cases) {
        SCOPED_TRACE(row.what);
        adapter.files.clear();
        book = FakeBook{};
        sheet().set(1, 1, "##Table1##Nazev");
        for (const Range &r : row.ranges)
            book.addName(r.name, 1, r.firstRow, r.lastRow, r.firstColumn, r.lastColumn);
        EXPECT_EQ(runError(), "Šablona je poškozená: " + std::string(row.error));
        EXPECT_EQ(adapter.files.count("out.xls"), 0u);
    }
}

// Bands that move each other's data sets would repeat for ever: the row
// check before the fill and the engine both refuse them, promptly.
TEST_F(EngineTest, BandsThatMoveEachOthersDataSetsAreRefused)
{
    struct Row {
        const char *what;
        const char *outer, *inner;
        const char *error; // after "Šablona je poškozená: "
    };
    const Row cases[] = {
        {"the same table inside", "__Table1__", "__Table1__Kopie",
         "oblast __Table1__Kopie na listu 1 prochází tabulku Table1, kterou prochází už oblast __Table1__, ve "
         "které leží."},
        {"the master inside its detail", "__Table2__", "__Table1__", "oblasti na listu 1 se opakují bez konce."},
    };
    addGroups(2);
    rows.add({10, 1, "d1"});
    rows.add({11, 1, "d2"});
    rows.linkTo(groups, "ID", "Parent_ID");
    // Reading a note moves the journal row back to the first of its group.
    FakeDataSet notes("Table3", {"Parent_ID", "Text"});
    notes.add({10, "n1"});
    notes.linkTo(rows, "ID", "Parent_ID");
    module.addDataSet("Table3", &notes);
    for (const Row &row : cases) {
        SCOPED_TRACE(row.what);
        adapter.files.clear();
        book = FakeBook{};
        sheet().set(1, 1, "##Table2##Popis");
        sheet().set(2, 1, "##Table1##Nazev");
        book.addName(row.outer, 1, 1, 3);
        book.addName(row.inner, 1, 2, 3);
        book.addName("__Table3__", 1, 3, 3);
        const std::string expected = "Šablona je poškozená: " + std::string(row.error);
        EXPECT_EQ(runError(), expected);
        const std::unique_ptr<IXlsWorkbook> workbook = adapter.createWorkbook();
        workbook->open("template.xl");
        try {
            filledRowCount(*workbook, [this](const QString &name) { return module.findDataSet(name); });
            ADD_FAILURE() << "the row check passed";
        } catch (const Error &error) {
            EXPECT_EQ(error.text().toStdString(), expected);
        }
    }
}

TEST(ExportFormat, FollowsTheExtension)
{
    const std::pair<const char *, TExportFormat> cases[] = {
        {"/tmp/a.xlsx", TExportFormat::Xlsx}, {"/tmp/A.XLSX", TExportFormat::Xlsx},
        {"/tmp/a.xls", TExportFormat::Xls},   {"/tmp/a", TExportFormat::Xls},
        {"/tmp/a.xlsx.bak", TExportFormat::Xls}, {"/tmp/a.ods", TExportFormat::Xls},
    };
    for (const auto &[path, format] : cases)
        EXPECT_EQ(exportFormatOf(QString::fromLatin1(path)), format) << path;
    EXPECT_EQ(maxExportRows(TExportFormat::Xls), 65536);
    EXPECT_EQ(maxExportRows(TExportFormat::Xlsx), 1048576);
}

TEST(BandNames, PrefixAndDataSetNames)
{
    struct Row {
        const char *name;
        bool band;
        QStringList names;
    };
    const Row cases[] = {
        {"__Table1__", true, {"Table1"}},
        {"List1!__Table1__", true, {"Table1"}},
        {"__Table1__Table2__", true, {"Table1", "Table2"}},
        {"__Table1__zbytek", true, {"Table1"}},
        {"__Bez", true, {}},
        {"x__Table1__", false, {}},
        {"_Table1__", false, {}},
        {"Tisk!Oblast", false, {}},
    };
    for (const Row &row : cases) {
        SCOPED_TRACE(row.name);
        const auto names = bandDataSetNames(row.name);
        ASSERT_EQ(names.has_value(), row.band);
        if (names)
            EXPECT_EQ(*names, row.names);
    }
}

TEST_F(EngineTest, BandsOfOtherSheetsAndSheetsWithoutBandsAreLeftAlone)
{
    addGroups(2);
    book.sheets.push_back(FakeSheet{});
    book.sheets.push_back(FakeSheet{});
    book.sheets[1].worksheet = false;
    book.sheets[2].set(1, 1, "##Table1##Nazev");
    book.sheets[2].set(2, 1, "...delete row...");
    sheet().set(1, 1, "##Table1##Nazev");
    book.addName("__Table1__", 2, 1, 1); // lies on the chart sheet
    run();
    EXPECT_EQ(out().texts(1), (std::vector<QStringList>{{"##Table1##Nazev"}}));
    EXPECT_EQ(adapter.saved("out.xls").sheets[2].texts(1),
              (std::vector<QStringList>{{"##Table1##Nazev"}, {"...delete row..."}}));
    EXPECT_TRUE(adapter.saved("out.xls").firstSelected);
}

// ---- cells ----

TEST_F(EngineTest, TagIsRecognisedOnlyAtTheStartOfTheCell)
{
    groups.add({1, "Alfa"});
    sheet().set(1, 1, "##Table1##Nazev##cokoli");
    sheet().set(1, 2, "Skupina ##Table1##Nazev");
    sheet().set(1, 3, 42.5);
    book.addName("__Table1__", 1, 1, 1, 1, 3);
    run();
    EXPECT_EQ(out().value(1, 1), QVariant("Alfa"));
    EXPECT_EQ(out().value(1, 2), QVariant("Skupina ##Table1##Nazev"));
    EXPECT_EQ(out().value(1, 3), QVariant(42.5));
}

TEST_F(EngineTest, FieldValuesKeepTheirKindAndTheTemplateFormat)
{
    groups.add({1, "G"});
    rows.add({10, 1, QVariant(), 46000.5, "první\r\ndruhý"});
    rows.add({11, 2, true, QVariant(), QVariant()});
    sheet().set(1, 1, "##Table2##ID", 3);
    sheet().set(1, 2, "##Table2##Popis", 4);
    sheet().set(1, 3, "##Table2##Datum", 5);
    sheet().set(1, 4, "##Table2##Poznamka", 6);
    book.addName("__Table2__", 1, 1, 1, 1, 4);
    run();
    EXPECT_EQ(out().value(1, 1), QVariant(10.0));
    EXPECT_EQ(out().value(1, 2), QVariant());    // empty field: blank ...
    EXPECT_EQ(out().format(1, 2), 4);            // ... that keeps its format
    EXPECT_EQ(out().value(1, 3), QVariant(46000.5));
    EXPECT_EQ(out().value(1, 4), QVariant("první\ndruhý"));
    EXPECT_EQ(out().value(2, 2), QVariant(true));
    EXPECT_EQ(out().value(2, 3), QVariant());
    EXPECT_EQ(out().format(2, 3), 5);
}

TEST_F(EngineTest, CellsOutsideTheMainBandColumnsAreNotReplaced)
{
    addGroups(2);
    sheet().set(1, 1, "##Table1##Nazev");
    sheet().set(1, 3, "##Table1##Nazev");
    book.addName("__Table1__", 1, 1, 1, 1, 2);
    run();
    EXPECT_EQ(out().value(1, 1), QVariant("G1"));
    EXPECT_EQ(out().value(1, 3), QVariant("##Table1##Nazev"));
    EXPECT_EQ(out().value(2, 1), QVariant("G2"));
    EXPECT_EQ(out().value(2, 3), QVariant()); // copies carry formulas only
}

TEST_F(EngineTest, FormulaCellsAreCopiedIntoEveryRepetition)
{
    addGroups(3);
    sheet().set(1, 1, "##Table1##Nazev");
    sheet().set(1, 2, "=B1*2", 9, true);
    book.addName("__Table1__", 1, 1, 1, 1, 2);
    run();
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(out().format(row, 2), 9);
        EXPECT_EQ(out().value(row, 1), QVariant(QString("G%1").arg(row)));
    }
}

// ---- named values ----

TEST_F(EngineTest, NamedValuesAndTheirIndexes)
{
    module.setValue("Nadpis", "Peněžní deník");
    module.setValue("Matice", QVariantList{QVariantList{1, 2}, QVariantList{3, 4}});
    module.setValue("Den", QDate(2026, 1, 1));
    sheet().set(1, 1, "#.Nadpis");
    sheet().set(1, 2, "#.Matice#.1#.0");
    sheet().set(1, 3, "#.Den");
    sheet().set(1, 4, "#.nadpis");
    book.addName("__Nikde__", 1, 1, 1, 1, 4);
    run();
    EXPECT_EQ(out().value(1, 1), QVariant("Peněžní deník"));
    EXPECT_EQ(out().value(1, 2), QVariant(3.0));
    EXPECT_EQ(out().value(1, 3), QVariant(46023.0));
    EXPECT_EQ(out().value(1, 4), QVariant("Peněžní deník"));
}

TEST_F(EngineTest, ErrorTextsNameWhatIsWrong)
{
    module.setValue("Matice", QVariantList{QVariantList{1, 2}, QVariantList{3, 4}});
    module.setValueGetter("Vadna", []() -> QVariant { throw std::runtime_error("x"); });
    struct Row {
        const char *cell;
        const char *error;
    };
    const Row cases[] = {
        {"##Chybi##Nazev", "Can´t find the dataset Chybi"},
        {"##Table1", "Can´t find the dataset "},
        {"##Table1##Neni", "Table1: Field 'Neni' not found"},
        {"#.Neni", "Property \"Neni\" has not been defined or is not published"},
        {"#.Vadna", "Error trying to retrieve property \"Vadna\". Verify it is a variant"},
        {"#.Matice#.2", "The index \"2\" of the property \"Matice\" is not in the range 0-1"},
        {"#.Matice#.1#.-1", "The index \"-1\" of the property \"Matice\" is not in the range 0-1"},
        {"#.Matice#.0#.0#.0", "The property \"Matice\" has only 2 dimensions"},
    };
    addGroups(1);
    for (const Row &row : cases) {
        SCOPED_TRACE(row.cell);
        adapter.files.clear();
        book = FakeBook{};
        sheet().set(1, 1, row.cell);
        book.addName("__Table1__", 1, 1, 1);
        EXPECT_EQ(runError(), row.error);
        EXPECT_EQ(adapter.files.count("out.xls"), 0u);
    }
}

TEST_F(EngineTest, RunWithoutAdapterOrTemplateFails)
{
    TTemplateReport report(&module);
    report.setTemplate("template.xl");
    report.setFileName("out.xls");
    try {
        report.Run();
        FAIL() << "ran without an adapter";
    } catch (const Error &error) {
        EXPECT_EQ(error.text(), "There is no Adapter linked to the report");
    }
    report.setAdapter(&adapter);
    report.setTemplate("missing.xl");
    try {
        report.Run();
        FAIL() << "ran without a template";
    } catch (const Error &error) {
        EXPECT_EQ(error.text(), "Can't find the file \"missing.xl\"");
    }
}

TEST_F(EngineTest, ParseErrorsComeBeforeAnyRowIsInserted)
{
    addGroups(5);
    sheet().set(1, 1, "##Table1##Nazev");
    sheet().set(2, 1, "##Table1##Chybi");
    book.addName("__Table1__", 1, 1, 2);
    EXPECT_EQ(runError(), "Table1: Field 'Chybi' not found");
    EXPECT_EQ(adapter.files.count("out.xls"), 0u);
}

TEST_F(EngineTest, DataSetsTheRunOpenedAreClosedAfterIt)
{
    addGroups(2);
    groups.setActive(false);
    sheet().set(1, 1, "##Table1##Nazev");
    book.addName("__Table1__", 1, 1, 1);
    run();
    EXPECT_EQ(outTexts(1), (std::vector<QStringList>{{"G1"}, {"G2"}}));
    EXPECT_FALSE(groups.isActive());
}

} // namespace
