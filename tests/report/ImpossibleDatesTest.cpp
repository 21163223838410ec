// Journal dates no calendar has (infinite, far beyond the year 9999 or
// before the year 1) are reported and counted like a missing date.

#include "report/ReportFixture.h"

#include <limits>

namespace kasovka::test {
namespace {

using ImpossibleDatesTest = ReportTest;

TEST_F(ImpossibleDatesTest, WarnAndCountAsBeforeThePeriodLikeAMissingDate)
{
    const double infinity = std::numeric_limits<double>::infinity();
    addJournal({{.datum = infinity, .zRadek = 1, .castka = "1", .cislo = 11},
                {.datum = -infinity, .zRadek = 2, .castka = "2", .cislo = 12},
                {.datum = 1e308, .zRadek = 3, .castka = "4", .cislo = 13},
                {.datum = -1e308, .zRadek = 4, .castka = "8", .cislo = 14},
                {.datum = day(9999, 12, 31) + 1, .zRadek = 5, .castka = "16", .cislo = 15},
                {.datum = day(1, 1, 1) - 1, .zRadek = 6, .castka = "32", .cislo = 16},
                {.datum = 0, .zRadek = 7, .castka = "64", .cislo = 17},
                {.datum = day(2026, 4, 1), .zRadek = 8, .castka = "128", .cislo = 18}});
    for (const bool earlier : {false, true}) {
        SCOPED_TRACE(earlier);
        auto report = generate([earlier](TReportFilter &f) {
            f.ZaObdobi = true;
            f.ObdobiOD = day(2026, 1, 1);
            f.ObdobiDO = day(2026, 12, 31);
            f.ZapocitavatPredchObdobi = earlier;
        });
        QStringList warnings = report->Warnings();
        warnings.removeAll(QString());
        warnings.sort();
        QStringList expected;
        for (int cislo = 11; cislo <= 17; ++cislo)
            expected.append(QStringLiteral("• řádek %1 v databázi deníku nemá vyplněný datum").arg(cislo));
        EXPECT_EQ(warnings, expected);
        // Carried with the earlier movements, or left out, as a record dated 0.
        EXPECT_EQ(amount(report->Skupiny(), 0, 5), earlier ? money("255") : money("128"));
    }
}

} // namespace
} // namespace kasovka::test
