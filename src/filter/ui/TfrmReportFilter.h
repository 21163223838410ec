#pragma once
// The report filter dialog: the user sets up the filter of a new report.
// LoadControls shows the filter's values, UpdateControls keeps the dependent
// controls enabled or disabled as the user works, and ApplyToFilter checks
// the entries and, only when they pass, copies them into the filter. The
// filter itself is untouched until then.
//
// TReportFilterDialog is the window side of TReportFilter::Execute:
//     TReportFilterDialog dialog(parentWindow);
//     if (filter.Execute(dialog)) ... build the report

#include "filter/IReportFilterEditor.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QVBoxLayout;

namespace kasovka {

class TDateBox;
class TReportFilter;

class TfrmReportFilter : public QDialog {
    Q_OBJECT
public:
    explicit TfrmReportFilter(TReportFilter &filter, QWidget *parent = nullptr);
    ~TfrmReportFilter() override;

    // Fills the drop-downs and shows the filter's values; a zero date shows
    // as an empty box. A stored index beyond its drop-down shows its first
    // item.
    void LoadControls();
    // Enables the closing adjustments, the period controls and each filter
    // row's controls from the current entries, and colours the boxes.
    void UpdateControls();
    // Checks the period dates and the host version for address groups; on
    // success copies every control into the filter and returns true,
    // otherwise shows the message and returns false.
    bool ApplyToFilter();

    // The "..." buttons: the list editor of a filter row (centres,
    // activities, contracts) or the currency pick.
    void SelectCentres();
    void SelectActivities();
    void SelectContracts();
    void SelectCurrency();

    // Controls, in tab order.
    QComboBox *cbxVertikalniDeleni;
    QCheckBox *chckZaObdobi;
    TDateBox *edtObdobiOD;
    TDateBox *edtObdobiDO;
    QCheckBox *chckZapocitavatPredchObdobi;
    QCheckBox *chckZaverkoveUpravy;
    QComboBox *cbxZpusobSumace;
    QComboBox *cbxTridiDle;
    QCheckBox *chckPouzeZaverecnyPrehled;
    QCheckBox *chckFiltrStrediska;
    QLineEdit *edtFiltrStrediskaText;
    QToolButton *btnFiltrStrediskaSelect;
    QCheckBox *chckFiltrStrediskaNegace;
    QCheckBox *chckFiltrCinnosti;
    QLineEdit *edtFiltrCinnostiText;
    QToolButton *btnFiltrCinnostiSelect;
    QCheckBox *chckFiltrCinnostiNegace;
    QCheckBox *chckFiltrZakazky;
    QLineEdit *edtFiltrZakazkyText;
    QToolButton *btnFiltrZakazkySelect;
    QCheckBox *chckFiltrZakazkyNegace;
    QCheckBox *chckFiltrMena;
    QLineEdit *edtFiltrMenaText;
    QToolButton *btnFiltrMenaSelect;
    QCheckBox *chckFiltrMenaNegace;
    QLineEdit *edtNazevFiltru;

    // Tool bar.
    QToolButton *btnOK;
    QToolButton *btnZpet;

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct FilterRow {
        QCheckBox *on;
        QLineEdit *text;
        QToolButton *select;
        QCheckBox *negation;
    };

    QWidget *buildToolbar();
    bool confirmUnknownCodes();
    void buildGroupsSection(QVBoxLayout *body);
    void buildPeriodSection(QVBoxLayout *body);
    void buildLayoutSection(QVBoxLayout *body);
    void buildFilterSection(QVBoxLayout *body);
    void buildOtherSection(QVBoxLayout *body);
    FilterRow makeFilterRow(const QString &objectName, const QString &caption, bool editable);
    void setTabOrderOfControls();
    void connectUpdates();
    void selectInto(quint8 kind, bool editorMode, QLineEdit *box);
    void confirm();

    TReportFilter &m_filter;
    QList<FilterRow> m_rows;
    bool m_shownOnce = false;
};

// Edits a filter in TfrmReportFilter, modally.
class TReportFilterDialog : public IReportFilterEditor {
public:
    explicit TReportFilterDialog(QWidget *parent = nullptr) : m_parent(parent) {}
    bool edit(TReportFilter &filter) override;

private:
    QWidget *m_parent;
};

} // namespace kasovka
