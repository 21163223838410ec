// Hash indexes, locate, the ID filter, the master/detail link, sort and the
// complete copy of TMemTable.

#include "core/MemTable.h"

#include "core/Error.h"
#include "core/detail/MemTableImpl.h"

#include <QRegularExpression>

#include <algorithm>

namespace kasovka {

namespace {

template <typename T> int compareValues(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

void appendKeyPart(QByteArray &key, FieldType type, const FieldValue &value, bool ignoreCase)
{
    if (value.null) {
        key.append('\0');
        return;
    }
    key.append('\1');
    if (!isTextType(type)) {
        key.append(reinterpret_cast<const char *>(&value.slot), sizeof value.slot);
        return;
    }
    const QString folded = ignoreCase ? value.text.toString().toCaseFolded() : QString();
    const QStringView text = ignoreCase ? QStringView(folded) : value.text;
    const qint32 length = qint32(text.size());
    key.append(reinterpret_cast<const char *>(&length), sizeof length);
    key.append(reinterpret_cast<const char *>(text.utf16()), text.size() * qsizetype(sizeof(char16_t)));
}

// ---------------------------------------------------------------- indexes

void TMemTable::Impl::ensurePositions()
{
    if (!posDirty)
        return;
    posOf.assign(rows.size(), -1);
    for (size_t i = 0; i < order.size(); ++i)
        posOf[order[i]] = qint32(i);
    posDirty = false;
}

QByteArray TMemTable::Impl::recordKey(const HashIndex &index, const quint64 *rec) const
{
    QByteArray key;
    key.reserve(int(index.fields.size()) * 9);
    for (int f : index.fields)
        appendKeyPart(key, fields[size_t(f)].type, recordValue(rec, f), index.ignoreCase);
    return key;
}

void TMemTable::Impl::buildIndex(HashIndex &index)
{
    index.buckets.clear();
    for (quint32 rowId : order) {
        if (const quint64 *rec = rows[rowId].get())
            index.buckets[recordKey(index, rec)].push_back(rowId);
    }
    index.built = true;
}

HashIndex &TMemTable::Impl::index(const std::vector<int> &fieldList, bool ignoreCase)
{
    // Case only matters when a text field takes part.
    ignoreCase = ignoreCase && std::any_of(fieldList.begin(), fieldList.end(), [this](int f) {
        return isTextType(fields[size_t(f)].type);
    });
    for (const auto &existing : indexes) {
        if (existing->fields == fieldList && existing->ignoreCase == ignoreCase) {
            if (!existing->built)
                buildIndex(*existing);
            return *existing;
        }
    }
    auto created = std::make_unique<HashIndex>();
    created->fields = fieldList;
    created->ignoreCase = ignoreCase;
    buildIndex(*created);
    indexes.push_back(std::move(created));
    return *indexes.back();
}

void TMemTable::Impl::indexInsert(quint32 rowId)
{
    // A newly posted record is the last in table order.
    const quint64 *rec = rows[rowId].get();
    for (const auto &index : indexes) {
        if (index->built)
            index->buckets[recordKey(*index, rec)].push_back(rowId);
    }
}

void TMemTable::Impl::indexRemove(quint32 rowId, const quint64 *rec)
{
    if (!rec)
        return;
    for (const auto &index : indexes) {
        if (!index->built)
            continue;
        const auto it = index->buckets.find(recordKey(*index, rec));
        if (it == index->buckets.end())
            continue;
        std::erase(it.value(), rowId);
        if (it.value().empty())
            index->buckets.erase(it);
    }
}

std::vector<std::pair<HashIndex *, QByteArray>> TMemTable::Impl::keysBeforeEdit(const quint64 *oldRec) const
{
    std::vector<std::pair<HashIndex *, QByteArray>> keys;
    for (const auto &index : indexes) {
        if (!index->built)
            continue;
        const bool touched = std::any_of(index->fields.begin(), index->fields.end(),
                                         [this](int f) { return bit(bufModified.data(), f); });
        if (touched)
            keys.emplace_back(index.get(), recordKey(*index, oldRec));
    }
    return keys;
}

void TMemTable::Impl::indexUpdate(quint32 rowId, const std::vector<std::pair<HashIndex *, QByteArray>> &oldKeys,
                                  const quint64 *newRec)
{
    if (oldKeys.empty())
        return;
    ensurePositions();
    for (const auto &[index, oldKey] : oldKeys) {
        const QByteArray newKey = recordKey(*index, newRec);
        if (newKey == oldKey)
            continue;
        auto old = index->buckets.find(oldKey);
        if (old != index->buckets.end()) {
            std::erase(old.value(), rowId);
            if (old.value().empty())
                index->buckets.erase(old);
        }
        // Buckets stay in table order.
        std::vector<quint32> &bucket = index->buckets[newKey];
        const auto at = std::lower_bound(bucket.begin(), bucket.end(), rowId,
                                         [this](quint32 a, quint32 b) { return posOf[a] < posOf[b]; });
        bucket.insert(at, rowId);
    }
}

void TMemTable::Impl::invalidateIndexes()
{
    for (const auto &index : indexes) {
        index->buckets.clear();
        index->built = false;
    }
}

void TMemTable::Impl::clearIndexes()
{
    // An empty table has empty buckets: the indexes stay built.
    for (const auto &index : indexes)
        index->buckets.clear();
}

// ---------------------------------------------------------------- view

bool TMemTable::Impl::passesFilter(const quint64 *rec, int idField) const
{
    if (idField < 0)
        return false;
    const FieldValue value = recordValue(rec, idField);
    return !value.null && qint64(value.slot) == filterId;
}

void TMemTable::Impl::rebuildView()
{
    if (!q.isActive() || (!filterActive() && !q.m_master)) {
        viewAll = true;
        viewRows.clear();
        return;
    }
    viewAll = false;
    viewRows.clear();
    const int idField = filterActive() ? q.findField(QStringLiteral("ID")) : -1;
    const std::vector<quint32> *candidates = nullptr;
    if (q.m_master) {
        TMemTable &master = *q.m_master;
        if (!master.isActive() || master.recNo() < 0 || !linkIndex)
            return;
        QByteArray key;
        for (size_t i = 0; i < detailFieldIdx.size(); ++i) {
            const int f = detailFieldIdx[i];
            const int mf = masterField(i);
            if (mf < 0)
                return;
            FieldValue value;
            QString text;
            const Variant masterValue = master.asVariant(mf);
            if (!masterValue.isEmpty()) {
                try {
                    toSlot(f, masterValue, value.slot, text);
                } catch (const Error &) {
                    return; // a master value of another kind matches nothing
                }
                value.null = false;
                value.text = text;
            }
            appendKeyPart(key, fields[size_t(f)].type, value, false);
        }
        if (!linkIndex->built)
            buildIndex(*linkIndex);
        const auto it = linkIndex->buckets.constFind(key);
        if (it == linkIndex->buckets.cend())
            return;
        candidates = &it.value();
    } else {
        if (idField < 0)
            return;
        FieldValue value;
        value.null = false;
        value.slot = quint64(filterId);
        QByteArray key;
        appendKeyPart(key, fields[size_t(idField)].type, value, false);
        HashIndex &idIndex = index({idField}, false);
        const auto it = idIndex.buckets.constFind(key);
        if (it == idIndex.buckets.cend())
            return;
        viewRows = it.value();
        return;
    }
    if (!filterActive()) {
        viewRows = *candidates;
        return;
    }
    for (quint32 rowId : *candidates) {
        if (passesFilter(rows[rowId].get(), idField))
            viewRows.push_back(rowId);
    }
}

int TMemTable::Impl::masterField(size_t i) const
{
    const TMemTable &master = *q.m_master;
    const QString &name = masterFieldNames[qsizetype(i)];
    int &f = masterFieldIdx[i];
    if (f < 0 || f >= master.fieldCount() || master.d->fields[size_t(f)].name.compare(name, Qt::CaseInsensitive) != 0)
        f = master.findField(name);
    return f;
}

void TMemTable::Impl::resetAndRefresh()
{
    rebuildView();
    cur = viewCount() > 0 ? 0 : -1;
    q.m_bof = true;
    q.m_eof = cur < 0;
    notify([this](TMemTableListener &l) { l.tableReset(q); });
    setCursor(cur, true);
}

void TMemTable::Impl::mastersChanged()
{
    for (TMemTable *detail : details) {
        if (detail->d->editing())
            detail->post();
        detail->d->notify([detail](TMemTableListener &l) { l.tableAboutToReset(*detail); });
        detail->d->resetAndRefresh();
    }
}

void TMemTable::Impl::detachDetails()
{
    const std::vector<TMemTable *> linked = details;
    for (TMemTable *detail : linked)
        detail->clearMasterSource();
}

// ---------------------------------------------------------------- locate

bool TMemTable::locate(const QStringList &fieldNames, const QList<Variant> &values, bool ignoreCase)
{
    if (fieldNames.size() != values.size() || fieldNames.isEmpty())
        throw Error(QStringLiteral("%1: Počet polí a hodnot pro vyhledání nesouhlasí.").arg(m_tableName));
    if (fieldNames != d->locateNames) {
        std::vector<int> resolved;
        for (const QString &name : fieldNames)
            resolved.push_back(fieldIndex(name));
        d->locateNames = fieldNames;
        d->locateFields = std::move(resolved);
    }
    return d->locate(d->locateFields, values, ignoreCase);
}

bool TMemTable::locate(const QList<int> &fields, const QList<Variant> &values, bool ignoreCase)
{
    if (fields.size() != values.size() || fields.isEmpty())
        throw Error(QStringLiteral("%1: Počet polí a hodnot pro vyhledání nesouhlasí.").arg(m_tableName));
    std::vector<int> fieldList;
    for (int f : fields) {
        checkField(f);
        fieldList.push_back(f);
    }
    return d->locate(fieldList, values, ignoreCase);
}

bool TMemTable::Impl::locate(const std::vector<int> &fieldList, const QList<Variant> &values, bool ignoreCase)
{
    if (!q.isActive())
        return false;
    if (editing())
        q.post();
    HashIndex &index = this->index(fieldList, ignoreCase);
    QByteArray key;
    for (size_t i = 0; i < fieldList.size(); ++i) {
        const int f = fieldList[i];
        const Variant &value = values[qsizetype(i)];
        FieldValue part;
        QString text;
        if (!value.isEmpty()) {
            try {
                toSlot(f, value, part.slot, text);
            } catch (const Error &) {
                return false;
            }
            part.null = false;
            part.text = text;
        }
        appendKeyPart(key, fields[size_t(f)].type, part, index.ignoreCase);
    }
    const auto it = index.buckets.constFind(key);
    if (it == index.buckets.cend())
        return false;
    int row = -1;
    if (viewAll) {
        ensurePositions();
        row = posOf[it.value().front()];
    } else {
        // The view is a subsequence of the table order.
        ensurePositions();
        const auto &view = viewRows;
        for (quint32 rowId : it.value()) {
            const auto at = std::lower_bound(view.begin(), view.end(), rowId, [this](quint32 a, quint32 b) {
                return posOf[a] < posOf[b];
            });
            if (at != view.end() && *at == rowId) {
                row = int(at - view.begin());
                break;
            }
        }
        if (row < 0)
            return false;
    }
    q.m_bof = false;
    q.m_eof = false;
    setCursor(row);
    return true;
}

bool TMemTable::locate(const QString &field, const Variant &value, bool ignoreCase)
{
    return locate(QStringList{field}, QList<Variant>{value}, ignoreCase);
}

// ---------------------------------------------------------------- filter

void TMemTable::setFilterText(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*ID\\s*=\\s*([+-]?\\d{1,10})\\s*$"),
                                         QRegularExpression::CaseInsensitiveOption);
    bool parsed = false;
    qint64 id = 0;
    if (!text.trimmed().isEmpty()) {
        const QRegularExpressionMatch match = form.match(text);
        bool ok = false;
        if (match.hasMatch())
            id = match.captured(1).toLongLong(&ok);
        if (!ok)
            throw Error(QStringLiteral("%1: Nepodporovaný filtr \"%2\"; povolen je jen tvar \"ID = číslo\".")
                            .arg(m_tableName, text));
        parsed = true;
    }
    if (d->editing())
        post();
    m_filterText = text;
    d->filterParsed = parsed;
    d->filterId = id;
    if (m_filtered && isActive()) {
        d->notify([this](TMemTableListener &l) { l.tableAboutToReset(*this); });
        d->resetAndRefresh();
    }
}

void TMemTable::setFiltered(bool on)
{
    if (on == m_filtered)
        return;
    if (on && d->filterParsed)
        fieldIndex(QStringLiteral("ID"));
    if (d->editing())
        post();
    m_filtered = on;
    if (isActive()) {
        d->notify([this](TMemTableListener &l) { l.tableAboutToReset(*this); });
        d->resetAndRefresh();
    }
}

// ---------------------------------------------------------------- link

void TMemTable::setMasterSource(TMemTable *master, const QStringList &masterFields,
                                const QStringList &detailFields)
{
    if (!master) {
        clearMasterSource();
        return;
    }
    if (masterFields.isEmpty() || masterFields.size() != detailFields.size())
        throw Error(QStringLiteral("%1: Počet polí vazby na nadřízenou tabulku nesouhlasí.").arg(m_tableName));
    for (TMemTable *t = master; t; t = t->m_master) {
        if (t == this)
            throw Error(QStringLiteral("%1: Vazba tabulek by vytvořila kruh.").arg(m_tableName));
    }
    std::vector<int> detailIdx;
    for (const QString &name : detailFields)
        detailIdx.push_back(fieldIndex(name));
    for (const QString &name : masterFields)
        master->fieldIndex(name);
    if (d->editing())
        post();
    if (m_master)
        std::erase(m_master->d->details, this);
    m_master = master;
    master->d->details.push_back(this);
    d->detailFieldIdx = detailIdx;
    d->masterFieldNames = masterFields;
    d->masterFieldIdx.assign(size_t(masterFields.size()), -1);
    d->linkIndex = &d->index(detailIdx, false);
    if (isActive()) {
        d->notify([this](TMemTableListener &l) { l.tableAboutToReset(*this); });
        d->resetAndRefresh();
    }
}

void TMemTable::clearMasterSource()
{
    if (!m_master)
        return;
    if (d->editing())
        post();
    std::erase(m_master->d->details, this);
    m_master = nullptr;
    d->linkIndex = nullptr;
    d->detailFieldIdx.clear();
    d->masterFieldNames.clear();
    d->masterFieldIdx.clear();
    if (isActive()) {
        d->notify([this](TMemTableListener &l) { l.tableAboutToReset(*this); });
        d->resetAndRefresh();
    }
}

// ---------------------------------------------------------------- sort, copy

void TMemTable::sortBy(const QStringList &fieldNames)
{
    std::vector<int> keys;
    for (const QString &name : fieldNames)
        keys.push_back(fieldIndex(name));
    if (!isActive())
        return;
    if (d->editing())
        post();
    const auto compare = [this, &keys](quint32 a, quint32 b) {
        const quint64 *ra = d->rows[a].get();
        const quint64 *rb = d->rows[b].get();
        for (int f : keys) {
            const FieldValue va = d->recordValue(ra, f);
            const FieldValue vb = d->recordValue(rb, f);
            if (va.null || vb.null) {
                if (va.null != vb.null)
                    return va.null;
                continue;
            }
            int c = 0;
            switch (d->fields[size_t(f)].type) {
            case FieldType::DateTime:
                c = compareValues(std::bit_cast<double>(va.slot), std::bit_cast<double>(vb.slot));
                break;
            case FieldType::Text:
            case FieldType::Memo:
                c = va.text.compare(vb.text, Qt::CaseInsensitive);
                if (c == 0)
                    c = va.text.compare(vb.text, Qt::CaseSensitive);
                break;
            default: c = compareValues(qint64(va.slot), qint64(vb.slot)); break;
            }
            if (c != 0)
                return c < 0;
        }
        return false;
    };
    d->notify([this](TMemTableListener &l) { l.tableAboutToReset(*this); });
    std::stable_sort(d->order.begin(), d->order.end(), compare);
    d->posDirty = true;
    d->invalidateIndexes();
    d->resetAndRefresh();
}

void TMemTable::copyFrom(const TMemTable &source)
{
    if (&source == this)
        return;
    if (m_state != State::Inactive)
        close();
    clearMasterSource();
    m_filtered = false;
    m_filterText.clear();
    d->filterParsed = false;
    d->indexes.clear();
    d->locateNames.clear();
    d->fields = source.d->fields;
    d->fieldByName = source.d->fieldByName;
    d->defaultSlot = source.d->defaultSlot;
    d->defaultText = source.d->defaultText;
    d->defaultFields = source.d->defaultFields;
    d->textFields = source.d->textFields;
    d->requiredFields = source.d->requiredFields;
    d->autoIncField = source.d->autoIncField;
    m_indexDefs = source.m_indexDefs;
    if (!source.isActive())
        return;
    createTable(); // resets and notifies; then the records arrive
    d->notify([this](TMemTableListener &l) { l.tableAboutToReset(*this); });
    const Impl &s = *source.d;
    const int idField = source.findField(QStringLiteral("ID"));
    for (quint32 rowId : s.order) {
        const quint64 *rec = s.rows[rowId].get();
        if (!rec || (s.filterActive() && !s.passesFilter(rec, idField)))
            continue;
        const size_t words = s.recordWords(rec);
        RecordData copy(new quint64[words]);
        std::copy(rec, rec + words, copy.get());
        d->order.push_back(quint32(d->rows.size()));
        d->rows.push_back(std::move(copy));
    }
    d->posDirty = true;
    d->nextAutoInc = s.nextAutoInc;
    d->resetAndRefresh();
}

// ---------------------------------------------------------------- listeners

void TMemTable::addListener(TMemTableListener *listener)
{
    if (listener && std::find(d->listeners.begin(), d->listeners.end(), listener) == d->listeners.end())
        d->listeners.push_back(listener);
}

void TMemTable::removeListener(TMemTableListener *listener)
{
    std::erase(d->listeners, listener);
}

} // namespace kasovka
