// Full data set dumps, row markers, comments and images.

#include "FakeDataSet.h"
#include "FakeWorkbook.h"

#include "core/Error.h"
#include "template/TemplateReport.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace kasovka;
using namespace kasovka::test;

namespace {

class MarkersTest : public ::testing::Test {
protected:
    MarkersTest()
        : table("Table1", {"ID", "Nazev", "Datum", "Obrazek"},
                {FakeFieldKind::Plain, FakeFieldKind::Plain, FakeFieldKind::DateTime})
    {
        module.addDataSet("Table1", &table);
    }
    FakeSheet &sheet() { return book.sheets[0]; }
    void run()
    {
        adapter.files["t"] = book;
        TTemplateReport report(&module);
        report.setAdapter(&adapter);
        report.setTemplate("t");
        report.setFileName("o");
        report.Run();
    }
    const FakeSheet &out() { return adapter.saved("o").sheets[0]; }

    FakeAdapter adapter;
    TTemplateDataModule module;
    FakeBook book;
    FakeDataSet table;
};

TEST_F(MarkersTest, DumpWritesTitlesAndRecordsAndMovesLaterDumps)
{
    table.add({1, "A", 46023.0});
    table.add({2, "B", 46024.25});
    table.add({3, "C", QVariant()});
    FakeDataSet empty("Prazdna", {"X"});
    module.addDataSet("Prazdna", &empty);
    sheet().set(1, 1, "##Table1##*");
    sheet().set(2, 1, "", 5); // the row that each record copies
    sheet().set(3, 1, "##Prazdna##*");
    sheet().set(4, 1, "odstraněno");
    sheet().set(5, 1, "##Table1##*");
    sheet().set(6, 2, "vzor", 8);
    sheet().set(7, 1, "konec");
    book.addName("__Nic__", 1, 1, 7);
    run();

    const std::vector<QStringList> expected{
        {"ID", "Nazev", "Datum", "Obrazek"},
        {"1", "A", "1.1.2026", ""},
        {"2", "B", "2.1.2026 6:00:00", ""},
        {"3", "C", "", ""},
        {"X", "", "", ""},
        {"ID", "Nazev", "Datum", "Obrazek"},
        {"1", "A", "1.1.2026", ""},
        {"2", "B", "2.1.2026 6:00:00", ""},
        {"3", "C", "", ""},
        {"konec", "", "", ""},
    };
    EXPECT_EQ(out().texts(4), expected);
    EXPECT_EQ(out().format(3, 1), 5);  // copied with the whole row
    EXPECT_EQ(out().format(9, 2), 8);
}

TEST_F(MarkersTest, MarkedRowsAreDeletedAndBreaksStartPages)
{
    table.add({1, "...page break..."});
    table.add({2, "ponechat"});
    table.add({3, "...delete row..."});
    table.add({4, "...page break..."});
    sheet().set(1, 1, "##Table1##Nazev", 4);
    sheet().set(1, 2, "##Table1##ID");
    sheet().set(2, 1, "...delete row...");
    sheet().set(3, 1, "...delete row... ne"); // not exactly the marker
    book.addName("__Table1__", 1, 1, 1, 1, 2);
    run();

    const std::vector<QStringList> expected{
        {"", "1"}, {"ponechat", "2"}, {"", "4"}, {"...delete row... ne", ""}};
    EXPECT_EQ(out().texts(2), expected);
    EXPECT_EQ(out().pageBreaks, (std::set<int>{1, 3}));
    EXPECT_EQ(out().format(3, 1), 4); // the erased marker keeps its format
}

TEST_F(MarkersTest, MarkersInASheetWithoutBandsStay)
{
    sheet().set(1, 1, "...delete row...");
    sheet().set(2, 1, "...page break...");
    run();
    EXPECT_EQ(out().texts(1), (std::vector<QStringList>{{"...delete row..."}, {"...page break..."}}));
    EXPECT_TRUE(out().pageBreaks.empty());
}

TEST_F(MarkersTest, CommentsAreFilledPerRepetition)
{
    table.add({1, "A"});
    table.add({2, ""});
    sheet().set(1, 1, "##Table1##ID");
    sheet().comments[1] = {"##Table1##Nazev", "pevná poznámka"};
    book.addName("__Table1__", 1, 1, 1);
    run();
    EXPECT_EQ(out().comments.at(1), (std::vector<QString>{"A", "pevná poznámka"}));
    // An empty result removes the comment.
    EXPECT_EQ(out().comments.at(2), (std::vector<QString>{"pevná poznámka"}));
}

TEST_F(MarkersTest, ImagesTakeTheirTypeFromTheName)
{
    table.add({1, "A", QVariant(), QByteArray("\x89PNG-data")});
    sheet().set(1, 1, "##Table1##ID");
    sheet().images[1] = {{"##Table1##Obrazek##png"}, {"Logo"}};
    book.addName("__Table1__", 1, 1, 1);
    run();
    ASSERT_EQ(out().images.at(1).size(), 2u);
    EXPECT_EQ(out().images.at(1)[0].type, TXlsImageType::Png);
    EXPECT_EQ(out().images.at(1)[0].data, QByteArray("\x89PNG-data"));
    EXPECT_EQ(out().images.at(1)[1].data, QByteArray()); // a plain name stays as it is

    adapter.files.clear();
    sheet().images[1] = {{"##Table1##Obrazek##GIF"}};
    try {
        run();
        FAIL() << "an unknown picture type was accepted";
    } catch (const Error &error) {
        EXPECT_EQ(error.text(), "Drawing type \"GIF\" invalid");
    }
}

} // namespace
