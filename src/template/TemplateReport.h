#pragma once
// Fills a template workbook with the records of named data sets: bands
// (named ranges "__Name__") repeat their rows per record, "##Set##Field" and
// "#.Value" cells are replaced by data, and the markers "...delete row..."
// and "...page break..." in column A shape the printed result.
//
//     TTemplateReport report(&dataModule);
//     report.setAdapter(&adapter);
//     report.setTemplate(templatePath);
//     report.setFileName(target);
//     report.Run(); // throws kasovka::Error; the target exists only on success

#include "core/OutputFile.h"
#include "template/TemplateDataModule.h"
#include "template/WorkbookAdapter.h"

#include <QString>
#include <vector>

namespace kasovka {

class TTemplateReport {
public:
    // owner is the data module used while none is set explicitly.
    explicit TTemplateReport(TTemplateDataModule *owner = nullptr);

    QString Template() const { return m_template; }
    void setTemplate(const QString &path) { m_template = path; }
    QString FileName() const { return m_fileName; }
    void setFileName(const QString &path) { m_fileName = path; }
    // How the file is written; by default only as a new file.
    void setOutputPolicy(const OutputPolicy &policy) { m_outputPolicy = policy; }
    TWorkbookAdapter *Adapter() const { return m_adapter; }
    void setAdapter(TWorkbookAdapter *adapter) { m_adapter = adapter; }
    TTemplateDataModule *DataModule() const { return m_dataModule ? m_dataModule : m_owner; }
    void setDataModule(TTemplateDataModule *dataModule) { m_dataModule = dataModule; }

    void Run();
    // The data set of that name (letter case ignored), or nullptr.
    IXlsDataSet *GetDataSet(const QString &name) const;

private:
    IXlsDataSet *openedDataSet(const QString &name);
    void closeOpenedDataSets();

    TTemplateDataModule *m_owner;
    TTemplateDataModule *m_dataModule = nullptr;
    TWorkbookAdapter *m_adapter = nullptr;
    QString m_template;
    QString m_fileName;
    OutputPolicy m_outputPolicy;
    std::vector<IXlsDataSet *> m_openedByRun; // closed again when a run ends
};

} // namespace kasovka
