// The program's flow from the host's launch to its end on the demo agenda:
// the wizard, two reports with different filters, switching, a group, the
// report and group table exports, and the workbooks read back by xlrd.
// With KASOVKA_SCREENSHOT_DIR set, the windows are saved there as PNG.

#include "app/TBaseApplication.h"
#include "export/ui/TfrmExcelExporter.h"
#include "export/ui/TfrmExportDialog.h"
#include "filter/ui/TfrmReportFilter.h"
#include "host/demo/DemoAgenda.h"
#include "program/TfrmMain.h"
#include "report/TPenDenReport.h"
#include "report/view/TGroupList.h"
#include "report/view/TfrmPenDenReport.h"
#include "support/RecordingUiServices.h"
#include "workspace/TGroupTables.h"
#include "workspace/TfrmReportContainer.h"
#include "workspace/protokol/TfrmProtokol.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kasovka {
namespace {

void clickLater(QAbstractButton *button)
{
    QTimer::singleShot(0, button, &QAbstractButton::click);
}

void screenshot(QWidget *window, const QString &name)
{
    const QString folder = qEnvironmentVariable("KASOVKA_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    QCoreApplication::processEvents();
    window->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// Acts on whatever modal window is on top, one step per tick.
class FlowDriver : public QObject {
public:
    FlowDriver(QString folder) : m_folder(std::move(folder))
    {
        connect(&m_timer, &QTimer::timeout, this, &FlowDriver::tick);
        m_timer.start(40);
    }

    QStringList steps;            // what was done, in order
    QStringList groupNames;       // Nazev of every group of the grouped report
    QString firstJournalText;     // Popis of a journal row of the exported group
    int exports = 0;

private:
    void tick()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            // The workspace itself is not always reported as the active modal
            // window once a nested one has closed.
            for (QWidget *window : QApplication::topLevelWidgets())
                if (qobject_cast<TfrmReportContainer *>(window) && window->isVisible())
                    modal = window;
        }
        if (!modal || !modal->isVisible() || modal == m_busyWith)
            return;
        m_busyWith = modal;
        QTimer::singleShot(60, this, [this] { m_busyWith = nullptr; });
        if (auto *filter = qobject_cast<TfrmReportFilter *>(modal))
            onFilter(filter);
        else if (auto *protokol = qobject_cast<TfrmProtokol *>(modal)) {
            steps << "protokol";
            clickLater(protokol->btnOK());
        } else if (auto *scope = qobject_cast<TfrmExportDialog *>(modal)) {
            steps << "scope";
            screenshot(scope, "export-scope");
            scope->rbExportAllGroups->setChecked(true);
            clickLater(scope->btnOk);
        } else if (auto *exporter = qobject_cast<TfrmExcelExporter *>(modal))
            onExporter(exporter);
        else if (auto *tables = qobject_cast<TfrmGroupTables *>(modal))
            onGroupTables(tables);
        else if (auto *container = qobject_cast<TfrmReportContainer *>(modal))
            onContainer(container);
    }

    void onFilter(TfrmReportFilter *filter)
    {
        // The first report without groups, the second by centres.
        const bool grouped = steps.contains("filter");
        steps << "filter";
        filter->cbxVertikalniDeleni->setCurrentIndex(grouped ? sgkCentre : sgkNone);
        filter->edtNazevFiltru->setText(grouped ? QString() : QStringLiteral("Celý rok"));
        clickLater(filter->btnOK);
    }

    void onExporter(TfrmExcelExporter *exporter)
    {
        ++exports;
        steps << QStringLiteral("exporter%1").arg(exports);
        if (exports == 1)
            screenshot(exporter, "export-file");
        exporter->edtExportFileName->setText(m_folder + (exports == 1 ? "report.xls" : "groups.xls"));
        exporter->chckRunAssociatedProgram->setChecked(true);
        clickLater(exporter->btnOk);
    }

    void onGroupTables(TfrmGroupTables *tables)
    {
        if (!m_groupTablesExported) {
            m_groupTablesExported = true;
            steps << "grouptables";
            tables->resize(1920, 1080);
            screenshot(tables, "group-tables");
            clickLater(tables->btnExport);
        } else {
            steps << "grouptables-close";
            QTimer::singleShot(0, tables, &QDialog::reject);
        }
    }

    void onContainer(TfrmReportContainer *window)
    {
        const auto &pages = window->SelectorButtons();
        if (pages.size() == 1 && !steps.contains("add")) {
            steps << "add";
            clickLater(window->btnPridat);
        } else if (pages.size() == 2 && !steps.contains("switch")) {
            steps << "switch";
            pages[0]->click();
            pages[1]->click();
            auto *view = window->findChildren<TfrmPenDenReport *>().value(1);
            TGroupList *groups = view->cgrSkupiny;
            groups->setCurrentIndex(groups->model()->index(2, 0));
            TMemTable &skupiny = view->Report().Skupiny();
            for (int row = 0; row < skupiny.recordCount(); ++row)
                groupNames << skupiny.valueAt(row, skupiny.fieldIndex("Nazev")).toText();
            // The group's rows as the grid shows them; column 3 is Popis.
            const QAbstractItemModel *rows = view->grDenik->model();
            if (rows->rowCount() > 1)
                firstJournalText = rows->index(1, 3).data().toString();
            window->resize(1920, 1080);
            screenshot(window, "workspace-grouped");
            pages[0]->click();
            screenshot(window, "workspace-whole-year");
            pages[1]->click();
            clickLater(view->btnExport);
        } else if (exports == 1 && !steps.contains("tables")) {
            steps << "tables";
            auto *view = window->findChildren<TfrmPenDenReport *>().value(1);
            clickLater(view->btnShowGroupsTable);
        } else if (steps.contains("grouptables-close") && !steps.contains("konec")) {
            steps << "konec";
            clickLater(window->btnKonec);
        }
    }

    QString m_folder;
    QTimer m_timer;
    QWidget *m_busyWith = nullptr;
    bool m_groupTablesExported = false;
};

// Runs a check script over a workbook with Debian's python and xlrd; the
// script prints one line per failed check.
QString readBack(const QString &script, const QStringList &arguments)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), script} + arguments);
    if (!python.waitForFinished(60000))
        return QStringLiteral("python did not finish");
    return QString::fromUtf8(python.readAllStandardOutput() + python.readAllStandardError()).trimmed();
}

const char *AllTextsScript = R"(
import sys, xlrd
book = xlrd.open_workbook(sys.argv[1])
texts = set()
for sheet in book.sheets():
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            v = sheet.cell_value(r, c)
            if isinstance(v, str):
                texts.add(v.strip())
for wanted in sys.argv[2:]:
    if wanted.strip() not in texts:
        print('missing: ' + wanted)
)";

TEST(WorkspaceFlow, FromLaunchToEndWithTwoReportsAndBothExports)
{
    int argc = 1;
    char name[] = "kasovka-flow";
    char *argv[] = {name, nullptr};
    QApplication application(argc, argv);

    QTemporaryDir dir;
    const QString out = dir.path() + QStringLiteral("/out/");
    QDir().mkpath(out);
    DemoAgendaOptions options;
    options.journalRecords = 1500;
    const DemoAgenda demo = createDemoAgenda(dir.path() + QStringLiteral("/data/"), options);

    test::RecordingUiServices ui;
    TfrmMain wizard(ui, demo.launchArguments());
    wizard.setProgramFolder(QStringLiteral(KASOVKA_BINARY_DIR "/bin/"));
    ASSERT_EQ(wizard.StartUp(), 0) << (ui.messages.isEmpty() ? std::string() : ui.messages[0].text.toStdString());
    wizard.show();
    FlowDriver driver(out);
    QTimer::singleShot(100, &wizard, [&] {
        wizard.btnNext()->click(); // to the last page
        clickLater(wizard.btnNext()); // "Dokončit": the workspace, modally
    });
    QTimer::singleShot(20000, &application, [] { QApplication::exit(1); }); // never hang the suite
    QObject::connect(&wizard, &TfrmMain::programEndRequested, &application, [] { QApplication::exit(0); });
    EXPECT_EQ(application.exec(), 0);

    EXPECT_TRUE(wizard.programEnded());
    EXPECT_EQ(driver.steps, (QStringList{"filter", "protokol", "add", "filter", "protokol", "switch", "scope",
                                         "exporter1", "tables", "grouptables", "exporter2", "grouptables-close",
                                         "konec"}));
    EXPECT_EQ(ui.texts(MessageKind::Error), QStringList());
    EXPECT_EQ(ui.openedPaths, (QStringList{out + "report.xls", out + "groups.xls"}));
    ASSERT_TRUE(QFile::exists(out + "report.xls"));
    ASSERT_TRUE(QFile::exists(out + "groups.xls"));
    ASSERT_GE(driver.groupNames.size(), 2);

    EXPECT_EQ(readBack(QString::fromLatin1(AllTextsScript), QStringList{out + "groups.xls"} + driver.groupNames),
              QString());
    QStringList reportTexts = driver.groupNames;
    if (!driver.firstJournalText.isEmpty())
        reportTexts << driver.firstJournalText;
    EXPECT_EQ(readBack(QString::fromLatin1(AllTextsScript), QStringList{out + "report.xls"} + reportTexts),
              QString());
}

} // namespace
} // namespace kasovka
