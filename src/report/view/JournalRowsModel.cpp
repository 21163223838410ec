#include "report/view/JournalRowsModel.h"

#include "report/ReportResult.h"
#include "report/TPenDenReport.h"
#include "report/view/ReportGrid.h"

namespace kasovka {

JournalRowsModel::JournalRowsModel(TPenDenReport &report, const QList<MemTableColumn> &columns,
                                   QSet<int> whiteTextColumns, QObject *parent)
    : QAbstractTableModel(parent), m_result(report.Result()), m_skupiny(&report.Skupiny()), m_columns(columns),
      m_whiteText(std::move(whiteTextColumns))
{
    const TMemTable &denik = m_result.denik();
    for (const MemTableColumn &column : m_columns)
        m_fields.append(denik.fieldIndex(column.field));
    m_group = m_result.currentGroup();
    m_skupiny->addListener(this);
}

JournalRowsModel::~JournalRowsModel()
{
    if (m_skupiny)
        m_skupiny->removeListener(this);
}

void JournalRowsModel::tableDestroyed(TMemTable &)
{
    m_skupiny = nullptr;
    beginResetModel();
    m_group = -1;
    endResetModel();
}

// The rows follow the group on every move of the Skupiny cursor, as a detail
// table follows its master.
void JournalRowsModel::showCurrentGroup()
{
    beginResetModel();
    m_group = m_result.currentGroup();
    endResetModel();
}

const std::vector<int> &JournalRowsModel::rows() const
{
    static const std::vector<int> none;
    return m_group >= 0 && m_group < m_result.groupCount() ? m_result.group(m_group).rows : none;
}

int JournalRowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows().size());
}

int JournalRowsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

Qt::Alignment JournalRowsModel::alignment(int column) const
{
    if (m_columns[column].alignment)
        return m_columns[column].alignment;
    return alignmentOfField(m_result.denik().fieldType(m_fields[column]));
}

QVariant JournalRowsModel::data(const QModelIndex &index, int role) const
{
    const std::vector<int> &records = rows();
    if (!index.isValid() || index.row() >= int(records.size()) || index.column() >= m_columns.size())
        return QVariant();
    const TMemTable &denik = m_result.denik();
    const int record = records[size_t(index.row())];
    const int field = m_fields[index.column()];
    switch (role) {
    case Qt::DisplayRole:
        return denik.recordDisplayText(record, field, m_locale);
    case MemTableModel::ValueRole:
        return QVariant::fromValue(denik.recordValue(record, field));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignment(index.column()));
    case Qt::BackgroundRole:
        return m_columns[index.column()].background;
    case Qt::ForegroundRole:
        return m_whiteText.contains(index.column()) ? QVariant(QColor(Qt::white)) : QVariant();
    default:
        return QVariant();
    }
}

QVariant JournalRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_columns[section].title;
    if (role == Qt::ToolTipRole)
        return columnTitleHint(m_columns[section].title);
    return reportGridTitleData(section, role, {});
}

Qt::ItemFlags JournalRowsModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace kasovka
