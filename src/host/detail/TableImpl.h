#pragma once
// The private state of TBFTable, shared by its navigation and value code.

#include "host/HostSchema.h"
#include "host/TBFTable.h"
#include "host/detail/Sqlite.h"
#include "host/detail/TableCursor.h"

#include <QHash>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kasovka {

struct TableField {
    QString name;
    QString declared;   // the declared type as the file states it
    HostFieldKind kind = HostFieldKind::Text;
    bool knownKind = false;
};

namespace detail {
// Binds a value for a write, converted to the field's kind; throws
// HostTableError naming the field and the file when the value does not fit.
void bindFieldValue(sqlite3_stmt *stmt, int slot, const TableField &field, const QString &path,
                    const Variant &value);
// Reads the columns of the table `data`; SQLite result code (SQLITE_DONE
// when read), no columns when the file has no such table.
int readTableFields(sqlite3 *db, QList<TableField> &fields);
} // namespace detail

// The last text read per field: equal bytes give back the same shared
// QString, so low-variety fields ("PK", "P", "") cost no allocation.
struct TextCache {
    std::string bytes;
    QString text;
};

struct TBFTable::Impl {
    detail::SqliteDb db;
    QString path;
    // Why the last Open or SetIndex failed.
    std::optional<HostTableError> lastFailure;
    QList<TableField> fields;
    QHash<QString, int> fieldByName;
    mutable std::vector<TextCache> textCache;

    QString indexName;
    QList<int> indexFields;
    // The fields fetched with each record: the reader's choice (empty: all)
    // and the index's, which a continuation needs. columnOf maps a field to
    // its column in every statement's result, -1 when it is not fetched.
    QList<int> selectedFields;
    std::vector<int> columnOf;
    detail::TableOrder order;
    detail::SqliteStmt scan;
    std::vector<std::unique_ptr<detail::SqliteStmt>> seeks; // by key count
    detail::SqliteStmt continuation;
    detail::SqliteStmt pin;   // one record by rowid
    detail::SqliteStmt count;

    sqlite3_stmt *current = nullptr; // the statement whose row is current
    bool appending = false;
    std::vector<std::optional<Variant>> edits;
    bool hasEdits = false;
    bool readTransaction = false;
    bool writable = false; // opened for reading until the first write
    // A private copy read instead of a file whose folder cannot hold the
    // write-ahead log's index (a user who may only read the host's data).
    std::unique_ptr<QTemporaryDir> snapshot;
    // The last Open failed only because the host kept writing the table.
    bool hostWasWriting = false;

    // --- connection (TableConnection.cpp) ---
    // Opens the file for reading, reads and checks its fields and prepares
    // the statements of every order. 0, or 1 with lastFailure set.
    int connect(const QString &file);
    // Reopens the file for writing, keeping the order and the current
    // record; throws HostTableError when the file cannot be written.
    void makeWritable();
    // After the connection is closed: removes the write-ahead log and its
    // index that reading created beside the file (a reader never removes
    // them itself), unless another connection still uses them.
    void tidyLogFiles();
    bool createdLogFiles = false;

    // --- failures (throw HostTableError) ---
    [[noreturn]] void failStore(int rc) const;
    [[noreturn]] void failNoCurrent() const;
    void refuseWhileReading() const;

    // --- cursor ---
    // The select list for the chosen fields and `index`, with the columns
    // each field gets in it.
    QByteArray selectListFor(const QList<int> &index, std::vector<int> &columns) const;
    // Prepares the statement of one record by rowid (pin) and the scan for
    // the current order.
    int prepareRecordStatements();
    void setCurrent(sqlite3_stmt *stmt);
    int stepCurrent();           // 0 on a row, EndOfTable at the end
    qint64 currentRowid() const;
    QList<sqlite3_value *> currentKey() const; // caller frees (freeKey)
    static void freeKey(QList<sqlite3_value *> &key);
    int continueAfter(QList<sqlite3_value *> key, qint64 rowid);
    void pinRowid(qint64 rowid);
    void clearEdits();
    int readIndexFields(const QString &indexName, QList<int> &positions) const;
    void checkField(int field) const;

    // --- values ---
    Variant read(int field) const;
    // The fetched column of a field; throws when the field is not fetched.
    int columnOfField(int field) const;
    // The column to read a field of `kind` from straight away, or -1 when
    // Value must give it (an edit, an appended record, another declared
    // kind). Throws like Value without a current record.
    int directColumn(int field, HostFieldKind kind) const;
    [[noreturn]] void failStorageClass(int field, int type) const;
    // The text of a field's bytes, shared while the bytes repeat.
    const QString &cachedText(int field, const char *bytes, size_t size) const;
    Variant emptyValue(int field) const;
    void bindForWrite(sqlite3_stmt *stmt, int slot, int field, const Variant &value) const;
    // False when the key cannot be had in the field's kind (no record can match).
    bool bindKey(sqlite3_stmt *stmt, int slot, int field, const Variant &value) const;
};

} // namespace kasovka
