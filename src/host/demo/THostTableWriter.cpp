#include "host/demo/THostTableWriter.h"

#include "host/HostTableError.h"
#include "host/TBFTable.h"
#include "host/detail/TableImpl.h"

#include <QFileInfo>

namespace kasovka {

struct THostTableWriter::Impl {
    detail::SqliteDb db;
    detail::SqliteStmt insert;
    QString path;
    QList<TableField> fields;
    std::vector<Variant> values;
    bool inTransaction = false;
    int appended = 0;

    [[noreturn]] void fail(int rc) const { throw HostTableError::cannotWrite(path, db.failure(rc)); }
};

THostTableWriter::THostTableWriter(const QString &path) : d(std::make_unique<Impl>())
{
    d->path = TBFTable::ResolveTableFile(path);
    if (d->path.isEmpty())
        throw HostTableError::missing(path);
    int rc = d->db.open(QFileInfo(d->path).absoluteFilePath(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX);
    if (rc != SQLITE_OK)
        d->fail(rc);
    sqlite3_busy_timeout(d->db.get(), 5000);
    rc = detail::readTableFields(d->db.get(), d->fields);
    if (rc != SQLITE_DONE)
        d->fail(rc);
    if (d->fields.isEmpty())
        throw HostTableError::noDataTable(d->path);
    QByteArray columns, marks;
    for (const TableField &field : std::as_const(d->fields)) {
        columns += (columns.isEmpty() ? "" : ", ") + detail::quoteIdentifier(field.name);
        marks += marks.isEmpty() ? "?" : ", ?";
    }
    if ((rc = d->db.exec("PRAGMA synchronous = FULL; PRAGMA cache_size = -32768; BEGIN IMMEDIATE")) != SQLITE_OK)
        d->fail(rc);
    d->inTransaction = true;
    rc = d->insert.prepare(d->db.get(), "INSERT INTO data (" + columns + ") VALUES (" + marks + ")");
    if (rc != SQLITE_OK)
        d->fail(rc);
    d->values.resize(size_t(d->fields.size()));
}

THostTableWriter::~THostTableWriter()
{
    d->insert.finalize();
    if (d->inTransaction)
        d->db.exec("ROLLBACK");
}

QString THostTableWriter::FilePath() const { return d->path; }

QStringList THostTableWriter::FieldNames() const
{
    QStringList names;
    for (const TableField &field : d->fields)
        names.append(field.name);
    return names;
}

int THostTableWriter::FieldIndex(const QString &field) const
{
    for (qsizetype i = 0; i < d->fields.size(); ++i) {
        if (d->fields[i].name == field)
            return int(i);
    }
    throw HostTableError::noField(d->path, field);
}

void THostTableWriter::SetValue(int field, const Variant &value)
{
    if (field < 0 || field >= d->fields.size())
        throw HostTableError::noFieldNumber(d->path, field);
    d->values[size_t(field)] = value;
}

void THostTableWriter::Append()
{
    if (!d->inTransaction)
        throw HostTableError::writingEnded(d->path);
    sqlite3_stmt *stmt = d->insert.get();
    sqlite3_reset(stmt);
    try {
        for (qsizetype i = 0; i < d->fields.size(); ++i)
            detail::bindFieldValue(stmt, int(i) + 1, d->fields[i], d->path, d->values[size_t(i)]);
    } catch (const Error &) {
        std::fill(d->values.begin(), d->values.end(), Variant());
        throw;
    }
    std::fill(d->values.begin(), d->values.end(), Variant());
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        d->fail(rc);
    ++d->appended;
}

void THostTableWriter::Commit()
{
    if (!d->inTransaction)
        return;
    d->insert.finalize();
    const int rc = d->db.exec("COMMIT");
    if (rc != SQLITE_OK)
        d->fail(rc);
    d->inTransaction = false;
}

int THostTableWriter::AppendedCount() const { return d->appended; }

} // namespace kasovka
