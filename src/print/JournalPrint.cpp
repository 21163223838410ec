// The printed cash journal: one section per summation group.

#include "core/MemTable.h"
#include "filter/TReportFilter.h"
#include "print/JournalRows.h"
#include "print/MonthlyPages.h"
#include "print/PrintFont.h"
#include "print/ReportPrint.h"
#include "print/TablePages.h"
#include "print/WarningPages.h"
#include "report/ReportColumns.h"
#include "report/TMonthlyOverview.h"
#include "report/TPenDenReport.h"

#include <QHash>

namespace kasovka::print {

namespace {

constexpr double OverviewGap = 60; // units between the table and the overview below it

const QString CarriedInCaption = QStringLiteral("Převod z předchozí strany");
const QString CarriedOutCaption = QStringLiteral("Převod na další stranu");

class JournalSection : public PrintSection {
public:
    JournalSection(const TableLayout &table, const OverviewBlock *overview, const TMemTable &skupiny, int group,
                   std::unique_ptr<GroupRows> rows, QString groupLine, QString overviewCaption)
        : m_table(table), m_overview(overview), m_skupiny(skupiny), m_group(group), m_rows(std::move(rows)),
          m_groupLine(std::move(groupLine)), m_overviewCaption(std::move(overviewCaption))
    {
    }
    const GroupRows &rows() const { return *m_rows; }
    QString groupLine() const override { return m_groupLine; }

    void plan(const QRectF &body, int index, std::vector<PlannedPage> &pages) const override
    {
        const double available = body.height() - m_table.titleHeight();
        const double carryHeight = std::max(m_table.rowHeight(carried(CarriedInCaption, {}), 0),
                                            m_table.rowHeight(carried(CarriedOutCaption, {}), 0));
        const QList<RowRange> rowPages = splitRows(m_table, *m_rows, available, true, carryHeight);
        const int slices = int(m_table.slices().size());
        m_sumsBefore.clear();
        RunningSums sums;
        for (const RowRange &range : rowPages) {
            if (range.first > 0)
                m_sumsBefore.insert(range.first, sums);
            m_rows->addRows(range.first, std::min(range.first + range.count, m_rows->rowCount() - 1), sums);
            for (int slice = 0; slice < slices; ++slice)
                pages.push_back(PlannedPage{index, slice, range.first, range.count, false});
        }
        if (!m_overview)
            return;
        const double carriedIn = rowPages.size() > 1 ? carryHeight : 0;
        const double spare = available - carriedIn - rowsHeight(m_table, *m_rows, rowPages.last());
        if (spare >= m_overview->height() + OverviewGap)
            pages.back().overview = true;
        else
            pages.push_back(PlannedPage{index, -1, 0, 0, true});
    }

    void paint(QPainter &painter, TextBatch &text, const QRectF &body, const PlannedPage &page) const override
    {
        double bottom = body.top();
        if (page.slice >= 0) {
            const int end = page.firstRow + page.rowCount;
            const std::optional<CarriedRows> in = carriedAt(CarriedInCaption, page.firstRow);
            const std::optional<CarriedRows> out =
                end < m_rows->rowCount() ? carriedAt(CarriedOutCaption, end) : std::nullopt;
            bottom = paintTable(painter, text, m_table, page.slice, *m_rows, RowRange{page.firstRow, page.rowCount},
                                body.topLeft(), true, in ? &*in : nullptr, out ? &*out : nullptr)
                + OverviewGap;
        }
        if (page.overview && m_overview)
            m_overview->paint(painter, text, QRectF(body.left(), bottom, body.width(), body.bottom() - bottom),
                              m_skupiny, m_group, m_overviewCaption);
    }

private:
    CarriedRows carried(const QString &caption, const RunningSums &sums) const
    {
        return CarriedRows(*m_rows, caption, {sums});
    }
    // The row carried over the page break before `row`; none before the first.
    std::optional<CarriedRows> carriedAt(const QString &caption, int row) const
    {
        const auto found = m_sumsBefore.constFind(row);
        if (found == m_sumsBefore.cend())
            return std::nullopt;
        return carried(caption, *found);
    }

    const TableLayout &m_table;
    const OverviewBlock *m_overview;
    const TMemTable &m_skupiny;
    int m_group;
    std::unique_ptr<GroupRows> m_rows;
    QString m_groupLine;
    QString m_overviewCaption;
    // The running sums at each page break, worked out as the pages are planned.
    mutable QHash<int, RunningSums> m_sumsBefore;
};

Shade amountShade(int column, bool &light)
{
    if (column == IncomeTotalColumn || column == ExpenseTotalColumn)
        return Shade::Dark;
    // Neighbouring column groups alternate, so a row can be followed across.
    if (column == FirstAmountColumn
        || qstrcmp(amountColumnInfo(column).title1, amountColumnInfo(column - 1).title1) != 0)
        light = !light;
    return light ? Shade::Light : Shade::None;
}

} // namespace

QList<PrintColumn> journalColumns()
{
    QList<PrintColumn> columns{
        {QStringLiteral("Číslo řádku"), QStringLiteral("[1]"), {}, Shade::None, true, false, 0, Qt::AlignRight,
         QStringLiteral("99999")},
        {QStringLiteral("Datum"), QStringLiteral("[2]"), {}, Shade::None, true, false, 0, Qt::AlignHCenter,
         QStringLiteral("00.00.0000")},
        {QStringLiteral("Číslo dokladu/\nvar. symb."), QStringLiteral("[3]"), {}, Shade::None, true, false,
         30 * UnitsPerMm, Qt::AlignLeft},
        {QStringLiteral("Popis"), QStringLiteral("[4]"), {}, Shade::None, true, false, 45 * UnitsPerMm, Qt::AlignLeft},
    };
    bool light = false;
    for (int column = FirstAmountColumn; column <= LastAmountColumn; ++column) {
        const AmountColumnInfo &info = amountColumnInfo(column);
        columns.append(PrintColumn{QString::fromUtf8(info.title2), QStringLiteral("[%1]").arg(column),
                                   QString::fromUtf8(info.title1), amountShade(column, light), false, true, 0,
                                   Qt::AlignRight});
    }
    return columns;
}

ReportPrintJob::ReportPrintJob(const TPenDenReport &report, const ReportPrintOptions &options)
    : PrintJob(reportHeading(report, QStringLiteral("Peněžní deník"), options.printed)),
      m_table(journalColumns(), m_fonts), m_overview(m_fonts)
{
    const ReportResult &result = report.Result();
    const TMemTable &skupiny = result.skupiny();
    const JournalFields fields(result.denik(), skupiny);
    const int codeField = skupiny.fieldIndex(QStringLiteral("Zkratka"));
    const int nameField = skupiny.fieldIndex(QStringLiteral("Nazev"));
    const TMonthlyOverview *months = report.MonthlyOverview();
    if (options.monthlyOverview && months && months->hasMonths())
        m_monthly = std::make_unique<MonthlyPages>(*months, m_fonts);
    const quint8 kind = report.Filter().VertikalniDeleni;
    const QString kindCaption = TReportFilter::SummationGroupKindName(kind, GroupKindCaptionForm);
    QString printedGroupLine;
    for (int group = 0; group < result.groupCount(); ++group) {
        if (options.onlyGroup >= 0 && group != options.onlyGroup)
            continue;
        const QString code = skupiny.recordValue(group, codeField).toText();
        const QString name = skupiny.recordValue(group, nameField).toText();
        QString groupLine, overviewCaption = QStringLiteral("Závěrečný přehled peněžního deníku");
        QString monthlyCaption = QStringLiteral("Měsíční přehled");
        if (kind != sgkNone) {
            QStringList parts{code, name};
            parts.removeAll(QString());
            parts.removeDuplicates();
            groupLine = QStringLiteral("Sumační skupina (%1): %2").arg(kindCaption, parts.join(QStringLiteral(" – ")));
            overviewCaption += QStringLiteral(" – sumační skupina ") + name;
            monthlyCaption += QStringLiteral(" – sumační skupina ") + name;
        }
        printedGroupLine = groupLine;
        auto rows = std::make_unique<GroupRows>(result, fields, group);
        m_table.measure(*rows);
        const auto [lowest, highest] = rows->runningExtremes();
        m_table.measure(CarriedRows(*rows, CarriedInCaption, {lowest, highest}));
        m_table.measure(CarriedRows(*rows, CarriedOutCaption, {RunningSums()}));
        m_groupRows.push_back(rows.get());
        addSection(std::make_unique<JournalSection>(m_table, options.finalOverview ? &m_overview : nullptr, skupiny,
                                                    group, std::move(rows), groupLine, overviewCaption));
        if (m_monthly)
            addSection(m_monthly->section(result.group(group).id, groupLine, monthlyCaption));
    }
    // One group printed alone lists its own warnings and those of no group.
    const bool one = options.onlyGroup >= 0;
    const QStringList warnings = warningLines(
        report, one ? std::optional(skupiny.recordValue(options.onlyGroup, codeField).toText()) : std::nullopt);
    if (!warnings.isEmpty())
        addSection(warningSection(warnings, m_fonts, one ? printedGroupLine : QString()));
}

ReportPrintJob::~ReportPrintJob() = default;

void ReportPrintJob::arrange(const QRectF &body)
{
    m_table.arrange(body.width());
    if (m_monthly)
        m_monthly->arrange(body.width());
}

} // namespace kasovka::print
