// TBFTable's connection to its file: opened for reading (a report only
// reads, and a user may only be allowed to read), checked against the host
// schema, and reopened for writing at the first write.

#include "core/Error.h"
#include "core/PrivateFolder.h"
#include "host/detail/TableImpl.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <thread>

namespace kasovka {

namespace {

constexpr int kBusyTimeoutMs = 5000;
// A copy the host changed meanwhile is taken again after a pause that
// doubles each time: a host's write takes milliseconds, and all the pauses
// (375 ms) stay well below the wait a reader of the file itself accepts.
constexpr int kSnapshotAttempts = 5;
constexpr int kSnapshotFirstPauseMs = 25;

// What tells whether a file changed while it was copied.
struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    QDateTime modified;
    bool operator==(const FileStamp &) const = default;
};

FileStamp stampOf(const QString &path)
{
    const QFileInfo info(path);
    return {info.exists(), info.size(), info.lastModified()};
}

bool isLogIndexFailure(int rc)
{
    return rc == SQLITE_READONLY || rc == SQLITE_CANTOPEN;
}

// The host keeps its tables in write-ahead-log mode. A reader needs the log's
// index file (-shm) beside the table; SQLite reads from a folder it may not
// write only when the index and the log exist already (the host has the
// table open) or when the file is declared immutable, which it is not while
// the host may write to it. Otherwise the table and its log are copied into
// a folder of this run that nobody else may enter, and the copy is read,
// provided neither changed meanwhile; SQLITE_BUSY when they kept changing.
// Throws Error when this run's temporary folder cannot be made.
int openSnapshot(detail::SqliteDb &db, const QString &file, std::unique_ptr<QTemporaryDir> &snapshot)
{
    const QString log = file + QStringLiteral("-wal");
    const QString folderTemplate = runTemporaryFolder() + QStringLiteral("/tabulka-XXXXXX");
    for (int attempt = 0; attempt < kSnapshotAttempts; ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(kSnapshotFirstPauseMs << (attempt - 1)));
        const FileStamp fileBefore = stampOf(file);
        const FileStamp logBefore = stampOf(log);
        auto folder = std::make_unique<QTemporaryDir>(folderTemplate);
        if (!folder->isValid())
            return SQLITE_CANTOPEN;
        const QString copy = folder->filePath(QFileInfo(file).fileName());
        const bool copied =
            QFile::copy(file, copy) && (!logBefore.exists || QFile::copy(log, copy + QStringLiteral("-wal")));
        const bool changed = stampOf(file) != fileBefore || stampOf(log) != logBefore;
        if (changed)
            continue; // also when the copy failed: the host may have removed its log
        if (!copied)
            return SQLITE_CANTOPEN;
        const int rc = db.open(copy, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX);
        if (rc == SQLITE_OK)
            snapshot = std::move(folder);
        return rc;
    }
    return SQLITE_BUSY;
}

int readSnapshotFields(detail::SqliteDb &db, const QString &file, std::unique_ptr<QTemporaryDir> &snapshot,
                       QList<TableField> &fields)
{
    const int rc = openSnapshot(db, file, snapshot);
    if (rc != SQLITE_OK)
        return rc;
    sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
    return detail::readTableFields(db.get(), fields);
}

} // namespace

int TBFTable::Impl::connect(const QString &file)
{
    path = file;
    // An absolute path can never be taken for a "file:" URI.
    const QString absolute = QFileInfo(file).absoluteFilePath();
    createdLogFiles = !QFileInfo::exists(absolute + QStringLiteral("-wal"))
        && !QFileInfo::exists(absolute + QStringLiteral("-shm"));
    int rc = db.open(absolute, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
        rc = detail::readTableFields(db.get(), fields);
        const QFileInfo folder(QFileInfo(absolute).absolutePath());
        if (isLogIndexFailure(rc) && QFileInfo(absolute).isReadable() && !folder.isWritable()) {
            try {
                rc = readSnapshotFields(db, absolute, snapshot, fields);
            } catch (const Error &error) {
                lastFailure = HostTableError::noPrivateCopy(file, rc, error.text());
                return 1;
            }
        }
    }
    if (rc != SQLITE_DONE || fields.isEmpty()) {
        hostWasWriting = rc == SQLITE_BUSY;
        lastFailure = rc == SQLITE_DONE ? HostTableError::noDataTable(file)
                                        : HostTableError::cannotOpen(file, db.failure(rc));
        return 1;
    }
    for (qsizetype i = 0; i < fields.size(); ++i)
        fieldByName.insert(fields[i].name, int(i));
    const HostTableDef *schema = HostSchema::find(file);
    for (const TableField &field : std::as_const(fields)) {
        // A field that shadows the record number would make the table order
        // and every write address the wrong records.
        for (const char *alias : {"rowid", "oid", "_rowid_"}) {
            if (field.name.compare(QLatin1String(alias), Qt::CaseInsensitive) == 0) {
                lastFailure = HostTableError::forbiddenField(file, field.name);
                return 1;
            }
        }
        // A field of another type reads as another kind of value: an amount
        // declared as text would be read in crowns instead of its stored
        // ten-thousandths.
        const int defined = schema ? schema->fieldIndex(field.name) : -1;
        if (defined >= 0 && (!field.knownKind || field.kind != schema->fields[defined].kind)) {
            lastFailure = HostTableError::wrongFieldType(file, field.name, field.declared,
                                                         HostSchema::declaredType(schema->fields[defined].kind));
            return 1;
        }
    }
    order.selectList = selectListFor(indexFields, columnOf);
    textCache.assign(size_t(fields.size()), TextCache());
    edits.assign(size_t(fields.size()), std::nullopt);
    rc = pin.prepare(db.get(), "SELECT " + order.selectList + " FROM data WHERE rowid = ?");
    if (rc == SQLITE_OK)
        rc = count.prepare(db.get(), "SELECT count(*) FROM data");
    if (rc != SQLITE_OK) {
        lastFailure = HostTableError::cannotOpen(file, db.failure(rc));
        return 1;
    }
    return 0;
}

// Fields keep their table order in the list; rowid comes first.
QByteArray TBFTable::Impl::selectListFor(const QList<int> &index, std::vector<int> &columns) const
{
    columns.assign(size_t(fields.size()), -1);
    QByteArray list = "rowid";
    int next = 1;
    for (int field = 0; field < int(fields.size()); ++field) {
        if (!selectedFields.isEmpty() && !selectedFields.contains(field) && !index.contains(field))
            continue;
        list += ", " + detail::quoteIdentifier(fields[field].name);
        columns[size_t(field)] = next++;
    }
    return list;
}

int TBFTable::Impl::prepareRecordStatements()
{
    const int rc = pin.prepare(db.get(), "SELECT " + order.selectList + " FROM data WHERE rowid = ?");
    return rc == SQLITE_OK ? scan.prepare(db.get(), order.scanSql()) : rc;
}

void TBFTable::SelectFields(const QList<int> &fields)
{
    if (!IsOpen())
        d->failNoCurrent();
    for (int field : fields)
        d->checkField(field);
    d->setCurrent(nullptr);
    d->clearEdits();
    d->selectedFields = fields;
    d->order.selectList = d->selectListFor(d->indexFields, d->columnOf);
    d->seeks.clear();
    d->continuation.finalize();
    const int rc = d->prepareRecordStatements();
    if (rc != SQLITE_OK)
        d->failStore(rc);
}

void TBFTable::Impl::tidyLogFiles()
{
    if (!createdLogFiles || writable || snapshot || path.isEmpty())
        return;
    createdLogFiles = false;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!QFileInfo::exists(absolute + QStringLiteral("-wal")))
        return;
    // A connection that may write and has read removes the log and its index
    // when it closes as the last one; SQLite's locks tell whether it is.
    detail::SqliteDb tidy;
    if (tidy.open(absolute, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX) == SQLITE_OK)
        tidy.exec("SELECT count(*) FROM sqlite_master");
}

void TBFTable::Impl::makeWritable()
{
    if (writable)
        return;
    const bool positioned = current != nullptr && !appending;
    const qint64 rowid = positioned ? currentRowid() : 0;
    setCurrent(nullptr);
    scan.finalize();
    seeks.clear();
    continuation.finalize();
    pin.finalize();
    count.finalize();
    db.close();
    snapshot.reset();

    int rc = db.open(QFileInfo(path).absoluteFilePath(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX);
    if (rc != SQLITE_OK)
        failStore(rc);
    writable = true;
    sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
    db.exec("PRAGMA synchronous = FULL");
    rc = prepareRecordStatements();
    if (rc == SQLITE_OK)
        rc = count.prepare(db.get(), "SELECT count(*) FROM data");
    if (rc != SQLITE_OK)
        failStore(rc);
    if (positioned)
        pinRowid(rowid);
}

} // namespace kasovka
