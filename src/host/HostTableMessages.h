#pragma once
// The two messages every part shows when a host table cannot be used:
// "Nastala chyba při otevírání databáze " or "Nastala chyba při nastavení
// indexu databáze " followed by the table's path and ".DAT". The path is the
// folder and table name the caller opened, without extension.

#include <QString>

namespace kasovka {

QString tableOpenFailedText(const QString &path);
QString tableIndexFailedText(const QString &path);

} // namespace kasovka
