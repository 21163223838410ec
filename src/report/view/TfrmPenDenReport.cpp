#include "report/view/TfrmPenDenReport.h"

#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "core/IniFile.h"
#include "filter/TReportFilter.h"
#include "report/ReportColumns.h"
#include "report/ReportHeading.h"
#include "report/TPenDenReport.h"
#include "report/view/JournalRowsModel.h"
#include "report/view/PrintButton.h"
#include "report/view/ReportGrid.h"
#include "report/view/CaptionLabel.h"
#include "ui/ReportIcons.h"
#include "report/view/ReportViewServices.h"
#include "report/view/TGroupList.h"
#include "report/view/TfrmMonthlyOverview.h"
#include "ui/WindowConventions.h"

#include <QFrame>
#include <QHeaderView>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace kasovka {

namespace {

constexpr int GroupsPanelWidth = 250;
constexpr int JournalRowHeight = 17;
const QString PanelsSection = QStringLiteral("ZobrazeniSestavy");
const QString SummaryHeightKey = QStringLiteral("VyskaZaverecnehoPrehledu");
const QString MonthlyHeightKey = QStringLiteral("VyskaMesicnihoPrehledu");

QWidget *filled(QWidget *widget, const QColor &colour)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    return widget;
}

QToolButton *flatButton(QWidget *parent, ReportIcon icon, const QString &text)
{
    return makeToolbarButton(reportIcon(icon), text, parent, 20);
}

QFrame *bevel(QWidget *parent, QFrame::Shape shape)
{
    QFrame *line = toolbarSeparator(parent);
    line->setFrameShape(shape);
    return line;
}


QLabel *iconLabel(ReportIcon icon, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setPixmap(reportPixmap(icon, 20));
    return label;
}

} // namespace

QList<MemTableColumn> denikColumns()
{
    QList<MemTableColumn> columns{
        {QStringLiteral("Poradi"), QStringLiteral("\nČíslo řádku\n[1]"), 80},
        {QStringLiteral("Datum"), QStringLiteral("\nDatum\n[2]"), 80},
        {QStringLiteral("Doklad_VS"), QStringLiteral("Číslo dokladu/\nvar. symb.\n[3]"), 110},
        {QStringLiteral("Popis"), QStringLiteral("\nPopis\n[4]"), 240},
    };
    for (int column = FirstAmountColumn; column <= LastAmountColumn; ++column) {
        QVariant shade;
        if (column == 5 || column == 6 || column == 9 || column == 10 || (column >= 16 && column <= 23)
            || column >= 29)
            shade = lightShade();
        else if (column == 11 || column == 12)
            shade = darkShade();
        columns.append({amountFieldName(column), amountColumnTitle(column), 118, {}, shade});
    }
    return columns;
}

QSet<int> denikWhiteTextColumns()
{
    const int firstAmount = 4;
    return {firstAmount + 11 - FirstAmountColumn, firstAmount + 12 - FirstAmountColumn};
}

TfrmPenDenReport::TfrmPenDenReport(TPenDenReport &report, IReportViewServices &services, QWidget *parent)
    : QWidget(parent), m_report(report), m_services(services)
{
    setObjectName(QStringLiteral("TfrmPenDenReport"));
    filled(this, Qt::white);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildButtonBar());

    panInfo = filled(new QWidget(this), Qt::white);
    auto *info = new QHBoxLayout(panInfo);
    info->setContentsMargins(8, 4, 8, 4);
    info->addWidget(iconLabel(ReportIcon::Info, panInfo));
    lblInfoText = new QLabel(panInfo);
    lblInfoText->setObjectName(QStringLiteral("lblInfoText"));
    QPalette warning = lblInfoText->palette();
    warning.setColor(QPalette::WindowText, QColor(160, 40, 20));
    lblInfoText->setPalette(warning);
    info->addWidget(lblInfoText, 1);
    layout->addWidget(panInfo);
    layout->addWidget(bevel(this, QFrame::HLine));

    auto *body = new QHBoxLayout;
    body->setSpacing(0);
    body->addWidget(buildGroupsPanel());
    body->addWidget(buildSelectedGroup(), 1);
    layout->addLayout(body, 1);
}

TfrmPenDenReport::~TfrmPenDenReport() = default;

QWidget *TfrmPenDenReport::buildButtonBar()
{
    panBtn = filled(new QWidget(this), QColor(232, 232, 232));
    panBtn->setObjectName(QStringLiteral("panBtn"));
    auto *bar = new QHBoxLayout(panBtn);
    bar->setContentsMargins(4, 2, 4, 2);
    bar->setSpacing(2);
    btnExport = flatButton(panBtn, ReportIcon::Workbook, QStringLiteral("Exportovat do Excelu"));
    btnPrint = makePrintButton(panBtn, [this](PrintOutput output) { PrintReport(output); });
    btnShowGroupsTable = flatButton(panBtn, ReportIcon::Table, QStringLiteral("Skupiny tabulkově"));
    btnShowHideGroupsPanel = flatButton(panBtn, ReportIcon::Groups, QStringLiteral("Skrýt skupiny"));
    btnShowHideFinalSummaryPanel = flatButton(panBtn, ReportIcon::Summary, QStringLiteral("Skrýt záv. přehled"));
    btnShowHideMonthlyOverview = flatButton(panBtn, ReportIcon::Summary, QStringLiteral("Měsíční přehled"));
    btnShowHideMonthlyOverview->setIcon(monthlyOverviewIcon());
    const QList<QToolButton *> buttons{btnExport, btnPrint, btnShowGroupsTable, btnShowHideGroupsPanel,
                                       btnShowHideFinalSummaryPanel, btnShowHideMonthlyOverview};
    btnExport->setToolTip(QStringLiteral("Exportovat sestavu do sešitu Excelu (Ctrl+E)"));
    btnPrint->setToolTip(QStringLiteral("Tisk sestavy nebo uložení do PDF (Ctrl+P)"));
    btnShowGroupsTable->setToolTip(QStringLiteral("Zobrazí sumační skupiny s jejich součty v tabulce"));
    btnShowHideGroupsPanel->setToolTip(QStringLiteral("Skryje nebo zobrazí seznam sumačních skupin"));
    btnShowHideFinalSummaryPanel->setToolTip(QStringLiteral("Skryje nebo zobrazí závěrečný přehled"));
    btnShowHideMonthlyOverview->setToolTip(QStringLiteral("Zobrazí nebo skryje měsíční přehled"));
    for (QToolButton *button : buttons) {
        // Reached with Tab, but a click leaves the focus where it was.
        button->setFocusPolicy(Qt::TabFocus);
        if (button != btnExport)
            bar->addWidget(bevel(panBtn, QFrame::VLine));
        bar->addWidget(button);
    }
    bar->addStretch(1);
    // The period stands in the tool bar, which is there anyway: a strip of
    // its own would take a journal row on a small screen.
    lblPeriod = new QLabel(panBtn);
    lblPeriod->setObjectName(QStringLiteral("lblPeriod"));
    bar->addWidget(lblPeriod);
    bar->addSpacing(6);
    connect(btnExport, &QToolButton::clicked, this, &TfrmPenDenReport::ExportReport);
    connect(btnShowGroupsTable, &QToolButton::clicked, this, &TfrmPenDenReport::ShowGroupTables);
    connect(btnShowHideGroupsPanel, &QToolButton::clicked, this, [this] { ShowGroups(!m_groupsVisible); });
    connect(btnShowHideFinalSummaryPanel, &QToolButton::clicked, this,
            [this] { ShowFinalSummary(!m_finalSummaryVisible); });
    connect(btnShowHideMonthlyOverview, &QToolButton::clicked, this,
            [this] { ShowMonthlyOverview(!m_monthlyOverviewVisible); });
    return panBtn;
}

QWidget *TfrmPenDenReport::buildGroupsPanel()
{
    panGroups = filled(new QWidget(this), Qt::white);
    panGroups->setObjectName(QStringLiteral("panGroups"));
    panGroups->setFixedWidth(GroupsPanelWidth);
    auto *column = new QVBoxLayout(panGroups);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    panGroupsHeader = filled(new QWidget(panGroups), Qt::white);
    auto *header = new QHBoxLayout(panGroupsHeader);
    header->setContentsMargins(6, 6, 6, 6);
    header->addWidget(iconLabel(ReportIcon::Groups, panGroupsHeader));
    lblGroupsHeaderCaption = captionLabel(QString(), panGroupsHeader);
    lblGroupsHeaderCaption->setWordWrap(true);
    header->addWidget(lblGroupsHeaderCaption, 1);
    column->addWidget(panGroupsHeader);
    column->addWidget(bevel(panGroups, QFrame::HLine));
    cgrSkupiny = new TGroupList(m_report.Skupiny(), panGroups);
    column->addWidget(cgrSkupiny, 1);

    auto *frame = new QWidget(this);
    auto *withLine = new QHBoxLayout(frame);
    withLine->setContentsMargins(0, 0, 0, 0);
    withLine->setSpacing(0);
    withLine->addWidget(panGroups);
    withLine->addWidget(bevel(frame, QFrame::VLine));
    // The separator goes and comes with the panel.
    frame->setObjectName(QStringLiteral("panGroupsFrame"));
    return frame;
}

QWidget *TfrmPenDenReport::buildSectionHeader(int icon, const QString &caption, QLabel *&groupCaption,
                                              QLabel *&groupName)
{
    auto *header = filled(new QWidget(this), Qt::white);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(6, 6, 6, 4);
    row->addWidget(iconLabel(ReportIcon(icon), header));
    row->addWidget(captionLabel(caption, header));
    groupCaption = captionLabel(QStringLiteral("- sumační skupina"), header);
    groupName = captionLabel(QString(), header);
    row->addWidget(groupCaption);
    row->addWidget(groupName);
    // The captions stay at the left when the group labels are hidden.
    row->addStretch(1);
    return header;
}

QWidget *TfrmPenDenReport::buildSelectedGroup()
{
    panSelectedGroup = filled(new QWidget(this), Qt::white);
    auto *column = new QVBoxLayout(panSelectedGroup);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    splPanels = new QSplitter(Qt::Vertical, panSelectedGroup);
    splPanels->setObjectName(QStringLiteral("splPanels"));
    splPanels->setChildrenCollapsible(false);
    column->addWidget(splPanels);

    panFinalSummary = filled(new QWidget(panSelectedGroup), Qt::white);
    panFinalSummary->setObjectName(QStringLiteral("panFinalSummary"));
    auto *summary = new QVBoxLayout(panFinalSummary);
    summary->setContentsMargins(0, 0, 0, 0);
    summary->setSpacing(0);
    summary->addWidget(buildSectionHeader(int(ReportIcon::Summary),
                                          QStringLiteral("Závěrečný přehled peněžního deníku"),
                                          lblFinalSummaryGroupCaption, lblFinalSummaryGroupName));
    panFinalSummaryHost = filled(new QWidget(panFinalSummary), Qt::white);
    panFinalSummaryHost->setObjectName(QStringLiteral("panFinalSummaryHost"));
    summary->addWidget(panFinalSummaryHost);
    // On a small screen the overview scrolls rather than push the rows out.
    auto *summaryScroll = new QScrollArea(splPanels);
    summaryScroll->setObjectName(QStringLiteral("scrFinalSummary"));
    summaryScroll->setWidgetResizable(true);
    summaryScroll->setFrameShape(QFrame::NoFrame);
    summaryScroll->setWidget(panFinalSummary);
    splPanels->addWidget(summaryScroll);

    panRows = filled(new QWidget(panSelectedGroup), Qt::white);
    panRows->setObjectName(QStringLiteral("panRows"));
    auto *rows = new QVBoxLayout(panRows);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    rows->addWidget(buildSectionHeader(int(ReportIcon::Rows), QStringLiteral("Řádky peněžního deníku"),
                                       lblRowsGroupCaption, lblRowsGroupName));
    grDenik = new QTableView(panRows);
    grDenik->setObjectName(QStringLiteral("grDenik"));
    rows->addWidget(grDenik, 1);
    splPanels->addWidget(panRows);
    splPanels->setStretchFactor(splPanels->indexOf(panRows), 1);
    // A drag moves the splitter many times: the file is written once after.
    m_saveHeights = new QTimer(this);
    m_saveHeights->setSingleShot(true);
    m_saveHeights->setInterval(500);
    connect(m_saveHeights, &QTimer::timeout, this, &TfrmPenDenReport::writePanelHeights);
    connect(splPanels, &QSplitter::splitterMoved, this, [this] {
        takePanelHeights();
        m_saveHeights->start();
    });
    return panSelectedGroup;
}

void TfrmPenDenReport::BindReport()
{
    m_report.Skupiny().first();
    {
        TIniFile ini(m_report.Application().SettingsFileName());
        const auto stored = [&ini](const QString &key) -> std::optional<int> {
            const int height = ini.ReadInteger(PanelsSection, key, -1);
            return height > 0 ? std::optional<int>(height) : std::nullopt;
        };
        m_summaryHeight = stored(SummaryHeightKey);
        m_monthlyHeight = stored(MonthlyHeightKey);
    }
    if (!m_denikModel) {
        m_denikModel = new JournalRowsModel(m_report, denikColumns(), denikWhiteTextColumns(), this);
        setupReportGridView(grDenik, m_denikModel, m_denikModel->columns(), JournalRowHeight);
        // Several rows at once, to copy them.
        grDenik->setSelectionMode(QAbstractItemView::ExtendedSelection);
        // Another group's rows start on the first, as a linked detail would.
        connect(m_denikModel, &QAbstractItemModel::modelReset, this, &TfrmPenDenReport::selectFirstRow);
        MemTableModel *groups = cgrSkupiny->groupModel();
        connect(groups, &MemTableModel::currentRowChanged, this, &TfrmPenDenReport::updateGroupNames);
        connect(groups, &MemTableModel::modelReset, this, &TfrmPenDenReport::updateGroupNames);
        connect(groups, &MemTableModel::dataChanged, this, &TfrmPenDenReport::updateGroupNames);
    }
    selectFirstRow();
    updateGroupNames();
    lblPeriod->setText(QStringLiteral("Období: ") + reportHeading(m_report).period);
    if (!m_finalSummary) {
        m_finalSummary = m_services.createFinalSummary(m_report);
        if (m_finalSummary)
            m_finalSummary->ShowIn(panFinalSummaryHost);
    }
    ShowFinalSummary(true);
    const bool grouped = m_report.Filter().VertikalniDeleni != sgkNone;
    ShowGroups(grouped);
    ShowGroupsWarning(grouped);
    btnShowHideGroupsPanel->setEnabled(grouped);
    btnShowGroupsTable->setEnabled(grouped);
    for (QLabel *label : {lblFinalSummaryGroupCaption, lblFinalSummaryGroupName, lblRowsGroupCaption,
                          lblRowsGroupName})
        label->setVisible(grouped);
}

QString TfrmPenDenReport::groupKindCaption() const
{
    return TReportFilter::SummationGroupKindName(m_report.Filter().VertikalniDeleni, GroupKindCaptionForm);
}

void TfrmPenDenReport::ShowFinalSummary(bool visible)
{
    m_finalSummaryVisible = visible;
    splPanels->widget(0)->setVisible(visible);
    applyPanelHeights();
    btnShowHideFinalSummaryPanel->setText(visible ? QStringLiteral("Skrýt záv. přehled")
                                                  : QStringLiteral("Zobrazit záv. přehled"));
}

void TfrmPenDenReport::ShowMonthlyOverview(bool visible)
{
    if (visible && !panMonthlyOverview) {
        panMonthlyOverview = new TfrmMonthlyOverview(m_report, splPanels);
        splPanels->insertWidget(1, panMonthlyOverview);
    }
    m_monthlyOverviewVisible = visible;
    if (panMonthlyOverview)
        panMonthlyOverview->setVisible(visible);
    applyPanelHeights();
    btnShowHideMonthlyOverview->setText(visible ? QStringLiteral("Skrýt měsíční přehled")
                                                : QStringLiteral("Měsíční přehled"));
}

void TfrmPenDenReport::ShowGroups(bool visible)
{
    m_groupsVisible = visible;
    panGroups->parentWidget()->setVisible(visible);
    btnShowHideGroupsPanel->setText(visible ? QStringLiteral("Skrýt skupiny") : QStringLiteral("Zobrazit skupiny"));
    lblGroupsHeaderCaption->setText(QStringLiteral("Sumační skupiny (%1)").arg(groupKindCaption()));
    fitGroupsPanel();
}

void TfrmPenDenReport::fitGroupsPanel()
{
    // Wide enough for the header on one line, up to a fifth of the view
    // (the journal needs the rest); beyond that the header wraps.
    const QLayout *header = panGroupsHeader->layout();
    const QMargins margins = header->contentsMargins();
    const int besideText = margins.left() + margins.right() + header->spacing()
                           + header->itemAt(0)->sizeHint().width();
    const int text = lblGroupsHeaderCaption->fontMetrics().horizontalAdvance(lblGroupsHeaderCaption->text());
    const int widest = std::max(GroupsPanelWidth, width() / 5);
    panGroups->setFixedWidth(std::clamp(text + besideText + 2, GroupsPanelWidth, widest));
}

void TfrmPenDenReport::ShowGroupsWarning(bool visible)
{
    m_infoVisible = visible;
    if (visible)
        lblInfoText->setText(QStringLiteral("Upozornění: jednotlivé sumační skupiny (%1) neobsahují počáteční "
                                            "stavy pokladny, banky a uzávěrkové úpravy.")
                                 .arg(groupKindCaption()));
    panInfo->setVisible(visible);
}

void TfrmPenDenReport::ShowGroupTables()
{
    m_services.showGroupTables(m_report, window());
}

void TfrmPenDenReport::ExportReport()
{
    m_services.exportReport(m_report, m_finalSummaryVisible, window());
}

void TfrmPenDenReport::PrintReport(PrintOutput output)
{
    m_services.printReport(m_report, m_finalSummaryVisible, m_monthlyOverviewVisible, window(), output);
}

void TfrmPenDenReport::FitGroupGrid()
{
    cgrSkupiny->FitToHeight();
}

void TfrmPenDenReport::selectFirstRow()
{
    if (m_denikModel->rowCount() > 0)
        grDenik->selectionModel()->setCurrentIndex(m_denikModel->index(0, 0), QItemSelectionModel::ClearAndSelect
                                                                                   | QItemSelectionModel::Rows);
}

void TfrmPenDenReport::updateGroupNames()
{
    const TMemTable &skupiny = m_report.Skupiny();
    const QString name = skupiny.isActive() ? skupiny.asText(QStringLiteral("Nazev")) : QString();
    lblFinalSummaryGroupName->setText(name);
    lblRowsGroupName->setText(name);
}

int TfrmPenDenReport::VisibleJournalRows() const
{
    return grDenik->viewport()->height() / std::max(1, grDenik->verticalHeader()->defaultSectionSize());
}

void TfrmPenDenReport::RememberPanelHeights()
{
    takePanelHeights();
    m_saveHeights->stop();
    writePanelHeights();
}

void TfrmPenDenReport::takePanelHeights()
{
    const QList<int> sizes = splPanels->sizes();
    if (m_finalSummaryVisible)
        m_summaryHeight = sizes.value(0);
    if (panMonthlyOverview && m_monthlyOverviewVisible)
        m_monthlyHeight = sizes.value(splPanels->indexOf(panMonthlyOverview));
}

void TfrmPenDenReport::writePanelHeights() const
{
    TIniFile ini(m_report.Application().SettingsFileName());
    if (m_summaryHeight)
        ini.WriteInteger(PanelsSection, SummaryHeightKey, *m_summaryHeight);
    if (m_monthlyHeight)
        ini.WriteInteger(PanelsSection, MonthlyHeightKey, *m_monthlyHeight);
}

// The overviews take the heights last given to them, else what they need,
// and the rows the rest; the rows' minimum (15 lines) wins over both.
void TfrmPenDenReport::applyPanelHeights()
{
    const int rowsMinimum = grDenik->horizontalHeader()->minimumHeight() + 15 * JournalRowHeight
                            + panRows->layout()->itemAt(0)->sizeHint().height()
                            + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    panRows->setMinimumHeight(rowsMinimum);
    int shown = 0;
    for (int i = 0; i < splPanels->count(); ++i)
        shown += splPanels->widget(i)->isVisibleTo(splPanels) ? 1 : 0;
    // The handles between the shown panes take their share of the height.
    const int total = splPanels->height() - splPanels->handleWidth() * std::max(0, shown - 1);
    if (total <= rowsMinimum)
        return;
    QWidget *summary = splPanels->widget(0);
    int summaryHeight = m_finalSummaryVisible ? m_summaryHeight.value_or(panFinalSummary->sizeHint().height()) : 0;
    int monthlyHeight = panMonthlyOverview && m_monthlyOverviewVisible
        ? m_monthlyHeight.value_or(panMonthlyOverview->sizeHint().height())
        : 0;
    // What the rows leave goes to the overviews in proportion.
    const int room = total - rowsMinimum;
    if (summaryHeight + monthlyHeight > room) {
        const double scale = double(room) / (summaryHeight + monthlyHeight);
        summaryHeight = int(summaryHeight * scale);
        monthlyHeight = monthlyHeight > 0 ? room - summaryHeight : 0;
    }
    QList<int> sizes;
    for (int i = 0; i < splPanels->count(); ++i) {
        QWidget *pane = splPanels->widget(i);
        if (pane == summary)
            sizes.append(summaryHeight);
        else if (pane == panMonthlyOverview)
            sizes.append(monthlyHeight);
        else
            sizes.append(total - summaryHeight - monthlyHeight);
    }
    splPanels->setSizes(sizes);
}

void TfrmPenDenReport::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitGroupsPanel();
    FitGroupGrid();
    applyPanelHeights();
}

void TfrmPenDenReport::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (grDenik->isVisible())
        grDenik->setFocus();
}

TfrmPenDenReport *ShowIn(TPenDenReport &report, QWidget *page, IReportViewServices &services)
{
    auto *view = new TfrmPenDenReport(report, services, page);
    view->setWindowFlags(Qt::Widget | Qt::FramelessWindowHint);
    auto *layout = page->layout() ? page->layout() : new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    view->show();
    view->BindReport();
    return view;
}

} // namespace kasovka
