#include "JsonDataModule.h"

#include "core/Error.h"
#include "template/XlsTDataSet.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <cmath>

namespace kasovka {

namespace {

struct TypeName {
    const char *name;
    FieldType type;
};
// Floating-point fields are kept as currency, which holds four decimals
// exactly; values that need more are refused rather than rounded.
const TypeName typeNames[] = {
    {"autoinc", FieldType::AutoInc}, {"integer", FieldType::Integer}, {"text", FieldType::Text},
    {"memo", FieldType::Memo},       {"date", FieldType::DateTime},   {"currency", FieldType::Currency},
    {"boolean", FieldType::Boolean}, {"float", FieldType::Currency},
};

QString jsonText(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', 17);
    if (value.isBool())
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}

QStringList textList(const QJsonValue &value)
{
    QStringList out;
    for (const QJsonValue &item : value.toArray())
        out << item.toString();
    return out;
}

std::optional<Variant> integerValue(const QJsonValue &value)
{
    const double number = value.isString() ? value.toString().trimmed().toDouble() : value.toDouble();
    if ((!value.isDouble() && !value.isString()) || std::trunc(number) != number
        || std::abs(number) > 2147483647.0)
        return std::nullopt;
    if (value.isString() && value.toString().trimmed().isEmpty())
        return std::nullopt;
    return Variant(static_cast<long long>(number));
}

std::optional<Variant> currencyValue(const QJsonValue &value)
{
    if (value.isString()) {
        const auto parsed = Currency::parse(value.toString().trimmed());
        return parsed ? std::optional<Variant>(Variant(*parsed)) : std::nullopt;
    }
    if (!value.isDouble() || !std::isfinite(value.toDouble()) || std::abs(value.toDouble()) > 9e14)
        return std::nullopt;
    const Currency amount = Currency::fromDouble(value.toDouble());
    if (std::abs(amount.toDouble() - value.toDouble()) > 1e-9 * std::max(1.0, std::abs(value.toDouble())))
        return std::nullopt;
    return Variant(amount);
}

std::optional<Variant> dateValue(const QJsonValue &value)
{
    if (value.isDouble() && isValidSerial(value.toDouble()))
        return Variant::fromDate(value.toDouble());
    if (value.isString())
        if (const auto serial = parseIsoDate(value.toString().trimmed()))
            return Variant::fromDate(*serial);
    return std::nullopt;
}

// The value of a JSON record entry for a field type, or nullopt when it does
// not fit; null is the empty value.
std::optional<Variant> fieldValue(FieldType type, const QJsonValue &value)
{
    if (value.isNull())
        return Variant();
    switch (type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
        return integerValue(value);
    case FieldType::Text:
    case FieldType::Memo:
        if (value.isArray() || value.isObject())
            return std::nullopt;
        return Variant(jsonText(value));
    case FieldType::DateTime:
        return dateValue(value);
    case FieldType::Currency:
        return currencyValue(value);
    case FieldType::Boolean:
        if (!value.isBool())
            return std::nullopt;
        return Variant(value.toBool());
    }
    return std::nullopt;
}

QVariant namedValue(const QJsonValue &value, const QString &name)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return {};
    case QJsonValue::Bool:
        return value.toBool();
    case QJsonValue::Double:
        return value.toDouble();
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Array: {
        QVariantList list;
        for (const QJsonValue &item : value.toArray())
            list << namedValue(item, name);
        return list;
    }
    default:
        break;
    }
    throw Error(QStringLiteral("Hodnota \"%1\" nesmí být objekt.").arg(name));
}

} // namespace

TJsonDataModule::TJsonDataModule(const QByteArray &json)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        throw Error(QStringLiteral("Data nejsou platný JSON (chyba na znaku %1).").arg(parseError.offset));
    const QJsonObject root = document.object();
    if (!document.isObject() || !root.value(QStringLiteral("datasets")).isArray())
        throw Error(QStringLiteral("Data musí být objekt s polem \"datasets\"."));
    const QJsonArray dataSets = root.value(QStringLiteral("datasets")).toArray();
    for (int i = 0; i < dataSets.size(); ++i) {
        if (!dataSets.at(i).isObject())
            throw Error(QStringLiteral("Datová sada č. %1 není objekt.").arg(i + 1));
        loadDataSet(dataSets.at(i).toObject(), i + 1);
    }
    linkDataSets(dataSets);
    loadValues(root.value(QStringLiteral("values")));
}

TJsonDataModule::~TJsonDataModule()
{
    for (auto it = m_tables.rbegin(); it != m_tables.rend(); ++it)
        (*it)->clearMasterSource();
}

TJsonDataModule TJsonDataModule::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Soubor s daty \"%1\" nelze otevřít.").arg(path));
    return TJsonDataModule(file.readAll());
}

TMemTable *TJsonDataModule::table(const QString &name) const
{
    for (const auto &table : m_tables)
        if (table->tableName().compare(name, Qt::CaseInsensitive) == 0)
            return table.get();
    return nullptr;
}

void TJsonDataModule::loadDataSet(const QJsonObject &object, int number)
{
    const QString name = object.value(QStringLiteral("name")).toString().trimmed();
    if (name.isEmpty())
        throw Error(QStringLiteral("Datová sada č. %1 nemá jméno.").arg(number));
    if (table(name))
        throw Error(QStringLiteral("Datová sada \"%1\" je uvedena dvakrát.").arg(name));
    auto table = std::make_unique<TMemTable>(name);
    for (const QJsonValue &fieldValue : object.value(QStringLiteral("fields")).toArray()) {
        const QJsonObject field = fieldValue.toObject();
        const QString fieldName = field.value(QStringLiteral("name")).toString().trimmed();
        const QString typeName = field.value(QStringLiteral("type")).toString();
        const auto type = std::find_if(std::begin(typeNames), std::end(typeNames),
                                       [&](const TypeName &t) { return typeName == QLatin1String(t.name); });
        if (fieldName.isEmpty())
            throw Error(QStringLiteral("Datová sada \"%1\" má pole bez jména.").arg(name));
        if (type == std::end(typeNames))
            throw Error(QStringLiteral("Pole \"%1\" datové sady \"%2\" má neznámý typ \"%3\".")
                            .arg(fieldName, name, typeName));
        const int size = field.value(QStringLiteral("size")).toInt(0);
        if (size < 0)
            throw Error(QStringLiteral("Pole \"%1\" datové sady \"%2\" má zápornou délku.").arg(fieldName, name));
        table->addField(fieldName, type->type, type->type == FieldType::Text ? size : 0);
    }
    table->createTable();
    loadRecords(*table, object.value(QStringLiteral("records")));
    table->first();
    addOwnedDataSet(name, std::make_unique<TXlsTDataSet>(name, *table));
    m_tables.push_back(std::move(table));
}

void TJsonDataModule::loadRecords(TMemTable &table, const QJsonValue &records)
{
    if (!records.isUndefined() && !records.isArray())
        throw Error(QStringLiteral("Záznamy datové sady \"%1\" nejsou pole.").arg(table.tableName()));
    int number = 0;
    for (const QJsonValue &recordValue : records.toArray()) {
        ++number;
        const QJsonArray record = recordValue.toArray();
        if (!recordValue.isArray() || record.size() != table.fieldCount())
            throw Error(QStringLiteral("Záznam č. %1 datové sady \"%2\" musí mít %3 hodnot.")
                            .arg(number).arg(table.tableName()).arg(table.fieldCount()));
        table.append();
        for (int field = 0; field < table.fieldCount(); ++field) {
            const std::optional<Variant> value = fieldValue(table.fieldType(field), record.at(field));
            if (!value)
                throw Error(QStringLiteral("Hodnotu %1 záznamu č. %2 nelze uložit do pole \"%3\" datové sady \"%4\".")
                                .arg(jsonText(record.at(field))).arg(number)
                                .arg(table.fieldName(field), table.tableName()));
            table.setValue(field, *value);
        }
        table.post();
    }
}

void TJsonDataModule::linkDataSets(const QJsonArray &dataSets)
{
    for (const QJsonValue &value : dataSets) {
        const QJsonObject object = value.toObject();
        const QString masterName = object.value(QStringLiteral("master")).toString();
        if (masterName.isEmpty())
            continue;
        TMemTable *detail = table(object.value(QStringLiteral("name")).toString().trimmed());
        TMemTable *master = table(masterName);
        if (!master || master == detail)
            throw Error(QStringLiteral("Hlavní datová sada \"%1\" datové sady \"%2\" neexistuje.")
                            .arg(masterName, detail->tableName()));
        const QStringList masterFields = textList(object.value(QStringLiteral("masterFields")));
        const QStringList detailFields = textList(object.value(QStringLiteral("detailFields")));
        if (masterFields.isEmpty() || masterFields.size() != detailFields.size())
            throw Error(QStringLiteral("Datová sada \"%1\" musí mít stejný počet polí v masterFields a detailFields.")
                            .arg(detail->tableName()));
        for (const QString &field : masterFields)
            master->fieldIndex(field); // throws "<table>: Field '<name>' not found"
        for (const QString &field : detailFields)
            detail->fieldIndex(field);
        for (TMemTable *up = master; up; up = up->masterSource())
            if (up == detail)
                throw Error(QStringLiteral("Datové sady \"%1\" a \"%2\" na sebe odkazují v kruhu.")
                                .arg(detail->tableName(), masterName));
        detail->setMasterSource(master, masterFields, detailFields);
    }
}

void TJsonDataModule::loadValues(const QJsonValue &values)
{
    if (values.isUndefined() || values.isNull())
        return;
    if (!values.isObject())
        throw Error(QStringLiteral("Položka \"values\" musí být objekt."));
    const QJsonObject object = values.toObject();
    for (auto it = object.begin(); it != object.end(); ++it)
        setValue(it.key(), namedValue(it.value(), it.key()));
}

} // namespace kasovka
