#include "template/XlsTDataSet.h"

#include "core/MemTable.h"

namespace kasovka {

TXlsTField::TXlsTField(TXlsTDataSet &owner, int field) : m_owner(owner), m_field(field) {}

QVariant TXlsTField::value() const
{
    const TMemTable &table = m_owner.table();
    if (!table.hasCurrent() || table.isNull(m_field))
        return {};
    switch (m_type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
        return QVariant(table.asInteger(m_field));
    case FieldType::Currency:
        return QVariant(table.asCurrency(m_field).toDouble());
    case FieldType::DateTime: {
        // Day 0 is the host's "no date": a cell formatted as a date would
        // show it as 30.12.1899.
        const double serial = table.asFloat(m_field);
        return serial == 0.0 ? QVariant() : QVariant(serial);
    }
    case FieldType::Boolean:
        return QVariant(table.asBool(m_field));
    case FieldType::Text:
    case FieldType::Memo:
        return QVariant(table.asText(m_field));
    }
    return {};
}

IXlsDataSet *TXlsTField::dataSet() const
{
    return &m_owner;
}

bool TXlsTField::isDateTime() const
{
    return m_type == FieldType::DateTime;
}

bool TXlsTField::isMemo() const
{
    return m_type == FieldType::Memo;
}

double TXlsTField::asFloat() const
{
    const TMemTable &table = m_owner.table();
    return table.hasCurrent() ? table.asFloat(m_field) : 0.0;
}

QString TXlsTField::displayName() const
{
    return m_owner.table().fieldName(m_field);
}

TXlsTDataSet::TXlsTDataSet(const QString &name, TMemTable &table) : m_name(name), m_table(table) {}

TXlsTDataSet::~TXlsTDataSet() = default;

bool TXlsTDataSet::isActive() const
{
    return m_table.isActive();
}

void TXlsTDataSet::open()
{
    if (!m_table.isActive())
        m_table.createTable();
}

void TXlsTDataSet::close()
{
    m_table.close();
}

int TXlsTDataSet::recordCount()
{
    return m_table.recordCount();
}

void TXlsTDataSet::first()
{
    syncFields();
    m_table.first();
}

void TXlsTDataSet::next()
{
    m_table.next();
}

void TXlsTDataSet::last()
{
    m_table.last();
}

bool TXlsTDataSet::eof() const
{
    return m_table.eof();
}

int TXlsTDataSet::fieldCount() const
{
    return m_table.fieldCount();
}

// The table's definitions may change between runs (the exporter's tables
// receive theirs by copy), never during one; so the wrappers follow them
// whenever a run starts reading: on a field lookup by name and on first().
void TXlsTDataSet::syncFields()
{
    const auto count = static_cast<std::size_t>(m_table.fieldCount());
    if (m_fields.size() > count)
        m_fields.resize(count);
    while (m_fields.size() < count)
        m_fields.push_back(std::make_unique<TXlsTField>(*this, static_cast<int>(m_fields.size())));
    for (std::size_t i = 0; i < count; ++i)
        m_fields[i]->setType(m_table.fieldType(static_cast<int>(i)));
}

IXlsField *TXlsTDataSet::field(int index)
{
    if (m_fields.size() != static_cast<std::size_t>(m_table.fieldCount()))
        syncFields();
    if (index < 0 || index >= static_cast<int>(m_fields.size()))
        return nullptr;
    return m_fields[static_cast<std::size_t>(index)].get();
}

IXlsField *TXlsTDataSet::fieldByName(const QString &name)
{
    const int index = m_table.findField(name);
    if (index < 0)
        return nullptr;
    syncFields();
    return field(index);
}

} // namespace kasovka
