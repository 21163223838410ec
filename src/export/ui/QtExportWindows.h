#pragma once
// The export flow's windows as the program shows them: modal Qt dialogs
// over the given parent.

#include "export/ExportWindows.h"

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

} // namespace kasovka
