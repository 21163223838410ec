#include "report/view/DemoReport.h"

#include "export/ExcelExporter.h"
#include "export/ExportDialog.h"
#include "host/demo/DemoAgenda.h"

#include <QDir>
#include <gtest/gtest.h>

namespace kasovka::test {

DemoContext::DemoContext(int journalRecords)
{
    DemoAgendaOptions options;
    options.journalRecords = journalRecords;
    const DemoAgenda demo = createDemoAgenda(root() + QStringLiteral("data/"), options);
    m_app = std::make_unique<TBaseApplication>(m_ui, demo.launchArguments());
    m_app->SetProgramFolder(root() + QStringLiteral("program/"));
    EXPECT_TRUE(m_app->LoadLaunchContext());
    QDir().mkpath(m_app->SettingsFolder());
    QDir().mkpath(m_app->PrintFormsFolder());
}

std::unique_ptr<TPenDenReport> DemoContext::report(quint8 kind, const QString &name)
{
    auto filter = std::make_unique<TReportFilter>(*m_app);
    filter->VertikalniDeleni = kind;
    filter->NazevFiltru = name;
    auto result = std::make_unique<TPenDenReport>(*m_app, std::move(filter));
    EXPECT_TRUE(result->Generate());
    return result;
}

bool ScriptedExportWindows::showExportDialog(TExportDialog &dialog)
{
    ++scopeQuestions;
    dialog.SetExportAllGroups(exportAll);
    return confirmScope;
}

void ScriptedExportWindows::showExcelExporter(TExcelExporter &exporter)
{
    ++exporterWindows;
    templateName = exporter.TemplateName();
    table1Records = exporter.MasterTable() ? exporter.MasterTable()->recordCount() : -1;
    if (onExporter)
        onExporter(exporter);
}

} // namespace kasovka::test
