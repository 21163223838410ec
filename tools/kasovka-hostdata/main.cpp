// kasovka-hostdata: creates, fills and dumps host tables and builds demo data
// roots. See HostDataCommands.h for the commands.

#include "HostDataCommands.h"

#include <QString>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return kasovka::runHostData(arguments, stdout, stderr);
}
