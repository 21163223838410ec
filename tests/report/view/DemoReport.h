#pragma once
// A launch context over the demo agenda and reports generated from it, for
// the widget tests of the report view and the workspace.

#include "app/TBaseApplication.h"
#include "export/ExportWindows.h"
#include "filter/IReportFilterEditor.h"
#include "filter/TReportFilter.h"
#include "report/TPenDenReport.h"
#include "support/RecordingUiServices.h"

#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace kasovka::test {

class DemoContext {
public:
    explicit DemoContext(int journalRecords = 400);
    TBaseApplication &app() { return *m_app; }
    RecordingUiServices &ui() { return m_ui; }
    QString root() const { return m_dir.path() + QLatin1Char('/'); }

    // A generated report; `kind` is the filter's VertikalniDeleni.
    std::unique_ptr<TPenDenReport> report(quint8 kind, const QString &name = QString());

private:
    QTemporaryDir m_dir;
    RecordingUiServices m_ui;
    std::unique_ptr<TBaseApplication> m_app;
};

// A filter editor that sets the filter up by a function, or cancels.
class ScriptedFilterEditor : public IReportFilterEditor {
public:
    explicit ScriptedFilterEditor(std::function<bool(TReportFilter &)> script) : m_script(std::move(script)) {}
    bool edit(TReportFilter &filter) override { return m_script(filter); }

private:
    std::function<bool(TReportFilter &)> m_script;
};

// Export windows that record what the flow showed and answer by script.
class ScriptedExportWindows : public IExportWindows {
public:
    bool exportAll = true;   // the scope choice
    bool confirmScope = true;
    int scopeQuestions = 0;
    int exporterWindows = 0;
    QString templateName;
    int table1Records = -1;  // records of the master table the exporter got
    std::function<void(TExcelExporter &)> onExporter;

    bool showExportDialog(TExportDialog &dialog) override;
    void showExcelExporter(TExcelExporter &exporter) override;
};

} // namespace kasovka::test
