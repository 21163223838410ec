#include "RunReport.h"

#include "FilterSettings.h"

#include "app/ConsoleUiServices.h"
#include "app/HostFolderCheck.h"
#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "filter/FilterValidation.h"
#include "filter/TReportFilter.h"
#include "host/TPristupPrava.h"
#include "report/TPenDenReport.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

namespace kasovka::tool {

namespace {

const char *const DoubleEntryRefusal =
    "Litujeme, ale tento doplněk je možné spustit pouze v agendě, která je vedena v daňové "
    "evidenci (jednoduchém účetnictví).";
const char *const RightsRefusal =
    "Litujeme, ale pro spuštění tohoto doplňku nemáte potřebná přístupová práva. Chcete-li "
    "využívat tento doplněk, požádejte administrátora o nastavení práv k funkci "
    "Účetnictví/Tiskové sestavy/Peněžní deník.";

// The console that also remembers an error it showed: an output that
// reported one (a settings file that could not be written, say) has failed,
// whatever its own result says.
class ToolConsole : public ConsoleUiServices {
public:
    MessageResult showMessage(const QString &text, MessageKind kind) override
    {
        m_errorShown = m_errorShown || kind == MessageKind::Error;
        return ConsoleUiServices::showMessage(text, kind);
    }
    bool errorShown() const { return m_errorShown; }

private:
    bool m_errorShown = false;
};

class PhaseTimer {
public:
    explicit PhaseTimer(bool on) : m_on(on) { m_timer.start(); }
    void lap(const QString &phase)
    {
        if (!m_on)
            return;
        const double ms = double(m_timer.nsecsElapsed()) / 1e6;
        std::fprintf(stderr, "kasovka-report: %s: %.1f ms\n", phase.toUtf8().constData(), ms);
        m_timer.restart();
    }

private:
    bool m_on;
    QElapsedTimer m_timer;
};

bool userMayRun(TBaseApplication &app)
{
    TPristupPrava rights(app.DataFolder(), app.UserPassword());
    if (!rights.ReadRights()) {
        app.ShowMessageDialog(rights.ErrorText(), MessageKind::Error);
        return false;
    }
    if (rights.JUPDTisk() == TRightLevel::None) {
        app.ShowMessageDialog(QString::fromUtf8(RightsRefusal), MessageKind::Warning);
        return false;
    }
    return true;
}

// The filter as the dialog would hand it over, or an exit code.
int loadFilter(const RunSettings &settings, TReportFilter &filter)
{
    if (settings.filterIni.isEmpty()) {
        filter.LoadFromIni();
    } else {
        if (!QFileInfo(settings.filterIni).isFile()) {
            std::fprintf(stderr, "kasovka-report: soubor filtru %s neexistuje\n",
                         settings.filterIni.toLocal8Bit().constData());
            return ExitUsage;
        }
        filter.LoadFromIni(settings.filterIni);
    }
    for (const auto &[key, value] : settings.fieldSets) {
        const QString error = setFilterField(filter, key, value);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "kasovka-report: --set %s\n", error.toUtf8().constData());
            return ExitUsage;
        }
    }
    FilterEntries entries;
    entries.periodOn = filter.ZaObdobi;
    if (!isZeroDate(filter.ObdobiOD))
        entries.periodFrom = filter.ObdobiOD;
    if (!isZeroDate(filter.ObdobiDO))
        entries.periodTo = filter.ObdobiDO;
    entries.groupKind = filter.VertikalniDeleni;
    const std::optional<FilterRejection> rejection =
        validateFilterEntries(entries, filter.Application().HostVersion());
    if (rejection) {
        filter.Application().ShowMessageDialog(rejection->message, rejection->kind);
        return ExitNoReport;
    }
    return ExitWritten;
}

} // namespace

void registerRunOptions(ToolRegistry &registry, RunSettings &settings)
{
    registry.addOption(ToolOption{
        QStringLiteral("filter-ini"), QStringLiteral("FILE"),
        QStringLiteral("načte filtr ze sekce ReportFilter souboru FILE"),
        [&settings](const QString &value) -> QString {
            settings.filterIni = value;
            return QString();
        }});
    registry.addOption(ToolOption{
        QStringLiteral("set"), QStringLiteral("KEY=VALUE"),
        QStringLiteral("nastaví jednu položku filtru (data RRRR-MM-DD, logické hodnoty 0/1)"),
        [&settings](const QString &value) -> QString {
            const qsizetype split = value.indexOf(QLatin1Char('='));
            if (split <= 0)
                return QStringLiteral("--set očekává KLÍČ=HODNOTA, ne \"%1\"").arg(value);
            settings.fieldSets.append({value.left(split), value.mid(split + 1)});
            return QString();
        }});
    registry.addOption(ToolOption{
        QStringLiteral("timings"), QString(),
        QStringLiteral("vypíše čas každé fáze na standardní chybový výstup"),
        [&settings](const QString &) -> QString {
            settings.timings = true;
            return QString();
        }});
}

int runReport(const RunSettings &settings, const ToolRegistry &registry)
{
    ToolConsole ui;
    TBaseApplication app(ui, settings.launchArguments);
    try {
        if (!app.LoadLaunchContext() || !CheckHostFolders(app))
            return ExitNoReport;
        if (app.DoubleEntryBookkeeping()) {
            app.ShowMessageDialog(QString::fromUtf8(DoubleEntryRefusal), MessageKind::Warning);
            return ExitNoReport;
        }
        if (!userMayRun(app))
            return ExitNoReport;

        auto filter = std::make_unique<TReportFilter>(app);
        if (const int code = loadFilter(settings, *filter); code != ExitWritten)
            return code;

        PhaseTimer timer(settings.timings);
        TPenDenReport report(app, std::move(filter));
        report.SetPhaseObserver([&timer](ReportPhase phase) {
            switch (phase) {
            case ReportPhase::HostTablesOpened: timer.lap(QStringLiteral("host tables opened")); break;
            case ReportPhase::JournalRead: timer.lap(QStringLiteral("journal read")); break;
            case ReportPhase::Finished: timer.lap(QStringLiteral("finish")); break;
            }
        });
        const ReportOutcome outcome = report.Generate();
        showReportMessages(app, outcome);
        if (!outcome)
            return ExitNoReport;
        for (const ToolOutput &output : registry.outputs()) {
            if (!output.write(app, report) || ui.errorShown())
                return ExitNoReport;
            timer.lap(output.phaseName);
        }
        return ExitWritten;
    } catch (const Error &error) {
        app.ShowMessageDialog(error.text(), MessageKind::Error);
        return ExitNoReport;
    }
}

} // namespace kasovka::tool
