// The heading an exported workbook and a printed page show for a report.

#include "core/DateTime.h"
#include "filter/TReportFilter.h"
#include "report/ReportHeading.h"
#include "report/TPenDenReport.h"
#include "support/QtPrinters.h"
#include "support/TestLaunchContext.h"

#include <gtest/gtest.h>

namespace kasovka::test {
namespace {

TEST(ReportHeading, NamesTheYearThePeriodAndTheGroupKind)
{
    struct Row {
        int fiscalYearTo; // ROK.INI's value: the last day's serial - 1; 0 for no year settings
        bool period;
        quint8 groups;
        QString year, periodText, groupColumn;
    };
    const Row cases[] = {
        {46386, false, sgkNone, "2026", "1.1.2026 – 31.12.2026", ""},
        // A year from July to June.
        {46202, true, sgkCentre, "2025/2026", "1.4.2026 – 9.5.2026", "Středisko"},
        {0, false, sgkMovement, "", "celý účetní rok", "Účetní pohyb"},
    };
    for (const Row &row : cases) {
        SCOPED_TRACE(row.year.toStdString());
        TestLaunchContext context(TestLaunchContext::Options{.fiscalYearTo = row.fiscalYearTo});
        auto filter = std::make_unique<TReportFilter>(context.app());
        filter->NazevFiltru = "Jaro";
        filter->ZaObdobi = row.period;
        filter->ObdobiOD = encodeDate(2026, 4, 1);
        filter->ObdobiDO = encodeDate(2026, 5, 9);
        filter->VertikalniDeleni = row.groups;
        const TReportHeading heading = reportHeading(TPenDenReport(context.app(), std::move(filter)));
        EXPECT_EQ(heading.reportName, "Jaro");
        EXPECT_EQ(heading.agenda, "TST");
        EXPECT_EQ(heading.year, row.year);
        EXPECT_EQ(heading.period, row.periodText);
        EXPECT_EQ(heading.groupColumn, row.groupColumn);
        EXPECT_EQ(heading.hasGroups, row.groups != sgkNone);
        EXPECT_EQ(heading.firm.line(), QString()); // no firm in these settings
    }
}

} // namespace
} // namespace kasovka::test
