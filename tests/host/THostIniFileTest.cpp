// Host settings read and written either in ROK.INI or in the settings table
// ROK.DAT, with the mode chosen from the files present and the host version.

#include "HostTestSupport.h"

#include "host/HostSchema.h"
#include "host/TBFTable.h"
#include "host/THostIniFile.h"

using namespace kasovka;
using kasovka::test::writeFile;

namespace {

const QString kGlobal = QStringLiteral("Global");
const QString kYearTo = QStringLiteral("Hospodářský rok do");
const QString kDoubleEntry = QStringLiteral("Podvojné účetnictví");

class THostIniFileTest : public ::testing::Test {
protected:
    QString ini() const { return m_dir.path() + QStringLiteral("/ROK.INI"); }
    QString dat() const { return m_dir.path() + QStringLiteral("/ROK.DAT"); }

    void writeIni() { writeFile(ini(), "[Global]\nHospodářský rok do=111\nPodvojné účetnictví=Y\n"); }

    // ROK.DAT with a few values of their own kinds.
    void writeDat(const QString &file)
    {
        HostSchema::createTableFile(file, HostSchema::settingsTable(QStringLiteral("ROK")));
        TBFTable table;
        ASSERT_EQ(table.Open(file), 0);
        const QList<QPair<QString, Variant>> values = {
            {kYearTo, 45656}, {kDoubleEntry, QStringLiteral("N")}, {QStringLiteral("Kurz"), 25.5},
            {QStringLiteral("Plátce"), true}, {QStringLiteral("Od"), Variant::fromDate(45292)}};
        for (const auto &[key, value] : values) {
            table.Append();
            table.SetValue(QStringLiteral("Section1"), kGlobal);
            table.SetValue(QStringLiteral("Variable"), key);
            table.SetValue(QStringLiteral("Value"), value);
            table.Post();
        }
    }

    // Section1|Variable|TypeVar|Value of every record, in table order.
    QStringList records() const
    {
        TBFTable table;
        EXPECT_EQ(table.Open(dat()), 0);
        QStringList rows;
        for (int r = table.First(); r != TBFTable::EndOfTable; r = table.Next()) {
            QStringList fields;
            for (int i = 0; i < 4; ++i)
                fields.append(table.Value(i).toText());
            rows.append(fields.join(u'|'));
        }
        return rows;
    }

    QTemporaryDir m_dir;
};

TEST_F(THostIniFileTest, TheTableWinsOverTheIniFileWhenBothExist)
{
    writeIni();
    writeDat(dat());
    THostIniFile settings(ini());
    EXPECT_TRUE(settings.TableMode());
    EXPECT_EQ(settings.TableFileName(), dat());
    EXPECT_EQ(settings.ReadInteger(kGlobal, kYearTo, 0), 45656);
    EXPECT_EQ(settings.ReadString(kGlobal, kDoubleEntry, QStringLiteral("Y")), QStringLiteral("N"));
    EXPECT_EQ(settings.ReadString(QStringLiteral("global"), kDoubleEntry, QStringLiteral("Y")),
              QStringLiteral("Y")); // the table's keys are exact
}

TEST_F(THostIniFileTest, OnlyTheIniFileGivesIniMode)
{
    writeIni();
    THostIniFile settings(ini());
    EXPECT_FALSE(settings.TableMode());
    EXPECT_EQ(settings.TableFileName(), QString());
    EXPECT_EQ(settings.ReadInteger(kGlobal, kYearTo, 0), 111);
    QStringList sections;
    settings.ReadSections(sections);
    EXPECT_EQ(sections, QStringList{kGlobal});
}

TEST_F(THostIniFileTest, ATableFileOfOtherLetterCaseIsFound)
{
    writeDat(m_dir.path() + QStringLiteral("/rok.dat"));
    THostIniFile settings(ini());
    EXPECT_TRUE(settings.TableMode());
    EXPECT_EQ(settings.ReadInteger(kGlobal, kYearTo, 0), 45656);
}

TEST_F(THostIniFileTest, ReadsConvertTheStoredKindOrFallBackToTheDefault)
{
    writeDat(dat());
    THostIniFile settings(ini());
    EXPECT_EQ(settings.ReadString(kGlobal, kYearTo, QString()), QStringLiteral("45656"));
    EXPECT_EQ(settings.ReadFloat(kGlobal, QStringLiteral("Kurz"), 0), 25.5);
    EXPECT_EQ(settings.ReadInteger(kGlobal, QStringLiteral("Kurz"), 0), 26);
    EXPECT_EQ(settings.ReadBool(kGlobal, QStringLiteral("Plátce"), false), true);
    EXPECT_EQ(settings.ReadDate(kGlobal, QStringLiteral("Od"), 0), 45292.0);
    EXPECT_EQ(settings.ReadInteger(kGlobal, kDoubleEntry, -1), -1);   // "N" is no number
    EXPECT_EQ(settings.ReadDate(kGlobal, kDoubleEntry, 7.0), 7.0);
    EXPECT_EQ(settings.ReadInteger(kGlobal, QStringLiteral("Chybí"), 5), 5);
    EXPECT_EQ(settings.ReadString(QStringLiteral("Jiná"), kYearTo, QStringLiteral("x")),
              QStringLiteral("x"));
    EXPECT_TRUE(settings.ValueExists(kGlobal, kYearTo));
    EXPECT_TRUE(settings.SectionExists(kGlobal));
    EXPECT_FALSE(settings.SectionExists(QStringLiteral("Jiná")));
}

TEST_F(THostIniFileTest, ADamagedTableFileLeavesEveryReadAtItsDefault)
{
    writeIni();
    writeFile(dat(), "toto není databáze");
    THostIniFile settings(ini());
    EXPECT_TRUE(settings.TableMode());
    EXPECT_EQ(settings.ReadInteger(kGlobal, kYearTo, 0), 0);
    EXPECT_EQ(settings.ReadString(kGlobal, kDoubleEntry, QStringLiteral("Y")), QStringLiteral("Y"));
    settings.WriteString(kGlobal, kDoubleEntry, QStringLiteral("N")); // lost without notice
    EXPECT_EQ(settings.ReadString(kGlobal, kDoubleEntry, QStringLiteral("Y")), QStringLiteral("Y"));
}

TEST_F(THostIniFileTest, WritingANewKeyAppendsAndWritingItAgainChangesOnlyTheValue)
{
    writeDat(dat());
    const qsizetype before = records().size();
    {
        THostIniFile settings(ini());
        settings.WriteString(QStringLiteral("Tisk"), QStringLiteral("Verze"), QStringLiteral("11.060"));
    }
    QStringList rows = records();
    ASSERT_EQ(rows.size(), before + 1);
    EXPECT_EQ(rows.last(), QStringLiteral("Tisk|Verze||11.060"));
    {
        THostIniFile settings(ini());
        settings.WriteInteger(QStringLiteral("Tisk"), QStringLiteral("Verze"), 12);
        EXPECT_EQ(settings.ReadInteger(QStringLiteral("Tisk"), QStringLiteral("Verze"), 0), 12);
        settings.WriteString(QStringLiteral("Tisk"), QStringLiteral("Kód"), QStringLiteral("0012"));
        EXPECT_EQ(settings.ReadString(QStringLiteral("Tisk"), QStringLiteral("Kód"), QString()),
                  QStringLiteral("0012"));
        settings.DeleteKey(kGlobal, QStringLiteral("Kurz"));
        EXPECT_EQ(settings.ReadFloat(kGlobal, QStringLiteral("Kurz"), -1), -1.0);
    }
    rows = records();
    ASSERT_EQ(rows.size(), before + 1);
    EXPECT_TRUE(rows.contains(QStringLiteral("Tisk|Verze||12")));
    EXPECT_TRUE(rows.contains(QStringLiteral("Tisk|Kód||0012")));
}

TEST_F(THostIniFileTest, SectionAndStreamOperationsDoNothingInTableMode)
{
    writeDat(dat());
    THostIniFile settings(ini());
    QStringList list{QStringLiteral("předem")};
    settings.ReadSections(list);
    EXPECT_EQ(list, QStringList{QStringLiteral("předem")});
    settings.ReadSection(kGlobal, list);
    settings.ReadSectionValues(kGlobal, list);
    EXPECT_EQ(list, QStringList{QStringLiteral("předem")});
    QByteArray bytes;
    settings.WriteBinaryStream(kGlobal, QStringLiteral("Data"), "\x01\x02");
    EXPECT_EQ(settings.ReadBinaryStream(kGlobal, QStringLiteral("Data"), bytes), 0);
    settings.EraseSection(kGlobal);
    settings.UpdateFile();
    EXPECT_EQ(settings.ReadInteger(kGlobal, kYearTo, 0), 45656);
    EXPECT_FALSE(QFile::exists(ini()));
}

TEST_F(THostIniFileTest, TheHostVersionChoosesTheModeByTheLocalesDecimalSeparator)
{
    writeIni();
    struct Case {
        const char *version;
        const char *locale;
        bool tableMode;
    };
    const Case cases[] = {
        {"11.9", "en_US", false}, {"11,9", "cs_CZ", false}, {"12.1", "en_US", true},
        {"12,1", "cs_CZ", true},  {"13.0", "en_US", true},  {"12.1", "cs_CZ", true}, // unreadable
        {"abc", "en_US", true},   {"", "en_US", true},      {"12.09", "en_US", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.version) + " " + c.locale);
        THostIniFile settings(ini(), QString::fromLatin1(c.version), QLocale(QLatin1String(c.locale)));
        EXPECT_EQ(settings.TableMode(), c.tableMode);
        // Without ROK.DAT table mode serves only defaults.
        EXPECT_EQ(settings.ReadInteger(kGlobal, kYearTo, 0), c.tableMode ? 0 : 111);
        EXPECT_EQ(settings.TableFileName(), c.tableMode ? dat() : QString());
    }
    EXPECT_FALSE(QFile::exists(dat()));
}

} // namespace
