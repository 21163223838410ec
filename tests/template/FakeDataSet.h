#pragma once
// A small data set for engine tests: records of QVariants, optionally the
// detail of another FakeDataSet (detail field equal to the master's field).

#include "template/XlsDataSet.h"

#include <QStringList>
#include <memory>
#include <vector>

namespace kasovka::test {

enum class FakeFieldKind { Plain, DateTime, Memo };

class FakeDataSet : public IXlsDataSet {
public:
    FakeDataSet(const QString &name, const QStringList &fields,
                std::vector<FakeFieldKind> kinds = {});
    ~FakeDataSet() override;

    void add(const QVariantList &record) { m_records.push_back(record); }
    void linkTo(FakeDataSet &master, const QString &masterField, const QString &detailField);
    void setActive(bool active) { m_active = active; }
    QVariant current(int field) const;

    QString name() const override { return m_name; }
    bool isActive() const override { return m_active; }
    void open() override { m_active = true; }
    void close() override { m_active = false; }
    int recordCount() override;
    void first() override;
    void next() override;
    void last() override;
    bool eof() const override;
    int fieldCount() const override { return static_cast<int>(m_fields.size()); }
    IXlsField *field(int index) override;
    IXlsField *fieldByName(const QString &name) override;

private:
    std::vector<int> visible() const;
    void follow() const;

    QString m_name;
    std::vector<std::unique_ptr<IXlsField>> m_fields;
    std::vector<QVariantList> m_records;
    bool m_active = true;
    FakeDataSet *m_master = nullptr;
    int m_masterField = -1;
    int m_detailField = -1;
    mutable int m_position = 0;
    mutable QVariant m_masterKey;
};

} // namespace kasovka::test
