#pragma once
// Printing a report or its group table from the windows: the scope question
// (the current group or all groups, remembered), the preview, the printer
// and the PDF file, with the paper and the last file remembered in the
// settings file.
//
// The windows are behind IPrintWindows, as the export's are behind
// IExportWindows: the program shows its Qt windows, tests answer by script.

#include "print/PrintSettings.h"
#include "report/view/ReportViewServices.h"

#include <QList>
#include <QString>

#include <memory>

class QPrinter;

namespace kasovka {

class TBaseApplication;
class TPenDenReport;
struct MemTableColumn;
struct TSaveFileRequest;

namespace print {
class PrintJob;
}

class PrintSession;

class IPrintWindows {
public:
    virtual ~IPrintWindows() = default;
    // The scope window; true when confirmed, `allGroups` then holds the choice.
    virtual bool askScope(bool &allGroups, const QString &currentGroupName) = 0;
    // The save-file dialog; an empty text when cancelled.
    virtual QString choosePdfFile(const TSaveFileRequest &request) = 0;
    // The preview, modally, until the user closes it.
    virtual void showPreview(PrintSession &session) = 0;
};

// One print: the laid-out job, the remembered settings and the windows.
class PrintSession {
public:
    PrintSession(TBaseApplication &app, std::unique_ptr<print::PrintJob> job, print::PrintSettings &settings,
                 QString print::PrintSettings::*pdfFile, IPrintWindows &windows);
    ~PrintSession();

    print::PrintJob &job() const { return *m_job; }
    TBaseApplication &application() const { return m_app; }

    // Lays the job out anew for other paper, orientation or margins and
    // remembers them.
    void setPageLayout(const QPageLayout &layout);
    // "Uložit jako PDF…": the save-file dialog, the overwrite question and
    // the file. True when a file was written.
    bool saveAsPdf();
    // Prints pages `from`..`to` (1-based, 0 for all) on a printer that is set
    // up; the job is laid out for the printer's page first. True when
    // printed; otherwise the user has been told why.
    bool print(QPrinter &printer, int from = 0, int to = 0);

    // The save-file dialog's request for a proposed path.
    static TSaveFileRequest pdfRequest(const QString &proposed);

private:
    TBaseApplication &m_app;
    std::unique_ptr<print::PrintJob> m_job;
    print::PrintSettings &m_settings;
    QString print::PrintSettings::*m_pdfFile;
    IPrintWindows &m_windows;
};

// The report printed as the view shows it: with the final overviews and the
// monthly tables when their panels are shown.
void PrintReport(TBaseApplication &app, TPenDenReport &report, bool finalSummaryVisible, bool monthlyOverviewVisible,
                 PrintOutput output, IPrintWindows &windows);
// The group table printed with the grid's columns.
void PrintGroupTable(TBaseApplication &app, TPenDenReport &report, const QList<MemTableColumn> &columns,
                     PrintOutput output, IPrintWindows &windows);

} // namespace kasovka
