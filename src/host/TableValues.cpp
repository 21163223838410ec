// Conversions between the store's columns and Variant values: reading by the
// declared type, binding for writes and for seeks.

#include "core/DateTime.h"
#include "core/Error.h"
#include "host/detail/TableImpl.h"

#include <cstring>

namespace kasovka {

namespace {

// SQLite's NUMERIC affinity turns a text that reads as a number into that
// number ("0012" into 12, "11.060" into 11.06). A settings text of that shape
// is therefore stored as a BLOB of its UTF-8 bytes, which no affinity touches,
// and read back as text.
bool wouldBecomeNumber(const QString &text)
{
    bool digit = false;
    for (QChar c : text) {
        if (c.isDigit())
            digit = true;
        else if (!QStringLiteral("+-.eExX \t\r\n").contains(c))
            return false;
    }
    return digit;
}

void bindText(sqlite3_stmt *stmt, int slot, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    sqlite3_bind_text(stmt, slot, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
}

} // namespace

Variant TBFTable::Impl::emptyValue(int field) const
{
    switch (fields[field].kind) {
    case HostFieldKind::Text: return Variant(QString());
    case HostFieldKind::Integer: return Variant(qint64(0));
    case HostFieldKind::Boolean: return Variant(false);
    case HostFieldKind::Date: return Variant::fromDate(0.0);
    case HostFieldKind::Currency: return Variant(Currency());
    case HostFieldKind::Float: return Variant(0.0);
    case HostFieldKind::Variant: return Variant();
    }
    return Variant();
}

Variant TBFTable::Impl::read(int field) const
{
    const TableField &def = fields[field];
    if (!def.knownKind)
        throw HostTableError::unknownFieldType(path, def.name, def.declared);
    sqlite3_stmt *stmt = current;
    const int column = columnOfField(field);
    const int type = sqlite3_column_type(stmt, column);
    if (type == SQLITE_NULL)
        return emptyValue(field);
    switch (def.kind) {
    case HostFieldKind::Text:
    case HostFieldKind::Variant: {
        if (def.kind == HostFieldKind::Variant) {
            if (type == SQLITE_INTEGER)
                return Variant(qint64(sqlite3_column_int64(stmt, column)));
            if (type == SQLITE_FLOAT)
                return Variant(sqlite3_column_double(stmt, column));
        } else if (type == SQLITE_BLOB) {
            break;
        }
        const char *bytes = reinterpret_cast<const char *>(
            type == SQLITE_BLOB ? sqlite3_column_blob(stmt, column)
                                : sqlite3_column_text(stmt, column));
        return Variant(cachedText(field, bytes, size_t(sqlite3_column_bytes(stmt, column))));
    }
    case HostFieldKind::Integer:
        if (type == SQLITE_INTEGER)
            return Variant(qint64(sqlite3_column_int64(stmt, column)));
        break;
    case HostFieldKind::Boolean:
        if (type == SQLITE_INTEGER)
            return Variant(sqlite3_column_int64(stmt, column) != 0);
        break;
    case HostFieldKind::Date:
        if (type == SQLITE_FLOAT || type == SQLITE_INTEGER) {
            // A serial no calendar date has (infinite, NaN, before the year 1
            // or after 9999) is read like a missing date, so that readers
            // treat it as one instead of showing an empty date somewhere.
            const double serial = sqlite3_column_double(stmt, column);
            return Variant::fromDate(isValidSerial(serial) ? serial : 0.0);
        }
        break;
    case HostFieldKind::Currency:
        if (type == SQLITE_INTEGER)
            return Variant(Currency::fromRaw(sqlite3_column_int64(stmt, column)));
        break;
    case HostFieldKind::Float:
        if (type == SQLITE_FLOAT || type == SQLITE_INTEGER)
            return Variant(sqlite3_column_double(stmt, column));
        break;
    }
    failStorageClass(field, type);
}

const QString &TBFTable::Impl::cachedText(int field, const char *bytes, size_t size) const
{
    TextCache &cache = textCache[size_t(field)];
    if (cache.bytes.size() != size || (size && std::memcmp(cache.bytes.data(), bytes, size))) {
        cache.bytes.assign(bytes, size);
        cache.text = QString::fromUtf8(bytes, qsizetype(size));
    }
    return cache.text;
}

void TBFTable::Impl::failStorageClass(int field, int type) const
{
    const TableField &def = fields[field];
    throw HostTableError::unexpectedValue(path, def.name, type, def.declared);
}

int TBFTable::Impl::columnOfField(int field) const
{
    const int column = columnOf[size_t(field)];
    if (column < 0)
        throw HostTableError::fieldNotFetched(path, fields[field].name);
    return column;
}

int TBFTable::Impl::directColumn(int field, HostFieldKind kind) const
{
    checkField(field);
    const TableField &def = fields[field];
    if (hasEdits || appending || !def.knownKind || def.kind != kind)
        return -1;
    if (!current)
        failNoCurrent();
    return columnOfField(field);
}

// The typed reads give what read() gives for the same storage classes.

bool TBFTable::BoolValue(int field) const
{
    const int column = d->directColumn(field, HostFieldKind::Boolean);
    if (column < 0)
        return Value(field).toBool();
    const int type = sqlite3_column_type(d->current, column);
    if (type == SQLITE_INTEGER)
        return sqlite3_column_int64(d->current, column) != 0;
    if (type != SQLITE_NULL)
        d->failStorageClass(field, type);
    return false;
}

qint64 TBFTable::IntegerValue(int field) const
{
    const int column = d->directColumn(field, HostFieldKind::Integer);
    if (column < 0)
        return Value(field).toInt();
    const int type = sqlite3_column_type(d->current, column);
    if (type == SQLITE_INTEGER)
        return sqlite3_column_int64(d->current, column);
    if (type != SQLITE_NULL)
        d->failStorageClass(field, type);
    return 0;
}

Currency TBFTable::CurrencyValue(int field) const
{
    const int column = d->directColumn(field, HostFieldKind::Currency);
    if (column < 0)
        return Value(field).toCurrency();
    const int type = sqlite3_column_type(d->current, column);
    if (type == SQLITE_INTEGER)
        return Currency::fromRaw(sqlite3_column_int64(d->current, column));
    if (type != SQLITE_NULL)
        d->failStorageClass(field, type);
    return Currency();
}

TDateTime TBFTable::DateValue(int field) const
{
    const int column = d->directColumn(field, HostFieldKind::Date);
    if (column < 0)
        return Value(field).toDate();
    const int type = sqlite3_column_type(d->current, column);
    if (type == SQLITE_FLOAT || type == SQLITE_INTEGER) {
        const double serial = sqlite3_column_double(d->current, column);
        return isValidSerial(serial) ? serial : 0.0;
    }
    if (type != SQLITE_NULL)
        d->failStorageClass(field, type);
    return 0.0;
}

QString TBFTable::TextValue(int field) const
{
    const int column = d->directColumn(field, HostFieldKind::Text);
    if (column < 0)
        return Value(field).toText();
    const int type = sqlite3_column_type(d->current, column);
    if (type == SQLITE_TEXT) {
        const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(d->current, column));
        return d->cachedText(field, bytes, size_t(sqlite3_column_bytes(d->current, column)));
    }
    if (type != SQLITE_NULL)
        d->failStorageClass(field, type);
    return QString();
}

void TBFTable::Impl::bindForWrite(sqlite3_stmt *stmt, int slot, int field,
                                  const Variant &value) const
{
    detail::bindFieldValue(stmt, slot, fields[field], path, value);
}

void detail::bindFieldValue(sqlite3_stmt *stmt, int slot, const TableField &def,
                            const QString &path, const Variant &value)
{
    if (!def.knownKind)
        throw HostTableError::unknownFieldType(path, def.name, def.declared);
    if (value.isEmpty()) {
        sqlite3_bind_null(stmt, slot);
        return;
    }
    try {
        switch (def.kind) {
        case HostFieldKind::Text: bindText(stmt, slot, value.toText()); return;
        case HostFieldKind::Integer: sqlite3_bind_int64(stmt, slot, value.toInt()); return;
        case HostFieldKind::Boolean: sqlite3_bind_int(stmt, slot, value.toBool() ? 1 : 0); return;
        case HostFieldKind::Date: sqlite3_bind_double(stmt, slot, value.toDate()); return;
        case HostFieldKind::Currency:
            sqlite3_bind_int64(stmt, slot, value.toCurrency().raw());
            return;
        case HostFieldKind::Float: sqlite3_bind_double(stmt, slot, value.toDouble()); return;
        case HostFieldKind::Variant: break;
        }
        switch (value.kind()) {
        case Variant::Kind::Integer: sqlite3_bind_int64(stmt, slot, value.toInt()); return;
        case Variant::Kind::Boolean: sqlite3_bind_int(stmt, slot, value.toBool() ? 1 : 0); return;
        case Variant::Kind::Float:
        case Variant::Kind::Currency:
        case Variant::Kind::Date: sqlite3_bind_double(stmt, slot, value.toDouble()); return;
        case Variant::Kind::Text: {
            const QString text = value.toText();
            if (wouldBecomeNumber(text)) {
                const QByteArray bytes = text.toUtf8();
                sqlite3_bind_blob(stmt, slot, bytes.constData(), int(bytes.size()),
                                  SQLITE_TRANSIENT);
            } else {
                bindText(stmt, slot, text);
            }
            return;
        }
        case Variant::Kind::Empty: sqlite3_bind_null(stmt, slot); return;
        }
    } catch (const Error &error) {
        throw HostTableError::valueDoesNotFit(path, def.name, value.toText(), error.text());
    }
}

bool TBFTable::Impl::bindKey(sqlite3_stmt *stmt, int slot, int field, const Variant &value) const
{
    // A text key on a numeric field that reads as no number matches nothing;
    // so does a key of any kind the field cannot hold.
    try {
        switch (fields[field].kind) {
        case HostFieldKind::Text:
            bindText(stmt, slot, value.toText());
            return true;
        case HostFieldKind::Variant:
            if (value.kind() == Variant::Kind::Text) {
                bindText(stmt, slot, value.toText());
                return true;
            }
            break;
        default:
            break;
        }
        bindForWrite(stmt, slot, field, value.isEmpty() ? emptyValue(field) : value);
        return true;
    } catch (const Error &) {
        return false;
    }
}

} // namespace kasovka
