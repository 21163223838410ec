// Posting amounts into the accumulated sums of groups, rows and carried
// records, and describing a journal row.

#include "report/ReportWork.h"

#include <bit>

namespace kasovka {

bool TPenDenReport::PostAmount(AmountSums &target, bool fromAdjustment)
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
        return false;
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
    return true;
}

// The row shows the date and document of the last record posted to it;
// its description is the record's own in the detailed mode and otherwise
// the book document's, taken once.
void TPenDenReport::describeRow(DenikEntry &row)
{
    const Work &w = *m_work;
    const JournalFields &f = *w.journal;
    row.described = true;
    row.datum = w.record.datum;
    row.doklad = m_journal.Value(f.doklad).toText();
    row.varSym = m_journal.Value(f.varSym).toText();
    if (m_filter->ZpusobSumace == rgDetailed)
        row.popis = m_work->sharedDescription(m_journal.Value(f.popis).toText());
    else if (row.popis.isEmpty())
        row.popis = DocumentDescription();
}

void TPenDenReport::closeRow(DenikEntry &row, const AmountSums &sums)
{
    row.received = sums.received;
    row.touched = sums.touched;
    const int count = std::popcount(sums.touched);
    Currency *amounts = row.amounts;
    if (count > 2) {
        row.moreAmounts = std::make_unique<Currency[]>(size_t(count));
        amounts = row.moreAmounts.get();
    }
    for (quint32 bits = sums.touched; bits != 0; bits &= bits - 1)
        *amounts++ = sums.columns[size_t(std::countr_zero(bits))];
}

void TPenDenReport::closeOpenRows()
{
    Work &w = *m_work;
    for (const std::unique_ptr<GroupWork> &group : w.groups) {
        if (group->openRow)
            closeRow(*group->openRow, group->openRowSums);
        group->openRow = nullptr;
    }
    if (w.adjustmentsRow)
        closeRow(*w.adjustmentsRow, w.adjustmentsRowSums);
    w.adjustmentsRow = nullptr;
}

} // namespace kasovka
