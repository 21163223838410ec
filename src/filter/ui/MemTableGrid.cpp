#include "filter/ui/MemTableGrid.h"

#include "core/model/MemTableModel.h"

#include <QHeaderView>
#include <QTableView>

namespace kasovka {

MemTableSelectionLink *bindMemTableGrid(QTableView *view, MemTableModel *model,
                                        const MemTableGridOptions &options)
{
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(options.rowLines);
    view->setWordWrap(false);
    view->setAlternatingRowColors(false);
    view->verticalHeader()->hide();
    // Rows of one fixed height: the view then never measures rows it does
    // not paint, which keeps large tables fast.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    QHeaderView *header = view->horizontalHeader();
    header->setVisible(options.titleRow);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignCenter);
    for (int column = 0; column < model->columnCount(); ++column) {
        if (model->column(column).width > 0)
            view->setColumnWidth(column, model->column(column).width);
    }
    header->setStretchLastSection(options.stretchLast);
    return new MemTableSelectionLink(model, view->selectionModel(), view);
}

} // namespace kasovka
