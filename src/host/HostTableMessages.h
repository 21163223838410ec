#pragma once
// The two messages every part shows when a host table cannot be used:
// "Nastala chyba při otevírání databáze " or "Nastala chyba při nastavení
// indexu databáze " followed by the table's path and ".DAT". The path is the
// folder and table name the caller opened, without extension. The texts of
// HostTableError::tableUnusable, openFailed and indexUnusable, for the parts
// that show a text without throwing.

#include <QString>

namespace kasovka {

class TBFTable;

QString tableOpenFailedText(const QString &path);
// The same for a failed `table.Open(path)`, except when the host was writing
// the table just then: the user is asked to try again in a moment instead,
// which is all it takes.
QString tableOpenFailedText(const QString &path, const TBFTable &table);
QString tableIndexFailedText(const QString &path);

} // namespace kasovka
