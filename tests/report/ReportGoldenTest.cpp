// Every figure, number and order of a report must survive changes to how
// the engine is built. Each case generates a report on a small demo agenda
// and hashes its JSON (as kasovka-report writes it) and a dump of all four
// report tables in record order, fields the JSON leaves out included. The
// hashes are compared with tests/report/golden/reports.txt, recorded from
// an engine known to be right.
//
// On a difference the test names the cases and leaves their JSON and dumps
// in <build>/tests/golden-actual/; KASOVKA_GOLDEN_KEEP=1 leaves every case
// there, so a known-good build can write the files to diff against.
// KASOVKA_UPDATE_GOLDEN=1 rewrites the list, for a deliberate change of the
// output only.

#include "report/DemoFilterCases.h"

#include "app/TBaseApplication.h"
#include "core/MemTable.h"
#include "host/demo/DemoAgenda.h"
#include "report/TPenDenReport.h"
#include "report/json/ReportJson.h"
#include "support/RecordingUiServices.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kasovka::test {
namespace {

const QString kGoldenFile = QStringLiteral(KASOVKA_SOURCE_DIR "/tests/report/golden/reports.txt");
const QString kActualFolder = QStringLiteral(KASOVKA_BINARY_DIR "/tests/golden-actual/");

// Kind, generation and period rule crossed, beside the property cases: the
// period ends on the last day of the year, so closing adjustments are
// included wherever the kind allows them.
std::vector<FilterCase> crossedCases()
{
    std::vector<FilterCase> cases;
    const char *periods[] = {"whole", "period", "earlier"};
    for (quint8 kind = 0; kind <= 7; ++kind) {
        for (quint8 generation : {rgByDocument, rgDetailed}) {
            for (int period = 0; period < 3; ++period) {
                const QString name = QStringLiteral("k%1-%2-%3")
                                         .arg(kind)
                                         .arg(generation == rgDetailed ? "det" : "doc")
                                         .arg(QLatin1String(periods[period]));
                cases.push_back({name, [=](TReportFilter &f) {
                                     f.VertikalniDeleni = kind;
                                     f.ZpusobSumace = generation;
                                     f.ZaverkoveUpravy = true;
                                     f.ZaObdobi = period > 0;
                                     f.ObdobiOD = encodeDate(2024, 3, 1);
                                     f.ObdobiDO = encodeDate(2024, 12, 31);
                                     f.ZapocitavatPredchObdobi = period == 2;
                                 }});
            }
        }
    }
    for (bool period : {false, true}) {
        cases.push_back({QStringLiteral("k0-overview-%1").arg(period ? "earlier" : "whole"),
                         [=](TReportFilter &f) {
                             f.PouzeZaverecnyPrehled = true;
                             f.ZaverkoveUpravy = true;
                             f.ZaObdobi = period;
                             f.ObdobiOD = encodeDate(2024, 5, 1);
                             f.ObdobiDO = encodeDate(2024, 12, 31);
                             f.ZapocitavatPredchObdobi = true;
                         }});
    }
    return cases;
}

// Every field of every record, in record order, with empty fields marked.
QByteArray dumpTables(const TPenDenReport &report)
{
    QByteArray dump;
    for (const TMemTable *table :
         {&report.Skupiny(), &report.Prevedeno(), &report.Denik(), &report.PocatecniStav()}) {
        for (int row = 0; row < table->recordCount(); ++row) {
            for (int field = 0; field < table->fieldCount(); ++field) {
                dump += table->fieldName(field).toUtf8() + '=';
                dump += table->isNullAt(row, field) ? QByteArray("~")
                                                    : table->valueAt(row, field).toText().toUtf8();
                dump += field + 1 < table->fieldCount() ? '|' : '\n';
            }
        }
        dump += "--\n";
    }
    return dump;
}

QByteArray shortHash(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(16);
}

class ReportGoldenTest : public ::testing::Test {
protected:
    // One line per case: "<agenda> <case> json=<hash> tables=<hash>".
    QByteArray runAgenda(const QString &agendaName, int records, quint64 seed)
    {
        QTemporaryDir dir;
        DemoAgendaOptions options;
        options.journalRecords = records;
        options.seed = seed;
        const DemoAgenda demo = createDemoAgenda(dir.path() + QStringLiteral("/"), options);
        RecordingUiServices ui;
        TBaseApplication app(ui, demo.launchArguments());
        EXPECT_TRUE(app.LoadLaunchContext());

        std::vector<FilterCase> cases;
        for (FilterCase c : demoFilterCases()) {
            c.name = QStringLiteral("property-") + c.name;
            cases.push_back(std::move(c));
        }
        for (FilterCase &c : crossedCases())
            cases.push_back(std::move(c));

        QByteArray lines;
        for (const FilterCase &c : cases) {
            auto filter = std::make_unique<TReportFilter>(app);
            c.setup(*filter);
            TPenDenReport report(app, std::move(filter));
            const ReportOutcome outcome = report.Generate();
            showReportMessages(app, outcome);
            EXPECT_TRUE(outcome.built()) << c.name.toStdString();
            QBuffer json;
            json.open(QIODevice::WriteOnly);
            writeReportJson(report, json);
            const QByteArray tables = dumpTables(report);
            const QString id = agendaName + QLatin1Char(' ') + c.name;
            lines += id.toUtf8() + " json=" + shortHash(json.data()) + " tables=" + shortHash(tables)
                + '\n';
            m_outputs.insert(id, {json.data(), tables});
        }
        EXPECT_EQ(ui.messages.size(), 0);
        return lines;
    }

    void keepActual(const QString &id)
    {
        QDir().mkpath(kActualFolder);
        const QString base = kActualFolder + QString(id).replace(QLatin1Char(' '), QLatin1Char('-'));
        for (const auto &[suffix, bytes] : {std::pair{".json", m_outputs[id].first},
                                            std::pair{".tables", m_outputs[id].second}}) {
            QFile file(base + QLatin1String(suffix));
            if (file.open(QIODevice::WriteOnly))
                file.write(bytes);
        }
    }

    QHash<QString, std::pair<QByteArray, QByteArray>> m_outputs;
};

TEST_F(ReportGoldenTest, EveryReportIsByteIdenticalToTheRecordedOne)
{
    const QByteArray actual = runAgenda(QStringLiteral("seed1"), 800, 1)
        + runAgenda(QStringLiteral("seed9"), 500, 9);

    if (qEnvironmentVariableIntValue("KASOVKA_UPDATE_GOLDEN") == 1) {
        QFile file(kGoldenFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(actual);
        GTEST_SKIP() << "golden list rewritten";
    }
    QFile file(kGoldenFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << kGoldenFile.toStdString();
    const QList<QByteArray> expected = file.readAll().split('\n');
    const QList<QByteArray> got = actual.split('\n');
    ASSERT_EQ(got.size(), expected.size()) << "the list of cases changed";
    QStringList differing;
    const bool keepAll = qEnvironmentVariableIntValue("KASOVKA_GOLDEN_KEEP") == 1;
    for (qsizetype i = 0; i < got.size(); ++i) {
        const QString id = QString::fromUtf8(got[i]).section(QLatin1Char(' '), 0, 1);
        if (got[i] != expected[i])
            differing.append(id);
        if ((got[i] != expected[i] || keepAll) && !id.isEmpty())
            keepActual(id);
    }
    EXPECT_EQ(differing, QStringList()) << "outputs kept in " << kActualFolder.toStdString();
}

} // namespace
} // namespace kasovka::test
