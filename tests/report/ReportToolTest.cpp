// kasovka-report run as a process over the demo agenda: its JSON carries
// the figures of the independent reckoning, and its refusals their codes.

#include "report/ReferenceModel.h"

#include "host/demo/DemoAgenda.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kasovka::test {
namespace {

const QString kTool = QStringLiteral(KASOVKA_BINARY_DIR "/bin/kasovka-report");

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QString err;
};

class ReportToolTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        DemoAgendaOptions options;
        options.journalRecords = 1500;
        options.seed = 3;
        s_demo = new DemoAgenda(createDemoAgenda(s_dir->path() + QStringLiteral("/"), options));
    }
    static void TearDownTestSuite()
    {
        delete s_demo;
        delete s_dir;
    }

    ToolRun run(const QStringList &options, QStringList launch = {})
    {
        if (launch.isEmpty())
            launch = s_demo->launchArguments();
        QProcess process;
        process.start(kTool, launch + options);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), process.readAllStandardOutput(),
                QString::fromUtf8(process.readAllStandardError())};
    }

    static Columns columnsOf(const QJsonObject &object)
    {
        Columns c{};
        for (int column = 5; column <= 35; ++column)
            c[column] = *Currency::parse(object.value(QStringLiteral("Col%1").arg(column)).toString());
        return c;
    }

    static QTemporaryDir *s_dir;
    static DemoAgenda *s_demo;
};

QTemporaryDir *ReportToolTest::s_dir = nullptr;
DemoAgenda *ReportToolTest::s_demo = nullptr;

TEST_F(ReportToolTest, JsonCarriesTheReckonedFiguresOfTheYear)
{
    const ToolRun result = run({"--set", "ZaverkoveUpravy=1", "--set", "NazevFiltru=Rok", "--json", "-"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(result.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();

    const ReferenceReport expected =
        computeReference(s_demo->yearFolder, ReferenceFilter{false, 0, 0, false, true});
    EXPECT_EQ(json.value("reportName").toString(), QStringLiteral("Rok"));
    const QJsonArray groups = json.value("groups").toArray();
    ASSERT_EQ(groups.size(), 1);
    const QJsonObject group = groups[0].toObject();
    EXPECT_EQ(columnsOf(group.value("cols").toObject()), expected.group);
    EXPECT_EQ(columnsOf(group.value("carried").toObject()), expected.carried);
    EXPECT_EQ(columnsOf(json.value("openingBalances").toObject()), expected.opening);
    const Currency base = *Currency::parse(group.value("totals").toObject().value("ZakladDane").toString());
    EXPECT_EQ(base, expected.group[11] - expected.group[12]);

    const QJsonArray rows = group.value("rows").toArray();
    EXPECT_EQ(json.value("rowCountAll").toInt(), rows.size());
    EXPECT_EQ(rows.first().toObject().value("Popis").toString(), QStringLiteral("Převedeno:"));
    EXPECT_EQ(rows.last().toObject().value("Popis").toString(), QStringLiteral("Uzávěrkové úpravy:"));
    EXPECT_EQ(rows.last().toObject().value("Poradi").type(), QJsonValue::Null);
    // Amounts are texts with four decimals; a row's untouched column is null.
    const QString col5 = group.value("cols").toObject().value("Col5").toString();
    EXPECT_EQ(col5.size() - col5.indexOf(u'.'), 5);
    EXPECT_EQ(rows.last().toObject().value("cols").toObject().value("Col5").type(), QJsonValue::Null);
    // Dates are YYYY-MM-DD; the demo's record without a date has none.
    const QString lastDate = rows[rows.size() - 2].toObject().value("Datum").toString();
    EXPECT_EQ(lastDate.size(), 10);
    EXPECT_EQ(lastDate.left(5), QStringLiteral("2024-"));
}

TEST_F(ReportToolTest, PeriodFromOptionsMatchesTheReckoning)
{
    const QString out = s_dir->path() + QStringLiteral("/period.json");
    const ToolRun result = run({"--set", "ZaObdobi=1", "--set", "ObdobiOD=2024-03-01", "--set",
                            "ObdobiDO=2024-06-30", "--set", "ZapocitavatPredchObdobi=1",
                            "--json", out, "--timings"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    QFile file(out);
    ASSERT_EQ(file.open(QIODevice::ReadOnly), true);
    const QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
    const ReferenceReport expected = computeReference(
        s_demo->yearFolder,
        ReferenceFilter{true, encodeDate(2024, 3, 1), encodeDate(2024, 6, 30), true, false});
    const QJsonObject group = json.value("groups").toArray()[0].toObject();
    EXPECT_EQ(columnsOf(group.value("cols").toObject()), expected.group);
    EXPECT_EQ(columnsOf(group.value("carried").toObject()), expected.carried);
    for (const char *phase : {"host tables opened", "journal read", "finish", "output (json)"})
        EXPECT_EQ(result.err.contains(QString::fromLatin1(phase)), true) << phase;
}

TEST_F(ReportToolTest, RefusalsAndUsageErrorsHaveTheirExitCodes)
{
    struct Case {
        const char *name;
        QStringList options;
        int exitCode;
        const char *message; // part of standard error
    };
    const Case cases[] = {
        {"reversed period", {"--set", "ZaObdobi=1", "--set", "ObdobiOD=2024-05-01", "--set", "ObdobiDO=2024-04-01", "--json", "-"}, 1, "Datum nemá platný formát"},
        {"period without dates", {"--set", "ZaObdobi=1", "--json", "-"}, 1, "Datum nemá platný formát"},
        {"unknown field", {"--set", "Neznamy=1"}, 2, "neznámé pole filtru"},
        {"Boolean not 0 or 1", {"--set", "ZaObdobi=ano"}, 2, "0 nebo 1"},
        {"kind out of range", {"--set", "VertikalniDeleni=8"}, 2, "od 0 do 7"},
        {"bad date", {"--set", "ObdobiOD=2024-02-30"}, 2, "datum"},
        {"unknown option", {"--bogus"}, 2, "neznámá volba"},
        {"missing value", {"--json"}, 2, "chybí hodnota"},
        {"missing filter file", {"--filter-ini", "/nonexistent/x.ini"}, 2, "neexistuje"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun result = run(c.options);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.err.contains(QString::fromUtf8(c.message)), true) << result.err.toStdString();
        EXPECT_EQ(result.out, QByteArray());
    }
}

TEST_F(ReportToolTest, OldHostCannotGroupByAddressNumber)
{
    QStringList launch = s_demo->launchArguments();
    launch.replaceInStrings(QStringLiteral("?MVERZE=11.060?MVERZE"), QStringLiteral("?MVERZE=11.050?MVERZE"));
    const ToolRun result = run({"--set", "VertikalniDeleni=5", "--json", "-"}, launch);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.contains(QStringLiteral("11.060 nebo vyšší")), true) << result.err.toStdString();
}

TEST_F(ReportToolTest, FilterFileIsReadFromItsSection)
{
    const QString ini = s_dir->path() + QStringLiteral("/filter.ini");
    QFile file(ini);
    ASSERT_EQ(file.open(QIODevice::WriteOnly), true);
    file.write("[ReportFilter]\nVertikalniDeleni=1\nPouzeZaverecnyPrehled=1\n");
    file.close();
    const ToolRun result = run({"--filter-ini", ini, "--json", "-"});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(result.out).object();
    const QJsonArray groups = json.value("groups").toArray();
    const QHash<QString, Columns> expected =
        computeGroupSums(s_demo->yearFolder, ReferenceFilter{}, QStringLiteral("Stred"));
    EXPECT_EQ(groups.size(), expected.size());
    for (const QJsonValue &value : groups) {
        const QJsonObject group = value.toObject();
        EXPECT_EQ(group.value("rows").toArray().size(), 1);
        EXPECT_EQ(columnsOf(group.value("cols").toObject()),
                  expected.value(group.value("Zkratka").toString().toCaseFolded()));
    }
    EXPECT_EQ(json.value("openingBalances").type(), QJsonValue::Null);
}

} // namespace
} // namespace kasovka::test
