#include "host/TBFTable.h"

#include "core/FileNames.h"
#include "host/detail/TableImpl.h"

#include <QFileInfo>

namespace kasovka {

// The given name with ".DAT", or else the first file (by name) in the same
// folder whose name differs only in letter case.
QString TBFTable::ResolveTableFile(const QString &path)
{
    QString file = path;
    if (!file.endsWith(QLatin1String(".DAT"), Qt::CaseInsensitive))
        file += QLatin1String(".DAT");
    file = fileIgnoringCase(file);
    return QFileInfo(file).isFile() ? file : QString();
}

int detail::readTableFields(sqlite3 *db, QList<TableField> &fields)
{
    fields.clear();
    SqliteStmt info;
    int rc = info.prepare(db, "SELECT p.name, p.type FROM sqlite_master m, pragma_table_info(m.name) p"
                              " WHERE m.type = 'table' AND m.name = 'data' ORDER BY p.cid");
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = info.step();
        if (rc != SQLITE_ROW)
            break;
        TableField field;
        field.name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(info.get(), 0)));
        field.declared = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(info.get(), 1)));
        field.knownKind = HostSchema::kindFromDeclaredType(field.declared, &field.kind);
        fields.append(field);
    }
    return rc;
}

// --- failures ---------------------------------------------------------------

void TBFTable::Impl::failStore(int rc) const
{
    throw HostTableError::storeFailed(path, db.failure(rc));
}

void TBFTable::Impl::failNoCurrent() const
{
    if (!db.isOpen())
        throw HostTableError::notOpen();
    throw HostTableError::noCurrentRecord(path);
}

// --- cursor -----------------------------------------------------------------

void TBFTable::Impl::setCurrent(sqlite3_stmt *stmt)
{
    // A statement left mid-way keeps a read lock; release it.
    if (current && current != stmt)
        sqlite3_reset(current);
    current = stmt;
}

int TBFTable::Impl::stepCurrent()
{
    const int rc = sqlite3_step(current);
    if (rc == SQLITE_ROW)
        return 0;
    sqlite3_reset(current);
    current = nullptr;
    if (rc == SQLITE_DONE)
        return EndOfTable;
    failStore(rc);
}

qint64 TBFTable::Impl::currentRowid() const
{
    return sqlite3_column_int64(current, 0);
}

QList<sqlite3_value *> TBFTable::Impl::currentKey() const
{
    QList<sqlite3_value *> key;
    for (int field : indexFields)
        key.append(sqlite3_value_dup(sqlite3_column_value(current, columnOf[size_t(field)])));
    return key;
}

void TBFTable::Impl::freeKey(QList<sqlite3_value *> &key)
{
    for (sqlite3_value *value : key)
        sqlite3_value_free(value);
    key.clear();
}

int TBFTable::Impl::continueAfter(QList<sqlite3_value *> key, qint64 rowid)
{
    setCurrent(nullptr);
    QList<bool> isNull;
    for (sqlite3_value *value : key)
        isNull.append(sqlite3_value_type(value) == SQLITE_NULL);
    const int rc = continuation.prepare(db.get(), order.continuationSql(isNull));
    if (rc != SQLITE_OK) {
        freeKey(key);
        failStore(rc);
    }
    detail::TableOrder::bindContinuation(continuation.get(), key, rowid);
    freeKey(key);
    current = continuation.get();
    return stepCurrent();
}

void TBFTable::Impl::pinRowid(qint64 rowid)
{
    setCurrent(nullptr);
    sqlite3_reset(pin.get());
    sqlite3_bind_int64(pin.get(), 1, rowid);
    current = pin.get();
    if (stepCurrent() != 0)
        current = nullptr;
}

// The field positions of the index's columns in order; -1 for a column that
// is no field (an expression). SQLITE_DONE when read.
int TBFTable::Impl::readIndexFields(const QString &indexName, QList<int> &positions) const
{
    detail::SqliteStmt info;
    int rc = info.prepare(db.get(), "SELECT i.name FROM sqlite_master m, pragma_index_info(m.name) i"
                                    " WHERE m.type = 'index' AND m.tbl_name = 'data' AND m.name = ?"
                                    " ORDER BY i.seqno");
    if (rc != SQLITE_OK)
        return rc;
    const QByteArray name = indexName.toUtf8();
    sqlite3_bind_text(info.get(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    while ((rc = info.step()) == SQLITE_ROW) {
        const auto *column = reinterpret_cast<const char *>(sqlite3_column_text(info.get(), 0));
        positions.append(column ? fieldByName.value(QString::fromUtf8(column), -1) : -1);
    }
    return rc;
}

void TBFTable::Impl::clearEdits()
{
    if (!appending && !hasEdits)
        return;
    appending = false;
    hasEdits = false;
    std::fill(edits.begin(), edits.end(), std::nullopt);
}

void TBFTable::Impl::checkField(int field) const
{
    if (field < 0 || field >= fields.size())
        throw HostTableError::noFieldNumber(path, field);
}

// --- TBFTable ---------------------------------------------------------------

TBFTable::TBFTable() : d(std::make_unique<Impl>()) {}

TBFTable::~TBFTable()
{
    Close();
}

int TBFTable::Open(const QString &path)
{
    Close();
    d->lastFailure.reset();
    d->hostWasWriting = false;
    const QString file = ResolveTableFile(path);
    if (file.isEmpty()) {
        d->lastFailure = HostTableError::missing(path);
        return 1;
    }
    if (d->connect(file) == 0 && SetIndex(QString()) == 0)
        return 0;
    Close();
    return 1;
}

int TBFTable::SetIndex(const QString &indexName)
{
    if (!d->db.isOpen()) {
        d->lastFailure = HostTableError::notOpen();
        return 1;
    }
    d->setCurrent(nullptr);
    d->clearEdits();
    QList<int> fields;
    if (!indexName.isEmpty()) {
        const int rc = d->readIndexFields(indexName, fields);
        if (rc != SQLITE_DONE || fields.isEmpty() || fields.contains(-1)) {
            d->lastFailure = rc != SQLITE_DONE ? HostTableError::cannotOpen(d->path, d->db.failure(rc))
                                               : HostTableError::noIndex(d->path, indexName);
            return 1;
        }
    }
    detail::TableOrder order = d->order;
    std::vector<int> columns;
    order.selectList = d->selectListFor(fields, columns);
    order.indexName = indexName.isEmpty() ? QByteArray() : detail::quoteIdentifier(indexName);
    order.columns.clear();
    for (int field : fields)
        order.columns.append(detail::quoteIdentifier(d->fields[field].name));
    order.useIndexedBy = true;
    int rc = d->scan.prepare(d->db.get(), order.scanSql());
    if (rc != SQLITE_OK && !order.indexName.isEmpty()) {
        // An index with another collation or a partial one cannot give the
        // order; the same order is then had without it.
        order.useIndexedBy = false;
        rc = d->scan.prepare(d->db.get(), order.scanSql());
    }
    if (rc != SQLITE_OK) {
        d->lastFailure = HostTableError::cannotOpen(d->path, d->db.failure(rc));
        return 1;
    }
    d->order = order;
    d->columnOf = std::move(columns);
    d->indexName = indexName;
    d->indexFields = fields;
    d->seeks.clear();
    // The index's fields are always fetched, so the list may have changed.
    rc = d->pin.prepare(d->db.get(), "SELECT " + order.selectList + " FROM data WHERE rowid = ?");
    if (rc != SQLITE_OK) {
        d->lastFailure = HostTableError::cannotOpen(d->path, d->db.failure(rc));
        return 1;
    }
    return 0;
}

void TBFTable::Close()
{
    if (m_session)
        m_session->forget(this);
    if (d->readTransaction)
        EndReadTransaction();
    d->current = nullptr;
    d->scan.finalize();
    d->seeks.clear();
    d->continuation.finalize();
    d->pin.finalize();
    d->count.finalize();
    d->db.close();
    d->tidyLogFiles();
    d->path.clear();
    d->fields.clear();
    d->fieldByName.clear();
    d->textCache.clear();
    d->edits.clear();
    d->indexName.clear();
    d->indexFields.clear();
    d->selectedFields.clear();
    d->columnOf.clear();
    d->order = detail::TableOrder();
    d->appending = false;
    d->hasEdits = false;
    d->writable = false;
    d->snapshot.reset();
    d->createdLogFiles = false;
}

bool TBFTable::IsOpen() const { return d->db.isOpen(); }
QString TBFTable::FilePath() const { return d->path; }
QString TBFTable::LastError() const { return d->lastFailure ? d->lastFailure->text() : QString(); }
const HostTableError *TBFTable::LastFailure() const { return d->lastFailure ? &*d->lastFailure : nullptr; }
bool TBFTable::HostWasWriting() const { return d->hostWasWriting; }
QString TBFTable::CurrentIndex() const { return d->indexName; }

QStringList TBFTable::FieldNames() const
{
    QStringList names;
    for (const TableField &field : d->fields)
        names.append(field.name);
    return names;
}

std::optional<HostFieldKind> TBFTable::FieldKind(int field) const
{
    d->checkField(field);
    const TableField &def = d->fields[field];
    return def.knownKind ? std::optional<HostFieldKind>(def.kind) : std::nullopt;
}

int TBFTable::RecordCount()
{
    if (!IsOpen())
        d->failNoCurrent();
    sqlite3_stmt *stmt = d->count.get();
    const int rc = sqlite3_step(stmt);
    const qint64 count = rc == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : 0;
    sqlite3_reset(stmt);
    if (rc != SQLITE_ROW)
        d->failStore(rc);
    return int(qMin<qint64>(count, std::numeric_limits<int>::max()));
}

int TBFTable::First()
{
    if (!IsOpen())
        d->failNoCurrent();
    d->clearEdits();
    d->setCurrent(d->scan.get());
    sqlite3_reset(d->current);
    return d->stepCurrent();
}

int TBFTable::Next()
{
    if (d->appending) {
        d->clearEdits();
        return EndOfTable;
    }
    if (!d->current)
        return EndOfTable;
    d->clearEdits();
    if (d->current == d->scan.get() || d->current == d->continuation.get())
        return d->stepCurrent();
    return d->continueAfter(d->currentKey(), d->currentRowid());
}

int TBFTable::Seek(const Variant &key)
{
    return SeekArray({key});
}

int TBFTable::Seek2(const Variant &key1, const Variant &key2)
{
    return SeekArray({key1, key2});
}

int TBFTable::SeekArray(const QList<Variant> &keys)
{
    if (!IsOpen())
        d->failNoCurrent();
    if (d->indexFields.isEmpty())
        throw HostTableError::seekWithoutIndex(d->path);
    if (keys.isEmpty() || keys.size() > d->indexFields.size())
        throw HostTableError::tooManyKeys(d->path, d->indexName, d->indexFields.size(), keys.size());
    d->clearEdits();
    d->setCurrent(nullptr);
    const size_t count = size_t(keys.size());
    if (d->seeks.size() < count + 1)
        d->seeks.resize(count + 1);
    std::unique_ptr<detail::SqliteStmt> &seek = d->seeks[count];
    if (!seek) {
        seek = std::make_unique<detail::SqliteStmt>();
        const int rc = seek->prepare(d->db.get(), d->order.seekSql(int(count)));
        if (rc != SQLITE_OK) {
            seek.reset();
            d->failStore(rc);
        }
    }
    sqlite3_stmt *stmt = seek->get();
    sqlite3_reset(stmt);
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (!d->bindKey(stmt, int(i) + 1, d->indexFields[i], keys[i]))
            return SeekNotFound;
    }
    d->current = stmt;
    return d->stepCurrent() == 0 ? SeekFound : SeekNotFound;
}

bool TBFTable::HasCurrent() const
{
    return d->current != nullptr || d->appending;
}

int TBFTable::FieldIndex(const QString &field) const
{
    const auto found = d->fieldByName.constFind(field);
    if (found != d->fieldByName.constEnd())
        return found.value();
    for (qsizetype i = 0; i < d->fields.size(); ++i) {
        if (d->fields[i].name.compare(field, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    if (!IsOpen())
        d->failNoCurrent();
    throw HostTableError::noField(d->path, field);
}

Variant TBFTable::Value(int field) const
{
    d->checkField(field);
    if (d->hasEdits && d->edits[size_t(field)])
        return *d->edits[size_t(field)];
    if (d->appending)
        return d->emptyValue(field);
    if (!d->current)
        d->failNoCurrent();
    return d->read(field);
}

Variant TBFTable::Value(const QString &field) const
{
    return Value(FieldIndex(field));
}

void TBFTable::SetValue(int field, const Variant &value)
{
    d->checkField(field);
    if (!d->current && !d->appending)
        d->failNoCurrent();
    d->edits[size_t(field)] = value;
    d->hasEdits = true;
}

void TBFTable::SetValue(const QString &field, const Variant &value)
{
    SetValue(FieldIndex(field), value);
}

int TBFTable::Append()
{
    if (!IsOpen())
        d->failNoCurrent();
    d->setCurrent(nullptr);
    d->clearEdits();
    d->appending = true;
    return 0;
}

} // namespace kasovka
