// Posting amounts into the accumulated sums of groups, rows and carried
// records, and describing a journal row.

#include "report/ReportWork.h"

#include <bit>

namespace kasovka {

QString TPenDenReport::unknownMovementText(const QString &code)
{
    return QStringLiteral("nebyl nalezen účetní pohyb \"%1\"").arg(code);
}

void TPenDenReport::noteRecordWarning(const QString &text, int row, bool carried, std::optional<Currency> unposted)
{
    const Work &w = *m_work;
    ReportWarning warning;
    warning.text = text;
    warning.concernsRecord = true;
    if (w.group)
        warning.groupKey = w.group->key;
    warning.row = row;
    warning.carried = carried;
    recordDocument(warning);
    warning.date = w.record.datum;
    warning.unposted = unposted;
    m_paperWarnings.push_back(std::move(warning));
}

// A report of the final overview only does not read documents; the
// record's number in the journal names it then.
void TPenDenReport::recordDocument(ReportWarning &warning) const
{
    const JournalFields &f = *m_work->journal;
    if (m_filter->PouzeZaverecnyPrehled)
        warning.journalRecord = m_journal.IntegerValue(f.cislo);
    else
        warning.document = m_journal.TextValue(f.doklad);
}

void TPenDenReport::noteAdjustmentWarning(const QString &text)
{
    ReportWarning warning;
    warning.text = text;
    warning.concernsRecord = true;
    warning.adjustment = true;
    if (m_work->group)
        warning.groupKey = m_work->group->key;
    warning.date = m_adjustments.DateValue(m_adjustments.FieldIndex(QStringLiteral("Datum")));
    warning.unposted = m_work->adjustment.castka;
    m_paperWarnings.push_back(std::move(warning));
}

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
        // Paper lists the record once (noteRecordWarning), the protocol
        // every posting.
        addProtocolLine(QStringLiteral("• ") + unknownMovementText(code));
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
    row.doklad = m_journal.TextValue(f.doklad);
    row.varSym = m_journal.TextValue(f.varSym);
    if (m_filter->ZpusobSumace == rgDetailed)
        row.popis = m_work->sharedDescription(m_journal.TextValue(f.popis));
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
