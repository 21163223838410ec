#pragma once
// The final overview of the cash journal for the current summation group:
// the column totals 05..35 and the eight derived totals of one Skupiny
// record, laid out in the framed sections of the overview. Read-only; it
// follows the table's cursor, so another group shows at once.

#include "core/DateConvention.h"
#include "core/MemTable.h"
#include "report/view/ReportViewServices.h"

#include <QHash>
#include <QLocale>
#include <QWidget>

class QLabel;

namespace kasovka {

class TBaseApplication;
struct OverviewSection;

class TSumPanel : public IFinalSummaryPanel {
public:
    // Neither is owned; the table must outlive the panel's window or
    // announce its end.
    TSumPanel(TBaseApplication &app, TMemTable &dataSet) : m_app(app), m_dataSet(dataSet) {}

    // Creates the borderless window inside the host widget, filling it.
    void ShowIn(QWidget *host) override;

    TBaseApplication &Application() const { return m_app; }
    TMemTable &DataSet() const { return m_dataSet; }

private:
    TBaseApplication &m_app;
    TMemTable &m_dataSet;
};

class TfrmSumPanel : public QWidget, private TMemTableListener {
    Q_OBJECT
public:
    explicit TfrmSumPanel(TSumPanel &panel, QWidget *parent = nullptr);
    ~TfrmSumPanel() override;

    // The figure shown for a field of Skupiny ("Col5", "ZakladDane", ...);
    // nullptr for a field the panel does not show.
    QLabel *figure(const QString &field) const { return m_figures.value(field); }
    // The labels the panel shows, by field.
    QString labelOf(const QString &field) const { return m_labels.value(field); }
    // Every field shown, in layout order.
    QStringList fields() const { return m_order; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *section(const OverviewSection &placed);
    void refresh();
    void tableReset(TMemTable &) override
    {
        m_fieldPositions.clear();
        refresh();
    }
    void recordsInserted(TMemTable &, int, int) override { refresh(); }
    void recordsRemoved(TMemTable &, int, int) override { refresh(); }
    void recordChanged(TMemTable &, int) override { refresh(); }
    void cursorMoved(TMemTable &, int) override { refresh(); }
    void tableDestroyed(TMemTable &) override;

    TMemTable *m_table = nullptr;
    TMemTable &m_source;
    QLocale m_locale = programLocale();
    QHash<QString, QLabel *> m_figures;
    QHash<QString, QString> m_labels;
    QHash<QString, int> m_fieldPositions;
    QStringList m_order;
};

} // namespace kasovka
