#include "template/TemplateReport.h"

#include "core/Error.h"
#include "template/TemplateTags.h"
#include "template/detail/SheetFiller.h"

namespace kasovka {

TTemplateReport::TTemplateReport(TTemplateDataModule *owner) : m_owner(owner) {}

IXlsDataSet *TTemplateReport::GetDataSet(const QString &name) const
{
    const TTemplateDataModule *dataModule = DataModule();
    return dataModule ? dataModule->findDataSet(name) : nullptr;
}

IXlsDataSet *TTemplateReport::openedDataSet(const QString &name)
{
    IXlsDataSet *dataSet = GetDataSet(name);
    if (dataSet && !dataSet->isActive()) {
        dataSet->open();
        m_openedByRun.push_back(dataSet);
    }
    return dataSet;
}

void TTemplateReport::closeOpenedDataSets()
{
    for (IXlsDataSet *dataSet : m_openedByRun)
        dataSet->close();
    m_openedByRun.clear();
}

namespace {
// The bands' names serve the engine only; in the filled workbook they would
// still describe the template's rows.
void removeBandNames(IXlsWorkbook &workbook)
{
    for (int i = workbook.namedRangeCount() - 1; i >= 0; --i)
        if (bandDataSetNames(workbook.namedRange(i).name))
            workbook.removeNamedRange(i);
}
} // namespace

void TTemplateReport::Run()
{
    if (!m_adapter)
        throw Error(QStringLiteral("There is no Adapter linked to the report"));
    struct CloseOnExit {
        TTemplateReport *report;
        ~CloseOnExit() { report->closeOpenedDataSets(); }
    } closeOnExit{this};

    std::unique_ptr<IXlsWorkbook> workbook = m_adapter->createWorkbook();
    workbook->open(m_template);
    const detail::TSheetFiller::Lookup lookup = [this](const QString &name) {
        return openedDataSet(name);
    };
    const TTagParser parser(lookup, DataModule());
    for (int sheet = 1; sheet <= workbook->sheetCount(); ++sheet) {
        if (!workbook->isWorksheet(sheet))
            continue;
        workbook->setActiveSheet(sheet);
        detail::TSheetFiller(*workbook, parser, DataModule(), lookup).run();
        workbook->fitWrappedRows();
        workbook->storeFormulaResults();
    }
    removeBandNames(*workbook);
    workbook->selectFirstSheet();
    workbook->save(m_fileName, m_outputPolicy);
}

} // namespace kasovka
