#include "template/TemplateTags.h"

#include "core/Error.h"
#include "template/TemplateDataModule.h"

namespace kasovka {

namespace {
const QString fieldTag = QStringLiteral("##");
const QString propertyTag = QStringLiteral("#.");
const QString bandMark = QStringLiteral("__");
} // namespace

QString missingDataSetText(const QString &name)
{
    return QStringLiteral("Can´t find the dataset %1").arg(name);
}

QString cellText(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

std::optional<QStringList> bandDataSetNames(const QString &rangeName)
{
    QString rest = rangeName.mid(rangeName.indexOf(QLatin1Char('!')) + 1);
    if (!rest.startsWith(bandMark))
        return std::nullopt;
    rest.remove(0, bandMark.size());
    QStringList names;
    for (qsizetype at = rest.indexOf(bandMark); at >= 0; at = rest.indexOf(bandMark)) {
        names << rest.left(at);
        rest.remove(0, at + bandMark.size());
    }
    return names;
}

TTagParser::TTagParser(DataSetLookup lookup, const TTemplateDataModule *dataModule)
    : m_lookup(std::move(lookup)), m_dataModule(dataModule)
{
}

TOneBandValue TTagParser::parse(const QVariant &cellValue, int column, int format) const
{
    TOneBandValue cell;
    cell.column = column;
    cell.format = format;
    cell.text = cellText(cellValue);
    cell.value = cellValue;
    if (cell.text.startsWith(fieldTag))
        parseField(cell);
    else if (cell.text.startsWith(propertyTag))
        parseProperty(cell);
    return cell;
}

QString TTagParser::dumpDataSetName(const QString &tag)
{
    const QString rest = tag.mid(fieldTag.size());
    const qsizetype end = rest.indexOf(fieldTag);
    return end < 0 ? QString() : rest.left(end);
}

void TTagParser::parseField(TOneBandValue &cell) const
{
    const QString name = dumpDataSetName(cell.text);
    IXlsDataSet *dataSet = name.isEmpty() ? nullptr : m_lookup(name);
    if (!dataSet)
        throw Error(missingDataSetText(name));
    QString fieldName = cell.text.mid(2 * fieldTag.size() + name.size());
    const qsizetype end = fieldName.indexOf(fieldTag);
    if (end >= 0)
        fieldName.truncate(end);
    if (fieldName == QLatin1String("*")) {
        cell.kind = TBandValueKind::FullDataSet;
        return;
    }
    cell.field = dataSet->fieldByName(fieldName);
    if (!cell.field)
        throw Error(QStringLiteral("%1: Field '%2' not found").arg(dataSet->name(), fieldName));
    cell.kind = TBandValueKind::Field;
}

void TTagParser::parseProperty(TOneBandValue &cell) const
{
    const QString rest = cell.text.mid(propertyTag.size());
    const qsizetype end = rest.indexOf(propertyTag);
    cell.propertyName = end < 0 ? rest : rest.left(end);
    cell.indexList = end < 0 ? QString() : rest.mid(end + propertyTag.size());
    if (!m_dataModule || !m_dataModule->isPublished(cell.propertyName))
        throw Error(QStringLiteral("Property \"%1\" has not been defined or is not published")
                        .arg(cell.propertyName));
    cell.kind = TBandValueKind::Property;
}

} // namespace kasovka
