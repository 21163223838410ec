// Opening the host tables and reading the journal into groups and rows.

#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "report/ReportWork.h"

namespace kasovka {

namespace {

QString openFailedText(const QString &path)
{
    return QStringLiteral("Nastala chyba při otevírání databáze ") + path + QStringLiteral(".DAT");
}

QString indexFailedText(const QString &path)
{
    return QStringLiteral("Nastala chyba při nastavení indexu databáze ") + path
        + QStringLiteral(".DAT");
}

constexpr int ProgressInterval = 200;

} // namespace

bool TPenDenReport::openHostTable(TBFTable &table, const QString &path, const QString &index)
{
    if (table.Open(path) != 0) {
        m_app.ShowMessageDialog(openFailedText(path), MessageKind::Error);
        return false;
    }
    if (!index.isEmpty() && table.SetIndex(index) != 0) {
        m_app.ShowMessageDialog(indexFailedText(path), MessageKind::Error);
        return false;
    }
    m_work->session.add(table);
    return true;
}

bool TPenDenReport::OpenHostTables()
{
    CloseHostTables();
    const QString folder = m_app.YearFolder();
    const QString journalIndex = m_filter->TriditDle == roDocumentDate
        ? QStringLiteral("Datum+Zdroj+ZRadek")
        : QStringLiteral("Doklad+Zdroj+ZRadek");
    if (!openHostTable(m_journal, folder + QStringLiteral("UCPENDEN"), journalIndex)
        || !openHostTable(m_movements, folder + QStringLiteral("UCPOHYBY"), QStringLiteral("Zkrat"))
        || !openHostTable(m_adjustments, folder + QStringLiteral("UZZAVUP"), QString())
        || !openHostTable(m_cashBook, folder + QStringLiteral("POKLKNIH"), QStringLiteral("Cislo"))
        || !openHostTable(m_bankBook, folder + QStringLiteral("BANKKNIH"), QStringLiteral("Cislo")))
        return false;

    // Field positions are resolved once; a table that lacks a field fails
    // here with a message naming the file and the field.
    Work &w = *m_work;
    const TBFTable &j = m_journal;
    w.del = j.FieldIndex(QStringLiteral("Del"));
    w.free = j.FieldIndex(QStringLiteral("Free"));
    w.stred = j.FieldIndex(QStringLiteral("Stred"));
    w.cinnost = j.FieldIndex(QStringLiteral("Cinnost"));
    w.zakazka = j.FieldIndex(QStringLiteral("Zakazka"));
    w.mena = j.FieldIndex(QStringLiteral("Mena"));
    w.ico = j.FieldIndex(QStringLiteral("ICO"));
    w.adCislo = j.FieldIndex(QStringLiteral("AdCislo"));
    w.vyst = j.FieldIndex(QStringLiteral("Vyst"));
    w.datum = j.FieldIndex(QStringLiteral("Datum"));
    w.cislo = j.FieldIndex(QStringLiteral("Cislo"));
    w.zdroj = j.FieldIndex(QStringLiteral("Zdroj"));
    w.zRadek = j.FieldIndex(QStringLiteral("ZRadek"));
    w.doklad = j.FieldIndex(QStringLiteral("Doklad"));
    w.varSym = j.FieldIndex(QStringLiteral("VarSym"));
    w.popis = j.FieldIndex(QStringLiteral("Popis"));
    w.pohyb = j.FieldIndex(QStringLiteral("Pohyb"));
    w.castka = j.FieldIndex(QStringLiteral("Castka"));
    w.typ = j.FieldIndex(QStringLiteral("Typ"));
    w.movementSloupec = m_movements.FieldIndex(QStringLiteral("Sloupec"));
    w.adjStred = m_adjustments.FieldIndex(QStringLiteral("Stred"));
    w.adjCinnost = m_adjustments.FieldIndex(QStringLiteral("Cinnost"));
    // The host names the adjustments' contract field "Zakzka"; a table that
    // spells it like the journal is read all the same.
    w.adjZakazka = m_adjustments.FieldNames().contains(QStringLiteral("Zakzka"))
        ? m_adjustments.FieldIndex(QStringLiteral("Zakzka"))
        : m_adjustments.FieldIndex(QStringLiteral("Zakazka"));
    w.adjPohyb = m_adjustments.FieldIndex(QStringLiteral("Pohyb"));
    w.adjCastka = m_adjustments.FieldIndex(QStringLiteral("Castka"));
    w.cashPopis = m_cashBook.FieldIndex(QStringLiteral("Popis"));
    w.bankPopis = m_bankBook.FieldIndex(QStringLiteral("Popis"));
    phaseEnded(ReportPhase::HostTablesOpened);
    return true;
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

bool TPenDenReport::LoadJournal()
{
    CreateReportTables();
    if (m_journal.RecordCount() > 0 && !readJournal())
        return false;
    phaseEnded(ReportPhase::JournalRead);
    FinishReport();
    phaseEnded(ReportPhase::Finished);
    return true;
}

bool TPenDenReport::readJournal()
{
    int counter = 1;
    m_journal.First();
    do {
        try {
            postCurrentRecord();
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
    return (!w.centre.isOn() || w.centre.passes(m_journal.Value(w.stred).toText()))
        && (!w.activity.isOn() || w.activity.passes(m_journal.Value(w.cinnost).toText()))
        && (!w.contract.isOn() || w.contract.passes(m_journal.Value(w.zakazka).toText()))
        && (!w.currency.isOn() || w.currency.passes(m_journal.Value(w.mena).toText()));
}

void TPenDenReport::readCurrentRecord()
{
    Work &w = *m_work;
    Work::Record &r = w.record;
    r.zdroj = m_journal.Value(w.zdroj).toText();
    r.zRadek = int(m_journal.Value(w.zRadek).toInt());
    r.pohyb = m_journal.Value(w.pohyb).toText();
    r.castka = m_journal.Value(w.castka).toCurrency();
    r.typ = m_journal.Value(w.typ).toText();
}

void TPenDenReport::postCurrentRecord()
{
    Work &w = *m_work;
    if (m_journal.Value(w.del).toBool() || m_journal.Value(w.free).toBool())
        return;
    if (!passesObjectFilters())
        return;
    const TDateTime datum = m_journal.Value(w.datum).toDate();
    if (isZeroDate(datum)) {
        AddWarning(QStringLiteral("• řádek %1 v databázi deníku nemá vyplněný datum")
                       .arg(m_journal.Value(w.cislo).toInt()));
    }
    const TReportFilter &f = *m_filter;
    const TDateTime day = datePart(datum);
    if (f.ZaObdobi && day > datePart(f.ObdobiDO))
        return;
    const bool beforePeriod = f.ZaObdobi && day < datePart(f.ObdobiOD);
    if (beforePeriod && !f.ZapocitavatPredchObdobi)
        return;

    w.record.datum = datum;
    readCurrentRecord();
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
    PostAmount(group.sums, false);
    if (m_filter->PouzeZaverecnyPrehled)
        return;
    StartRowIfNeeded(inPeriod);
    if (inPeriod)
        PostAmount(group.row, false);
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
        flushRow(group.row);
        group.row = RowWork();
        ++group.lastPoradi;
    } else if (!createRow || group.row.denikRow >= 0) {
        return;
    }
    // Without a new number, the document's earlier records were counted
    // before the period and made no row; its records in the period get the
    // row of that same number instead of landing in another row.
    if (!createRow)
        return;
    // Left in insert state: the row's amounts arrive before anything else
    // touches Denik, and flushRow then completes this same insert.
    if (m_work->pendingRow)
        flushRow(*m_work->pendingRow);
    m_denik.append();
    m_denik.setInteger(DenikField::Parent_ID, group.id);
    m_denik.setInteger(DenikField::Poradi, group.lastPoradi);
    group.row.denikRow = m_denik.totalRecordCount() - 1;
    m_work->pendingRow = &group.row;
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

    if (w.pendingRow)
        flushRow(*w.pendingRow);
    auto group = std::make_unique<GroupWork>();
    group->key = key;
    m_denik.append();
    m_denik.setInteger(DenikField::Poradi, 0);
    m_denik.setText(DenikField::Popis, carriedRowText());
    m_denik.post();
    group->carriedRow = m_denik.totalRecordCount() - 1;
    group->idPrevedeno = int(m_denik.asInteger(DenikField::ID));

    m_skupiny.append();
    m_skupiny.setText(SkupinyField::Zkratka, key);
    m_skupiny.setInteger(SkupinyField::LastPoradi, 0);
    m_skupiny.setInteger(SkupinyField::IDPrevedeno, group->idPrevedeno);
    m_skupiny.post();
    group->skupinyRow = m_skupiny.totalRecordCount() - 1;
    group->id = int(m_skupiny.asInteger(SkupinyField::ID));

    m_denik.setRecNo(group->carriedRow);
    m_denik.edit();
    m_denik.setInteger(DenikField::Parent_ID, group->id);
    m_denik.post();

    m_prevedeno.append();
    m_prevedeno.setInteger(AmountsField::Parent_ID, group->id);
    m_prevedeno.post();
    group->prevedenoRow = m_prevedeno.totalRecordCount() - 1;

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
    int popis = -1;
    if (w.record.zdroj == u"BK") {
        book = &m_bankBook;
        descriptions = &w.bankDescriptions;
        popis = w.bankPopis;
    } else if (w.record.zdroj == u"PK") {
        book = &m_cashBook;
        descriptions = &w.cashDescriptions;
        popis = w.cashPopis;
    } else {
        return QString();
    }
    if (!descriptions->loaded) {
        descriptions->loaded = true;
        const int cislo = book->FieldIndex(QStringLiteral("Cislo"));
        // Table order reads without the index's detour to each record, and
        // among equal numbers it is the index's own order.
        book->SetIndex(QString());
        const int count = book->RecordCount();
        if (count > 0) {
            descriptions->byNumber.reserve(size_t(count));
            book->First();
            do {
                // emplace keeps the first record of a number.
                descriptions->byNumber.emplace(int(book->Value(cislo).toInt()),
                                               book->Value(popis).toText());
            } while (book->Next() != TBFTable::EndOfTable);
        }
    }
    const auto found = descriptions->byNumber.find(w.record.zRadek);
    return found == descriptions->byNumber.end() ? QString() : found->second;
}

} // namespace kasovka
