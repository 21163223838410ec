// A report printed into a PDF file: 10,000 and 65,536 journal rows, beside
// a reference that only reads and formats every printed cell. Counters:
// pages, the resident memory of the report before printing and the growth
// of the peak resident memory while printing (which must not grow with the
// pages: they are painted one after the other).

#include "ProcessMemory.h"
#include "core/OutputFile.h"
#include "print/PdfOutput.h"
#include "print/ReportPrint.h"
#include "print/SyntheticReport.h"

#include "core/MemTable.h"

#include <QGuiApplication>
#include <QLocale>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace kasovka;

namespace {

test::SyntheticReport &reportOf(int rows)
{
    static std::map<int, std::unique_ptr<test::SyntheticReport>> reports;
    auto &report = reports[rows];
    if (!report) {
        report = std::make_unique<test::SyntheticReport>();
        // Ten groups, as a year split by centres.
        for (int group = 0; group < 10; ++group)
            report->addGroup(QStringLiteral("S%1").arg(group), QStringLiteral("Středisko %1").arg(group),
                             rows / 10 - 1 + (group == 0 ? rows % 10 : 0));
    }
    return *report;
}

void BM_ReportToPdf(benchmark::State &state)
{
    test::SyntheticReport &synthetic = reportOf(int(state.range(0)));
    QTemporaryDir dir;
    const QString target = dir.path() + QStringLiteral("/denik.pdf");
    int pages = 0;
    const double before = bench::statusMegabytes("VmRSS:");
    bench::resetPeakMemory();
    for (auto _ : state) {
        print::ReportPrintJob job(synthetic.report(), {});
        pages = job.layout(print::PrintJob::defaultPageLayout());
        if (!print::writePdf(synthetic.app(), job, target, {.replace = true}))
            state.SkipWithError("cancelled");
    }
    state.counters["rows"] = double(synthetic.report().Denik().totalRecordCount());
    state.counters["pages"] = pages;
    state.counters["report_MB"] = before;
    state.counters["peak_growth_MB"] = bench::statusMegabytes("VmHWM:") - before;
    state.counters["pdf_MB"] = double(QFile(target).size()) / 1e6;
}

// Reads and formats every cell the journal prints, and nothing else.
void BM_FormatCellsReference(benchmark::State &state)
{
    test::SyntheticReport &synthetic = reportOf(int(state.range(0)));
    const TMemTable &denik = synthetic.report().Denik();
    const QLocale locale = QLocale::system();
    QList<int> fields;
    for (const char *name : {"Poradi", "Datum", "Doklad_VS", "Popis"})
        fields.append(denik.fieldIndex(QString::fromLatin1(name)));
    for (int column = 5; column <= 35; ++column)
        fields.append(denik.fieldIndex(QStringLiteral("Col%1").arg(column)));
    for (auto _ : state) {
        qsizetype chars = 0;
        for (int record = 0; record < denik.totalRecordCount(); ++record) {
            for (int field : fields)
                chars += denik.recordDisplayText(record, field, locale).size();
        }
        benchmark::DoNotOptimize(chars);
    }
}

} // namespace

BENCHMARK(BM_ReportToPdf)->Arg(10000)->Arg(65536)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_FormatCellsReference)->Arg(10000)->Arg(65536)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
