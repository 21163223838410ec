#include "report/view/TGroupList.h"

#include "core/model/MemTableModel.h"
#include "ui/ReportIcons.h"

#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

namespace kasovka {

namespace {
enum GroupColumn { Key, Name, Income, Expense, TaxBase };

QString cell(const QModelIndex &index, int column)
{
    return index.sibling(index.row(), column).data().toString();
}
} // namespace

void TGroupPanelDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    painter->save();
    const QRect r = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(r, selected ? QColor(224, 224, 224) : QColor(Qt::white));
    painter->setPen(QColor(200, 200, 200));
    painter->drawLine(r.bottomLeft(), r.bottomRight());

    const int line = option.fontMetrics.height() + 1;
    const int left = r.left() + 30;
    const int width = r.right() - 8 - left;
    int y = r.top() + std::max(3, (r.height() - 5 * line) / 2);
    painter->drawPixmap(r.left() + 6, y + 1, reportPixmap(ReportIcon::Group, 18));

    QFont bold = option.font;
    bold.setBold(true);
    painter->setFont(bold);
    painter->setPen(Qt::black);
    const QFontMetrics boldMetrics(bold);
    painter->drawText(QRect(left, y, width, line), Qt::AlignLeft | Qt::AlignVCenter,
                      boldMetrics.elidedText(cell(index, Key), Qt::ElideRight, width));
    y += line;
    painter->setFont(option.font);
    painter->drawText(QRect(left, y, width, line), Qt::AlignLeft | Qt::AlignVCenter,
                      option.fontMetrics.elidedText(cell(index, Name), Qt::ElideRight, width));
    y += line;
    const struct {
        const char *label;
        int column;
    } figures[] = {{"Příjem celkem:", Income}, {"Výdej celkem:", Expense}, {"Základ daně:", TaxBase}};
    for (const auto &figure : figures) {
        if (figure.column == TaxBase)
            painter->setPen(QColor(0, 0, 128));
        const QRect box(left, y, width, line);
        painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(figure.label));
        painter->drawText(box, Qt::AlignRight | Qt::AlignVCenter, cell(index, figure.column));
        y += line;
    }
    painter->restore();
}

QSize TGroupPanelDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return QSize(option.rect.width() > 0 ? option.rect.width() : 200, m_panelHeight);
}

TGroupList::TGroupList(TMemTable &skupiny, QWidget *parent)
    : QListView(parent), m_delegate(new TGroupPanelDelegate(this))
{
    setObjectName(QStringLiteral("cgrSkupiny"));
    m_model = new MemTableModel(skupiny,
                                {{QStringLiteral("Zkratka"), QString()},
                                 {QStringLiteral("Nazev"), QString()},
                                 {QStringLiteral("Col11"), QString()},
                                 {QStringLiteral("Col12"), QString()},
                                 {QStringLiteral("ZakladDane"), QString()}},
                                this);
    setModel(m_model);
    setItemDelegate(m_delegate);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    viewport()->setCursor(Qt::PointingHandCursor);
    auto *link = new MemTableSelectionLink(m_model, selectionModel(), this);
    link->syncFromTable();
}

void TGroupList::FitToHeight()
{
    const int height = this->height();
    m_visiblePanels = std::max(1, height / PanelUnit);
    const int panelHeight = std::max(PanelUnit, height / m_visiblePanels);
    if (panelHeight == m_delegate->panelHeight())
        return;
    m_delegate->setPanelHeight(panelHeight);
    doItemsLayout();
    if (currentIndex().isValid())
        scrollTo(currentIndex());
}

void TGroupList::resizeEvent(QResizeEvent *event)
{
    QListView::resizeEvent(event);
    FitToHeight();
}

} // namespace kasovka
