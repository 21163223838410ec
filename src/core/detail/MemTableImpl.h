#pragma once
// Inner organisation of TMemTable.
//
// A posted record is one heap block of 64-bit words:
//   [bitmap words]   bit f set: field f holds a value
//   [value slots]    one per set field, in field order
//   [text area]      UTF-16 code units of the set text fields
// A slot holds an integer, a currency's raw count, a date's bits, 0/1, or for
// text the offset (high 32 bits) and length (low 32 bits) in the text area.
// Empty fields take no room, which keeps a journal row with a few amounts out
// of 31 small. The edit buffer is the unpacked form: one slot and one text
// per field.
//
// Records are addressed by a stable row id (their index in `rows`); `order`
// holds the ids in table order and the view the visible ids in that order.
// Hash indexes map an encoded key to the ids holding it, in table order.

#include "core/MemTable.h"

#include <QByteArray>
#include <QHash>

#include <bit>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace kasovka {

using RecordData = std::unique_ptr<quint64[]>;

inline bool isTextType(FieldType type)
{
    return type == FieldType::Text || type == FieldType::Memo;
}

/// A date's slot; +0 and -0 share one key.
inline quint64 doubleSlot(double value)
{
    return std::bit_cast<quint64>(value == 0.0 ? 0.0 : value);
}

struct HashIndex {
    std::vector<int> fields;
    bool ignoreCase = false;
    bool built = false;
    QHash<QByteArray, std::vector<quint32>> buckets;
};

struct FieldValue {
    bool null = true;
    quint64 slot = 0;
    QStringView text; // Text and Memo
};

struct TMemTable::Impl {
    explicit Impl(TMemTable &owner) : q(owner) {}

    TMemTable &q;
    std::vector<TFieldDef> fields;
    QHash<QString, int> fieldByName; // case-folded name
    std::vector<std::optional<quint64>> defaultSlot;
    std::vector<QString> defaultText;
    std::vector<int> defaultFields;
    std::vector<int> textFields;
    std::vector<int> requiredFields;
    int autoIncField = -1;
    int bitmapWords = 1;

    std::vector<RecordData> rows; // by row id; null once deleted or while inserted
    std::vector<quint32> order;
    std::vector<qint32> posOf; // row id -> position in order
    bool posDirty = true;
    qint64 nextAutoInc = 1;

    bool viewAll = true;
    std::vector<quint32> viewRows;
    int cur = -1;

    // Edit buffer of the current record.
    std::vector<quint64> buf;
    std::vector<quint64> bufSet;
    std::vector<quint64> bufModified;
    std::vector<QString> bufText;

    std::vector<std::unique_ptr<HashIndex>> indexes;

    bool filterParsed = false;
    qint64 filterId = 0;

    std::vector<int> detailFieldIdx;
    QStringList masterFieldNames;
    mutable std::vector<int> masterFieldIdx; // re-resolved when the master's fields change

    // The field positions of the last locate, so that repeated locates over
    // the same names skip the name lookups.
    QStringList locateNames;
    std::vector<int> locateFields;
    HashIndex *linkIndex = nullptr;
    std::vector<TMemTable *> details;

    std::vector<TMemTableListener *> listeners;

    // ---- records ----
    const std::vector<quint32> &view() const { return viewAll ? order : viewRows; }
    int viewCount() const { return int(view().size()); }
    bool editing() const { return q.m_state == State::Edit || q.m_state == State::Insert; }
    quint32 currentRowId() const { return view()[size_t(cur)]; }

    static bool bit(const quint64 *bits, int f) { return (bits[f >> 6] >> (f & 63)) & 1u; }
    static void setBit(quint64 *bits, int f, bool on)
    {
        if (on)
            bits[f >> 6] |= quint64(1) << (f & 63);
        else
            bits[f >> 6] &= ~(quint64(1) << (f & 63));
    }
    int slotIndex(const quint64 *rec, int f) const
    {
        int index = bitmapWords;
        const int word = f >> 6;
        for (int w = 0; w < word; ++w)
            index += std::popcount(rec[w]);
        return index + std::popcount(rec[word] & ((quint64(1) << (f & 63)) - 1));
    }
    int slotCount(const quint64 *rec) const
    {
        int n = 0;
        for (int w = 0; w < bitmapWords; ++w)
            n += std::popcount(rec[w]);
        return n;
    }
    FieldValue recordValue(const quint64 *rec, int f) const;
    FieldValue bufferValue(int f) const;
    /// The value of a field in a visible row (edit buffer for the current row
    /// while editing; empty when the row has no posted data).
    FieldValue valueOf(int row, int f) const;
    /// The same for a record of the table order, visible or not.
    FieldValue valueOfRecord(int record, int f) const;
    /// Every field of a stored record, as TMemTable::rawValuesAt gives them.
    void rawValues(const quint64 *rec, TMemTable::RawValue *values) const;
    /// The stored fields of a record up to field `last`, in field order:
    /// take(field, value) for each. The slots follow in the order of the set
    /// bits, so one walk over the bits finds them. With `texts` a text
    /// field's view is made; a reader that asks for no text skips the check.
    template <typename Take>
    void walkStored(const quint64 *rec, int last, bool texts, Take &&take) const
    {
        const char16_t *area = nullptr; // the record's texts, found once needed
        const quint64 *slot = rec + bitmapWords;
        for (int w = 0; w <= (last >> 6) && w < bitmapWords; ++w) {
            for (quint64 bits = rec[w]; bits != 0; bits &= bits - 1) {
                const int f = w * 64 + std::countr_zero(bits);
                if (f > last)
                    return;
                TMemTable::RawValue value{false, *slot++, {}};
                if (texts && isTextType(fields[size_t(f)].type)) {
                    if (!area)
                        area = reinterpret_cast<const char16_t *>(rec + bitmapWords + slotCount(rec));
                    value.text = QStringView(area + (value.slot >> 32), qsizetype(value.slot & 0xffffffffu));
                }
                take(f, value);
            }
        }
    }
    size_t recordWords(const quint64 *rec) const;
    RecordData packBuffer(RecordData reuse, size_t reuseWords);
    void loadBuffer(const quint64 *rec);
    void clearBuffer();
    bool canStore(int field, FieldType type) const;
    void storeSlot(int field, quint64 slot);
    Variant toVariant(int f, const FieldValue &value) const;
    /// Converts a value to a field's slot (and text); throws when it does
    /// not convert. Text is not cut here.
    void toSlot(int f, const Variant &value, quint64 &slot, QString &text) const;

    // ---- positions, indexes ----
    void ensurePositions();
    HashIndex &index(const std::vector<int> &fieldList, bool ignoreCase);
    void buildIndex(HashIndex &index);
    QByteArray recordKey(const HashIndex &index, const quint64 *rec) const;
    void indexInsert(quint32 rowId);
    void indexRemove(quint32 rowId, const quint64 *rec);
    /// Keys of the built indexes over fields modified in the edit buffer,
    /// taken from the record before it is rewritten.
    std::vector<std::pair<HashIndex *, QByteArray>> keysBeforeEdit(const quint64 *oldRec) const;
    void indexUpdate(quint32 rowId, const std::vector<std::pair<HashIndex *, QByteArray>> &oldKeys,
                     const quint64 *newRec);
    void invalidateIndexes();
    void clearIndexes();

    bool locate(const std::vector<int> &fieldList, const QList<Variant> &values, bool ignoreCase);

    // ---- view, cursor, notifications ----
    bool filterActive() const { return q.m_filtered && filterParsed; }
    bool passesFilter(const quint64 *rec, int idField) const;
    void rebuildView();
    /// Position of the i-th master field in the master, or -1.
    int masterField(size_t i) const;
    void resetAndRefresh();
    void setCursor(int row, bool force = false);
    void mastersChanged();
    void detachDetails();
    void clearRecords();

    template <typename F> void notify(F &&call)
    {
        if (listeners.empty())
            return;
        const std::vector<TMemTableListener *> copy = listeners;
        for (TMemTableListener *listener : copy)
            call(*listener);
    }
};

/// Appends the key encoding of one value: a tag, then 8 bytes for numbers or
/// a length and UTF-16 units for text (case-folded with `ignoreCase`).
void appendKeyPart(QByteArray &key, FieldType type, const FieldValue &value, bool ignoreCase);

} // namespace kasovka
