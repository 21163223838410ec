#include "FakeDataSet.h"

namespace kasovka::test {

namespace {
class FakeField : public IXlsField {
public:
    FakeField(FakeDataSet &owner, int index, QString name, FakeFieldKind kind)
        : m_owner(owner), m_index(index), m_name(std::move(name)), m_kind(kind) {}
    QVariant value() const override { return m_owner.current(m_index); }
    IXlsDataSet *dataSet() const override { return &m_owner; }
    bool isDateTime() const override { return m_kind == FakeFieldKind::DateTime; }
    bool isMemo() const override { return m_kind == FakeFieldKind::Memo; }
    double asFloat() const override { return value().toDouble(); }
    QString displayName() const override { return m_name; }

private:
    FakeDataSet &m_owner;
    int m_index;
    QString m_name;
    FakeFieldKind m_kind;
};
} // namespace

FakeDataSet::FakeDataSet(const QString &name, const QStringList &fields, std::vector<FakeFieldKind> kinds)
    : m_name(name)
{
    kinds.resize(static_cast<std::size_t>(fields.size()), FakeFieldKind::Plain);
    for (int i = 0; i < fields.size(); ++i)
        m_fields.push_back(std::make_unique<FakeField>(*this, i, fields[i], kinds[static_cast<std::size_t>(i)]));
}

FakeDataSet::~FakeDataSet() = default;

void FakeDataSet::linkTo(FakeDataSet &master, const QString &masterField, const QString &detailField)
{
    m_master = &master;
    for (int i = 0; i < master.fieldCount(); ++i)
        if (master.m_fields[static_cast<std::size_t>(i)]->displayName() == masterField)
            m_masterField = i;
    for (int i = 0; i < fieldCount(); ++i)
        if (m_fields[static_cast<std::size_t>(i)]->displayName() == detailField)
            m_detailField = i;
}

// A master move puts the detail back on its first record.
void FakeDataSet::follow() const
{
    if (!m_master)
        return;
    const QVariant key = m_master->current(m_masterField);
    if (key != m_masterKey) {
        m_masterKey = key;
        m_position = 0;
    }
}

std::vector<int> FakeDataSet::visible() const
{
    follow();
    std::vector<int> rows;
    const QVariant key = m_master ? m_master->current(m_masterField) : QVariant();
    for (int i = 0; i < static_cast<int>(m_records.size()); ++i)
        if (!m_master || (!key.isNull() && m_records[static_cast<std::size_t>(i)].value(m_detailField) == key))
            rows.push_back(i);
    return rows;
}

QVariant FakeDataSet::current(int field) const
{
    const std::vector<int> rows = visible();
    if (m_position >= static_cast<int>(rows.size()))
        return {};
    return m_records[static_cast<std::size_t>(rows[static_cast<std::size_t>(m_position)])].value(field);
}

int FakeDataSet::recordCount()
{
    return static_cast<int>(visible().size());
}

void FakeDataSet::first()
{
    follow();
    m_position = 0;
}

void FakeDataSet::next()
{
    const int count = static_cast<int>(visible().size());
    if (m_position < count)
        ++m_position;
}

void FakeDataSet::last()
{
    const int count = static_cast<int>(visible().size());
    m_position = count > 0 ? count - 1 : 0;
}

bool FakeDataSet::eof() const
{
    return m_position >= static_cast<int>(visible().size());
}

IXlsField *FakeDataSet::field(int index)
{
    return m_fields.at(static_cast<std::size_t>(index)).get();
}

IXlsField *FakeDataSet::fieldByName(const QString &name)
{
    for (const auto &field : m_fields)
        if (field->displayName().compare(name, Qt::CaseInsensitive) == 0)
            return field.get();
    return nullptr;
}

} // namespace kasovka::test
