#include "report/TPenDenReport.h"

#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "report/ReportWork.h"
#include "report/TMonthlyOverview.h"

#include <new>

namespace kasovka {

void showReportMessages(TBaseApplication &app, const ReportOutcome &outcome)
{
    for (const QString &text : outcome.tablesLeftOut)
        app.ShowMessageDialog(text, MessageKind::Error);
    if (!outcome.failure.isEmpty())
        app.ShowMessageDialog(outcome.failure, MessageKind::Error);
}

TPenDenReport::TPenDenReport(TBaseApplication &app, std::unique_ptr<TReportFilter> filter)
    : m_app(app), m_filter(std::move(filter))
{
    Q_ASSERT(m_filter);
    m_reportName = m_filter->NazevFiltru;
    m_warnings.append(QString());
}

TPenDenReport::~TPenDenReport() = default;

void TPenDenReport::AddWarning(const QString &text)
{
    addProtocolLine(text);
    ReportWarning warning;
    warning.text = text.startsWith(QStringLiteral("• ")) ? text.mid(2) : text;
    m_paperWarnings.push_back(std::move(warning));
}

void TPenDenReport::addProtocolLine(const QString &text)
{
    m_warnings.append(text);
    m_hasWarnings = true;
}

QString TPenDenReport::WarningsText() const
{
    QString text;
    for (const QString &line : m_warnings)
        text += line + QStringLiteral("\r\n");
    return text;
}

void TPenDenReport::CreateReportTables()
{
    createReportTable(m_denik, ReportLayout::JournalRows, m_app);
    createReportTable(m_skupiny, ReportLayout::Groups, m_app);
    createReportTable(m_prevedeno, ReportLayout::AmountsOnly, m_app);
    createReportTable(m_pocatecniStav, ReportLayout::AmountsOnly, m_app);
    m_result = ReportResult(m_skupiny, m_denik, m_prevedeno, m_pocatecniStav);
}

void TPenDenReport::SetResult(std::vector<ReportResult::Group> groups, int opening)
{
    m_result = ReportResult(m_skupiny, m_denik, m_prevedeno, m_pocatecniStav, std::move(groups), opening);
}

ReportOutcome TPenDenReport::Generate()
{
    m_app.SetCancelRequested(false);
    m_app.ShowProgress(QStringLiteral("Generuji sestavu, prosím čekejte"), true, true);

    m_work = std::make_unique<Work>();
    const TReportFilter &f = *m_filter;
    m_work->centre = FilterListMatcher(f.FiltrStrediska, f.FiltrStrediskaText, f.FiltrStrediskaNegace);
    m_work->activity = FilterListMatcher(f.FiltrCinnosti, f.FiltrCinnostiText, f.FiltrCinnostiNegace);
    m_work->contract = FilterListMatcher(f.FiltrZakazky, f.FiltrZakazkyText, f.FiltrZakazkyNegace);
    m_work->currency = FilterListMatcher(f.FiltrMena, f.FiltrMenaText, f.FiltrMenaNegace);

    ReportOutcome outcome;
    m_tablesLeftOut.clear();
    try {
        // A kind the program does not know would silently give a report
        // without groups and without its opening balances.
        if (f.VertikalniDeleni > LastSummationGroupKind)
            throw Error(QStringLiteral("Neznámý druh sumačních skupin (VertikalniDeleni = %1).")
                            .arg(f.VertikalniDeleni));
        OpenHostTables();
        if (LoadJournal()) {
            m_monthlyOverview = std::make_unique<TMonthlyOverview>(*this);
            outcome.result = ReportOutcome::Result::Built;
        } else {
            outcome.result = ReportOutcome::Result::Cancelled;
        }
    } catch (const Error &error) {
        outcome.failure = error.text();
    } catch (const std::bad_alloc &) {
        outcome.failure = QStringLiteral("Pro sestavu není dostatek paměti.");
    }
    outcome.tablesLeftOut = std::exchange(m_tablesLeftOut, {});
    CloseHostTables();
    m_work.reset();
    m_app.HideProgress();

    if (!outcome.built()) {
        // A failed or cancelled report must not leave partial figures behind.
        m_denik.close();
        m_skupiny.close();
        m_prevedeno.close();
        m_pocatecniStav.close();
        m_rowCountAll = 0;
    }
    return outcome;
}

} // namespace kasovka
