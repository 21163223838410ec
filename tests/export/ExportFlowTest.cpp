// The report and group table exports: scope, row budget, settings, the
// exporter window's checks and what the report's tables look like after.

#include "ExportFixture.h"

#include "core/IniFile.h"
#include "export/ReportExport.h"
#include "filter/TReportFilter.h"
#include "report/TPenDenReport.h"
#include "template/XlsWorkbookAdapter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace kasovka;
using namespace kasovka::test;

namespace {

// What the row limit's message adds for an .xls target.
const QString kToXlsx = QStringLiteral("\n\nDo sešitu Office Open XML (.xlsx) se vejde až 1\u00a0048\u00a0576 řádků: "
                                       "zadejte jméno souboru s příponou .xlsx.");

class ExportFlowTest : public ::testing::Test, protected ReportTablesFixture {
protected:
    QString target(const QString &name) const { return context.root() + name; }
    TIniFile settings() { return TIniFile(context.app().SettingsFileName()); }
    void exportReport(bool finalSummary = true)
    {
        ExportReport(context.app(), skupiny, denik, skupiny.recNo(), finalSummary, windows);
    }
    ScriptedExportWindows windows;
};

TEST_F(ExportFlowTest, SingleGroupExportsAllWithoutAsking)
{
    addGroup("", "", {100.0, 250.5});
    link();
    installTemplates();
    windows.okTexts = {target("deník.xls")};
    windows.checkBox = false;
    exportReport();
    EXPECT_EQ(windows.scopeQuestions, 0);
    EXPECT_EQ(windows.exporterWindows, 1);
    EXPECT_TRUE(QFileInfo::exists(target("deník.xls")));
    EXPECT_EQ(context.ui().messages.size(), 0);
}

TEST_F(ExportFlowTest, CurrentGroupOnlyCopiesOneGroupAndAllRows)
{
    addGroup("A", "Alfa", {1.0, 2.0});
    const int second = addGroup("B", "Beta", {3.0, 4.0, 5.0});
    addGroup("C", "Gama", {6.0});
    link();
    skupiny.locate("ID", Variant(second));
    denik.next();
    const qint64 rowId = denik.asInteger("ID");
    installTemplates();

    windows.scopeAnswer = false;
    windows.okTexts = {target("beta.xls")};
    windows.checkBox = false;
    windows.afterOk = [this](TExcelExporterForm &form, bool closed) {
        EXPECT_TRUE(closed);
        EXPECT_FALSE(skupiny.isFiltered()) << "the export filters its own copy";
        EXPECT_EQ(form.Table1().recordCount(), 1);
        EXPECT_EQ(form.Table1().asText("Nazev"), "Beta");
        EXPECT_EQ(form.Table2().totalRecordCount(), 6);
        EXPECT_EQ(form.Table2().recordCount(), 3); // the link shows Beta's rows
        // Beta's warnings and those of no group, one record a line.
        EXPECT_EQ(form.Table3().recordCount(), 2);
    };
    const auto warning = [](const char *text, std::optional<QString> group) {
        ReportWarning w;
        w.text = QString::fromUtf8(text);
        w.concernsRecord = group.has_value();
        w.groupKey = group;
        return w;
    };
    TReportHeading heading;
    heading.firm.name = QStringLiteral("Test s.r.o.");
    ExportReport(context.app(), skupiny, denik, skupiny.recNo(), true, windows, heading,
                 {warning("období mimo rok", std::nullopt), warning("pohyb A", "A"), warning("pohyb B", "B")});
    // Read back: the caption, then the lines, after the last group.
    TXlsWorkbookAdapter adapter;
    const std::unique_ptr<IXlsWorkbook> book = adapter.createWorkbook();
    book->open(target("beta.xls"));
    QStringList tail;
    for (int row = book->lastRow() - 2; row <= book->lastRow(); ++row)
        tail << book->cell(row, 1).value.toString();
    EXPECT_EQ(tail, QStringList({"Upozornění", "Období mimo rok", "Skupina B: pohyb B"}));

    EXPECT_EQ(windows.scopeQuestions, 1);
    EXPECT_EQ(windows.shownGroupName, "Beta");
    // The report still shows all groups, on the same group and row.
    EXPECT_FALSE(skupiny.isFiltered());
    EXPECT_EQ(skupiny.recordCount(), 3);
    EXPECT_EQ(skupiny.asInteger("ID"), second);
    EXPECT_EQ(denik.asInteger("ID"), rowId);
}

TEST_F(ExportFlowTest, CancelledScopeQuestionEndsSilently)
{
    addGroup("A", "Alfa", {1.0});
    addGroup("B", "Beta", {2.0});
    link();
    exportReport();
    EXPECT_EQ(windows.scopeQuestions, 1);
    EXPECT_EQ(windows.exporterWindows, 0);
    EXPECT_EQ(context.ui().messages.size(), 0);
}

// The filled sheet's rows as the workbook layer counts them.
int filledRows(const QString &path)
{
    TXlsWorkbookAdapter adapter;
    const std::unique_ptr<IXlsWorkbook> book = adapter.createWorkbook();
    book->open(path);
    return book->lastRow();
}

TEST_F(ExportFlowTest, RowLimitAllowsExactlyTheRowsTheChosenTemplateFills)
{
    // The empty group comes first: its rows are gone before the sheet is
    // fullest, so the filled sheet is as long as it ever was.
    addGroup("", "[bez skupiny]", {});
    addGroup("A", "Alfa", {1.0, 2.0});
    const int beta = addGroup("B", "Beta", {3.0, 4.0, 5.0});
    link();
    installTemplates();
    enum Export { WithSummary, WithoutSummary, CurrentGroup, GroupTable };
    int file = 0;
    for (Export kind : {WithSummary, WithoutSummary, CurrentGroup, GroupTable}) {
        SCOPED_TRACE(kind);
        auto run = [&](std::optional<int> limit) {
            skupiny.locate("ID", Variant(beta));
            context.ui().messages.clear();
            windows = ScriptedExportWindows{};
            windows.scopeAnswer = kind != CurrentGroup;
            windows.okTexts = {target(QString("limit%1.xls").arg(++file))};
            windows.checkBox = false;
            windows.maxRows = limit;
            // A firm and a warning: no caption row is deleted after the fill.
            TReportHeading heading;
            heading.firm.name = QStringLiteral("Test s.r.o.");
            ReportWarning warning;
            warning.text = QStringLiteral("období mimo rok");
            if (kind == GroupTable)
                ExportGroupTable(context.app(), skupiny, windows, heading);
            else
                ExportReport(context.app(), skupiny, denik, skupiny.recNo(), kind == WithSummary, windows, heading,
                             {warning});
            return windows.okTexts[0];
        };
        const int rows = filledRows(run(std::nullopt));
        EXPECT_TRUE(QFileInfo::exists(run(rows)));
        const QString refused = run(rows - 1);
        EXPECT_FALSE(QFileInfo::exists(refused));
        EXPECT_EQ(context.ui().messages,
                  (QList<RecordedMessage>{{MessageKind::Information,
                                           QString("Maximální počet řádků pro export do Excelu je %1, "
                                                   "export nelze provést").arg(rows - 1) + kToXlsx}}));
    }
}

// A journal of 65,536 rows without the overview passed the old budget and
// then failed in the workbook layer with its English text. The same rows
// fit an .xlsx target, whose sheets hold 1,048,576.
TEST_F(ExportFlowTest, FullSheetOfJournalRowsGetsTheLimitMessageOnlyForXls)
{
    addGroup("", "", QList<double>(MaxXlsRows, 1.0));
    link();
    installTemplates();
    windows.okTexts = {target("plny.xls"), target("plny.xlsx")};
    windows.checkBox = false;
    exportReport(false);
    EXPECT_EQ(context.ui().messages,
              (QList<RecordedMessage>{{MessageKind::Information,
                                       "Maximální počet řádků pro export do Excelu je 65536, export nelze provést"
                                           + kToXlsx}}));
    EXPECT_FALSE(QFileInfo::exists(target("plny.xls")));
    EXPECT_TRUE(QFileInfo::exists(target("plny.xlsx")));
    // Nothing opens the file: a notice names it.
    EXPECT_EQ(context.ui().savedNotices, QStringList{target("plny.xlsx")});
}

// "Přerušit" at the first poll of the fill and at the last one (for .xlsx,
// while the file is written): no message, no file, not even a temporary
// one, and the window stays open for the next OK.
TEST_F(ExportFlowTest, StoppedExportLeavesNothingAndKeepsTheWindowOpen)
{
    addGroup("", "", QList<double>(3000, 1.0));
    link();
    installTemplates();
    for (const char *name : {"preruseno.xls", "preruseno.xlsx"}) {
        SCOPED_TRACE(name);
        const QString path = target(name);
        windows.okTexts = {path};
        windows.checkBox = false;
        const int before = context.ui().refreshCount;
        exportReport(false);
        ASSERT_TRUE(QFile::remove(path));
        const int polls = context.ui().refreshCount - before;
        ASSERT_GT(polls, 1);
        for (int at : {1, polls}) {
            windows = ScriptedExportWindows{};
            windows.okTexts = {path};
            windows.checkBox = false;
            bool closed = true;
            windows.afterOk = [&](TExcelExporterForm &, bool result) { closed = result; };
            context.ui().cancelAfterRefreshes(at);
            const QStringList files = QDir(context.root()).entryList(QDir::Files | QDir::Hidden);
            exportReport(false);
            EXPECT_FALSE(closed) << at;
            EXPECT_TRUE(context.ui().messages.isEmpty()) << at;
            EXPECT_EQ(QDir(context.root()).entryList(QDir::Files | QDir::Hidden), files) << at;
            EXPECT_TRUE(context.ui().progressCalls.contains("show:Exportuji sestavu, prosím čekejte [cancel] [animate]"));
            EXPECT_FALSE(context.ui().progressVisible);
        }
    }
}

TEST_F(ExportFlowTest, SettingsAreReadAndWrittenBackEvenWhenCancelled)
{
    addGroup("", "", {1.0});
    link();
    settings().WriteString("PenDenReport", "ExportFileName", target("minule.xls"));
    settings().WriteBool("PenDenReport", "ExportRunAssociatedProgram", false);
    settings().WriteString("PenDenReport", "ExportFileType", "XLSX");
    exportReport();
    EXPECT_EQ(windows.shownFileName, target("minule.xls"));
    EXPECT_FALSE(windows.shownRunAssociated);
    EXPECT_EQ(windows.shownFileFormat, TExportFormat::Xlsx);
    EXPECT_EQ(settings().ReadString("PenDenReport", "ExportFileName", "?"), target("minule.xls"));
    EXPECT_EQ(settings().ReadString("PenDenReport", "ExportFileType", "?"), "xlsx");

    // After a refused overwrite the new name is kept, the check box is not.
    QFile existing(target("jiny.xls"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("old");
    existing.close();
    windows.okTexts = {target("jiny.xls")};
    windows.checkBox = true;
    context.ui().questionAnswers = {MessageResult::No};
    exportReport();
    EXPECT_EQ(settings().ReadString("PenDenReport", "ExportFileName", "?"), target("jiny.xls"));
    EXPECT_EQ(settings().ReadString("PenDenReport", "ExportFileType", "?"), "xls");
    EXPECT_FALSE(settings().ReadBool("PenDenReport", "ExportRunAssociatedProgram", true));
    QFile check(target("jiny.xls"));
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("old"));
}

TEST_F(ExportFlowTest, FileNameChecksKeepTheWindowOpen)
{
    addGroup("", "", {1.0});
    link();
    installTemplates();
    struct Row {
        QString text;
        MessageKind kind;
        QString message;
    };
    const Row cases[] = {
        {"", MessageKind::Information, "Zadejte jméno souboru."},
        {"   ", MessageKind::Information, "Zadejte jméno souboru."},
        {target("neni/vystup.xls"), MessageKind::Warning, "Zadaná cesta k souboru není platná."},
        {target("neni/vystup"), MessageKind::Warning, "Zadaná cesta k souboru není platná."},
    };
    for (const Row &row : cases) {
        SCOPED_TRACE(row.text.toStdString());
        context.ui().messages.clear();
        TExcelExporter exporter(context.app(), &skupiny, &denik, nullptr);
        exporter.SetTemplateFolder(context.app().PrintFormsFolder());
        exporter.SetTemplateName(reportTemplateName(false));
        TExcelExporterForm form(exporter);
        EXPECT_FALSE(form.OnOk(row.text, false));
        EXPECT_EQ(context.ui().messages, (QList<RecordedMessage>{{row.kind, row.message}}));
    }
}

// A name typed without an extension is the .xls the window shows.
TEST_F(ExportFlowTest, OverwriteAnsweredYesReplacesTheFileTheNameWithoutExtensionMeans)
{
    addGroup("", "", {1.0});
    link();
    installTemplates();
    QFile existing(target("vystup.xls"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("old");
    existing.close();
    context.ui().questionAnswers = {MessageResult::Yes};
    context.ui().openResult = ShellNoAssociation;
    windows.okTexts = {target("vystup")};
    windows.checkBox = true;
    exportReport(false);

    const QString path = target("vystup.xls");
    const QString question = QString("Soubor \"%1\" již existuje. Chcete jej přepsat?").arg(path);
    const QString noProgram = QString("Se souborem \"%1\" není asociován žádný program - pravděpodobně nemáte "
                                      "nainstalovaný MS Excel (či jiný vhodný prohlížeč).").arg(path);
    EXPECT_EQ(context.ui().messages, (QList<RecordedMessage>{{MessageKind::Question, question},
                                                             {MessageKind::Information, noProgram}}));
    EXPECT_EQ(context.ui().openedPaths, QStringList{path});
    EXPECT_GT(QFileInfo(path).size(), 1000);
    EXPECT_FALSE(QFileInfo::exists(target("vystup")));
}

TEST_F(ExportFlowTest, EngineErrorIsShownWithItsPrefixAndLeavesNoFile)
{
    addGroup("", "", {1.0});
    link();
    // No templates installed.
    windows.okTexts = {target("x.xls")};
    exportReport();
    const QString path = context.app().PrintFormsFolder() + reportTemplateName(true);
    EXPECT_EQ(context.ui().texts(MessageKind::Error),
              QStringList{QString("Při převodu sestavy došlo k následující chybě: \"Can't find the file \"%1\"\"").arg(path)});
    EXPECT_FALSE(QFileInfo::exists(target("x.xls")));
    EXPECT_TRUE(context.ui().openedPaths.isEmpty());
}

TEST_F(ExportFlowTest, GroupTableExportLeavesTheCurrentGroup)
{
    addGroup("A", "Alfa", {1.0});
    const int second = addGroup("B", "Beta", {2.0});
    addGroup("C", "Gama", {3.0});
    skupiny.locate("ID", Variant(second));
    installTemplates();
    windows.okTexts = {target("skupiny.xls")};
    windows.afterOk = [](TExcelExporterForm &form, bool closed) {
        EXPECT_TRUE(closed);
        EXPECT_EQ(form.Table1().recordCount(), 3);
        EXPECT_EQ(form.Table2().fieldCount(), 0);
    };
    ExportGroupTable(context.app(), skupiny, windows);
    EXPECT_EQ(windows.scopeQuestions, 0);
    EXPECT_EQ(skupiny.asInteger("ID"), second);
    EXPECT_EQ(settings().ReadString("GroupTables", "ExportFileName", "?"), target("skupiny.xls"));
    EXPECT_EQ(context.ui().openedPaths, QStringList{target("skupiny.xls")});
}

} // namespace
