// kasovka-report run as a process over the demo agenda: its JSON carries
// the figures of the independent reckoning, and its refusals their codes.

#include "report/ReferenceModel.h"

#include "host/demo/DemoAgenda.h"

#include <QFile>
#include <QFileInfo>
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

    ToolRun run(const QStringList &options, QStringList launch = {}, const QString &folder = {})
    {
        if (launch.isEmpty())
            launch = s_demo->launchArguments();
        QProcess process;
        process.setWorkingDirectory(folder);
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

// A shell user names the outputs relative to the folder they work in.
TEST_F(ReportToolTest, RelativeTargetsAreWrittenInTheWorkingFolder)
{
    QTemporaryDir folder;
    const ToolRun result = run({QStringLiteral("--xls"), QStringLiteral("report.xls"), QStringLiteral("--group-table"),
                                QStringLiteral("groups.xls")},
                               {}, folder.path());
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(QFileInfo(folder.filePath(QStringLiteral("report.xls"))).size() > 0);
    EXPECT_TRUE(QFileInfo(folder.filePath(QStringLiteral("groups.xls"))).size() > 0);
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

TEST_F(ReportToolTest, MonthsOfEachGroupAddUpToItsFinalOverview)
{
    const QStringList year = {"2024-01", "2024-02", "2024-03", "2024-04", "2024-05", "2024-06",
                              "2024-07", "2024-08", "2024-09", "2024-10", "2024-11", "2024-12"};
    const struct {
        const char *name;
        QStringList options;
        QStringList months; // "-" for the rows without a date
    } cases[] = {
        {"whole year", {"--set", "ZaverkoveUpravy=1"}, QStringList{"-"} + year},
        {"period with earlier months, by centre",
         {"--set", "ZaObdobi=1", "--set", "ObdobiOD=2024-03-01", "--set", "ObdobiDO=2024-05-31", "--set",
          "ZapocitavatPredchObdobi=1", "--set", "VertikalniDeleni=1"},
         {"2024-03", "2024-04", "2024-05"}},
    };
    const QStringList keys = {"BankUctyCelkem", "Col11", "Col12", "HotovostCeninyCelkem", "ZakladDane",
                              "ZakladDaneCumulative", "month", "rowCount"};
    const auto money = [](const QJsonObject &object, const char *key) {
        return *Currency::parse(object.value(QLatin1String(key)).toString());
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun result = run(c.options + QStringList{"--json", "-"});
        ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
        for (const QJsonValue &value : QJsonDocument::fromJson(result.out).object().value("groups").toArray()) {
            const QJsonObject group = value.toObject();
            const QJsonObject totals = group.value("totals").toObject();
            const QJsonArray months = group.value("months").toArray();
            QStringList names;
            Currency income = money(group.value("carried").toObject(), "Col11");
            int rows = 0;
            for (const QJsonValue &m : months) {
                const QJsonObject month = m.toObject();
                EXPECT_EQ(month.keys(), keys);
                names.append(month.value("month").isNull() ? QStringLiteral("-") : month.value("month").toString());
                income += money(month, "Col11");
                EXPECT_EQ(money(month, "ZakladDane"), money(month, "Col11") - money(month, "Col12"));
                rows += month.value("rowCount").toInt();
            }
            EXPECT_EQ(names, c.months);
            EXPECT_EQ(income, money(group.value("cols").toObject(), "Col11"));
            const QJsonObject last = months.last().toObject();
            EXPECT_EQ(money(last, "ZakladDaneCumulative"), money(totals, "ZakladDane"));
            EXPECT_EQ(money(last, "HotovostCeninyCelkem"), money(totals, "HotovostCeninyCelkem"));
            EXPECT_EQ(money(last, "BankUctyCelkem"), money(totals, "BankUctyCelkem"));
            EXPECT_EQ(last.value("Col12").toString().section(u'.', 1).size(), 4);
            int numbered = 0;
            for (const QJsonValue &row : group.value("rows").toArray())
                numbered += row.toObject().value("Poradi").toInt() > 0;
            EXPECT_EQ(rows, numbered);
        }
    }
}

} // namespace
} // namespace kasovka::test
