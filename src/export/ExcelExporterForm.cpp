#include "export/ExcelExporterForm.h"

#include "app/OutputTarget.h"
#include "app/TBaseApplication.h"
#include "core/DateConvention.h"
#include "core/Error.h"
#include "core/FileNames.h"
#include "core/OutputFile.h"
#include "export/ExcelExporter.h"
#include "report/ReportTables.h"
#include "template/ExportRowLimit.h"
#include "template/XlsTDataSet.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

namespace kasovka {

namespace {
// The link the report tables use between groups and their journal rows.
const QStringList masterFields{QStringLiteral("ID")};
const QStringList detailFields{groupLinkField()};

// The warnings as the data set of the templates' "Upozornění" band: one
// record a line (field Text); none leaves the band out.
void fillWarnings(TMemTable &table, const QStringList &lines)
{
    table.close();
    table.clearFields();
    const int text = table.addField(QStringLiteral("Text"), FieldType::Memo);
    table.createTable();
    for (const QString &line : lines) {
        table.append();
        table.setText(text, line);
        table.post();
    }
}

// Thrown by the engine's poll when the user clicked "Přerušit".
struct ExportCancelled {};

// The heading under the names the program's templates use for "#." tags.
void publishHeading(TTemplateDataModule &module, const TReportHeading &heading)
{
    module.setValue(QStringLiteral("NazevSestavy"), heading.reportName);
    module.setValue(QStringLiteral("Agenda"), heading.agenda);
    module.setValue(QStringLiteral("UcetniRok"), heading.year);
    module.setValue(QStringLiteral("Obdobi"), heading.period);
    module.setValue(QStringLiteral("Firma"), heading.firm.line());
    module.setValue(QStringLiteral("FirmaRadek"),
                    heading.firm.isEmpty() ? QStringLiteral("...delete row...") : QStringLiteral("Firma:"));
    // Without groups the captions that would name one are left out: their
    // rows are deleted, the group column's title stays empty.
    QString groups;
    if (heading.hasGroups)
        groups = heading.groupKind.isEmpty() ? QStringLiteral("Sumační skupiny")
                                             : QStringLiteral("Sumační skupiny (%1)").arg(heading.groupKind);
    module.setValue(QStringLiteral("SumacniSkupiny"), groups);
    const QString column = heading.groupColumn.isEmpty() ? QStringLiteral("Sumační skupina") : heading.groupColumn;
    module.setValue(QStringLiteral("SkupinaTitulek"), heading.hasGroups ? column : QString());
    module.setValue(QStringLiteral("SkupinaRadek"),
                    heading.hasGroups ? QString() : QStringLiteral("...delete row..."));
}
} // namespace

QString exportErrorText(const QString &engineText)
{
    return QStringLiteral("Při převodu sestavy došlo k následující chybě: \"%1\"").arg(engineText);
}

TExcelExporterForm::TExcelExporterForm(TExcelExporter &exporter)
    : m_exporter(exporter), m_templateReport1(this)
{
    addOwnedDataSet(QStringLiteral("Table1"), std::make_unique<TXlsTDataSet>(QStringLiteral("Table1"), m_table1));
    addOwnedDataSet(QStringLiteral("Table2"), std::make_unique<TXlsTDataSet>(QStringLiteral("Table2"), m_table2));
    addOwnedDataSet(QStringLiteral("Table3"), std::make_unique<TXlsTDataSet>(QStringLiteral("Table3"), m_table3));
    for (const char *name : {"dsTable1", "dsTable2", "dsTable3", "TemplateReport1", "WorkbookAdapter1"})
        addOtherComponent(QString::fromLatin1(name));
    m_templateReport1.setAdapter(&m_workbookAdapter1);
    publishHeading(*this, exporter.Heading());
    // The caption of the warnings after the last group; its row goes when
    // there are none.
    setValue(QStringLiteral("UpozorneniNadpis"), exporter.Warnings().isEmpty() ? QStringLiteral("...delete row...")
                                                                               : QStringLiteral("Upozornění"));
}

TExcelExporterForm::~TExcelExporterForm()
{
    // The detail links point into this object's own tables.
    m_table3.clearMasterSource();
    m_table2.clearMasterSource();
}

QString TExcelExporterForm::initialFileName() const
{
    return m_exporter.FileName();
}

bool TExcelExporterForm::initialRunAssociatedProgram() const
{
    return m_exporter.RunAssociatedProgram();
}

QString TExcelExporterForm::browseResult(const QString &chosenPath)
{
    const QString name = chosenPath.mid(folderPart(chosenPath).size());
    return name.contains(QLatin1Char('.')) ? chosenPath : chosenPath + QStringLiteral(".XLS");
}

QString TExcelExporterForm::targetPath(const QString &editText, const QString &lastFileName)
{
    QString path = editText.trimmed();
    if (path.isEmpty())
        return path;
    if (folderPart(path).isEmpty()) {
        QString folder = folderPart(lastFileName);
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QLatin1Char('/');
        path = folder + path;
    }
    if (!path.mid(folderPart(path).size()).contains(QLatin1Char('.')))
        path += QLatin1Char('.') + exportFormatName(exportFormatOf(path));
    return path;
}

bool TExcelExporterForm::OnOk(const QString &typedText, bool runAssociatedProgram, const BusyIndicator &busy)
{
    const QString editText = targetPath(typedText, m_exporter.FileName());
    // The row count needs the copies; it comes before the target checks so
    // that a refused export never touches an existing file.
    copyTables();
    if (!fitsRowLimit(exportFormatOf(editText)))
        return false;
    if (!checkTarget(editText))
        return false;
    m_exporter.SetRunAssociatedProgram(runAssociatedProgram);
    if (!runEngine(busy))
        return false;
    openResult();
    return true;
}

bool TExcelExporterForm::fitsRowLimit(TExportFormat format)
{
    qint64 rows = 0;
    std::unique_ptr<IXlsWorkbook> workbook;
    try {
        workbook = m_workbookAdapter1.createWorkbook();
        workbook->open(m_exporter.TemplateFolder() + m_exporter.TemplateName());
    } catch (const Error &) {
        return true; // the engine's run reports a template it cannot read, in its own words
    } catch (const std::exception &) {
        return true;
    }
    try {
        rows = filledRowCount(*workbook, [this](const QString &name) { return findDataSet(name); });
    } catch (const Error &error) {
        // Damaged bands: the engine would refuse them the same way.
        m_exporter.Application().ShowMessageDialog(exportErrorText(error.text()), MessageKind::Error);
        return false;
    } catch (const std::exception &) {
        return true;
    }
    const int limit = m_exporter.MaxRows(format);
    if (rows <= limit)
        return true;
    QString text = rowLimitText(limit);
    if (format == TExportFormat::Xls)
        text += QStringLiteral("\n\nDo sešitu Office Open XML (.xlsx) se vejde až %1 řádků: zadejte jméno "
                               "souboru s příponou .xlsx.")
                    .arg(programLocale().toString(maxExportRows(TExportFormat::Xlsx)));
    m_exporter.Application().ShowMessageDialog(text, MessageKind::Information);
    return false;
}

// Steps 1 to 4: the name, its folder, and an existing file.
bool TExcelExporterForm::checkTarget(const QString &editText)
{
    TBaseApplication &app = m_exporter.Application();
    if (editText.trimmed().isEmpty()) {
        app.ShowMessageDialog(QStringLiteral("Zadejte jméno souboru."), MessageKind::Information);
        return false;
    }
    const QString folder = folderPart(editText);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        app.ShowMessageDialog(QStringLiteral("Zadaná cesta k souboru není platná."), MessageKind::Warning);
        return false;
    }
    m_exporter.SetFileName(editText);
    // Writing over a template would destroy it for every later export; the
    // old file stays until the new one is complete (runEngine).
    m_exporter.SetFileFormat(exportFormatOf(editText));
    m_outputPolicy = OutputPolicy{.templateFolders = {m_exporter.TemplateFolder()}};
    return ConfirmOutputTarget(app, editText, m_outputPolicy);
}

void TExcelExporterForm::copyTables()
{
    m_table3.clearMasterSource();
    m_table2.clearMasterSource();
    if (const TMemTable *master = m_exporter.MasterTable()) {
        m_table1.copyFrom(*master);
        // One record: the copy is filtered, so the engine and the row count
        // see that record alone while the caller's table stays as it is.
        if (const std::optional<qint64> id = m_exporter.MasterRecordId()) {
            m_table1.setFilterText(QStringLiteral("ID = %1").arg(*id));
            m_table1.setFiltered(true);
        }
    }
    if (const TMemTable *detail = m_exporter.DetailTable())
        m_table2.copyFrom(*detail);
    if (const TMemTable *second = m_exporter.SecondDetailTable())
        m_table3.copyFrom(*second);
    else
        fillWarnings(m_table3, m_exporter.Warnings());
    if (m_exporter.DetailTable())
        m_table2.setMasterSource(&m_table1, masterFields, detailFields);
    if (m_exporter.SecondDetailTable())
        m_table3.setMasterSource(&m_table2, masterFields, detailFields);
}

// The workbook is written beside the target and replaces it only when it
// is complete: a failed run keeps the old file.
bool TExcelExporterForm::runEngine(const BusyIndicator &busy)
{
    m_templateReport1.setTemplate(m_exporter.TemplateFolder() + m_exporter.TemplateName());
    m_templateReport1.setFileName(m_exporter.FileName());
    m_templateReport1.setOutputPolicy(m_outputPolicy);
    m_workbookAdapter1.setFormat(exportFormatOf(m_exporter.FileName()));
    m_workbookAdapter1.setInfo(m_exporter.Info());
    // A long export shows progress and can be stopped; the target is only
    // ever replaced whole, so a stopped one leaves nothing behind.
    TBaseApplication &app = m_exporter.Application();
    app.SetCancelRequested(false);
    m_workbookAdapter1.setPoll([&app] {
        app.RefreshProgress();
        if (app.CancelRequested())
            throw ExportCancelled{};
    });
    if (busy)
        busy(true);
    app.ShowProgress(QStringLiteral("Exportuji sestavu, prosím čekejte"), true, true);
    std::optional<QString> failure;
    bool cancelled = false;
    try {
        m_templateReport1.Run();
    } catch (const ExportCancelled &) {
        cancelled = true;
    } catch (const OutputError &error) {
        failure = error.text();
    } catch (const Error &error) {
        failure = exportErrorText(error.text());
    } catch (const std::exception &error) {
        failure = exportErrorText(QString::fromUtf8(error.what()));
    }
    app.HideProgress();
    m_workbookAdapter1.setPoll({});
    if (busy)
        busy(false);
    if (cancelled)
        return false; // stopped by the user: the window stays open, nothing to report
    if (!failure)
        return true;
    m_exporter.Application().ShowMessageDialog(*failure, MessageKind::Error);
    return false;
}

void TExcelExporterForm::openResult()
{
    TBaseApplication &app = m_exporter.Application();
    if (!m_exporter.RunAssociatedProgram()) {
        app.ShowSavedNotice(m_exporter.FileName());
        return;
    }
    if (app.OpenWithAssociatedProgram(m_exporter.FileName()) == ShellNoAssociation)
        app.ShowMessageDialog(
            QStringLiteral("Se souborem \"%1\" není asociován žádný program - pravděpodobně nemáte "
                           "nainstalovaný MS Excel (či jiný vhodný prohlížeč).")
                .arg(m_exporter.FileName()),
            MessageKind::Information);
}

} // namespace kasovka
