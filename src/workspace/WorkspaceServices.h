#pragma once
// What a report view gets from the workspace: the final-overview panel, the
// group tables window and the export over the program's export windows.
// Failures of the export flow reach the user as messages, never as crashes.

#include "report/view/ReportViewServices.h"

namespace kasovka {

class IExportWindows;
class IPrintWindows;
class TBaseApplication;

class WorkspaceServices : public IReportViewServices {
public:
    explicit WorkspaceServices(TBaseApplication &app) : m_app(app) {}

    // The export windows to use; none: the Qt windows over the view.
    void SetExportWindows(IExportWindows *windows) { m_exportWindows = windows; }
    // The print windows to use; none: the Qt windows over the view.
    void SetPrintWindows(IPrintWindows *windows) { m_printWindows = windows; }

    std::unique_ptr<IFinalSummaryPanel> createFinalSummary(TPenDenReport &report) override;
    void showGroupTables(TPenDenReport &report, QWidget *parent) override;
    void exportReport(TPenDenReport &report, bool finalSummaryVisible, QWidget *parent) override;
    void printReport(TPenDenReport &report, bool finalSummaryVisible, bool monthlyOverviewVisible, QWidget *parent,
                     PrintOutput output) override;

private:
    TBaseApplication &m_app;
    IExportWindows *m_exportWindows = nullptr;
    IPrintWindows *m_printWindows = nullptr;
};

} // namespace kasovka
