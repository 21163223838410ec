// The journal scan of a report through TBFTable against a bare SQLite scan of
// the same file in the same index order, and the time to build a demo data
// root with 1,000,000 journal records.
//
// The scanned data root is built once into the temporary folder and reused
// by later runs (KASOVKA_BENCH_DATA overrides the folder).

#include "core/Error.h"
#include "host/demo/DemoAgenda.h"
#include "host/TBFTable.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <array>
#include <cstdlib>

using namespace kasovka;

namespace {

constexpr int kRecords = 1'000'000;

// The journal fields a report reads, in the order it reads them.
constexpr std::array<const char *, 19> kFields = {
    "Del", "Free", "Stred", "Cinnost", "Zakazka", "Mena", "Datum", "Cislo", "ICO", "AdCislo",
    "Vyst", "Pohyb", "Castka", "Typ", "Zdroj", "ZRadek", "Doklad", "VarSym", "Popis"};

QString journalPath()
{
    static const QString path = [] {
        const QByteArray env = qgetenv("KASOVKA_BENCH_DATA");
        const QString root = env.isEmpty()
            ? QDir::tempPath() + QStringLiteral("/kasovka-bench-host-1m")
            : QString::fromLocal8Bit(env);
        const QString year = root + QStringLiteral("/AGENDA.DEMO/ROK.2024/");
        if (!QFileInfo::exists(year + QStringLiteral("UCPENDEN.DAT"))) {
            QDir(root).removeRecursively();
            DemoAgendaOptions options;
            options.journalRecords = kRecords;
            createDemoAgenda(root, options);
        }
        return year + QStringLiteral("UCPENDEN");
    }();
    return path;
}

void BM_BareSqliteScan(benchmark::State &state)
{
    const QByteArray file = (journalPath() + QStringLiteral(".DAT")).toUtf8();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QByteArray sql = "SELECT ";
    for (size_t i = 0; i < kFields.size(); ++i)
        sql += (i ? ", \"" : "\"") + QByteArray(kFields[i]) + '"';
    sql += " FROM data ORDER BY Datum, Zdroj, ZRadek";
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr);
    qint64 records = 0;
    for (auto _ : state) {
        qint64 checksum = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < int(kFields.size()); ++c) {
                switch (sqlite3_column_type(stmt, c)) {
                case SQLITE_INTEGER: checksum += sqlite3_column_int64(stmt, c); break;
                case SQLITE_FLOAT: checksum += qint64(sqlite3_column_double(stmt, c)); break;
                case SQLITE_TEXT:
                    checksum += sqlite3_column_text(stmt, c)[0] + sqlite3_column_bytes(stmt, c);
                    break;
                default: break;
                }
            }
            ++records;
        }
        sqlite3_reset(stmt);
        benchmark::DoNotOptimize(checksum);
    }
    state.counters["records"] = double(records) / double(state.iterations());
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}

void BM_TBFTableScan(benchmark::State &state)
{
    TBFTable table;
    if (table.Open(journalPath()) != 0 || table.SetIndex(QStringLiteral("Datum+Zdroj+ZRadek")) != 0) {
        state.SkipWithError("journal does not open");
        return;
    }
    std::array<int, kFields.size()> fields{};
    for (size_t i = 0; i < kFields.size(); ++i)
        fields[i] = table.FieldIndex(QString::fromLatin1(kFields[i]));
    qint64 records = 0;
    for (auto _ : state) {
        THostReadSession session;
        session.add(table);
        qint64 checksum = 0;
        if (table.RecordCount() > 0) {
            table.First();
            do {
                for (int field : fields) {
                    const Variant value = table.Value(field);
                    switch (value.kind()) {
                    case Variant::Kind::Text: checksum += value.toText().size(); break;
                    case Variant::Kind::Integer:
                    case Variant::Kind::Currency:
                    case Variant::Kind::Boolean:
                    case Variant::Kind::Date: checksum += value.isEmpty() ? 0 : 1; break;
                    default: break;
                    }
                }
                ++records;
            } while (table.Next() != TBFTable::EndOfTable);
        }
        benchmark::DoNotOptimize(checksum);
    }
    state.counters["records"] = double(records) / double(state.iterations());
}

void BM_DemoJournal1M(benchmark::State &state)
{
    for (auto _ : state) {
        QTemporaryDir dir;
        DemoAgendaOptions options;
        options.journalRecords = kRecords;
        createDemoAgenda(dir.path(), options);
    }
}

} // namespace

BENCHMARK(BM_BareSqliteScan)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_TBFTableScan)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_DemoJournal1M)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

BENCHMARK_MAIN();
