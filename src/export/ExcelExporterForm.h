#pragma once
// The exporter window without its widgets: its tables Table1..Table3 (the
// data sets templates name), the engine TemplateReport1 with its adapter
// WorkbookAdapter1, and the steps its buttons run. TfrmExcelExporter owns
// one for as long as it is shown; the tools drive one directly.

#include "core/MemTable.h"
#include "template/TemplateDataModule.h"
#include "template/TemplateReport.h"
#include "template/XlsWorkbookAdapter.h"

#include <QString>
#include <functional>

namespace kasovka {

class TExcelExporter;

class TExcelExporterForm : public TTemplateDataModule {
public:
    // busy shows (true) or clears (false) the hourglass cursor around a run.
    using BusyIndicator = std::function<void(bool)>;

    explicit TExcelExporterForm(TExcelExporter &exporter);
    ~TExcelExporterForm() override;

    // What the window shows on opening: the edit box and the check box.
    QString initialFileName() const;
    bool initialRunAssociatedProgram() const;

    // The OK button: true when the export succeeded and the window closes.
    // On false the window stays open; the reason has been shown.
    bool OnOk(const QString &editText, bool runAssociatedProgram, const BusyIndicator &busy = {});

    // The path the dialog returns: ".XLS" added when the name has no extension.
    static QString browseResult(const QString &chosenPath);
    // The file a typed name stands for: a bare name lies in the folder of
    // the last export (the documents folder the first time), a name
    // without an extension gets that of the type the window shows.
    static QString targetPath(const QString &editText, const QString &lastFileName);

    TMemTable &Table1() { return m_table1; }
    TMemTable &Table2() { return m_table2; }
    TMemTable &Table3() { return m_table3; }
    TTemplateReport &TemplateReport1() { return m_templateReport1; }

private:
    bool fitsRowLimit(TExportFormat format);
    bool checkTarget(const QString &editText);
    void copyTables();
    bool runEngine(const BusyIndicator &busy);
    void openResult();

    TExcelExporter &m_exporter;
    TMemTable m_table1{QStringLiteral("Table1")};
    TMemTable m_table2{QStringLiteral("Table2")};
    TMemTable m_table3{QStringLiteral("Table3")};
    TXlsWorkbookAdapter m_workbookAdapter1;
    TTemplateReport m_templateReport1;
    OutputPolicy m_outputPolicy; // what checkTarget allowed
};

// The engine error as the exporter shows it.
QString exportErrorText(const QString &engineText);

} // namespace kasovka
