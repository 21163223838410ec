// Field access of TMemTable: the current record, any visible row, typed
// setters.

#include "core/MemTable.h"

#include "core/DisplayFormat.h"
#include "core/Error.h"
#include "core/detail/MemTableImpl.h"

#include <algorithm>
#include <bit>
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

TDateTime TMemTable::asDate(int field) const
{
    return asVariant(field).toDate();
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

void TMemTable::rawValuesAt(int row, RawValue *values) const
{
    if (row < 0 || row >= recordCount())
        throw Error(QStringLiteral("%1: Záznam číslo %2 neexistuje.").arg(m_tableName).arg(row));
    if (d->editing() && row == d->cur) {
        for (int f = 0; f < int(d->fields.size()); ++f) {
            const FieldValue value = d->valueOf(row, f);
            values[f] = {value.null, value.slot, value.text};
        }
        return;
    }
    d->rawValues(d->rows[d->view()[size_t(row)]].get(), values);
}

void TMemTable::recordRawValues(int record, RawValue *values) const
{
    checkRecord(record);
    const quint32 id = d->order[size_t(record)];
    if (d->editing() && d->cur >= 0 && d->currentRowId() == id) {
        for (int f = 0; f < int(d->fields.size()); ++f) {
            const FieldValue value = d->valueOfRecord(record, f);
            values[f] = {value.null, value.slot, value.text};
        }
        return;
    }
    d->rawValues(d->rows[id].get(), values);
}

TMemTable::FieldReader::FieldReader(const TMemTable &table, std::vector<int> fields)
    : m_table(table), m_fields(std::move(fields)), m_place(size_t(table.fieldCount()), -1)
{
    for (size_t i = 0; i < m_fields.size(); ++i) {
        const int f = m_fields[i];
        table.checkField(f);
        m_place[size_t(f)] = int(i);
        m_last = std::max(m_last, f);
        m_texts = m_texts || isTextType(table.d->fields[size_t(f)].type);
    }
}

void TMemTable::FieldReader::read(int record, RawValue *values) const
{
    m_table.checkRecord(record);
    const Impl &d = *m_table.d;
    const quint32 id = d.order[size_t(record)];
    const quint64 *rec = d.rows[id].get();
    const int count = int(m_fields.size());
    if ((d.editing() && d.cur >= 0 && d.currentRowId() == id) || !rec) {
        for (int i = 0; i < count; ++i) {
            const FieldValue value = d.valueOfRecord(record, m_fields[size_t(i)]);
            values[i] = {value.null, value.slot, value.text};
        }
        return;
    }
    for (int i = 0; i < count; ++i)
        values[i].null = true;
    d.walkStored(rec, m_last, m_texts, [&](int f, const RawValue &value) {
        if (const int place = m_place[size_t(f)]; place >= 0)
            values[place] = value;
    });
}

void TMemTable::Impl::rawValues(const quint64 *rec, RawValue *values) const
{
    const int count = int(fields.size());
    for (int f = 0; f < count; ++f)
        values[f].null = true;
    if (rec)
        walkStored(rec, count - 1, true, [values](int f, const RawValue &value) { values[f] = value; });
}

QString TMemTable::displayTextAt(int row, int field, const QLocale &locale) const
{
    return displayText(field, valueAt(row, field), locale);
}

void TMemTable::checkRecord(int record) const
{
    if (record < 0 || record >= totalRecordCount())
        throw Error(QStringLiteral("%1: Záznam číslo %2 neexistuje.").arg(m_tableName).arg(record));
}

Variant TMemTable::recordValue(int record, int field) const
{
    checkField(field);
    checkRecord(record);
    return d->toVariant(field, d->valueOfRecord(record, field));
}

bool TMemTable::recordIsNull(int record, int field) const
{
    checkField(field);
    checkRecord(record);
    return d->valueOfRecord(record, field).null;
}

QString TMemTable::recordDisplayText(int record, int field, const QLocale &locale) const
{
    return displayText(field, recordValue(record, field), locale);
}

QString TMemTable::displayText(int field, const Variant &value, const QLocale &locale) const
{
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
