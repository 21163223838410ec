#include "report/ReportFixture.h"

#include "core/MemTable.h"
#include "host/demo/THostTableWriter.h"
#include "report/ReportColumns.h"

#include <QDir>
#include <QFile>

namespace kasovka::test {

namespace {

const char *const kYearTables[] = {"UCPENDEN", "UCPOHYBY", "UZZAVUP", "POKLKNIH", "BANKKNIH",
                                   "SZUCPOKL", "SETPVARS", "SZSTRED", "ZAKAZKY", "SZCINN"};

const char *const kPurposeCodes[] = {
    "VPrP", "PPrP", "PZbo", "PSlu", "POst", "VMat", "VZbo", "VDrM", "VMzd",
    "VDMz", "VSoP", "VZdP", "VRez", "PSra", "PDPH", "PDot", "PVkl", "POsN",
    "VHIM", "VDPH", "VOzc", "VDzP", "VOso", "VDar", "VRzr", "VOsN"};

} // namespace

Currency money(const char *text)
{
    return *Currency::parse(QString::fromLatin1(text));
}

TDateTime day(int year, int month, int dayOfMonth)
{
    return encodeDate(year, month, dayOfMonth);
}

ReportTest::ReportTest()
{
    for (const char *name : kYearTables)
        HostSchema::createTableFile(yearFolder() + QString::fromLatin1(name),
                                    *HostSchema::find(QString::fromLatin1(name)));
    HostSchema::createTableFile(agendaFolder() + QStringLiteral("ADRESARF"),
                                *HostSchema::find(QStringLiteral("ADRESARF")));
    // One transaction for all movements keeps the fixture quick.
    append(yearFolder() + QStringLiteral("UCPOHYBY"), [](THostTableWriter &w) {
        auto add = [&w](const QString &code, const QString &sloupec, const QString &popis) {
            w.SetValue(QStringLiteral("Zkrat"), code);
            w.SetValue(QStringLiteral("Sloupec"), sloupec);
            w.SetValue(QStringLiteral("Popis"), popis);
            w.Append();
        };
        for (const char *code : kPurposeCodes)
            add(QString::fromLatin1(code), QString::fromLatin1(code),
                QStringLiteral("Pohyb ") + QString::fromLatin1(code));
        add(QStringLiteral("BEZ"), QString(), QStringLiteral("Bez sloupce"));
    });
}

QString ReportTest::agendaFolder() const
{
    return m_context.root() + QStringLiteral("DATA/AGENDA.TST/");
}

void ReportTest::append(const QString &path, const std::function<void(THostTableWriter &)> &fill)
{
    THostTableWriter writer(path);
    fill(writer);
    writer.Commit();
}

void ReportTest::addJournal(const std::vector<JournalEntry> &entries)
{
    append(yearFolder() + QStringLiteral("UCPENDEN"), [&](THostTableWriter &w) {
        for (const JournalEntry &e : entries) {
            w.SetValue(QStringLiteral("Cislo"), e.cislo ? e.cislo : nextCislo);
            ++nextCislo;
            w.SetValue(QStringLiteral("Del"), e.del);
            w.SetValue(QStringLiteral("Free"), e.free);
            w.SetValue(QStringLiteral("Datum"), Variant::fromDate(e.datum));
            w.SetValue(QStringLiteral("Zdroj"), e.zdroj);
            w.SetValue(QStringLiteral("ZRadek"), e.zRadek);
            w.SetValue(QStringLiteral("Doklad"), e.doklad);
            w.SetValue(QStringLiteral("VarSym"), e.varSym);
            w.SetValue(QStringLiteral("Popis"), e.popis);
            w.SetValue(QStringLiteral("Pohyb"), e.pohyb);
            w.SetValue(QStringLiteral("Typ"), e.typ);
            w.SetValue(QStringLiteral("Castka"), *Currency::parse(e.castka));
            w.SetValue(QStringLiteral("Mena"), e.mena);
            w.SetValue(QStringLiteral("Stred"), e.stred);
            w.SetValue(QStringLiteral("Cinnost"), e.cinnost);
            w.SetValue(QStringLiteral("Zakazka"), e.zakazka);
            w.SetValue(QStringLiteral("ICO"), e.ico);
            w.SetValue(QStringLiteral("AdCislo"), e.adCislo);
            w.SetValue(QStringLiteral("Vyst"), e.vyst);
            w.Append();
        }
    });
}

void ReportTest::addAdjustments(const std::vector<AdjustmentEntry> &entries)
{
    append(yearFolder() + QStringLiteral("UZZAVUP"), [&](THostTableWriter &w) {
        int cislo = 1;
        for (const AdjustmentEntry &e : entries) {
            w.SetValue(QStringLiteral("Cislo"), cislo++);
            w.SetValue(QStringLiteral("Pohyb"), e.pohyb);
            w.SetValue(QStringLiteral("Castka"), *Currency::parse(e.castka));
            w.SetValue(QStringLiteral("Typ"), e.typ);
            w.SetValue(QStringLiteral("Stred"), e.stred);
            w.SetValue(QStringLiteral("Cinnost"), e.cinnost);
            w.SetValue(QStringLiteral("Zakzka"), e.zakazka);
            w.Append();
        }
    });
}

void ReportTest::addRegisters(const std::vector<RegisterEntry> &entries)
{
    append(yearFolder() + QStringLiteral("SZUCPOKL"), [&](THostTableWriter &w) {
        for (const RegisterEntry &e : entries) {
            w.SetValue(QStringLiteral("Zkrat"), e.zkrat);
            w.SetValue(QStringLiteral("UcPokl"), e.ucPokl);
            w.SetValue(QStringLiteral("PocStav"), *Currency::parse(e.pocStav));
            w.SetValue(QStringLiteral("Mena"), e.mena);
            w.SetValue(QStringLiteral("PSMnozstvi"), e.psMnozstvi);
            w.SetValue(QStringLiteral("PSKurz"), e.psKurz);
            w.Append();
        }
    });
}

void ReportTest::addColumnSetting(const QString &name, const QString &str, const QString &group)
{
    append(yearFolder() + QStringLiteral("SETPVARS"), [&](THostTableWriter &w) {
        w.SetValue(QStringLiteral("SetupVarsU"), group);
        w.SetValue(QStringLiteral("Sekce"), QStringLiteral("Poc. stav PD"));
        w.SetValue(QStringLiteral("Prom"), name);
        w.SetValue(QStringLiteral("Str"), str);
        w.Append();
    });
}

void ReportTest::addBookRecord(bool bank, int cislo, const QString &popis)
{
    append(yearFolder() + (bank ? QStringLiteral("BANKKNIH") : QStringLiteral("POKLKNIH")),
           [&](THostTableWriter &w) {
               w.SetValue(QStringLiteral("Cislo"), cislo);
               w.SetValue(QStringLiteral("Popis"), popis);
               w.Append();
           });
}

void ReportTest::addCodeListEntry(const QString &table, const QString &zkrat, const QString &nazev)
{
    append(yearFolder() + table, [&](THostTableWriter &w) {
        w.SetValue(QStringLiteral("Zkrat"), zkrat);
        w.SetValue(QStringLiteral("Nazev"), nazev);
        w.Append();
    });
}

void ReportTest::addAddress(int cislo, const QString &ico, const QString &name)
{
    append(agendaFolder() + QStringLiteral("ADRESARF"), [&](THostTableWriter &w) {
        w.SetValue(QStringLiteral("Cislo"), cislo);
        w.SetValue(QStringLiteral("ICO"), ico);
        w.SetValue(QStringLiteral("ObchNazev"), name);
        w.Append();
    });
}

void ReportTest::replaceTable(const QString &folder, const HostTableDef &def)
{
    removeTable(folder, def.name);
    HostSchema::createTableFile(folder + def.name, def);
}

void ReportTest::removeTable(const QString &folder, const QString &name)
{
    QFile::remove(folder + name + QStringLiteral(".DAT"));
}

std::unique_ptr<TPenDenReport> ReportTest::generate(const std::function<void(TReportFilter &)> &setup)
{
    auto filter = std::make_unique<TReportFilter>(app());
    if (setup)
        setup(*filter);
    auto report = std::make_unique<TPenDenReport>(app(), std::move(filter));
    EXPECT_TRUE(run(*report).built()) << "messages: " << ui().messages.size();
    return report;
}

ReportOutcome ReportTest::run(TPenDenReport &report)
{
    ReportOutcome outcome = report.Generate();
    showReportMessages(app(), outcome);
    return outcome;
}

int groupRow(const TPenDenReport &report, const QString &zkratka)
{
    const TMemTable &skupiny = report.Skupiny();
    const int field = skupiny.fieldIndex(QStringLiteral("Zkratka"));
    for (int row = 0; row < skupiny.recordCount(); ++row) {
        if (skupiny.valueAt(row, field).toText() == zkratka)
            return row;
    }
    return -1;
}

qint64 groupId(const TPenDenReport &report, int skupinyRow)
{
    return integerAt(report.Skupiny(), skupinyRow, "ID");
}

std::vector<int> rowsOfGroup(const TPenDenReport &report, qint64 id)
{
    const TMemTable &denik = report.Denik();
    const int parent = denik.fieldIndex(QStringLiteral("Parent_ID"));
    std::vector<int> rows;
    for (int row = 0; row < denik.recordCount(); ++row) {
        if (denik.valueAt(row, parent).toInt() == id)
            rows.push_back(row);
    }
    return rows;
}

Currency amount(const TMemTable &table, int row, int column)
{
    return table.valueAt(row, table.fieldIndex(amountFieldName(column))).toCurrency();
}

bool isBlank(const TMemTable &table, int row, int column)
{
    return table.isNullAt(row, table.fieldIndex(amountFieldName(column)));
}

Currency totalField(const TPenDenReport &report, int skupinyRow, const char *name)
{
    const TMemTable &skupiny = report.Skupiny();
    return skupiny.valueAt(skupinyRow, skupiny.fieldIndex(QString::fromLatin1(name))).toCurrency();
}

QString textAt(const TMemTable &table, int row, const char *field)
{
    return table.valueAt(row, table.fieldIndex(QString::fromLatin1(field))).toText();
}

qint64 integerAt(const TMemTable &table, int row, const char *field)
{
    return table.valueAt(row, table.fieldIndex(QString::fromLatin1(field))).toInt();
}

int prevedenoRowOf(const TPenDenReport &report, qint64 id)
{
    const TMemTable &prevedeno = report.Prevedeno();
    for (int row = 0; row < prevedeno.recordCount(); ++row) {
        if (integerAt(prevedeno, row, "Parent_ID") == id)
            return row;
    }
    return -1;
}

} // namespace kasovka::test
