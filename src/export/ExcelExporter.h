#pragma once
// One export of memory tables into a workbook through a template. The caller
// sets the template and the remembered target, runs Execute and reads back
// what the exporter window left in FileName, FileFormat and
// RunAssociatedProgram. The exporter reads the tables only: the template
// engine fills the workbook from copies of its own.

#include "report/ReportHeading.h"
#include "template/ExportFormat.h"
#include "template/ExportRowLimit.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <optional>

namespace kasovka {

class IExportWindows;
class TBaseApplication;
class TMemTable;

class TExcelExporter {
public:
    // The tables are not owned; any of them may be nullptr.
    TExcelExporter(TBaseApplication &app, const TMemTable *masterTable, const TMemTable *detailTable,
                   const TMemTable *secondDetailTable);

    TBaseApplication &Application() const { return m_app; }
    const TMemTable *MasterTable() const { return m_master; }
    const TMemTable *DetailTable() const { return m_detail; }
    const TMemTable *SecondDetailTable() const { return m_secondDetail; }
    // The one master record exported, by its ID; none: every record.
    const std::optional<qint64> &MasterRecordId() const { return m_masterRecordId; }
    void SetMasterRecordId(std::optional<qint64> id) { m_masterRecordId = id; }

    // Folder with a trailing delimiter.
    const QString &TemplateFolder() const { return m_templateFolder; }
    void SetTemplateFolder(const QString &folder) { m_templateFolder = folder; }
    const QString &TemplateName() const { return m_templateName; }
    void SetTemplateName(const QString &name) { m_templateName = name; }
    const QString &FileName() const { return m_fileName; }
    void SetFileName(const QString &path) { m_fileName = path; }
    bool RunAssociatedProgram() const { return m_runAssociatedProgram; }
    void SetRunAssociatedProgram(bool value) { m_runAssociatedProgram = value; }
    // The workbook type of the last target: the save dialog offers it first
    // while the edit box names no .xls/.xlsx file.
    TExportFormat FileFormat() const { return m_fileFormat; }
    void SetFileFormat(TExportFormat format) { m_fileFormat = format; }

    // The report's warnings, listed under "Upozornění" after the last group
    // by the templates that have room for them.
    const QStringList &Warnings() const { return m_warnings; }
    void SetWarnings(const QStringList &lines) { m_warnings = lines; }
    // The title block's texts, published to the template.
    const TReportHeading &Heading() const { return m_heading; }
    void SetHeading(const TReportHeading &heading) { m_heading = heading; }
    // What the written workbook says of itself in its properties.
    const DocumentInfo &Info() const { return m_info; }
    void SetInfo(const DocumentInfo &info) { m_info = info; }
    // The most rows a filled sheet may have: the limit of the format the
    // target is written in, or a lower one set for this exporter.
    int MaxRows(TExportFormat format) const
    {
        return m_maxRows ? std::min(*m_maxRows, maxExportRows(format)) : maxExportRows(format);
    }
    void SetMaxRows(int rows) { m_maxRows = rows; }

    // Shows the exporter window modally.
    void Execute(IExportWindows &windows);

private:
    TBaseApplication &m_app;
    const TMemTable *m_master;
    const TMemTable *m_detail;
    const TMemTable *m_secondDetail;
    std::optional<qint64> m_masterRecordId;
    QString m_templateFolder;
    QString m_templateName;
    QString m_fileName;
    bool m_runAssociatedProgram = true;
    TExportFormat m_fileFormat = TExportFormat::Xls;
    TReportHeading m_heading;
    DocumentInfo m_info;
    QStringList m_warnings;
    std::optional<int> m_maxRows;
};

} // namespace kasovka
