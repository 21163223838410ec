#pragma once
// Reading a template: band names and tag cells. A parsed cell is one entry of
// the row cache that the fill pass evaluates for every repetition.

#include "template/XlsDataSet.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

namespace kasovka {

class TTemplateDataModule;

enum class TBandValueKind { Constant, Field, Property, FullDataSet };

struct TOneBandValue {
    int column = 0;      // counted from the main band's first column
    int format = -1;     // template cell's format index
    QString text;        // the cell's value as text
    TBandValueKind kind = TBandValueKind::Constant;
    QVariant value;      // constant: the template value unchanged
    IXlsField *field = nullptr;
    QString propertyName;
    QString indexList;   // text after the second "#.", integers separated by "#."
};

// The data set names of a band name, or nothing when the name is no band.
// "Sheet1!__Table1__Table2__" names Table1 and Table2; text after the last
// "__" is ignored.
std::optional<QStringList> bandDataSetNames(const QString &rangeName);

class TTagParser {
public:
    using DataSetLookup = std::function<IXlsDataSet *(const QString &)>;

    TTagParser(DataSetLookup lookup, const TTemplateDataModule *dataModule);

    // Throws kasovka::Error for a tag naming no data set, field or value.
    TOneBandValue parse(const QVariant &cellValue, int column, int format) const;
    // The data set name between the first two "##" of a dump tag.
    static QString dumpDataSetName(const QString &tag);

private:
    void parseField(TOneBandValue &cell) const;
    void parseProperty(TOneBandValue &cell) const;

    DataSetLookup m_lookup;
    const TTemplateDataModule *m_dataModule;
};

QString cellText(const QVariant &value);
QString missingDataSetText(const QString &name);

} // namespace kasovka
