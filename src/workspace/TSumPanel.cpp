#include "workspace/TSumPanel.h"

#include "report/FinalOverviewLayout.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace kasovka {

namespace {
constexpr int RowHeight = 19;

// Scrolls the overview sideways where the window is narrower than its three
// columns, so that they never make the workspace wider than the screen.
class SidewaysScroll : public QScrollArea {
public:
    SidewaysScroll(QWidget *content, QWidget *parent) : QScrollArea(parent)
    {
        setWidget(content);
        setWidgetResizable(true);
        setFrameShape(QFrame::NoFrame);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        viewport()->setAutoFillBackground(false);
    }
    QSize sizeHint() const override { return {widget()->sizeHint().width(), neededHeight()}; }
    QSize minimumSizeHint() const override { return {0, neededHeight()}; }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QScrollArea::resizeEvent(event);
        // The bar below comes and goes with the width.
        updateGeometry();
    }

private:
    int neededHeight() const
    {
        const QSize content = widget()->minimumSizeHint();
        const bool narrow = width() < content.width();
        return content.height() + (narrow ? horizontalScrollBar()->sizeHint().height() : 0);
    }
};

} // namespace

void TSumPanel::ShowIn(QWidget *host)
{
    auto *window = new TfrmSumPanel(*this);
    window->setWindowFlags(Qt::Widget | Qt::FramelessWindowHint);
    QLayout *layout = host->layout() ? host->layout() : new QVBoxLayout(host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new SidewaysScroll(window, host));
    window->show();
}

TfrmSumPanel::TfrmSumPanel(TSumPanel &panel, QWidget *parent) : QWidget(parent), m_source(panel.DataSet())
{
    setObjectName(QStringLiteral("TfrmSumPanel"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 3, 6);
    layout->setSpacing(5);
    for (const std::vector<OverviewSection> &column : finalOverviewColumns()) {
        auto *grid = new QGridLayout;
        grid->setVerticalSpacing(0);
        for (int row = 0; row < OverviewRows; ++row) {
            grid->setRowMinimumHeight(row, RowHeight);
            grid->setRowStretch(row, 1);
        }
        for (const OverviewSection &placed : column)
            grid->addWidget(section(placed), placed.firstRow, 0, placed.rowSpan, 1);
        layout->addLayout(grid, 1);
    }
}

TfrmSumPanel::~TfrmSumPanel()
{
    if (m_table)
        m_table->removeListener(this);
}

QWidget *TfrmSumPanel::section(const OverviewSection &placed)
{
    auto *box = new QGroupBox(QString::fromUtf8(placed.caption), this);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(0);
    int row = 0;
    for (const OverviewItem &item : placed.items) {
        const QString field = QString::fromLatin1(item.field);
        auto *label = new QLabel(QString::fromUtf8(item.label), box);
        auto *value = new QLabel(box);
        value->setObjectName(field);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(110);
        if (isOverviewTotal(field)) {
            QFont bold = value->font();
            bold.setBold(true);
            value->setFont(bold);
            label->setFont(bold);
        }
        grid->addWidget(label, row, 0);
        grid->addWidget(value, row, 1);
        grid->setRowMinimumHeight(row, RowHeight);
        ++row;
        m_figures.insert(field, value);
        m_labels.insert(field, label->text());
        m_order.append(field);
    }
    grid->setColumnStretch(0, 1);
    // Room for bold amounts up to ten million without the columns moving as
    // the groups change; a larger amount widens its column.
    QFont bold = box->font();
    bold.setBold(true);
    grid->setColumnMinimumWidth(1, QFontMetrics(bold).horizontalAdvance(QStringLiteral("-9 999 999,99")));
    return box;
}

void TfrmSumPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_table)
        return;
    m_table = &m_source;
    m_table->addListener(this);
    refresh();
}

void TfrmSumPanel::refresh()
{
    if (!m_table)
        return;
    const bool hasRecord = m_table->isActive() && m_table->hasCurrent();
    const int row = hasRecord ? m_table->recNo() : -1;
    for (const QString &field : m_order) {
        QString text;
        if (hasRecord) {
            int position = m_fieldPositions.value(field, -2);
            if (position == -2) {
                position = m_table->findField(field);
                m_fieldPositions.insert(field, position);
            }
            if (position >= 0)
                text = m_table->displayTextAt(row, position, m_locale);
        }
        m_figures.value(field)->setText(text);
    }
}

void TfrmSumPanel::tableDestroyed(TMemTable &)
{
    m_table = nullptr;
    for (QLabel *label : std::as_const(m_figures))
        label->clear();
}

} // namespace kasovka
