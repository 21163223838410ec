#pragma once
// Turning a cached template cell into the value written for one record.

#include "template/TemplateTags.h"

#include <QVariant>
#include <optional>

namespace kasovka {
class TTemplateDataModule;
namespace detail {

// The value of a cell, or nothing for a field whose data set is at its end
// and for a full data set dump (whose cell is written by the dump).
std::optional<QVariant> evaluateCell(const TOneBandValue &cell, const TTemplateDataModule *dataModule);

// A published value, indexed by the "#." index list.
QVariant propertyValue(const TTemplateDataModule *dataModule, const QString &name,
                       const QString &indexList);

// Values as the workbook layer stores them: numbers as double, dates as day
// serials, empty texts as blank.
QVariant cellValue(const QVariant &value);

double dateSerial(const QDateTime &dateTime);
// The text form of a day serial: "9.12.2026" or "9.12.2026 14:05:00".
QString dateText(double serial);

} // namespace detail
} // namespace kasovka
