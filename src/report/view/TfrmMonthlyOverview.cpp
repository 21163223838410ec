#include "report/view/TfrmMonthlyOverview.h"

#include "filter/TReportFilter.h"
#include "report/MonthlyColumns.h"
#include "report/TPenDenReport.h"
#include "report/view/CaptionLabel.h"
#include "report/view/MonthlyChart.h"
#include "report/view/ReportGrid.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kasovka {

namespace {

constexpr int RowHeight = 19;
// Lines the table keeps when the window is short of room.
constexpr int MinimumLines = 2;
// Lines it asks room for; more scroll.
constexpr int MaximumLines = 20;
// The chart's height when the table is short: a quarter still gets a
// readable chart.
constexpr int ChartHeight = 280;

const int ColumnCount = int(monthlyColumns().size());


} // namespace

QIcon monthlyOverviewIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor bars[] = {QColor(76, 154, 42), QColor(192, 80, 77), QColor(76, 154, 42), QColor(192, 80, 77)};
    const int heights[] = {14, 9, 20, 12};
    for (int i = 0; i < 4; ++i)
        painter.fillRect(QRect(3 + i * 7, 29 - heights[i], 5, heights[i]), bars[i]);
    painter.setPen(QPen(QColor(31, 58, 147), 2.5));
    painter.drawPolyline(QPolygon({QPoint(4, 20), QPoint(12, 15), QPoint(19, 10), QPoint(28, 4)}));
    return QIcon(pixmap);
}

TfrmMonthlyOverview::TfrmMonthlyOverview(TPenDenReport &report, QWidget *parent, const QLocale &locale)
    : QWidget(parent), m_report(report), m_skupiny(&report.Skupiny()), m_locale(locale)
{
    setObjectName(QStringLiteral("panMonthlyOverview"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(0);
    m_header = buildHeader();
    layout->addWidget(m_header);

    lblNoMonths = new QLabel(QStringLiteral("Sestava obsahuje jen závěrečný přehled. Měsíční přehled se "
                                            "sestavuje z řádků peněžního deníku, zvolte sestavu s řádky."),
                             this);
    lblNoMonths->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(lblNoMonths);

    auto *body = new QSplitter(Qt::Horizontal, this);
    body->setChildrenCollapsible(false);
    grMonths = new QTableWidget(0, ColumnCount, body);
    grMonths->setObjectName(QStringLiteral("grMonths"));
    buildTable();
    chMonths = new MonthlyChart(body, m_locale);
    chMonths->setObjectName(QStringLiteral("chMonths"));
    chMonths->setMinimumSize(320, 90);
    body->addWidget(grMonths);
    body->addWidget(chMonths);
    body->setStretchFactor(1, 1);
    layout->addWidget(body, 1);

    const bool hasMonths = report.MonthlyOverview() && report.MonthlyOverview()->hasMonths();
    lblNoMonths->setVisible(!hasMonths);
    body->setVisible(hasMonths);
    m_skupiny->addListener(this);
}

TfrmMonthlyOverview::~TfrmMonthlyOverview()
{
    if (m_skupiny)
        m_skupiny->removeListener(this);
}

QWidget *TfrmMonthlyOverview::buildHeader()
{
    auto *header = new QWidget(this);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(6, 6, 6, 4);
    auto *icon = new QLabel(header);
    icon->setPixmap(monthlyOverviewIcon().pixmap(20, 20));
    row->addWidget(icon);
    row->addWidget(captionLabel(QStringLiteral("Měsíční přehled"), header));
    const bool grouped = m_report.Filter().VertikalniDeleni != sgkNone;
    QLabel *groupCaption = captionLabel(QStringLiteral("- sumační skupina"), header);
    lblGroupName = captionLabel(QString(), header);
    groupCaption->setVisible(grouped);
    lblGroupName->setVisible(grouped);
    row->addWidget(groupCaption);
    row->addWidget(lblGroupName);
    row->addStretch(1);
    return header;
}

void TfrmMonthlyOverview::buildTable()
{
    QStringList titles;
    for (const MonthlyColumn &column : monthlyColumns()) {
        QString title = QString::fromUtf8(column.caption);
        if (*column.number)
            title += u'\n' + QString::fromLatin1(column.number);
        titles.append(title);
    }
    grMonths->setHorizontalHeaderLabels(titles);
    grMonths->verticalHeader()->hide();
    grMonths->verticalHeader()->setDefaultSectionSize(RowHeight);
    grMonths->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grMonths->setSelectionMode(QAbstractItemView::NoSelection);
    grMonths->setFocusPolicy(Qt::NoFocus);
    grMonths->setWordWrap(false);
    QFont bold = grMonths->horizontalHeader()->font();
    bold.setBold(true);
    grMonths->horizontalHeader()->setFont(bold);
    grMonths->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
}

void TfrmMonthlyOverview::fillTable(const std::vector<MonthlyLine> &lines)
{
    grMonths->setRowCount(int(lines.size()));
    for (int row = 0; row < int(lines.size()); ++row) {
        const MonthlyLine &line = lines[size_t(row)];
        const bool total = line.kind == MonthlyLine::Kind::Total;
        const bool shaded = total || line.kind == MonthlyLine::Kind::Carried;
        for (int column = 0; column < ColumnCount; ++column) {
            const QString text = monthlyCellText(line, column, m_locale);
            auto *item = new QTableWidgetItem(text);
            item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            if (shaded)
                item->setBackground(lightShade());
            if (total) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
            grMonths->setItem(row, column, item);
        }
    }
    grMonths->resizeColumnsToContents();
    // The table keeps its full width and the chart takes the rest.
    int width = 2 * grMonths->frameWidth() + grMonths->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < ColumnCount; ++column)
        width += grMonths->columnWidth(column);
    grMonths->setMinimumWidth(width);
    const int titles = grMonths->horizontalHeader()->sizeHint().height() + 2 * grMonths->frameWidth();
    m_tableHeight = titles + RowHeight * std::min(grMonths->rowCount(), MaximumLines);
    grMonths->setMinimumHeight(titles + RowHeight * MinimumLines);
    updateGeometry();
}

QSize TfrmMonthlyOverview::sizeHint() const
{
    QSize hint = QWidget::sizeHint();
    if (m_tableHeight > 0 && lblNoMonths->isHidden())
        hint.setHeight(m_header->sizeHint().height() + std::max(m_tableHeight, ChartHeight)
                       + layout()->contentsMargins().bottom());
    return hint;
}

void TfrmMonthlyOverview::refresh()
{
    if (!isVisible() || !m_skupiny)
        return;
    const bool hasRecord = m_skupiny->isActive() && m_skupiny->hasCurrent();
    const qint64 group = hasRecord ? m_skupiny->asInteger(QStringLiteral("ID")) : 0;
    lblGroupName->setText(hasRecord ? m_skupiny->asText(QStringLiteral("Nazev")) : QString());
    if (group == m_shownGroup)
        return;
    m_shownGroup = group;
    const TMonthlyOverview *overview = m_report.MonthlyOverview();
    const std::vector<MonthlyLine> lines = overview ? overview->lines(group) : std::vector<MonthlyLine>();
    fillTable(lines);
    chMonths->setLines(lines);
}

void TfrmMonthlyOverview::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
}

void TfrmMonthlyOverview::tableDestroyed(TMemTable &)
{
    m_skupiny = nullptr;
}

} // namespace kasovka
