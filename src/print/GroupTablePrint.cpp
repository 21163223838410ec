// The printed group table: every group on one row with its column sums and
// totals, in the table order of Skupiny.

#include "core/DateConvention.h"
#include "core/MemTable.h"
#include "filter/TReportFilter.h"
#include "print/PrintFont.h"
#include "print/ReportPrint.h"
#include "print/TablePages.h"
#include "print/WarningPages.h"
#include "report/GroupTotals.h"
#include "report/TPenDenReport.h"

#include <QLocale>

namespace kasovka::print {

namespace {

constexpr double KeyTextLimit = 50 * UnitsPerMm;

// The groups, then their "Celkem" line.
class GroupTableRows : public TableSource {
public:
    GroupTableRows(const TMemTable &skupiny, QList<int> fields)
        : m_skupiny(skupiny), m_fields(std::move(fields)), m_totals(groupTableTotals(m_skupiny, m_fields, m_locale))
    {
    }
    int rowCount() const override { return m_skupiny.totalRecordCount() + 1; }
    QString text(int row, int column) const override
    {
        if (isTotal(row))
            return m_totals[column].text;
        return m_skupiny.recordDisplayText(row, m_fields[column], m_locale);
    }
    std::optional<Currency> amount(int row, int column) const override
    {
        if (isTotal(row))
            return m_totals[column].amount;
        if (m_skupiny.fieldType(m_fields[column]) != FieldType::Currency || m_skupiny.recordIsNull(row, m_fields[column]))
            return std::nullopt;
        return m_skupiny.recordValue(row, m_fields[column]).toCurrency();
    }
    bool bold(int row) const override { return isTotal(row); }

private:
    bool isTotal(int row) const { return row == m_skupiny.totalRecordCount(); }

    const TMemTable &m_skupiny;
    QList<int> m_fields;
    QLocale m_locale = programLocale();
    QList<GroupTotalCell> m_totals; // after the locale: made with it
};

class GroupTableSection : public PrintSection {
public:
    GroupTableSection(const TableLayout &table, std::unique_ptr<GroupTableRows> rows, QString groupLine)
        : m_table(table), m_rows(std::move(rows)), m_groupLine(std::move(groupLine))
    {
    }
    const TableSource &rows() const { return *m_rows; }
    QString groupLine() const override { return m_groupLine; }
    void plan(const QRectF &body, int index, std::vector<PlannedPage> &pages) const override
    {
        const QList<RowRange> rowPages = splitRows(m_table, *m_rows, body.height() - m_table.titleHeight(), true);
        for (const RowRange &range : rowPages) {
            for (int slice = 0; slice < int(m_table.slices().size()); ++slice)
                pages.push_back(PlannedPage{index, slice, range.first, range.count, false});
        }
    }
    void paint(QPainter &painter, TextBatch &text, const QRectF &body, const PlannedPage &page) const override
    {
        paintTable(painter, text, m_table, page.slice, *m_rows, RowRange{page.firstRow, page.rowCount},
                   body.topLeft(), true);
    }

private:
    const TableLayout &m_table;
    std::unique_ptr<GroupTableRows> m_rows;
    QString m_groupLine;
};

// Amount columns right-aligned and sized for any amount; the others are
// the key columns, as wide as their text, long names wrapped.
QList<PrintColumn> typedColumns(QList<PrintColumn> columns, const TMemTable &skupiny, const QList<int> &fields)
{
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const bool amount = skupiny.fieldType(fields[i]) == FieldType::Currency;
        columns[i].amount = amount;
        columns[i].key = !amount;
        columns[i].alignment = amount ? Qt::AlignRight : Qt::AlignLeft;
        columns[i].maxWidth = amount ? 0 : KeyTextLimit;
        columns[i].fitText = !amount;
    }
    return columns;
}

QList<int> fieldPositions(const TMemTable &table, const QStringList &names)
{
    QList<int> positions;
    for (const QString &name : names)
        positions.append(table.fieldIndex(name));
    return positions;
}

} // namespace

GroupTablePrintJob::GroupTablePrintJob(const TPenDenReport &report, const QList<PrintColumn> &columns,
                                       const QStringList &fields, const QDateTime &printed)
    : PrintJob(reportHeading(report, QStringLiteral("Seznam sumačních skupin"), printed)),
      m_table(typedColumns(columns, report.Skupiny(), fieldPositions(report.Skupiny(), fields)), m_fonts)
{
    const TMemTable &skupiny = report.Skupiny();
    auto rows = std::make_unique<GroupTableRows>(skupiny, fieldPositions(skupiny, fields));
    m_table.measure(*rows);
    const QString kind =
        TReportFilter::SummationGroupKindName(report.Filter().VertikalniDeleni, GroupKindCaptionForm);
    const QString groupLine = kind.isEmpty() ? QString() : QStringLiteral("Sumační skupiny (%1)").arg(kind);
    addSection(std::make_unique<GroupTableSection>(m_table, std::move(rows), groupLine));
    if (const QStringList warnings = warningLines(report); !warnings.isEmpty())
        addSection(warningSection(warnings, m_fonts, groupLine));
}

GroupTablePrintJob::~GroupTablePrintJob() = default;

void GroupTablePrintJob::arrange(const QRectF &body)
{
    m_table.arrange(body.width());
}

} // namespace kasovka::print
