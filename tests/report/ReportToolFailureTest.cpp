// kasovka-report where writing or reading fails: every failed write ends
// with exit code 1, and a year folder that is missing or cannot be read is
// told as such.

#include "host/demo/DemoAgenda.h"
#include "support/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace kasovka::test {
namespace {

const QString kTool = QStringLiteral(KASOVKA_BINARY_DIR "/bin/kasovka-report");
const QString kTemplates = QStringLiteral(KASOVKA_SOURCE_DIR "/resources/SetupDat/PrintFrm");

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

class ReportToolFailureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        DemoAgendaOptions options;
        options.journalRecords = 100;
        s_demo = new DemoAgenda(createDemoAgenda(s_dir->path() + QStringLiteral("/"), options));
        openToOthers(s_demo->yearFolder);
    }
    static void TearDownTestSuite()
    {
        delete s_demo;
        delete s_dir;
    }

    static ToolRun run(const QStringList &options, const QString &standardOutput = QString(),
                       QStringList launch = {})
    {
        if (launch.isEmpty())
            launch = s_demo->launchArguments();
        QProcess process;
        if (!standardOutput.isEmpty())
            process.setStandardOutputFile(standardOutput);
        process.start(kTool, launch + options);
        process.waitForFinished(60000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
    }

    static QTemporaryDir *s_dir;
    static DemoAgenda *s_demo;
};

QTemporaryDir *ReportToolFailureTest::s_dir = nullptr;
DemoAgenda *ReportToolFailureTest::s_demo = nullptr;

TEST_F(ReportToolFailureTest, EveryFailedWriteExitsWithOne)
{
    const QString settings = s_demo->dataRoot + QStringLiteral("Doplnky/Kasovka/Setting/")
        + s_demo->configName + QStringLiteral("DEMO.ini");
    QDir().mkpath(settings); // a folder where the settings file belongs
    const QString workbook = s_dir->path() + QStringLiteral("/vystup.xls");
    struct Case {
        const char *name;
        QStringList options;
        QString standardOutput;
        const char *message; // part of standard error
    };
    const Case cases[] = {
        {"JSON to a full device", {"--json", "/dev/full"}, {}, "nelze zapsat"},
        {"JSON to standard output on a full device", {"--json", "-"}, "/dev/full", "nelze zapsat"},
        {"settings file not written", {"--templates", kTemplates, "--xls", workbook}, {}, "Soubor nastavení"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun result = run(c.options, c.standardOutput);
        EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(QString::fromUtf8(c.message))) << result.err.toStdString();
    }
    EXPECT_TRUE(QFileInfo(QStringLiteral("/dev/full")).exists() && !QFileInfo(QStringLiteral("/dev/full")).isFile());
    QDir(settings).removeRecursively();
}

// What stands at a target and may not be replaced, even with --overwrite:
// devices, pipes, templates; a link is replaced, not written through.
TEST_F(ReportToolFailureTest, OnlyFilesAreReplacedAndNeverATemplate)
{
    const QString folder = s_dir->path() + QStringLiteral("/cile/");
    QDir().mkpath(folder);
    const QString templates = folder + QStringLiteral("sablony/");
    QDir().mkpath(templates);
    for (const QString &name : QDir(kTemplates).entryList(QDir::Files))
        QFile::copy(kTemplates + u'/' + name, templates + name);
    const QString fifo = folder + QStringLiteral("roura.pdf");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo + QStringLiteral(".xlsx")).constData(), 0600), 0);
    QFile pointee(folder + QStringLiteral("cizi.txt"));
    ASSERT_TRUE(pointee.open(QIODevice::WriteOnly));
    pointee.write("someone else's");
    pointee.close();
    QFile::link(pointee.fileName(), folder + QStringLiteral("odkaz.pdf"));
    const QString templ = templates + QStringLiteral("_GroupTables.xl");
    const QByteArray templateBytes = [&] {
        QFile file(templ);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    struct Case {
        QStringList options;
        int exitCode;
        const char *message;
    };
    const QStringList overwrite{QStringLiteral("--overwrite"), QStringLiteral("--templates"), templates};
    const Case cases[] = {
        {{"--pdf", "/dev/null"}, 1, "je zařízení, roura nebo soket"},
        {{"--xlsx", fifo + QStringLiteral(".xlsx")}, 1, "je zařízení, roura nebo soket"},
        {{"--xls", fifo}, 1, "je zařízení, roura nebo soket"},
        {{"--pdf", templ}, 1, "je šablona exportu"},
        {{"--json", templ}, 1, "je šablona exportu"},
        {{"--xls", templ}, 1, "je šablona exportu"},
        {{"--json", "/dev/null"}, 0, ""},
        {{"--pdf", folder + QStringLiteral("odkaz.pdf")}, 0, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.options.join(u' ').toStdString());
        const ToolRun result = run(c.options + overwrite);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err.toStdString();
        EXPECT_TRUE(result.err.contains(QString::fromUtf8(c.message))) << result.err.toStdString();
    }
    struct stat info {};
    EXPECT_TRUE(::stat("/dev/null", &info) == 0 && S_ISCHR(info.st_mode));
    EXPECT_TRUE(::lstat(QFile::encodeName(fifo).constData(), &info) == 0 && S_ISFIFO(info.st_mode));
    QFile templateAfter(templ);
    ASSERT_TRUE(templateAfter.open(QIODevice::ReadOnly));
    EXPECT_EQ(templateAfter.readAll(), templateBytes);
    ASSERT_TRUE(pointee.open(QIODevice::ReadOnly));
    EXPECT_EQ(pointee.readAll(), "someone else's");
    EXPECT_FALSE(QFileInfo(folder + QStringLiteral("odkaz.pdf")).isSymLink());
    EXPECT_EQ(QDir(folder).entryList(QDir::Hidden | QDir::System | QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{"cizi.txt", "odkaz.pdf", "roura.pdf", "roura.pdf.xlsx", "sablony"}))
        << "no temporary file left";
}

TEST_F(ReportToolFailureTest, AMissingYearFolderIsNamedInsteadOfTheDoubleEntryRefusal)
{
    QStringList launch = s_demo->launchArguments();
    const QString missing = s_demo->agendaFolder + QStringLiteral("ROK.2030");
    launch.replaceInStrings(QDir::cleanPath(s_demo->yearFolder), missing);
    const ToolRun result = run({"--json", "-"}, QString(), launch);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.trimmed(), QStringLiteral("Chyba: Doplněk nelze spustit: adresář účetního roku %1/ neexistuje.")
                                        .arg(missing));
}

// The host's tables are kept with a write-ahead log; a user who may read
// the data but not write its folders gets the report all the same.
TEST_F(ReportToolFailureTest, AUserWhoMayOnlyReadTheDataGetsTheReport)
{
    const QStringList folders{s_demo->dataRoot, s_demo->agendaFolder, s_demo->yearFolder};
    for (const QString &folder : folders)
        QFile::setPermissions(folder, QFile::permissions(folder) & ~QFileDevice::WriteOwner);
    const QString out = runUnprivileged([] {
        const ToolRun result = run({"--json", "-"});
        if (result.exitCode != 0)
            return result.err;
        const QJsonObject json = QJsonDocument::fromJson(result.out).object();
        return QStringLiteral("groups: %1").arg(json.value(QStringLiteral("groups")).toArray().size());
    });
    for (const QString &folder : folders)
        QFile::setPermissions(folder, QFile::permissions(folder) | QFileDevice::WriteOwner);
    EXPECT_EQ(out, QStringLiteral("groups: 1"));
    EXPECT_EQ(QDir(s_demo->yearFolder).entryList({QStringLiteral("*-wal"), QStringLiteral("*-shm")}), QStringList());
}

} // namespace
} // namespace kasovka::test
