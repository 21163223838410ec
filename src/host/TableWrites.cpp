// TBFTable's writes and read transactions, and THostReadSession.

#include "host/detail/TableImpl.h"

namespace kasovka {

int TBFTable::Post()
{
    if (!IsOpen())
        d->failNoCurrent();
    if (!d->appending && !d->hasEdits)
        return 0;
    d->refuseWhileReading();
    d->makeWritable();
    if (!d->appending && !d->current)
        d->failNoCurrent();

    QList<int> changed;
    for (size_t i = 0; i < d->edits.size(); ++i) {
        if (d->edits[i])
            changed.append(int(i));
    }
    QByteArray sql;
    if (d->appending && changed.isEmpty()) {
        sql = "INSERT INTO data DEFAULT VALUES";
    } else if (d->appending) {
        QByteArray columns, marks;
        for (int field : std::as_const(changed)) {
            columns += (columns.isEmpty() ? "" : ", ") + detail::quoteIdentifier(d->fields[field].name);
            marks += marks.isEmpty() ? "?" : ", ?";
        }
        sql = "INSERT INTO data (" + columns + ") VALUES (" + marks + ")";
    } else {
        for (int field : std::as_const(changed))
            sql += (sql.isEmpty() ? "" : ", ") + detail::quoteIdentifier(d->fields[field].name) + " = ?";
        sql = "UPDATE data SET " + sql + " WHERE rowid = ?";
    }
    detail::SqliteStmt stmt;
    int rc = stmt.prepare(d->db.get(), sql);
    if (rc != SQLITE_OK)
        d->failStore(rc);
    int slot = 0;
    for (int field : std::as_const(changed))
        d->bindForWrite(stmt.get(), ++slot, field, *d->edits[size_t(field)]);
    qint64 rowid = d->appending ? 0 : d->currentRowid();
    if (!d->appending)
        sqlite3_bind_int64(stmt.get(), ++slot, rowid);

    // One statement in autocommit mode: atomic, and durable with
    // synchronous = FULL. Readers of our own are released first.
    d->setCurrent(nullptr);
    rc = stmt.step();
    if (rc != SQLITE_DONE) {
        // Pinning the record again would replace SQLite's error.
        const HostTableError::SqliteFailure failure = d->db.failure(rc);
        if (!d->appending)
            d->pinRowid(rowid);
        throw HostTableError::storeFailed(d->path, failure);
    }
    if (d->appending)
        rowid = sqlite3_last_insert_rowid(d->db.get());
    d->clearEdits();
    d->pinRowid(rowid);
    return 0;
}

int TBFTable::Delete()
{
    if (d->appending) {
        d->clearEdits();
        return 0;
    }
    if (!d->current)
        d->failNoCurrent();
    d->refuseWhileReading();
    d->makeWritable();
    if (!d->current)
        d->failNoCurrent();
    const qint64 rowid = d->currentRowid();
    detail::SqliteStmt stmt;
    int rc = stmt.prepare(d->db.get(), "DELETE FROM data WHERE rowid = ?");
    if (rc != SQLITE_OK)
        d->failStore(rc);
    sqlite3_bind_int64(stmt.get(), 1, rowid);
    QList<sqlite3_value *> key = d->currentKey();
    d->setCurrent(nullptr);
    d->clearEdits();
    rc = stmt.step();
    if (rc != SQLITE_DONE) {
        Impl::freeKey(key);
        d->failStore(rc);
    }
    d->continueAfter(key, rowid);
    return 0;
}

void TBFTable::Impl::refuseWhileReading() const
{
    if (readTransaction)
        throw HostTableError::writeWhileReading(path);
}

void TBFTable::BeginReadTransaction()
{
    if (!IsOpen())
        d->failNoCurrent();
    if (d->readTransaction)
        return;
    int rc = d->db.exec("BEGIN DEFERRED");
    if (rc != SQLITE_OK)
        d->failStore(rc);
    // The snapshot is taken by the first read, so read now.
    detail::SqliteStmt first;
    rc = first.prepare(d->db.get(), "SELECT count(*) FROM sqlite_master");
    if (rc == SQLITE_OK)
        rc = first.step();
    if (rc != SQLITE_ROW) {
        d->db.exec("ROLLBACK");
        d->failStore(rc);
    }
    d->readTransaction = true;
}

void TBFTable::EndReadTransaction()
{
    if (!d->readTransaction)
        return;
    d->setCurrent(nullptr);
    d->readTransaction = false;
    if (d->db.exec("COMMIT") != SQLITE_OK)
        d->db.exec("ROLLBACK");
}

bool TBFTable::InReadTransaction() const
{
    return d->readTransaction;
}

// --- THostReadSession ---------------------------------------------------------

THostReadSession::~THostReadSession()
{
    end();
}

void THostReadSession::add(TBFTable &table)
{
    if (table.m_session == this)
        return;
    if (table.m_session)
        table.m_session->forget(&table);
    table.BeginReadTransaction();
    table.m_session = this;
    m_tables.append(&table);
}

void THostReadSession::end()
{
    const QList<TBFTable *> tables = std::exchange(m_tables, {});
    for (TBFTable *table : tables) {
        table->m_session = nullptr;
        table->EndReadTransaction();
    }
}

void THostReadSession::forget(TBFTable *table)
{
    m_tables.removeAll(table);
    table->m_session = nullptr;
}

} // namespace kasovka
