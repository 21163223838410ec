// One settings write: the lock file beside the settings file, rereading the
// file and replacing it, against the lock file alone in the same run.

#include "core/IniFile.h"

#include <benchmark/benchmark.h>

#include <QLockFile>
#include <QTemporaryDir>

using namespace kasovka;

namespace {

void BM_IniWrite(benchmark::State &state)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("Default.ini")));
    for (int i = 0; i < 20; ++i)
        ini.WriteInteger(QStringLiteral("Sekce%1").arg(i), QStringLiteral("Klic"), i);
    int value = 0;
    for (auto _ : state)
        ini.WriteInteger(QStringLiteral("PenDenReport"), QStringLiteral("Pocet"), ++value);
}

void BM_LockFileOnly(benchmark::State &state)
{
    QTemporaryDir dir;
    for (auto _ : state) {
        QLockFile lock(dir.filePath(QStringLiteral("Default.ini.lock")));
        benchmark::DoNotOptimize(lock.tryLock(1000));
    }
}

} // namespace

BENCHMARK(BM_IniWrite)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_LockFileOnly)->Unit(benchmark::kMicrosecond)->UseRealTime();

BENCHMARK_MAIN();
