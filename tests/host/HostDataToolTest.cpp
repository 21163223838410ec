// kasovka-hostdata run in-process: CSV import and dump, the demo data root,
// the rights command and the exit codes.

#include "HostTestSupport.h"

#include "HostDataCommands.h"
#include "core/IniFile.h"
#include "host/demo/DemoAgenda.h"
#include "host/TBFTable.h"
#include "host/THostIniFile.h"
#include "host/TPristupPrava.h"

#include <QSet>

#include <cstdio>

using namespace kasovka;
using kasovka::test::writeFile;

namespace {

struct ToolRun {
    int code = -1;
    QString out;
    QString err;
};

QString readAll(std::FILE *file)
{
    std::fflush(file);
    std::rewind(file);
    QByteArray bytes;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, qsizetype(n));
    std::fclose(file);
    return QString::fromUtf8(bytes);
}

ToolRun run(const QStringList &arguments)
{
    std::FILE *out = std::tmpfile();
    std::FILE *err = std::tmpfile();
    ToolRun result;
    result.code = runHostData(arguments, out, err);
    result.out = readAll(out);
    result.err = readAll(err);
    return result;
}

class HostDataToolTest : public ::testing::Test {
protected:
    QString path(const QString &name) const { return m_dir.path() + u'/' + name; }

    QString importAndDump(const QString &table, const QString &schema, const QByteArray &csv)
    {
        EXPECT_EQ(run({"create", path(table), schema}).code, 0);
        writeFile(path(table + ".csv"), csv);
        const ToolRun imported = run({"import", path(table), path(table + ".csv")});
        EXPECT_EQ(imported.code, 0) << imported.err.toStdString();
        const ToolRun dumped = run({"dump", path(table)});
        EXPECT_EQ(dumped.code, 0) << dumped.err.toStdString();
        return dumped.out;
    }

    QTemporaryDir m_dir;
};

TEST_F(HostDataToolTest, ImportedRecordsDumpInTableOrderInTheSameForms)
{
    const QByteArray csv =
        "Cislo,Datum,Zdroj,Castka,Del,Popis,AdCislo\r\n"
        "1,2024-03-15,PK,1500.5,0,\"Nákup, materiál\",7\r\n"
        "2,45366,BK,-0.0001,1,\"Řekl \"\"ano\"\"\",\n"
        "\n"
        "3,2024-03-15T08:30:00,,12,true,\"dva\nřádky\",0\n"
        "4,,ID,,,,\n";
    const QString dumped = importAndDump("UCPENDEN", "UCPENDEN", csv);
    const QStringList lines = dumped.split(u'\n');
    ASSERT_GE(lines.size(), 6);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Cislo,Del,Free,Datum,Zdroj,ZRadek,Doklad")));
    // Fields not in the CSV read as the empty value of their kind.
    EXPECT_EQ(lines[1], QStringLiteral("1,0,0,2024-03-15,PK,0,,,\"Nákup, materiál\",,,1500.5,,0,,,,,7,"));
    EXPECT_EQ(lines[2], QStringLiteral("2,1,0,2024-03-15,BK,0,,,\"Řekl \"\"ano\"\"\",,,-0.0001,,0,,,,,0,"));
    EXPECT_EQ(lines[3], QStringLiteral("3,1,0,2024-03-15T08:30:00,,0,,,\"dva"));
    EXPECT_EQ(lines[4], QStringLiteral("řádky\",,,12,,0,,,,,0,"));
    EXPECT_EQ(lines[5], QStringLiteral("4,0,0,,ID,0,,,,,,0,,0,,,,,0,"));

    // The dump imports back into the same records.
    QFile::remove(path("UCPENDEN.csv"));
    writeFile(path("again.csv"), dumped.toUtf8());
    ASSERT_EQ(run({"create", path("COPY"), "UCPENDEN"}).code, 0);
    ASSERT_EQ(run({"import", path("COPY"), path("again.csv")}).code, 0);
    EXPECT_EQ(run({"dump", path("COPY")}).out, dumped);
}

TEST_F(HostDataToolTest, SettingsValuesKeepTextAndNumbersApartThroughCsv)
{
    const QByteArray csv = "Section1,Variable,TypeVar,Value\n"
                           "Global,Kód,,\"0012\"\n"
                           "Global,Rok do,,45656\n"
                           "Global,Kurz,,25.5\n"
                           "Global,Slovo,,N\n"
                           "Global,Prázdné,,\n";
    const QString dumped = importAndDump("ROK", "ROK", csv);
    EXPECT_EQ(dumped, QStringLiteral("Section1,Variable,TypeVar,Value\n"
                                     "Global,Kód,,\"0012\"\n"
                                     "Global,Rok do,,45656\n"
                                     "Global,Kurz,,25.5\n"
                                     "Global,Slovo,,\"N\"\n"
                                     "Global,Prázdné,,\n"));
    THostIniFile settings(path("ROK.INI"));
    EXPECT_EQ(settings.ReadString("Global", "Kód", QString()), QStringLiteral("0012"));
    EXPECT_EQ(settings.ReadInteger("Global", "Rok do", 0), 45656);
}

TEST_F(HostDataToolTest, AFailedImportStoresNothingAndNamesTheLineAndField)
{
    ASSERT_EQ(run({"create", path("UCPENDEN"), "UCPENDEN"}).code, 0);
    struct Case {
        const char *csv;
        const char *message;
    };
    const Case cases[] = {
        {"Cislo,Castka\n1,10\n2,20\n\"3\",deset\n", "Řádek 4, pole „Castka“"},
        {"Cislo,Datum\n1,2024-02-30\n", "Řádek 2, pole „Datum“"},
        {"Cislo,Del\n1,0\n2,možná\n", "Řádek 3, pole „Del“"},
        {"Cislo,AdCislo\n1,x7\n", "Řádek 2, pole „AdCislo“"},
        {"Cislo,Zakázka\n1,Z01\n", "„Zakázka“"},
        {"Cislo,Popis\n1,a\n2,b,c\n", "Řádek 3"},
        {"Cislo,Popis\n1,\"neuzavřené\n", "Řádek 2"},
        {"", "názvy polí"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.csv);
        writeFile(path("bad.csv"), c.csv);
        const ToolRun result = run({"import", path("UCPENDEN"), path("bad.csv")});
        EXPECT_EQ(result.code, 1);
        EXPECT_TRUE(result.err.contains(QString::fromUtf8(c.message))) << result.err.toStdString();
        TBFTable table;
        ASSERT_EQ(table.Open(path("UCPENDEN")), 0);
        EXPECT_EQ(table.RecordCount(), 0);
    }
}

TEST_F(HostDataToolTest, UsageErrorsExitWithTwoAndFailuresWithOne)
{
    ASSERT_EQ(run({"create", path("MENY"), "MENY"}).code, 0);
    const QList<QStringList> usage = {
        {},
        {"neznamy"},
        {"demo"},
        {"demo", path("d"), "--journal", "abc"},
        {"demo", path("d"), "--journal", "5"},
        {"demo", path("d"), "--year"},
        {"demo", path("d"), "--rok", "2024"},
        {"create", path("X")},
        {"dump"},
        {"import", path("MENY")},
        {"user", path(""), "heslo"},
        {"user", path(""), "heslo", "A", "--bez"},
    };
    for (const QStringList &arguments : usage) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.code, 2);
        EXPECT_TRUE(result.err.contains(QStringLiteral("Použití:")));
    }
    const QList<QStringList> failures = {
        {"dump", path("CHYBI")},
        {"create", path("MENY"), "MENY"},     // exists already
        {"create", path("X"), "NEZNAMA"},
        {"import", path("MENY"), path("chybi.csv")},
        {"user", path("chybi"), "heslo", "A"},
    };
    for (const QStringList &arguments : failures) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.code, 1);
        EXPECT_FALSE(result.err.isEmpty());
        EXPECT_FALSE(result.err.contains(QStringLiteral("Použití:")));
    }
}

TEST_F(HostDataToolTest, UserCommandAddsReplacesAndCanLeaveOutPristup2)
{
    auto rightsOf = [&](const QString &password) {
        TPristupPrava rights(m_dir.path(), password);
        EXPECT_TRUE(rights.ReadRights()) << rights.ErrorText().toStdString();
        return std::pair{rights.UserFound(), rights.JUPDTisk()};
    };
    ASSERT_EQ(run({"user", m_dir.path(), "tajne", "R"}).code, 0);
    EXPECT_EQ(rightsOf("tajne"), std::pair(true, TRightLevel::ReadOnly));
    EXPECT_EQ(rightsOf("jine"), std::pair(false, TRightLevel::None));
    ASSERT_EQ(run({"user", m_dir.path(), "tajne", "A"}).code, 0);
    EXPECT_EQ(rightsOf("tajne"), std::pair(true, TRightLevel::Full));
    ASSERT_EQ(run({"user", m_dir.path(), "druhy", "A", "--without-pristup2"}).code, 0);
    EXPECT_EQ(rightsOf("druhy"), std::pair(false, TRightLevel::None));
    ASSERT_EQ(run({"user", m_dir.path(), "tajne", "A", "--without-pristup2"}).code, 0);
    EXPECT_EQ(rightsOf("tajne"), std::pair(false, TRightLevel::None));

    TBFTable pristup;
    ASSERT_EQ(pristup.Open(path("PRISTUP")), 0);
    EXPECT_EQ(pristup.RecordCount(), 2); // replaced, not added twice
}

} // namespace
