// Opening the host tables and the first pass: reading the journal into the
// plain structures of its groups and rows.

#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "host/HostTableError.h"
#include "report/ReportWork.h"

namespace kasovka {

namespace {

constexpr int ProgressInterval = 200;

} // namespace

JournalFields::JournalFields(const TBFTable &j)
    : del(j.FieldIndex(QStringLiteral("Del"))), free(j.FieldIndex(QStringLiteral("Free"))),
      stred(j.FieldIndex(QStringLiteral("Stred"))), cinnost(j.FieldIndex(QStringLiteral("Cinnost"))),
      zakazka(j.FieldIndex(QStringLiteral("Zakazka"))), mena(j.FieldIndex(QStringLiteral("Mena"))),
      ico(j.FieldIndex(QStringLiteral("ICO"))), adCislo(j.FieldIndex(QStringLiteral("AdCislo"))),
      vyst(j.FieldIndex(QStringLiteral("Vyst"))), datum(j.FieldIndex(QStringLiteral("Datum"))),
      cislo(j.FieldIndex(QStringLiteral("Cislo"))), zdroj(j.FieldIndex(QStringLiteral("Zdroj"))),
      zRadek(j.FieldIndex(QStringLiteral("ZRadek"))), doklad(j.FieldIndex(QStringLiteral("Doklad"))),
      varSym(j.FieldIndex(QStringLiteral("VarSym"))), popis(j.FieldIndex(QStringLiteral("Popis"))),
      pohyb(j.FieldIndex(QStringLiteral("Pohyb"))), castka(j.FieldIndex(QStringLiteral("Castka"))),
      typ(j.FieldIndex(QStringLiteral("Typ")))
{
}

AdjustmentFields::AdjustmentFields(const TBFTable &a)
    : stred(a.FieldIndex(QStringLiteral("Stred"))), cinnost(a.FieldIndex(QStringLiteral("Cinnost"))),
      // The host names the adjustments' contract field "Zakzka"; a table that
      // spells it like the journal is read all the same.
      zakazka(a.FieldNames().contains(QStringLiteral("Zakzka"))
                  ? a.FieldIndex(QStringLiteral("Zakzka"))
                  : a.FieldIndex(QStringLiteral("Zakazka"))),
      pohyb(a.FieldIndex(QStringLiteral("Pohyb"))), castka(a.FieldIndex(QStringLiteral("Castka")))
{
}

void TPenDenReport::openAndIndex(TBFTable &table, const QString &path, const QString &index)
{
    if (table.Open(path) != 0)
        throw HostTableError::openFailed(path, table);
    if (!index.isEmpty() && table.SetIndex(index) != 0)
        throw HostTableError::indexFailed(path, table);
    m_work->session.add(table);
}

void TPenDenReport::leaveOut(const HostTableError &error)
{
    m_tablesLeftOut.append(error.text());
}

void TPenDenReport::OpenHostTables()
{
    CloseHostTables();
    const QString folder = m_app.YearFolder();
    const QString journalIndex = m_filter->TriditDle == roDocumentDate
        ? QStringLiteral("Datum+Zdroj+ZRadek")
        : QStringLiteral("Doklad+Zdroj+ZRadek");
    openAndIndex(m_journal, folder + QStringLiteral("UCPENDEN"), journalIndex);
    openAndIndex(m_movements, folder + QStringLiteral("UCPOHYBY"), QStringLiteral("Zkrat"));
    openAndIndex(m_adjustments, folder + QStringLiteral("UZZAVUP"), QString());
    openAndIndex(m_cashBook, folder + QStringLiteral("POKLKNIH"), QStringLiteral("Cislo"));
    openAndIndex(m_bankBook, folder + QStringLiteral("BANKKNIH"), QStringLiteral("Cislo"));

    Work &w = *m_work;
    w.journal.emplace(m_journal);
    m_journal.SelectFields(journalFieldsRead());
    w.movementSloupec = m_movements.FieldIndex(QStringLiteral("Sloupec"));
    w.adjustmentFields.emplace(m_adjustments);
    // The books' description fields are checked now, not at the first
    // document that needs them.
    m_cashBook.FieldIndex(QStringLiteral("Popis"));
    m_bankBook.FieldIndex(QStringLiteral("Popis"));
    phaseEnded(ReportPhase::HostTablesOpened);
}

// The journal fields this report reads: a record fetched with no more than
// these costs a fraction of one fetched whole.
QList<int> TPenDenReport::journalFieldsRead() const
{
    const Work &w = *m_work;
    const JournalFields &f = *w.journal;
    const TReportFilter &filter = *m_filter;
    QList<int> fields = {f.del, f.free, f.datum, f.cislo, f.zdroj, f.zRadek, f.pohyb, f.castka, f.typ};
    const std::pair<const FilterListMatcher &, int> objectFilters[] = {
        {w.centre, f.stred}, {w.activity, f.cinnost}, {w.contract, f.zakazka}, {w.currency, f.mena}};
    for (const auto &[matcher, field] : objectFilters) {
        if (matcher.isOn())
            fields.append(field);
    }
    if (const int key = f.groupKeyField(filter.VertikalniDeleni); key >= 0)
        fields.append(key);
    if (!filter.PouzeZaverecnyPrehled)
        fields.append({f.doklad, f.varSym});
    if (!filter.PouzeZaverecnyPrehled && filter.ZpusobSumace == rgDetailed)
        fields.append(f.popis);
    return fields;
}

void TPenDenReport::CloseHostTables()
{
    if (m_work)
        m_work->session.end();
    for (TBFTable *table : {&m_journal, &m_movements, &m_adjustments, &m_cashBook, &m_bankBook}) {
        if (table->IsOpen())
            table->Close();
    }
}

// Three passes, each over what the one before left:
//   1. accumulateJournal reads the journal once and keeps, per group, its
//      sums, carried amounts and rows in plain structures;
//   2. FinishReport adds closing adjustments and opening balances, and names
//      and totals the groups, still in those structures;
//   3. writeReportTables fills Skupiny, Prevedeno, Denik and PocatecniStav.
// A cancelled reading stops before anything is written.
bool TPenDenReport::LoadJournal()
{
    CreateReportTables();
    warnOfPeriodOutsideYear();
    if (m_journal.RecordCount() > 0 && !accumulateJournal())
        return false;
    // Only rows being read need the books; their room goes to the tables.
    m_work->cashDescriptions = {};
    m_work->bankDescriptions = {};
    phaseEnded(ReportPhase::JournalRead);
    FinishReport();
    writeReportTables();
    phaseEnded(ReportPhase::Finished);
    return true;
}

// A period that misses the accounting year entirely gives a report of
// zeros, which the bookkeeper should not take for a quiet year.
void TPenDenReport::warnOfPeriodOutsideYear()
{
    const TReportFilter &f = *m_filter;
    const QDate yearEnd = toQDate(m_app.FiscalYearTo());
    if (!f.ZaObdobi || !yearEnd.isValid() || datePart(m_app.FiscalYearTo()) <= 1)
        return;
    const QDate yearStart = yearEnd.addYears(-1).addDays(1);
    const QDate from = toQDate(f.ObdobiOD);
    const QDate to = toQDate(f.ObdobiDO);
    if (!from.isValid() || !to.isValid() || (to >= yearStart && from <= yearEnd))
        return;
    const QString format = QStringLiteral("d.M.yyyy");
    AddWarning(QStringLiteral("• období sestavy %1 – %2 leží celé mimo účetní rok %3 – %4")
                   .arg(from.toString(format), to.toString(format), yearStart.toString(format),
                        yearEnd.toString(format)));
}

// Read and accumulate: every journal record in index order, each accepted
// one added to its group and (unless only the overview is wanted) to a row.
// No report table is written here.
//
// Example, by document without groups, the period from 1 March with earlier
// movements counted (cash book records: source, document, date, amount):
//   PK 7, 10 Feb, income 100 (PZbo)   ->  sums and carried amounts gain 100
//                                         in Col5 and Col13; row number 1 is
//                                         used up, no row is made
//   PK 9,  3 Mar, income 250 (PZbo)   ->  row 2 is created; it and the sums
//                                         gain 250 in Col5 and Col13
//   PK 9,  3 Mar, expense 50 (VMat)   ->  same document: row 2 and the sums
//                                         gain 50 in Col6 and Col16
// leaving one group with sums Col5 350, Col6 50, Col13 350, Col16 50, carried
// Col5 100, Col13 100, and Denik entries for the carried row and row 2.
bool TPenDenReport::accumulateJournal()
{
    int counter = 1;
    m_journal.First();
    do {
        try {
            accumulateRecord();
        } catch (const Error &error) {
            // Name the record, so the bookkeeper can find what to repair.
            throw Error(QStringLiteral("Záznam %1 v pořadí čtení databáze %2 nelze zpracovat: %3")
                            .arg(counter)
                            .arg(m_journal.FilePath(), error.text()));
        }
        if (counter % ProgressInterval == 0)
            m_app.RefreshProgress();
        if (m_app.CancelRequested())
            return false;
        ++counter;
    } while (m_journal.Next() != TBFTable::EndOfTable);
    return true;
}

bool TPenDenReport::passesObjectFilters()
{
    const Work &w = *m_work;
    const JournalFields &f = *w.journal;
    return (!w.centre.isOn() || w.centre.passes(m_journal.TextValue(f.stred)))
        && (!w.activity.isOn() || w.activity.passes(m_journal.TextValue(f.cinnost)))
        && (!w.contract.isOn() || w.contract.passes(m_journal.TextValue(f.zakazka)))
        && (!w.currency.isOn() || w.currency.passes(m_journal.TextValue(f.mena)));
}

void TPenDenReport::readPostingFields()
{
    Work &w = *m_work;
    const JournalFields &f = *w.journal;
    Work::Record &r = w.record;
    r.zdroj = m_journal.TextValue(f.zdroj);
    r.zRadek = int(m_journal.IntegerValue(f.zRadek));
    r.pohyb = m_journal.TextValue(f.pohyb);
    r.castka = m_journal.CurrencyValue(f.castka);
    r.typ = m_journal.TextValue(f.typ);
}

void TPenDenReport::accumulateRecord()
{
    Work &w = *m_work;
    const JournalFields &f = *w.journal;
    if (m_journal.BoolValue(f.del) || m_journal.BoolValue(f.free))
        return;
    if (!passesObjectFilters())
        return;
    const TDateTime datum = m_journal.DateValue(f.datum);
    if (isZeroDate(datum)) {
        const QString text = QStringLiteral("řádek %1 v databázi deníku nemá vyplněný datum")
                                 .arg(m_journal.IntegerValue(f.cislo));
        addProtocolLine(QStringLiteral("• ") + text);
        // Its group is not known yet.
        ReportWarning warning;
        warning.text = text;
        warning.concernsRecord = true;
        recordDocument(warning);
        m_paperWarnings.push_back(std::move(warning));
    }
    const TReportFilter &filter = *m_filter;
    const TDateTime day = datePart(datum);
    if (filter.ZaObdobi && day > datePart(filter.ObdobiDO))
        return;
    const bool beforePeriod = filter.ZaObdobi && day < datePart(filter.ObdobiOD);
    if (beforePeriod && !filter.ZapocitavatPredchObdobi)
        return;

    w.record.datum = datum;
    readPostingFields();
    if (beforePeriod) {
        AddJournalRecord(false);
        PostAmount(w.group->carried, false);
    } else {
        AddJournalRecord(true);
    }
    GroupWork &group = *w.group;
    group.lastZdroj = w.record.zdroj;
    group.lastZRadek = w.record.zRadek;
    group.hasLast = true;
}

void TPenDenReport::AddJournalRecord(bool inPeriod)
{
    FindOrCreateGroup(GroupKey());
    GroupWork &group = *m_work->group;
    const bool known = PostAmount(group.sums, false);
    if (!m_filter->PouzeZaverecnyPrehled) {
        StartRowIfNeeded(inPeriod);
        if (inPeriod && PostAmount(group.openRowSums, false))
            describeRow(*group.openRow);
    }
    if (!known) {
        const bool numbered = inPeriod && !m_filter->PouzeZaverecnyPrehled;
        noteRecordWarning(unknownMovementText(m_work->record.pohyb), numbered ? group.lastPoradi : 0, !inPeriod,
                          m_work->record.castka);
    }
}

void TPenDenReport::StartRowIfNeeded(bool createRow)
{
    GroupWork &group = *m_work->group;
    const Work::Record &r = m_work->record;
    // A group's first record always starts a row: the empty LastZdroj and
    // zero LastZRadek of a new group must not pass for the same document.
    const bool needed = m_filter->ZpusobSumace == rgDetailed || !group.hasLast
        || r.zdroj != group.lastZdroj || r.zRadek != group.lastZRadek;
    if (needed) {
        if (group.openRow)
            closeRow(*group.openRow, group.openRowSums);
        group.openRow = nullptr;
        group.openRowSums = AmountSums();
        ++group.lastPoradi;
    } else if (!createRow || group.openRow) {
        return;
    }
    // Without a new number, the document's earlier records were counted
    // before the period and made no row; its records in the period get the
    // row of that same number instead of landing in another row.
    if (!createRow)
        return;
    DenikEntry &row = m_work->addDenikEntry(DenikEntry::Kind::Journal, group.index);
    row.poradi = group.lastPoradi;
    group.openRow = &row;
}

void TPenDenReport::FindOrCreateGroup(const QString &key)
{
    Work &w = *m_work;
    if (w.group && w.group->key == key)
        return;
    if (GroupWork *found = w.groupByKey.value(key)) {
        w.group = found;
        return;
    }
    const QString folded = key.toCaseFolded();
    if (GroupWork *found = w.groupByFoldedKey.value(folded)) {
        w.groupByKey.insert(key, found);
        w.group = found;
        return;
    }

    // The carried row comes first in Denik, with the group; its Prevedeno
    // record is the group's carried amounts.
    auto group = std::make_unique<GroupWork>();
    group->key = key;
    group->index = int(w.groups.size());
    w.addDenikEntry(DenikEntry::Kind::Carried, group->index);
    group->carriedRowId = w.denikCreated;
    w.group = group.get();
    w.groupByKey.insert(key, w.group);
    w.groupByFoldedKey.insert(folded, w.group);
    w.groups.push_back(std::move(group));
}

QString TPenDenReport::DocumentDescription()
{
    Work &w = *m_work;
    TBFTable *book = nullptr;
    Work::BookDescriptions *descriptions = nullptr;
    if (w.record.zdroj == u"BK") {
        book = &m_bankBook;
        descriptions = &w.bankDescriptions;
    } else if (w.record.zdroj == u"PK") {
        book = &m_cashBook;
        descriptions = &w.cashDescriptions;
    } else {
        return QString();
    }
    if (!descriptions->loaded) {
        descriptions->loaded = true;
        const int cislo = book->FieldIndex(QStringLiteral("Cislo"));
        const int popis = book->FieldIndex(QStringLiteral("Popis"));
        // Table order reads without the index's detour to each record, and
        // among equal numbers it is the index's own order.
        book->SetIndex(QString());
        book->SelectFields({cislo, popis});
        const int count = book->RecordCount();
        if (count > 0) {
            descriptions->byNumber.reserve(size_t(count));
            book->First();
            do {
                // emplace keeps the first record of a number.
                descriptions->byNumber.emplace(int(book->IntegerValue(cislo)),
                                               book->TextValue(popis));
            } while (book->Next() != TBFTable::EndOfTable);
        }
    }
    const auto found = descriptions->byNumber.find(w.record.zRadek);
    return found == descriptions->byNumber.end() ? QString() : found->second;
}

} // namespace kasovka
