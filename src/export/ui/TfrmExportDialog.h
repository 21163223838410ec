#pragma once
// The export scope window ("Export"): the current summation group only, or
// all groups at once.

#include <QDialog>

class QLabel;
class QRadioButton;
class QToolButton;

namespace kasovka {

class TExportDialog;

class TfrmExportDialog : public QDialog {
    Q_OBJECT
public:
    explicit TfrmExportDialog(TExportDialog &dialog, QWidget *parent = nullptr);

    // OK: stores the choice in the dialog object and closes with Accepted.
    void Ok();

    QToolButton *btnOk;
    QToolButton *btnClose;
    QRadioButton *rbExportOneGroup;
    QLabel *lblActualGroupName;
    QRadioButton *rbExportAllGroups;

protected:
    void showEvent(QShowEvent *event) override;

private:
    TExportDialog &m_dialog;
};

} // namespace kasovka
