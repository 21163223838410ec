#pragma once
// The windows of the export flow, as the flow sees them. The program
// implements this with its Qt windows (export/ui); the tools and the tests
// answer headlessly. Each call shows one window modally and returns when it
// is closed.

namespace kasovka {

class TExcelExporter;
class TExportDialog;

class IExportWindows {
public:
    virtual ~IExportWindows() = default;
    // The scope window ("Export"): true when closed with OK, after it has set
    // the dialog's ExportAllGroups.
    virtual bool showExportDialog(TExportDialog &dialog) = 0;
    // The exporter window ("Export"): it creates a TExcelExporterForm for the
    // exporter and drives it (OnShow, OnOk, browse) until it closes.
    virtual void showExcelExporter(TExcelExporter &exporter) = 0;
};

} // namespace kasovka
