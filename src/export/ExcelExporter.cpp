#include "export/ExcelExporter.h"

#include "export/ExportDialog.h"
#include "export/ExportWindows.h"

namespace kasovka {

TExcelExporter::TExcelExporter(TBaseApplication &app, const TMemTable *masterTable, const TMemTable *detailTable,
                               const TMemTable *secondDetailTable)
    : m_app(app), m_master(masterTable), m_detail(detailTable), m_secondDetail(secondDetailTable)
{
}

void TExcelExporter::Execute(IExportWindows &windows)
{
    windows.showExcelExporter(*this);
}

bool TExportDialog::Execute(IExportWindows &windows)
{
    return windows.showExportDialog(*this);
}

} // namespace kasovka
