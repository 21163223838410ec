#include "workspace/TReportContainer.h"

#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "filter/TReportFilter.h"
#include "filter/ui/TfrmReportFilter.h"
#include "report/ReportHeading.h"
#include "report/TPenDenReport.h"
#include "report/view/TfrmPenDenReport.h"
#include "workspace/TfrmReportContainer.h"
#include "workspace/WorkspaceServices.h"
#include "workspace/protokol/TProtokol.h"

#include <QToolButton>

namespace kasovka {

namespace {
const QString WarningsHeadline = QStringLiteral("Věnujte prosím pozornost následujícím varovným zprávám");
}

TReportContainer::TReportContainer(TBaseApplication &app)
    : m_app(app), m_services(std::make_unique<WorkspaceServices>(app)),
      m_filterEditors([](QWidget *parent) { return std::make_unique<TReportFilterDialog>(parent); }),
      m_warnings([](const QString &headline, const QString &text, QWidget *parent) {
          TProtokol(headline, text, true).Execute(parent);
      })
{
}

TReportContainer::~TReportContainer()
{
    // The views read the reports' tables: they go first.
    CloseWindow();
}

void TReportContainer::SetExportWindows(IExportWindows *windows)
{
    m_services->SetExportWindows(windows);
}

TfrmReportContainer *TReportContainer::OpenWindow()
{
    if (!m_window) {
        m_window = std::make_unique<TfrmReportContainer>(*this);
        for (int i = 0; i < ReportCount(); ++i)
            showInWindow(m_reports[size_t(i)], i);
        if (m_currentIndex >= 0)
            SelectReport(m_currentIndex);
        m_window->setWindowState(Qt::WindowMaximized);
        m_window->show();
    }
    return m_window.get();
}

void TReportContainer::CloseWindow()
{
    for (Entry &entry : m_reports)
        entry.view = nullptr;
    m_window.reset();
}

bool TReportContainer::Run()
{
    OpenWindow()->exec();
    CloseWindow();
    return true;
}

QString TReportContainer::DefaultReportName() const
{
    return QStringLiteral("Sestava %1").arg(ReportCount() + 1);
}

std::unique_ptr<TPenDenReport> TReportContainer::buildReport()
{
    QWidget *parent = m_window.get();
    auto filter = std::make_unique<TReportFilter>(m_app);
    std::unique_ptr<IReportFilterEditor> editor = m_filterEditors(parent);
    if (!editor || !filter->Execute(*editor))
        return nullptr;
    auto report = std::make_unique<TPenDenReport>(m_app, std::move(filter));
    const ReportOutcome outcome = report->Generate();
    showReportMessages(m_app, outcome);
    return outcome ? std::move(report) : nullptr;
}

void TReportContainer::NewReport()
{
    if (m_building || m_app.JobRunning())
        return;
    m_building = true;
    if (m_window)
        m_window->btnPridat->setEnabled(false);
    std::unique_ptr<TPenDenReport> report;
    try {
        report = buildReport();
    } catch (const Error &error) {
        // A settings file that cannot be written, or host data the engine
        // could not survive: the workspace stays as it was.
        report.reset();
        m_app.ShowMessageDialog(error.text(), MessageKind::Error);
    }
    if (report) {
        if (report->ReportName().isEmpty())
            report->SetReportName(DefaultReportName());
        if (report->HasWarnings())
            m_warnings(WarningsHeadline, report->WarningsText(), m_window.get());
        AddReport(std::move(report));
        FitCurrentGroupGrid();
    }
    if (m_window)
        m_window->btnPridat->setEnabled(true);
    m_building = false;
}

bool TReportContainer::AddReport(std::unique_ptr<TPenDenReport> report)
{
    m_reports.push_back({std::move(report), nullptr});
    const int index = ReportCount() - 1;
    if (m_window)
        showInWindow(m_reports.back(), index);
    SelectReport(index);
    return true;
}

void TReportContainer::showInWindow(Entry &entry, int index)
{
    QWidget *page = m_window->AddPage();
    entry.view = ShowIn(*entry.report, page, *m_services);
    QToolButton *button = m_window->AddSelectorButton(index, entry.report->ReportName());
    button->setToolTip(entry.report->ReportName() + QStringLiteral("\nObdobí: ") + reportHeading(*entry.report).period);
    // Closing reports moves the buttons after them, so each finds its index
    // when clicked.
    QObject::connect(button, &QToolButton::clicked, m_window.get(),
                     [this, button] { SelectReport(int(m_window->SelectorButtons().indexOf(button))); });
}

void TReportContainer::CloseReport(int index)
{
    // A report being printed or exported (the job runs under this call's
    // event loop) stays until the job has ended.
    if (m_building || m_app.JobRunning() || index < 0 || index >= ReportCount())
        return;
    // The view reads the report's tables: it goes first.
    if (m_window)
        m_window->RemovePage(index);
    m_reports.erase(m_reports.begin() + index);
    if (m_reports.empty()) {
        m_currentIndex = -1;
        return;
    }
    if (m_currentIndex > index || m_currentIndex >= ReportCount())
        --m_currentIndex;
    SelectReport(m_currentIndex);
    FitCurrentGroupGrid();
}

void TReportContainer::SelectNeighbour(int step)
{
    if (ReportCount() < 2)
        return;
    SelectReport((m_currentIndex + step + ReportCount()) % ReportCount());
    FitCurrentGroupGrid();
}

void TReportContainer::SelectReport(int index)
{
    if (index < 0 || index >= ReportCount())
        return;
    m_currentIndex = index;
    if (m_window)
        m_window->MarkSelected(index);
}

TPenDenReport *TReportContainer::CurrentReport() const
{
    return m_currentIndex >= 0 && m_currentIndex < ReportCount() ? m_reports[size_t(m_currentIndex)].report.get()
                                                                 : nullptr;
}

void TReportContainer::FitCurrentGroupGrid()
{
    if (m_currentIndex < 0 || m_currentIndex >= ReportCount())
        return;
    if (TfrmPenDenReport *view = m_reports[size_t(m_currentIndex)].view)
        view->FitGroupGrid();
}

} // namespace kasovka
