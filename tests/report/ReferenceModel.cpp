#include "report/ReferenceModel.h"

#include "host/TBFTable.h"

#include <QMap>

#include <gtest/gtest.h>

#include <functional>

namespace kasovka::test {

namespace {

// The journal column codes of the movements and the setting names of the
// opening balances, written out once more on purpose.
const QMap<QString, int> &purposeOfCode()
{
    static const QMap<QString, int> map = {
        {"VPrP", 9},  {"PPrP", 10}, {"PZbo", 13}, {"PSlu", 14}, {"POst", 15}, {"VMat", 16},
        {"VZbo", 17}, {"VDrM", 18}, {"VMzd", 19}, {"VDMz", 20}, {"VSoP", 21}, {"VZdP", 22},
        {"VRez", 23}, {"PSra", 24}, {"PDPH", 25}, {"PDot", 26}, {"PVkl", 27}, {"POsN", 28},
        {"VHIM", 29}, {"VDPH", 30}, {"VOzc", 31}, {"VDzP", 32}, {"VOso", 33}, {"VDar", 34},
        {"VRzr", 35}, {"VOsN", 35}};
    return map;
}

const QMap<QString, int> &openingOfSetting()
{
    static const QMap<QString, int> map = {
        {"PPrP", 9},  {"VPrP", 10}, {"PZbo", 13}, {"PSlu", 14}, {"POst", 15}, {"VMat", 16},
        {"VZbo", 17}, {"VDrM", 18}, {"VMzd", 19}, {"VDMz", 20}, {"VSoP", 21}, {"VZdP", 22},
        {"VRez", 23}, {"PSra", 24}, {"PDPH", 25}, {"PDot", 26}, {"PVkl", 27}, {"POsN", 28},
        {"VHIM", 29}, {"VDPH", 30}, {"VRzr", 35}, {"VDzP", 32}, {"VOso", 33}, {"VDar", 34},
        {"VOsN", 35}, {"VOzc", 31}};
    return map;
}

void derive(Columns &c)
{
    c[11] = c[13] + c[14] + c[15];
    c[12] = Currency();
    for (int i = 16; i <= 23; ++i)
        c[12] += c[i];
}

void forEachRecord(const QString &path, const std::function<void(TBFTable &)> &visit)
{
    TBFTable table;
    ASSERT_EQ(table.Open(path), 0) << path.toStdString();
    if (table.RecordCount() == 0)
        return;
    table.First();
    do
        visit(table);
    while (table.Next() != TBFTable::EndOfTable);
}

QHash<QString, int> movementColumns(const QString &yearFolder, QHash<QString, bool> *known)
{
    QHash<QString, int> columns;
    forEachRecord(yearFolder + "UCPOHYBY", [&](TBFTable &t) {
        const QString code = t.Value("Zkrat").toText();
        if (known->contains(code))
            return; // the first record of a code is the one a seek finds
        known->insert(code, true);
        columns.insert(code, purposeOfCode().value(t.Value("Sloupec").toText(), 0));
    });
    return columns;
}

// Adds a journal record or adjustment to `c`; false when its movement is
// unknown (then nothing is added).
bool post(Columns &c, const QHash<QString, int> &movements, const QString &pohyb, Currency castka,
          const QString &typ, const QString &zdroj, bool journal)
{
    if (!movements.contains(pohyb))
        return false;
    if (journal) {
        if (typ == "P" && zdroj == "PK") c[5] += castka;
        if (typ == "V" && zdroj == "PK") c[6] += castka;
        if (typ == "P" && zdroj == "BK") c[7] += castka;
        if (typ == "V" && zdroj == "BK") c[8] += castka;
    }
    if (const int purpose = movements.value(pohyb))
        c[purpose] += castka;
    return true;
}

struct Accepted {
    bool counted = false;
    bool before = false;
};

Accepted classify(TBFTable &t, const ReferenceFilter &f)
{
    if (t.Value("Del").toBool() || t.Value("Free").toBool())
        return {};
    const double date = datePart(t.Value("Datum").toDate());
    if (!f.period)
        return {true, false};
    if (date > datePart(f.to))
        return {};
    if (date < datePart(f.from))
        return f.earlier ? Accepted{true, true} : Accepted{};
    return {true, false};
}

} // namespace

ReferenceReport computeReference(const QString &yearFolder, const ReferenceFilter &f)
{
    ReferenceReport r;
    QHash<QString, bool> known;
    const QHash<QString, int> movements = movementColumns(yearFolder, &known);
    forEachRecord(yearFolder + "UCPENDEN", [&](TBFTable &t) {
        const Accepted a = classify(t, f);
        if (!a.counted)
            return;
        const QString pohyb = t.Value("Pohyb").toText();
        const Currency castka = t.Value("Castka").toCurrency();
        const QString typ = t.Value("Typ").toText();
        const QString zdroj = t.Value("Zdroj").toText();
        post(r.group, movements, pohyb, castka, typ, zdroj, true);
        if (a.before)
            post(r.carried, movements, pohyb, castka, typ, zdroj, true);
    });
    if (f.adjustments) {
        forEachRecord(yearFolder + "UZZAVUP", [&](TBFTable &t) {
            post(r.group, movements, t.Value("Pohyb").toText(), t.Value("Castka").toCurrency(),
                 QString(), QString(), false);
        });
    }
    if (!f.period || f.earlier) {
        r.hasOpening = true;
        forEachRecord(yearFolder + "SZUCPOKL", [&](TBFTable &t) {
            Currency balance = t.Value("PocStav").toCurrency();
            if (!t.Value("Mena").toText().isEmpty()) {
                const qint64 units = t.Value("PSMnozstvi").toInt();
                balance = units == 0 ? Currency()
                                     : Currency::fromDouble(balance.toDouble()
                                                            * t.Value("PSKurz").toDouble() / units);
            }
            const QString kind = t.Value("UcPokl").toText();
            const int base = kind == "P" ? 5 : kind == "U" ? 7 : 0;
            if (base == 0)
                return;
            if (balance > Currency())
                r.opening[base] += balance;
            else
                r.opening[base + 1] -= balance;
        });
        TBFTable settings;
        if (settings.Open(yearFolder + "SETPVARS") == 0
            && settings.SetIndex("SetupVarsU+Sekce+Prom") == 0) {
            for (auto it = openingOfSetting().begin(); it != openingOfSetting().end(); ++it) {
                if (settings.SeekArray({Variant("Default"), Variant("Poc. stav PD"),
                                        Variant(it.key())})
                    == TBFTable::SeekFound) {
                    if (auto value = Currency::parse(settings.Value("Str").toText(), u'.'))
                        r.opening[it.value()] += *value;
                }
            }
        }
        for (int i = 5; i <= 35; ++i) {
            r.group[i] += r.opening[i];
            r.carried[i] += r.opening[i];
        }
    }
    derive(r.group);
    derive(r.carried);
    derive(r.opening);
    return r;
}

QHash<QString, Columns> computeGroupSums(const QString &yearFolder, const ReferenceFilter &f,
                                         const QString &keyField)
{
    QHash<QString, Columns> sums;
    QHash<QString, bool> known;
    const QHash<QString, int> movements = movementColumns(yearFolder, &known);
    forEachRecord(yearFolder + "UCPENDEN", [&](TBFTable &t) {
        if (!classify(t, f).counted)
            return;
        Columns &c = sums[t.Value(keyField).toText().toCaseFolded()];
        post(c, movements, t.Value("Pohyb").toText(), t.Value("Castka").toCurrency(),
             t.Value("Typ").toText(), t.Value("Zdroj").toText(), true);
    });
    for (Columns &c : sums)
        derive(c);
    return sums;
}

} // namespace kasovka::test
