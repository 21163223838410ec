#pragma once
// All summation groups of one report at once, one line per group with every
// column sum and total, and the export of that table. The grid works on the
// report's own Skupiny, so its current line is the report's current group.

#include "report/view/ReportViewServices.h"
#include "report/ReportHeading.h"

#include <QDialog>

#include <functional>

class QTableView;
class QTableWidget;
class QToolButton;

namespace kasovka {

class IExportWindows;
class MemTableModel;
class TBaseApplication;
class TMemTable;
struct MemTableColumn;

class TGroupTables {
public:
    // Neither is owned.
    TGroupTables(TBaseApplication &app, TMemTable &skupiny) : m_app(app), m_skupiny(skupiny) {}

    // Shows the window modally and releases it when it closes.
    void Execute(QWidget *parent = nullptr);

    // The export windows used by "Exportovat do Excelu"; none: the program's
    // Qt windows over the group tables window.
    void SetExportWindows(IExportWindows *windows) { m_exportWindows = windows; }
    IExportWindows *ExportWindows() const { return m_exportWindows; }
    // What "Tisk" does, given the window and the output; without one the
    // window has no "Tisk".
    using PrintAction = std::function<void(QWidget *window, PrintOutput output)>;
    void SetPrintAction(PrintAction action) { m_printAction = std::move(action); }
    const PrintAction &GetPrintAction() const { return m_printAction; }

    TBaseApplication &Application() const { return m_app; }
    TMemTable &Skupiny() const { return m_skupiny; }
    // The report's title block in the exported table.
    const TReportHeading &Heading() const { return m_heading; }
    void SetHeading(const TReportHeading &heading) { m_heading = heading; }

private:
    TBaseApplication &m_app;
    TMemTable &m_skupiny;
    IExportWindows *m_exportWindows = nullptr;
    PrintAction m_printAction;
    TReportHeading m_heading;
};

class TfrmGroupTables : public QDialog {
    Q_OBJECT
public:
    explicit TfrmGroupTables(TGroupTables &groupTables, QWidget *parent = nullptr);

    // "Exportovat do Excelu": the group table export.
    void ExportGroupTable();

    QToolButton *btnClose;
    QToolButton *btnExport;
    QToolButton *btnPrint = nullptr; // only with a print action
    QTableView *grListForm;
    MemTableModel *dsListForm;
    // The "Celkem" line under the grid, its columns moving with the grid's.
    QTableWidget *grTotals;

    // The grid's 41 columns over Skupiny.
    static QList<MemTableColumn> groupColumns();

private:
    void buildTotals(const QList<MemTableColumn> &columns);

    TGroupTables &m_groupTables;
};

} // namespace kasovka
