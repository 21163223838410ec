#pragma once
// Where a template run finds its data sets and named values by name. Names
// compare ignoring letter case. A registered component that is no data set
// (addOtherComponent) resolves to none, exactly like an unknown name.

#include "template/XlsDataSet.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kasovka {

class TTemplateDataModule {
public:
    // A value getter may throw; the engine reports that as an unreadable value.
    using ValueGetter = std::function<QVariant()>;

    TTemplateDataModule();
    virtual ~TTemplateDataModule();

    // Registers a data set the module does not own.
    void addDataSet(const QString &name, IXlsDataSet *dataSet);
    // Registers a data set the module owns.
    void addOwnedDataSet(const QString &name, std::unique_ptr<IXlsDataSet> dataSet);
    void addOtherComponent(const QString &name);

    // Published values read by "#." tags. Arrays are QVariantList (nested
    // lists are indexed level by level), dates are QDate or QDateTime.
    void setValue(const QString &name, const QVariant &value);
    void setValueGetter(const QString &name, ValueGetter getter);

    virtual IXlsDataSet *findDataSet(const QString &name) const;
    virtual bool isPublished(const QString &name) const;
    // The named value; throws whatever its getter throws.
    virtual QVariant publishedValue(const QString &name) const;

private:
    struct Component {
        IXlsDataSet *dataSet = nullptr;
    };
    QHash<QString, Component> m_components;
    QHash<QString, ValueGetter> m_values;
    std::vector<std::unique_ptr<IXlsDataSet>> m_owned;
};

} // namespace kasovka
