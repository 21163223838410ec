#pragma once
// One cash-journal report: reads the host's journal once for a filter and
// keeps the result in four memory tables — Denik (journal rows), Skupiny
// (summation groups with their column sums and totals), Prevedeno (carried
// amounts, one record per group) and PocatecniStav (opening balances).
// Views, panels, print, export and JSON only read those tables, through
// Result(), which tells each group's records without moving a cursor.
//
// Generate reads the journal once into plain per-group structures, finishes
// them (adjustments, balances, totals, names) and then writes the four
// tables in one pass, so the cost per journal record stays a few array
// additions and one hash lookup.

#include "core/MemTable.h"
#include "filter/TReportFilter.h"
#include "host/TBFTable.h"
#include "report/ReportResult.h"
#include "report/ReportTables.h"
#include "report/ReportWarning.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace kasovka {

class HostTableError;
class TBaseApplication;
class TMonthlyOverview;

// The steps of Generate, reported to an observer as each one ends (used to
// time them).
enum class ReportPhase {
    HostTablesOpened,
    JournalRead,
    Finished,
};

// What became of Generate. The engine shows the user its progress and no
// message: the flow that called it shows what it says (showReportMessages)
// and decides what follows.
struct [[nodiscard]] ReportOutcome {
    enum class Result : quint8 { Built, Cancelled, Failed };
    Result result = Result::Failed;
    // Failed: why, in Czech.
    QString failure;
    // The host's messages about tables the report left out, in the order
    // they arose: the code list naming the groups (which also leaves a
    // warning) and the tables of the opening balances. The report is built
    // all the same; a failure may still follow them.
    QStringList tablesLeftOut;

    bool built() const { return result == Result::Built; }
    bool cancelled() const { return result == Result::Cancelled; }
    explicit operator bool() const { return built(); }
};

// Shows an outcome as the program does: each message of a table the report
// left out, then the failure, in an error box of its own.
void showReportMessages(TBaseApplication &app, const ReportOutcome &outcome);

class TPenDenReport {
public:
    // Takes over the filter. ReportName starts as its NazevFiltru.
    TPenDenReport(TBaseApplication &app, std::unique_ptr<TReportFilter> filter);
    ~TPenDenReport();
    TPenDenReport(const TPenDenReport &) = delete;
    TPenDenReport &operator=(const TPenDenReport &) = delete;

    // Builds the report, showing its progress with the cancel link. Fails
    // when a host table it needs cannot be opened or indexed, the host data
    // cannot be read or memory runs out; unless built, the tables are
    // closed and hold nothing.
    ReportOutcome Generate();

    const TReportFilter &Filter() const { return *m_filter; }
    TBaseApplication &Application() const { return m_app; }

    const QString &ReportName() const { return m_reportName; }
    void SetReportName(const QString &name) { m_reportName = name; }

    // Warnings: text lines collected while generating, the first one empty.
    void AddWarning(const QString &text);
    bool HasWarnings() const { return m_hasWarnings; }
    const QStringList &Warnings() const { return m_warnings; }
    // Each warning once, with the record it concerns, for paper.
    const std::vector<ReportWarning> &PaperWarnings() const { return m_paperWarnings; }
    // Every line followed by CR LF, beginning with the empty first line.
    QString WarningsText() const;

    // Number of Denik records of all groups, carried and adjustment rows
    // included; set at the end of Generate.
    int RowCountAll() const { return m_rowCountAll; }

    // The monthly sums of every group, computed once at the end of a
    // successful Generate; nullptr before.
    const TMonthlyOverview *MonthlyOverview() const { return m_monthlyOverview.get(); }

    // The report tables; they exist (open) once Generate has started.
    TMemTable &Denik() { return m_denik; }
    TMemTable &Skupiny() { return m_skupiny; }
    TMemTable &Prevedeno() { return m_prevedeno; }
    TMemTable &PocatecniStav() { return m_pocatecniStav; }
    const TMemTable &Denik() const { return m_denik; }
    const TMemTable &Skupiny() const { return m_skupiny; }
    const TMemTable &Prevedeno() const { return m_prevedeno; }
    const TMemTable &PocatecniStav() const { return m_pocatecniStav; }

    // The groups and where their records are in the tables; no groups until
    // Generate has written the tables.
    const ReportResult &Result() const { return m_result; }

    // Creates the four tables, open and empty, with a result of no groups.
    void CreateReportTables();
    // The result of tables filled record by record without Generate (tests,
    // benchmarks): `groups` in Skupiny order, `opening` the PocatecniStav
    // record or -1.
    void SetResult(std::vector<ReportResult::Group> groups, int opening);

    // Called as each phase of Generate ends; none by default.
    void SetPhaseObserver(std::function<void(ReportPhase)> observer)
    {
        m_phaseObserver = std::move(observer);
    }

private:
    struct Work;
    struct AmountSums;
    struct DenikEntry;
    struct GroupWork;

    // Host tables (JournalLoading.cpp). Opening one throws HostTableError
    // with the host's message; a table the report can go without keeps the
    // message for the outcome instead (leaveOut).
    void OpenHostTables();
    void CloseHostTables();
    void openAndIndex(TBFTable &table, const QString &path, const QString &index);
    void leaveOut(const HostTableError &error);
    QList<int> journalFieldsRead() const;
    // The passes of LoadJournal; false when the user cancelled.
    bool LoadJournal();
    void warnOfPeriodOutsideYear();
    bool accumulateJournal();    // read and accumulate (JournalLoading.cpp)
    void FinishReport();         // finish (ReportFinish.cpp)
    void writeReportTables();    // write (ReportWrite.cpp)
    void indexResult(std::vector<std::vector<int>> rowsByGroup, std::vector<int> groupOfRow); // (ReportWrite.cpp)
    // Reading one journal record into its group and row (JournalLoading.cpp).
    bool passesObjectFilters();
    void readPostingFields();
    void accumulateRecord();
    void AddJournalRecord(bool inPeriod);
    void StartRowIfNeeded(bool createRow);
    void FindOrCreateGroup(const QString &key);
    QString DocumentDescription();
    QString GroupKey();
    // A protocol line without a paper entry of its own, and the paper entry
    // of the journal record or adjustment being posted.
    void addProtocolLine(const QString &text);
    void noteRecordWarning(const QString &text, int row, bool carried, std::optional<Currency> unposted);
    void noteAdjustmentWarning(const QString &text);
    static QString unknownMovementText(const QString &code);
    void recordDocument(ReportWarning &warning) const;
    // Posting (Posting.cpp).
    bool PostAmount(AmountSums &target, bool fromAdjustment);
    void describeRow(DenikEntry &row);
    static void closeRow(DenikEntry &row, const AmountSums &sums);
    void closeOpenRows();
    // Completion (ReportFinish.cpp).
    void AddClosingAdjustments();
    void BuildOpeningBalances();
    void addRegisterBalances(TBFTable &registers);
    void addColumnBalances(TBFTable &settings);
    void AddOpeningBalances(AmountSums &target);
    // Summation groups (SummationGroups.cpp).
    bool OpenGroupCodeList(TBFTable &codeList);
    QString NameGroup(TBFTable &codeList, bool codeListOpen, const QString &key);
    void orderGroups();
    void phaseEnded(ReportPhase phase)
    {
        if (m_phaseObserver)
            m_phaseObserver(phase);
    }

    TBaseApplication &m_app;
    std::unique_ptr<TReportFilter> m_filter;

    TBFTable m_journal;     // UCPENDEN
    TBFTable m_movements;   // UCPOHYBY
    TBFTable m_adjustments; // UZZAVUP
    TBFTable m_cashBook;    // POKLKNIH
    TBFTable m_bankBook;    // BANKKNIH

    TMemTable m_denik{QStringLiteral("Denik")};
    TMemTable m_skupiny{QStringLiteral("Skupiny")};
    TMemTable m_prevedeno{QStringLiteral("Prevedeno")};
    TMemTable m_pocatecniStav{QStringLiteral("PocatecniStav")};
    ReportResult m_result{m_skupiny, m_denik, m_prevedeno, m_pocatecniStav};

    QString m_reportName;
    QStringList m_warnings;
    bool m_hasWarnings = false;
    std::vector<ReportWarning> m_paperWarnings;
    QStringList m_tablesLeftOut; // of the Generate under way
    int m_rowCountAll = 0;
    std::function<void(ReportPhase)> m_phaseObserver;
    std::unique_ptr<TMonthlyOverview> m_monthlyOverview;

    // Working state of one Generate (ReportWork.h).
    std::unique_ptr<Work> m_work;
};

} // namespace kasovka
