#pragma once
// The chart of a group's monthly overview: bars of income and expense per
// month and a line of the tax base accumulated from the carried row. The
// amount axis and the tooltips use the program's amount format.

#include "core/DateConvention.h"
#include "report/MonthlyColumns.h"

#include <QChartView>
#include <QLocale>

class QBarCategoryAxis;
class QBarSeries;
class QBarSet;
class QCategoryAxis;
class QLineSeries;

namespace kasovka {

class MonthlyChart : public QChartView {
    Q_OBJECT
public:
    enum Series { Income, Expense, Cumulative };

    explicit MonthlyChart(QWidget *parent = nullptr, const QLocale &locale = programLocale());

    // Shows the month lines of a group's overview; the rows without a date
    // have their line in the table only.
    void setLines(const std::vector<MonthlyLine> &lines);

    // The month axis, left to right.
    QStringList categories() const;
    // The amount axis' labels, bottom to top.
    QStringList amountLabels() const;
    // What hovering a bar or a point of the line shows.
    QString toolTipText(Series series, int index) const;

protected:
    // A short chart drops its legend and axis titles, so that the bars and
    // the labels keep the room.
    void resizeEvent(QResizeEvent *event) override;

private:
    void setAmountRange(double low, double high);
    void showToolTip(Series series, int index);

    QLocale m_locale;
    std::vector<MonthlyLine> m_shown;
    QBarSet *m_income;
    QBarSet *m_expense;
    QBarSeries *m_bars;
    QLineSeries *m_cumulative;
    QBarCategoryAxis *m_months;
    QCategoryAxis *m_amounts;
};

} // namespace kasovka
