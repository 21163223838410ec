// Writes pictures of the print windows over the demo agenda (the report view
// with "Tisk", the scope question, the preview on its first page and inside
// the journal, the group tables window) and the group table's PDF to the
// folder given as the first argument, for looking them over. Not a test: run
// it by hand under a display of the size to be seen.

#include "core/model/MemTableModel.h"
#include "print/ui/PrintFlow.h"
#include "print/ui/TfrmPrintPreview.h"
#include "print/ui/TfrmPrintScope.h"
#include "report/view/DemoReport.h"
#include "report/view/TfrmPenDenReport.h"
#include "workspace/TGroupTables.h"
#include "workspace/WorkspaceServices.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QSpinBox>
#include <QTest>

#include <cstdio>

using namespace kasovka;

namespace {

QString g_folder;

// The whole screen, so that the picture shows how much of it a window takes.
void shoot(QWidget *window, const char *name)
{
    window->show();
    (void)QTest::qWaitForWindowExposed(window);
    QTest::qWait(300);
    const QString path = g_folder + QLatin1Char('/') + QString::fromLatin1(name) + QStringLiteral(".png");
    const bool ok = QGuiApplication::primaryScreen()->grabWindow(0).save(path);
    std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
}

class ShootingPrintWindows : public IPrintWindows {
public:
    bool askScope(bool &allGroups, const QString &currentGroupName) override
    {
        TfrmPrintScope window(allGroups, currentGroupName);
        shoot(&window, "print-scope");
        allGroups = true;
        return true;
    }
    QString choosePdfFile(const TSaveFileRequest &) override { return g_folder + QStringLiteral("/skupiny.pdf"); }
    void showPreview(PrintSession &session) override
    {
        TfrmPrintPreview window(session);
        shoot(&window, "print-preview");
        window.edtPage->setValue(5);
        shoot(&window, "print-preview-page5");
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "Použití: print_screenshots SLOŽKA\n");
        return 2;
    }
    g_folder = QString::fromLocal8Bit(argv[1]);
    test::DemoContext demo(2000);
    std::unique_ptr<TPenDenReport> report = demo.report(sgkCentre, QStringLiteral("Střediska 2024"));
    ShootingPrintWindows windows;
    WorkspaceServices services(demo.app());
    services.SetPrintWindows(&windows);

    QWidget page;
    page.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    ShowIn(*report, &page, services);
    shoot(&page, "report-view");
    services.printReport(*report, true, true, &page, PrintOutput::Preview);

    TGroupTables groupTables(demo.app(), report->Skupiny());
    groupTables.SetPrintAction([](QWidget *, PrintOutput) {});
    TfrmGroupTables tables(groupTables);
    shoot(&tables, "group-tables");
    PrintGroupTable(demo.app(), *report, TfrmGroupTables::groupColumns(), PrintOutput::PdfFile, windows);
    return 0;
}
