// The demo data root: complete, consistent with itself, deterministic for a
// seed, and carrying the data problems the report warns about.

#include "HostTestSupport.h"

#include "HostDataCommands.h"
#include "core/Error.h"
#include "core/IniFile.h"
#include "host/demo/DemoAgenda.h"
#include "host/HostSchema.h"
#include "host/TBFTable.h"
#include "host/THostIniFile.h"
#include "host/TPristupPrava.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSet>

using namespace kasovka;

namespace {

QByteArray digestOf(const QString &file)
{
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// The texts of one field over the whole table.
QStringList column(const QString &table, const QString &field)
{
    TBFTable t;
    EXPECT_EQ(t.Open(table), 0) << t.LastError().toStdString();
    QStringList values;
    for (int r = t.First(); r != TBFTable::EndOfTable; r = t.Next())
        values.append(t.Value(field).toText());
    return values;
}

class DemoAgendaTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        DemoAgendaOptions options;
        options.journalRecords = 600;
        options.year = 2023;
        options.seed = 42;
        s_agenda = new DemoAgenda(createDemoAgenda(s_dir->path() + "/data", options));
    }
    static void TearDownTestSuite()
    {
        delete s_agenda;
        delete s_dir;
    }
    static QString year(const char *table) { return s_agenda->yearFolder + QLatin1String(table); }

    static QTemporaryDir *s_dir;
    static DemoAgenda *s_agenda;
};

QTemporaryDir *DemoAgendaTest::s_dir = nullptr;
DemoAgenda *DemoAgendaTest::s_agenda = nullptr;

TEST_F(DemoAgendaTest, LaysOutTheHostFoldersAndLaunchParameters)
{
    const QString root = s_dir->path() + "/data/";
    EXPECT_EQ(s_agenda->yearFolder, root + "AGENDA.DEMO/ROK.2023/");
    for (const HostTableDef &def : HostSchema::tables()) {
        const QString folder = def.folder == HostTableFolder::DataRoot ? root
            : def.folder == HostTableFolder::Agenda ? s_agenda->agendaFolder : s_agenda->yearFolder;
        EXPECT_TRUE(QFile::exists(folder + def.name + ".DAT")) << def.name.toStdString();
    }
    EXPECT_EQ(s_agenda->launchArguments(),
              QStringList({"?MAIN=" + root + "?MAIN", "?AKTROK=" + root + "AGENDA.DEMO/ROK.2023/?AKTROK",
                           "?MVERZE=11.060?MVERZE", "?AKTHESLO=demo?AKTHESLO",
                           "?AKTCFGNAME=Demo?AKTCFGNAME"}));
    TIniFile dataIni(root + "data.ini");
    EXPECT_EQ(dataIni.ReadString("Version", "ProgBuild", QString()), QStringLiteral("20160829"));
}

TEST_F(DemoAgendaTest, YearSettingsAndRightsLetTheDemoUserIn)
{
    THostIniFile settings(s_agenda->yearFolder + "ROK.INI");
    ASSERT_TRUE(settings.TableMode());
    EXPECT_EQ(settings.ReadInteger("Global", "Hospodářský rok do", 0) + 1, encodeDate(2023, 12, 31));
    EXPECT_EQ(settings.ReadString("Global", "Podvojné účetnictví", "Y"), QStringLiteral("N"));

    for (const DemoUser &user : s_agenda->users) {
        SCOPED_TRACE(user.name.toStdString());
        TPristupPrava rights(s_agenda->dataRoot, user.password);
        ASSERT_TRUE(rights.ReadRights());
        EXPECT_TRUE(rights.UserFound());
        EXPECT_EQ(rights.JUPDTisk(), TPristupPrava::LevelOfText(user.right));
    }
    TPristupPrava launching(s_agenda->dataRoot, s_agenda->user.password);
    ASSERT_TRUE(launching.ReadRights());
    EXPECT_EQ(launching.JUPDTisk(), TRightLevel::Full);
}

TEST_F(DemoAgendaTest, JournalUsesEveryColumnCodeAndFindsItsBookRecords)
{
    TBFTable journal, movements, cash, bank;
    ASSERT_EQ(journal.Open(year("UCPENDEN")), 0);
    ASSERT_EQ(journal.SetIndex("Datum+Zdroj+ZRadek"), 0);
    ASSERT_EQ(movements.Open(year("UCPOHYBY")), 0);
    ASSERT_EQ(movements.SetIndex("Zkrat"), 0);
    ASSERT_EQ(cash.Open(year("POKLKNIH")), 0);
    ASSERT_EQ(cash.SetIndex("Cislo"), 0);
    ASSERT_EQ(bank.Open(year("BANKKNIH")), 0);
    ASSERT_EQ(bank.SetIndex("Cislo"), 0);
    EXPECT_EQ(journal.RecordCount(), 600);

    QSet<QString> columnsUsed, zdroje, missingMovements, users;
    QStringList undated;
    int deleted = 0, free = 0, foreign = 0;
    for (int r = journal.First(); r != TBFTable::EndOfTable; r = journal.Next()) {
        const QString pohyb = journal.Value("Pohyb").toText();
        if (movements.Seek(pohyb) == TBFTable::SeekFound) {
            columnsUsed.insert(movements.Value("Sloupec").toText());
            EXPECT_EQ(movements.Value("Typ"), journal.Value("Typ"));
        } else {
            missingMovements.insert(pohyb);
        }
        const QString zdroj = journal.Value("Zdroj").toText();
        zdroje.insert(zdroj);
        if (zdroj == "PK" || zdroj == "BK") {
            TBFTable &book = zdroj == "PK" ? cash : bank;
            ASSERT_EQ(book.Seek(journal.Value("ZRadek")), TBFTable::SeekFound);
            EXPECT_FALSE(book.Value("Popis").toText().isEmpty());
            EXPECT_EQ(book.Value("Doklad"), journal.Value("Doklad"));
        }
        if (isZeroDate(journal.Value("Datum").toDate()))
            undated.append(journal.Value("Cislo").toText());
        else
            EXPECT_EQ(toQDate(journal.Value("Datum").toDate()).year(), 2023);
        deleted += journal.Value("Del").toBool();
        free += journal.Value("Free").toBool();
        foreign += journal.Value("Mena").toText() == "EUR";
        users.insert(journal.Value("Vyst").toText());
    }
    const QStringList codes = {"VPrP", "PPrP", "PZbo", "PSlu", "POst", "VMat", "VZbo", "VDrM",
                               "VMzd", "VDMz", "VSoP", "VZdP", "VRez", "PSra", "PDPH", "PDot",
                               "PVkl", "POsN", "VHIM", "VDPH", "VOzc", "VDzP", "VOso", "VDar",
                               "VRzr", "VOsN", ""};
    for (const QString &code : codes)
        EXPECT_TRUE(columnsUsed.contains(code)) << code.toStdString();
    EXPECT_EQ(missingMovements, QSet<QString>{"XNEZN"});
    EXPECT_EQ(undated, QStringList{"7"});
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(free, 1);
    EXPECT_GT(foreign, 0);
    EXPECT_EQ(zdroje, (QSet<QString>{"PK", "BK", "ID"}));
    EXPECT_TRUE(users.contains(QStringLiteral("Svobodová")));
}

TEST_F(DemoAgendaTest, OpeningBalancesAndAdjustmentsAreInPlace)
{
    TBFTable vars;
    ASSERT_EQ(vars.Open(year("SETPVARS")), 0);
    ASSERT_EQ(vars.SetIndex("SetupVarsU+Sekce+Prom"), 0);
    ASSERT_EQ(vars.SeekArray({QStringLiteral("Default"), QStringLiteral("Poc. stav PD"),
                              QStringLiteral("PPrP")}), TBFTable::SeekFound);
    EXPECT_EQ(vars.Value("Str"), Variant(QStringLiteral("2000.00")));
    EXPECT_EQ(column(year("SZUCPOKL"), "UcPokl"), QStringList({"P", "P", "U", "U"}));
    EXPECT_EQ(column(year("SZUCPOKL"), "Mena"), QStringList({"", "EUR", "", ""}));
    const QStringList adjustments = column(year("UZZAVUP"), "Pohyb");
    const QStringList known = column(year("UCPOHYBY"), "Zkrat");
    EXPECT_EQ(adjustments.size(), 6);
    for (const QString &code : adjustments)
        EXPECT_TRUE(known.contains(code)) << code.toStdString();
    EXPECT_TRUE(column(year("UZZAVUP"), "Zakzka").contains("Z01"));
}

TEST_F(DemoAgendaTest, TheSameSeedGivesTheSameJournalAndAnotherSeedAnother)
{
    QTemporaryDir dir;
    DemoAgendaOptions options;
    options.journalRecords = 600;
    options.year = 2023;
    options.seed = 42;
    const DemoAgenda same = createDemoAgenda(dir.path() + "/same", options);
    options.seed = 43;
    const DemoAgenda other = createDemoAgenda(dir.path() + "/other", options);
    const QString field = QStringLiteral("Castka");
    EXPECT_EQ(column(same.yearFolder + "UCPENDEN", field), column(year("UCPENDEN"), field));
    EXPECT_EQ(column(same.yearFolder + "POKLKNIH", "Popis"), column(year("POKLKNIH"), "Popis"));
    EXPECT_NE(column(other.yearFolder + "UCPENDEN", field), column(year("UCPENDEN"), field));
}

TEST_F(DemoAgendaTest, ExistingHostTablesAreNeverReplaced)
{
    const QByteArray before = digestOf(s_agenda->dataRoot + "PRISTUP.DAT");
    EXPECT_THROW(createDemoAgenda(s_agenda->dataRoot), Error);
    EXPECT_EQ(digestOf(s_agenda->dataRoot + "PRISTUP.DAT"), before);
    DemoAgendaOptions tooSmall;
    tooSmall.journalRecords = 3;
    EXPECT_THROW(createDemoAgenda(s_dir->path() + "/small", tooSmall), Error);
}

TEST_F(DemoAgendaTest, TheToolPrintsTheLaunchParameters)
{
    QTemporaryDir dir;
    std::FILE *out = std::tmpfile();
    std::FILE *err = std::tmpfile();
    ASSERT_EQ(runHostData({"demo", dir.path(), "--journal", "50", "--year", "2022", "--seed", "7"},
                          out, err), 0);
    std::rewind(out);
    char line[1024] = {};
    ASSERT_NE(std::fgets(line, sizeof line, out), nullptr);
    std::fclose(out);
    std::fclose(err);
    EXPECT_EQ(QString::fromUtf8(line).trimmed(),
              QStringLiteral("?MAIN=%1/?MAIN ?AKTROK=%1/AGENDA.DEMO/ROK.2022/?AKTROK ?MVERZE=11.060?MVERZE"
                             " ?AKTHESLO=demo?AKTHESLO ?AKTCFGNAME=Demo?AKTCFGNAME").arg(dir.path()));
    TBFTable journal;
    ASSERT_EQ(journal.Open(dir.path() + "/AGENDA.DEMO/ROK.2022/UCPENDEN"), 0);
    EXPECT_EQ(journal.RecordCount(), 50);
}

} // namespace
