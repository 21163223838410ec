#pragma once
// The monthly overview of the current summation group inside the report
// view: a table of the months with the carried row first and the total last,
// and beside it a chart of the same months. It follows the cursor of the
// report's Skupiny, as the final overview does, and redraws only while shown.

#include "core/DateConvention.h"
#include "core/MemTable.h"

#include <QIcon>
#include <QLocale>
#include <QWidget>

class QLabel;
class QTableWidget;

namespace kasovka {

class MonthlyChart;
class TPenDenReport;
struct MonthlyLine;

class TfrmMonthlyOverview : public QWidget, private TMemTableListener {
    Q_OBJECT
public:
    explicit TfrmMonthlyOverview(TPenDenReport &report, QWidget *parent = nullptr,
                                 const QLocale &locale = programLocale());
    ~TfrmMonthlyOverview() override;

    // The ID of the group shown; 0 before the panel was first shown.
    qint64 ShownGroupId() const { return m_shownGroup; }

    // As high as the whole table; the layout may squeeze it to a few lines.
    QSize sizeHint() const override;

    // Controls.
    QLabel *lblGroupName;
    QLabel *lblNoMonths; // instead of the table and chart, for a report of the final overview only
    QTableWidget *grMonths;
    MonthlyChart *chMonths;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildHeader();
    void buildTable();
    void fillTable(const std::vector<MonthlyLine> &lines);
    void refresh();
    void cursorMoved(TMemTable &, int) override { refresh(); }
    void tableReset(TMemTable &) override { refresh(); }
    void recordChanged(TMemTable &, int) override { refresh(); }
    void tableDestroyed(TMemTable &) override;

    TPenDenReport &m_report;
    TMemTable *m_skupiny;
    QLocale m_locale;
    qint64 m_shownGroup = 0;
    QWidget *m_header = nullptr;
    int m_tableHeight = 0;
};

// The picture of the monthly overview's toggle and header: bars and a line.
QIcon monthlyOverviewIcon();

} // namespace kasovka
