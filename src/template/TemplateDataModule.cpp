#include "template/TemplateDataModule.h"

namespace kasovka {

int countRecords(IXlsDataSet &dataSet)
{
    dataSet.first();
    dataSet.last();
    dataSet.first();
    return dataSet.recordCount();
}

TTemplateDataModule::TTemplateDataModule() = default;
TTemplateDataModule::~TTemplateDataModule() = default;

void TTemplateDataModule::addDataSet(const QString &name, IXlsDataSet *dataSet)
{
    m_components.insert(name.toLower(), Component{dataSet});
}

void TTemplateDataModule::addOwnedDataSet(const QString &name, std::unique_ptr<IXlsDataSet> dataSet)
{
    addDataSet(name, dataSet.get());
    m_owned.push_back(std::move(dataSet));
}

void TTemplateDataModule::addOtherComponent(const QString &name)
{
    m_components.insert(name.toLower(), Component{});
}

void TTemplateDataModule::setValue(const QString &name, const QVariant &value)
{
    m_values.insert(name.toLower(), [value] { return value; });
}

void TTemplateDataModule::setValueGetter(const QString &name, ValueGetter getter)
{
    m_values.insert(name.toLower(), std::move(getter));
}

IXlsDataSet *TTemplateDataModule::findDataSet(const QString &name) const
{
    const auto it = m_components.constFind(name.toLower());
    return it == m_components.cend() ? nullptr : it->dataSet;
}

bool TTemplateDataModule::isPublished(const QString &name) const
{
    return m_values.contains(name.toLower());
}

QVariant TTemplateDataModule::publishedValue(const QString &name) const
{
    const auto it = m_values.constFind(name.toLower());
    return it == m_values.cend() ? QVariant() : (*it)();
}

} // namespace kasovka
