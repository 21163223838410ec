// Loading the launch context from the host's parameters and year settings,
// and the services that report their own failures.

#include "app/TBaseApplication.h"
#include "host/HostSchema.h"
#include "host/THostIniFile.h"
#include "support/RecordingUiServices.h"
#include "support/TestLaunchContext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kasovka {
namespace {

using test::LaunchArguments;
using test::RecordedMessage;
using test::RecordingUiServices;

const QString MissingParameter = QStringLiteral(
    "Doplněk byl spuštěn s neúplným parametrem - pravděpodobně ho spouštíte jako samostatný "
    "program, nikoliv jako zásuvný modul účetního systému přímo z plochy.");

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
}

class LaunchContext : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_year = m_dir.path() + QStringLiteral("/Data/agenda.tst/ROK.2026/");
        QDir().mkpath(m_year);
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    // A launch context loaded from the given arguments; `loaded` tells the
    // result of LoadLaunchContext.
    TBaseApplication &load(const QStringList &arguments, bool expectLoaded = true)
    {
        m_app = std::make_unique<TBaseApplication>(m_ui, arguments);
        EXPECT_EQ(m_app->LoadLaunchContext(), expectLoaded);
        return *m_app;
    }

    QTemporaryDir m_dir;
    QString m_year;
    RecordingUiServices m_ui;
    std::unique_ptr<TBaseApplication> m_app;
};

TEST_F(LaunchContext, FoldersAndValuesOfAFullLaunch)
{
    const QString data = m_dir.path() + QStringLiteral("/Data/");
    TBaseApplication &app =
        load(LaunchArguments(m_year.chopped(1), "11.060 SP1", "Tajné Heslo", "Účetní"));
    EXPECT_EQ(app.YearFolder(), m_year);
    EXPECT_EQ(app.AgendaFolder(), data + "agenda.tst/");
    EXPECT_EQ(app.DataFolder(), data);
    EXPECT_TRUE(app.HasHostFolderShape());
    EXPECT_EQ(app.AgendaCode(), QStringLiteral("TST"));
    EXPECT_EQ(app.HostVersion(), Currency::fromRaw(110600));
    EXPECT_EQ(app.UserPassword(), QStringLiteral("Tajné Heslo"));
    EXPECT_EQ(app.ConfigName(), QStringLiteral("Účetní"));
    EXPECT_EQ(app.ProgramDataFolder(), data + "Doplnky/Kasovka/");
    EXPECT_EQ(app.SettingsFolder(), data + "Doplnky/Kasovka/Setting/");
    EXPECT_EQ(app.PrintFormsFolder(), data + "Doplnky/Kasovka/PrintFrm/");
    EXPECT_EQ(app.SettingsFileName(), data + "Doplnky/Kasovka/Setting/ÚčetníTST.ini");
    EXPECT_TRUE(m_ui.messages.isEmpty());
}

// The temporary folder is this run's own: a file someone planted at a fixed
// name under the shared temporary folder cannot stop the start.
TEST_F(LaunchContext, TemporaryFolderIsPrivateToTheRun)
{
    QFile planted(QDir::tempPath() + "/Kasovka");
    const bool plantedHere = !planted.exists() && planted.open(QIODevice::WriteOnly);
    TBaseApplication &app = load(LaunchArguments(m_year.chopped(1), "11.060", "pw", "cfg"));
    const QString folder = app.TempFolder();
    EXPECT_TRUE(folder.startsWith(QDir::tempPath() + "/kasovka-")) << folder.toStdString();
    EXPECT_TRUE(folder.endsWith(u'/'));
    EXPECT_TRUE(app.EnsureFolder(folder));
    EXPECT_EQ(QFileInfo(folder).permissions() & 0x7077, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                            | QFileDevice::ExeOwner);
    EXPECT_EQ(app.TempFolder(), folder) << "one folder for the whole run";
    if (plantedHere)
        planted.remove();
}

TEST_F(LaunchContext, EachMissingParameterStopsTheLoadWithTheMessage)
{
    const QStringList full = LaunchArguments(m_year, "11.060", "pw", "cfg");
    const char *names[] = {"MAIN", "AKTROK", "MVERZE", "AKTHESLO", "AKTCFGNAME"};
    for (const char *name : names) {
        SCOPED_TRACE(name);
        QStringList arguments;
        for (const QString &argument : full) {
            if (!argument.startsWith(QStringLiteral("?%1=").arg(name)))
                arguments.append(argument);
        }
        m_ui.messages.clear();
        load(arguments, false);
        EXPECT_EQ(m_ui.single(), (RecordedMessage{MessageKind::Error, MissingParameter}));
    }
}

TEST_F(LaunchContext, TheFirstOfTwoEqualNamesWins)
{
    QStringList arguments = LaunchArguments(m_year, "11.060", "first", "cfg");
    arguments.append("?aktheslo=second?AKTHESLO");
    EXPECT_EQ(load(arguments).UserPassword(), QStringLiteral("first"));
    QString value;
    EXPECT_TRUE(m_app->FindLaunchParameter("AktHeslo", &value));
    EXPECT_EQ(value, QStringLiteral("first"));
    EXPECT_FALSE(m_app->FindLaunchParameter("NOSUCH", &value));
}

TEST_F(LaunchContext, ConfigNameIsSafeForAFileName)
{
    const std::pair<QStringList, QString> cases[] = {
        {{"?AKTCFGNAME=?AKTCFGNAME"}, "Default"},
        // Blanks alone, as the host's command line delivers them.
        {{"?AKTCFGNAME=", "", "", "?AKTCFGNAME"}, "Default"},
        {{"?AKTCFGNAME=", "x", "?AKTCFGNAME"}, " x "},
    };
    for (const auto &[config, expected] : cases) {
        SCOPED_TRACE(config.join('|').toStdString());
        QStringList arguments = {"?MAIN=1?MAIN", "?AKTROK=" + m_year + "?AKTROK",
                                 "?MVERZE=1?MVERZE", "?AKTHESLO=?AKTHESLO"};
        arguments += config;
        EXPECT_EQ(load(arguments).ConfigName(), expected);
    }
}

TEST_F(LaunchContext, HostVersionUnderLocales)
{
    struct Case {
        QLocale::Language language;
        QString value;
        qint64 raw;
    };
    const Case cases[] = {
        {QLocale::Czech, "11.060", 110600}, // the host writes a dot whatever the locale
        {QLocale::Czech, "11,060", 110600},
        {QLocale::English, "11.060", 110600},
        {QLocale::English, "11,060", 110600}, // the program reads the Czech comma whatever the locale
        {QLocale::Czech, "11.060 build 7", 110600},
        {QLocale::Czech, " 11.060", 0},
        {QLocale::Czech, "11.06.1", 0},
        {QLocale::Czech, "", 0},
        {QLocale::Czech, "dev", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE((QLocale::languageToString(c.language) + " " + c.value).toStdString());
        QLocale::setDefault(QLocale(c.language));
        const QStringList arguments = {"?MAIN=1?MAIN", "?AKTROK=" + m_year + "?AKTROK",
                                       "?MVERZE=" + c.value + "?MVERZE", "?AKTHESLO=?AKTHESLO",
                                       "?AKTCFGNAME=?AKTCFGNAME"};
        EXPECT_EQ(load(arguments).HostVersion(), Currency::fromRaw(c.raw));
    }
}

TEST_F(LaunchContext, AgendaCode)
{
    const std::pair<QString, QString> cases[] = {
        {"AGENDA.abc", "ABC"},
        {"AGENDA.A.b", "B"},
        {"AGENDA", ""},
        {"AGENDA.", ""},
    };
    for (const auto &[agenda, code] : cases) {
        SCOPED_TRACE(agenda.toStdString());
        const QString year = m_dir.path() + "/D/" + agenda + "/ROK.1/";
        EXPECT_EQ(load(LaunchArguments(year)).AgendaCode(), code);
    }
}

TEST_F(LaunchContext, AYearFolderOfTheWrongShapeLoadsWithBareFolders)
{
    const QString year = m_dir.path() + QStringLiteral("/Data/DATA/ROK.2026/");
    TBaseApplication &app = load(LaunchArguments(year));
    EXPECT_EQ(app.AgendaFolder(), QStringLiteral("/"));
    EXPECT_EQ(app.DataFolder(), QStringLiteral("/"));
    EXPECT_EQ(app.AgendaCode(), QString());
    EXPECT_FALSE(app.HasHostFolderShape());
    EXPECT_TRUE(m_ui.messages.isEmpty());

    // Relative: the agenda is found, but there is no data root above it.
    EXPECT_FALSE(load(LaunchArguments("AGENDA.A/ROK.B")).HasHostFolderShape());
    EXPECT_EQ(m_app->DataFolder(), QStringLiteral("/"));
    // The file system root may well be a data root.
    EXPECT_TRUE(load(LaunchArguments("/AGENDA.A/ROK.B")).HasHostFolderShape());
}

TEST_F(LaunchContext, YearSettingsFromRokIni)
{
    writeFile(m_year + "ROK.INI",
              "[Global]\nHospodářský rok do=46386\nPodvojné účetnictví=N\n");
    TBaseApplication &app = load(LaunchArguments(m_year));
    EXPECT_EQ(app.FiscalYearTo(), 46387.0);
    EXPECT_FALSE(app.DoubleEntryBookkeeping());
}

TEST_F(LaunchContext, YearSettingsDefaults)
{
    // No ROK.INI at all: day 1 and double-entry, without a message.
    EXPECT_EQ(load(LaunchArguments(m_year)).FiscalYearTo(), 1.0);
    EXPECT_TRUE(m_app->DoubleEntryBookkeeping());
    EXPECT_TRUE(m_ui.messages.isEmpty());

    // The key compared after upper-casing; anything but Y is single-entry.
    const std::pair<QByteArray, bool> cases[] = {
        {"Podvojné účetnictví=y", true},
        {"Podvojné účetnictví=Y", true},
        {"Podvojné účetnictví=Yes", false},
        {"Podvojné účetnictví=", false},
        {"Jiný klíč=N", true},
    };
    for (const auto &[line, doubleEntry] : cases) {
        SCOPED_TRACE(line.toStdString());
        writeFile(m_year + "ROK.INI", "[Global]\n" + line + "\n");
        EXPECT_EQ(load(LaunchArguments(m_year)).DoubleEntryBookkeeping(), doubleEntry);
    }
}

TEST_F(LaunchContext, YearSettingsFileNameInAnotherLetterCase)
{
    writeFile(m_year + "rok.ini", "[GLOBAL]\nHOSPODÁŘSKÝ ROK DO=45000\n");
    EXPECT_EQ(load(LaunchArguments(m_year)).FiscalYearTo(), 45001.0);
}

TEST_F(LaunchContext, YearSettingsFromRokDatWinOverRokIni)
{
    writeFile(m_year + "ROK.INI",
              "[Global]\nHospodářský rok do=46386\nPodvojné účetnictví=Y\n");
    HostSchema::createTableFile(m_year + "ROK.DAT", HostSchema::settingsTable("ROK"));
    {
        THostIniFile table(m_year + "ROK.INI");
        table.WriteInteger("Global", "Hospodářský rok do", 46021);
        table.WriteString("Global", "Podvojné účetnictví", "N");
    }
    TBaseApplication &app = load(LaunchArguments(m_year));
    EXPECT_EQ(app.FiscalYearTo(), 46022.0);
    EXPECT_FALSE(app.DoubleEntryBookkeeping());
}

TEST_F(LaunchContext, ADamagedRokDatGivesTheDefaults)
{
    writeFile(m_year + "ROK.INI", "[Global]\nPodvojné účetnictví=N\n");
    writeFile(m_year + "ROK.DAT", QByteArray(4096, '\x5a'));
    TBaseApplication &app = load(LaunchArguments(m_year));
    EXPECT_EQ(app.FiscalYearTo(), 1.0);
    EXPECT_TRUE(app.DoubleEntryBookkeeping());
    EXPECT_TRUE(m_ui.messages.isEmpty());
}

TEST_F(LaunchContext, EnsureFolder)
{
    TBaseApplication &app = load(LaunchArguments(m_year));
    const QString nested = m_dir.path() + "/a/b/c/";
    EXPECT_TRUE(app.EnsureFolder(nested));
    EXPECT_TRUE(QFileInfo(nested).isDir());
    EXPECT_TRUE(app.EnsureFolder(nested));
    EXPECT_TRUE(m_ui.messages.isEmpty());

    // A file stands where a folder (or its parent) should be.
    writeFile(m_dir.path() + "/file", "x");
    for (const QString &blocked : {m_dir.path() + "/file", m_dir.path() + "/file/sub/"}) {
        m_ui.messages.clear();
        EXPECT_FALSE(app.EnsureFolder(blocked));
        EXPECT_EQ(m_ui.single(),
                  (RecordedMessage{MessageKind::Error, "Nelze vytvořit adresář " + blocked}));
    }
}

TEST_F(LaunchContext, DeleteExistingFile)
{
    TBaseApplication &app = load(LaunchArguments(m_year));
    const QString missing = m_dir.path() + "/missing.xls";
    EXPECT_TRUE(app.DeleteExistingFile(missing));

    const QString readOnly = m_dir.path() + "/old.xls";
    writeFile(readOnly, "old");
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner);
    EXPECT_TRUE(app.DeleteExistingFile(readOnly));
    EXPECT_FALSE(QFileInfo::exists(readOnly));

    const QString dangling = m_dir.path() + "/link.xls";
    ASSERT_TRUE(QFile::link(m_dir.path() + "/nowhere", dangling));
    EXPECT_TRUE(app.DeleteExistingFile(dangling));
    EXPECT_FALSE(QFileInfo(dangling).isSymLink());
    EXPECT_TRUE(m_ui.messages.isEmpty());

    // A folder of that name cannot be replaced by the file.
    const QString folder = m_dir.path() + "/taken.xls";
    QDir().mkpath(folder + "/inner");
    EXPECT_FALSE(app.DeleteExistingFile(folder));
    EXPECT_EQ(m_ui.single(),
              (RecordedMessage{MessageKind::Error, "Nelze přepsat soubor " + folder}));
    EXPECT_TRUE(QFileInfo(folder + "/inner").isDir());
}

TEST(LaunchContextServices, ProgramFolderIsTheExecutablesFolder)
{
    RecordingUiServices ui;
    TBaseApplication app(ui, {});
    EXPECT_EQ(app.ProgramFolder(),
              QFileInfo(KASOVKA_BINARY_DIR "/tests").canonicalFilePath() + "/");
    app.SetProgramFolder("/opt/kasovka");
    EXPECT_EQ(app.ProgramFolder(), QStringLiteral("/opt/kasovka/"));
    EXPECT_EQ(app.HelpFolder(), QStringLiteral("/opt/kasovka/help/"));
}

TEST(LaunchContextServices, CancelRequestedFollowsTheCancelLink)
{
    RecordingUiServices ui;
    TBaseApplication app(ui, {});
    EXPECT_FALSE(app.CancelRequested());
    ui.clickCancel();
    EXPECT_TRUE(app.CancelRequested());
    app.SetCancelRequested(false);

    app.ShowProgress("Načítání", true, true);
    ui.cancelAfterRefreshes(3);
    app.RefreshProgress();
    app.RefreshProgress();
    EXPECT_FALSE(app.CancelRequested());
    app.RefreshProgress();
    EXPECT_TRUE(app.CancelRequested());
    EXPECT_EQ(ui.progressCalls,
              QStringList({"show:Načítání [cancel] [animate]", "refresh", "refresh", "refresh"}));
}

} // namespace
} // namespace kasovka
