#include "export/ui/QtExportWindows.h"

#include "export/ui/TfrmExcelExporter.h"
#include "export/ui/TfrmExportDialog.h"

#include <QWidget>

namespace kasovka {

bool QtExportWindows::showExportDialog(TExportDialog &dialog)
{
    TfrmExportDialog window(dialog, m_parent);
    return window.exec() == QDialog::Accepted;
}

void QtExportWindows::showExcelExporter(TExcelExporter &exporter)
{
    TfrmExcelExporter window(exporter, m_parent);
    window.exec();
}

} // namespace kasovka
