// Data sets and named values given as JSON, as kasovka-xls fill reads them.

#include "FakeWorkbook.h"

#include "core/Error.h"
#include "kasovka-xls/JsonDataModule.h"
#include "template/TemplateReport.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace kasovka;
using namespace kasovka::test;

namespace {

const char *const groupsAndRows = R"({
  "datasets": [
    {"name": "Table1", "fields": [{"name": "ID", "type": "autoinc"}, {"name": "Nazev", "type": "text", "size": 3}],
     "records": [[7, "Alfa"], [9, "Beta"]]},
    {"name": "Table2", "master": "Table1", "masterFields": ["ID"], "detailFields": ["Parent_ID"],
     "fields": [{"name": "Parent_ID", "type": "integer"}, {"name": "Datum", "type": "date"},
                {"name": "Castka", "type": "currency"}, {"name": "Kurz", "type": "float"},
                {"name": "Hotove", "type": "boolean"}, {"name": "Pozn", "type": "memo"}],
     "records": [[7, "2026-01-02", "12.50", 1.25, true, "a\r\nb"], [9, 46024, 3, null, false, null],
                 [7, null, -0.01, 0.5, true, ""]]}
  ],
  "values": {"Nadpis": "Deník", "Matice": [[1, 2], [3, 4]]}
})";

TEST(JsonDataModule, TablesKeepValuesAndTheirLink)
{
    TJsonDataModule data(groupsAndRows);
    TMemTable *groups = data.table("table1");
    TMemTable *rows = data.table("Table2");
    ASSERT_TRUE(groups && rows);
    EXPECT_EQ(groups->asInteger("ID"), 7); // the given key, not a fresh one
    EXPECT_EQ(groups->asText("Nazev"), "Alf");
    EXPECT_EQ(rows->recordCount(), 2);
    EXPECT_EQ(rows->totalRecordCount(), 3);
    EXPECT_EQ(rows->asDate("Datum"), encodeDate(2026, 1, 2));
    EXPECT_EQ(rows->asCurrency("Castka"), Currency::fromRaw(125000));
    EXPECT_EQ(rows->asText("Pozn"), "a\r\nb");
    groups->next();
    EXPECT_EQ(rows->recordCount(), 1);
    EXPECT_EQ(rows->asDate("Datum"), 46024.0);
    EXPECT_TRUE(rows->isNull("Kurz"));
    EXPECT_EQ(data.publishedValue("Matice").toList().at(1).toList().at(0), QVariant(3.0));
}

TEST(JsonDataModule, FillsATemplateThroughTheEngine)
{
    TJsonDataModule data(groupsAndRows);
    FakeAdapter adapter;
    FakeBook book;
    book.sheets[0].set(1, 1, "#.Nadpis");
    book.sheets[0].set(2, 1, "##Table1##Nazev");
    book.sheets[0].set(3, 1, "##Table2##Castka");
    book.sheets[0].set(3, 2, "##Table2##Pozn");
    book.addName("__Kryt__", 1, 1, 3); // no such data set: kept once
    book.addName("__Table1__", 1, 2, 3);
    book.addName("__Table2__", 1, 3, 3);
    adapter.files["t"] = book;
    TTemplateReport report(&data);
    report.setAdapter(&adapter);
    report.setTemplate("t");
    report.setFileName("o");
    report.Run();
    const std::vector<QStringList> expected{
        {"Deník", ""}, {"Alf", ""}, {"12.5", "a\nb"}, {"-0.01", ""}, {"Bet", ""}, {"3", ""}};
    EXPECT_EQ(adapter.saved("o").sheets[0].texts(2), expected);
}

TEST(JsonDataModule, BadDataIsRefusedWithItsReason)
{
    struct Row {
        const char *json;
        const char *error;
    };
    const Row cases[] = {
        {"{", "Data nejsou platný JSON (chyba na znaku 1)."},
        {"[]", "Data musí být objekt s polem \"datasets\"."},
        {R"({"datasets": [1]})", "Datová sada č. 1 není objekt."},
        {R"({"datasets": [{"fields": []}]})", "Datová sada č. 1 nemá jméno."},
        {R"({"datasets": [{"name": "A"}, {"name": "a"}]})", "Datová sada \"a\" je uvedena dvakrát."},
        {R"({"datasets": [{"name": "A", "fields": [{"name": "X", "type": "blob"}]}]})",
         "Pole \"X\" datové sady \"A\" má neznámý typ \"blob\"."},
        {R"({"datasets": [{"name": "A", "fields": [{"name": "X", "type": "integer"}], "records": [[1, 2]]}]})",
         "Záznam č. 1 datové sady \"A\" musí mít 1 hodnot."},
        {R"({"datasets": [{"name": "A", "fields": [{"name": "X", "type": "integer"}], "records": [[1.5]]}]})",
         "Hodnotu 1.5 záznamu č. 1 nelze uložit do pole \"X\" datové sady \"A\"."},
        {R"({"datasets": [{"name": "A", "fields": [{"name": "X", "type": "integer"}], "records": [[1e12]]}]})",
         "Hodnotu 1000000000000 záznamu č. 1 nelze uložit do pole \"X\" datové sady \"A\"."},
        {R"({"datasets": [{"name": "A", "fields": [{"name": "D", "type": "date"}], "records": [["2026-02-30"]]}]})",
         "Hodnotu 2026-02-30 záznamu č. 1 nelze uložit do pole \"D\" datové sady \"A\"."},
        {R"({"datasets": [{"name": "A", "fields": [{"name": "F", "type": "float"}], "records": [[0.123456]]}]})",
         "Hodnotu 0.123456 záznamu č. 1 nelze uložit do pole \"F\" datové sady \"A\"."},
        {R"({"datasets": [{"name": "A", "fields": [{"name": "B", "type": "boolean"}], "records": [["ano"]]}]})",
         "Hodnotu ano záznamu č. 1 nelze uložit do pole \"B\" datové sady \"A\"."},
        {R"({"datasets": [{"name": "A", "master": "B", "fields": []}]})",
         "Hlavní datová sada \"B\" datové sady \"A\" neexistuje."},
        {R"({"datasets": [{"name": "A", "fields": [{"name": "ID", "type": "integer"}]},
             {"name": "B", "master": "A", "masterFields": ["ID"], "detailFields": [], "fields": []}]})",
         "Datová sada \"B\" musí mít stejný počet polí v masterFields a detailFields."},
        {R"({"datasets": [{"name": "A", "fields": [{"name": "ID", "type": "integer"}]},
             {"name": "B", "master": "A", "masterFields": ["ID"], "detailFields": ["X"], "fields": []}]})",
         "B: Field 'X' not found"},
        {R"({"datasets": [
             {"name": "A", "master": "B", "masterFields": ["ID"], "detailFields": ["ID"], "fields": [{"name": "ID", "type": "integer"}]},
             {"name": "B", "master": "A", "masterFields": ["ID"], "detailFields": ["ID"], "fields": [{"name": "ID", "type": "integer"}]}]})",
         "Datové sady \"B\" a \"A\" na sebe odkazují v kruhu."},
        {R"({"datasets": [], "values": {"X": {"a": 1}}})", "Hodnota \"X\" nesmí být objekt."},
        {R"({"datasets": [], "values": [1]})", "Položka \"values\" musí být objekt."},
    };
    for (const Row &row : cases) {
        SCOPED_TRACE(row.json);
        try {
            TJsonDataModule data(row.json);
            ADD_FAILURE() << "accepted";
        } catch (const Error &error) {
            EXPECT_EQ(error.text().toStdString(), row.error);
        }
    }
}

} // namespace
