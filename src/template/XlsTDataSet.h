#pragma once
// The template engine's data-set and field interfaces over a memory table.

#include "core/MemTable.h"
#include "template/XlsDataSet.h"

#include <memory>
#include <vector>

namespace kasovka {

class TXlsTDataSet;

class TXlsTField final : public IXlsField {
public:
    TXlsTField(TXlsTDataSet &owner, int field);
    // The field's type is read once per definition change; the engine asks
    // for it on every cell it writes.
    void setType(FieldType type) { m_type = type; }

    QVariant value() const override;
    IXlsDataSet *dataSet() const override;
    bool isDateTime() const override;
    bool isMemo() const override;
    double asFloat() const override;
    QString displayName() const override;

private:
    TXlsTDataSet &m_owner;
    int m_field;
    FieldType m_type = FieldType::Integer;
};

class TXlsTDataSet final : public IXlsDataSet {
public:
    // name: the component name templates use; the table is not owned.
    TXlsTDataSet(const QString &name, TMemTable &table);
    ~TXlsTDataSet() override;

    TMemTable &table() const { return m_table; }

    QString name() const override { return m_name; }
    bool isActive() const override;
    void open() override;
    void close() override;
    int recordCount() override;
    void first() override;
    void next() override;
    void last() override;
    bool eof() const override;
    int fieldCount() const override;
    IXlsField *field(int index) override;
    IXlsField *fieldByName(const QString &name) override;

private:
    void syncFields();

    QString m_name;
    TMemTable &m_table;
    std::vector<std::unique_ptr<TXlsTField>> m_fields;
};

} // namespace kasovka
