// The third pass: the finished groups and rows written into the report
// tables.

#include "core/Error.h"
#include "core/MemTable.h"
#include "report/ReportWork.h"

#include <bit>

namespace kasovka {

namespace {

// All 31 columns; Col11 and Col12 follow their definitions.
void writeAllColumns(TMemTable &table, int col5, const AmountColumns &columns)
{
    for (int slot = 0; slot < AmountColumnCount; ++slot)
        table.setCurrency(col5 + slot, columns[size_t(slot)]);
    RecalcRowTotals(table, col5, columns);
}

// IDs were handed out while reading, in the order the tables number their
// records; a table that numbered differently would link rows to the wrong
// groups.
void expectId(const TMemTable &table, int idField, qint64 expected)
{
    if (table.asInteger(idField) != expected)
        throw Error(QStringLiteral("%1: záznam dostal číslo %2 místo %3.")
                        .arg(table.tableName())
                        .arg(table.asInteger(idField))
                        .arg(expected));
}

void writeGroupTotals(TMemTable &skupiny, const AmountColumns &columns)
{
    const GroupTotals totals = computeGroupTotals(columns);
    skupiny.setCurrency(SkupinyField::HotovostCeninyCelkem, totals.HotovostCeninyCelkem);
    skupiny.setCurrency(SkupinyField::BankUctyCelkem, totals.BankUctyCelkem);
    skupiny.setCurrency(SkupinyField::PrubPolozkyCelkem, totals.PrubPolozkyCelkem);
    skupiny.setCurrency(SkupinyField::ZakladDane, totals.ZakladDane);
    skupiny.setCurrency(SkupinyField::PrijmyZahrDoZaklCelkem, totals.PrijmyZahrDoZaklCelkem);
    skupiny.setCurrency(SkupinyField::VydajeNaZajPrijCelkem, totals.VydajeNaZajPrijCelkem);
    skupiny.setCurrency(SkupinyField::PrijmyNeovlZaklDaneCelkem, totals.PrijmyNeovlZaklDaneCelkem);
    skupiny.setCurrency(SkupinyField::VydajeNeovlZaklDaneCelkem, totals.VydajeNeovlZaklDaneCelkem);
}

// The Denik records of each group, by creation index, noted as they are
// written. The room is taken at its final size before the working rows are
// released: taken after, it would pay for the allocator tidying up after
// them.
struct WrittenRows {
    WrittenRows(const std::vector<int> &rowsOfGroup, size_t groups, size_t records)
        : byGroup(groups), groupOf(records, -1)
    {
        for (size_t index = 0; index < groups && index < rowsOfGroup.size(); ++index)
            byGroup[index].reserve(size_t(rowsOfGroup[index]));
    }
    void add(int group, int record)
    {
        byGroup[size_t(group)].push_back(record);
        groupOf[size_t(record)] = group;
    }
    std::vector<std::vector<int>> byGroup;
    std::vector<int> groupOf; // by Denik record
};

} // namespace

// Write: one pass per table, each in the order its records were created
// while reading, so that IDs, row numbers and order are those of reading.
//
// Example, the group of the reading example (sums Col5 350, Col6 50, Col13
// 350, Col16 50; carried Col5 100, Col13 100; Denik: carried row, row 2):
//   Skupiny  ID 1, LastPoradi 2, IDPrevedeno 1, Col11 350, Col12 50,
//            ZakladDane 300, HotovostCeninyCelkem 300, ...
//   Prevedeno ID 1, Parent_ID 1, Col5 100, Col13 100, Col11 100
//   Denik    ID 1 "Převedeno:" Poradi 0 with the carried columns;
//            ID 2 Poradi 2, Col5 250, Col6 50, Col13 250, Col16 50,
//            Col11 250, Col12 50, date and document of its last record
// and then Skupiny is ordered by name.
void TPenDenReport::writeReportTables()
{
    Work &w = *m_work;
    for (const std::unique_ptr<GroupWork> &group : w.groups) {
        m_skupiny.append();
        expectId(m_skupiny, SkupinyField::ID, group->index + 1);
        m_skupiny.setText(SkupinyField::Zkratka, group->key);
        if (group->named)
            m_skupiny.setText(SkupinyField::Nazev, group->name);
        m_skupiny.setInteger(SkupinyField::LastPoradi, group->lastPoradi);
        m_skupiny.setInteger(SkupinyField::IDPrevedeno, group->carriedRowId);
        if (group->hasLast) {
            m_skupiny.setText(SkupinyField::LastZdroj, group->lastZdroj);
            m_skupiny.setInteger(SkupinyField::LastZRadek, group->lastZRadek);
        }
        writeAllColumns(m_skupiny, SkupinyField::Col5, group->sums.columns);
        writeGroupTotals(m_skupiny, group->sums.columns);
        m_skupiny.post();

        m_prevedeno.append();
        m_prevedeno.setInteger(AmountsField::Parent_ID, group->index + 1);
        writeAllColumns(m_prevedeno, AmountsField::Col5, group->carried.columns);
        m_prevedeno.post();
    }

    QString dokladVs;
    AmountColumns rowColumns;
    WrittenRows written(w.denikRowsOfGroup, w.groups.size(), size_t(m_denik.totalRecordCount()) + w.denik.size());
    while (!w.denik.empty()) {
        const DenikEntry &entry = w.denik.front();
        const GroupWork &group = *w.groups[size_t(entry.group)];
        written.add(entry.group, m_denik.totalRecordCount());
        m_denik.append();
        m_denik.setInteger(DenikField::Parent_ID, group.index + 1);
        if (entry.kind == DenikEntry::Kind::Carried) {
            expectId(m_denik, DenikField::ID, group.carriedRowId);
            m_denik.setInteger(DenikField::Poradi, 0);
            m_denik.setText(DenikField::Popis, carriedRowText());
            writeAllColumns(m_denik, DenikField::Col5, group.carried.columns);
            m_denik.post();
            w.denik.pop_front();
            continue;
        }
        if (entry.kind == DenikEntry::Kind::Journal)
            m_denik.setInteger(DenikField::Poradi, entry.poradi);
        else
            m_denik.setText(DenikField::Popis, adjustmentsRowText());
        rowColumns.fill(Currency());
        int next = 0;
        for (quint32 bits = entry.touched; bits != 0; bits &= bits - 1) {
            const int slot = std::countr_zero(bits);
            rowColumns[size_t(slot)] = entry.amount(next++);
            m_denik.setCurrency(DenikField::Col5 + slot, rowColumns[size_t(slot)]);
        }
        if (entry.received)
            RecalcRowTotals(m_denik, DenikField::Col5, rowColumns);
        if (entry.described) {
            m_denik.setDate(DenikField::Datum, entry.datum);
            dokladVs = entry.doklad;
            if (!entry.varSym.isEmpty())
                dokladVs.append(QLatin1Char('/')).append(entry.varSym);
            m_denik.setText(DenikField::Doklad_VS, dokladVs.left(DenikDokladVsSize));
            m_denik.setText(DenikField::Popis, entry.popis.left(DenikPopisSize));
        }
        m_denik.post();
        w.denik.pop_front();
    }

    if (w.opening) {
        m_pocatecniStav.append();
        writeAllColumns(m_pocatecniStav, AmountsField::Col5, *w.opening);
        m_pocatecniStav.post();
    }
    orderGroups();
    indexResult(std::move(written.byGroup), std::move(written.groupOf));
    m_rowCountAll = m_denik.totalRecordCount();
}

// The groups in their final Skupiny order. A group's Skupiny ID is its
// creation index + 1, and its Prevedeno record was written at that index.
void TPenDenReport::indexResult(std::vector<std::vector<int>> rowsByGroup, std::vector<int> groupOfRow)
{
    std::vector<ReportResult::Group> groups(size_t(m_skupiny.totalRecordCount()));
    std::vector<int> position(rowsByGroup.size(), -1);
    for (size_t record = 0; record < groups.size(); ++record) {
        const qint64 id = m_skupiny.recordValue(int(record), SkupinyField::ID).toInt();
        const size_t created = size_t(id - 1);
        if (id <= 0 || created >= rowsByGroup.size())
            throw Error(QStringLiteral("%1: záznam %2 nemá skupinu.").arg(m_skupiny.tableName()).arg(id));
        groups[record].id = id;
        groups[record].carried = int(created);
        groups[record].rows = std::move(rowsByGroup[created]);
        position[created] = int(record);
    }
    for (int &group : groupOfRow)
        group = group >= 0 ? position[size_t(group)] : -1;
    m_result = ReportResult(m_skupiny, m_denik, m_prevedeno, m_pocatecniStav, std::move(groups),
                            m_pocatecniStav.totalRecordCount() > 0 ? 0 : -1, std::move(groupOfRow));
}

} // namespace kasovka
