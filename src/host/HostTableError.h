#pragma once
// A failure of the host's table store. It carries what failed (its kind),
// the file, the field where one is concerned and, where SQLite failed,
// SQLite's result codes; its Czech text is built from those by the factory
// that names the failure, all of them in HostTableError.cpp. Sentences about
// a failure of SQLite end with SQLite's own (English) text in parentheses.
// It is an Error, so the flows catch it like any other failure.

#include "core/Error.h"

#include <QString>

namespace kasovka {

class TBFTable;

class HostTableError : public Error {
public:
    enum class Kind : quint8 {
        // A table file that cannot be opened, created or used.
        Missing,
        AlreadyExists,
        CannotOpen,        // SQLite refused the file; the text depends on the result code
        CannotCreate,
        CannotCreateIndexes,
        NoDataTable,
        ForbiddenField,    // a field named like the record number
        WrongFieldType,    // a field of the host schema with another declared type
        NoPrivateCopy,     // this run's temporary folder is not available
        // Working with an open table.
        StoreFailed,       // SQLite failed; the text depends on the result code
        NotOpen,
        NoCurrentRecord,
        NoField,
        NoFieldNumber,
        NoIndex,
        SeekWithoutIndex,
        TooManyKeys,
        UnknownFieldType,
        UnexpectedValue,   // a stored value of a storage class the field cannot give
        FieldNotFetched,
        ValueDoesNotFit,
        WriteWhileReading,
        // The bulk writer.
        CannotWrite,
        WritingEnded,
        // The host's own messages for a table that cannot be used, shown
        // instead of the store's reason.
        TableUnusable,
        IndexUnusable,
    };

    // What SQLite said about a failure: its result code, the extended code
    // (the same when there is none) and its text.
    struct SqliteFailure {
        int code = 0;
        int extendedCode = 0;
        QString text;
    };

    Kind kind() const { return m_kind; }
    // The table file (with ".DAT"); empty only for NotOpen.
    const QString &filePath() const { return m_file; }
    // The field concerned, empty when none is.
    const QString &field() const { return m_field; }
    // SQLite's primary and extended result codes, 0 where SQLite did not
    // fail; for TableUnusable and IndexUnusable those of the failure behind.
    int resultCode() const { return m_sqlite.code; }
    int extendedResultCode() const { return m_sqlite.extendedCode; }

    // `path` with or without ".DAT": the file is named with it.
    static HostTableError missing(const QString &path);
    static HostTableError alreadyExists(const QString &file);
    static HostTableError cannotOpen(const QString &file, const SqliteFailure &sqlite);
    static HostTableError cannotCreate(const QString &file, const SqliteFailure &sqlite);
    static HostTableError cannotCreateIndexes(const QString &file, const SqliteFailure &sqlite);
    static HostTableError noDataTable(const QString &file);
    static HostTableError forbiddenField(const QString &file, const QString &field);
    // `declared` empty when the field has no type.
    static HostTableError wrongFieldType(const QString &file, const QString &field,
                                         const QString &declared, const QString &expected);
    // `reason`: the temporary folder's own message, which is the text.
    static HostTableError noPrivateCopy(const QString &file, int code, const QString &reason);

    static HostTableError storeFailed(const QString &file, const SqliteFailure &sqlite);
    static HostTableError notOpen();
    static HostTableError noCurrentRecord(const QString &file);
    static HostTableError noField(const QString &file, const QString &field);
    static HostTableError noFieldNumber(const QString &file, int field);
    static HostTableError noIndex(const QString &file, const QString &index);
    static HostTableError seekWithoutIndex(const QString &file);
    static HostTableError tooManyKeys(const QString &file, const QString &index, qsizetype parts,
                                      qsizetype keys);
    static HostTableError unknownFieldType(const QString &file, const QString &field,
                                           const QString &declared);
    // `storageClass`: SQLite's type of the stored value (SQLITE_TEXT...).
    static HostTableError unexpectedValue(const QString &file, const QString &field,
                                          int storageClass, const QString &declared);
    static HostTableError fieldNotFetched(const QString &file, const QString &field);
    // `reason`: why the value cannot be had in the field's kind.
    static HostTableError valueDoesNotFit(const QString &file, const QString &field,
                                          const QString &value, const QString &reason);
    static HostTableError writeWhileReading(const QString &file);

    static HostTableError cannotWrite(const QString &file, const SqliteFailure &sqlite);
    static HostTableError writingEnded(const QString &file);

    // `path`: the folder and table name the caller opened, without ".DAT";
    // `cause`: the store's failure behind, whose result codes are kept.
    static HostTableError tableUnusable(const QString &path, const HostTableError *cause = nullptr);
    static HostTableError indexUnusable(const QString &path, const HostTableError *cause = nullptr);
    // What a failed `table.Open(path)` is reported as: TableUnusable, except
    // when the host was writing the table just then: the table's own reason
    // then asks the user to try again in a moment, which is all it takes.
    static HostTableError openFailed(const QString &path, const TBFTable &table);
    // The same for a failed `table.SetIndex`: IndexUnusable.
    static HostTableError indexFailed(const QString &path, const TBFTable &table);

private:
    HostTableError(Kind kind, const QString &file, const QString &field, const SqliteFailure &sqlite,
                   const QString &text);

    Kind m_kind;
    QString m_file;
    QString m_field;
    SqliteFailure m_sqlite;
};

} // namespace kasovka
