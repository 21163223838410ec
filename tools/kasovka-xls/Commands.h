#pragma once
// The subcommands of kasovka-xls. Each takes the arguments after its name
// and returns the exit code: 0 done, 1 the workbook layer failed (its text
// on standard error), 2 wrong usage.

#include <QStringList>

namespace kasovka::xls {

constexpr int kExitOk = 0, kExitFailed = 1, kExitUsage = 2;

int runDump(const QStringList &args);
int runRoundtrip(const QStringList &args);
int runEdit(const QStringList &args);
int runFill(const QStringList &args);

// Prints a text on standard error, UTF-8.
void printError(const QString &text);

} // namespace kasovka::xls
