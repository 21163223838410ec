// The readers of a report (print, JSON, the monthly overview and the export
// of one group) read it through its result and leave the report's tables as
// the view left them: cursor, filter and master link, during and after.

#include "export/ExportFixture.h"
#include "print/ReportPrint.h"
#include "print/SyntheticReport.h"

#include "core/MemTable.h"
#include "export/ReportExport.h"
#include "report/TMonthlyOverview.h"
#include "report/json/ReportJson.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kasovka::print {
namespace {

struct TableState {
    int recNo;
    bool filtered;
    QString filterText;
    const TMemTable *master;
    bool operator==(const TableState &) const = default;
};

std::vector<TableState> stateOf(TPenDenReport &report)
{
    std::vector<TableState> state;
    for (TMemTable *table : {&report.Skupiny(), &report.Denik(), &report.Prevedeno(), &report.PocatecniStav()})
        state.push_back({table->recNo(), table->isFiltered(), table->filterText(), table->masterSource()});
    return state;
}

void installTemplates(TBaseApplication &app)
{
    app.EnsureFolder(app.SettingsFolder());
    const QString target = app.PrintFormsFolder();
    QDir().mkpath(target);
    const QDir source(QStringLiteral(KASOVKA_SOURCE_DIR "/resources/SetupDat/PrintFrm"));
    for (const QString &name : source.entryList({QStringLiteral("*.xl")}, QDir::Files))
        QFile::copy(source.filePath(name), target + name);
}

TEST(Readers, LeaveTheReportsCursorsFiltersAndLinksAsTheyWere)
{
    test::SyntheticReport synthetic;
    synthetic.addGroup(QStringLiteral("S1"), QStringLiteral("Výroba"), 3);
    const int second = synthetic.addGroup(QStringLiteral("S2"), QStringLiteral("Obchod"), 4);
    synthetic.addGroup(QStringLiteral("S3"), QStringLiteral("Sklad"), 2);
    TPenDenReport &report = synthetic.report();
    ASSERT_TRUE(report.Skupiny().locate(QStringLiteral("ID"), Variant(qint64(second))));
    report.Denik().setRecNo(5);
    const std::vector<TableState> before = stateOf(report);
    const int current = report.Result().currentGroup();
    ASSERT_EQ(report.Result().group(current).id, second);

    ReportPrintOptions options;
    options.onlyGroup = current;
    ReportPrintJob job(report, options);
    job.layout(PrintJob::defaultPageLayout());
    EXPECT_EQ(job.groupRows(0).rowCount(), 4 + 2) << "the current group's rows";
    EXPECT_EQ(stateOf(report), before) << "print";

    QBuffer json;
    json.open(QIODevice::WriteOnly);
    writeReportJson(report, json);
    EXPECT_TRUE(json.data().contains("\"Nazev\":\"Obchod\""));
    const std::vector<MonthlyLine> months = TMonthlyOverview(report).lines(second);
    ASSERT_FALSE(months.empty());
    EXPECT_EQ(months.back().rowCount, 4);
    EXPECT_EQ(stateOf(report), before) << "JSON and the monthly overview";

    installTemplates(synthetic.app());
    test::ScriptedExportWindows windows;
    windows.scopeAnswer = false;
    const QTemporaryDir folder;
    const QString target = folder.filePath(QStringLiteral("obchod.xls"));
    windows.okTexts = {target};
    windows.checkBox = false;
    windows.afterOk = [&](TExcelExporterForm &form, bool closed) {
        EXPECT_TRUE(closed);
        EXPECT_EQ(form.Table1().recordCount(), 1);
        EXPECT_EQ(form.Table1().asInteger(QStringLiteral("ID")), second);
        EXPECT_EQ(stateOf(report), before) << "while the exporter runs";
    };
    ExportReport(report, current, true, windows);
    EXPECT_EQ(windows.exporterWindows, 1);
    EXPECT_TRUE(QFileInfo::exists(target));
    EXPECT_EQ(stateOf(report), before) << "export";
}

} // namespace
} // namespace kasovka::print
