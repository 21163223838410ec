// Report generation on a large demo journal, each kind of report beside a
// plain SQLite scan of the same UCPENDEN file in the same index order that
// reads the fields that report reads, and the JSON of the generated report.
// Read the ratios of one run: the machine is shared.
//
// The data root is KASOVKA_BENCH_DIR when set (a demo data root made by
// `kasovka-hostdata demo`); otherwise one is built once per journal size in
// the temporary folder (KASOVKA_BENCH_RECORDS, 1,000,000 by default).
// bench/report/run.sh runs everything and adds the peak memory of the
// detailed report as a whole command.

#include "app/ConsoleUiServices.h"
#include "app/TBaseApplication.h"
#include "filter/TReportFilter.h"
#include "host/demo/DemoAgenda.h"
#include "report/TPenDenReport.h"
#include "report/json/ReportJson.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <vector>

using namespace kasovka;

namespace {

QString yearFolder()
{
    static const QString folder = [] {
        const QByteArray given = qgetenv("KASOVKA_BENCH_DIR");
        const QString year = demoAgendaFolderName() + QLatin1Char('/') + demoYearFolderName(2024)
            + QLatin1Char('/');
        if (!given.isEmpty())
            return QDir(QString::fromLocal8Bit(given)).absolutePath() + QLatin1Char('/') + year;
        const char *env = std::getenv("KASOVKA_BENCH_RECORDS");
        const int records = env ? std::atoi(env) : 1000000;
        const QString root =
            QDir::tempPath() + QStringLiteral("/kasovka-bench-report-%1/").arg(records);
        if (!QFileInfo::exists(root + QStringLiteral("done"))) {
            QDir(root).removeRecursively();
            DemoAgendaOptions options;
            options.journalRecords = records;
            createDemoAgenda(root, options);
            QFile(root + QStringLiteral("done")).open(QIODevice::WriteOnly);
        }
        return root + year;
    }();
    return folder;
}

QStringList launchArguments()
{
    return {QStringLiteral("?MAIN=bench?MAIN"), QStringLiteral("?AKTROK=") + yearFolder() + QStringLiteral("?AKTROK"),
            QStringLiteral("?MVERZE=11.060?MVERZE"), QStringLiteral("?AKTHESLO=?AKTHESLO"),
            QStringLiteral("?AKTCFGNAME=Bench?AKTCFGNAME")};
}

// The demo journal links a handful of firms; its records are spread over a
// few thousand address numbers, so that grouping by address builds
// thousands of groups. Done once per data root; only that kind reads it.
void spreadAddressNumbers()
{
    const QString marker = yearFolder() + QStringLiteral("bench-addresses");
    if (QFileInfo::exists(marker))
        return;
    sqlite3 *db = nullptr;
    const QByteArray path = (yearFolder() + QStringLiteral("UCPENDEN.DAT")).toUtf8();
    if (sqlite3_open(path.constData(), &db) == SQLITE_OK
        && sqlite3_exec(db, "UPDATE data SET AdCislo = 1 + (Cislo % 4000)", nullptr, nullptr, nullptr)
            == SQLITE_OK)
        QFile(marker).open(QIODevice::WriteOnly);
    sqlite3_close(db);
}

// What one report reads from each journal record, for the scan beside it.
struct ReportCase {
    quint8 kind;
    quint8 generation;
    bool overviewOnly;
    std::vector<const char *> fields;
};

const ReportCase &reportCase(int which)
{
    static const std::vector<ReportCase> cases = {
        {sgkNone, rgByDocument, false,
         {"Del", "Free", "Datum", "Zdroj", "ZRadek", "Pohyb", "Castka", "Typ", "Doklad", "VarSym"}},
        {sgkFirmByAddress, rgByDocument, false,
         {"Del", "Free", "Datum", "Zdroj", "ZRadek", "Pohyb", "Castka", "Typ", "Doklad", "VarSym",
          "AdCislo"}},
        {sgkNone, rgByDocument, true,
         {"Del", "Free", "Datum", "Zdroj", "ZRadek", "Pohyb", "Castka", "Typ"}},
        {sgkNone, rgDetailed, false,
         {"Del", "Free", "Datum", "Zdroj", "ZRadek", "Pohyb", "Castka", "Typ", "Doklad", "VarSym",
          "Popis"}},
    };
    return cases[size_t(which)];
}

void nameCase(benchmark::State &state)
{
    static const char *const names[] = {"by document", "firms by address", "final overview only",
                                        "detailed"};
    state.SetLabel(names[state.range(0)]);
}

// The reference: the journal in the report's index order, each field read
// in its stored kind, nothing else.
void BM_SqliteScan(benchmark::State &state)
{
    nameCase(state);
    const ReportCase &c = reportCase(int(state.range(0)));
    if (c.kind == sgkFirmByAddress)
        spreadAddressNumbers();
    const QByteArray file = (yearFolder() + QStringLiteral("UCPENDEN.DAT")).toUtf8();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QByteArray sql = "SELECT ";
    for (size_t i = 0; i < c.fields.size(); ++i)
        sql += (i ? ", \"" : "\"") + QByteArray(c.fields[i]) + '"';
    sql += " FROM data INDEXED BY \"Datum+Zdroj+ZRadek\" ORDER BY Datum, Zdroj, ZRadek, rowid";
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        state.SkipWithError(sqlite3_errmsg(db));
        sqlite3_close(db);
        return;
    }
    const int columns = int(c.fields.size());
    for (auto _ : state) {
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        qint64 checksum = 0, records = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int column = 0; column < columns; ++column) {
                switch (sqlite3_column_type(stmt, column)) {
                case SQLITE_INTEGER: checksum += sqlite3_column_int64(stmt, column); break;
                case SQLITE_FLOAT: checksum += qint64(sqlite3_column_double(stmt, column)); break;
                case SQLITE_TEXT: checksum += sqlite3_column_bytes(stmt, column); break;
                default: break;
                }
            }
            ++records;
        }
        sqlite3_reset(stmt);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        benchmark::DoNotOptimize(checksum);
        state.counters["records"] = double(records);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}

std::unique_ptr<TPenDenReport> generate(TBaseApplication &app, const ReportCase &c)
{
    auto filter = std::make_unique<TReportFilter>(app);
    filter->VertikalniDeleni = c.kind;
    filter->ZpusobSumace = c.generation;
    filter->PouzeZaverecnyPrehled = c.overviewOnly;
    auto report = std::make_unique<TPenDenReport>(app, std::move(filter));
    const ReportOutcome outcome = report->Generate();
    showReportMessages(app, outcome);
    return outcome ? std::move(report) : nullptr;
}

struct QuietApp {
    QuietApp() : ui(MessageResult::No, stderr), app(ui, launchArguments())
    {
        ui.setShowsProgress(false);
        loaded = app.LoadLaunchContext();
    }
    ConsoleUiServices ui;
    TBaseApplication app;
    bool loaded = false;
};

void BM_Report(benchmark::State &state)
{
    nameCase(state);
    const ReportCase &c = reportCase(int(state.range(0)));
    if (c.kind == sgkFirmByAddress)
        spreadAddressNumbers();
    QuietApp quiet;
    if (!quiet.loaded) {
        state.SkipWithError("launch context");
        return;
    }
    for (auto _ : state) {
        const auto report = generate(quiet.app, c);
        if (!report) {
            state.SkipWithError("report not generated");
            return;
        }
        state.counters["groups"] = report->Skupiny().recordCount();
        state.counters["rows"] = report->RowCountAll();
    }
}

// Swallows what it is given and counts it.
class NullDevice : public QIODevice {
public:
    NullDevice() { open(QIODevice::WriteOnly); }
    qint64 written = 0;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override
    {
        written += size;
        return size;
    }
};

// The JSON of a generated report, written to a device that drops it: the
// writer's own cost, without the report's.
void BM_ReportJson(benchmark::State &state)
{
    nameCase(state);
    QuietApp quiet;
    const auto report = quiet.loaded ? generate(quiet.app, reportCase(int(state.range(0)))) : nullptr;
    if (!report) {
        state.SkipWithError("report not generated");
        return;
    }
    for (auto _ : state) {
        NullDevice sink;
        writeReportJson(*report, sink);
        state.counters["MB"] = double(sink.written) / 1e6;
    }
    state.counters["rows"] = report->RowCountAll();
}

} // namespace

// Each report right after its scan, so that a pair shares the machine's load.
BENCHMARK(BM_SqliteScan)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Report)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SqliteScan)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Report)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SqliteScan)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Report)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SqliteScan)->Arg(3)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_Report)->Arg(3)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ReportJson)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReportJson)->Arg(3)->Unit(benchmark::kMillisecond)->Iterations(2);

BENCHMARK_MAIN();
