// Speed of the workbook layer on the two loads the export puts on it: a
// band of 35 cells copied 65,535 times and filled, and opening and saving
// an unchanged workbook of about 5 MB.

#include "workbook/Workbook.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace kasovka;

namespace {

const QString kTemplate = QStringLiteral(KASOVKA_SOURCE_DIR "/tests/workbook/data/template.xls");
constexpr int kColumns = 35;

// A workbook whose active sheet holds one row of kColumns cells.
void openOneRowBook(TXLSFile &book)
{
    book.open(kTemplate);
    book.deleteRows(1, 65536);
    for (int c = 1; c <= kColumns; ++c)
        book.setCell(1, c, c == 1 ? QVariant(QStringLiteral("Doklad")) : QVariant(double(c)), 15);
}

void BM_InsertCopyFillSave(benchmark::State &state)
{
    QTemporaryDir dir;
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TXLSFile book;
        openOneRowBook(book);
        const QString out = dir.filePath(QStringLiteral("band%1.xls").arg(run++));
        state.ResumeTiming();

        book.insertAndCopyRows(1, 1, 1, 65535, false);
        for (int r = 1; r <= 65535; ++r)
            for (int c = 1; c <= kColumns; ++c)
                book.setCell(r, c, c == 1 ? QVariant(QStringLiteral("Doklad %1").arg(r % 1000))
                                          : QVariant(r * 0.25 + c),
                             -1);
        book.save(out);

        state.PauseTiming();
        QFile::remove(out);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_InsertCopyFillSave)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_InsertCopyOnly(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        TXLSFile book;
        openOneRowBook(book);
        state.ResumeTiming();
        book.insertAndCopyRows(1, 1, 1, 65535, false);
        benchmark::DoNotOptimize(book.lastRow());
    }
}
BENCHMARK(BM_InsertCopyOnly)->Unit(benchmark::kMillisecond)->Iterations(5);

// Writes a workbook of about 5 MB: numbers that need all 64 bits and texts.
QString makeLargeBook(const QTemporaryDir &dir)
{
    TXLSFile book;
    openOneRowBook(book);
    for (int r = 1; r <= 30000; ++r)
        for (int c = 1; c <= 10; ++c)
            book.setCell(r, c, c == 10 ? QVariant(QStringLiteral("Text %1").arg(r))
                                       : QVariant(r + c / 3.0),
                         15);
    const QString path = dir.filePath(QStringLiteral("large.xls"));
    book.save(path);
    return path;
}

void BM_OpenSaveUnchanged5MB(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString input = makeLargeBook(dir);
    state.counters["bytes"] = double(QFile(input).size());
    int run = 0;
    for (auto _ : state) {
        const QString out = dir.filePath(QStringLiteral("copy%1.xls").arg(run++));
        TXLSFile book;
        book.open(input);
        book.save(out);
        state.PauseTiming();
        QFile::remove(out);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenSaveUnchanged5MB)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

BENCHMARK_MAIN();
