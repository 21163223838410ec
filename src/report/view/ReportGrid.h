#pragma once
// The look shared by the program's report grids (the journal rows of the
// report view and the group tables window): read-only, whole-row selection
// that stays visible without focus, grid lines, bold grey three-line titles,
// shaded column groups and a row indicator that marks the current row.

#include "core/model/MemTableModel.h"

#include <QColor>
#include <QHash>
#include <QHeaderView>
#include <QSet>

class QTableView;

namespace kasovka {

// Column shades of the report grids.
QColor lightShade(); // RGB 235, 235, 235
QColor darkShade();  // RGB 128, 128, 128, with white text

// The title look of a report grid's column headers (bold, a point smaller,
// grey, centred unless `alignments` says otherwise); invalid for the roles
// it leaves to the model.
QVariant reportGridTitleData(int section, int role, const QHash<int, Qt::Alignment> &alignments);

// The hint of a column title: its lines on one line, the abbreviated column
// groups (PZZ, VDZUP, PNZD, VNZD) written out.
QString columnTitleHint(const QString &title);

// A MemTableModel that adds the title look (bold, grey, per-column
// alignment) and white text on the dark columns.
class ReportGridModel : public MemTableModel {
    Q_OBJECT
public:
    ReportGridModel(TMemTable &table, const QList<MemTableColumn> &columns, QSet<int> whiteTextColumns,
                    QHash<int, Qt::Alignment> titleAlignments = {}, QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QSet<int> m_whiteText;
    QHash<int, Qt::Alignment> m_titleAlignments;
};

// The vertical header: a narrow strip with a triangle beside the view's
// current row.
class RowIndicatorHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit RowIndicatorHeader(QWidget *parent = nullptr);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
};

// The view's selected cells as tab-separated lines, in row and column
// order, numbers with a decimal comma and no thousands separator, so that
// a spreadsheet pastes them as numbers.
QString copiedCells(const QTableView *view);

// Sets the view up over the model: column widths from `columns`, rows of
// `rowHeight` pixels; Ctrl+C and the context menu's "Kopírovat" copy the
// selected cells; Tab leaves the grid.
void setupReportGridView(QTableView *view, QAbstractItemModel *model, const QList<MemTableColumn> &columns,
                         int rowHeight);
// The same over a table's model, with the view's selection linked to the
// table's cursor.
MemTableSelectionLink *setupReportGrid(QTableView *view, ReportGridModel *model, int rowHeight);

// Title of the amount column 5..35: its two lines and "[n]".
QString amountColumnTitle(int column);

} // namespace kasovka
