// Field access of TMemTable: the current record, any visible row, typed
// setters.

#include "core/MemTable.h"

#include "core/DisplayFormat.h"
#include "core/Error.h"
#include "core/detail/MemTableImpl.h"

#include <algorithm>
#include <limits>

namespace kasovka {

// ---------------------------------------------------------------- field access

bool TMemTable::isNull(int field) const
{
    checkField(field);
    return d->cur < 0 || d->valueOf(d->cur, field).null;
}

Variant TMemTable::asVariant(int field) const
{
    checkField(field);
    if (d->cur < 0)
        return Variant();
    return d->toVariant(field, d->valueOf(d->cur, field));
}

QString TMemTable::asText(int field) const
{
    checkField(field);
    if (d->cur < 0)
        return QString();
    const FieldValue value = d->valueOf(d->cur, field);
    if (isTextType(d->fields[size_t(field)].type))
        return value.text.toString();
    return d->toVariant(field, value).toText();
}

qint64 TMemTable::asInteger(int field) const
{
    checkField(field);
    if (d->cur < 0)
        return 0;
    const FieldValue value = d->valueOf(d->cur, field);
    const FieldType type = d->fields[size_t(field)].type;
    if (type == FieldType::Integer || type == FieldType::AutoInc)
        return value.null ? 0 : qint64(value.slot);
    return d->toVariant(field, value).toInt();
}

Currency TMemTable::asCurrency(int field) const
{
    checkField(field);
    if (d->cur < 0)
        return Currency();
    const FieldValue value = d->valueOf(d->cur, field);
    if (d->fields[size_t(field)].type == FieldType::Currency)
        return Currency::fromRaw(value.null ? 0 : qint64(value.slot));
    return d->toVariant(field, value).toCurrency();
}

void TMemTable::asCurrencies(int firstField, int count, Currency *out) const
{
    checkField(firstField);
    checkField(firstField + count - 1);
    for (int field = firstField; field < firstField + count; ++field) {
        if (d->fields[size_t(field)].type != FieldType::Currency)
            throw Error(QStringLiteral("%1: Pole '%2' není peněžní.").arg(m_tableName, d->fields[size_t(field)].name));
    }
    std::fill(out, out + count, Currency());
    if (d->cur < 0)
        return;
    if (d->editing()) {
        for (int i = 0; i < count; ++i)
            out[i] = asCurrency(firstField + i);
        return;
    }
    // The slots of set fields follow in field order: one position serves the range.
    const quint64 *record = d->rows[d->currentRowId()].get();
    int slot = d->slotIndex(record, firstField);
    for (int i = 0; i < count; ++i) {
        if (Impl::bit(record, firstField + i))
            out[i] = Currency::fromRaw(qint64(record[slot++]));
    }
}

TDateTime TMemTable::asDate(int field) const
{
    checkField(field);
    if (d->cur < 0)
        return 0;
    const FieldValue value = d->valueOf(d->cur, field);
    if (d->fields[size_t(field)].type == FieldType::DateTime)
        return value.null ? 0 : std::bit_cast<TDateTime>(value.slot);
    return d->toVariant(field, value).toDate();
}

bool TMemTable::asBool(int field) const
{
    return asVariant(field).toBool();
}

double TMemTable::asFloat(int field) const
{
    return asVariant(field).toDouble();
}

void TMemTable::setValue(int field, const Variant &value)
{
    checkField(field);
    if (!d->editing())
        throw Error(QStringLiteral("%1: Tabulka není v režimu úprav, pole '%2' nelze zapsat.")
                        .arg(m_tableName, d->fields[size_t(field)].name));
    const TFieldDef &def = d->fields[size_t(field)];
    if (value.isEmpty()) {
        Impl::setBit(d->bufSet.data(), field, false);
        if (isTextType(def.type))
            d->bufText[size_t(field)] = QString();
    } else {
        quint64 slot = 0;
        QString text;
        d->toSlot(field, value, slot, text);
        if (isTextType(def.type)) {
            if (def.size > 0 && text.size() > def.size)
                text.truncate(def.size);
            d->bufText[size_t(field)] = std::move(text);
        }
        d->buf[size_t(field)] = slot;
        Impl::setBit(d->bufSet.data(), field, true);
    }
    Impl::setBit(d->bufModified.data(), field, true);
    const int row = d->cur;
    d->notify([this, row](TMemTableListener &l) { l.recordChanged(*this, row); });
}

// The typed setters skip the Variant round trip when the field has the
// value's own type: filling a report writes millions of fields.
void TMemTable::Impl::storeSlot(int field, quint64 slot)
{
    buf[size_t(field)] = slot;
    setBit(bufSet.data(), field, true);
    setBit(bufModified.data(), field, true);
    const int row = cur;
    notify([this, row](TMemTableListener &l) { l.recordChanged(q, row); });
}

bool TMemTable::Impl::canStore(int field, FieldType type) const
{
    return field >= 0 && field < int(fields.size()) && fields[size_t(field)].type == type && editing();
}

void TMemTable::setInteger(int field, qint64 value)
{
    if (d->canStore(field, FieldType::Integer) && value >= std::numeric_limits<qint32>::min()
        && value <= std::numeric_limits<qint32>::max())
        d->storeSlot(field, quint64(value));
    else
        setValue(field, Variant(value));
}

void TMemTable::setCurrency(int field, Currency value)
{
    if (d->canStore(field, FieldType::Currency))
        d->storeSlot(field, quint64(value.raw()));
    else
        setValue(field, Variant(value));
}

void TMemTable::setText(int field, const QString &value)
{
    if (!d->canStore(field, FieldType::Text)) {
        setValue(field, Variant(value));
        return;
    }
    const int size = d->fields[size_t(field)].size;
    d->bufText[size_t(field)] = size > 0 && value.size() > size ? value.left(size) : value;
    d->storeSlot(field, 0);
}

void TMemTable::setDate(int field, TDateTime value)
{
    if (d->canStore(field, FieldType::DateTime))
        d->storeSlot(field, doubleSlot(value));
    else
        setValue(field, Variant::fromDate(value));
}

void TMemTable::setBool(int field, bool value)
{
    if (d->canStore(field, FieldType::Boolean))
        d->storeSlot(field, value ? 1 : 0);
    else
        setValue(field, Variant(value));
}

void TMemTable::setNull(int field)
{
    setValue(field, Variant());
}

// ---------------------------------------------------------------- rows

Variant TMemTable::valueAt(int row, int field) const
{
    checkField(field);
    if (row < 0 || row >= recordCount())
        throw Error(QStringLiteral("%1: Záznam číslo %2 neexistuje.").arg(m_tableName).arg(row));
    return d->toVariant(field, d->valueOf(row, field));
}

bool TMemTable::isNullAt(int row, int field) const
{
    checkField(field);
    if (row < 0 || row >= recordCount())
        return true;
    return d->valueOf(row, field).null;
}

QString TMemTable::displayTextAt(int row, int field, const QLocale &locale) const
{
    const Variant value = valueAt(row, field);
    if (value.isEmpty())
        return QString();
    const TFieldDef &def = d->fields[size_t(field)];
    switch (def.type) {
    case FieldType::Currency:
        if (!def.displayFormat.isEmpty())
            return formatAmount(value.toCurrency(), def.displayFormat, locale);
        if (def.currencySymbol)
            return formatAmount(value.toCurrency(), QStringLiteral("# ##0.00"), locale) + u' '
                + locale.currencySymbol();
        return formatAmount(value.toCurrency(), QString(), locale);
    case FieldType::DateTime: {
        const TDateTime serial = value.toDate();
        QString text = formatShortDate(serial, locale);
        if (timePart(serial) != 0.0)
            text = (text + u' ' + formatIsoTime(serial)).trimmed();
        return text;
    }
    case FieldType::Boolean: return value.toBool() ? QStringLiteral("Ano") : QStringLiteral("Ne");
    default: return value.toText();
    }
}

} // namespace kasovka
