#include "host/detail/Sqlite.h"

namespace kasovka::detail {

QByteArray quoteIdentifier(const QString &name)
{
    QByteArray quoted = name.toUtf8();
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

int SqliteDb::open(const QString &path, int flags)
{
    close();
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK)
        close();
    else
        sqlite3_extended_result_codes(m_db, 0);
    return rc;
}

void SqliteDb::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

QString SqliteDb::errorMessage() const
{
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString();
}

HostTableError::SqliteFailure SqliteDb::failure(int rc) const
{
    if (!m_db)
        return {rc, rc, QString::fromUtf8(sqlite3_errstr(rc))};
    // The extended code belongs to the connection's last error, which may
    // be another than `rc`.
    const int extended = sqlite3_extended_errcode(m_db);
    return {rc, (extended & 0xff) == rc ? extended : rc, errorMessage()};
}

int SqliteDb::exec(const char *sql)
{
    return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
}

int SqliteStmt::prepare(sqlite3 *db, const QByteArray &sql)
{
    finalize();
    const int rc = sqlite3_prepare_v3(db, sql.constData(), int(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr);
    if (rc != SQLITE_OK)
        finalize();
    return rc;
}

void SqliteStmt::finalize()
{
    if (m_stmt) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
}

} // namespace kasovka::detail
