#pragma once
// The exporter window ("Export"): the target file, the browse button with
// the save-file dialog, the check box that opens the result, and OK/Storno.
// The steps behind OK are TExcelExporterForm's; the window owns one while
// it is shown, so the tables the templates name live exactly as long.

#include "template/ExportFormat.h"

#include <QDialog>

#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace kasovka {

class TExcelExporter;
class TExcelExporterForm;
struct TSaveFileRequest;

class TfrmExcelExporter : public QDialog {
    Q_OBJECT
public:
    // Asks for a target path; empty when the user cancelled.
    using SaveFileChooser = std::function<QString(const TSaveFileRequest &, QWidget *)>;

    explicit TfrmExcelExporter(TExcelExporter &exporter, QWidget *parent = nullptr);
    ~TfrmExcelExporter() override;

    // The OK button: runs the export and closes the window when it succeeded.
    void Ok();
    // The browse button "Procházet".
    void Browse();
    // Replaces the save-file dialog (tests).
    void setSaveFileChooser(SaveFileChooser chooser) { m_chooser = std::move(chooser); }

    TExcelExporterForm &Form() const { return *m_form; }

    // The save-file dialog of "Procházet": the format the edit box names by
    // its extension is offered first, else the remembered one.
    static TSaveFileRequest browseRequest(const QString &editText, TExportFormat remembered = TExportFormat::Xls);

    QToolButton *btnOk;
    QToolButton *btnClose;
    QLineEdit *edtExportFileName;
    QPushButton *btnProchazet;
    QLabel *lblFileType;
    QCheckBox *chckRunAssociatedProgram;
    QLabel *lblHint;

    // Esc, "Storno" or the window's close button: while an export runs they
    // stop it as "Přerušit" does (no file is written) and the window stays.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    TExcelExporter &m_exporter;
    std::unique_ptr<TExcelExporterForm> m_form;
    SaveFileChooser m_chooser;
    bool m_shown = false;
    bool m_exporting = false;
};

} // namespace kasovka
