#pragma once
// What a generated report holds, for its readers: the groups in Skupiny
// order and, for each, where its records are — its journal rows in Denik
// (in Denik order) and its carried record in Prevedeno — and the record of
// the opening balances in PocatecniStav. Group g is Skupiny record g, which
// holds its column sums and the eight totals (groupTotalFieldNames()).
//
// Positions count every record of a table in table order and are read with
// TMemTable::recordValue and its kin, which never move a cursor: the view,
// print, export and JSON read one report side by side, and none sets a
// filter, a master link or a cursor that another would then see.
//
//     const ReportResult &result = report.Result();
//     for (int g = 0; g < result.groupCount(); ++g)
//         for (int record : result.group(g).rows)
//             use(result.denik().recordValue(record, field));
//
// The engine builds it while writing the tables, so no reader regroups the
// journal by its link field.

#include <QString>
#include <QtGlobal>

#include <vector>

namespace kasovka {

class TMemTable;

class ReportResult {
public:
    struct Group {
        qint64 id = 0;         // Skupiny ID
        int carried = -1;      // Prevedeno record; -1: none
        std::vector<int> rows; // Denik records, in Denik order
    };

    // No groups over the given tables; none of them is owned.
    ReportResult(const TMemTable &skupiny, const TMemTable &denik, const TMemTable &prevedeno,
                 const TMemTable &pocatecniStav);
    // `groups` in Skupiny order, one per Skupiny record; `opening`: the
    // PocatecniStav record, -1 for none; `groupOfRow`: each Denik record's
    // group as `groups` tell it, or empty to have it worked out from them.
    ReportResult(const TMemTable &skupiny, const TMemTable &denik, const TMemTable &prevedeno,
                 const TMemTable &pocatecniStav, std::vector<Group> groups, int opening,
                 std::vector<int> groupOfRow = {});

    int groupCount() const { return int(m_groups.size()); }
    // Throws for a group out of range.
    const Group &group(int index) const;
    // The group with this Skupiny ID, -1 when none has it.
    int groupOfId(qint64 id) const;
    // The group of a Denik record, -1 for none. A reader that sums every
    // group walks Denik in table order with it: group by group, the records
    // lie scattered and each read would wait for memory.
    int groupOfRow(int record) const
    {
        return record >= 0 && size_t(record) < m_groupOfRow.size() ? m_groupOfRow[size_t(record)] : -1;
    }
    // The group's Nazev; empty for a group out of range.
    QString groupName(int index) const;
    // The first group whose Zkratka is `code`, letter case ignored; -1 for none.
    int groupOfCode(const QString &code) const;
    // The group the Skupiny cursor stands on: the report's current group,
    // which the view's group list and the group tables window choose; -1
    // when there is none.
    int currentGroup() const;
    // The PocatecniStav record, -1 when the report has no opening balances.
    int openingRecord() const { return m_opening; }

    const TMemTable &skupiny() const { return *m_skupiny; }
    const TMemTable &denik() const { return *m_denik; }
    const TMemTable &prevedeno() const { return *m_prevedeno; }
    const TMemTable &pocatecniStav() const { return *m_pocatecniStav; }

private:
    void index();

    const TMemTable *m_skupiny;
    const TMemTable *m_denik;
    const TMemTable *m_prevedeno;
    const TMemTable *m_pocatecniStav;
    std::vector<Group> m_groups;
    // Group by ID: IDs count from 1 in a report's tables, so a vector serves.
    std::vector<int> m_groupById;
    std::vector<int> m_groupOfRow; // by Denik record
    int m_opening = -1;
};

} // namespace kasovka
