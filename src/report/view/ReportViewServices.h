#pragma once
// What the report view asks of the workspace around it: the final-overview
// panel it embeds, the group tables window and the export. The workspace
// library provides them; the view library stays below it.

#include <memory>

class QWidget;

namespace kasovka {

class TPenDenReport;

// Where a print goes: the preview (with the printer and PDF from there) or
// straight into a PDF file.
enum class PrintOutput { Preview, PdfFile };

// A panel shown inside a host widget for as long as the view lives.
class IFinalSummaryPanel {
public:
    virtual ~IFinalSummaryPanel() = default;
    virtual void ShowIn(QWidget *host) = 0;
};

class IReportViewServices {
public:
    virtual ~IReportViewServices() = default;
    // The final-overview panel over the report's Skupiny.
    virtual std::unique_ptr<IFinalSummaryPanel> createFinalSummary(TPenDenReport &report) = 0;
    // The group tables window, modally.
    virtual void showGroupTables(TPenDenReport &report, QWidget *parent) = 0;
    // The report export; the final overview goes with it when it is shown.
    virtual void exportReport(TPenDenReport &report, bool finalSummaryVisible, QWidget *parent) = 0;
    // The report printed; the final overviews and the monthly tables go
    // with it when their panels are shown.
    virtual void printReport(TPenDenReport &report, bool finalSummaryVisible, bool monthlyOverviewVisible,
                             QWidget *parent, PrintOutput output) = 0;
};

} // namespace kasovka
