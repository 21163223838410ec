#include "template/detail/CellEvaluation.h"

#include "core/Error.h"
#include "template/TemplateDataModule.h"

#include <QDateTime>
#include <QTimeZone>
#include <cmath>

namespace kasovka::detail {

namespace {

const QDate serialOrigin(1899, 12, 30);

QVariant fieldValue(const IXlsField &field)
{
    if (field.isDateTime()) {
        const QVariant value = field.value();
        return value.isNull() ? QVariant() : QVariant(field.asFloat());
    }
    QVariant value = field.value();
    if (field.isMemo() && !value.isNull())
        return QVariant(value.toString().remove(QLatin1Char('\r')));
    return cellValue(value);
}

Error unreadable(const QString &name)
{
    return Error(QStringLiteral("Error trying to retrieve property \"%1\". Verify it is a variant").arg(name));
}

} // namespace

double dateSerial(const QDateTime &dateTime)
{
    const qint64 days = serialOrigin.daysTo(dateTime.date());
    const double time = dateTime.time().msecsSinceStartOfDay() / 86400000.0;
    return days >= 0 ? days + time : days - time;
}

QString dateText(double serial)
{
    const double whole = std::floor(serial);
    const QDate date = serialOrigin.addDays(static_cast<qint64>(whole));
    const int msecs = static_cast<int>(std::lround((serial - whole) * 86400000.0));
    const QString day = date.toString(QStringLiteral("d.M.yyyy"));
    if (msecs <= 0 || msecs >= 86400000)
        return day;
    return day + QLatin1Char(' ') + QTime::fromMSecsSinceStartOfDay(msecs).toString(QStringLiteral("h:mm:ss"));
}

QVariant cellValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
        return {};
    case QMetaType::Bool:
    case QMetaType::QByteArray:
        return value;
    case QMetaType::QString:
        return value.toString().isEmpty() ? QVariant() : value;
    case QMetaType::QDate:
        return value.isNull() ? QVariant() : QVariant(dateSerial(QDateTime(value.toDate(), QTime(0, 0))));
    case QMetaType::QDateTime:
        return value.isNull() ? QVariant() : QVariant(dateSerial(value.toDateTime()));
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return value.isNull() ? QVariant() : QVariant(value.toDouble());
    default:
        if (value.isNull())
            return {};
        if (value.canConvert<double>())
            return QVariant(value.toDouble());
        return QVariant(value.toString());
    }
}

QVariant propertyValue(const TTemplateDataModule *dataModule, const QString &name, const QString &indexList)
{
    QVariant value;
    try {
        value = dataModule->publishedValue(name);
    } catch (...) {
        throw unreadable(name);
    }
    if (!indexList.isEmpty() && value.typeId() == QMetaType::QVariantList) {
        int dimensions = 0;
        for (const QString &part : indexList.split(QStringLiteral("#."))) {
            bool ok = false;
            const int index = part.trimmed().toInt(&ok);
            if (!ok)
                throw unreadable(name);
            if (value.typeId() != QMetaType::QVariantList)
                throw Error(QStringLiteral("The property \"%1\" has only %2 dimensions").arg(name).arg(dimensions));
            const QVariantList items = value.toList();
            if (index < 0 || index >= items.size())
                throw Error(QStringLiteral("The index \"%1\" of the property \"%2\" is not in the range %3-%4")
                                .arg(index).arg(name).arg(0).arg(items.size() - 1));
            value = items.at(index);
            ++dimensions;
        }
    }
    // A whole array has no single cell value.
    if (value.typeId() == QMetaType::QVariantList)
        return {};
    return cellValue(value);
}

std::optional<QVariant> evaluateCell(const TOneBandValue &cell, const TTemplateDataModule *dataModule)
{
    switch (cell.kind) {
    case TBandValueKind::Constant:
        return cell.value;
    case TBandValueKind::Field:
        if (cell.field->dataSet()->eof())
            return std::nullopt;
        return fieldValue(*cell.field);
    case TBandValueKind::Property:
        return propertyValue(dataModule, cell.propertyName, cell.indexList);
    case TBandValueKind::FullDataSet:
        break;
    }
    return std::nullopt;
}

} // namespace kasovka::detail
