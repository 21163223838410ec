#include "host/demo/DemoAgenda.h"

#include "core/Error.h"
#include "core/IniFile.h"
#include "host/demo/DemoCatalog.h"
#include "host/HostSchema.h"
#include "host/TBFTable.h"
#include "host/demo/THostTableWriter.h"
#include "host/TPristupPrava.h"

#include <QDir>
#include <QFileInfo>

namespace kasovka {

namespace {

using demo::Movement;

using Row = QList<Variant>;

QString text(const char *utf8) { return QString::fromUtf8(utf8); }

// Creates `table` in `folder` and fills it; `fields` name the values of
// each row in order.
void writeTable(const QString &folder, const QString &table, const QStringList &fields,
                const QList<Row> &rows)
{
    const HostTableDef *def = HostSchema::find(table);
    HostSchema::createTableFile(folder + table, def ? *def : HostSchema::settingsTable(table));
    THostTableWriter writer(folder + table);
    QList<int> positions;
    for (const QString &field : fields)
        positions.append(writer.FieldIndex(field));
    for (const Row &row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i)
            writer.SetValue(positions[i], row[i]);
        writer.Append();
    }
    writer.Commit();
}

QList<Row> codeRows(const QList<demo::CodeName> &list)
{
    QList<Row> rows;
    for (const demo::CodeName &entry : list)
        rows.append({text(entry.code), text(entry.name)});
    return rows;
}

QList<DemoUser> demoUsers()
{
    return {
        {QStringLiteral("Novák"), QStringLiteral("demo"), QStringLiteral("A")},
        {QStringLiteral("Svobodová"), QStringLiteral("ucetni"), QStringLiteral("R")},
        {QStringLiteral("Dvořák"), QStringLiteral("sklad"), QStringLiteral("N")},
    };
}

void writeAgendaTables(const QString &agenda)
{
    QList<Row> firms;
    for (const demo::Firm &firm : demo::firms()) {
        const QString ico = text(firm.ico);
        firms.append({firm.number, text(firm.name), ico,
                      ico.isEmpty() ? QString() : QStringLiteral("CZ") + ico, text(firm.street),
                      text(firm.town), text(firm.postCode), text(firm.key)});
    }
    writeTable(agenda, QStringLiteral("ADRESARF"),
               {"Cislo", "ObchNazev", "ICO", "DIC", "Ulice", "Obec", "PSC", "Klic"}, firms);
    writeTable(agenda, QStringLiteral("MENY"), {"Kod", "Zeme", "Mnozstvi", "Kurz"},
               {{QStringLiteral("EUR"), QStringLiteral("Evropská měnová unie"), 1, 25.2},
                {QStringLiteral("USD"), QStringLiteral("USA"), 1, 23.1},
                {QStringLiteral("GBP"), QStringLiteral("Velká Británie"), 1, 29.4},
                {QStringLiteral("PLN"), QStringLiteral("Polsko"), 100, 578.5},
                {QStringLiteral("HUF"), QStringLiteral("Maďarsko"), 100, 6.41}});
    writeTable(agenda, QStringLiteral("ADKLICE"), {"Klic", "Popis"},
               {{QStringLiteral("ODB"), QStringLiteral("Odběratel")},
                {QStringLiteral("DOD"), QStringLiteral("Dodavatel")},
                {QStringLiteral("VIP"), QStringLiteral("Významný zákazník")},
                {QStringLiteral("UR"), QStringLiteral("Úřady a instituce")}});
    // Store 3 is a consignment store (TypSkladu 1), whose groups the stock
    // group list leaves out.
    writeTable(agenda, QStringLiteral("SKSEZSKL"), {"Číslo", "Název", "TypSkladu"},
               {{1, QStringLiteral("Hlavní sklad Kolín"), 0},
                {2, QStringLiteral("Sklad Brno"), 0},
                {3, QStringLiteral("Komisní sklad"), 1}});
    writeTable(agenda, QStringLiteral("SKSEZSKP"), {"Sklad", "Číslo", "Název"},
               {{1, 1, QStringLiteral("Stavební materiál")},
                {1, 2, QStringLiteral("Nářadí")},
                {1, 3, QStringLiteral("Barvy a laky")},
                {2, 1, QStringLiteral("Spotřební materiál")},
                {2, 2, QStringLiteral("Okna a dveře")},
                {3, 1, QStringLiteral("Komisní zboží")}});
}

void writeRightsTables(const QString &dataRoot, const QList<DemoUser> &users)
{
    QList<Row> pristup, pristup2;
    for (const DemoUser &user : users) {
        const QString scrambled = TPristupPrava::ScramblePassword(user.password);
        pristup.append({user.name, scrambled, user.right});
        pristup2.append({user.name, scrambled});
    }
    // A user whose second record is missing: the host lets nobody in so.
    pristup.append({QStringLiteral("Malá"), TPristupPrava::ScramblePassword(QStringLiteral("mala")),
                    QStringLiteral("A")});
    writeTable(dataRoot, QStringLiteral("PRISTUP"), {"Jmeno", "Password", "JUPDTisk"}, pristup);
    writeTable(dataRoot, QStringLiteral("PRISTUP2"), {"Jmeno", "Password"}, pristup2);
}

void writeYearSettings(const QString &year, int accountingYear)
{
    const Variant empty = QString();
    writeTable(year, QStringLiteral("ROK"), {"Section1", "Variable", "TypeVar", "Value"},
               {{QStringLiteral("Global"), QStringLiteral("Hospodářský rok od"), empty,
                 int(encodeDate(accountingYear, 1, 1)) - 1},
                {QStringLiteral("Global"), QStringLiteral("Hospodářský rok do"), empty,
                 int(encodeDate(accountingYear, 12, 31)) - 1},
                {QStringLiteral("Global"), QStringLiteral("Podvojné účetnictví"), empty,
                 QStringLiteral("N")},
                {QStringLiteral("Global"), QStringLiteral("Plátce DPH"), empty, QStringLiteral("A")},
                {QStringLiteral("Firma"), QStringLiteral("Název"), empty,
                 QStringLiteral("Demo Stavby s.r.o.")},
                {QStringLiteral("Firma"), QStringLiteral("DIČ"), empty, QStringLiteral("CZ27081234")}});
}

void writeYearCodeLists(const QString &year, int accountingYear)
{
    QList<Row> movements;
    for (const Movement &m : demo::movements())
        movements.append({text(m.code), text(m.description), text(m.type), text(m.column)});
    writeTable(year, QStringLiteral("UCPOHYBY"), {"Zkrat", "Popis", "Typ", "Sloupec"}, movements);
    writeTable(year, QStringLiteral("SZSTRED"), {"Zkrat", "Nazev"}, codeRows(demo::centres()));
    writeTable(year, QStringLiteral("ZAKAZKY"), {"Zkrat", "Nazev"}, codeRows(demo::contracts()));
    writeTable(year, QStringLiteral("SZCINN"), {"Zkrat", "Nazev"}, codeRows(demo::activities()));
    writeTable(year, QStringLiteral("SZUCPOKL"),
               {"Zkrat", "Nazev", "UcPokl", "Mena", "PocStav", "PSMnozstvi", "PSKurz"},
               {{QStringLiteral("POKL"), QStringLiteral("Hlavní pokladna"), QStringLiteral("P"),
                 QString(), Currency::fromInt(12500), 0, 0.0},
                {QStringLiteral("POKLEUR"), QStringLiteral("Pokladna EUR"), QStringLiteral("P"),
                 QStringLiteral("EUR"), Currency::fromInt(800), 1, 25.2},
                {QStringLiteral("KB"), QStringLiteral("Běžný účet Komerční banka"),
                 QStringLiteral("U"), QString(), Currency::fromRaw(1483205000), 0, 0.0},
                {QStringLiteral("UVER"), QStringLiteral("Úvěrový účet"), QStringLiteral("U"),
                 QString(), Currency::fromInt(-35000), 0, 0.0}});
    const QString d = QStringLiteral("Default");
    const QString ps = QStringLiteral("Poc. stav PD");
    writeTable(year, QStringLiteral("SETPVARS"), {"SetupVarsU", "Sekce", "Prom", "Str"},
               {{d, ps, QStringLiteral("PPrP"), QStringLiteral("2000.00")},
                {d, ps, QStringLiteral("VOsN"), QStringLiteral("350.50")},
                {d, ps, QStringLiteral("PZbo"), QStringLiteral("0")},
                {d, QStringLiteral("Firma"), QStringLiteral("ICO"), QStringLiteral("27081234")},
                {d, QStringLiteral("Tisk"), QStringLiteral("Kopie"), QStringLiteral("1")}});
    const QString z = QStringLiteral("Uzávěrková úprava ");
    const Variant last = Variant::fromDate(encodeDate(accountingYear, 12, 31));
    writeTable(year, QStringLiteral("UZZAVUP"),
               {"Cislo", "Datum", "Popis", "Pohyb", "Typ", "Castka", "Stred", "Cinnost", "Zakzka"},
               {{1, last, z + QStringLiteral("- neuhrazené pohledávky"), u"PZBF", u"P", Currency::fromInt(45000), u"PRAHA", u"OBCHOD", u"Z01"},
                {2, last, z + QStringLiteral("- přírůstek zásob materiálu"), u"VMA", u"V", Currency::fromInt(-8500), u"DILNA", u"VYROBA", u""},
                {3, last, z + QStringLiteral("- neuhrazené závazky"), u"VZB", u"V", Currency::fromInt(17300), u"BRNO", u"OBCHOD", u"Z05"},
                {4, last, z + QStringLiteral("- přijaté zálohy"), u"PSL", u"P", Currency::fromRaw(-62005000), u"PRAHA", u"SLUZBY", u"Z02"},
                {5, last, z + QStringLiteral("- časové rozlišení nájmu"), u"VRE", u"V", Currency::fromInt(-6000), u"SPRAVA", u"", u""},
                {6, last, z + QStringLiteral("- rezerva na opravu"), u"VRZR", u"V", Currency::fromInt(20000), u"", u"", u"Z03"}});
}

} // namespace

QString demoAgendaFolderName() { return QStringLiteral("AGENDA.DEMO"); }
QString demoYearFolderName(int year) { return QStringLiteral("ROK.%1").arg(year); }

QStringList DemoAgenda::launchArguments() const
{
    return {QStringLiteral("?MAIN=") + dataRoot + QStringLiteral("?MAIN"),
            QStringLiteral("?AKTROK=") + yearFolder + QStringLiteral("?AKTROK"),
            QStringLiteral("?MVERZE=") + hostVersion + QStringLiteral("?MVERZE"),
            QStringLiteral("?AKTHESLO=") + user.password + QStringLiteral("?AKTHESLO"),
            QStringLiteral("?AKTCFGNAME=") + configName + QStringLiteral("?AKTCFGNAME")};
}

DemoAgenda createDemoAgenda(const QString &dataRoot, const DemoAgendaOptions &options)
{
    if (options.journalRecords < 20 || options.journalRecords > 50'000'000)
        throw Error(QStringLiteral("Počet záznamů deníku musí být mezi 20 a 50 000 000, zadáno %1.")
                        .arg(options.journalRecords));
    if (options.year < 1901 || options.year > 9998)
        throw Error(QStringLiteral("Rok %1 není platný účetní rok.").arg(options.year));
    DemoAgenda agenda;
    agenda.dataRoot = QDir::cleanPath(QDir(dataRoot).absolutePath()) + QLatin1Char('/');
    agenda.agendaFolder = agenda.dataRoot + demoAgendaFolderName() + QLatin1Char('/');
    agenda.yearFolder = agenda.agendaFolder + demoYearFolderName(options.year) + QLatin1Char('/');
    agenda.hostVersion = QStringLiteral("11.060");
    agenda.configName = QStringLiteral("Demo");
    agenda.users = demoUsers();
    agenda.user = agenda.users.first();
    agenda.journalRecords = options.journalRecords;

    if (!QDir().mkpath(agenda.yearFolder))
        throw Error(QStringLiteral("Nelze vytvořit adresář %1").arg(agenda.yearFolder));
    // Existing host tables are never replaced: the data root may be real.
    for (const HostTableDef &def : HostSchema::tables()) {
        const QString folder = def.folder == HostTableFolder::DataRoot ? agenda.dataRoot
            : def.folder == HostTableFolder::Agenda                    ? agenda.agendaFolder
                                                                       : agenda.yearFolder;
        const QString existing = TBFTable::ResolveTableFile(folder + def.name);
        if (!existing.isEmpty())
            throw Error(QStringLiteral("Databáze %1 už existuje; ukázková data lze vytvořit "
                                       "jen tam, kde ještě nejsou.").arg(existing));
    }

    TIniFile(agenda.dataRoot + QStringLiteral("data.ini"))
        .WriteString(QStringLiteral("Version"), QStringLiteral("ProgBuild"), QStringLiteral("20160829"));
    writeRightsTables(agenda.dataRoot, agenda.users);
    writeAgendaTables(agenda.agendaFolder);
    writeYearSettings(agenda.yearFolder, options.year);
    writeYearCodeLists(agenda.yearFolder, options.year);
    demo::writeJournal(agenda.yearFolder, options.year, options.journalRecords, options.seed,
                     agenda.users);
    return agenda;
}

} // namespace kasovka
