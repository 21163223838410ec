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
    const QString doklad = m_journal.Value(w.doklad).toText();
    const QString varSym = m_journal.Value(w.varSym).toText();
    if (varSym.isEmpty()) {
        row.dokladVs = doklad;
    } else {
        // One allocation per row: this runs for every journal record.
        QString joined;
        joined.reserve(doklad.size() + 1 + varSym.size());
        joined.append(doklad).append(QLatin1Char('/')).append(varSym);
        row.dokladVs = std::move(joined);
    }
    row.dokladVs.truncate(DenikDokladVsSize);
    if (m_filter->ZpusobSumace == rgDetailed)
        row.popis = m_journal.Value(w.popis).toText();
    else if (row.popis.isEmpty())
        row.popis = DocumentDescription();
    row.popis.truncate(DenikPopisSize);
}

namespace {

// Col11 and Col12 from the accumulated columns: a row's record holds exactly
// its touched columns, and an untouched column is 0 in both, so this equals
// reading the fields back, without doing so.
void writeRowTotals(TMemTable &table, int col5, const AmountColumns &columns)
{
    table.setCurrency(col5 + IncomeTotalColumn - FirstAmountColumn,
                      sumOfColumns(columns, IncomeColumnsFirst, IncomeColumnsLast));
    table.setCurrency(col5 + ExpenseTotalColumn - FirstAmountColumn,
                      sumOfColumns(columns, ExpenseColumnsFirst, ExpenseColumnsLast));
}

} // namespace

void TPenDenReport::flushRow(RowWork &row)
{
    if (row.denikRow < 0)
        return;
    // The row started last is still being inserted (see StartRowIfNeeded).
    // It is completed with its values so far before any other row is
    // written, which saves editing it later when it gets nothing more.
    // Writing the accumulated state again later gives the same record.
    Work &w = *m_work;
    const bool pending = w.pendingRow == &row;
    if (!pending && w.pendingRow)
        flushRow(*w.pendingRow);
    if (pending)
        w.pendingRow = nullptr;
    const bool inserting = pending && m_denik.state() == TMemTable::State::Insert
        && m_denik.recNo() == row.denikRow;
    if (!(row.dirty || row.received)) {
        if (inserting)
            m_denik.post();
        return;
    }
    if (!inserting) {
        m_denik.setRecNo(row.denikRow);
        m_denik.edit();
    }
    for (int slot = 0; slot < AmountColumnCount; ++slot) {
        if (row.touched & (1u << slot))
            m_denik.setCurrency(DenikField::Col5 + slot, row.columns[slot]);
    }
    if (row.received)
        writeRowTotals(m_denik, DenikField::Col5, row.columns);
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
    writeRowTotals(table, col5, columns);
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
    if (w.pendingRow)
        flushRow(*w.pendingRow);
    m_denik.post(); // in case a pending row was posted by someone else
}

} // namespace kasovka
