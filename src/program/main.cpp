// The program kasovka: started by the host with its launch parameters
// (groups ?NAME=value?NAME), it shows the start-up wizard and then the
// report workspace.

#include "app/ui/ApplicationFilters.h"
#include "app/ui/Artwork.h"
#include "app/ui/QtUiServices.h"
#include "core/DateConvention.h"
#include "program/TfrmMain.h"
#include "ui/QtTranslation.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    using namespace kasovka;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kasovka"));
    QApplication::setApplicationVersion(QStringLiteral("3.10"));
    QApplication::setDesktopFileName(QStringLiteral("kasovka"));
    QApplication::setWindowIcon(ApplicationIcon());
    // Czech conventions and Qt's own dialogs and menus in Czech, whatever the
    // system's locale; without Qt's translation files they stay English and
    // the program still runs.
    QLocale::setDefault(programLocale());
    installQtTranslation();

    // Every window of the program, including those of the workspace, gets
    // both behaviours from the application object.
    application.installEventFilter(new MinimizeConvention(&application));
    application.installEventFilter(new WheelToArrowKeys(&application));

    QtUiServices ui;
    TfrmMain frmMain(ui, QApplication::arguments().mid(1));
    if (frmMain.StartUp() != 0)
        return 1;
    frmMain.show();
    return QApplication::exec();
}
