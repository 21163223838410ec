#pragma once
// A report whose tables are filled directly, without host data: groups of
// any number of journal rows with amounts in a cash, a purpose and the total
// column, as the engine would post a receipt. For print layout tests and the
// print benchmark.

#include "report/TPenDenReport.h"
#include "support/TestLaunchContext.h"

#include <memory>

namespace kasovka::test {

// The GUI application printing needs for its fonts (offscreen), unless an
// application object exists already.
void ensureGuiApplication();

class SyntheticReport {
public:
    // `kind`: the filter's VertikalniDeleni.
    explicit SyntheticReport(quint8 kind = sgkCentre, const QString &name = QStringLiteral("Sestava 1"));

    // Adds a group with its carried row, `rows` journal rows and the sums,
    // and gives the report its result. Returns the group's ID.
    int addGroup(const QString &code, const QString &name, int rows);

    TPenDenReport &report() { return *m_report; }
    TBaseApplication &app() { return m_context.app(); }
    RecordingUiServices &ui() { return m_context.ui(); }

private:
    TestLaunchContext m_context;
    std::unique_ptr<TPenDenReport> m_report;
    std::vector<ReportResult::Group> m_groups;
    int m_serial = 0;
};

} // namespace kasovka::test
