#include "host/HostTableMessages.h"

#include "host/TBFTable.h"

namespace kasovka {

QString tableOpenFailedText(const QString &path)
{
    return QStringLiteral("Nastala chyba při otevírání databáze ") + path + QStringLiteral(".DAT");
}

QString tableOpenFailedText(const QString &path, const TBFTable &table)
{
    return table.HostWasWriting() ? table.LastError() : tableOpenFailedText(path);
}

QString tableIndexFailedText(const QString &path)
{
    return QStringLiteral("Nastala chyba při nastavení indexu databáze ") + path
        + QStringLiteral(".DAT");
}

} // namespace kasovka
