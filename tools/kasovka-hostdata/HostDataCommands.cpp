#include "HostDataCommands.h"

#include "HostDataCsv.h"
#include "core/Error.h"
#include "host/demo/DemoAgenda.h"
#include "host/HostSchema.h"
#include "host/TBFTable.h"
#include "host/TPristupPrava.h"

#include <QDir>
#include <QFile>

namespace kasovka {

namespace {

const char kUsage[] =
    "Použití:\n"
    "  kasovka-hostdata demo DATAROOT [--journal N] [--year RRRR] [--seed S]\n"
    "  kasovka-hostdata create PATH TABLE\n"
    "  kasovka-hostdata import PATH CSV\n"
    "  kasovka-hostdata dump PATH\n"
    "  kasovka-hostdata user DATAROOT PASSWORD RIGHT [--without-pristup2]\n";

struct UsageError {
    QString text;
};

void print(std::FILE *file, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file);
}

qint64 numberOption(const QString &name, const QString &value, qint64 min, qint64 max)
{
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    if (!ok || number < min || number > max)
        throw UsageError{QStringLiteral("Volba %1 potřebuje číslo od %2 do %3, zadáno „%4“.")
                             .arg(name).arg(min).arg(max).arg(value)};
    return number;
}

int demoCommand(const QStringList &args, std::FILE *out, std::FILE *err)
{
    if (args.size() < 2)
        throw UsageError{QStringLiteral("Chybí DATAROOT.")};
    DemoAgendaOptions options;
    for (qsizetype i = 2; i < args.size(); i += 2) {
        const QString &option = args[i];
        if (i + 1 >= args.size())
            throw UsageError{QStringLiteral("Volba %1 potřebuje hodnotu.").arg(option)};
        if (option == QLatin1String("--journal"))
            options.journalRecords = int(numberOption(option, args[i + 1], 20, 50'000'000));
        else if (option == QLatin1String("--year"))
            options.year = int(numberOption(option, args[i + 1], 1901, 9998));
        else if (option == QLatin1String("--seed"))
            options.seed = quint64(numberOption(option, args[i + 1], 0, std::numeric_limits<qint64>::max()));
        else
            throw UsageError{QStringLiteral("Neznámá volba %1.").arg(option)};
    }
    const DemoAgenda agenda = createDemoAgenda(args[1], options);
    print(err, QStringLiteral("Ukázková data (%1 záznamů deníku) jsou v %2\n")
                   .arg(agenda.journalRecords).arg(agenda.yearFolder));
    print(out, agenda.launchArguments().join(u' ') + u'\n');
    return 0;
}

int createCommand(const QStringList &args)
{
    if (args.size() != 3)
        throw UsageError{QStringLiteral("Příkaz create potřebuje PATH a TABLE.")};
    const HostTableDef *def = HostSchema::find(args[2]);
    if (!def) {
        QStringList known;
        for (const HostTableDef &table : HostSchema::tables())
            known.append(table.name);
        throw Error(QStringLiteral("Neznámá tabulka %1; známé jsou: %2.").arg(args[2], known.join(", ")));
    }
    HostSchema::createTableFile(args[1], *def);
    return 0;
}

int importCommand(const QStringList &args, std::FILE *err)
{
    if (args.size() != 3)
        throw UsageError{QStringLiteral("Příkaz import potřebuje PATH a CSV.")};
    QFile csv(args[2]);
    if (!csv.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Soubor %1 nelze číst.").arg(args[2]));
    const int count = importCsv(args[1], csv.readAll());
    print(err, QStringLiteral("Připojeno záznamů: %1\n").arg(count));
    return 0;
}

int dumpCommand(const QStringList &args, std::FILE *out)
{
    if (args.size() != 2)
        throw UsageError{QStringLiteral("Příkaz dump potřebuje PATH.")};
    const QByteArray csv = dumpCsv(args[1]);
    std::fwrite(csv.constData(), 1, size_t(csv.size()), out);
    return 0;
}

int userCommand(const QStringList &args)
{
    const bool without = args.size() == 5 && args[4] == QLatin1String("--without-pristup2");
    if (args.size() != 4 && !without)
        throw UsageError{QStringLiteral("Příkaz user potřebuje DATAROOT, PASSWORD a RIGHT.")};
    setHostUser(args[1], args[2], args[3], !without);
    return 0;
}

TBFTable &openRightsTable(TBFTable &table, const QString &path)
{
    if (TBFTable::ResolveTableFile(path).isEmpty())
        HostSchema::createTableFile(path, *HostSchema::find(path));
    if (table.Open(path) != 0)
        throw Error(table.LastError());
    if (table.SetIndex(QStringLiteral("Password")) != 0)
        throw Error(table.LastError());
    return table;
}

// Every record with the password: the first is kept (and returned current),
// later ones are removed. False when there is none.
bool keepFirstWithPassword(TBFTable &table, const QString &scrambled)
{
    if (table.Seek(scrambled) != TBFTable::SeekFound)
        return false;
    table.Next();
    while (table.HasCurrent() && table.Value(QStringLiteral("Password")).toText() == scrambled)
        table.Delete();
    table.Seek(scrambled);
    return true;
}

} // namespace

void setHostUser(const QString &dataRoot, const QString &password, const QString &right,
                 bool withPristup2)
{
    const QString root = dataRoot.endsWith(u'/') ? dataRoot : dataRoot + u'/';
    if (!QDir(root).exists())
        throw Error(QStringLiteral("Adresář %1 neexistuje.").arg(root));
    const QString scrambled = TPristupPrava::ScramblePassword(password);
    TBFTable pristup;
    openRightsTable(pristup, root + QStringLiteral("PRISTUP"));
    if (!keepFirstWithPassword(pristup, scrambled)) {
        pristup.Append();
        pristup.SetValue(QStringLiteral("Password"), scrambled);
    }
    pristup.SetValue(QStringLiteral("JUPDTisk"), right);
    pristup.Post();

    TBFTable pristup2;
    openRightsTable(pristup2, root + QStringLiteral("PRISTUP2"));
    const bool present = keepFirstWithPassword(pristup2, scrambled);
    if (withPristup2 && !present) {
        pristup2.Append();
        pristup2.SetValue(QStringLiteral("Password"), scrambled);
        pristup2.Post();
    } else if (!withPristup2 && present) {
        pristup2.Delete();
    }
}

int runHostData(const QStringList &arguments, std::FILE *out, std::FILE *err)
{
    try {
        const QString command = arguments.value(0);
        if (command == QLatin1String("demo"))
            return demoCommand(arguments, out, err);
        if (command == QLatin1String("create"))
            return createCommand(arguments);
        if (command == QLatin1String("import"))
            return importCommand(arguments, err);
        if (command == QLatin1String("dump"))
            return dumpCommand(arguments, out);
        if (command == QLatin1String("user"))
            return userCommand(arguments);
        throw UsageError{command.isEmpty() ? QString()
                                           : QStringLiteral("Neznámý příkaz %1.").arg(command)};
    } catch (const UsageError &usage) {
        if (!usage.text.isEmpty())
            print(err, usage.text + u'\n');
        print(err, QString::fromUtf8(kUsage));
        return 2;
    } catch (const Error &error) {
        print(err, error.text() + u'\n');
        return 1;
    }
}

} // namespace kasovka
