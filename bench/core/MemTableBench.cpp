// Memory-table throughput: filling a journal-sized table, locating among
// 10,000 records and moving a master over a large detail table.

#include "ProcessMemory.h"

#include "core/DisplayFormat.h"
#include "core/MemTable.h"

#include <benchmark/benchmark.h>

#include <QFile>

#include <algorithm>
#include <memory>

using namespace kasovka;
using kasovka::bench::statusMegabytes;

namespace {


struct JournalFields {
    int id, parent, poradi, datum, doklad, popis, col5, col11, col12, col16;
};

JournalFields defineJournal(TMemTable &t)
{
    JournalFields f{};
    f.id = t.addField(QStringLiteral("ID"), FieldType::AutoInc, 0, true);
    f.parent = t.addField(QStringLiteral("Parent_ID"), FieldType::Integer);
    f.poradi = t.addField(QStringLiteral("Poradi"), FieldType::Integer);
    f.datum = t.addField(QStringLiteral("Datum"), FieldType::DateTime);
    f.doklad = t.addField(QStringLiteral("Doklad_VS"), FieldType::Text, 30);
    f.popis = t.addField(QStringLiteral("Popis"), FieldType::Text, 50);
    for (int col = 5; col <= 35; ++col)
        t.addField(QStringLiteral("Col%1").arg(col), FieldType::Currency);
    t.addIndex(QStringLiteral("ID"), {QStringLiteral("ID")});
    t.createTable();
    FormatCurrencyFields(t, 2, QString());
    f.col5 = t.fieldIndex(QStringLiteral("Col5"));
    f.col11 = t.fieldIndex(QStringLiteral("Col11"));
    f.col12 = t.fieldIndex(QStringLiteral("Col12"));
    f.col16 = t.fieldIndex(QStringLiteral("Col16"));
    return f;
}

// Document numbers are made up front so that the loops time the table, not
// text formatting; 16384 of them keep them unique among 10,000 rows.
const std::vector<QString> &documentNumbers()
{
    static const std::vector<QString> numbers = [] {
        std::vector<QString> list;
        for (int i = 0; i < 16384; ++i)
            list.push_back(QStringLiteral("PD%1/2026").arg(i));
        return list;
    }();
    return numbers;
}

void fillJournal(TMemTable &t, const JournalFields &f, int rows, int groups)
{
    const QString popis[] = {QStringLiteral("Úhrada faktury dodavatele"), QStringLiteral("Tržba za zboží"),
                             QStringLiteral("Nájemné kanceláře"), QStringLiteral("Výběr hotovosti z účtu")};
    const std::vector<QString> &doklad = documentNumbers();
    for (int i = 0; i < rows; ++i) {
        t.append();
        t.setInteger(f.parent, 1 + i % groups);
        t.setInteger(f.poradi, i + 1);
        t.setDate(f.datum, 46023.0 + i % 365);
        t.setText(f.doklad, doklad[size_t(i) & 16383]);
        t.setText(f.popis, popis[i & 3]);
        const Currency amount = Currency::fromRaw(1000000 + (i % 997) * 125);
        t.setCurrency(f.col5, amount);
        t.setCurrency(f.col11, amount);
        t.setCurrency(f.col12, -amount);
        t.setCurrency(f.col16, amount);
        t.post();
    }
}

void BM_AppendJournalRows(benchmark::State &state)
{
    const int rows = int(state.range(0));
    double tableMegabytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double before = statusMegabytes("VmRSS:");
        auto table = std::make_unique<TMemTable>(QStringLiteral("Denik"));
        const JournalFields f = defineJournal(*table);
        state.ResumeTiming();
        fillJournal(*table, f, rows, 1000);
        state.PauseTiming();
        tableMegabytes = std::max(tableMegabytes, statusMegabytes("VmRSS:") - before);
        table.reset();
        state.ResumeTiming();
    }
    state.counters["table_MB"] = tableMegabytes;
    state.counters["peak_RSS_MB"] = statusMegabytes("VmHWM:");
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_AppendJournalRows)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LocateAmong10000(benchmark::State &state)
{
    TMemTable table(QStringLiteral("Skupiny"));
    const JournalFields f = defineJournal(table);
    fillJournal(table, f, 10'000, 10'000);
    const bool byText = state.range(0) != 0;
    const QStringList fields{byText ? QStringLiteral("Doklad_VS") : QStringLiteral("Parent_ID")};
    std::vector<QList<Variant>> keys;
    for (int i = 0; i < 1024; ++i) {
        const int row = (i * 7919) % 10'000;
        keys.push_back({byText ? Variant(QStringLiteral("pd%1/2026").arg(row)) : Variant(1 + row)});
    }
    table.locate(fields, keys[0], byText); // builds the index once
    size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.locate(fields, keys[k], byText));
        k = (k + 1) & 1023;
    }
    state.SetLabel(byText ? "text key, ignoring case" : "integer key");
}
BENCHMARK(BM_LocateAmong10000)->Arg(0)->Arg(1)->Unit(benchmark::kNanosecond);

void BM_MasterMove(benchmark::State &state)
{
    const int masters = int(state.range(0));
    const int perMaster = int(state.range(1));
    TMemTable master(QStringLiteral("Skupiny"));
    master.addField(QStringLiteral("ID"), FieldType::AutoInc);
    master.createTable();
    for (int i = 0; i < masters; ++i) {
        master.append();
        master.post();
    }
    TMemTable detail(QStringLiteral("Denik"));
    const JournalFields f = defineJournal(detail);
    fillJournal(detail, f, masters * perMaster, masters);
    detail.setMasterSource(&master, {QStringLiteral("ID")}, {QStringLiteral("Parent_ID")});
    master.first();
    for (auto _ : state) {
        master.next();
        if (master.eof())
            master.first();
        benchmark::DoNotOptimize(detail.recordCount());
    }
    if (detail.recordCount() != perMaster)
        state.SkipWithError("the detail does not show its master's rows");
    state.counters["detail_rows"] = double(masters) * perMaster;
}
BENCHMARK(BM_MasterMove)
    ->Args({10'000, 100})
    ->Args({1'000, 100})
    ->Args({10'000, 10})
    ->Args({100, 1000})
    ->Unit(benchmark::kNanosecond);

} // namespace

BENCHMARK_MAIN();
