#include "report/json/MonthsJson.h"

#include "report/TMonthlyOverview.h"
#include "report/TPenDenReport.h"

namespace kasovka {

namespace {

void appendAmount(QByteArray &out, const char *name, Currency amount)
{
    out.append(",\"").append(name).append("\":\"").append(amount.toPlainText().toLatin1()).append('"');
}

} // namespace

QByteArray monthsJson(const TPenDenReport &report, qint64 groupId)
{
    QByteArray out("[");
    const TMonthlyOverview *overview = report.MonthlyOverview();
    const std::vector<MonthlyLine> lines = overview ? overview->lines(groupId) : std::vector<MonthlyLine>();
    bool first = true;
    for (const MonthlyLine &line : lines) {
        if (line.kind == MonthlyLine::Kind::Carried || line.kind == MonthlyLine::Kind::Total)
            continue;
        out.append(first ? "\n{\"month\":" : ",\n{\"month\":");
        first = false;
        if (line.kind == MonthlyLine::Kind::Undated)
            out.append("null");
        else
            out.append(QStringLiteral("\"%1-%2\"").arg(line.year, 4, 10, QLatin1Char('0'))
                           .arg(line.month, 2, 10, QLatin1Char('0')).toLatin1());
        appendAmount(out, "Col11", line.income);
        appendAmount(out, "Col12", line.expense);
        appendAmount(out, "ZakladDane", line.taxBase);
        appendAmount(out, "ZakladDaneCumulative", line.taxBaseCumulative);
        appendAmount(out, "HotovostCeninyCelkem", line.cash);
        appendAmount(out, "BankUctyCelkem", line.bank);
        out.append(",\"rowCount\":").append(QByteArray::number(line.rowCount)).append('}');
    }
    out.append(']');
    return out;
}

} // namespace kasovka
