// The second pass: completing the accumulated groups with closing
// adjustments, opening balances, names and carried amounts.

#include "app/TBaseApplication.h"
#include "host/HostTableError.h"
#include "report/ReportWork.h"

namespace kasovka {

// Finish: everything after the last journal record, on the structures the
// reading left.
//
// Example, a report without groups over the whole year whose journal gave
// one group with sums Col5 350 and Col13 350, and whose cash register opens
// with 1 000: closing adjustments (if wanted) add their row and its purpose
// columns to the group; the opening balances (Col5 1 000) are built once and
// added to the group (Col5 1 350) and to its carried amounts (Col5 1 000);
// the group gets its name (none without groups). Totals and the carried row
// follow from these sums when they are written.
void TPenDenReport::FinishReport()
{
    Work &w = *m_work;
    if (w.groups.empty())
        FindOrCreateGroup(m_filter->VertikalniDeleni == sgkFirmByAddress ? QStringLiteral("0")
                                                                         : QString());
    if (m_filter->IncludesClosingAdjustments())
        AddClosingAdjustments();
    closeOpenRows();

    TBFTable codeList;
    const bool codeListOpen = OpenGroupCodeList(codeList);
    if (!codeListOpen)
        AddWarning(QStringLiteral("• sumační skupiny nejsou pojmenovány, databázi jejich "
                                  "číselníku nelze otevřít"));
    const bool openingBalances = m_filter->IncludesOpeningBalances();
    const bool named = m_filter->VertikalniDeleni != sgkNone;
    for (const std::unique_ptr<GroupWork> &group : w.groups) {
        group->named = named;
        if (named)
            group->name = NameGroup(codeList, codeListOpen, group->key);
        if (openingBalances) {
            AddOpeningBalances(group->sums);
            AddOpeningBalances(group->carried);
        }
    }
    if (codeList.IsOpen())
        codeList.Close();
}

void TPenDenReport::AddClosingAdjustments()
{
    Work &w = *m_work;
    FindOrCreateGroup(QString());
    GroupWork &group = *w.group;
    w.adjustmentsRow = &w.addDenikEntry(DenikEntry::Kind::Adjustments, group.index);
    if (m_adjustments.RecordCount() <= 0)
        return;
    const AdjustmentFields &f = *w.adjustmentFields;
    m_adjustments.First();
    do {
        // The currency filter, the period and the date play no part here.
        if (!w.centre.passes(m_adjustments.Value(f.stred).toText())
            || !w.activity.passes(m_adjustments.Value(f.cinnost).toText())
            || !w.contract.passes(m_adjustments.Value(f.zakazka).toText()))
            continue;
        w.adjustment.pohyb = m_adjustments.Value(f.pohyb).toText();
        w.adjustment.castka = m_adjustments.Value(f.castka).toCurrency();
        if (!PostAmount(group.sums, true))
            noteAdjustmentWarning(unknownMovementText(w.adjustment.pohyb));
        PostAmount(w.adjustmentsRowSums, true);
    } while (m_adjustments.Next() != TBFTable::EndOfTable);
}

void TPenDenReport::AddOpeningBalances(AmountSums &target)
{
    if (!m_work->opening)
        BuildOpeningBalances();
    const AmountColumns &opening = *m_work->opening;
    for (int slot = 0; slot < AmountColumnCount; ++slot)
        target.columns[size_t(slot)] += opening[size_t(slot)];
}

void TPenDenReport::BuildOpeningBalances()
{
    // The record exists from here on, also when a table below fails: the
    // balances are not sought again for the next group.
    m_work->opening.emplace();

    TBFTable registers;
    const QString registersPath = m_app.YearFolder() + QStringLiteral("SZUCPOKL");
    if (registers.Open(registersPath) != 0) {
        leaveOut(HostTableError::openFailed(registersPath, registers));
        return;
    }
    m_work->session.add(registers);
    addRegisterBalances(registers);
    registers.Close();

    TBFTable settings;
    const QString settingsPath = m_app.YearFolder() + QStringLiteral("SETPVARS");
    // A settings table without its index is reported like one that does
    // not open.
    if (settings.Open(settingsPath) != 0
        || settings.SetIndex(QStringLiteral("SetupVarsU+Sekce+Prom")) != 0) {
        leaveOut(HostTableError::openFailed(settingsPath, settings));
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
    AmountColumns &opening = *m_work->opening;
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
        opening[size_t(target.column - FirstAmountColumn)] += target.sign < 0 ? -amount : amount;
    } while (registers.Next() != TBFTable::EndOfTable);
}

void TPenDenReport::addColumnBalances(TBFTable &settings)
{
    const int str = settings.FieldIndex(QStringLiteral("Str"));
    AmountColumns &opening = *m_work->opening;
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
        opening[size_t(amountColumnOfField(setting.fieldName) - FirstAmountColumn)] += amount;
    }
}

} // namespace kasovka
