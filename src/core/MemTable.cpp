// Structure, records, cursor and editing of TMemTable. Search, filter, link,
// sort and copy are in MemTableViews.cpp.

#include "core/MemTable.h"

#include "core/DisplayFormat.h"
#include "core/Error.h"
#include "core/detail/MemTableImpl.h"

#include <algorithm>
#include <limits>

namespace kasovka {

namespace {

bool isTextType(FieldType type)
{
    return type == FieldType::Text || type == FieldType::Memo;
}

quint64 doubleSlot(double value)
{
    if (value == 0.0)
        value = 0.0; // one key for +0 and -0
    return std::bit_cast<quint64>(value);
}

} // namespace

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
    for (int f = 0; f < int(fields.size()); ++f) {
        if (!bit(bufSet.data(), f))
            continue;
        if (isTextType(fields[size_t(f)].type)) {
            const QString &text = bufText[size_t(f)];
            std::memcpy(area + offset, text.utf16(), size_t(text.size()) * sizeof(char16_t));
            *slot++ = (quint64(offset) << 32) | quint64(text.size());
            offset += size_t(text.size());
        } else {
            *slot++ = buf[size_t(f)];
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

// ---------------------------------------------------------------- structure

TMemTable::TMemTable() : d(std::make_unique<Impl>(*this)) {}

TMemTable::TMemTable(const QString &tableName) : m_tableName(tableName), d(std::make_unique<Impl>(*this)) {}

TMemTable::~TMemTable()
{
    d->notify([this](TMemTableListener &l) { l.tableDestroyed(*this); });
    d->detachDetails();
    if (m_master)
        std::erase(m_master->d->details, this);
}

void TMemTable::setTableName(const QString &name)
{
    m_tableName = name;
}

int TMemTable::addField(const QString &name, FieldType type, int size, bool required)
{
    if (isActive())
        throw Error(QStringLiteral("%1: Pole nelze přidat do otevřené tabulky.").arg(m_tableName));
    const QString key = name.toCaseFolded();
    if (name.trimmed().isEmpty() || d->fieldByName.contains(key))
        throw Error(QStringLiteral("%1: Pole '%2' je definováno dvakrát nebo nemá jméno.").arg(m_tableName, name));
    if (type == FieldType::AutoInc && d->autoIncField >= 0)
        throw Error(QStringLiteral("%1: Tabulka smí mít jen jedno pole s automatickým číslováním.").arg(m_tableName));
    TFieldDef def;
    def.name = name;
    def.type = type;
    def.size = type == FieldType::Text ? std::max(0, size) : 0;
    def.required = required;
    const int index = int(d->fields.size());
    d->fields.push_back(def);
    d->fieldByName.insert(key, index);
    d->defaultSlot.emplace_back();
    d->defaultText.emplace_back();
    if (isTextType(type))
        d->textFields.push_back(index);
    if (type == FieldType::AutoInc)
        d->autoIncField = index;
    return index;
}

void TMemTable::addIndex(const QString &name, const QStringList &fields)
{
    for (const QString &field : fields)
        fieldIndex(field);
    m_indexDefs.append(TIndexDef{name, fields});
}

void TMemTable::clearFields()
{
    if (isActive())
        throw Error(QStringLiteral("%1: Pole nelze odebrat z otevřené tabulky.").arg(m_tableName));
    clearMasterSource();
    d->clearIndexes();
    d->indexes.clear();
    d->fields.clear();
    d->fieldByName.clear();
    d->defaultSlot.clear();
    d->defaultText.clear();
    d->defaultFields.clear();
    d->textFields.clear();
    d->autoIncField = -1;
    m_indexDefs.clear();
}

void TMemTable::createTable()
{
    d->notify([this](TMemTableListener &l) { l.tableAboutToReset(*this); });
    d->clearRecords();
    const int n = int(d->fields.size());
    d->bitmapWords = std::max(1, (n + 63) / 64);
    d->buf.assign(size_t(n), 0);
    d->bufSet.assign(size_t(d->bitmapWords), 0);
    d->bufModified.assign(size_t(d->bitmapWords), 0);
    d->bufText.assign(size_t(n), QString());
    d->nextAutoInc = 1;
    m_state = State::Browse;
    d->resetAndRefresh();
}

void TMemTable::close()
{
    if (!isActive())
        return;
    d->notify([this](TMemTableListener &l) { l.tableAboutToReset(*this); });
    d->clearRecords();
    m_state = State::Inactive;
    d->resetAndRefresh();
}

void TMemTable::emptyTable()
{
    if (!isActive())
        return;
    d->notify([this](TMemTableListener &l) { l.tableAboutToReset(*this); });
    d->clearRecords();
    m_state = State::Browse;
    d->resetAndRefresh();
}

void TMemTable::Impl::clearRecords()
{
    rows.clear();
    order.clear();
    posOf.clear();
    posDirty = false;
    viewRows.clear();
    viewAll = true;
    cur = -1;
    clearIndexes();
    if (!bufSet.empty())
        clearBuffer();
}

int TMemTable::fieldCount() const
{
    return int(d->fields.size());
}

void TMemTable::checkField(int field) const
{
    if (field < 0 || field >= int(d->fields.size()))
        throw Error(QStringLiteral("%1: Pole číslo %2 neexistuje.").arg(m_tableName).arg(field));
}

const TFieldDef &TMemTable::fieldDef(int field) const
{
    checkField(field);
    return d->fields[size_t(field)];
}

QString TMemTable::fieldName(int field) const
{
    return fieldDef(field).name;
}

FieldType TMemTable::fieldType(int field) const
{
    return fieldDef(field).type;
}

int TMemTable::fieldSize(int field) const
{
    return fieldDef(field).size;
}

int TMemTable::findField(const QString &name) const
{
    return d->fieldByName.value(name.toCaseFolded(), -1);
}

int TMemTable::fieldIndex(const QString &name) const
{
    const int index = findField(name);
    if (index < 0)
        throw Error(QStringLiteral("%1: Field '%2' not found").arg(m_tableName, name));
    return index;
}

void TMemTable::setDisplayFormat(int field, const QString &format)
{
    checkField(field);
    d->fields[size_t(field)].displayFormat = format;
}

void TMemTable::setCurrencySymbol(int field, bool shown)
{
    checkField(field);
    d->fields[size_t(field)].currencySymbol = shown;
}

void TMemTable::setDefaultExpression(int field, const QString &expression)
{
    checkField(field);
    const QString text = expression.trimmed();
    std::optional<quint64> slot;
    QString defaultText;
    if (!text.isEmpty()) {
        const FieldType type = d->fields[size_t(field)].type;
        Variant value;
        if (isTextType(type) && text.size() >= 2 && text.startsWith(u'\'') && text.endsWith(u'\''))
            value = Variant(text.mid(1, text.size() - 2));
        else if (!isTextType(type) && type != FieldType::AutoInc && Currency::parse(text, u'.'))
            value = Variant(*Currency::parse(text, u'.'));
        else
            throw Error(QStringLiteral("%1: Nepodporovaný výchozí výraz \"%2\" pole '%3'.")
                            .arg(m_tableName, expression, d->fields[size_t(field)].name));
        quint64 s = 0;
        d->toSlot(field, value, s, defaultText);
        slot = s;
    }
    d->fields[size_t(field)].defaultExpression = expression;
    d->defaultSlot[size_t(field)] = slot;
    d->defaultText[size_t(field)] = defaultText;
    std::erase(d->defaultFields, field);
    if (slot)
        d->defaultFields.push_back(field);
}

// ---------------------------------------------------------------- cursor

int TMemTable::recordCount() const
{
    return isActive() ? d->viewCount() : 0;
}

int TMemTable::totalRecordCount() const
{
    return int(d->order.size());
}

int TMemTable::recNo() const
{
    return d->cur;
}

void TMemTable::Impl::setCursor(int row, bool force)
{
    if (row == cur && !force)
        return;
    cur = row;
    notify([this](TMemTableListener &l) { l.cursorMoved(q, cur); });
    mastersChanged();
}

void TMemTable::first()
{
    if (d->editing())
        post();
    const int count = recordCount();
    m_bof = true;
    m_eof = count == 0;
    d->setCursor(count > 0 ? 0 : -1);
}

void TMemTable::next()
{
    if (d->editing())
        post();
    const int count = recordCount();
    if (d->cur + 1 < count) {
        m_bof = false;
        m_eof = false;
        d->setCursor(d->cur + 1);
    } else {
        m_eof = true;
        m_bof = count == 0;
    }
}

void TMemTable::prior()
{
    if (d->editing())
        post();
    const int count = recordCount();
    if (d->cur > 0) {
        m_bof = false;
        m_eof = false;
        d->setCursor(d->cur - 1);
    } else {
        m_bof = true;
        m_eof = count == 0;
    }
}

void TMemTable::last()
{
    if (d->editing())
        post();
    const int count = recordCount();
    m_bof = count == 0;
    m_eof = count == 0;
    d->setCursor(count - 1);
}

void TMemTable::setRecNo(int row)
{
    if (d->editing())
        post();
    const int count = recordCount();
    row = std::clamp(row, 0, count - 1);
    m_bof = count == 0;
    m_eof = count == 0;
    d->setCursor(count > 0 ? row : -1);
}

// ---------------------------------------------------------------- editing

void TMemTable::append()
{
    if (!isActive())
        throw Error(QStringLiteral("%1: Tabulka není otevřená.").arg(m_tableName));
    if (d->editing())
        post();
    if (d->autoIncField >= 0 && d->nextAutoInc > std::numeric_limits<qint32>::max())
        throw Error(QStringLiteral("%1: Vyčerpána čísla automatického číslování.").arg(m_tableName));
    d->clearBuffer();
    for (int f : d->defaultFields) {
        Impl::setBit(d->bufSet.data(), f, true);
        d->buf[size_t(f)] = *d->defaultSlot[size_t(f)];
        if (isTextType(d->fields[size_t(f)].type))
            d->bufText[size_t(f)] = d->defaultText[size_t(f)];
    }
    if (d->autoIncField >= 0) {
        Impl::setBit(d->bufSet.data(), d->autoIncField, true);
        d->buf[size_t(d->autoIncField)] = quint64(d->nextAutoInc++);
    }
    const quint32 rowId = quint32(d->rows.size());
    const int row = d->viewCount();
    d->notify([this, row](TMemTableListener &l) { l.recordsAboutToBeInserted(*this, row, 1); });
    d->rows.emplace_back();
    if (!d->posDirty)
        d->posOf.push_back(qint32(d->order.size()));
    d->order.push_back(rowId);
    if (!d->viewAll)
        d->viewRows.push_back(rowId);
    m_state = State::Insert;
    d->notify([this, row](TMemTableListener &l) { l.recordsInserted(*this, row, 1); });
    m_bof = false;
    m_eof = false;
    d->setCursor(row, true);
}

void TMemTable::edit()
{
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (!isActive() || d->cur < 0)
        throw Error(QStringLiteral("%1: Není vybrán žádný záznam k úpravě.").arg(m_tableName));
    d->loadBuffer(d->rows[d->currentRowId()].get());
    m_state = State::Edit;
}

void TMemTable::post()
{
    if (!d->editing())
        return;
    for (int f = 0; f < fieldCount(); ++f) {
        if (d->fields[size_t(f)].required && !Impl::bit(d->bufSet.data(), f))
            throw Error(QStringLiteral("%1: Pole '%2' musí mít hodnotu.").arg(m_tableName, d->fields[size_t(f)].name));
    }
    const quint32 rowId = d->currentRowId();
    RecordData &slot = d->rows[rowId];
    if (m_state == State::Insert) {
        slot = d->packBuffer(nullptr, 0);
        d->indexInsert(rowId);
    } else {
        // A record of unchanged size is rewritten in place, so the old keys
        // are taken first.
        const auto oldKeys = d->keysBeforeEdit(slot.get());
        const size_t oldWords = d->recordWords(slot.get());
        slot = d->packBuffer(std::move(slot), oldWords);
        d->indexUpdate(rowId, oldKeys, slot.get());
    }
    m_state = State::Browse;
    const int row = d->cur;
    d->notify([this, row](TMemTableListener &l) { l.recordChanged(*this, row); });
    if (!d->viewAll) {
        // The posted values may take the record out of the filter or link.
        d->notify([this](TMemTableListener &l) { l.tableAboutToReset(*this); });
        d->rebuildView();
        const auto &view = d->view();
        const auto it = std::find(view.begin(), view.end(), rowId);
        const int count = int(view.size());
        d->cur = it != view.end() ? int(it - view.begin()) : std::min(row, count - 1);
        m_eof = m_eof || count == 0;
        d->notify([this](TMemTableListener &l) { l.tableReset(*this); });
        d->setCursor(d->cur, true);
    } else {
        d->mastersChanged();
    }
}

void TMemTable::cancel()
{
    if (m_state == State::Edit) {
        m_state = State::Browse;
        const int row = d->cur;
        d->notify([this, row](TMemTableListener &l) { l.recordChanged(*this, row); });
        return;
    }
    if (m_state != State::Insert)
        return;
    // The record was never posted: it leaves no trace but its number.
    m_state = State::Browse;
    const int row = d->cur;
    d->notify([this, row](TMemTableListener &l) { l.recordsAboutToBeRemoved(*this, row, 1); });
    // The appended record is always the last one.
    d->order.pop_back();
    d->rows.pop_back();
    if (!d->viewAll)
        d->viewRows.erase(d->viewRows.begin() + row);
    if (!d->posDirty)
        d->posOf.pop_back();
    d->notify([this, row](TMemTableListener &l) { l.recordsRemoved(*this, row, 1); });
    const int count = recordCount();
    m_eof = count == 0;
    d->setCursor(std::min(row, count - 1), true);
}

void TMemTable::deleteRecord()
{
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    if (!isActive() || d->cur < 0)
        throw Error(QStringLiteral("%1: Není vybrán žádný záznam ke smazání.").arg(m_tableName));
    const int row = d->cur;
    const quint32 rowId = d->currentRowId();
    d->notify([this, row](TMemTableListener &l) { l.recordsAboutToBeRemoved(*this, row, 1); });
    d->indexRemove(rowId, d->rows[rowId].get());
    d->order.erase(std::find(d->order.begin(), d->order.end(), rowId));
    if (!d->viewAll)
        d->viewRows.erase(d->viewRows.begin() + row);
    d->posDirty = true;
    d->rows[rowId].reset();
    d->notify([this, row](TMemTableListener &l) { l.recordsRemoved(*this, row, 1); });
    const int count = recordCount();
    m_eof = count == 0;
    m_bof = count == 0;
    d->setCursor(std::min(row, count - 1), true);
}

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

void TMemTable::setInteger(int field, qint64 value)
{
    setValue(field, Variant(value));
}

void TMemTable::setCurrency(int field, Currency value)
{
    setValue(field, Variant(value));
}

void TMemTable::setText(int field, const QString &value)
{
    setValue(field, Variant(value));
}

void TMemTable::setDate(int field, TDateTime value)
{
    setValue(field, Variant::fromDate(value));
}

void TMemTable::setBool(int field, bool value)
{
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
