#include "core/DateConvention.h"
#include "core/DisplayFormat.h"
#include "filter/ui/WidgetTestApp.h"
#include "report/view/DemoReport.h"
#include "report/view/ReportGrid.h"
#include "workspace/TGroupTables.h"
#include "workspace/TSumPanel.h"

#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kasovka {
namespace {

class PanelsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        test::widgetApp();
        s_demo = new test::DemoContext(300);
    }
    static void TearDownTestSuite()
    {
        delete s_demo;
        s_demo = nullptr;
    }

    // Fails the test for every figure that differs from the current record.
    static void expectFiguresOfCurrentRecord(const TfrmSumPanel &window, const TMemTable &table)
    {
        for (const QString &field : window.fields())
            EXPECT_EQ(window.figure(field)->text(),
                      table.displayTextAt(table.recNo(), table.fieldIndex(field), programLocale()))
                << field.toStdString() << " at record " << table.recNo();
    }

    static test::DemoContext *s_demo;
};
test::DemoContext *PanelsTest::s_demo = nullptr;

TEST_F(PanelsTest, SumPanelShowsEveryColumnAndTotalOfAReportWithoutGroups)
{
    auto report = s_demo->report(sgkNone);
    QWidget host;
    TSumPanel panel(s_demo->app(), report->Skupiny());
    panel.ShowIn(&host);
    host.show();
    auto *window = host.findChild<TfrmSumPanel *>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->fields().size(), 31 + 8);
    EXPECT_EQ(window->labelOf("Col35"), QStringLiteral("35 ostatní (včetně rezerv)"));
    EXPECT_EQ(window->labelOf("PrubPolozkyCelkem"), QStringLiteral("Rozdíl"));
    EXPECT_EQ(window->figure("ZakladDane")->alignment() & Qt::AlignRight, Qt::AlignRight);
    ASSERT_EQ(report->Skupiny().recordCount(), 1);
    expectFiguresOfCurrentRecord(*window, report->Skupiny());
    EXPECT_FALSE(window->figure("Col11")->text().isEmpty());
}

TEST_F(PanelsTest, SumPanelFollowsTheGroupsAndEditsOfTheCurrentOne)
{
    auto report = s_demo->report(sgkCentre);
    TMemTable &skupiny = report->Skupiny();
    ASSERT_GE(skupiny.recordCount(), 2);
    QWidget host;
    TSumPanel panel(s_demo->app(), skupiny);
    panel.ShowIn(&host);
    host.show();
    auto *window = host.findChild<TfrmSumPanel *>();
    ASSERT_NE(window, nullptr);
    QStringList taxBases;
    for (skupiny.first(); !skupiny.eof(); skupiny.next()) {
        expectFiguresOfCurrentRecord(*window, skupiny);
        taxBases.append(window->figure("ZakladDane")->text());
    }
    taxBases.removeDuplicates();
    EXPECT_GT(taxBases.size(), 1);

    skupiny.first();
    skupiny.edit();
    skupiny.setCurrency(skupiny.fieldIndex("VydajeNeovlZaklDaneCelkem"), Currency::fromInt(1234567));
    skupiny.post();
    EXPECT_EQ(window->figure("VydajeNeovlZaklDaneCelkem")->text(),
              skupiny.displayTextAt(0, skupiny.fieldIndex("VydajeNeovlZaklDaneCelkem"), programLocale()));
}

TEST_F(PanelsTest, SumPanelSurvivesItsTableGoingFirst)
{
    auto report = s_demo->report(sgkNone);
    QWidget host;
    TSumPanel panel(s_demo->app(), report->Skupiny());
    panel.ShowIn(&host);
    host.show();
    auto *window = host.findChild<TfrmSumPanel *>();
    report.reset();
    EXPECT_EQ(window->figure("Col5")->text(), QString());
}

TEST_F(PanelsTest, GroupTablesColumnsFollowTheLayout)
{
    const QList<MemTableColumn> columns = TfrmGroupTables::groupColumns();
    ASSERT_EQ(columns.size(), 41);
    const struct {
        int index;
        const char *field;
        const char *title;
        int width;
        QColor background;
    } cases[] = {
        {0, "Zkratka", "Zkratka skupiny\n\n", 120, QColor()},
        {1, "Nazev", "Název skupiny\n\n", 264, QColor()},
        {4, "HotovostCeninyCelkem", "Hotovost celkem\n \n ", 118, lightShade()},
        {7, "BankUctyCelkem", "Na účtech celkem\n \n ", 118, QColor()},
        {13, "ZakladDane", "CELKEM\nzáklad daně\n ", 118, darkShade()},
        {20, "Col18", "VDZUP\ndrobný maj.\n[18]", 118, lightShade()},
        {32, "PrijmyNeovlZaklDaneCelkem", "PNZD\nCelkem\n ", 118, QColor()},
        {40, "VydajeNeovlZaklDaneCelkem", "VNZD\nCelkem\n ", 118, lightShade()},
    };
    for (const auto &c : cases) {
        const MemTableColumn &column = columns.at(c.index);
        EXPECT_EQ(column.field, QString::fromLatin1(c.field)) << c.index;
        EXPECT_EQ(column.title, QString::fromUtf8(c.title)) << c.index;
        EXPECT_EQ(column.width, c.width) << c.index;
        EXPECT_EQ(column.background.value<QColor>(), c.background) << c.index;
    }
}

class GroupTablesWindowTest : public PanelsTest {
protected:
    void SetUp() override
    {
        m_report = s_demo->report(sgkCentre);
        ASSERT_GE(m_report->Skupiny().recordCount(), 3);
    }
    std::unique_ptr<TPenDenReport> m_report;
};

TEST_F(GroupTablesWindowTest, GridIsTheReportsOwnGroupTable)
{
    TGroupTables groupTables(s_demo->app(), m_report->Skupiny());
    TfrmGroupTables window(groupTables);
    window.show();
    QAbstractItemModel *model = window.grListForm->model();
    EXPECT_EQ(model->rowCount(), m_report->Skupiny().recordCount());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Seznam sumačních skupin"));
    EXPECT_EQ(window.grListForm->columnWidth(1), 264);
    EXPECT_EQ(window.grListForm->verticalHeader()->defaultSectionSize(), 17);
    const auto titleAlignment = [model](int column) {
        return model->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>()
               & Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(titleAlignment(7), Qt::AlignLeft);
    EXPECT_EQ(titleAlignment(6), Qt::AlignHCenter);
    EXPECT_EQ(model->index(0, 12).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::white));

    // The "Celkem" line sums each amount column exactly and stays under it.
    const TMemTable &skupiny = m_report->Skupiny();
    ASSERT_EQ(window.grTotals->columnCount(), model->columnCount());
    EXPECT_EQ(window.grTotals->item(0, 0)->text(), QStringLiteral("Celkem"));
    for (int column : {2, 13, 40}) {
        const int field = skupiny.fieldIndex(TfrmGroupTables::groupColumns().at(column).field);
        Currency sum;
        for (int record = 0; record < skupiny.totalRecordCount(); ++record)
            sum += skupiny.recordValue(record, field).toCurrency();
        EXPECT_EQ(window.grTotals->item(0, column)->text(), formatAmount(sum, QStringLiteral("# ##0.00"), programLocale()))
            << column;
    }
    window.grListForm->setColumnWidth(5, 200);
    EXPECT_EQ(window.grTotals->columnWidth(5), 200);

    // The third line chosen here is the report's current group afterwards.
    window.grListForm->selectRow(2);
    window.close();
    EXPECT_EQ(m_report->Skupiny().recNo(), 2);
}

TEST_F(GroupTablesWindowTest, ExportKeepsTheSelectedLine)
{
    TMemTable &skupiny = m_report->Skupiny();
    skupiny.setRecNo(1);
    const qint64 selected = skupiny.asInteger("ID");
    test::ScriptedExportWindows windows;
    windows.onExporter = [](TExcelExporter &) {};
    TGroupTables groupTables(s_demo->app(), skupiny);
    groupTables.SetExportWindows(&windows);
    TfrmGroupTables window(groupTables);
    window.show();
    window.btnExport->click();
    EXPECT_EQ(windows.exporterWindows, 1);
    EXPECT_EQ(windows.scopeQuestions, 0);
    EXPECT_EQ(windows.templateName, QStringLiteral("_GroupTables.xl"));
    EXPECT_EQ(windows.table1Records, skupiny.recordCount());
    EXPECT_EQ(skupiny.asInteger("ID"), selected);
    EXPECT_EQ(window.grListForm->currentIndex().row(), 1);
}

TEST_F(GroupTablesWindowTest, EscClosesAndEnterDoesNot)
{
    TGroupTables groupTables(s_demo->app(), m_report->Skupiny());
    bool stillOpenAfterEnter = false;
    test::whenModalShown([&](QWidget *modal) {
        QTest::keyClick(modal, Qt::Key_Return);
        stillOpenAfterEnter = modal->isVisible();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    groupTables.Execute();
    EXPECT_TRUE(stillOpenAfterEnter);
}

} // namespace
} // namespace kasovka
