// Report generation on a large demo journal beside a bare sequential read
// of the same journal through TBFTable.
//
// The demo data root is built once per journal size and kept in the temporary
// folder (KASOVKA_BENCH_RECORDS sets the size, 1,000,000 by default).

#include "app/ConsoleUiServices.h"
#include "app/TBaseApplication.h"
#include "filter/TReportFilter.h"
#include "host/DemoAgenda.h"
#include "host/TBFTable.h"
#include "report/TPenDenReport.h"

#include <QDir>
#include <QFileInfo>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

using namespace kasovka;

namespace {

const DemoAgenda &demo()
{
    static const DemoAgenda agenda = [] {
        const char *env = std::getenv("KASOVKA_BENCH_RECORDS");
        const int records = env ? std::atoi(env) : 1000000;
        const QString root = QDir::tempPath() + QStringLiteral("/kasovka-bench-report-%1/").arg(records);
        DemoAgendaOptions options;
        options.journalRecords = records;
        options.year = 2024;
        DemoAgenda made;
        if (QFileInfo::exists(root + QStringLiteral("done"))) {
            made.dataRoot = root;
            made.agendaFolder = root + demoAgendaFolderName() + QLatin1Char('/');
            made.yearFolder = made.agendaFolder + demoYearFolderName(options.year) + QLatin1Char('/');
            made.hostVersion = QStringLiteral("11.060");
            made.configName = QStringLiteral("Bench");
            made.journalRecords = records;
            return made;
        }
        QDir(root).removeRecursively();
        made = createDemoAgenda(root, options);
        QFile done(root + QStringLiteral("done"));
        done.open(QIODevice::WriteOnly);
        return made;
    }();
    return agenda;
}

QStringList launchArguments()
{
    const DemoAgenda &d = demo();
    return {QStringLiteral("?MAIN=bench?MAIN"),
            QStringLiteral("?AKTROK=") + d.yearFolder + QStringLiteral("?AKTROK"),
            QStringLiteral("?MVERZE=11.060?MVERZE"), QStringLiteral("?AKTHESLO=?AKTHESLO"),
            QStringLiteral("?AKTCFGNAME=Bench?AKTCFGNAME")};
}

// The demo journal links a handful of firms; spread its records over a few
// thousand address numbers, so that grouping by address builds thousands of
// groups. Done once per data root.
void spreadAddressNumbers()
{
    const QString marker = demo().dataRoot + QStringLiteral("addresses");
    if (QFileInfo::exists(marker))
        return;
    sqlite3 *db = nullptr;
    const QByteArray path = (demo().yearFolder + QStringLiteral("UCPENDEN.DAT")).toUtf8();
    if (sqlite3_open(path.constData(), &db) == SQLITE_OK
        && sqlite3_exec(db, "UPDATE data SET AdCislo = 1 + (Cislo % 4000)", nullptr, nullptr, nullptr)
            == SQLITE_OK) {
        QFile done(marker);
        done.open(QIODevice::WriteOnly);
    }
    sqlite3_close(db);
}

// Every journal field the report reads, in index order, as the report does.
void BM_BareJournalRead(benchmark::State &state)
{
    const QString path = demo().yearFolder + QStringLiteral("UCPENDEN");
    for (auto _ : state) {
        TBFTable table;
        if (table.Open(path) != 0 || table.SetIndex(QStringLiteral("Datum+Zdroj+ZRadek")) != 0) {
            state.SkipWithError("journal cannot be opened");
            return;
        }
        QList<int> fields;
        for (const char *name : {"Del", "Free", "Datum", "Zdroj", "ZRadek", "Pohyb", "Castka", "Typ",
                                 "Doklad", "VarSym", "AdCislo"})
            fields.append(table.FieldIndex(QString::fromLatin1(name)));
        qint64 records = 0;
        table.BeginReadTransaction();
        if (table.RecordCount() > 0) {
            table.First();
            do {
                for (int field : fields)
                    benchmark::DoNotOptimize(table.Value(field));
                ++records;
            } while (table.Next() != TBFTable::EndOfTable);
        }
        table.EndReadTransaction();
        state.counters["records"] = double(records);
    }
}

void runReport(benchmark::State &state, quint8 kind, quint8 generation)
{
    ConsoleUiServices ui(MessageResult::No, stderr);
    ui.setShowsProgress(false);
    TBaseApplication app(ui, launchArguments());
    if (!app.LoadLaunchContext()) {
        state.SkipWithError("launch context");
        return;
    }
    for (auto _ : state) {
        auto filter = std::make_unique<TReportFilter>(app);
        filter->VertikalniDeleni = kind;
        filter->ZpusobSumace = generation;
        TPenDenReport report(app, std::move(filter));
        if (!report.Generate()) {
            state.SkipWithError("report not generated");
            return;
        }
        state.counters["groups"] = report.Skupiny().recordCount();
        state.counters["rows"] = report.RowCountAll();
    }
}

void BM_GenerateByDocumentNoGroups(benchmark::State &state)
{
    runReport(state, sgkNone, rgByDocument);
}

void BM_GenerateByDocumentFirmsByAddress(benchmark::State &state)
{
    spreadAddressNumbers();
    runReport(state, sgkFirmByAddress, rgByDocument);
}

void BM_GenerateDetailedNoGroups(benchmark::State &state)
{
    runReport(state, sgkNone, rgDetailed);
}

} // namespace

BENCHMARK(BM_BareJournalRead)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GenerateByDocumentNoGroups)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GenerateByDocumentFirmsByAddress)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GenerateDetailedNoGroups)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
