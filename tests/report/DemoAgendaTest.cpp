// The engine over the demo agenda: the invariants of every report for many
// filters, and its figures against an independent reckoning.

#include "report/DemoFilterCases.h"
#include "report/ReferenceModel.h"

#include "app/TBaseApplication.h"
#include "core/MemTable.h"
#include "host/demo/DemoAgenda.h"
#include "report/FirmIdentity.h"
#include "report/TPenDenReport.h"
#include "support/RecordingUiServices.h"

#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace kasovka::test {

void checkMonthlyOverview(const TPenDenReport &report); // MonthlyOverviewTest.cpp

namespace {

Currency cell(const TMemTable &table, int row, int column)
{
    return table.valueAt(row, table.fieldIndex(QStringLiteral("Col%1").arg(column))).toCurrency();
}

bool blank(const TMemTable &table, int row, int column)
{
    return table.isNullAt(row, table.fieldIndex(QStringLiteral("Col%1").arg(column)));
}

Currency sum(const TMemTable &table, int row, int first, int last)
{
    Currency total;
    for (int column = first; column <= last; ++column)
        total += cell(table, row, column);
    return total;
}

qint64 integer(const TMemTable &table, int row, const char *field)
{
    return table.valueAt(row, table.fieldIndex(QString::fromLatin1(field))).toInt();
}

QString text(const TMemTable &table, int row, const char *field)
{
    return table.valueAt(row, table.fieldIndex(QString::fromLatin1(field))).toText();
}

class DemoAgendaTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        DemoAgendaOptions options;
        options.journalRecords = 3000;
        options.year = 2024;
        options.seed = 7;
        s_demo = new DemoAgenda(createDemoAgenda(s_dir->path() + QStringLiteral("/"), options));
    }
    static void TearDownTestSuite()
    {
        delete s_demo;
        delete s_dir;
    }

    DemoAgendaTest() : m_app(m_ui, s_demo->launchArguments()) { EXPECT_TRUE(m_app.LoadLaunchContext()); }

    std::unique_ptr<TPenDenReport> generate(const std::function<void(TReportFilter &)> &setup)
    {
        auto filter = std::make_unique<TReportFilter>(m_app);
        setup(*filter);
        auto report = std::make_unique<TPenDenReport>(m_app, std::move(filter));
        const ReportOutcome outcome = report->Generate();
        showReportMessages(m_app, outcome);
        EXPECT_TRUE(outcome.built());
        return report;
    }

    void checkInvariants(const TPenDenReport &report);

    static QTemporaryDir *s_dir;
    static DemoAgenda *s_demo;
    RecordingUiServices m_ui;
    TBaseApplication m_app;
};

QTemporaryDir *DemoAgendaTest::s_dir = nullptr;
DemoAgenda *DemoAgendaTest::s_demo = nullptr;

void DemoAgendaTest::checkInvariants(const TPenDenReport &report)
{
    const TMemTable &skupiny = report.Skupiny();
    const TMemTable &denik = report.Denik();
    const TMemTable &prevedeno = report.Prevedeno();
    const bool rowsWanted = !report.Filter().PouzeZaverecnyPrehled;
    ASSERT_GE(skupiny.recordCount(), 1);
    EXPECT_EQ(prevedeno.recordCount(), skupiny.recordCount());
    EXPECT_EQ(report.RowCountAll(), denik.recordCount());

    QHash<qint64, std::vector<int>> rowsByGroup;
    for (int row = 0; row < denik.recordCount(); ++row)
        rowsByGroup[integer(denik, row, "Parent_ID")].push_back(row);
    QHash<qint64, int> carriedByGroup;
    for (int row = 0; row < prevedeno.recordCount(); ++row) {
        const qint64 parent = integer(prevedeno, row, "Parent_ID");
        carriedByGroup.insert(parent, row);
        EXPECT_EQ(cell(prevedeno, row, 11), sum(prevedeno, row, 13, 15));
        EXPECT_EQ(cell(prevedeno, row, 12), sum(prevedeno, row, 16, 23));
    }

    // One Prevedeno record per group, and keys unique ignoring case.
    EXPECT_EQ(carriedByGroup.size(), prevedeno.recordCount());
    QSet<QString> keys;
    QString previousName;
    for (int g = 0; g < skupiny.recordCount(); ++g) {
        const qint64 id = integer(skupiny, g, "ID");
        const QString key = text(skupiny, g, "Zkratka").toCaseFolded();
        keys.insert(key);
        const QString name = text(skupiny, g, "Nazev");
        EXPECT_LE(previousName.compare(name, Qt::CaseInsensitive), 0) << name.toStdString();
        previousName = name;

        // Totals by their definitions.
        EXPECT_EQ(cell(skupiny, g, 11), sum(skupiny, g, 13, 15));
        EXPECT_EQ(cell(skupiny, g, 12), sum(skupiny, g, 16, 23));
        const auto total = [&](const char *field) {
            return skupiny.valueAt(g, skupiny.fieldIndex(QString::fromLatin1(field))).toCurrency();
        };
        EXPECT_EQ(total("HotovostCeninyCelkem"), cell(skupiny, g, 5) - cell(skupiny, g, 6));
        EXPECT_EQ(total("BankUctyCelkem"), cell(skupiny, g, 7) - cell(skupiny, g, 8));
        EXPECT_EQ(total("PrubPolozkyCelkem"), cell(skupiny, g, 9) - cell(skupiny, g, 10));
        EXPECT_EQ(total("ZakladDane"), sum(skupiny, g, 13, 15) - sum(skupiny, g, 16, 23));
        EXPECT_EQ(total("PrijmyZahrDoZaklCelkem"), sum(skupiny, g, 13, 15));
        EXPECT_EQ(total("VydajeNaZajPrijCelkem"), sum(skupiny, g, 16, 23));
        EXPECT_EQ(total("PrijmyNeovlZaklDaneCelkem"), sum(skupiny, g, 24, 28));
        EXPECT_EQ(total("VydajeNeovlZaklDaneCelkem"), sum(skupiny, g, 29, 35));

        // One carried row, first, equal to the group's Prevedeno record.
        const std::vector<int> rows = rowsByGroup.value(id);
        ASSERT_GE(rows.size(), 1u) << "group " << id << " has no rows";
        int carriedRows = 0;
        for (int row : rows)
            carriedRows += integer(denik, row, "Poradi") == 0 && !denik.isNullAt(row, denik.fieldIndex("Poradi"));
        EXPECT_EQ(carriedRows, 1);
        EXPECT_EQ(integer(denik, rows[0], "ID"), integer(skupiny, g, "IDPrevedeno"));
        EXPECT_EQ(text(denik, rows[0], "Popis"), QStringLiteral("Převedeno:"));
        ASSERT_EQ(carriedByGroup.count(id), 1);
        for (int column = 5; column <= 35; ++column)
            EXPECT_EQ(cell(denik, rows[0], column), cell(prevedeno, carriedByGroup[id], column));

        qint64 lastNumber = 0;
        for (int row : rows) {
            if (!blank(denik, row, 11)) {
                EXPECT_EQ(cell(denik, row, 11), sum(denik, row, 13, 15));
                EXPECT_EQ(cell(denik, row, 12), sum(denik, row, 16, 23));
            }
            if (row != rows[0] && !denik.isNullAt(row, denik.fieldIndex("Poradi"))) {
                const qint64 number = integer(denik, row, "Poradi");
                EXPECT_GT(number, lastNumber);
                lastNumber = number;
            }
        }
        EXPECT_LE(lastNumber, integer(skupiny, g, "LastPoradi"));
        if (!rowsWanted) {
            EXPECT_LE(rows.size(), 2u);
            continue;
        }
        for (int column = 5; column <= 35; ++column) {
            Currency rowSum;
            for (int row : rows)
                rowSum += cell(denik, row, column);
            EXPECT_EQ(rowSum, cell(skupiny, g, column)) << "group " << id << " Col" << column;
        }
    }
    EXPECT_EQ(keys.size(), skupiny.recordCount());
}

TEST_F(DemoAgendaTest, EveryReportKeepsItsInvariants)
{
    int index = 0;
    for (const FilterCase &c : demoFilterCases()) {
        SCOPED_TRACE(index++);
        auto report = generate(c.setup);
        checkInvariants(*report);
        checkMonthlyOverview(*report);
    }
    EXPECT_TRUE(m_ui.messages.isEmpty());
}

// The name and DIČ come from the year settings, the IČO from the setup
// variables.
TEST_F(DemoAgendaTest, NamesTheFirmFromBothSettingsStores)
{
    auto report = generate([](TReportFilter &) {});
    EXPECT_EQ(readFirmIdentity(report->Application()).line(),
              QStringLiteral("Demo Stavby s.r.o., IČO 27081234, DIČ CZ27081234"));
}

int carriedRowOfFirstGroup(const TPenDenReport &report)
{
    const qint64 id = integer(report.Skupiny(), 0, "IDPrevedeno");
    for (int row = 0; row < report.Denik().recordCount(); ++row) {
        if (integer(report.Denik(), row, "ID") == id)
            return row;
    }
    return -1;
}

Columns columnsOf(const TMemTable &table, int row)
{
    Columns c{};
    for (int column = 5; column <= 35; ++column)
        c[column] = cell(table, row, column);
    return c;
}

TEST_F(DemoAgendaTest, FiguresMatchAnIndependentReckoning)
{
    const TDateTime from = encodeDate(2024, 3, 1);
    const TDateTime to = encodeDate(2024, 6, 30);
    const ReferenceFilter filters[] = {
        {false, 0, 0, false, true},
        {true, from, to, true, false},
        {true, from, to, false, false},
    };
    for (const ReferenceFilter &rf : filters) {
        SCOPED_TRACE(rf.period * 2 + rf.earlier);
        const ReferenceReport expected = computeReference(s_demo->yearFolder, rf);
        auto report = generate([&rf](TReportFilter &f) {
            f.ZaObdobi = rf.period;
            f.ObdobiOD = rf.from;
            f.ObdobiDO = rf.to;
            f.ZapocitavatPredchObdobi = rf.earlier;
            f.ZaverkoveUpravy = rf.adjustments;
        });
        EXPECT_EQ(columnsOf(report->Skupiny(), 0), expected.group);
        const int carried = carriedRowOfFirstGroup(*report);
        EXPECT_EQ(columnsOf(report->Denik(), carried), expected.carried);
        EXPECT_EQ(report->PocatecniStav().recordCount(), expected.hasOpening ? 1 : 0);
        if (expected.hasOpening) {
            EXPECT_EQ(columnsOf(report->PocatecniStav(), 0), expected.opening);
        }
    }
}

TEST_F(DemoAgendaTest, GroupSumsMatchAnIndependentReckoningPerKey)
{
    const ReferenceFilter rf{true, encodeDate(2024, 2, 1), encodeDate(2024, 11, 30), true, false};
    const struct {
        quint8 kind;
        const char *field;
    } kinds[] = {{sgkCentre, "Stred"}, {sgkContract, "Zakazka"}, {sgkUser, "Vyst"},
                 {sgkFirmByIco, "ICO"}};
    for (const auto &k : kinds) {
        SCOPED_TRACE(k.field);
        const QHash<QString, Columns> expected =
            computeGroupSums(s_demo->yearFolder, rf, QString::fromLatin1(k.field));
        auto report = generate([&](TReportFilter &f) {
            f.VertikalniDeleni = k.kind;
            f.ZaObdobi = true;
            f.ObdobiOD = rf.from;
            f.ObdobiDO = rf.to;
            f.ZapocitavatPredchObdobi = true;
        });
        QHash<QString, Columns> actual;
        for (int g = 0; g < report->Skupiny().recordCount(); ++g)
            actual.insert(text(report->Skupiny(), g, "Zkratka").toCaseFolded(),
                          columnsOf(report->Skupiny(), g));
        QStringList actualKeys = actual.keys(), expectedKeys = expected.keys();
        actualKeys.sort();
        expectedKeys.sort();
        ASSERT_EQ(actualKeys, expectedKeys);
        for (const QString &key : expectedKeys)
            EXPECT_EQ(actual.value(key), expected.value(key)) << key.toStdString();
    }
}

} // namespace
} // namespace kasovka::test
