// Page plans of printed reports, checked without painting: every group
// starts a page, every row is printed once on every slice, pages are filled
// and never overfilled, and the columns are split into page widths that
// hold them, alike whatever the rows hold.

#include "core/DisplayFormat.h"
#include "print/PrintTable.h"
#include "print/ReportPrint.h"
#include "print/SyntheticReport.h"
#include "print/TablePages.h"

#include <gtest/gtest.h>

namespace kasovka::test {
namespace {

using namespace kasovka::print;

constexpr int JournalKeys = 4;

double tableRoom(const PrintJob &job, const TableLayout &table)
{
    const PrintFonts fonts;
    const PageFrame frame(job.heading(), fonts);
    return frame.body(PageSpace::of(job.pageLayout())).height() - table.titleHeight();
}

void expectColumnsSplitOnce(const TableLayout &table, double pageWidth)
{
    QList<int> seen;
    for (const ColumnSlice &slice : table.slices()) {
        EXPECT_LE(slice.width(), pageWidth + 0.5);
        EXPECT_EQ(slice.columns.mid(0, JournalKeys), (QList<int>{0, 1, 2, 3})) << "key columns lead every slice";
        seen += slice.columns.mid(JournalKeys);
    }
    QList<int> amounts;
    for (int c = JournalKeys; c < JournalKeys + 31; ++c)
        amounts.append(c);
    EXPECT_EQ(seen, amounts) << "each amount column once, in order";
}

// One section's pages from `at`: rows covered once per slice, pages full but
// never overfull (room kept for the carried rows), the sums row never alone, one overview.
size_t expectSoundSection(const ReportPrintJob &job, int section, size_t at, bool overview)
{
    const std::vector<PlannedPage> &plan = job.plan();
    const TableLayout &table = job.table();
    const TableSource &rows = job.groupRows(section);
    const int rowCount = rows.rowCount();
    const double room = tableRoom(job, table);
    const double carry = PrintFonts().body.lineSpacing() + 2 * TableLayout::RowPadding; // one line
    EXPECT_TRUE(at < plan.size() && plan[at].slice == 0 && plan[at].firstRow == 0) << "a group starts a new page";
    QList<int> next(table.slices().size(), 0);
    int overviews = 0;
    for (; at < plan.size() && plan[at].section == section; ++at) {
        const PlannedPage &page = plan[at];
        overviews += page.overview ? 1 : 0;
        if (page.slice < 0)
            continue;
        EXPECT_EQ(page.firstRow, next[page.slice]);
        next[page.slice] = page.firstRow + page.rowCount;
        const int end = page.firstRow + page.rowCount;
        // Room for the rows carried in from the previous page and out to the next.
        const double pageRoom = room - (page.firstRow > 0 ? carry : 0) - (end < rowCount ? carry : 0);
        EXPECT_LE(rowsHeight(table, rows, {page.firstRow, page.rowCount}), pageRoom);
        const bool keptWithSums = end == rowCount - 2;
        if (end < rowCount && !keptWithSums) {
            const double roomForOneMore = end + 1 < rowCount ? pageRoom : pageRoom + carry;
            EXPECT_GT(rowsHeight(table, rows, {page.firstRow, page.rowCount + 1}), roomForOneMore) << "page not full";
        }
        EXPECT_FALSE(page.firstRow == rowCount - 1) << "the sums row never stands alone";
    }
    for (qsizetype slice = 0; slice < next.size(); ++slice)
        EXPECT_EQ(next[slice], rowCount) << "section " << section << " slice " << slice;
    EXPECT_EQ(overviews, overview ? 1 : 0);
    return at;
}

struct PlanCase {
    const char *name;
    QList<int> rows; // journal rows per group
    QPageLayout::Orientation orientation;
    bool overview;
};

class PrintPlanTest : public testing::TestWithParam<PlanCase> {};

TEST_P(PrintPlanTest, GroupsStartPagesAndEveryRowIsPrintedOncePerSlice)
{
    const PlanCase &c = GetParam();
    SyntheticReport synthetic;
    for (int i = 0; i < c.rows.size(); ++i)
        synthetic.addGroup(QStringLiteral("S%1").arg(i), QStringLiteral("Středisko %1").arg(i), c.rows[i]);
    ReportPrintOptions options;
    options.finalOverview = c.overview;
    ReportPrintJob job(synthetic.report(), options);
    QPageLayout layout = PrintJob::defaultPageLayout();
    layout.setOrientation(c.orientation);
    const int pages = job.layout(layout);
    EXPECT_EQ(pages, int(job.plan().size()));
    expectColumnsSplitOnce(job.table(), PageSpace::of(layout).width);
    size_t at = 0;
    for (int section = 0; section < c.rows.size(); ++section) {
        EXPECT_EQ(job.groupRows(section).rowCount(), c.rows[section] + 2) << "carried row, rows, sums";
        at = expectSoundSection(job, section, at, c.overview);
    }
    EXPECT_EQ(at, job.plan().size());
}

INSTANTIATE_TEST_SUITE_P(
    Plans, PrintPlanTest,
    testing::Values(PlanCase{"OneGroup", {12}, QPageLayout::Landscape, true},
                    PlanCase{"ManyGroups", {3, 40, 1, 120, 7, 2, 90}, QPageLayout::Landscape, true},
                    PlanCase{"EmptyGroup", {0}, QPageLayout::Landscape, true},
                    PlanCase{"EmptyBetweenFullPortrait", {60, 0, 61}, QPageLayout::Portrait, true},
                    PlanCase{"WithoutOverview", {30, 5}, QPageLayout::Landscape, false},
                    PlanCase{"MaximumRows", {65534}, QPageLayout::Landscape, true}),
    [](const testing::TestParamInfo<PlanCase> &info) { return std::string(info.param.name); });

TEST(PrintPlan, NarrowerPaperTakesMoreSlicesAndOneGroupPrintsAlone)
{
    SyntheticReport synthetic;
    synthetic.addGroup(QStringLiteral("S1"), QStringLiteral("Výroba"), 10);
    const int second = synthetic.addGroup(QStringLiteral("S2"), QStringLiteral("Obchod"), 20);
    TMemTable &skupiny = synthetic.report().Skupiny();
    ASSERT_TRUE(skupiny.locate(QStringLiteral("ID"), Variant(qint64(second))));

    ReportPrintOptions options;
    options.onlyGroup = synthetic.report().Result().currentGroup();
    ReportPrintJob job(synthetic.report(), options);
    QPageLayout layout = PrintJob::defaultPageLayout();
    job.layout(layout);
    const qsizetype landscape = job.table().slices().size();
    EXPECT_EQ(job.groupRows(0).rowCount(), 22) << "the current group only";
    EXPECT_EQ(job.plan().back().section, 0);
    layout.setOrientation(QPageLayout::Portrait);
    job.layout(layout);
    EXPECT_GT(job.table().slices().size(), landscape);
    EXPECT_EQ(skupiny.recNo(), 1) << "printing leaves the cursor where it was";
}

TEST(PrintPlan, AWideAmountWidensItsColumnOnly)
{
    SyntheticReport synthetic;
    synthetic.addGroup(QStringLiteral("S1"), QStringLiteral("Výroba"), 3);
    ReportPrintJob plain(synthetic.report(), {});
    plain.layout(PrintJob::defaultPageLayout());
    TMemTable &denik = synthetic.report().Denik();
    denik.last();
    denik.edit();
    denik.setCurrency(denik.fieldIndex(QStringLiteral("Col30")), *Currency::parse(u"-912345678901234.56"));
    denik.post();
    ReportPrintJob wide(synthetic.report(), {});
    wide.layout(PrintJob::defaultPageLayout());

    const auto widthOf = [](const TableLayout &table, int column) {
        for (const ColumnSlice &slice : table.slices()) {
            const qsizetype i = slice.columns.indexOf(column);
            if (i >= 0)
                return slice.widths[i] / slice.widths[0]; // relative to the row number, which never stretches
        }
        return 0.0;
    };
    const int col30 = JournalKeys + 30 - 5;
    EXPECT_GT(widthOf(wide.table(), col30), 1.3 * widthOf(plain.table(), col30));
    EXPECT_EQ(wide.table().slices()[0].widths.mid(0, JournalKeys), plain.table().slices()[0].widths.mid(0, JournalKeys));
}

// A journal whose every row has one description and one amount in every
// amount column.
class UniformRows : public TableSource {
public:
    UniformRows(const char *amount, QString description)
        : m_amount(*Currency::parse(QString::fromLatin1(amount))), m_description(std::move(description))
    {
    }
    int rowCount() const override { return 50; }
    QString text(int row, int column) const override
    {
        switch (column) {
        case 0: return QString::number(row + 1);
        case 1: return QStringLiteral("12.3.2024");
        case 2: return QStringLiteral("PK%1").arg(row);
        case 3: return m_description;
        default: return formatAmount(m_amount, DisplayFormatForDecimals(2), QLocale(QLocale::Czech));
        }
    }
    std::optional<Currency> amount(int, int column) const override
    {
        return column < JournalKeys ? std::nullopt : std::optional(m_amount);
    }
    bool bold(int row) const override { return row == 0; }

private:
    Currency m_amount;
    QString m_description;
};

TEST(PrintSplit, PageWidthsDoNotFollowTheData)
{
    ensureGuiApplication();
    const PrintFonts fonts;
    const auto slicesOf = [&fonts](const UniformRows &rows, double pageWidth) {
        TableLayout table(journalColumns(), fonts);
        table.measure(rows);
        table.arrange(pageWidth);
        return table.slices();
    };
    const UniformRows small("1.5", QStringLiteral("Drobné")),
        large("-987654321.99", QStringLiteral("Nákup materiálu na stavbu hotelu v Přerově, dodávka druhá, "
                                              "včetně dopravy a montáže"));
    for (const QPageLayout::Orientation orientation : {QPageLayout::Landscape, QPageLayout::Portrait}) {
        QPageLayout layout = PrintJob::defaultPageLayout();
        layout.setOrientation(orientation);
        const double width = PageSpace::of(layout).width;
        const QList<ColumnSlice> a = slicesOf(small, width), b = slicesOf(large, width);
        ASSERT_EQ(a.size(), b.size());
        qsizetype fewest = 31, most = 0;
        for (qsizetype i = 0; i < a.size(); ++i) {
            EXPECT_EQ(a[i].columns, b[i].columns) << "slice " << i;
            EXPECT_EQ(a[i].widths, b[i].widths) << "slice " << i;
            fewest = std::min(fewest, a[i].columns.size() - JournalKeys);
            most = std::max(most, a[i].columns.size() - JournalKeys);
        }
        EXPECT_LE(most - fewest, 2) << "page widths about even";
    }
}

} // namespace
} // namespace kasovka::test
