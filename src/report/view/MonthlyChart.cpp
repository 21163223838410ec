#include "report/view/MonthlyChart.h"

#include "core/DisplayFormat.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QCursor>
#include <QLineSeries>
#include <QPen>
#include <QResizeEvent>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace kasovka {

namespace {

const char *const ShortMonthNames[] = {"led", "úno", "bře", "dub", "kvě", "čvn",
                                       "čvc", "srp", "zář", "říj", "lis", "pro"};
// More months than this get short names, so that a year fits a narrow chart.
constexpr int LongNamesUpTo = 6;
constexpr int AmountTicks = 5;
// Below this height the legend and the axis titles leave the plot too little room.
constexpr int FullChartHeight = 200;

QString seriesName(MonthlyChart::Series series)
{
    switch (series) {
    case MonthlyChart::Income:
        return QStringLiteral("Příjmy");
    case MonthlyChart::Expense:
        return QStringLiteral("Výdaje");
    case MonthlyChart::Cumulative:
        break;
    }
    return QStringLiteral("Základ daně od začátku");
}

// 1, 2 or 5 times a power of ten, at least `rough`.
double niceStep(double rough)
{
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough)
            return factor * power;
    }
    return 10.0 * power;
}

} // namespace

MonthlyChart::MonthlyChart(QWidget *parent, const QLocale &locale)
    : QChartView(parent), m_locale(locale), m_income(new QBarSet(seriesName(Income))),
      m_expense(new QBarSet(seriesName(Expense))), m_bars(new QBarSeries), m_cumulative(new QLineSeries),
      m_months(new QBarCategoryAxis), m_amounts(new QCategoryAxis)
{
    setRenderHint(QPainter::Antialiasing);
    auto *chart = new QChart;
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    chart->legend()->setAlignment(Qt::AlignBottom);
    // A year's table leaves the chart little width on a small screen.
    QFont small = chart->legend()->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    chart->legend()->setFont(small);
    m_income->setColor(QColor(76, 154, 42));
    m_expense->setColor(QColor(192, 80, 77));
    for (QBarSet *set : {m_income, m_expense})
        set->setBorderColor(set->color().darker(120));
    m_bars->append(m_income);
    m_bars->append(m_expense);
    m_cumulative->setName(seriesName(Cumulative));
    m_cumulative->setPen(QPen(QColor(31, 58, 147), 2));
    m_cumulative->setPointsVisible(true);
    chart->addSeries(m_bars);
    chart->addSeries(m_cumulative);

    m_months->setTitleText(QStringLiteral("Měsíc"));
    m_amounts->setTitleText(QStringLiteral("Částka (Kč)"));
    m_amounts->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    chart->addAxis(m_months, Qt::AlignBottom);
    chart->addAxis(m_amounts, Qt::AlignLeft);
    for (QAbstractSeries *series : {static_cast<QAbstractSeries *>(m_bars),
                                    static_cast<QAbstractSeries *>(m_cumulative)}) {
        series->attachAxis(m_months);
        series->attachAxis(m_amounts);
    }
    setChart(chart);

    connect(m_bars, &QBarSeries::hovered, this, [this](bool on, int index, QBarSet *set) {
        if (on)
            showToolTip(set == m_income ? Income : Expense, index);
        else
            QToolTip::hideText();
    });
    connect(m_cumulative, &QLineSeries::hovered, this, [this](const QPointF &point, bool on) {
        if (on)
            showToolTip(Cumulative, qRound(point.x()));
        else
            QToolTip::hideText();
    });
}

void MonthlyChart::setLines(const std::vector<MonthlyLine> &lines)
{
    m_shown.clear();
    for (const MonthlyLine &line : lines) {
        if (line.kind == MonthlyLine::Kind::Month)
            m_shown.push_back(line);
    }
    const bool shortNames = m_shown.size() > size_t(LongNamesUpTo);
    const bool oneYear = m_shown.empty() || m_shown.front().year == m_shown.back().year;

    QStringList categories;
    QList<qreal> income, expense;
    QList<QPointF> cumulative;
    double low = 0, high = 0;
    for (const MonthlyLine &line : m_shown) {
        QString name = shortNames ? QString::fromUtf8(ShortMonthNames[line.month - 1]) : czechMonthName(line.month);
        if (!oneYear)
            name += QLatin1Char(' ') + QString::number(line.year);
        categories.append(name);
        income.append(line.income.toDouble());
        expense.append(line.expense.toDouble());
        cumulative.append(QPointF(double(categories.size() - 1), line.taxBaseCumulative.toDouble()));
        low = std::min({low, income.back(), expense.back(), cumulative.back().y()});
        high = std::max({high, income.back(), expense.back(), cumulative.back().y()});
    }
    m_months->clear();
    m_months->append(categories);
    m_income->remove(0, m_income->count());
    m_income->append(income);
    m_expense->remove(0, m_expense->count());
    m_expense->append(expense);
    m_cumulative->replace(cumulative);
    setAmountRange(low, high);
}

void MonthlyChart::setAmountRange(double low, double high)
{
    const double step = niceStep(std::max(high - low, 1.0) / AmountTicks);
    low = std::floor(low / step) * step;
    high = std::ceil(high / step) * step;
    for (const QString &label : m_amounts->categoriesLabels())
        m_amounts->remove(label);
    // A label sits on the end of its category; the first category is a
    // sliver below the lowest tick, so that the lowest tick has a label too.
    m_amounts->setStartValue(low - step / 1000);
    for (double tick = low; tick <= high + step / 2; tick += step)
        m_amounts->append(formatAmount(Currency::fromDouble(tick), DisplayFormatForDecimals(0), m_locale), tick);
    m_amounts->setRange(low, high);
}

void MonthlyChart::resizeEvent(QResizeEvent *event)
{
    const bool full = event->size().height() >= FullChartHeight;
    chart()->legend()->setVisible(full);
    m_months->setTitleVisible(full);
    m_amounts->setTitleVisible(full);
    QChartView::resizeEvent(event);
}

QStringList MonthlyChart::categories() const
{
    return m_months->categories();
}

QStringList MonthlyChart::amountLabels() const
{
    return m_amounts->categoriesLabels();
}

QString MonthlyChart::toolTipText(Series series, int index) const
{
    if (index < 0 || size_t(index) >= m_shown.size())
        return QString();
    const MonthlyLine &line = m_shown[size_t(index)];
    const Currency amount = series == Income ? line.income
        : series == Expense                  ? line.expense
                                             : line.taxBaseCumulative;
    return QStringLiteral("%1, %2: %3 Kč")
        .arg(seriesName(series), monthlyLineCaption(line), formatMonthlyAmount(amount, m_locale));
}

void MonthlyChart::showToolTip(Series series, int index)
{
    QToolTip::showText(QCursor::pos(), toolTipText(series, index), this);
}

} // namespace kasovka
