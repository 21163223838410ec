#include "report/TMonthlyOverview.h"

#include "app/TBaseApplication.h"
#include "core/DateTime.h"
#include "core/MemTable.h"
#include "report/TPenDenReport.h"

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

TMonthlyOverview::TMonthlyOverview(const TPenDenReport &report)
{
    Q_ASSERT(!report.Denik().masterSource());
    m_hasMonths = !report.Filter().PouzeZaverecnyPrehled;
    setMonthRange(report);
    const TMemTable &skupiny = report.Skupiny();
    const int id = skupiny.fieldIndex(QStringLiteral("ID"));
    const int idPrevedeno = skupiny.fieldIndex(QStringLiteral("IDPrevedeno"));
    m_groups.resize(size_t(skupiny.recordCount()));
    for (int row = 0; row < skupiny.recordCount(); ++row) {
        m_groupById.insert(skupiny.valueAt(row, id).toInt(), row);
        m_groups[size_t(row)].carriedRowId = skupiny.valueAt(row, idPrevedeno).toInt();
    }
    readRows(report);
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

void TMonthlyOverview::readRows(const TPenDenReport &report)
{
    const TMemTable &denik = report.Denik();
    const int id = denik.fieldIndex(QStringLiteral("ID"));
    const int parent = denik.fieldIndex(QStringLiteral("Parent_ID"));
    const int poradi = denik.fieldIndex(QStringLiteral("Poradi"));
    const int datum = denik.fieldIndex(QStringLiteral("Datum"));
    const int col5 = denik.fieldIndex(QStringLiteral("Col5"));
    const auto amount = [&](int row, int column) {
        return denik.valueAt(row, col5 + column - 5).toCurrency();
    };
    // Rows of one group follow one another, so the group is looked up only
    // when it changes; likewise the month within a group.
    qint64 lastParent = -1;
    GroupMonths *group = nullptr;
    int lastMonth = -2;
    Sums *monthSums = nullptr;
    for (int row = 0; row < denik.recordCount(); ++row) {
        const qint64 parentId = denik.valueAt(row, parent).toInt();
        if (parentId != lastParent || !group) {
            const auto found = m_groupById.constFind(parentId);
            if (found == m_groupById.constEnd())
                continue;
            lastParent = parentId;
            group = &m_groups[size_t(*found)];
            lastMonth = -2;
        }
        const Sums sums{amount(row, 11), amount(row, 12), amount(row, 5) - amount(row, 6),
                        amount(row, 7) - amount(row, 8), 0};
        if (denik.valueAt(row, id).toInt() == group->carriedRowId) {
            group->carried.add(sums);
            continue;
        }
        // Only the closing-adjustments row goes without a row number.
        const bool adjustments = denik.isNullAt(row, poradi);
        const int month = adjustments ? m_closingMonth : monthOf(denik.valueAt(row, datum).toDate());
        Sums *target = nullptr;
        if (month < 0) {
            group->hasUndated = true;
            target = &group->undated;
        } else {
            if (month != lastMonth || !monthSums) {
                monthSums = &group->months[month];
                lastMonth = month;
            }
            target = monthSums;
        }
        target->add(sums);
        target->rows += adjustments ? 0 : 1;
    }
}

std::vector<MonthlyLine> TMonthlyOverview::lines(qint64 groupId) const
{
    const auto found = m_groupById.constFind(groupId);
    if (found == m_groupById.constEnd() || !m_hasMonths)
        return {};
    const GroupMonths &group = m_groups[size_t(*found)];
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
