#pragma once
// The view of one generated report inside a page of the report container:
// a button bar, an information strip, the summation groups on the left and,
// on the right, the selected group's final overview above its journal rows.
// The view reads the report's tables and never owns them.
//
//     TfrmPenDenReport *view = ShowIn(report, page, services);
//     ...
//     view->FitGroupGrid();  // after the container's window changed size

#include "report/view/ReportViewServices.h"

#include <QList>
#include <QSet>
#include <QWidget>

#include <memory>
#include <optional>

class QLabel;
class QSplitter;
class QTimer;
class QTableView;
class QToolButton;

namespace kasovka {

class JournalRowsModel;
class TGroupList;
class TfrmMonthlyOverview;
class TPenDenReport;
struct MemTableColumn;

class TfrmPenDenReport : public QWidget {
    Q_OBJECT
public:
    TfrmPenDenReport(TPenDenReport &report, IReportViewServices &services, QWidget *parent = nullptr);
    ~TfrmPenDenReport() override;

    TPenDenReport &Report() const { return m_report; }

    // Puts the group list on the first group, shows that group's rows,
    // embeds the final overview and sets the panels for the report's kind.
    // The group list moves the Skupiny cursor (the report's current group);
    // the journal grid reads the group's rows without linking Denik.
    void BindReport();
    void ShowFinalSummary(bool visible);
    void ShowGroups(bool visible);
    void ShowGroupsWarning(bool visible);
    // The monthly overview between the final overview and the rows; built
    // when first shown.
    void ShowMonthlyOverview(bool visible);
    void ShowGroupTables();
    void ExportReport();
    void PrintReport(PrintOutput output);
    // Fits the number of group panels to the group list's height.
    void FitGroupGrid();
    // Keeps the heights the user gave the final overview and the monthly
    // overview for the views opened later (the program's settings file);
    // moving the splitter does so once it has stopped.
    void RememberPanelHeights();
    // Journal rows the grid shows whole.
    int VisibleJournalRows() const;

    bool FinalSummaryVisible() const { return m_finalSummaryVisible; }
    bool GroupsVisible() const { return m_groupsVisible; }
    bool InfoVisible() const { return m_infoVisible; }
    bool MonthlyOverviewVisible() const { return m_monthlyOverviewVisible; }

    // Controls.
    QWidget *panBtn;
    QToolButton *btnExport;
    QToolButton *btnPrint;
    QToolButton *btnShowGroupsTable;
    QToolButton *btnShowHideGroupsPanel;
    QToolButton *btnShowHideFinalSummaryPanel;
    QToolButton *btnShowHideMonthlyOverview;
    QWidget *panInfo;
    QLabel *lblInfoText;
    QLabel *lblPeriod; // "Období: 1.1.2024 – 31.12.2024", at the right of the tool bar
    QWidget *panGroups;
    QWidget *panGroupsHeader;
    QLabel *lblGroupsHeaderCaption;
    TGroupList *cgrSkupiny;
    QWidget *panSelectedGroup;
    // The final overview, the monthly overview and the rows share the
    // height; the rows keep at least 15 lines.
    QSplitter *splPanels;
    QWidget *panFinalSummary;
    QWidget *panFinalSummaryHost; // where the final-overview panel sits
    QLabel *lblFinalSummaryGroupCaption;
    QLabel *lblFinalSummaryGroupName;
    QWidget *panRows;
    QLabel *lblRowsGroupCaption;
    QLabel *lblRowsGroupName;
    QTableView *grDenik;
    TfrmMonthlyOverview *panMonthlyOverview = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildButtonBar();
    QWidget *buildGroupsPanel();
    QWidget *buildSelectedGroup();
    QWidget *buildSectionHeader(int icon, const QString &caption, QLabel *&groupCaption, QLabel *&groupName);
    void updateGroupNames();
    void selectFirstRow();
    void fitGroupsPanel();
    QString groupKindCaption() const;
    void applyPanelHeights();
    void takePanelHeights();
    void writePanelHeights() const;

    TPenDenReport &m_report;
    IReportViewServices &m_services;
    JournalRowsModel *m_denikModel = nullptr;
    std::unique_ptr<IFinalSummaryPanel> m_finalSummary;
    bool m_finalSummaryVisible = false;
    bool m_groupsVisible = false;
    bool m_infoVisible = false;
    bool m_monthlyOverviewVisible = false;
    // The overviews' heights the user gave last, read from the settings
    // when the view binds; written a moment after the splitter stops.
    std::optional<int> m_summaryHeight, m_monthlyHeight;
    QTimer *m_saveHeights = nullptr;
};

// Creates the report's view borderless and filling the page, shows it and
// binds it. The page owns the view.
TfrmPenDenReport *ShowIn(TPenDenReport &report, QWidget *page, IReportViewServices &services);

// The journal grid's columns: Poradi, Datum, Doklad_VS, Popis, Col5..Col35.
QList<MemTableColumn> denikColumns();
// Columns of the journal grid that are dark with white text (Col11, Col12).
QSet<int> denikWhiteTextColumns();

} // namespace kasovka
