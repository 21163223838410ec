// Packing and unpacking of TMemTable records and value conversion.

#include "core/MemTable.h"

#include "core/DisplayFormat.h"
#include "core/Error.h"
#include "core/detail/MemTableImpl.h"

#include <algorithm>
#include <limits>

namespace kasovka {

// ---------------------------------------------------------------- records

FieldValue TMemTable::Impl::recordValue(const quint64 *rec, int f) const
{
    FieldValue value;
    if (!rec || !bit(rec, f))
        return value;
    value.null = false;
    value.slot = rec[slotIndex(rec, f)];
    if (isTextType(fields[size_t(f)].type)) {
        const auto *area = reinterpret_cast<const char16_t *>(rec + bitmapWords + slotCount(rec));
        value.text = QStringView(area + (value.slot >> 32), qsizetype(value.slot & 0xffffffffu));
    }
    return value;
}

FieldValue TMemTable::Impl::bufferValue(int f) const
{
    FieldValue value;
    if (!bit(bufSet.data(), f))
        return value;
    value.null = false;
    value.slot = buf[size_t(f)];
    if (isTextType(fields[size_t(f)].type))
        value.text = bufText[size_t(f)];
    return value;
}

FieldValue TMemTable::Impl::valueOf(int row, int f) const
{
    if (editing() && row == cur)
        return bufferValue(f);
    return recordValue(rows[view()[size_t(row)]].get(), f);
}

FieldValue TMemTable::Impl::valueOfRecord(int record, int f) const
{
    const quint32 id = order[size_t(record)];
    if (editing() && cur >= 0 && currentRowId() == id)
        return bufferValue(f);
    return recordValue(rows[id].get(), f);
}

size_t TMemTable::Impl::recordWords(const quint64 *rec) const
{
    const int slots = slotCount(rec);
    size_t units = 0;
    for (int f : textFields) {
        if (bit(rec, f)) {
            const quint64 slot = rec[slotIndex(rec, f)];
            units = std::max<size_t>(units, size_t(slot >> 32) + size_t(slot & 0xffffffffu));
        }
    }
    return size_t(bitmapWords + slots) + (units + 3) / 4;
}

RecordData TMemTable::Impl::packBuffer(RecordData reuse, size_t reuseWords)
{
    int slots = 0;
    for (int w = 0; w < bitmapWords; ++w)
        slots += std::popcount(bufSet[size_t(w)]);
    size_t units = 0;
    for (int f : textFields) {
        if (bit(bufSet.data(), f))
            units += size_t(bufText[size_t(f)].size());
    }
    const size_t words = size_t(bitmapWords + slots) + (units + 3) / 4;
    RecordData rec = (reuse && reuseWords == words) ? std::move(reuse) : RecordData(new quint64[words]);
    if (words > size_t(bitmapWords + slots))
        rec[words - 1] = 0; // the padding of the text area
    std::copy(bufSet.begin(), bufSet.end(), rec.get());
    auto *area = reinterpret_cast<char16_t *>(rec.get() + bitmapWords + slots);
    quint64 *slot = rec.get() + bitmapWords;
    size_t offset = 0;
    for (int w = 0; w < bitmapWords; ++w) {
        for (quint64 bits = bufSet[size_t(w)]; bits != 0; bits &= bits - 1) {
            const int f = w * 64 + std::countr_zero(bits);
            if (!isTextType(fields[size_t(f)].type)) {
                *slot++ = buf[size_t(f)];
                continue;
            }
            const QString &text = bufText[size_t(f)];
            std::memcpy(area + offset, text.utf16(), size_t(text.size()) * sizeof(char16_t));
            *slot++ = (quint64(offset) << 32) | quint64(text.size());
            offset += size_t(text.size());
        }
    }
    return rec;
}

void TMemTable::Impl::loadBuffer(const quint64 *rec)
{
    std::copy(rec, rec + bitmapWords, bufSet.begin());
    std::fill(bufModified.begin(), bufModified.end(), 0);
    const quint64 *slot = rec + bitmapWords;
    for (int f = 0; f < int(fields.size()); ++f) {
        if (!bit(rec, f))
            continue;
        if (isTextType(fields[size_t(f)].type))
            bufText[size_t(f)] = recordValue(rec, f).text.toString();
        buf[size_t(f)] = *slot++;
    }
}

void TMemTable::Impl::clearBuffer()
{
    std::fill(bufSet.begin(), bufSet.end(), 0);
    std::fill(bufModified.begin(), bufModified.end(), 0);
    for (int f : textFields) {
        if (!bufText[size_t(f)].isNull())
            bufText[size_t(f)] = QString();
    }
}

Variant TMemTable::Impl::toVariant(int f, const FieldValue &value) const
{
    if (value.null)
        return Variant();
    switch (fields[size_t(f)].type) {
    case FieldType::AutoInc:
    case FieldType::Integer: return Variant(qint64(value.slot));
    case FieldType::Text:
    case FieldType::Memo: return Variant(value.text.toString());
    case FieldType::DateTime: return Variant::fromDate(std::bit_cast<double>(value.slot));
    case FieldType::Currency: return Variant(Currency::fromRaw(qint64(value.slot)));
    case FieldType::Boolean: return Variant(value.slot != 0);
    }
    return Variant();
}

void TMemTable::Impl::toSlot(int f, const Variant &value, quint64 &slot, QString &text) const
{
    const TFieldDef &def = fields[size_t(f)];
    switch (def.type) {
    case FieldType::AutoInc:
    case FieldType::Integer: {
        const qint64 v = value.toInt();
        if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
            throw Error(QStringLiteral("%1: Hodnota %2 je mimo rozsah pole '%3'.")
                            .arg(q.m_tableName).arg(v).arg(def.name));
        slot = quint64(v);
        return;
    }
    case FieldType::Text:
    case FieldType::Memo: text = value.toText(); return;
    case FieldType::DateTime: slot = doubleSlot(value.toDate()); return;
    case FieldType::Currency: slot = quint64(value.toCurrency().raw()); return;
    case FieldType::Boolean: slot = value.toBool() ? 1 : 0; return;
    }
}

} // namespace kasovka
