#pragma once
// Thin RAII handles over the SQLite C API, shared by the table store and the
// schema's file creation. Only the host library includes this header.

#include "host/HostTableError.h"

#include <sqlite3.h>

#include <QByteArray>
#include <QString>

namespace kasovka::detail {

// A quoted SQL identifier: "name" with inner quotes doubled.
QByteArray quoteIdentifier(const QString &name);

class SqliteDb {
public:
    SqliteDb() = default;
    ~SqliteDb() { close(); }
    SqliteDb(const SqliteDb &) = delete;
    SqliteDb &operator=(const SqliteDb &) = delete;

    // SQLite result code; on failure the handle is closed again.
    int open(const QString &path, int flags);
    void close();
    sqlite3 *get() const { return m_db; }
    bool isOpen() const { return m_db != nullptr; }
    // The connection's last error text (English, from SQLite).
    QString errorMessage() const;
    // What SQLite says about a failure `rc` of this connection: the
    // connection's error text, or SQLite's text of the code when the
    // connection is closed (a failed open closes it).
    HostTableError::SqliteFailure failure(int rc) const;
    // Runs statements without results; SQLite result code.
    int exec(const char *sql);

private:
    sqlite3 *m_db = nullptr;
};

class SqliteStmt {
public:
    SqliteStmt() = default;
    ~SqliteStmt() { finalize(); }
    SqliteStmt(const SqliteStmt &) = delete;
    SqliteStmt &operator=(const SqliteStmt &) = delete;

    int prepare(sqlite3 *db, const QByteArray &sql);
    void finalize();
    sqlite3_stmt *get() const { return m_stmt; }
    bool isPrepared() const { return m_stmt != nullptr; }
    int step() { return sqlite3_step(m_stmt); }
    void reset() { sqlite3_reset(m_stmt); sqlite3_clear_bindings(m_stmt); }

private:
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace kasovka::detail
