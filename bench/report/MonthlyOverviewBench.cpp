// The monthly overview beside the report generation that computes it, on the
// large demo journal, and a group switch of the report view with the monthly
// overview shown.
//
// The demo data root is built once per journal size and kept in the
// temporary folder (KASOVKA_BENCH_RECORDS sets the size, 1,000,000 by
// default).

#include "app/ConsoleUiServices.h"
#include "app/TBaseApplication.h"
#include "filter/TReportFilter.h"
#include "host/demo/DemoAgenda.h"
#include "report/TMonthlyOverview.h"
#include "report/TPenDenReport.h"
#include "report/view/ReportViewServices.h"
#include "report/view/TfrmPenDenReport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>

using namespace kasovka;

namespace {

struct Session {
    explicit Session(const QString &year)
        : ui(MessageResult::No, stderr),
          app(ui, {QStringLiteral("?MAIN=bench?MAIN"), QStringLiteral("?AKTROK=") + year + QStringLiteral("?AKTROK"),
                   QStringLiteral("?MVERZE=11.060?MVERZE"), QStringLiteral("?AKTHESLO=?AKTHESLO"),
                   QStringLiteral("?AKTCFGNAME=Bench?AKTCFGNAME")})
    {
        ui.setShowsProgress(false);
        app.LoadLaunchContext();
    }
    std::unique_ptr<TPenDenReport> generate(quint8 kind)
    {
        auto filter = std::make_unique<TReportFilter>(app);
        filter->VertikalniDeleni = kind;
        auto report = std::make_unique<TPenDenReport>(app, std::move(filter));
        const ReportOutcome outcome = report->Generate();
        showReportMessages(app, outcome);
        return outcome ? std::move(report) : nullptr;
    }
    ConsoleUiServices ui;
    TBaseApplication app;
};

// The demo agenda, built once per size; its journal's records are spread
// over 4,000 address numbers, so that grouping by address builds thousands
// of groups.
QString yearFolder()
{
    const char *env = std::getenv("KASOVKA_BENCH_RECORDS");
    const int records = env ? std::atoi(env) : 1000000;
    const QString root = QDir::tempPath() + QStringLiteral("/kasovka-bench-monthly-%1/").arg(records);
    const QString year =
        root + demoAgendaFolderName() + QLatin1Char('/') + demoYearFolderName(2024) + QLatin1Char('/');
    if (!QFileInfo::exists(root + QStringLiteral("done"))) {
        QDir(root).removeRecursively();
        DemoAgendaOptions options;
        options.journalRecords = records;
        options.year = 2024;
        createDemoAgenda(root, options);
        QFile(root + QStringLiteral("done")).open(QIODevice::WriteOnly);
    }
    if (!QFileInfo::exists(root + QStringLiteral("addresses"))) {
        sqlite3 *db = nullptr;
        if (sqlite3_open((year + QStringLiteral("UCPENDEN.DAT")).toUtf8().constData(), &db) == SQLITE_OK
            && sqlite3_exec(db, "UPDATE data SET AdCislo = 1 + (Cislo % 4000)", nullptr, nullptr, nullptr)
                == SQLITE_OK)
            QFile(root + QStringLiteral("addresses")).open(QIODevice::WriteOnly);
        sqlite3_close(db);
    }
    return year;
}

Session &session()
{
    static Session shared(yearFolder());
    return shared;
}

// The report of the group kind; nullptr (the benchmark skipped) when it
// could not be generated.
std::unique_ptr<TPenDenReport> generated(benchmark::State &state, quint8 kind)
{
    auto report = session().generate(kind);
    if (!report)
        state.SkipWithError("report not generated");
    return report;
}

// Generate, the overview's pass included.
void BM_Generate(benchmark::State &state)
{
    const auto kind = quint8(state.range(0));
    for (auto _ : state) {
        auto report = generated(state, kind);
        if (!report)
            return;
        state.counters["groups"] = report->Skupiny().recordCount();
    }
}

// The overview's pass again over the same report: what Generate adds.
void BM_MonthlyOverview(benchmark::State &state)
{
    auto report = generated(state, quint8(state.range(0)));
    if (!report)
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(TMonthlyOverview(*report).hasMonths());
}

// Every group's lines, as the JSON output asks for them.
void BM_MonthlyLinesOfAllGroups(benchmark::State &state)
{
    auto report = generated(state, quint8(state.range(0)));
    if (!report)
        return;
    const TMemTable &skupiny = report->Skupiny();
    for (auto _ : state) {
        size_t lines = 0;
        for (int row = 0; row < skupiny.recordCount(); ++row)
            lines += report->MonthlyOverview()->lines(skupiny.valueAt(row, 0).toInt()).size();
        benchmark::DoNotOptimize(lines);
    }
}

class NoServices : public IReportViewServices {
public:
    std::unique_ptr<IFinalSummaryPanel> createFinalSummary(TPenDenReport &) override { return nullptr; }
    void showGroupTables(TPenDenReport &, QWidget *) override {}
    void exportReport(TPenDenReport &, bool, QWidget *) override {}
    void printReport(TPenDenReport &, bool, bool, QWidget *, PrintOutput) override {}
};

// One group switch of the report view, painted, with the monthly overview
// hidden (0) and shown (1): the table and the chart refilled.
void BM_GroupSwitch(benchmark::State &state)
{
    auto report = generated(state, sgkFirmByAddress);
    if (!report)
        return;
    NoServices services;
    QWidget page;
    page.resize(1920, 1040);
    TfrmPenDenReport *view = ShowIn(*report, &page, services);
    page.show();
    view->ShowMonthlyOverview(state.range(0) != 0);
    QApplication::processEvents();
    TMemTable &skupiny = report->Skupiny();
    int group = 0;
    for (auto _ : state) {
        group = (group + 7) % skupiny.recordCount();
        skupiny.setRecNo(group);
        benchmark::DoNotOptimize(view->grab());
    }
    state.counters["groups"] = skupiny.recordCount();
}

} // namespace

BENCHMARK(BM_Generate)->Arg(sgkNone)->Arg(sgkFirmByAddress)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MonthlyOverview)->Arg(sgkNone)->Arg(sgkFirmByAddress)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_MonthlyLinesOfAllGroups)->Arg(sgkNone)->Arg(sgkFirmByAddress)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_GroupSwitch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(50);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
