#pragma once
// The print scope window ("Tisk"): the current summation group only, or all
// groups at once. Laid out like the export's scope window.

#include <QDialog>

class QLabel;
class QRadioButton;
class QToolButton;

namespace kasovka {

class TfrmPrintScope : public QDialog {
    Q_OBJECT
public:
    TfrmPrintScope(bool allGroups, const QString &currentGroupName, QWidget *parent = nullptr);

    bool allGroups() const { return m_allGroups; }
    // OK: keeps the choice and closes with Accepted.
    void Ok();

    QToolButton *btnOk;
    QToolButton *btnClose;
    QRadioButton *rbPrintOneGroup;
    QLabel *lblActualGroupName;
    QRadioButton *rbPrintAllGroups;

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool m_allGroups;
};

} // namespace kasovka
