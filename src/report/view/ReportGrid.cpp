#include "report/view/ReportGrid.h"

#include "report/ReportColumns.h"

#include <QFont>
#include <QItemSelectionModel>
#include <QPainter>
#include <QPainterPath>
#include <QTableView>

#include <algorithm>

namespace kasovka {

QColor lightShade()
{
    return QColor(235, 235, 235);
}

QColor darkShade()
{
    return QColor(128, 128, 128);
}

ReportGridModel::ReportGridModel(TMemTable &table, const QList<MemTableColumn> &columns,
                                 QSet<int> whiteTextColumns, QHash<int, Qt::Alignment> titleAlignments,
                                 QObject *parent)
    : MemTableModel(table, columns, parent), m_whiteText(std::move(whiteTextColumns)),
      m_titleAlignments(std::move(titleAlignments))
{
}

QVariant ReportGridModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::ForegroundRole && index.isValid() && m_whiteText.contains(index.column()))
        return QColor(Qt::white);
    return MemTableModel::data(index, role);
}

QVariant reportGridTitleData(int section, int role, const QHash<int, Qt::Alignment> &alignments)
{
    switch (role) {
    case Qt::FontRole: {
        // A point smaller than the cells, so the bold titles fit the fixed
        // column widths.
        QFont font;
        font.setBold(true);
        if (font.pointSizeF() > 8)
            font.setPointSizeF(font.pointSizeF() - 1);
        return font;
    }
    case Qt::ForegroundRole:
        return QColor(96, 96, 96);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignments.value(section, Qt::AlignHCenter) | Qt::AlignVCenter);
    default:
        return QVariant();
    }
}

QVariant ReportGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        const QVariant title = reportGridTitleData(section, role, m_titleAlignments);
        if (title.isValid())
            return title;
    }
    return MemTableModel::headerData(section, orientation, role);
}

RowIndicatorHeader::RowIndicatorHeader(QWidget *parent) : QHeaderView(Qt::Vertical, parent)
{
    setSectionsClickable(false);
    setSectionResizeMode(QHeaderView::Fixed);
    setFixedWidth(14);
}

void RowIndicatorHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    painter->save();
    painter->fillRect(rect, palette().button());
    painter->setPen(palette().mid().color());
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    if (selectionModel() && selectionModel()->currentIndex().row() == logicalIndex) {
        const QPointF c = QRectF(rect).center();
        QPainterPath arrow;
        arrow.moveTo(c.x() - 3, c.y() - 4);
        arrow.lineTo(c.x() + 3, c.y());
        arrow.lineTo(c.x() - 3, c.y() + 4);
        arrow.closeSubpath();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->fillPath(arrow, Qt::black);
    }
    painter->restore();
}

void setupReportGridView(QTableView *view, QAbstractItemModel *model, const QList<MemTableColumn> &columns,
                         int rowHeight)
{
    auto *indicator = new RowIndicatorHeader(view);
    view->setVerticalHeader(indicator);
    // A header set on a view already on screen stays hidden until shown.
    indicator->show();
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setShowGrid(true);
    view->setWordWrap(false);
    view->setCornerButtonEnabled(false);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The minimum first: the default size is clamped to it.
    indicator->setMinimumSectionSize(rowHeight);
    indicator->setDefaultSectionSize(rowHeight);

    QHeaderView *titles = view->horizontalHeader();
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setSectionsClickable(false);
    titles->setHighlightSections(false);
    titles->setStretchLastSection(false);
    titles->setDefaultAlignment(Qt::AlignCenter);
    titles->setMinimumHeight(3 * titles->fontMetrics().height() + 8);
    // A column is never narrower than its title, so no title loses letters.
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].width > 0)
            view->setColumnWidth(i, std::max(columns[i].width, titles->sectionSizeHint(i)));

    // The current row stays marked when the focus is elsewhere.
    QPalette palette = view->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    view->setPalette(palette);

    // The indicator follows the current row.
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, indicator,
                     [indicator] { indicator->viewport()->update(); });
}

MemTableSelectionLink *setupReportGrid(QTableView *view, ReportGridModel *model, int rowHeight)
{
    setupReportGridView(view, model, model->columns(), rowHeight);
    auto *link = new MemTableSelectionLink(model, view->selectionModel(), view);
    link->syncFromTable();
    return link;
}

QString amountColumnTitle(int column)
{
    const AmountColumnInfo &info = amountColumnInfo(column);
    return QStringLiteral("%1\n%2\n[%3]")
        .arg(QString::fromUtf8(info.title1), QString::fromUtf8(info.title2))
        .arg(column);
}

} // namespace kasovka
