#pragma once
// The export flow's windows as the program shows them: modal Qt dialogs
// over the given parent.

#include "export/ExportWindows.h"

#include <QtGlobal>
#include <qnamespace.h>

class QWidget;

namespace kasovka {

class QtExportWindows : public IExportWindows {
public:
    explicit QtExportWindows(QWidget *parent = nullptr) : m_parent(parent) {}
    bool showExportDialog(TExportDialog &dialog) override;
    void showExcelExporter(TExcelExporter &exporter) override;

private:
    QWidget *m_parent;
};

// Flags of the two export windows: caption, system menu and minimize only.
Qt::WindowFlags exportWindowFlags();
// Puts a window of fixed size in the middle of its screen.
void centreOnScreen(QWidget *window);

} // namespace kasovka
