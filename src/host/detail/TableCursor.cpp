#include "host/detail/TableCursor.h"

#include <sqlite3.h>

namespace kasovka::detail {

QByteArray TableOrder::from() const
{
    QByteArray sql = " FROM data";
    if (!indexName.isEmpty() && useIndexedBy)
        sql += " INDEXED BY " + indexName;
    return sql;
}

QByteArray TableOrder::orderBy() const
{
    QByteArray sql = " ORDER BY ";
    for (const QByteArray &column : columns)
        sql += column + ", ";
    return sql + "rowid";
}

QByteArray TableOrder::scanSql() const
{
    return "SELECT " + selectList + from() + orderBy();
}

QByteArray TableOrder::seekSql(int keyCount) const
{
    QByteArray sql = "SELECT " + selectList + from() + " WHERE ";
    for (int i = 0; i < keyCount; ++i)
        sql += (i > 0 ? " AND " : "") + columns[i] + " = ?";
    return sql + orderBy() + " LIMIT 1";
}

// Lexicographic "after" over (columns..., rowid). NULL sorts first, so a NULL
// key is passed by any non-NULL value and equalled only by NULL.
QByteArray TableOrder::continuationSql(const QList<bool> &isNull) const
{
    // Without NULLs a row value lets SQLite start the index range at the key.
    if (!isNull.contains(true)) {
        QByteArray row = "(";
        for (const QByteArray &column : columns)
            row += column + ", ";
        QByteArray marks = "(";
        for (qsizetype i = 0; i < columns.size(); ++i)
            marks += "?, ";
        return "SELECT " + selectList + from() + " WHERE " + row + "rowid) > " + marks
            + "?)" + orderBy();
    }
    QByteArray where;
    QByteArray equalPrefix;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const QByteArray after = isNull[i] ? columns[i] + " IS NOT NULL" : columns[i] + " > ?";
        where += "(" + equalPrefix + after + ") OR ";
        equalPrefix += (isNull[i] ? columns[i] + " IS NULL" : columns[i] + " = ?") + " AND ";
    }
    where += "(" + equalPrefix + "rowid > ?)";
    return "SELECT " + selectList + from() + " WHERE " + where + orderBy();
}

} // namespace kasovka::detail

namespace kasovka::detail {

void TableOrder::bindContinuation(sqlite3_stmt *stmt, const QList<sqlite3_value *> &keys,
                                  qint64 rowid)
{
    int slot = 0;
    auto isNull = [&](qsizetype i) { return sqlite3_value_type(keys[i]) == SQLITE_NULL; };
    bool anyNull = false;
    for (qsizetype i = 0; i < keys.size(); ++i)
        anyNull = anyNull || isNull(i);
    if (!anyNull) {
        for (sqlite3_value *key : keys)
            sqlite3_bind_value(stmt, ++slot, key);
        sqlite3_bind_int64(stmt, ++slot, rowid);
        return;
    }
    // Term i binds the equal prefix 0..i-1, then key i; the last term binds
    // the whole key and the rowid. NULL keys take no slot.
    for (qsizetype term = 0; term <= keys.size(); ++term) {
        for (qsizetype i = 0; i < term; ++i) {
            if (!isNull(i))
                sqlite3_bind_value(stmt, ++slot, keys[i]);
        }
        if (term < keys.size()) {
            if (!isNull(term))
                sqlite3_bind_value(stmt, ++slot, keys[term]);
        } else {
            sqlite3_bind_int64(stmt, ++slot, rowid);
        }
    }
}

} // namespace kasovka::detail
