#include "report/GroupTotals.h"

#include "core/MemTable.h"

namespace kasovka {

QList<GroupTotalCell> groupTableTotals(const TMemTable &skupiny, const QList<int> &fields, const QLocale &locale)
{
    QList<GroupTotalCell> line;
    for (int field : fields) {
        if (field < 0 || skupiny.fieldType(field) != FieldType::Currency) {
            line.append({std::nullopt, line.isEmpty() ? QStringLiteral("Celkem") : QString()});
            continue;
        }
        Currency sum;
        for (int record = 0; record < skupiny.totalRecordCount(); ++record)
            if (!skupiny.recordIsNull(record, field))
                sum += skupiny.recordValue(record, field).toCurrency();
        line.append({sum, skupiny.displayText(field, Variant(sum), locale)});
    }
    return line;
}

} // namespace kasovka
