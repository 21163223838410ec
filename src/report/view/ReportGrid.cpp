#include "report/view/ReportGrid.h"

#include "report/ReportColumns.h"

#include <QAction>
#include <QClipboard>
#include <QFont>
#include <QGuiApplication>
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

QString columnTitleHint(const QString &title)
{
    static const std::pair<const char *, const char *> groups[] = {
        {"PZZ", "Příjmy zahrnované do základu daně"},
        {"VDZUP", "Výdaje na dosažení, zajištění a udržení příjmů"},
        {"PNZD", "Příjmy neovlivňující základ daně"},
        {"VNZD", "Výdaje neovlivňující základ daně"},
    };
    QStringList lines;
    for (const QString &line : title.split(QLatin1Char('\n'))) {
        QString text = line.trimmed();
        for (const auto &[abbreviation, name] : groups)
            if (text == QLatin1String(abbreviation))
                text = QString::fromUtf8(name);
        if (!text.isEmpty())
            lines.append(text);
    }
    return lines.join(QLatin1Char(' '));
}

QVariant ReportGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::ToolTipRole)
        return columnTitleHint(MemTableModel::headerData(section, orientation, Qt::DisplayRole).toString());
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

QString copiedCells(const QTableView *view)
{
    QModelIndexList cells = view->selectionModel() ? view->selectionModel()->selectedIndexes() : QModelIndexList();
    std::sort(cells.begin(), cells.end(), [](const QModelIndex &a, const QModelIndex &b) {
        return a.row() != b.row() ? a.row() < b.row() : a.column() < b.column();
    });
    QString text;
    int row = -1;
    for (const QModelIndex &cell : cells) {
        if (view->isColumnHidden(cell.column()))
            continue;
        if (row >= 0)
            text += cell.row() == row ? QLatin1Char('\t') : QLatin1Char('\n');
        row = cell.row();
        QString shown = cell.data(Qt::DisplayRole).toString();
        // Numbers as shown ("-1 234,50"), without the spaces that group them.
        const Variant::Kind kind = cell.data(MemTableModel::ValueRole).value<Variant>().kind();
        if (kind == Variant::Kind::Currency || kind == Variant::Kind::Float || kind == Variant::Kind::Integer)
            shown.remove(QChar(0x00A0)).remove(QLatin1Char(' ')).remove(QChar(0x202F));
        // A tab or line break inside a text would split the cell.
        for (QChar &c : shown)
            if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
                c = QLatin1Char(' ');
        text += shown;
    }
    return cells.isEmpty() ? text : text + QLatin1Char('\n');
}

namespace {

void addCopy(QTableView *view)
{
    auto *copy = new QAction(QStringLiteral("Kopírovat"), view);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(copy, &QAction::triggered, view,
                     [view] { QGuiApplication::clipboard()->setText(copiedCells(view)); });
    view->addAction(copy);
    view->setContextMenuPolicy(Qt::ActionsContextMenu);
}

} // namespace

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
    // Tab goes on to the next control instead of through the cells.
    view->setTabKeyNavigation(false);
    addCopy(view);
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
