// Completing a report after the journal: closing adjustments, opening
// balances, carried rows, group names, totals and order.

#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "report/ReportWork.h"

namespace kasovka {

namespace {

QString openFailedText(const QString &path)
{
    return QStringLiteral("Nastala chyba při otevírání databáze ") + path + QStringLiteral(".DAT");
}

} // namespace

void TPenDenReport::FinishReport()
{
    Work &w = *m_work;
    if (w.groups.empty())
        FindOrCreateGroup(m_filter->VertikalniDeleni == sgkFirmByAddress ? QStringLiteral("0")
                                                                         : QString());
    if (m_filter->IncludesClosingAdjustments())
        AddClosingAdjustments();
    flushGroups();

    TBFTable codeList;
    const bool codeListOpen = OpenGroupCodeList(codeList);
    if (!codeListOpen)
        AddWarning(QStringLiteral("• sumační skupiny nejsou pojmenovány, databázi jejich "
                                  "číselníku nelze otevřít"));
    const bool openingBalances = m_filter->IncludesOpeningBalances();
    for (const std::unique_ptr<GroupWork> &group : w.groups) {
        m_skupiny.setRecNo(group->skupinyRow);
        NameGroup(codeList, codeListOpen);
        if (openingBalances)
            AddOpeningBalances(m_skupiny, SkupinyField::Col5);
        RecalcGroupTotals();
        m_prevedeno.setRecNo(group->prevedenoRow);
        if (openingBalances)
            AddOpeningBalances(m_prevedeno, AmountsField::Col5);
        fillCarriedRow(*group);
    }
    if (codeList.IsOpen())
        codeList.Close();
    orderGroups();
    m_rowCountAll = m_denik.totalRecordCount();
}

void TPenDenReport::AddClosingAdjustments()
{
    Work &w = *m_work;
    FindOrCreateGroup(QString());
    GroupWork &group = *w.group;
    if (w.pendingRow)
        flushRow(*w.pendingRow);
    m_denik.append();
    m_denik.setInteger(DenikField::Parent_ID, group.id);
    m_denik.setText(DenikField::Popis, adjustmentsRowText());
    m_denik.post();
    w.adjustmentsRow = RowWork();
    w.adjustmentsRow.denikRow = m_denik.totalRecordCount() - 1;
    if (m_adjustments.RecordCount() <= 0)
        return;
    m_adjustments.First();
    do {
        // The currency filter, the period and the date play no part here.
        if (!w.centre.passes(m_adjustments.Value(w.adjStred).toText())
            || !w.activity.passes(m_adjustments.Value(w.adjCinnost).toText())
            || !w.contract.passes(m_adjustments.Value(w.adjZakazka).toText()))
            continue;
        w.adjustment.pohyb = m_adjustments.Value(w.adjPohyb).toText();
        w.adjustment.castka = m_adjustments.Value(w.adjCastka).toCurrency();
        PostAmount(group.sums, true);
        PostAmount(w.adjustmentsRow, true);
    } while (m_adjustments.Next() != TBFTable::EndOfTable);
}

void TPenDenReport::AddOpeningBalances(TMemTable &target, int col5Position)
{
    if (m_pocatecniStav.totalRecordCount() == 0)
        BuildOpeningBalances();
    m_pocatecniStav.first();
    target.edit();
    for (int slot = 0; slot < AmountColumnCount; ++slot) {
        target.setCurrency(col5Position + slot,
                           target.asCurrency(col5Position + slot)
                               + m_pocatecniStav.asCurrency(AmountsField::Col5 + slot));
    }
    // The balances reach the source columns of Col11 and Col12 as well.
    RecalcRowTotals(target, col5Position);
    target.post();
}

void TPenDenReport::BuildOpeningBalances()
{
    m_pocatecniStav.append();
    m_pocatecniStav.post();

    TBFTable registers;
    const QString registersPath = m_app.YearFolder() + QStringLiteral("SZUCPOKL");
    if (registers.Open(registersPath) != 0) {
        m_app.ShowMessageDialog(openFailedText(registersPath), MessageKind::Error);
        return;
    }
    m_work->session.add(registers);
    addRegisterBalances(registers);
    registers.Close();

    TBFTable settings;
    const QString settingsPath = m_app.YearFolder() + QStringLiteral("SETPVARS");
    if (settings.Open(settingsPath) != 0
        || settings.SetIndex(QStringLiteral("SetupVarsU+Sekce+Prom")) != 0) {
        m_app.ShowMessageDialog(openFailedText(settingsPath), MessageKind::Error);
        return;
    }
    m_work->session.add(settings);
    addColumnBalances(settings);
    settings.Close();
}

void TPenDenReport::addRegisterBalances(TBFTable &registers)
{
    if (registers.RecordCount() <= 0)
        return;
    const int zkrat = registers.FieldIndex(QStringLiteral("Zkrat"));
    const int mena = registers.FieldIndex(QStringLiteral("Mena"));
    const int pocStav = registers.FieldIndex(QStringLiteral("PocStav"));
    const int psMnozstvi = registers.FieldIndex(QStringLiteral("PSMnozstvi"));
    const int psKurz = registers.FieldIndex(QStringLiteral("PSKurz"));
    const int ucPokl = registers.FieldIndex(QStringLiteral("UcPokl"));
    registers.First();
    do {
        const QString currency = registers.Value(mena).toText();
        const Currency balance = registers.Value(pocStav).toCurrency();
        Currency amount = balance;
        if (!currency.isEmpty()) {
            const qint64 units = registers.Value(psMnozstvi).toInt();
            if (units != 0) {
                amount = Currency::fromDouble(balance.toDouble() * registers.Value(psKurz).toDouble()
                                              / double(units));
            } else {
                amount = Currency();
                if (!balance.isZero()) {
                    // Without the number of units the rate is given for, the
                    // balance cannot be converted; say so instead of a quiet 0.
                    AddWarning(QStringLiteral("• počáteční stav %1 %2 pokladny nebo účtu \"%3\" "
                                              "v databázi SZUCPOKL nebyl přepočten, pole "
                                              "PSMnozstvi je 0")
                                   .arg(balance.toShortText(), currency,
                                        registers.Value(zkrat).toText()));
                }
            }
        }
        const OpeningBalanceTarget target =
            registerOpeningColumn(registers.Value(ucPokl).toText(), amount > Currency());
        if (target.column == NoColumn)
            continue;
        const int field = AmountsField::Col5 + target.column - FirstAmountColumn;
        m_pocatecniStav.edit();
        m_pocatecniStav.setCurrency(field, m_pocatecniStav.asCurrency(field)
                                               + (target.sign < 0 ? -amount : amount));
        RecalcRowTotals(m_pocatecniStav, AmountsField::Col5);
        m_pocatecniStav.post();
    } while (registers.Next() != TBFTable::EndOfTable);
}

void TPenDenReport::addColumnBalances(TBFTable &settings)
{
    const int str = settings.FieldIndex(QStringLiteral("Str"));
    for (const ColumnOpeningSetting &setting : columnOpeningSettings()) {
        const QList<Variant> key = {Variant(QStringLiteral("Default")),
                                    Variant(QStringLiteral("Poc. stav PD")),
                                    Variant(setting.settingName)};
        if (settings.SeekArray(key) != TBFTable::SeekFound)
            continue;
        const QString text = settings.Value(str).toText();
        Currency amount;
        if (!text.trimmed().isEmpty()) {
            const std::optional<Currency> parsed = Currency::parse(text, u'.');
            if (!parsed) {
                // A balance that is not a number is left out, visibly.
                AddWarning(QStringLiteral("• počáteční stav \"%1\" (sekce \"Poc. stav PD\" "
                                          "v databázi SETPVARS, pole Str) není číslo: \"%2\"; "
                                          "nebyl započten")
                               .arg(setting.settingName, text));
                continue;
            }
            amount = *parsed;
        }
        const int field = m_pocatecniStav.fieldIndex(setting.fieldName);
        m_pocatecniStav.edit();
        m_pocatecniStav.setCurrency(field, m_pocatecniStav.asCurrency(field) + amount);
        RecalcRowTotals(m_pocatecniStav, AmountsField::Col5);
        m_pocatecniStav.post();
    }
}

void TPenDenReport::RecalcGroupTotals()
{
    m_skupiny.edit();
    RecalcRowTotals(m_skupiny, SkupinyField::Col5);
    AmountColumns columns;
    for (int slot = 0; slot < AmountColumnCount; ++slot)
        columns[slot] = m_skupiny.asCurrency(SkupinyField::Col5 + slot);
    const GroupTotals totals = computeGroupTotals(columns);
    m_skupiny.setCurrency(SkupinyField::HotovostCeninyCelkem, totals.HotovostCeninyCelkem);
    m_skupiny.setCurrency(SkupinyField::BankUctyCelkem, totals.BankUctyCelkem);
    m_skupiny.setCurrency(SkupinyField::PrubPolozkyCelkem, totals.PrubPolozkyCelkem);
    m_skupiny.setCurrency(SkupinyField::ZakladDane, totals.ZakladDane);
    m_skupiny.setCurrency(SkupinyField::PrijmyZahrDoZaklCelkem, totals.PrijmyZahrDoZaklCelkem);
    m_skupiny.setCurrency(SkupinyField::VydajeNaZajPrijCelkem, totals.VydajeNaZajPrijCelkem);
    m_skupiny.setCurrency(SkupinyField::PrijmyNeovlZaklDaneCelkem,
                          totals.PrijmyNeovlZaklDaneCelkem);
    m_skupiny.setCurrency(SkupinyField::VydajeNeovlZaklDaneCelkem,
                          totals.VydajeNeovlZaklDaneCelkem);
    m_skupiny.post();
}

void TPenDenReport::fillCarriedRow(const GroupWork &group)
{
    m_denik.setRecNo(group.carriedRow);
    m_denik.edit();
    for (int slot = 0; slot < AmountColumnCount; ++slot)
        m_denik.setCurrency(DenikField::Col5 + slot,
                            m_prevedeno.asCurrency(AmountsField::Col5 + slot));
    RecalcRowTotals(m_denik, DenikField::Col5);
    m_denik.post();
}

} // namespace kasovka
