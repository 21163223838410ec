#include "print/JournalRows.h"

#include "core/DisplayFormat.h"
#include "core/MemTable.h"
#include "report/ReportColumns.h"
#include "report/ReportResult.h"

namespace kasovka::print {

namespace {

constexpr int PopisColumn = 3;
constexpr int AmountColumns = LastAmountColumn - FirstAmountColumn + 1;

} // namespace

JournalFields::JournalFields(const TMemTable &denik, const TMemTable &skupiny)
{
    for (const char *name : {"Poradi", "Datum", "Doklad_VS", "Popis"})
        denikColumns.append(denik.fieldIndex(QString::fromLatin1(name)));
    for (int column = FirstAmountColumn; column <= LastAmountColumn; ++column) {
        denikColumns.append(denik.fieldIndex(amountFieldName(column)));
        skupinyAmounts.append(skupiny.fieldIndex(amountFieldName(column)));
    }
    poradi = denikColumns[0];
}

GroupRows::GroupRows(const ReportResult &result, const JournalFields &fields, int group)
    : m_denik(result.denik()), m_skupiny(result.skupiny()), m_fields(fields), m_group(group),
      m_records(result.group(group).rows)
{
}

QString GroupRows::text(int row, int column) const
{
    if (row < int(m_records.size()))
        return m_denik.recordDisplayText(m_records[size_t(row)], m_fields.denikColumns[column], m_locale);
    if (column < JournalKeyColumns)
        return column == PopisColumn ? QStringLiteral("Celkem:") : QString();
    return m_skupiny.recordDisplayText(m_group, m_fields.skupinyAmounts[column - JournalKeyColumns], m_locale);
}

std::optional<Currency> GroupRows::amount(int row, int column) const
{
    if (column < JournalKeyColumns)
        return std::nullopt;
    const bool sums = row >= int(m_records.size());
    const TMemTable &table = sums ? m_skupiny : m_denik;
    const int record = sums ? m_group : m_records[size_t(row)];
    const int field = sums ? m_fields.skupinyAmounts[column - JournalKeyColumns] : m_fields.denikColumns[column];
    if (table.recordIsNull(record, field))
        return std::nullopt;
    return table.recordValue(record, field).toCurrency();
}

bool GroupRows::bold(int row) const
{
    if (row >= int(m_records.size()))
        return true;
    const int record = m_records[size_t(row)];
    return !m_denik.recordIsNull(record, m_fields.poradi) && m_denik.recordValue(record, m_fields.poradi).toInt() == 0;
}

void GroupRows::addRows(int first, int end, RunningSums &sums) const
{
    sums.resize(AmountColumns);
    for (int row = first; row < end; ++row) {
        const int record = m_records[size_t(row)];
        for (int i = 0; i < AmountColumns; ++i) {
            const int field = m_fields.denikColumns[JournalKeyColumns + i];
            if (m_denik.recordIsNull(record, field))
                continue;
            sums[i] = sums[i].value_or(Currency()) + m_denik.recordValue(record, field).toCurrency();
        }
    }
}

std::pair<RunningSums, RunningSums> GroupRows::runningExtremes() const
{
    RunningSums sums, lowest(AmountColumns), highest(AmountColumns);
    for (int row = 0; row < int(m_records.size()); ++row) {
        addRows(row, row + 1, sums);
        for (int i = 0; i < AmountColumns; ++i) {
            if (!sums[i])
                continue;
            lowest[i] = std::min(lowest[i].value_or(*sums[i]), *sums[i]);
            highest[i] = std::max(highest[i].value_or(*sums[i]), *sums[i]);
        }
    }
    return {lowest, highest};
}

QString GroupRows::sumText(int column, Currency sum) const
{
    // As TMemTable shows a currency field's value.
    const TFieldDef &def = m_skupiny.fieldDef(m_fields.skupinyAmounts[column - JournalKeyColumns]);
    if (!def.displayFormat.isEmpty())
        return formatAmount(sum, def.displayFormat, m_locale);
    if (def.currencySymbol)
        return formatAmount(sum, QStringLiteral("# ##0.00"), m_locale) + u' ' + m_locale.currencySymbol();
    return formatAmount(sum, QString(), m_locale);
}

QString CarriedRows::text(int row, int column) const
{
    if (column < JournalKeyColumns)
        return column == PopisColumn ? m_caption : QString();
    const std::optional<Currency> sum = amount(row, column);
    return sum ? m_group.sumText(column, *sum) : QString();
}

std::optional<Currency> CarriedRows::amount(int row, int column) const
{
    if (column < JournalKeyColumns)
        return std::nullopt;
    return m_sums[row].value(column - JournalKeyColumns);
}

} // namespace kasovka::print
