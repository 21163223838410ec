#include "app/TBaseApplication.h"
#include "core/DateConvention.h"
#include "core/IniFile.h"
#include "filter/ui/WidgetTestApp.h"
#include "report/TMonthlyOverview.h"
#include "report/view/DemoReport.h"
#include "report/view/MonthlyChart.h"
#include "report/view/ReportGrid.h"
#include "report/view/ReportViewServices.h"
#include "report/view/TGroupList.h"
#include "report/view/TfrmMonthlyOverview.h"
#include "report/view/TfrmPenDenReport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kasovka {
namespace {

class RecordingServices : public IReportViewServices {
public:
    int summaries = 0;
    int groupTables = 0;
    QList<bool> exports; // finalSummaryVisible of each export
    std::unique_ptr<IFinalSummaryPanel> createFinalSummary(TPenDenReport &) override
    {
        ++summaries;
        return nullptr;
    }
    void showGroupTables(TPenDenReport &, QWidget *) override { ++groupTables; }
    void exportReport(TPenDenReport &, bool visible, QWidget *) override { exports.append(visible); }
    void printReport(TPenDenReport &, bool visible, bool monthly, QWidget *, PrintOutput output) override
    {
        prints.append({visible, output});
        monthlyPrints.append(monthly);
    }
    QList<QPair<bool, PrintOutput>> prints;
    QList<bool> monthlyPrints;
};

// Rows of Denik that belong to the group with this ID.
int rowsOfGroup(const TPenDenReport &report, qint64 groupId)
{
    const ReportResult &result = report.Result();
    return int(result.group(result.groupOfId(groupId)).rows.size());
}

class ReportViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        test::widgetApp();
        s_demo = new test::DemoContext(400);
    }
    static void TearDownTestSuite()
    {
        delete s_demo;
        s_demo = nullptr;
    }

    TfrmPenDenReport *open(TPenDenReport &report, QSize size = QSize(1400, 900))
    {
        m_page = std::make_unique<QWidget>();
        m_page->resize(size);
        TfrmPenDenReport *view = ShowIn(report, m_page.get(), m_services);
        m_page->show();
        QCoreApplication::processEvents();
        return view;
    }

    static test::DemoContext *s_demo;
    RecordingServices m_services;
    std::unique_ptr<QWidget> m_page;
};
test::DemoContext *ReportViewTest::s_demo = nullptr;

TEST_F(ReportViewTest, ReportWithoutGroupsHidesEverythingAboutGroups)
{
    auto report = s_demo->report(sgkNone);
    TfrmPenDenReport *view = open(*report);
    EXPECT_FALSE(view->panGroups->isVisibleTo(view));
    EXPECT_FALSE(view->panInfo->isVisibleTo(view));
    EXPECT_EQ(view->lblPeriod->text(), QStringLiteral("Období: 1.1.2024 – 31.12.2024"));
    EXPECT_FALSE(view->btnShowGroupsTable->isEnabled());
    EXPECT_FALSE(view->btnShowHideGroupsPanel->isEnabled());
    EXPECT_FALSE(view->lblFinalSummaryGroupCaption->isVisibleTo(view));
    EXPECT_FALSE(view->lblRowsGroupName->isVisibleTo(view));
    EXPECT_TRUE(view->FinalSummaryVisible());
    EXPECT_EQ(m_services.summaries, 1);
    ASSERT_EQ(report->Skupiny().recordCount(), 1);
    EXPECT_EQ(view->grDenik->model()->rowCount(), report->Denik().totalRecordCount());
    EXPECT_GT(view->grDenik->model()->rowCount(), 0);
}

TEST_F(ReportViewTest, CentreGroupsShowTheirCaptionForm)
{
    auto report = s_demo->report(sgkCentre);
    TfrmPenDenReport *view = open(*report);
    EXPECT_EQ(view->lblGroupsHeaderCaption->text(), QStringLiteral("Sumační skupiny (střediska)"));
    EXPECT_EQ(view->lblInfoText->text(),
              QStringLiteral("Upozornění: jednotlivé sumační skupiny (střediska) neobsahují počáteční stavy "
                             "pokladny, banky a uzávěrkové úpravy."));
    EXPECT_TRUE(view->panGroups->isVisibleTo(view));
    EXPECT_TRUE(view->panInfo->isVisibleTo(view));
    EXPECT_TRUE(view->btnShowGroupsTable->isEnabled());
    EXPECT_TRUE(view->lblRowsGroupCaption->isVisibleTo(view));
    EXPECT_EQ(view->cgrSkupiny->objectName(), QStringLiteral("cgrSkupiny"));
}

TEST_F(ReportViewTest, GroupsHeaderShowsItsWholeCaptionForEveryKind)
{
    // A wide view gives the header one line; a narrow one keeps the panel
    // narrow and wraps it.
    for (quint8 kind = sgkCentre; kind <= LastSummationGroupKind; ++kind) {
        auto report = s_demo->report(kind);
        for (const int width : {1920, 1024}) {
            TfrmPenDenReport *view = open(*report, QSize(width, 700));
            const QLabel *caption = view->lblGroupsHeaderCaption;
            SCOPED_TRACE(caption->text().toStdString() + " " + std::to_string(width));
            // No word runs past the label, and the label is tall enough for its lines.
            const QRect needed = caption->fontMetrics().boundingRect(QRect(0, 0, caption->width(), 1000),
                                                                     Qt::TextWordWrap, caption->text());
            EXPECT_LE(needed.width(), caption->width());
            EXPECT_LE(needed.height(), caption->height());
            if (width == 1920)
                EXPECT_EQ(needed.height(), caption->fontMetrics().height());
            else
                EXPECT_EQ(view->panGroups->width(), 250);
        }
    }
}

TEST_F(ReportViewTest, ClickingAGroupPanelMovesGridOverviewAndNamesTogether)
{
    auto report = s_demo->report(sgkCentre);
    TfrmPenDenReport *view = open(*report);
    TMemTable &skupiny = report->Skupiny();
    ASSERT_GE(skupiny.recordCount(), 3);
    EXPECT_EQ(skupiny.recNo(), 0);

    const QRect third = view->cgrSkupiny->visualRect(view->cgrSkupiny->model()->index(2, 0));
    QTest::mouseClick(view->cgrSkupiny->viewport(), Qt::LeftButton, {}, third.center());
    QCoreApplication::processEvents();

    EXPECT_EQ(skupiny.recNo(), 2);
    const QString name = skupiny.asText("Nazev");
    EXPECT_EQ(view->lblFinalSummaryGroupName->text(), name);
    EXPECT_EQ(view->lblRowsGroupName->text(), name);
    EXPECT_EQ(view->grDenik->model()->rowCount(), rowsOfGroup(*report, skupiny.asInteger("ID")));
    EXPECT_EQ(view->grDenik->currentIndex().row(), 0);
    EXPECT_EQ(report->Denik().masterSource(), nullptr) << "the grid reads the group's rows, Denik stays whole";

    // An arrow key in the list (what the wheel becomes) moves on as well.
    view->cgrSkupiny->setFocus();
    QTest::keyClick(view->cgrSkupiny, Qt::Key_Down);
    EXPECT_EQ(skupiny.recNo(), 3);
    EXPECT_EQ(view->lblRowsGroupName->text(), skupiny.asText("Nazev"));
}

TEST_F(ReportViewTest, ToggleButtonsAlternateTheirCaptions)
{
    auto report = s_demo->report(sgkCentre);
    TfrmPenDenReport *view = open(*report);
    const QStringList summary{"Zobrazit záv. přehled", "Skrýt záv. přehled", "Zobrazit záv. přehled"};
    const QStringList groups{"Zobrazit skupiny", "Skrýt skupiny", "Zobrazit skupiny"};
    for (int i = 0; i < 3; ++i) {
        view->btnShowHideFinalSummaryPanel->click();
        view->btnShowHideGroupsPanel->click();
        EXPECT_EQ(view->btnShowHideFinalSummaryPanel->text(), summary[i]) << i;
        EXPECT_EQ(view->btnShowHideGroupsPanel->text(), groups[i]) << i;
        EXPECT_EQ(view->panFinalSummary->isVisibleTo(view), i == 1) << i;
        EXPECT_EQ(view->GroupsVisible(), i == 1) << i;
    }
}

TEST_F(ReportViewTest, GroupListShowsWholePanelsOfItsHeight)
{
    auto report = s_demo->report(sgkCentre);
    TfrmPenDenReport *view = open(*report);
    const struct {
        int height, panels;
    } cases[] = {{400, 4}, {425, 5}, {424, 4}, {170, 2}, {85, 1}, {60, 1}};
    for (const auto &c : cases) {
        view->cgrSkupiny->setFixedHeight(c.height);
        view->FitGroupGrid();
        EXPECT_EQ(view->cgrSkupiny->VisiblePanelCount(), c.panels) << c.height;
        EXPECT_GE(view->cgrSkupiny->PanelHeight(), TGroupList::PanelUnit) << c.height;
    }
}

TEST_F(ReportViewTest, ExportTakesTheFinalOverviewStateAndGroupTablesNeedGroups)
{
    auto report = s_demo->report(sgkCentre);
    TfrmPenDenReport *view = open(*report);
    view->btnExport->click();
    view->btnShowHideFinalSummaryPanel->click();
    view->btnExport->click();
    EXPECT_EQ(m_services.exports, (QList<bool>{true, false}));
    view->btnShowGroupsTable->click();
    EXPECT_EQ(m_services.groupTables, 1);
}

TEST_F(ReportViewTest, PrintOffersPreviewAndPdfWithThePanelsShown)
{
    auto report = s_demo->report(sgkCentre);
    TfrmPenDenReport *view = open(*report);
    EXPECT_EQ(view->btnPrint->focusPolicy(), Qt::TabFocus); // reached with Tab, not taken by a click
    view->btnPrint->click();
    view->btnShowHideFinalSummaryPanel->click();
    view->btnPrint->menu()->actions().at(1)->trigger();
    view->btnShowHideMonthlyOverview->click();
    view->btnPrint->menu()->actions().at(1)->trigger();
    const QList<QPair<bool, PrintOutput>> expected{
        {true, PrintOutput::Preview}, {false, PrintOutput::PdfFile}, {false, PrintOutput::PdfFile}};
    EXPECT_EQ(m_services.prints, expected);
    EXPECT_EQ(m_services.monthlyPrints, (QList<bool>{false, false, true})) << "the monthly tables as the panel shows";
}

TEST_F(ReportViewTest, JournalGridTitlesAndShading)
{
    auto report = s_demo->report(sgkNone);
    TfrmPenDenReport *view = open(*report);
    QAbstractItemModel *model = view->grDenik->model();
    ASSERT_EQ(model->columnCount(), 4 + 31);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("\nČíslo řádku\n[1]"));
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Číslo dokladu/\nvar. symb.\n[3]"));
    EXPECT_EQ(model->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Hotovost a ceniny\npříjem\n[5]"));
    EXPECT_EQ(model->headerData(34, Qt::Horizontal).toString().section('\n', 2), QStringLiteral("[35]"));
    EXPECT_TRUE(model->headerData(4, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    // Every title fits its column ([35] "ostatní (vč. rezerv)" is the widest),
    // and the row indicator stands beside the rows.
    QHeaderView *titles = view->grDenik->horizontalHeader();
    for (int column = 0; column < model->columnCount(); ++column)
        EXPECT_GE(titles->sectionSize(column), titles->sectionSizeHint(column)) << column;
    EXPECT_TRUE(view->grDenik->verticalHeader()->isVisible());
    EXPECT_GT(view->grDenik->verticalHeader()->width(), 0);

    // Column number -> expected background (invalid: white) and white text.
    const struct {
        int column;
        QColor background;
        bool whiteText;
    } cases[] = {{5, lightShade(), false},  {6, lightShade(), false}, {7, QColor(), false},
                 {9, lightShade(), false},  {11, darkShade(), true},  {12, darkShade(), true},
                 {13, QColor(), false},     {16, lightShade(), false}, {23, lightShade(), false},
                 {24, QColor(), false},     {28, QColor(), false},    {29, lightShade(), false},
                 {35, lightShade(), false}};
    for (const auto &c : cases) {
        const QModelIndex index = model->index(0, 4 + c.column - 5);
        EXPECT_EQ(index.data(Qt::BackgroundRole).value<QColor>(), c.background) << c.column;
        EXPECT_EQ(index.data(Qt::ForegroundRole).value<QColor>() == QColor(Qt::white), c.whiteText) << c.column;
    }
}

// A laptop's screen: with every panel shown the journal keeps 15 rows, and
// the heights the user gives the overviews hold for the next report.
TEST_F(ReportViewTest, PanelsLeaveTheJournalFifteenRowsAndKeepTheirHeights)
{
    auto report = s_demo->report(sgkNone);
    TfrmPenDenReport *view = open(*report, QSize(1366, 620));
    view->ShowMonthlyOverview(true);
    QCoreApplication::processEvents();
    EXPECT_GE(view->VisibleJournalRows(), 15);
    const QList<int> sizes = view->splPanels->sizes();
    ASSERT_EQ(sizes.size(), 3);
    EXPECT_GT(sizes[0], 0);
    EXPECT_GT(sizes[1], 0);

    view->splPanels->setSizes({90, 140, sizes[0] + sizes[1] + sizes[2] - 230});
    const QList<int> given = view->splPanels->sizes().mid(0, 2);
    view->RememberPanelHeights();
    auto second = s_demo->report(sgkNone);
    TfrmPenDenReport *next = open(*second, QSize(1366, 620));
    next->ShowMonthlyOverview(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(next->splPanels->sizes().mid(0, 2), given);
    EXPECT_GE(next->VisibleJournalRows(), 15);
    TIniFile(s_demo->app().SettingsFileName()).EraseSection(QStringLiteral("ZobrazeniSestavy"));
}

// Czech dates and numbers whatever the system's locale says, in the grid and
// in what Ctrl+C copies; the abbreviated heads' hints are written out.
TEST_F(ReportViewTest, JournalCopiesRowsInCzechAndExplainsAbbreviatedHeads)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    auto report = s_demo->report(sgkNone);
    TfrmPenDenReport *view = open(*report);
    QAbstractItemModel *model = view->grDenik->model();
    EXPECT_EQ(model->headerData(4 + 13 - 5, Qt::Horizontal, Qt::ToolTipRole).toString(),
              QStringLiteral("Příjmy zahrnované do základu daně zboží [13]"));
    EXPECT_EQ(model->headerData(3, Qt::Horizontal, Qt::ToolTipRole).toString(), QStringLiteral("Popis [4]"));

    int first = 0;
    while (first < model->rowCount() && model->index(first, 1).data().toString().isEmpty())
        ++first;
    ASSERT_LT(first + 1, model->rowCount());
    view->grDenik->setFocus();
    view->grDenik->selectionModel()->clear();
    for (int row : {first, first + 1})
        view->grDenik->selectionModel()->select(model->index(row, 0),
                                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::keyClick(view->grDenik, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_EQ(copied, copiedCells(view->grDenik));
    const QStringList lines = copied.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[2].isEmpty());
    static const QRegularExpression date(QStringLiteral("^\\d{1,2}\\.\\d{1,2}\\.\\d{4}$"));
    static const QRegularExpression amount(QStringLiteral("^(-?\\d+,\\d\\d)?$"));
    int amounts = 0;
    for (int i = 0; i < 2; ++i) {
        const QStringList cells = lines[i].split(QLatin1Char('\t'));
        ASSERT_EQ(cells.size(), 4 + 31);
        EXPECT_TRUE(date.match(cells[1]).hasMatch()) << cells[1].toStdString();
        for (int c = 4; c < cells.size(); ++c) {
            EXPECT_TRUE(amount.match(cells[c]).hasMatch()) << cells[c].toStdString();
            amounts += cells[c].isEmpty() ? 0 : 1;
        }
    }
    EXPECT_GT(amounts, 0);
    QLocale::setDefault(programLocale());
}

// The text of a cell of the monthly table; a negative row counts from the end.
QString monthlyCell(const TfrmMonthlyOverview &panel, int row, int column)
{
    const int r = row < 0 ? panel.grMonths->rowCount() + row : row;
    return panel.grMonths->item(r, column)->text();
}

TEST_F(ReportViewTest, ToggleShowsThePanelThatFollowsTheGroup)
{
    auto report = s_demo->report(sgkCentre);
    TfrmPenDenReport *view = open(*report);
    EXPECT_EQ(view->panMonthlyOverview, nullptr);
    EXPECT_EQ(view->btnShowHideMonthlyOverview->text(), QStringLiteral("Měsíční přehled"));
    view->btnShowHideMonthlyOverview->click();
    ASSERT_NE(view->panMonthlyOverview, nullptr);
    TfrmMonthlyOverview &panel = *view->panMonthlyOverview;
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(view->btnShowHideMonthlyOverview->text(), QStringLiteral("Skrýt měsíční přehled"));

    TMemTable &skupiny = report->Skupiny();
    ASSERT_GE(skupiny.recordCount(), 3);
    for (int group : {2, 0}) {
        skupiny.setRecNo(group);
        EXPECT_EQ(panel.ShownGroupId(), skupiny.asInteger("ID"));
        EXPECT_EQ(panel.lblGroupName->text(), skupiny.asText("Nazev"));
        // Převedeno, the twelve months of 2024 and the total, which is the final overview.
        ASSERT_EQ(panel.grMonths->rowCount(), 14);
        EXPECT_EQ(monthlyCell(panel, 0, 0), QStringLiteral("Převedeno"));
        EXPECT_EQ(monthlyCell(panel, 1, 0), QStringLiteral("leden 2024"));
        EXPECT_EQ(monthlyCell(panel, -1, 0), QStringLiteral("Celkem"));
        EXPECT_EQ(monthlyCell(panel, -1, 3), formatMonthlyAmount(skupiny.asCurrency("ZakladDane"), programLocale()));
        EXPECT_EQ(monthlyCell(panel, -1, 5), formatMonthlyAmount(skupiny.asCurrency("HotovostCeninyCelkem"), programLocale()));
        EXPECT_EQ(panel.chMonths->categories().size(), 12);
    }

    // Hidden, it leaves the group alone until shown again.
    view->btnShowHideMonthlyOverview->click();
    EXPECT_FALSE(panel.isVisible());
    skupiny.setRecNo(1);
    EXPECT_NE(panel.ShownGroupId(), skupiny.asInteger("ID"));
    view->btnShowHideMonthlyOverview->click();
    EXPECT_EQ(panel.ShownGroupId(), skupiny.asInteger("ID"));
}

TEST_F(ReportViewTest, ChartNamesMonthsInCzechAndTellsExactAmounts)
{
    auto report = s_demo->report(sgkNone);
    const std::vector<MonthlyLine> lines = report->MonthlyOverview()->lines(report->Skupiny().asInteger("ID"));
    // The demo journal holds records without a date.
    ASSERT_EQ(lines.size(), 15u);
    ASSERT_EQ(lines[1].kind, MonthlyLine::Kind::Undated);
    MonthlyChart chart(nullptr, QLocale(QLocale::Czech, QLocale::CzechRepublic));
    chart.setLines({lines[0], lines[1], lines[2], lines[3], lines.back()});
    EXPECT_EQ(chart.categories(), QStringList({"leden", "únor"}));

    // A whole year takes short names.
    chart.setLines(lines);
    ASSERT_EQ(chart.categories().size(), 12);
    EXPECT_EQ(chart.categories().mid(9), QStringList({"říj", "lis", "pro"}));
    const int last = int(chart.categories().size()) - 1;
    const MonthlyLine &december = lines[lines.size() - 2];
    EXPECT_EQ(chart.toolTipText(MonthlyChart::Cumulative, last),
              QStringLiteral("Základ daně od začátku, prosinec 2024: %1 Kč")
                  .arg(formatMonthlyAmount(december.taxBaseCumulative, QLocale(QLocale::Czech))));
    EXPECT_EQ(chart.toolTipText(MonthlyChart::Income, last + 1), QString());
    // Amounts on the axis in the program's format: groups of three, no decimals.
    const QStringList labels = chart.amountLabels();
    ASSERT_GE(labels.size(), 3);
    EXPECT_TRUE(labels.last().contains(u' ')) << labels.last().toStdString();
    EXPECT_FALSE(labels.last().contains(u',')) << labels.last().toStdString();
}

TEST_F(ReportViewTest, ReportOfTheFinalOverviewOnlySaysWhyThereAreNoMonths)
{
    auto filter = std::make_unique<TReportFilter>(s_demo->app());
    filter->PouzeZaverecnyPrehled = true;
    TPenDenReport report(s_demo->app(), std::move(filter));
    ASSERT_TRUE(report.Generate());
    TfrmPenDenReport *view = open(report);
    view->ShowMonthlyOverview(true);
    EXPECT_TRUE(view->panMonthlyOverview->lblNoMonths->isVisible());
    EXPECT_FALSE(view->panMonthlyOverview->grMonths->isVisible());
}

} // namespace
} // namespace kasovka
