// kasovka-xls: inspects and changes Excel 97-2003 workbooks through the
// program's workbook file layer. Rows and columns count from 1.

#include "Commands.h"

#include <QCoreApplication>
#include <cstdio>

using namespace kasovka::xls;

namespace {

struct Command {
    const char *name;
    int (*run)(const QStringList &);
};

const Command kCommands[] = {
    {"dump", runDump},
    {"roundtrip", runRoundtrip},
    {"edit", runEdit},
    {"fill", runFill},
};

int usage()
{
    std::fputs("Použití: kasovka-xls dump FILE\n"
               "         kasovka-xls roundtrip IN OUT      (OUT s příponou .xlsx: sešit .xlsx)\n"
               "         kasovka-xls edit IN OUT OPERATION...\n"
               "         kasovka-xls fill TEMPLATE OUT DATA.json (OUT s příponou .xlsx: sešit .xlsx)\n"
               "Operace, provedené v daném pořadí na aktivním listu (řádky a sloupce od 1):\n"
               "  --sheet N                         aktivním listem bude list N\n"
               "  --formulas-only                   další --insert-copy kopíruje jen vzorce\n"
               "  --insert-copy FIRST LAST DEST COUNT\n"
               "  --delete FIRST COUNT\n"
               "  --set ROW COLUMN VALUE            číslo, nebo text (prázdný: prázdná buňka)\n"
               "  --page-break ROW\n"
               "  --comment ROW INDEX TEXT          INDEX se počítá od 1 v rámci řádku\n",
               stderr);
    return kExitUsage;
}

} // namespace

namespace kasovka::xls {

void printError(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fprintf(stderr, "%s\n", bytes.constData());
}

} // namespace kasovka::xls

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString name = args.takeFirst();
    for (const Command &c : kCommands)
        if (name == QLatin1String(c.name)) {
            const int rc = c.run(args);
            return rc == kExitUsage ? usage() : rc;
        }
    return usage();
}
