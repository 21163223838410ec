#include "host/HostTableMessages.h"

namespace kasovka {

QString tableOpenFailedText(const QString &path)
{
    return QStringLiteral("Nastala chyba při otevírání databáze ") + path + QStringLiteral(".DAT");
}

QString tableIndexFailedText(const QString &path)
{
    return QStringLiteral("Nastala chyba při nastavení indexu databáze ") + path
        + QStringLiteral(".DAT");
}

} // namespace kasovka
