#include "report/GroupTotals.h"

#include "core/DisplayFormat.h"
#include "core/MemTable.h"

namespace kasovka {

QList<std::optional<Currency>> groupTableTotals(const TMemTable &skupiny, const QList<int> &fields)
{
    QList<std::optional<Currency>> totals;
    for (int field : fields) {
        if (field < 0 || skupiny.fieldType(field) != FieldType::Currency) {
            totals.append(std::nullopt);
            continue;
        }
        Currency sum;
        for (int record = 0; record < skupiny.totalRecordCount(); ++record)
            if (!skupiny.recordIsNull(record, field))
                sum += skupiny.recordValue(record, field).toCurrency();
        totals.append(sum);
    }
    return totals;
}

QString groupTotalText(Currency total, const QLocale &locale)
{
    return formatAmount(total, QStringLiteral("# ##0.00"), locale);
}

} // namespace kasovka
