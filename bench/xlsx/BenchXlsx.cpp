// The report export to .xlsx beside the export of the same report to .xls
// and beside generating the report alone, each as a kasovka-report run over
// a demo agenda: a detailed report that fills a whole Excel 97-2003 sheet,
// and one of a million journal records that only the .xlsx format holds.
// Reported per run: CPU time (user + system) and peak memory of the
// process, and the export phase's wall time from --timings. Beside them,
// libxlsxwriter alone writing a sheet of the same shape, in this process.
//
//     bench_xlsx [--benchmark_filter=Million]
//     KASOVKA_BENCH_TOOLS=build/bin (default: the build's own)

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <xlsxwriter.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdlib>
#include <vector>

extern char **environ;

namespace {

// Detailed rows of the demo journal that, with the rows of the template
// with the final overview, fill the 65,536 rows of an .xls sheet.
constexpr int FullSheetRecords = 65400;
constexpr int MillionRecords = 1000000;

QString tool(const char *name)
{
    const char *folder = std::getenv("KASOVKA_BENCH_TOOLS");
    return QString::fromLocal8Bit(folder ? folder : KASOVKA_BINARY_DIR "/bin") + QLatin1Char('/')
        + QLatin1String(name);
}

// A demo agenda with the given journal, made once and kept in the
// temporary folder; its launch parameters.
QStringList demo(int records)
{
    const QString root = QDir::tempPath() + QStringLiteral("/kasovka-bench-xlsx-%1").arg(records);
    const QString parameters = root + QStringLiteral("/parametry.txt");
    if (!QFile::exists(parameters)) {
        QDir(root).removeRecursively();
        QProcess make;
        make.start(tool("kasovka-hostdata"), {QStringLiteral("demo"), root + QStringLiteral("/data"),
                                              QStringLiteral("--journal"), QString::number(records)});
        make.waitForFinished(-1);
        QFile out(parameters);
        out.open(QIODevice::WriteOnly);
        out.write(make.readAllStandardOutput());
    }
    QFile in(parameters);
    in.open(QIODevice::ReadOnly);
    return QString::fromUtf8(in.readAll()).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

struct Run {
    bool ok = false;
    double cpuSeconds = 0, wallSeconds = 0, peakMB = 0, exportMs = 0;
    QString error;
};

// One kasovka-report run, measured by its own resource usage: spawned and
// reaped here, so that wait4 reports that process alone.
Run report(const QStringList &launch, const QStringList &options, const QString &errorFile)
{
    QList<QByteArray> args{QFile::encodeName(tool("kasovka-report"))};
    for (const QString &a : launch + QStringList{QStringLiteral("--set"), QStringLiteral("ZpusobSumace=1"),
                                                 QStringLiteral("--timings")} + options)
        args.append(a.toUtf8());
    std::vector<char *> argv;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray errorPath = QFile::encodeName(errorFile);
    posix_spawn_file_actions_addopen(&actions, 2, errorPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    Run run;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        run.error = QStringLiteral("kasovka-report cannot be started");
        return run;
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.wallSeconds = double(timer.nsecsElapsed()) / 1e9;
    run.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.peakMB = double(usage.ru_maxrss) / 1024.0;
    QFile errors(errorFile);
    errors.open(QIODevice::ReadOnly);
    run.error = QString::fromUtf8(errors.readAll());
    const auto phase = QRegularExpression(QStringLiteral("output \\((?:xls|xlsx)\\): ([0-9.]+) ms")).match(run.error);
    run.exportMs = phase.hasMatch() ? phase.captured(1).toDouble() : 0;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

void measure(benchmark::State &state, int records, const QString &option, const QString &suffix)
{
    const QStringList launch = demo(records);
    QTemporaryDir dir;
    Run last;
    for (auto _ : state) {
        QStringList options;
        if (!option.isEmpty())
            options << option << dir.filePath(QStringLiteral("denik") + suffix) << QStringLiteral("--overwrite")
                    << QStringLiteral("--templates") << QStringLiteral(KASOVKA_SOURCE_DIR "/resources/SetupDat/PrintFrm");
        last = report(launch, options, dir.filePath(QStringLiteral("stderr.txt")));
        if (!last.ok) {
            state.SkipWithError(last.error.toStdString().c_str());
            break;
        }
        state.SetIterationTime(last.cpuSeconds);
    }
    state.counters["cpu_s"] = last.cpuSeconds;
    state.counters["wall_s"] = last.wallSeconds;
    state.counters["peak_MB"] = last.peakMB;
    state.counters["export_wall_ms"] = last.exportMs;
}

void BM_FullSheetReportOnly(benchmark::State &state)
{
    measure(state, FullSheetRecords, QString(), QString());
}
void BM_FullSheetToXls(benchmark::State &state)
{
    measure(state, FullSheetRecords, QStringLiteral("--xls"), QStringLiteral(".xls"));
}
void BM_FullSheetToXlsx(benchmark::State &state)
{
    measure(state, FullSheetRecords, QStringLiteral("--xlsx"), QStringLiteral(".xlsx"));
}
void BM_MillionReportOnly(benchmark::State &state)
{
    measure(state, MillionRecords, QString(), QString());
}
void BM_MillionToXlsx(benchmark::State &state)
{
    measure(state, MillionRecords, QStringLiteral("--xlsx"), QStringLiteral(".xlsx"));
}

// The floor under the .xlsx export: libxlsxwriter alone writing a sheet of
// the same shape, 35 formatted cells a row (row number, date, two texts,
// three amounts, 28 empty amount cells that keep their borders), in
// constant-memory mode.
void BM_LibraryAloneFullSheet(benchmark::State &state)
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("floor.xlsx")));
    for (auto _ : state) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        lxw_workbook *workbook = workbook_new_opt(path.constData(), &options);
        lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);
        lxw_format *text = workbook_add_format(workbook);
        format_set_border(text, LXW_BORDER_HAIR);
        lxw_format *amount = workbook_add_format(workbook);
        format_set_border(amount, LXW_BORDER_HAIR);
        format_set_num_format(amount, "#,##0.00");
        for (lxw_row_t r = 0; r < lxw_row_t(FullSheetRecords); ++r) {
            worksheet_write_number(sheet, r, 0, r, text);
            worksheet_write_number(sheet, r, 1, 45300 + r % 366, text);
            worksheet_write_string(sheet, r, 2, "FV00123/2024", text);
            worksheet_write_string(sheet, r, 3, "Úhrada faktury od odběratele", text);
            for (lxw_col_t c = 4; c < 35; ++c) {
                if (c == 4 || c == 10 || c == 14)
                    worksheet_write_number(sheet, r, c, 1234.56 + r, amount);
                else
                    worksheet_write_blank(sheet, r, c, amount);
            }
        }
        if (workbook_close(workbook) != LXW_NO_ERROR)
            state.SkipWithError("libxlsxwriter failed");
    }
}
BENCHMARK(BM_LibraryAloneFullSheet)->Unit(benchmark::kMillisecond)->Iterations(3);

// Iteration time is the process's CPU time.
BENCHMARK(BM_FullSheetReportOnly)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_FullSheetToXls)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_FullSheetToXlsx)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_MillionReportOnly)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_MillionToXlsx)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

} // namespace

BENCHMARK_MAIN();
