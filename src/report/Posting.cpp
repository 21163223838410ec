// Posting amounts into the accumulators of groups, rows and carried
// records, and writing the accumulators into the report tables.

#include "report/ReportWork.h"

namespace kasovka {

void TPenDenReport::PostAmount(AmountTarget &target, bool fromAdjustment)
{
    Work &w = *m_work;
    const QString &code = fromAdjustment ? w.adjustment.pohyb : w.record.pohyb;
    auto cached = w.movements.constFind(code);
    if (cached == w.movements.constEnd()) {
        Work::Movement movement;
        if (m_movements.Seek(Variant(code)) == TBFTable::SeekFound) {
            movement.found = true;
            movement.purposeColumn = purposeColumn(m_movements.Value(w.movementSloupec).toText());
        }
        cached = w.movements.insert(code, movement);
    }
    if (!cached->found) {
        AddWarning(QStringLiteral("• nebyl nalezen účetní pohyb \"%1\"").arg(code));
        return;
    }

    const Currency amount = fromAdjustment ? w.adjustment.castka : w.record.castka;
    if (!fromAdjustment) {
        const int money = moneyColumn(w.record.typ, w.record.zdroj);
        if (money != NoColumn)
            target.add(money, amount);
    }
    if (cached->purposeColumn != NoColumn)
        target.add(cached->purposeColumn, amount);
    target.received = true;

    if (!target.journalRow || fromAdjustment)
        return;
    auto &row = static_cast<RowWork &>(target);
    row.described = true;
    row.dirty = true;
    row.datum = w.record.datum;
    row.dokladVs = m_journal.Value(w.doklad).toText();
    const QString varSym = m_journal.Value(w.varSym).toText();
    if (!varSym.isEmpty())
        row.dokladVs += QLatin1Char('/') + varSym;
    row.dokladVs.truncate(DenikDokladVsSize);
    if (m_filter->ZpusobSumace == rgDetailed)
        row.popis = m_journal.Value(w.popis).toText();
    else if (row.popis.isEmpty())
        row.popis = DocumentDescription();
    row.popis.truncate(DenikPopisSize);
}

void TPenDenReport::flushRow(RowWork &row)
{
    if (row.denikRow < 0 || !(row.dirty || row.received))
        return;
    m_denik.setRecNo(row.denikRow);
    m_denik.edit();
    for (int slot = 0; slot < AmountColumnCount; ++slot) {
        if (row.touched & (1u << slot))
            m_denik.setCurrency(DenikField::Col5 + slot, row.columns[slot]);
    }
    if (row.received)
        RecalcRowTotals(m_denik, DenikField::Col5);
    if (row.described) {
        m_denik.setDate(DenikField::Datum, row.datum);
        m_denik.setText(DenikField::Doklad_VS, row.dokladVs);
        m_denik.setText(DenikField::Popis, row.popis);
    }
    m_denik.post();
    row.dirty = false;
    row.received = false;
}

namespace {

// Writes all 31 columns; Col11 and Col12 follow their definitions.
void writeColumns(TMemTable &table, int col5, const AmountColumns &columns)
{
    for (int slot = 0; slot < AmountColumnCount; ++slot)
        table.setCurrency(col5 + slot, columns[slot]);
    RecalcRowTotals(table, col5);
}

} // namespace

void TPenDenReport::flushGroups()
{
    Work &w = *m_work;
    for (const std::unique_ptr<GroupWork> &group : w.groups) {
        flushRow(group->row);
        m_skupiny.setRecNo(group->skupinyRow);
        m_skupiny.edit();
        writeColumns(m_skupiny, SkupinyField::Col5, group->sums.columns);
        m_skupiny.setInteger(SkupinyField::LastPoradi, group->lastPoradi);
        if (group->hasLast) {
            m_skupiny.setText(SkupinyField::LastZdroj, group->lastZdroj);
            m_skupiny.setInteger(SkupinyField::LastZRadek, group->lastZRadek);
        }
        m_skupiny.post();

        m_prevedeno.setRecNo(group->prevedenoRow);
        m_prevedeno.edit();
        writeColumns(m_prevedeno, AmountsField::Col5, group->carried.columns);
        m_prevedeno.post();
    }
    flushRow(w.adjustmentsRow);
}

} // namespace kasovka
