#pragma once
// The report workspace: the reports built in this run side by side, one page
// each, with a row of selector buttons that switches between them. The
// container owns the reports until it is released; its window exists while
// Run shows it.
//
//     TReportContainer container(app);
//     container.Run();   // modal until "Konec"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace kasovka {

class IExportWindows;
class IReportFilterEditor;
class TBaseApplication;
class TPenDenReport;
class TfrmPenDenReport;
class TfrmReportContainer;
class WorkspaceServices;

class TReportContainer {
public:
    // The filter dialog of a new report, shown over the workspace window.
    using FilterEditorFactory = std::function<std::unique_ptr<IReportFilterEditor>(QWidget *parent)>;
    // Shows a new report's warnings and returns when the user closed them.
    using WarningPresenter = std::function<void(const QString &headline, const QString &text, QWidget *parent)>;

    explicit TReportContainer(TBaseApplication &app);
    ~TReportContainer();
    TReportContainer(const TReportContainer &) = delete;
    TReportContainer &operator=(const TReportContainer &) = delete;

    // Creates the window, shows it modally (starting a new report at once)
    // and releases it when the user leaves with "Konec". Always true.
    bool Run();
    // Creates and shows the window without waiting (Run without the modal
    // loop); returns the existing window when there is one.
    TfrmReportContainer *OpenWindow();
    void CloseWindow();
    TfrmReportContainer *Window() const { return m_window.get(); }

    // "Přidat": filter dialog, generation, naming, warnings, a new page.
    void NewReport();
    // Takes over a generated report and shows it in a new page. Always true.
    bool AddReport(std::unique_ptr<TPenDenReport> report);
    void SelectReport(int index);
    // "Zavřít sestavu": the report and its view are freed and the next one
    // (else the one before) is shown. Ignored while a report is being built
    // or a job (printing, export) runs.
    void CloseReport(int index);
    // The next (step 1) or previous (-1) report, round the strip.
    void SelectNeighbour(int step);
    // The report shown, or nullptr while there is none.
    TPenDenReport *CurrentReport() const;
    int CurrentIndex() const { return m_currentIndex; }
    int ReportCount() const { return int(m_reports.size()); }
    TPenDenReport &Report(int index) const { return *m_reports.at(index).report; }
    TfrmPenDenReport *View(int index) const { return m_reports.at(index).view; }
    // Refits the group list of the report shown.
    void FitCurrentGroupGrid();

    // The name of the report added next, when it has none: "Sestava n".
    QString DefaultReportName() const;

    TBaseApplication &Application() const { return m_app; }
    void SetFilterEditorFactory(FilterEditorFactory factory) { m_filterEditors = std::move(factory); }
    void SetWarningPresenter(WarningPresenter presenter) { m_warnings = std::move(presenter); }
    void SetExportWindows(IExportWindows *windows);

private:
    struct Entry {
        std::unique_ptr<TPenDenReport> report;
        TfrmPenDenReport *view = nullptr;
    };
    std::unique_ptr<TPenDenReport> buildReport();
    void showInWindow(Entry &entry, int index);

    TBaseApplication &m_app;
    std::unique_ptr<WorkspaceServices> m_services;
    std::vector<Entry> m_reports;
    std::unique_ptr<TfrmReportContainer> m_window;
    int m_currentIndex = -1;
    bool m_building = false;
    FilterEditorFactory m_filterEditors;
    WarningPresenter m_warnings;
};

} // namespace kasovka
