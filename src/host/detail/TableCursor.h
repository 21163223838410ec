#pragma once
// The SQL text of the table store's cursor: the ordered scan, the seek and the
// continuation after a positioned record, for one order (an index or rowid).

#include <QByteArray>
#include <QList>

struct sqlite3_stmt;
struct sqlite3_value;

namespace kasovka::detail {

struct TableOrder {
    QByteArray selectList;      // rowid, "F1", "F2", ...
    QByteArray indexName;       // quoted, empty for table order
    QList<QByteArray> columns;  // quoted index columns, empty for table order
    bool useIndexedBy = true;   // false when the index cannot serve the order

    QByteArray from() const;
    QByteArray orderBy() const;
    QByteArray scanSql() const;
    // The first record whose first `keyCount` columns equal the bound keys.
    QByteArray seekSql(int keyCount) const;
    // The records after the key (columns then rowid); `isNull` marks the key
    // columns that are NULL: those are written into the SQL and not bound.
    QByteArray continuationSql(const QList<bool> &isNull) const;
    // Binds the key values and the rowid in the order continuationSql wants.
    static void bindContinuation(sqlite3_stmt *stmt, const QList<sqlite3_value *> &keys,
                                 qint64 rowid);
};

} // namespace kasovka::detail
