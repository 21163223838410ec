#include "core/model/MemTableModel.h"

#include "core/DisplayFormat.h"
#include "core/Error.h"

#include <QItemSelectionModel>

namespace kasovka {

MemTableModel::MemTableModel(TMemTable &table, const QList<MemTableColumn> &columns,
                             QObject *parent, const QLocale &locale)
    : QAbstractTableModel(parent), m_table(&table), m_columns(columns), m_locale(locale)
{
    if (m_table->isActive() || m_table->fieldCount() > 0)
        resolveFields(true);
    else
        m_fields = QList<int>(m_columns.size(), -1);
    m_rowCount = m_table->isActive() ? m_table->recordCount() : 0;
    m_table->addListener(this);
}

MemTableModel::~MemTableModel()
{
    if (m_table)
        m_table->removeListener(this);
}

void MemTableModel::resolveFields(bool throwOnMissing)
{
    m_fields.clear();
    for (const MemTableColumn &column : std::as_const(m_columns)) {
        const int field = m_table ? m_table->findField(column.field) : -1;
        if (field < 0 && throwOnMissing)
            m_table->fieldIndex(column.field); // throws the table's own "not found" text
        m_fields.append(field);
    }
}

int MemTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int MemTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

Variant MemTableModel::value(int row, int column) const
{
    if (!m_table || !m_table->isActive() || row < 0 || row >= m_rowCount
        || row >= m_table->recordCount() || column < 0 || column >= m_columns.size())
        return Variant();
    const int field = m_fields.at(column);
    if (field < 0)
        return Variant();
    return m_table->valueAt(row, field);
}

QString MemTableModel::displayText(int row, int column) const
{
    if (!m_table || !m_table->isActive() || row < 0 || row >= m_rowCount
        || row >= m_table->recordCount() || column < 0 || column >= m_columns.size())
        return QString();
    const int field = m_fields.at(column);
    if (field < 0)
        return QString();
    const QString &format = m_columns.at(column).displayFormat;
    if (!format.isEmpty() && m_table->fieldType(field) == FieldType::Currency) {
        if (m_table->isNullAt(row, field))
            return QString();
        return formatAmount(m_table->valueAt(row, field).toCurrency(), format, m_locale);
    }
    return m_table->displayTextAt(row, field, m_locale);
}

namespace {

QVariant plainValue(const Variant &value)
{
    switch (value.kind()) {
    case Variant::Kind::Empty:
        return QVariant();
    case Variant::Kind::Integer:
        return QVariant(qlonglong(value.toInt()));
    case Variant::Kind::Float:
    case Variant::Kind::Currency:
        return QVariant(value.toDouble());
    case Variant::Kind::Text:
        return QVariant(value.toText());
    case Variant::Kind::Boolean:
        return QVariant(value.toBool());
    case Variant::Kind::Date:
        return QVariant(toQDate(value.toDate()));
    }
    return QVariant();
}

} // namespace

QVariant MemTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rowCount || index.column() >= m_columns.size())
        return QVariant();
    const MemTableColumn &column = m_columns.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return displayText(index.row(), index.column());
    case Qt::EditRole:
        return plainValue(value(index.row(), index.column()));
    case ValueRole:
        return QVariant::fromValue(value(index.row(), index.column()));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(column.alignment ? column.alignment
                                                    : defaultAlignment(index.column()));
    case Qt::BackgroundRole:
        return column.background;
    default:
        return QVariant();
    }
}

Qt::Alignment MemTableModel::defaultAlignment(int column) const
{
    const int field = m_fields.value(column, -1);
    if (field < 0 || !m_table)
        return Qt::AlignLeft | Qt::AlignVCenter;
    return alignmentOfField(m_table->fieldType(field));
}

Qt::Alignment alignmentOfField(FieldType type)
{
    switch (type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::Currency:
    case FieldType::DateTime:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

QVariant MemTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    const MemTableColumn &column = m_columns.at(section);
    if (role == Qt::DisplayRole)
        return column.title;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return QVariant();
}

Qt::ItemFlags MemTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

int MemTableModel::currentRow() const
{
    return m_table && m_table->isActive() ? m_table->recNo() : -1;
}

void MemTableModel::setCurrentRow(int row)
{
    if (!m_table || !m_table->isActive() || row < 0 || row >= m_table->recordCount())
        return;
    if (m_table->recNo() != row)
        m_table->setRecNo(row);
}

// ---- table notifications ---------------------------------------------------

void MemTableModel::tableAboutToReset(TMemTable &)
{
    if (m_resetting)
        return;
    m_resetting = true;
    beginResetModel();
}

void MemTableModel::tableReset(TMemTable &table)
{
    if (!m_resetting)
        beginResetModel();
    resolveFields(false);
    m_rowCount = table.isActive() ? table.recordCount() : 0;
    m_pendingInsert = m_pendingRemove = 0;
    m_resetting = false;
    endResetModel();
}

void MemTableModel::recordsAboutToBeInserted(TMemTable &, int row, int count)
{
    if (m_resetting || count <= 0)
        return;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    m_pendingInsert = count;
}

void MemTableModel::recordsInserted(TMemTable &table, int, int)
{
    if (m_resetting)
        return;
    if (m_pendingInsert == 0) {
        // Announced after the fact only: tell the views to re-read all.
        tableReset(table);
        return;
    }
    m_rowCount += m_pendingInsert;
    m_pendingInsert = 0;
    endInsertRows();
}

void MemTableModel::recordsAboutToBeRemoved(TMemTable &, int row, int count)
{
    if (m_resetting || count <= 0)
        return;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    m_pendingRemove = count;
}

void MemTableModel::recordsRemoved(TMemTable &table, int, int)
{
    if (m_resetting)
        return;
    if (m_pendingRemove == 0) {
        tableReset(table);
        return;
    }
    m_rowCount -= m_pendingRemove;
    m_pendingRemove = 0;
    endRemoveRows();
}

void MemTableModel::recordChanged(TMemTable &, int row)
{
    if (m_resetting || row < 0 || row >= m_rowCount || m_columns.isEmpty())
        return;
    Q_EMIT dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
}

void MemTableModel::cursorMoved(TMemTable &, int row)
{
    Q_EMIT currentRowChanged(row);
}

void MemTableModel::tableDestroyed(TMemTable &)
{
    beginResetModel();
    m_table = nullptr;
    m_rowCount = 0;
    m_fields = QList<int>(m_columns.size(), -1);
    endResetModel();
}

// ---- selection link ----------------------------------------------------------

MemTableSelectionLink::MemTableSelectionLink(MemTableModel *model,
                                             QItemSelectionModel *selection, QObject *parent)
    : QObject(parent), m_model(model), m_selection(selection)
{
    connect(m_model, &MemTableModel::currentRowChanged, this, &MemTableSelectionLink::selectRow);
    connect(m_selection, &QItemSelectionModel::currentRowChanged, this,
            &MemTableSelectionLink::viewRowChanged);
    // A reset or a removal clears the view's current index; put it back on
    // the cursor once the model is consistent again.
    connect(m_model, &QAbstractItemModel::modelReset, this, &MemTableSelectionLink::syncFromTable);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &MemTableSelectionLink::syncFromTable);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &MemTableSelectionLink::syncFromTable);
    syncFromTable();
}

void MemTableSelectionLink::syncFromTable()
{
    selectRow(m_model->currentRow());
}

void MemTableSelectionLink::selectRow(int row)
{
    if (m_updating)
        return;
    m_updating = true;
    if (row < 0 || row >= m_model->rowCount()) {
        m_selection->clear();
    } else {
        const QModelIndex target = m_model->index(row, 0);
        if (m_selection->currentIndex().row() != row || !m_selection->isRowSelected(row))
            m_selection->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect
                                                     | QItemSelectionModel::Rows);
    }
    m_updating = false;
}

void MemTableSelectionLink::viewRowChanged(const QModelIndex &current)
{
    if (m_updating || !current.isValid())
        return;
    m_updating = true;
    m_model->setCurrentRow(current.row());
    m_updating = false;
}

} // namespace kasovka
