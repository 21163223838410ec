// The schema's table files: each one opens in the store with its fields'
// kinds and with every index the reading code asks for.

#include "HostTestSupport.h"

#include "core/Error.h"
#include "host/HostSchema.h"
#include "host/TBFTable.h"

using namespace kasovka;

namespace {

TEST(HostSchemaTest, EveryTableFileOpensWithItsKindsAndIndexes)
{
    QTemporaryDir dir;
    for (const HostTableDef &def : HostSchema::tables()) {
        SCOPED_TRACE(def.name.toStdString());
        const QString path = dir.path() + u'/' + def.name;
        HostSchema::createTableFile(path, def);
        TBFTable table;
        ASSERT_EQ(table.Open(path), 0) << table.LastError().toStdString();
        ASSERT_EQ(table.FieldNames().size(), def.fields.size());
        for (const HostFieldDef &field : def.fields)
            EXPECT_EQ(table.FieldKind(table.FieldIndex(field.name)), field.kind);
        for (const HostIndexDef &index : def.indexes)
            EXPECT_EQ(table.SetIndex(index.name), 0) << index.name.toStdString();
        EXPECT_EQ(table.RecordCount(), 0);
        EXPECT_THROW(HostSchema::createTableFile(path, def), Error); // never replaced
    }
}

TEST(HostSchemaTest, NamesTheReadingCodeReliesOn)
{
    struct Case {
        const char *table;
        const char *field;
        const char *index; // "" when the table reads in table order
    };
    const Case cases[] = {
        {"UCPENDEN", "Zakazka", "Datum+Zdroj+ZRadek"},
        {"UCPENDEN", "AdCislo", "Doklad+Zdroj+ZRadek"},
        {"UZZAVUP", "Zakzka", ""},
        {"SETPVARS", "Str", "SetupVarsU+Sekce+Prom"},
        {"SKSEZSKP", "Název", "Sklad+Název"},
        {"SKSEZSKL", "TypSkladu", "Číslo"},
        {"ADRESARF", "ObchNazev", "ICO"},
        {"SZUCPOKL", "PSMnozstvi", ""},
        {"PRISTUP", "JUPDTisk", "Password"},
        {"ROK", "TypeVar", "Section1+Variable"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.table);
        const HostTableDef *def = HostSchema::find(QString::fromUtf8(c.table));
        ASSERT_NE(def, nullptr);
        EXPECT_GE(def->fieldIndex(QString::fromUtf8(c.field)), 0) << c.field;
        if (*c.index) {
            bool found = false;
            for (const HostIndexDef &index : def->indexes)
                found = found || index.name == QString::fromUtf8(c.index);
            EXPECT_TRUE(found) << c.index;
        }
    }
    EXPECT_EQ(HostSchema::find(QStringLiteral("/data/AGENDA.X/ROK.1/ucpenden.dat"))->name,
              QStringLiteral("UCPENDEN"));
    EXPECT_EQ(HostSchema::find(QStringLiteral("NEZNAMA")), nullptr);
}

} // namespace
