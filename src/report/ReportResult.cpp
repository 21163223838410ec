#include "report/ReportResult.h"

#include "core/Error.h"
#include "core/MemTable.h"

namespace kasovka {

namespace {
// Far above any report's group count; guards the ID vector.
constexpr qint64 MaxGroupId = 1 << 26;
} // namespace

ReportResult::ReportResult(const TMemTable &skupiny, const TMemTable &denik, const TMemTable &prevedeno,
                           const TMemTable &pocatecniStav)
    : m_skupiny(&skupiny), m_denik(&denik), m_prevedeno(&prevedeno), m_pocatecniStav(&pocatecniStav)
{
}

ReportResult::ReportResult(const TMemTable &skupiny, const TMemTable &denik, const TMemTable &prevedeno,
                           const TMemTable &pocatecniStav, std::vector<Group> groups, int opening,
                           std::vector<int> groupOfRow)
    : m_skupiny(&skupiny), m_denik(&denik), m_prevedeno(&prevedeno), m_pocatecniStav(&pocatecniStav),
      m_groups(std::move(groups)), m_groupOfRow(std::move(groupOfRow)), m_opening(opening)
{
    index();
}

void ReportResult::index()
{
    if (m_groupOfRow.empty()) {
        m_groupOfRow.assign(size_t(m_denik->totalRecordCount()), -1);
        for (size_t group = 0; group < m_groups.size(); ++group) {
            for (const int record : m_groups[group].rows) {
                if (record >= 0 && size_t(record) < m_groupOfRow.size())
                    m_groupOfRow[size_t(record)] = int(group);
            }
        }
    }
    for (size_t group = 0; group < m_groups.size(); ++group) {
        const qint64 id = m_groups[group].id;
        if (id <= 0 || id > MaxGroupId)
            continue;
        if (size_t(id) >= m_groupById.size())
            m_groupById.resize(size_t(id) + 1, -1);
        m_groupById[size_t(id)] = int(group);
    }
}

const ReportResult::Group &ReportResult::group(int index) const
{
    if (index < 0 || index >= groupCount())
        throw Error(QStringLiteral("Sestava nemá skupinu číslo %1.").arg(index));
    return m_groups[size_t(index)];
}

int ReportResult::groupOfId(qint64 id) const
{
    return id > 0 && size_t(id) < m_groupById.size() ? m_groupById[size_t(id)] : -1;
}

QString ReportResult::groupName(int index) const
{
    if (index < 0 || index >= groupCount())
        return QString();
    return m_skupiny->recordValue(index, m_skupiny->fieldIndex(QStringLiteral("Nazev"))).toText();
}

int ReportResult::groupOfCode(const QString &code) const
{
    if (m_groups.empty())
        return -1;
    const int field = m_skupiny->fieldIndex(QStringLiteral("Zkratka"));
    const QString wanted = code.toCaseFolded();
    for (int index = 0; index < groupCount(); ++index) {
        if (m_skupiny->recordValue(index, field).toText().toCaseFolded() == wanted)
            return index;
    }
    return -1;
}

int ReportResult::currentGroup() const
{
    if (!m_skupiny->isActive() || !m_skupiny->hasCurrent())
        return -1;
    return groupOfId(m_skupiny->asInteger(QStringLiteral("ID")));
}

} // namespace kasovka
