#pragma once
// MemTableModel: a read-only Qt table model over one TMemTable, the grid side
// of every data-aware display in the program (selection lists, report view,
// group tables, export windows).
//
// What it shows
//   One model row per visible record of the table (filter and master/detail
//   link applied), in table order; one model column per MemTableColumn. The
//   columns name table fields, so a table with fifty fields can show three.
//
// Following the cursor, both ways
//   - The table's cursor moves (first(), locate(), a master move, ...): the
//     model emits currentRowChanged(row); a MemTableSelectionLink turns that
//     into the view's current, selected row.
//   - The user clicks or keys to another row: setCurrentRow(row) moves the
//     table's cursor, so code reading the table's current record sees what
//     the user picked.
//
// Staying fast on large tables
//   data() reads only the cell asked for, through TMemTable::valueAt of that
//   visible row: painting never moves the cursor, nothing is cached but the
//   row count, and a view asks only for the rows it paints, so 100,000
//   visible rows cost what the visible screenful costs. Field positions are
//   resolved once (and again after the table's structure is reset).
//
// Roles
//   Qt::DisplayRole        the cell as text: currency in the column's display
//                          format (or the field's own) through formatAmount,
//                          dates in the short date format (zero date empty),
//                          Booleans "Ano"/"Ne", empty fields "".
//   Qt::EditRole           the plain value: qlonglong, double (Float and
//                          Currency), QString, bool, QDate; invalid when empty.
//   Qt::TextAlignmentRole  the column's alignment (numbers right by default).
//   Qt::BackgroundRole     the column's background colour, when set.
//   ValueRole              the cell as a kasovka::Variant in a QVariant.
//   Header DisplayRole     the column title; "\n" breaks it into lines.
//
// Usage
//     MemTableModel model(table, {{"Zkrat", "Zkratka", 80},
//                                 {"Castka", "Částka\nKč", 110, Qt::AlignRight, QColor(255, 250, 230)}});
//     view->setModel(&model);
//     new MemTableSelectionLink(&model, view->selectionModel(), view);
//
// The table must outlive the model or announce its end through the listener
// (the model then shows nothing). GUI thread only.

#include "core/DateConvention.h"
#include "core/MemTable.h"

#include <QAbstractTableModel>
#include <QList>
#include <QLocale>
#include <QString>
#include <QVariant>

class QItemSelectionModel;

namespace kasovka {

struct MemTableColumn {
    QString field;            ///< table field shown (letter case ignored)
    QString title;            ///< header text; "\n" starts a new line
    int width = 0;            ///< preferred width in pixels; 0: the view's default
    Qt::Alignment alignment;  ///< empty: right for numbers and dates, left otherwise
    // A QColor or QBrush made by the caller (this library links Qt Core only
    // and passes it through untouched); invalid: the view's own colour.
    QVariant background;
    QString displayFormat;    ///< currency format ("# ##0.00"); empty: the field's own
};

// How a grid aligns a field's values: right for numbers and dates, left
// otherwise, vertically centred.
Qt::Alignment alignmentOfField(FieldType type);

class MemTableModel : public QAbstractTableModel, private TMemTableListener {
    Q_OBJECT
public:
    enum Role { ValueRole = Qt::UserRole + 1 };

    // Throws Error when a column names a field the table lacks. An inactive
    // table shows no rows until it is opened.
    MemTableModel(TMemTable &table, const QList<MemTableColumn> &columns,
                  QObject *parent = nullptr, const QLocale &locale = programLocale());
    ~MemTableModel() override;

    TMemTable *table() const { return m_table; }
    const QList<MemTableColumn> &columns() const { return m_columns; }
    const MemTableColumn &column(int column) const { return m_columns.at(column); }
    // Position of a column's field in the table, -1 when it is missing.
    int fieldOfColumn(int column) const { return m_fields.value(column, -1); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The cell's value without moving the cursor; Empty when out of range.
    Variant value(int row, int column) const;
    // The cell's display text (Qt::DisplayRole).
    QString displayText(int row, int column) const;

    // The table's current visible row, -1 when none.
    int currentRow() const;
    // Moves the table's cursor to the row (the view's click); a row out of
    // range is ignored.
    void setCurrentRow(int row);

Q_SIGNALS:
    // The table's cursor stands on another row now (-1: none).
    void currentRowChanged(int row);

private:
    void tableAboutToReset(TMemTable &) override;
    void tableReset(TMemTable &) override;
    void recordsAboutToBeInserted(TMemTable &, int row, int count) override;
    void recordsInserted(TMemTable &, int row, int count) override;
    void recordsAboutToBeRemoved(TMemTable &, int row, int count) override;
    void recordsRemoved(TMemTable &, int row, int count) override;
    void recordChanged(TMemTable &, int row) override;
    void cursorMoved(TMemTable &, int row) override;
    void tableDestroyed(TMemTable &) override;

    void resolveFields(bool throwOnMissing);
    Qt::Alignment defaultAlignment(int column) const;

    TMemTable *m_table;
    QList<MemTableColumn> m_columns;
    QList<int> m_fields;
    QLocale m_locale;
    // The row count the views know; it changes only inside begin/end pairs.
    int m_rowCount = 0;
    int m_pendingInsert = 0;
    int m_pendingRemove = 0;
    bool m_resetting = false;
};

// Keeps a view's selection and the table's cursor together: the model's
// current row becomes the view's current, selected row (the view scrolls to
// it), and a row the user makes current moves the cursor. Give it the
// view's selectionModel(); it lives as a child of `parent`.
class MemTableSelectionLink : public QObject {
    Q_OBJECT
public:
    MemTableSelectionLink(MemTableModel *model, QItemSelectionModel *selection,
                          QObject *parent);
    // Selects the model's current row in the view now.
    void syncFromTable();

private:
    void selectRow(int row);
    void viewRowChanged(const QModelIndex &current);

    MemTableModel *m_model;
    QItemSelectionModel *m_selection;
    bool m_updating = false;
};

} // namespace kasovka
