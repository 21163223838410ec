// Structure, cursor and editing of TMemTable. The record layout is in
// MemTableRecords.cpp, field access in MemTableFields.cpp, search, filter,
// link, sort and copy in MemTableViews.cpp.

#include "core/MemTable.h"

#include "core/DisplayFormat.h"
#include "core/Error.h"
#include "core/detail/MemTableImpl.h"

#include <algorithm>
#include <limits>

namespace kasovka {

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
    if (required)
        d->requiredFields.push_back(index);
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
    d->locateNames.clear();
    d->clearIndexes();
    d->indexes.clear();
    d->fields.clear();
    d->fieldByName.clear();
    d->defaultSlot.clear();
    d->defaultText.clear();
    d->defaultFields.clear();
    d->textFields.clear();
    d->requiredFields.clear();
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
    row = count > 0 ? std::clamp(row, 0, count - 1) : -1;
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
    for (int f : d->requiredFields) {
        if (!Impl::bit(d->bufSet.data(), f))
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

} // namespace kasovka
