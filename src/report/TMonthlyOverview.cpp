#include "report/TMonthlyOverview.h"

#include "app/TBaseApplication.h"
#include "core/DateTime.h"
#include "core/MemTable.h"
#include "report/ReportColumns.h"
#include "report/TPenDenReport.h"

namespace kasovka {

namespace {

// A period longer than this lists only the months that hold rows: ten years
// of empty lines per group would bury the few that matter and, with
// thousands of groups, cost memory for nothing.
constexpr int MaxListedMonths = 120;
// Far above any report's group count; guards the ID vector.
constexpr qint64 MaxGroupId = 1 << 26;

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

TMonthlyOverview::TMonthlyOverview(TPenDenReport &report)
{
    Q_ASSERT(!report.Denik().masterSource());
    m_hasMonths = !report.Filter().PouzeZaverecnyPrehled;
    setMonthRange(report);
    const TMemTable &skupiny = report.Skupiny();
    const int id = skupiny.fieldIndex(QStringLiteral("ID"));
    m_groups.resize(size_t(skupiny.recordCount()));
    for (int row = 0; row < skupiny.recordCount(); ++row) {
        // IDs count from 1 in a report's fresh table, so a vector serves as
        // the index; it is looked up for nearly every row.
        const qint64 groupId = skupiny.valueAt(row, id).toInt();
        if (groupId <= 0 || groupId > MaxGroupId)
            continue;
        if (size_t(groupId) >= m_groupById.size())
            m_groupById.resize(size_t(groupId) + 1, -1);
        m_groupById[size_t(groupId)] = row;
    }
    readRows(report.Denik());
}

int TMonthlyOverview::groupIndex(qint64 groupId) const
{
    return groupId > 0 && size_t(groupId) < m_groupById.size() ? m_groupById[size_t(groupId)] : -1;
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

void TMonthlyOverview::readRows(TMemTable &denik)
{
    const int parent = denik.fieldIndex(QStringLiteral("Parent_ID"));
    const int poradi = denik.fieldIndex(QStringLiteral("Poradi"));
    const int datum = denik.fieldIndex(QStringLiteral("Datum"));
    const int col5 = denik.fieldIndex(QStringLiteral("Col5"));
    // The cursor's typed reads skip the value round trip of valueAt, which
    // would cost more than the rest of the pass. Journal rows come in date
    // order, so a date's month is worked out only when the date changes.
    const int before = denik.recNo();
    // Every row belongs to the one group of a report without groups.
    const bool oneGroup = m_groups.size() == 1;
    qint64 lastParent = -1;
    GroupMonths *group = oneGroup ? &m_groups.front() : nullptr;
    TDateTime lastDate = -1;
    int lastDateMonth = -1;
    constexpr int Columns5To12 = ExpenseTotalColumn - FirstAmountColumn + 1;
    Currency c[Columns5To12]; // c[0] is Col5
    for (denik.first(); !denik.eof(); denik.next()) {
        const qint64 parentId = oneGroup ? lastParent : denik.asInteger(parent);
        if (parentId != lastParent || !group) {
            const int index = groupIndex(parentId);
            if (index < 0)
                continue;
            lastParent = parentId;
            group = &m_groups[size_t(index)];
        }
        denik.asCurrencies(col5, Columns5To12, c);
        const Sums sums{c[IncomeTotalColumn - 5], c[ExpenseTotalColumn - 5], c[0] - c[1], c[2] - c[3], 0};
        // The carried row has number 0; only the closing-adjustments row has
        // none, which reads as 0 as well.
        const qint64 number = denik.asInteger(poradi);
        const bool adjustments = number == 0 && denik.isNull(poradi);
        if (number == 0 && !adjustments) {
            group->carried.add(sums);
            continue;
        }
        int month = m_closingMonth;
        if (!adjustments) {
            const TDateTime date = denik.asDate(datum);
            if (date != lastDate) {
                lastDate = date;
                lastDateMonth = monthOf(date);
            }
            month = lastDateMonth;
        }
        Sums *target = &group->undated;
        if (month < 0) {
            group->hasUndated = true;
        } else {
            if (month != group->lastMonth || !group->lastSums) {
                group->lastSums = &group->months[month];
                group->lastMonth = month;
            }
            target = group->lastSums;
        }
        target->add(sums);
        target->rows += adjustments ? 0 : 1;
    }
    denik.setRecNo(before);
}

std::vector<MonthlyLine> TMonthlyOverview::lines(qint64 groupId) const
{
    const int index = groupIndex(groupId);
    if (index < 0 || !m_hasMonths)
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
