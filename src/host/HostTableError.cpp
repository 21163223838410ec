// Every text of the table store's failures.

#include "host/HostTableError.h"

#include "host/TBFTable.h"

#include <sqlite3.h>

namespace kasovka {

namespace {

using SqliteFailure = HostTableError::SqliteFailure;

QString storageClassName(int type)
{
    switch (type) {
    case SQLITE_INTEGER: return QStringLiteral("celé číslo");
    case SQLITE_FLOAT: return QStringLiteral("desetinné číslo");
    case SQLITE_TEXT: return QStringLiteral("text");
    case SQLITE_BLOB: return QStringLiteral("binární data");
    default: return QStringLiteral("prázdná hodnota");
    }
}

QString withDat(const QString &path)
{
    return path.endsWith(QLatin1String(".DAT"), Qt::CaseInsensitive) ? path : path + QLatin1String(".DAT");
}

// "Pole „field“ databáze file problem."
QString fieldText(const QString &file, const QString &field, const QString &problem)
{
    return QStringLiteral("Pole „%1“ databáze %2 %3.").arg(field, file, problem);
}

} // namespace

HostTableError::HostTableError(Kind kind, const QString &file, const QString &field,
                               const SqliteFailure &sqlite, const QString &text)
    : Error(text), m_kind(kind), m_file(file), m_field(field), m_sqlite(sqlite)
{
}

// --- a table file that cannot be opened, created or used ---------------------

HostTableError HostTableError::missing(const QString &path)
{
    const QString file = withDat(path);
    return {Kind::Missing, file, {}, {}, QStringLiteral("Databáze %1 neexistuje.").arg(file)};
}

HostTableError HostTableError::alreadyExists(const QString &file)
{
    return {Kind::AlreadyExists, file, {}, {}, QStringLiteral("Databáze %1 už existuje.").arg(file)};
}

HostTableError HostTableError::cannotOpen(const QString &file, const SqliteFailure &sqlite)
{
    QString text;
    switch (sqlite.code) {
    case SQLITE_BUSY:
        text = QStringLiteral("Do databáze %1 právě zapisuje účetní systém; zkuste to prosím za chvíli znovu.")
                   .arg(file);
        break;
    case SQLITE_NOTADB: text = QStringLiteral("Soubor %1 není databází (%2).").arg(file, sqlite.text); break;
    case SQLITE_CORRUPT: text = QStringLiteral("Databáze %1 je poškozená (%2).").arg(file, sqlite.text); break;
    default: text = QStringLiteral("Databázi %1 nelze otevřít (%2).").arg(file, sqlite.text); break;
    }
    return {Kind::CannotOpen, file, {}, sqlite, text};
}

HostTableError HostTableError::cannotCreate(const QString &file, const SqliteFailure &sqlite)
{
    return {Kind::CannotCreate, file, {}, sqlite,
            QStringLiteral("Databázi %1 nelze vytvořit (%2).").arg(file, sqlite.text)};
}

HostTableError HostTableError::cannotCreateIndexes(const QString &file, const SqliteFailure &sqlite)
{
    return {Kind::CannotCreateIndexes, file, {}, sqlite,
            QStringLiteral("Indexy databáze %1 nelze vytvořit (%2).").arg(file, sqlite.text)};
}

HostTableError HostTableError::noDataTable(const QString &file)
{
    return {Kind::NoDataTable, file, {}, {}, QStringLiteral("Databáze %1 neobsahuje tabulku data.").arg(file)};
}

HostTableError HostTableError::forbiddenField(const QString &file, const QString &field)
{
    return {Kind::ForbiddenField, file, field, {},
            QStringLiteral("Databáze %1 má pole „%2“, které tabulka nesmí mít.").arg(file, field)};
}

HostTableError HostTableError::wrongFieldType(const QString &file, const QString &field,
                                              const QString &declared, const QString &expected)
{
    const QString problem = declared.isEmpty()
        ? QStringLiteral("nemá typ, očekává se typ %1").arg(expected)
        : QStringLiteral("má typ %1, očekává se typ %2").arg(declared, expected);
    return {Kind::WrongFieldType, file, field, {}, fieldText(file, field, problem)};
}

HostTableError HostTableError::noPrivateCopy(const QString &file, int code, const QString &reason)
{
    return {Kind::NoPrivateCopy, file, {}, {code, code, {}}, reason};
}

// --- working with an open table ------------------------------------------------

HostTableError HostTableError::storeFailed(const QString &file, const SqliteFailure &sqlite)
{
    QString text;
    switch (sqlite.code) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        text = QStringLiteral("Databáze %1 je právě zamčená jiným programem (%2).").arg(file, sqlite.text);
        break;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: text = QStringLiteral("Databáze %1 je poškozená (%2).").arg(file, sqlite.text); break;
    default: text = QStringLiteral("Chyba při práci s databází %1 (%2).").arg(file, sqlite.text); break;
    }
    return {Kind::StoreFailed, file, {}, sqlite, text};
}

HostTableError HostTableError::notOpen()
{
    return {Kind::NotOpen, {}, {}, {}, QStringLiteral("Databáze není otevřená.")};
}

HostTableError HostTableError::noCurrentRecord(const QString &file)
{
    return {Kind::NoCurrentRecord, file, {}, {}, QStringLiteral("Databáze %1 nemá aktuální záznam.").arg(file)};
}

HostTableError HostTableError::noField(const QString &file, const QString &field)
{
    return {Kind::NoField, file, field, {}, QStringLiteral("Databáze %1 nemá pole „%2“.").arg(file, field)};
}

HostTableError HostTableError::noFieldNumber(const QString &file, int field)
{
    return {Kind::NoFieldNumber, file, {}, {}, QStringLiteral("Databáze %1 nemá pole číslo %2.").arg(file).arg(field)};
}

HostTableError HostTableError::noIndex(const QString &file, const QString &index)
{
    return {Kind::NoIndex, file, {}, {}, QStringLiteral("Databáze %1 nemá index „%2“.").arg(file, index)};
}

HostTableError HostTableError::seekWithoutIndex(const QString &file)
{
    return {Kind::SeekWithoutIndex, file, {}, {},
            QStringLiteral("V databázi %1 nelze hledat bez nastaveného indexu.").arg(file)};
}

HostTableError HostTableError::tooManyKeys(const QString &file, const QString &index, qsizetype parts,
                                           qsizetype keys)
{
    return {Kind::TooManyKeys, file, {}, {},
            QStringLiteral("Index „%1“ databáze %2 má %3 částí, hledá se podle %4.")
                .arg(index, file).arg(parts).arg(keys)};
}

HostTableError HostTableError::unknownFieldType(const QString &file, const QString &field,
                                                const QString &declared)
{
    return {Kind::UnknownFieldType, file, field, {},
            fieldText(file, field, QStringLiteral("má neznámý typ %1").arg(declared))};
}

HostTableError HostTableError::unexpectedValue(const QString &file, const QString &field, int storageClass,
                                               const QString &declared)
{
    const QString problem = QStringLiteral("obsahuje hodnotu typu %1, očekává se typ %2")
                                .arg(storageClassName(storageClass), declared);
    return {Kind::UnexpectedValue, file, field, {}, fieldText(file, field, problem)};
}

HostTableError HostTableError::fieldNotFetched(const QString &file, const QString &field)
{
    return {Kind::FieldNotFetched, file, field, {},
            fieldText(file, field, QStringLiteral("není mezi čtenými poli"))};
}

HostTableError HostTableError::valueDoesNotFit(const QString &file, const QString &field,
                                               const QString &value, const QString &reason)
{
    return {Kind::ValueDoesNotFit, file, field, {},
            fieldText(file, field, QStringLiteral("nemůže obsahovat hodnotu „%1“ (%2)").arg(value, reason))};
}

HostTableError HostTableError::writeWhileReading(const QString &file)
{
    return {Kind::WriteWhileReading, file, {}, {},
            QStringLiteral("Do databáze %1 nelze zapisovat, dokud trvá čtení sestavy.").arg(file)};
}

// --- the bulk writer -------------------------------------------------------------

HostTableError HostTableError::cannotWrite(const QString &file, const SqliteFailure &sqlite)
{
    return {Kind::CannotWrite, file, {}, sqlite,
            QStringLiteral("Do databáze %1 nelze zapisovat (%2).").arg(file, sqlite.text)};
}

HostTableError HostTableError::writingEnded(const QString &file)
{
    return {Kind::WritingEnded, file, {}, {}, QStringLiteral("Zápis do databáze %1 už byl ukončen.").arg(file)};
}

// --- the host's own messages -------------------------------------------------------

HostTableError HostTableError::tableUnusable(const QString &path, const HostTableError *cause)
{
    const QString file = path + QStringLiteral(".DAT");
    return {Kind::TableUnusable, file, {}, cause ? cause->m_sqlite : SqliteFailure(),
            QStringLiteral("Nastala chyba při otevírání databáze ") + file};
}

HostTableError HostTableError::indexUnusable(const QString &path, const HostTableError *cause)
{
    const QString file = path + QStringLiteral(".DAT");
    return {Kind::IndexUnusable, file, {}, cause ? cause->m_sqlite : SqliteFailure(),
            QStringLiteral("Nastala chyba při nastavení indexu databáze ") + file};
}

HostTableError HostTableError::openFailed(const QString &path, const TBFTable &table)
{
    const HostTableError *cause = table.LastFailure();
    if (table.HostWasWriting() && cause)
        return *cause;
    return tableUnusable(path, cause);
}

HostTableError HostTableError::indexFailed(const QString &path, const TBFTable &table)
{
    return indexUnusable(path, table.LastFailure());
}

} // namespace kasovka
