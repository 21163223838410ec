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
#ifdef KASOVKA_XLS_HAS_FILL
    {"fill", runFill},
#endif
};

int usage()
{
    std::fputs("usage: kasovka-xls dump FILE\n"
               "       kasovka-xls roundtrip IN OUT\n"
               "       kasovka-xls edit IN OUT OPERATION...\n"
               "operations, applied in order on the active sheet:\n"
               "  --sheet N                         make sheet N active\n"
               "  --formulas-only                   next --insert-copy copies formulas only\n"
               "  --insert-copy FIRST LAST DEST COUNT\n"
               "  --delete FIRST COUNT\n"
               "  --set ROW COLUMN VALUE            a number, or text (empty: blank)\n"
               "  --page-break ROW\n"
               "  --comment ROW INDEX TEXT          INDEX counts from 1 in the row\n",
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
