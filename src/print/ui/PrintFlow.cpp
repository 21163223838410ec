#include "print/ui/PrintFlow.h"

#include "app/OutputTarget.h"
#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "core/FileNames.h"
#include "core/IniFile.h"
#include "core/MemTable.h"
#include "core/OutputFile.h"
#include "core/model/MemTableModel.h"
#include "print/PdfOutput.h"
#include "print/ReportPrint.h"
#include "report/TPenDenReport.h"
#include "ui/SaveFileDialog.h"

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>

namespace kasovka {

namespace {

// The hourglass while a job is built and laid out.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

// A file name from the report's name, safe on every platform.
QString proposedName(const TPenDenReport &report, const QString &fallback, const QString &suffix = QString())
{
    const QString name = TBaseApplication::SanitizeFileName(report.ReportName().trimmed());
    return (name.isEmpty() ? fallback : name + suffix) + QStringLiteral(".pdf");
}

print::PrintColumn gridColumn(const MemTableColumn &column)
{
    print::PrintColumn printed = print::columnFromTitle(column.title);
    const QColor shade = column.background.value<QColor>();
    if (shade.isValid())
        printed.shade = shade.lightness() < 160 ? print::Shade::Dark : print::Shade::Light;
    return printed;
}

// Runs one print with the settings read before and written after it.
void runSession(TBaseApplication &app, print::PrintSettings &settings, std::unique_ptr<print::PrintJob> job,
                QString print::PrintSettings::*pdfFile, const QString &fallbackName, PrintOutput output,
                IPrintWindows &windows)
{
    PrintSession session(app, std::move(job), settings, pdfFile, windows);
    if ((settings.*pdfFile).isEmpty())
        settings.*pdfFile = QDir::homePath() + QLatin1Char('/') + fallbackName;
    if (output == PrintOutput::PdfFile)
        session.saveAsPdf();
    else
        windows.showPreview(session);
}

void writeSettings(TBaseApplication &app, TIniFile &ini, const print::PrintSettings &settings)
{
    try {
        settings.write(ini);
    } catch (const Error &error) {
        app.ShowMessageDialog(error.text(), MessageKind::Error);
    }
}

} // namespace

PrintSession::PrintSession(TBaseApplication &app, std::unique_ptr<print::PrintJob> job,
                           print::PrintSettings &settings, QString print::PrintSettings::*pdfFile,
                           IPrintWindows &windows)
    : m_app(app), m_job(std::move(job)), m_settings(settings), m_pdfFile(pdfFile), m_windows(windows)
{
}

PrintSession::~PrintSession() = default;

void PrintSession::setPageLayout(const QPageLayout &layout)
{
    const BusyCursor busy;
    m_job->layout(layout);
    m_settings.pageLayout = layout;
}

TSaveFileRequest PrintSession::pdfRequest(const QString &proposed)
{
    const QString folder = folderPart(proposed);
    return {QStringLiteral("Uložit jako PDF"), QStringLiteral("Dokument PDF (*.pdf)|*.pdf"), 0, {QStringLiteral("pdf")},
            folder, proposed.mid(folder.size())};
}

bool PrintSession::saveAsPdf()
{
    QString path = m_windows.choosePdfFile(pdfRequest(m_settings.*m_pdfFile));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    m_settings.*m_pdfFile = path;
    OutputPolicy policy = print::pdfPolicy(m_app);
    if (!ConfirmOutputTarget(m_app, path, policy))
        return false;
    return print::savePdf(m_app, *m_job, path, policy);
}

bool PrintSession::print(QPrinter &printer, int from, int to)
{
    if (printer.pageLayout() != m_job->pageLayout())
        setPageLayout(printer.pageLayout());
    const int first = from > 0 ? std::min(from, m_job->pageCount()) : 1;
    const int last = to > 0 ? std::min(to, m_job->pageCount()) : m_job->pageCount();
    bool complete = false;
    try {
        print::PrintProgress progress(m_app, QStringLiteral("Tisknu sestavu, prosím čekejte"));
        complete = m_job->paint(printer, [&progress](int done, int total) { return progress.step(done, total); },
                                first - 1, last - 1);
        if (!complete)
            printer.abort();
    } catch (const Error &error) {
        m_app.ShowMessageDialog(error.text(), MessageKind::Error);
        return false;
    }
    if (!complete) {
        m_app.ShowMessageDialog(QStringLiteral("Tisk byl přerušen."), MessageKind::Information);
        return false;
    }
    if (printer.printerState() == QPrinter::Error) {
        m_app.ShowMessageDialog(QStringLiteral("Tisk se nezdařil: tiskárna %1 sestavu nepřijala.")
                                    .arg(printer.printerName()),
                                MessageKind::Error);
        return false;
    }
    return true;
}

void PrintReport(TBaseApplication &app, TPenDenReport &report, bool finalSummaryVisible, bool monthlyOverviewVisible,
                 PrintOutput output, IPrintWindows &windows)
{
    TIniFile ini(app.SettingsFileName());
    print::PrintSettings settings = print::PrintSettings::read(ini);
    const ReportResult &result = report.Result();
    print::ReportPrintOptions options;
    options.finalOverview = finalSummaryVisible;
    options.monthlyOverview = monthlyOverviewVisible;
    if (result.groupCount() >= 2) {
        bool allGroups = settings.allGroups;
        const int current = result.currentGroup();
        const QString name = current >= 0 ? result.groupName(current) : QString();
        if (!windows.askScope(allGroups, name))
            return;
        settings.allGroups = allGroups;
        options.onlyGroup = allGroups ? -1 : current;
    }
    std::unique_ptr<print::PrintJob> job;
    {
        const BusyCursor busy;
        job = std::make_unique<print::ReportPrintJob>(report, options);
        job->layout(settings.pageLayout);
    }
    runSession(app, settings, std::move(job), &print::PrintSettings::reportPdf,
               proposedName(report, QStringLiteral("Penezni_denik")), output, windows);
    writeSettings(app, ini, settings);
}

void PrintGroupTable(TBaseApplication &app, TPenDenReport &report, const QList<MemTableColumn> &columns,
                     PrintOutput output, IPrintWindows &windows)
{
    TIniFile ini(app.SettingsFileName());
    print::PrintSettings settings = print::PrintSettings::read(ini);
    QList<print::PrintColumn> printed;
    QStringList fields;
    for (const MemTableColumn &column : columns) {
        printed.append(gridColumn(column));
        fields.append(column.field);
    }
    std::unique_ptr<print::PrintJob> job;
    {
        const BusyCursor busy;
        job = std::make_unique<print::GroupTablePrintJob>(report, printed, fields);
        job->layout(settings.pageLayout);
    }
    runSession(app, settings, std::move(job), &print::PrintSettings::groupTablePdf,
               proposedName(report, QStringLiteral("Sumacni_skupiny"), QStringLiteral(" - skupiny")), output, windows);
    writeSettings(app, ini, settings);
}

} // namespace kasovka
