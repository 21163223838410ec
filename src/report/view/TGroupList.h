#pragma once
// cgrSkupiny: the report view's list of summation groups, one equal panel per
// Skupiny record in one column. Each panel shows the group's key in bold,
// its name and its income, expense and tax base; the current group's panel
// is grey. The list follows the table's cursor and moves it on a click or an
// arrow key. It never inserts or deletes records.

#include <QListView>
#include <QStyledItemDelegate>

namespace kasovka {

class MemTableModel;
class TMemTable;

class TGroupPanelDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void setPanelHeight(int height) { m_panelHeight = height; }
    int panelHeight() const { return m_panelHeight; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int m_panelHeight = 85;
};

class TGroupList : public QListView {
    Q_OBJECT
public:
    // Height in pixels a panel needs; the list shows height / this panels.
    static constexpr int PanelUnit = 85;

    // The model shows Zkratka, Nazev, Col11, Col12 and ZakladDane of
    // Skupiny, in that order; it becomes a child of the list.
    explicit TGroupList(TMemTable &skupiny, QWidget *parent = nullptr);

    MemTableModel *groupModel() const { return m_model; }
    // Number of panels that fit the list's height; at least one, so a list
    // squeezed below one panel still shows its current group.
    int VisiblePanelCount() const { return m_visiblePanels; }
    int PanelHeight() const { return m_delegate->panelHeight(); }
    // Recomputes the panel count and height from the list's height.
    void FitToHeight();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    MemTableModel *m_model;
    TGroupPanelDelegate *m_delegate;
    int m_visiblePanels = 1;
};

} // namespace kasovka
