// Walks through every window of the program as a user would, on a demo
// agenda, and saves a picture of the whole screen at each stop, for looking
// the windows over at a given screen size. Not a test: run it by hand on a
// virtual screen, for example
//
//     LANG=cs_CZ.UTF-8 xvfb-run -a -s "-screen 0 1366x768x24" build/tools/screenshots/window_tour /tmp/okna
//
// It prints each window's size, its smallest size and whether it fits the
// screen. Without a window manager nothing maximizes a window, so the tour
// gives the workspace and the group tables the whole screen itself.

#include "app/TBaseApplication.h"
#include "app/ui/QtUiServices.h"
#include "app/ui/TfrmHelpViewer.h"
#include "export/ui/TfrmExcelExporter.h"
#include "export/ui/TfrmExportDialog.h"
#include "filter/TReportFilter.h"
#include "filter/ui/TfrmFilterSelectHostObject.h"
#include "filter/ui/TfrmFilterSelectHostObjectListForm.h"
#include "filter/ui/TfrmReportFilter.h"
#include "host/demo/DemoAgenda.h"
#include "program/TfrmMain.h"
#include "report/view/TfrmPenDenReport.h"
#include "ui/QtTranslation.h"
#include "workspace/TGroupTables.h"
#include "workspace/TfrmReportContainer.h"
#include "workspace/protokol/TfrmProtokol.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTableView>

#include <algorithm>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <deque>
#include <functional>

using namespace kasovka;

namespace {

// One stop: the window it waits for; what is done before the picture is
// taken and what after it (deferred actions lead to the next stop).
struct Stop {
    QString name;
    std::function<QWidget *()> window;
    std::function<void(QWidget *)> before;
    std::function<void(QWidget *)> after;
    bool optional = false; // skipped when the next stop's window is on top
};

template <typename W>
W *topmost()
{
    // A modal window on top takes the input; otherwise any window shown.
    if (QWidget *modal = QApplication::activeModalWidget())
        return qobject_cast<W *>(modal);
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *window = qobject_cast<W *>(top); window && window->isVisible())
            return window;
    return nullptr;
}

// Windows that stand beside a modal one, like the help.
template <typename W>
std::function<QWidget *()> beside()
{
    return []() -> QWidget * {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (qobject_cast<W *>(top) && top->isVisible())
                return top;
        return nullptr;
    };
}

template <typename W>
std::function<QWidget *()> on()
{
    return [] { return static_cast<QWidget *>(topmost<W>()); };
}

void later(std::function<void()> action)
{
    QTimer::singleShot(0, qApp, std::move(action));
}

void clickLater(QAbstractButton *button)
{
    later([button] { button->click(); });
}

void nothing(QWidget *) {}

void fillScreen(QWidget *window)
{
    window->setGeometry(window->screen()->availableGeometry());
}

class Tour : public QObject {
public:
    Tour(QString folder, std::deque<Stop> stops) : m_folder(std::move(folder)), m_stops(std::move(stops))
    {
        connect(&m_timer, &QTimer::timeout, this, &Tour::tick);
        m_timer.start(150);
    }

private:
    void tick()
    {
        if (m_stops.empty())
            return;
        Stop &stop = m_stops.front();
        if (m_at) {
            // A few ticks after `before`, so that the window has laid out and painted.
            if (++m_waited < 3)
                return;
            report(stop.name, m_at);
            QWidget *window = m_at;
            m_at = nullptr;
            const auto after = stop.after;
            m_stops.pop_front();
            after(window);
            return;
        }
        if (stop.optional && m_stops.size() > 1 && m_stops[1].window()) {
            m_stops.pop_front();
            return;
        }
        if (QWidget *window = stop.window()) {
            m_at = window;
            m_waited = 0;
            stop.before(window);
        }
    }

    void report(const QString &name, QWidget *window)
    {
        QApplication::processEvents();
        const QRect area = window->screen()->availableGeometry();
        const QSize minimum = window->minimumSizeHint().expandedTo(window->minimumSize());
        const bool fits = area.contains(window->frameGeometry()) && minimum.width() <= area.width()
                          && minimum.height() <= area.height();
        std::printf("%-26s %4dx%-4d at %4d,%-4d  smallest %4dx%-4d  %s\n", qPrintable(name), window->width(),
                    window->height(), window->x(), window->y(), minimum.width(), minimum.height(),
                    fits ? "fits" : "DOES NOT FIT");
        std::fflush(stdout);
        window->screen()->grabWindow(0).save(m_folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    }

    QString m_folder;
    std::deque<Stop> m_stops;
    QTimer m_timer;
    QWidget *m_at = nullptr;
    int m_waited = 0;
};

TfrmReportContainer *workspace()
{
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *container = qobject_cast<TfrmReportContainer *>(top))
            return container;
    return nullptr;
}

TfrmPenDenReport *currentView()
{
    QWidget *page = workspace()->pcReports->currentWidget();
    return page ? page->findChild<TfrmPenDenReport *>() : nullptr;
}

// The workspace on top once it holds `reports` reports.
std::function<QWidget *()> workspaceWith(int reports)
{
    return [reports]() -> QWidget * {
        TfrmReportContainer *container = topmost<TfrmReportContainer>();
        return container && container->SelectorButtons().size() == reports ? container : nullptr;
    };
}

std::deque<Stop> stops()
{
    return {
        {"01-pruvodce", on<TfrmMain>(), nothing,
         [](QWidget *w) { clickLater(static_cast<TfrmMain *>(w)->btnNext()); }},
        {"02-pruvodce-dokonceni", on<TfrmMain>(), nothing,
         [](QWidget *w) { clickLater(static_cast<TfrmMain *>(w)->btnNext()); }},
        {"03-filtr", on<TfrmReportFilter>(), [](QWidget *) { fillScreen(workspace()); }, nothing},
        {"04-filtr-nabidka-textu", on<TfrmReportFilter>(),
         [](QWidget *w) {
             auto *filter = static_cast<TfrmReportFilter *>(w);
             filter->cbxVertikalniDeleni->setCurrentIndex(sgkFirmByAddress);
             filter->chckFiltrStrediska->setChecked(true);
             filter->edtNazevFiltru->setText(QStringLiteral("Firmy podle čísla adresy, celý účetní rok"));
             // The context menu of a text box, as a right click opens it.
             QMenu *menu = filter->edtNazevFiltru->createStandardContextMenu();
             menu->setAttribute(Qt::WA_DeleteOnClose);
             menu->popup(filter->edtNazevFiltru->mapToGlobal(QPoint(40, 10)));
         },
         [](QWidget *w) {
             for (QWidget *popup : QApplication::topLevelWidgets())
                 if (qobject_cast<QMenu *>(popup))
                     popup->close();
             clickLater(static_cast<TfrmReportFilter *>(w)->btnFiltrStrediskaSelect);
         }},
        {"05-editor-stredisek", on<TfrmFilterSelectHostObject>(), nothing,
         [](QWidget *w) { clickLater(static_cast<TfrmFilterSelectHostObject *>(w)->btnPridat()); }},
        {"06-seznam-stredisek", on<TfrmFilterSelectHostObjectListForm>(), nothing,
         [](QWidget *w) {
             later([w] { static_cast<TfrmFilterSelectHostObjectListForm *>(w)->btnZavrit()->click(); });
             later([] { topmost<TfrmFilterSelectHostObject>()->btnZpet()->click(); });
             later([] {
                 TfrmReportFilter *filter = topmost<TfrmReportFilter>();
                 filter->chckFiltrStrediska->setChecked(false);
                 filter->btnOK->click();
             });
         }},
        {"07-protokol", on<TfrmProtokol>(), nothing,
         [](QWidget *w) { clickLater(static_cast<TfrmProtokol *>(w)->btnOK()); }, true},
        {"08-plocha-firmy", workspaceWith(1), fillScreen, nothing},
        {"09-plocha-konec-deniku", workspaceWith(1),
         [](QWidget *) {
             QTableView *grid = currentView()->grDenik;
             grid->selectRow(grid->model()->rowCount() - 1);
             grid->scrollToBottom();
         },
         [](QWidget *w) { clickLater(static_cast<TfrmReportContainer *>(w)->btnNapoveda); }},
        {"10-napoveda", beside<TfrmHelpViewer>(), nothing,
         [](QWidget *w) {
             w->close();
             clickLater(currentView()->btnShowGroupsTable);
         }},
        {"11-skupiny-tabulkove", on<TfrmGroupTables>(), fillScreen,
         [](QWidget *w) {
             clickLater(static_cast<TfrmGroupTables *>(w)->btnClose);
             later([] { currentView()->btnExport->click(); });
         }},
        {"12-export-rozsah", on<TfrmExportDialog>(), nothing,
         [](QWidget *w) { clickLater(static_cast<TfrmExportDialog *>(w)->btnOk); }},
        {"13-export-soubor", on<TfrmExcelExporter>(), nothing,
         [](QWidget *w) { clickLater(static_cast<TfrmExcelExporter *>(w)->btnProchazet); }},
        {"14-ulozit-jako", on<QFileDialog>(), nothing,
         [](QWidget *w) {
             later([w] { static_cast<QFileDialog *>(w)->reject(); });
             later([] { topmost<TfrmExcelExporter>()->btnClose->click(); });
             later([] { workspace()->btnPridat->click(); });
         }},
        {"15-filtr-druhe-sestavy", on<TfrmReportFilter>(),
         [](QWidget *w) {
             auto *filter = static_cast<TfrmReportFilter *>(w);
             filter->cbxVertikalniDeleni->setCurrentIndex(sgkNone);
             filter->edtNazevFiltru->setText(QStringLiteral("Celý rok bez skupin"));
         },
         [](QWidget *w) { clickLater(static_cast<TfrmReportFilter *>(w)->btnOK); }},
        {"16-protokol", on<TfrmProtokol>(), nothing,
         [](QWidget *w) { clickLater(static_cast<TfrmProtokol *>(w)->btnOK()); }, true},
        {"17-plocha-dve-sestavy", workspaceWith(2), nothing,
         [](QWidget *) { clickLater(currentView()->btnShowHideMonthlyOverview); }},
        // Every panel shown: how many journal rows stay in view.
        {"18-plocha-vsechny-panely", workspaceWith(2),
         [](QWidget *) {
             QTableView *grid = currentView()->grDenik;
             std::printf("journal rows in view with every panel shown: %d\n",
                         grid->viewport()->height() / std::max(1, grid->verticalHeader()->defaultSectionSize()));
         },
         [](QWidget *w) {
             clickLater(static_cast<TfrmReportContainer *>(w)->btnKonec);
             later([] { QApplication::exit(0); });
         }},
    };
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QLocale::setDefault(programLocale());
    installQtTranslation();
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(folder);
    QTemporaryDir data;
    const DemoAgenda demo = createDemoAgenda(data.path() + QStringLiteral("/"), DemoAgendaOptions());

    QtUiServices ui;
    TfrmMain wizard(ui, demo.launchArguments());
    wizard.setProgramFolder(QStringLiteral(KASOVKA_BINARY_DIR "/bin/"));
    if (wizard.StartUp() != 0)
        return 1;
    wizard.show();
    Tour tour(folder, stops());
    QTimer::singleShot(180000, &application, [] {
        std::fprintf(stderr, "the tour got stuck\n");
        QApplication::exit(1);
    });
    return application.exec();
}
