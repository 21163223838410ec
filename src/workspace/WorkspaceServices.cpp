#include "workspace/WorkspaceServices.h"

#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "core/model/MemTableModel.h"
#include "export/ReportExport.h"
#include "export/ui/QtExportWindows.h"
#include "print/ui/QtPrintWindows.h"
#include "report/TPenDenReport.h"
#include "workspace/TGroupTables.h"
#include "workspace/TSumPanel.h"

namespace kasovka {

std::unique_ptr<IFinalSummaryPanel> WorkspaceServices::createFinalSummary(TPenDenReport &report)
{
    return std::make_unique<TSumPanel>(m_app, report.Skupiny());
}

void WorkspaceServices::showGroupTables(TPenDenReport &report, QWidget *parent)
{
    try {
        TGroupTables groupTables(m_app, report.Skupiny());
        groupTables.SetExportWindows(m_exportWindows);
        groupTables.SetPrintAction([this, &report](QWidget *window, PrintOutput output) {
            QtPrintWindows qtWindows(window);
            try {
                PrintGroupTable(m_app, report, TfrmGroupTables::groupColumns(), output,
                                m_printWindows ? *m_printWindows : qtWindows);
            } catch (const Error &error) {
                m_app.ShowMessageDialog(error.text(), MessageKind::Error);
            }
        });
        groupTables.SetHeading(reportHeading(report));
        groupTables.Execute(parent);
    } catch (const Error &error) {
        m_app.ShowMessageDialog(error.text(), MessageKind::Error);
    }
}

void WorkspaceServices::exportReport(TPenDenReport &report, bool finalSummaryVisible, QWidget *parent)
{
    QtExportWindows qtWindows(parent);
    try {
        ExportReport(report, report.Result().currentGroup(), finalSummaryVisible,
                     m_exportWindows ? *m_exportWindows : qtWindows);
    } catch (const Error &error) {
        m_app.ShowMessageDialog(error.text(), MessageKind::Error);
    }
}

void WorkspaceServices::printReport(TPenDenReport &report, bool finalSummaryVisible, bool monthlyOverviewVisible,
                                    QWidget *parent, PrintOutput output)
{
    QtPrintWindows qtWindows(parent);
    try {
        PrintReport(m_app, report, finalSummaryVisible, monthlyOverviewVisible, output,
                    m_printWindows ? *m_printWindows : qtWindows);
    } catch (const Error &error) {
        m_app.ShowMessageDialog(error.text(), MessageKind::Error);
    }
}

} // namespace kasovka
