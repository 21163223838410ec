#pragma once
// The journal grid's model: the rows of the report's current group (the
// group the Skupiny cursor stands on), read from Denik by record through
// the report's result. It links, filters and moves nothing: the journal
// table stays as every other reader sees it, and a report of a million rows
// is shown without a copy. When the current group changes the model is
// reset; the grid's current row is the view's own.
//
// Cells read as a MemTableModel's do (display text, alignment by field
// type, column background), with the report grid's title look and white
// text on the dark columns.

#include "core/DateConvention.h"
#include "core/MemTable.h"
#include "core/model/MemTableModel.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QLocale>
#include <QSet>

#include <vector>

namespace kasovka {

class ReportResult;
class TPenDenReport;

class JournalRowsModel : public QAbstractTableModel, private TMemTableListener {
    Q_OBJECT
public:
    // Throws Error when a column names a field Denik lacks. The report must
    // outlive the model or close its Skupiny first.
    JournalRowsModel(TPenDenReport &report, const QList<MemTableColumn> &columns, QSet<int> whiteTextColumns,
                     QObject *parent = nullptr);
    ~JournalRowsModel() override;

    const QList<MemTableColumn> &columns() const { return m_columns; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void tableReset(TMemTable &) override { showCurrentGroup(); }
    void cursorMoved(TMemTable &, int) override { showCurrentGroup(); }
    void tableDestroyed(TMemTable &) override;
    void showCurrentGroup();
    const std::vector<int> &rows() const;
    Qt::Alignment alignment(int column) const;

    const ReportResult &m_result;
    TMemTable *m_skupiny;
    QList<MemTableColumn> m_columns;
    QList<int> m_fields; // Denik field of each column
    QSet<int> m_whiteText;
    QLocale m_locale = programLocale();
    int m_group = -1; // the result's group shown
};

} // namespace kasovka
