// The report export of a report that fills a whole sheet: from the copy of
// the report's tables to the finished workbook on disk, with the template
// that carries the final overview; beside it, a Python writer producing a
// sheet of the same size (xlwt_compare.py).

#include "app/ConsoleUiServices.h"
#include "app/TBaseApplication.h"
#include "core/MemTable.h"
#include "export/ExcelExporter.h"
#include "export/ExcelExporterForm.h"
#include "export/ReportExport.h"
#include "report/ReportTables.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

using namespace kasovka;

namespace {

// 65,490 journal rows and the template's 46 other rows fill all 65,536 rows.
constexpr int JournalRows = 65490;

void fillReport(TMemTable &skupiny, TMemTable &denik)
{
    skupiny.append();
    skupiny.setText(SkupinyField::Zkratka, QStringLiteral("S01"));
    skupiny.setText(SkupinyField::Nazev, QStringLiteral("Středisko"));
    skupiny.post();
    Currency sum;
    for (int row = 0; row < JournalRows; ++row) {
        denik.append();
        denik.setInteger(DenikField::Parent_ID, 1);
        denik.setInteger(DenikField::Poradi, row);
        denik.setDate(DenikField::Datum, 46023 + row % 365);
        denik.setText(DenikField::Doklad_VS, QStringLiteral("FV%1/%2").arg(row).arg(7000 + row));
        denik.setText(DenikField::Popis, QStringLiteral("Úhrada faktury %1").arg(row));
        const Currency amount = Currency::fromRaw(1000000 + row * 137);
        denik.setCurrency(DenikField::Col5, amount);
        denik.setCurrency(DenikField::Col5 + 6, amount);
        denik.setCurrency(DenikField::Col5 + 9, amount);
        denik.post();
        sum += amount;
    }
    skupiny.first();
    skupiny.edit();
    skupiny.setCurrency(SkupinyField::Col5, sum);
    skupiny.post();
    denik.setMasterSource(&skupiny, {QStringLiteral("ID")}, {QStringLiteral("Parent_ID")});
}

void BM_ExportFullSheet(benchmark::State &state)
{
    ConsoleUiServices ui;
    TBaseApplication app(ui, {});
    TMemTable skupiny(QStringLiteral("Skupiny"));
    TMemTable denik(QStringLiteral("Denik"));
    createReportTable(skupiny, ReportLayout::Groups, app);
    createReportTable(denik, ReportLayout::JournalRows, app);
    fillReport(skupiny, denik);

    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("denik.xls"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(target);
        state.ResumeTiming();
        TExcelExporter exporter(app, &skupiny, &denik, nullptr);
        exporter.SetTemplateFolder(QStringLiteral(KASOVKA_SOURCE_DIR "/resources/SetupDat/PrintFrm/"));
        exporter.SetTemplateName(reportTemplateName(true));
        TExcelExporterForm form(exporter);
        if (!form.OnOk(target, false))
            state.SkipWithError("export failed");
    }
    denik.clearMasterSource();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024.0;
    // What the export adds above the report's own tables.
    state.counters["export_MB"] = double(usage.ru_maxrss - before.ru_maxrss) / 1024.0;
    state.counters["file_MB"] = double(QFile(target).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ExportFullSheet)->Unit(benchmark::kMillisecond)->Iterations(5);

double cpuSeconds(const rusage &u)
{
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// For comparison: a general-purpose Python writer producing a sheet of the
// same size (65,536 rows of 35 cells) from scratch, timed as a whole process
// run, interpreter start included. Its own measure of the work alone is
// reported as script_ms, the CPU time of the process as cpu_ms.
void BM_PythonWriterFullSheet(benchmark::State &state)
{
    const QString python = QStringLiteral("/usr/bin/python3");
    const QString script = QStringLiteral(KASOVKA_SOURCE_DIR "/bench/export/xlwt_compare.py");
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("xlwt.xls"));
    double scriptSeconds = 0;
    rusage before{};
    getrusage(RUSAGE_CHILDREN, &before);
    for (auto _ : state) {
        QFile::remove(target);
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(python, {script, target, QStringLiteral("65536")});
        const bool finished = process.waitForFinished(-1);
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        const QString output = QString::fromUtf8(process.readAllStandardOutput());
        if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            state.SkipWithError(("python writer failed: " + process.readAllStandardError().toStdString()).c_str());
            break;
        }
        // "seconds=<elapsed> file_bytes=<size>"
        const QString seconds = output.section(QLatin1Char(' '), 0, 0).section(QLatin1Char('='), 1);
        scriptSeconds = seconds.toDouble();
    }
    rusage after{};
    getrusage(RUSAGE_CHILDREN, &after);
    state.counters["script_ms"] = scriptSeconds * 1000.0;
    // CPU time of the writer's processes, to set beside the export's CPU column.
    state.counters["cpu_ms"] = (cpuSeconds(after) - cpuSeconds(before)) * 1000.0;
    state.counters["file_MB"] = double(QFile(target).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_PythonWriterFullSheet)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

} // namespace

BENCHMARK_MAIN();
