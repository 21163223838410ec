#include "export/ui/QtExportWindows.h"

#include "export/ui/TfrmExcelExporter.h"
#include "export/ui/TfrmExportDialog.h"

#include "ui/WindowConventions.h"

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

Qt::WindowFlags exportWindowFlags()
{
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
           | Qt::WindowMinimizeButtonHint;
}

void centreOnScreen(QWidget *window)
{
    window->adjustSize();
    window->setFixedSize(window->sizeHint());
    placeOnScreen(window);
}

} // namespace kasovka
