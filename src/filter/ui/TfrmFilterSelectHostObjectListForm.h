#pragma once
// The host list of TFilterSelectHostObject: every object of the kind in a
// grid ("Zkratka", "Název") under a tool bar with "OK" and "Zavřít". OK (or
// a double click, or Enter) confirms the current object; it is enabled only
// when the list has objects.

#include <QDialog>

class QTableView;
class QToolButton;

namespace kasovka {

class MemTableModel;
class TFilterSelectHostObject;

class TfrmFilterSelectHostObjectListForm : public QDialog {
    Q_OBJECT
public:
    explicit TfrmFilterSelectHostObjectListForm(TFilterSelectHostObject &owner,
                                                QWidget *parent = nullptr);
    ~TfrmFilterSelectHostObjectListForm() override;

    // The code confirmed with OK; empty until then.
    const QString &SelectedCode() const { return m_selectedCode; }

    // "OK": only while enabled, remembers the current code and confirms.
    void Confirm();

    QToolButton *btnOK() const { return m_btnOK; }
    QToolButton *btnZavrit() const { return m_btnZavrit; }
    QTableView *grHostList() const { return m_grid; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    TFilterSelectHostObject &m_owner;
    MemTableModel *m_model;
    QTableView *m_grid;
    QToolButton *m_btnOK;
    QToolButton *m_btnZavrit;
    QString m_selectedCode;
};

} // namespace kasovka
