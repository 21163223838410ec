#pragma once
// The template engine's view of data: a data set is a cursor over records,
// a field one named value of the current record. The engine reads data only
// through these two interfaces, so any table can feed a template.

#include <QString>
#include <QVariant>

namespace kasovka {

class IXlsDataSet;

class IXlsField {
public:
    virtual ~IXlsField() = default;
    // The current record's value: numbers (integer, floating-point, currency)
    // as numbers, texts as QString, Booleans as bool; date/time fields as
    // their day serial (double); an empty field as a null QVariant.
    virtual QVariant value() const = 0;
    virtual IXlsDataSet *dataSet() const = 0;
    virtual bool isDateTime() const = 0;
    virtual bool isMemo() const = 0;
    virtual double asFloat() const = 0;
    virtual QString displayName() const = 0;
};

class IXlsDataSet {
public:
    virtual ~IXlsDataSet() = default;
    virtual QString name() const = 0;
    virtual bool isActive() const = 0;
    virtual void open() = 0;
    virtual void close() = 0;
    // Records visible now: through a filter and a master/detail link.
    virtual int recordCount() = 0;
    virtual void first() = 0;
    virtual void next() = 0;
    virtual void last() = 0;
    virtual bool eof() const = 0;
    virtual int fieldCount() const = 0;
    virtual IXlsField *field(int index) = 0;
    // Letter case is ignored; nullptr when there is no such field.
    virtual IXlsField *fieldByName(const QString &name) = 0;
};

// Counts the way templates expect: first, last, first again, then the count.
int countRecords(IXlsDataSet &dataSet);

} // namespace kasovka
