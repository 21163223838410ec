#include "report/TMonthlyOverview.h"

#include "app/TBaseApplication.h"
#include "core/DateTime.h"
#include "core/MemTable.h"
#include "report/ReportColumns.h"
#include "report/ReportResult.h"
#include "report/TPenDenReport.h"

#include <algorithm>
#include <bit>

namespace kasovka {

namespace {

// A period longer than this lists only the months that hold rows: ten years
// of empty lines per group would bury the few that matter and, with
// thousands of groups, cost memory for nothing.
constexpr int MaxListedMonths = 120;

// The month of a serial, or -1 for a zero or invalid date.
int monthOf(TDateTime serial)
{
    if (isZeroDate(serial) || !isValidSerial(serial))
        return -1;
    int year = 0, month = 0, day = 0;
    decodeDate(serial, year, month, day);
    return year > 0 ? monthIndex(year, month) : -1;
}

// The accounting year's last month, or -1 when the year settings gave no
// end (its day serial then is 1, in 1899).
int yearEndMonth(const TBaseApplication &app)
{
    const int month = monthOf(app.FiscalYearTo());
    return month >= monthIndex(1900, 1) ? month : -1;
}

MonthlyLine makeLine(MonthlyLine::Kind kind, int index, const auto &sums, const auto &running)
{
    MonthlyLine line;
    line.kind = kind;
    if (kind == MonthlyLine::Kind::Month) {
        line.year = index / 12;
        line.month = index % 12 + 1;
    }
    line.income = sums.income;
    line.expense = sums.expense;
    line.taxBase = sums.income - sums.expense;
    line.taxBaseCumulative = running.income - running.expense;
    line.cash = running.cash;
    line.bank = running.bank;
    line.rowCount = sums.rows;
    return line;
}

} // namespace

int monthIndex(int year, int month)
{
    return year * 12 + month - 1;
}

QString czechMonthName(int month)
{
    static const char *const names[] = {"leden", "únor",     "březen", "duben",
                                        "květen", "červen",  "červenec", "srpen",
                                        "září",  "říjen",    "listopad", "prosinec"};
    return month >= 1 && month <= 12 ? QString::fromUtf8(names[month - 1]) : QString();
}

QString monthlyLineCaption(const MonthlyLine &line)
{
    switch (line.kind) {
    case MonthlyLine::Kind::Carried:
        return QStringLiteral("Převedeno");
    case MonthlyLine::Kind::Undated:
        return QStringLiteral("Bez data");
    case MonthlyLine::Kind::Total:
        return QStringLiteral("Celkem");
    case MonthlyLine::Kind::Month:
        break;
    }
    return czechMonthName(line.month) + QLatin1Char(' ') + QString::number(line.year);
}

void TMonthlyOverview::Sums::add(const Sums &other)
{
    income += other.income;
    expense += other.expense;
    cash += other.cash;
    bank += other.bank;
    rows += other.rows;
}

TMonthlyOverview::TMonthlyOverview(const TPenDenReport &report) : m_result(report.Result())
{
    m_hasMonths = !report.Filter().PouzeZaverecnyPrehled;
    setMonthRange(report);
    readRows();
}

void TMonthlyOverview::setMonthRange(const TPenDenReport &report)
{
    const TReportFilter &filter = report.Filter();
    const int yearEnd = yearEndMonth(report.Application());
    if (filter.ZaObdobi) {
        m_firstMonth = monthOf(filter.ObdobiOD);
        m_lastMonth = monthOf(filter.ObdobiDO);
        m_closingMonth = m_lastMonth;
    } else if (yearEnd >= 0) {
        m_firstMonth = yearEnd - 11;
        m_lastMonth = yearEnd;
        m_closingMonth = yearEnd;
    }
    if (m_firstMonth < 0 || m_lastMonth - m_firstMonth >= MaxListedMonths) {
        m_firstMonth = 1;
        m_lastMonth = 0;
    }
}

void TMonthlyOverview::readRows()
{
    const TMemTable &denik = m_result.denik();
    // One raw read per row of the fields the pass needs: reading them one
    // by one, or every field of the row, would cost more than the rest.
    enum Read { Poradi, Datum, Cash5, Cash6, Bank7, Bank8, Income, Expense, ReadCount };
    const int col5 = denik.fieldIndex(QStringLiteral("Col5"));
    const auto column = [col5](int number) { return col5 + number - FirstAmountColumn; };
    const TMemTable::FieldReader reader(denik, {denik.fieldIndex(QStringLiteral("Poradi")),
                                                denik.fieldIndex(QStringLiteral("Datum")), column(5), column(6),
                                                column(7), column(8), column(IncomeTotalColumn),
                                                column(ExpenseTotalColumn)});
    TMemTable::RawValue values[ReadCount];
    const auto integer = [&](Read read) {
        const TMemTable::RawValue &value = values[read];
        return value.null ? 0 : qint64(value.slot);
    };
    const auto amount = [&](Read read) { return Currency::fromRaw(integer(read)); };
    // Denik is read in table order, where journal rows come in date order:
    // a date's month is worked out only when the date changes.
    quint64 lastDate = 0; // the bits of the zero date, whose month is -1
    int lastDateMonth = -1;
    m_groups.resize(size_t(m_result.groupCount()));
    int lastIndex = -1;
    GroupMonths *group = nullptr;
    const int rows = denik.totalRecordCount();
    for (int row = 0; row < rows; ++row) {
        const int index = m_result.groupOfRow(row);
        if (index < 0)
            continue;
        if (index != lastIndex) {
            lastIndex = index;
            group = &m_groups[size_t(index)];
        }
        reader.read(row, values);
        const Sums sums{amount(Income), amount(Expense), amount(Cash5) - amount(Cash6), amount(Bank7) - amount(Bank8),
                        0};
        // The carried row has number 0; only the closing-adjustments row has none.
        const bool adjustments = values[Poradi].null;
        if (!adjustments && integer(Poradi) == 0) {
            group->carried.add(sums);
            continue;
        }
        int month = m_closingMonth;
        if (!adjustments) {
            const quint64 date = values[Datum].null ? 0 : values[Datum].slot;
            if (date != lastDate) {
                lastDate = date;
                lastDateMonth = monthOf(std::bit_cast<TDateTime>(date));
            }
            month = lastDateMonth;
        }
        Sums *target = &group->undated;
        if (month < 0) {
            group->hasUndated = true;
        } else {
            if (month != group->lastMonth || group->lastPlace < 0) {
                auto &months = group->months;
                auto at = months.end();
                if (!months.empty() && months.back().first >= month)
                    at = std::lower_bound(months.begin(), months.end(), month,
                                          [](const auto &entry, int m) { return entry.first < m; });
                if (at == months.end() || at->first != month)
                    at = months.insert(at, {month, Sums()});
                group->lastPlace = int(at - months.begin());
                group->lastMonth = month;
            }
            target = &group->months[size_t(group->lastPlace)].second;
        }
        target->add(sums);
        target->rows += adjustments ? 0 : 1;
    }
}

std::vector<MonthlyLine> TMonthlyOverview::lines(qint64 groupId) const
{
    const int index = m_result.groupOfId(groupId);
    if (index < 0 || size_t(index) >= m_groups.size() || !m_hasMonths)
        return {};
    const GroupMonths &group = m_groups[size_t(index)];
    std::vector<MonthlyLine> result;
    Sums running;
    const auto append = [&](MonthlyLine::Kind kind, int index, const Sums &sums) {
        running.add(sums);
        result.push_back(makeLine(kind, index, sums, running));
    };
    append(MonthlyLine::Kind::Carried, 0, group.carried);
    if (group.hasUndated)
        append(MonthlyLine::Kind::Undated, 0, group.undated);

    // The listed range merged with the months that hold rows, in order.
    auto next = group.months.begin();
    for (; next != group.months.end() && next->first < m_firstMonth; ++next)
        append(MonthlyLine::Kind::Month, next->first, next->second);
    for (int month = m_firstMonth; month <= m_lastMonth; ++month) {
        if (next != group.months.end() && next->first == month)
            append(MonthlyLine::Kind::Month, month, (next++)->second);
        else
            append(MonthlyLine::Kind::Month, month, Sums());
    }
    for (; next != group.months.end(); ++next)
        append(MonthlyLine::Kind::Month, next->first, next->second);

    // The total is the group's final overview: the carried row included.
    result.push_back(makeLine(MonthlyLine::Kind::Total, 0, running, running));
    return result;
}

} // namespace kasovka
