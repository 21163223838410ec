// The printed cash journal: one section per summation group.

#include "core/MemTable.h"
#include "filter/TReportFilter.h"
#include "print/MonthlyPages.h"
#include "print/PrintFont.h"
#include "print/ReportPrint.h"
#include "print/TablePages.h"
#include "report/ReportColumns.h"
#include "report/TMonthlyOverview.h"
#include "report/TPenDenReport.h"

#include <QLocale>

namespace kasovka::print {

namespace {

constexpr int KeyColumns = 4; // Poradi, Datum, Doklad_VS, Popis
constexpr int PopisColumn = 3;
constexpr double OverviewGap = 60; // units between the table and the overview below it

// Field positions of the journal's columns in Denik and of the amounts in Skupiny.
struct JournalFields {
    explicit JournalFields(const TPenDenReport &report)
    {
        const TMemTable &denik = report.Denik();
        const TMemTable &skupiny = report.Skupiny();
        for (const char *name : {"Poradi", "Datum", "Doklad_VS", "Popis"})
            denikColumns.append(denik.fieldIndex(QString::fromLatin1(name)));
        for (int column = FirstAmountColumn; column <= LastAmountColumn; ++column) {
            denikColumns.append(denik.fieldIndex(amountFieldName(column)));
            skupinyAmounts.append(skupiny.fieldIndex(amountFieldName(column)));
        }
        poradi = denikColumns[0];
    }
    QList<int> denikColumns;   // per printed column
    QList<int> skupinyAmounts; // per amount column
    int poradi;
};

// A group's journal rows in table order, then its sums row.
class GroupRows : public TableSource {
public:
    GroupRows(const ReportResult &result, const JournalFields &fields, int group)
        : m_denik(result.denik()), m_skupiny(result.skupiny()), m_fields(fields), m_group(group),
          m_records(result.group(group).rows)
    {
    }
    int rowCount() const override { return int(m_records.size()) + 1; }
    QString text(int row, int column) const override
    {
        if (row < int(m_records.size()))
            return m_denik.recordDisplayText(m_records[size_t(row)], m_fields.denikColumns[column], m_locale);
        if (column < KeyColumns)
            return column == PopisColumn ? QStringLiteral("Celkem:") : QString();
        return m_skupiny.recordDisplayText(m_group, m_fields.skupinyAmounts[column - KeyColumns], m_locale);
    }
    std::optional<Currency> amount(int row, int column) const override
    {
        if (column < KeyColumns)
            return std::nullopt;
        const bool sums = row >= int(m_records.size());
        const TMemTable &table = sums ? m_skupiny : m_denik;
        const int record = sums ? m_group : m_records[size_t(row)];
        const int field = sums ? m_fields.skupinyAmounts[column - KeyColumns] : m_fields.denikColumns[column];
        if (table.recordIsNull(record, field))
            return std::nullopt;
        return table.recordValue(record, field).toCurrency();
    }
    // The carried row and the sums.
    bool bold(int row) const override
    {
        if (row >= int(m_records.size()))
            return true;
        const int record = m_records[size_t(row)];
        return !m_denik.recordIsNull(record, m_fields.poradi) && m_denik.recordValue(record, m_fields.poradi).toInt() == 0;
    }

private:
    const TMemTable &m_denik;
    const TMemTable &m_skupiny;
    const JournalFields m_fields; // shared lists, cheap to copy
    int m_group;
    const std::vector<int> &m_records;
    QLocale m_locale = QLocale::system();
};

class JournalSection : public PrintSection {
public:
    JournalSection(const TableLayout &table, const OverviewBlock *overview, const TMemTable &skupiny, int group,
                   std::unique_ptr<GroupRows> rows, QString groupLine, QString overviewCaption)
        : m_table(table), m_overview(overview), m_skupiny(skupiny), m_group(group), m_rows(std::move(rows)),
          m_groupLine(std::move(groupLine)), m_overviewCaption(std::move(overviewCaption))
    {
    }
    const TableSource &rows() const { return *m_rows; }
    QString groupLine() const override { return m_groupLine; }

    void plan(const QRectF &body, int index, std::vector<PlannedPage> &pages) const override
    {
        const double available = body.height() - m_table.titleHeight();
        const QList<RowRange> rowPages = splitRows(m_table, *m_rows, available, true);
        const int slices = int(m_table.slices().size());
        for (const RowRange &range : rowPages) {
            for (int slice = 0; slice < slices; ++slice)
                pages.push_back(PlannedPage{index, slice, range.first, range.count, false});
        }
        if (!m_overview)
            return;
        const double spare = available - rowsHeight(m_table, *m_rows, rowPages.last());
        if (spare >= m_overview->height() + OverviewGap)
            pages.back().overview = true;
        else
            pages.push_back(PlannedPage{index, -1, 0, 0, true});
    }

    void paint(QPainter &painter, TextBatch &text, const QRectF &body, const PlannedPage &page) const override
    {
        double bottom = body.top();
        if (page.slice >= 0)
            bottom = paintTable(painter, text, m_table, page.slice, *m_rows, RowRange{page.firstRow, page.rowCount},
                                body.topLeft(), true) + OverviewGap;
        if (page.overview && m_overview)
            m_overview->paint(painter, text, QRectF(body.left(), bottom, body.width(), body.bottom() - bottom),
                              m_skupiny, m_group, m_overviewCaption);
    }

private:
    const TableLayout &m_table;
    const OverviewBlock *m_overview;
    const TMemTable &m_skupiny;
    int m_group;
    std::unique_ptr<GroupRows> m_rows;
    QString m_groupLine;
    QString m_overviewCaption;
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
        {QStringLiteral("Číslo řádku"), QStringLiteral("[1]"), {}, Shade::None, true, false, 0, Qt::AlignRight},
        {QStringLiteral("Datum"), QStringLiteral("[2]"), {}, Shade::None, true, false, 0, Qt::AlignHCenter},
        {QStringLiteral("Číslo dokladu/\nvar. symb."), QStringLiteral("[3]"), {}, Shade::None, true, false,
         27 * UnitsPerMm, Qt::AlignLeft},
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
    const JournalFields fields(report);
    const int codeField = skupiny.fieldIndex(QStringLiteral("Zkratka"));
    const int nameField = skupiny.fieldIndex(QStringLiteral("Nazev"));
    const TMonthlyOverview *months = report.MonthlyOverview();
    if (options.monthlyOverview && months && months->hasMonths())
        m_monthly = std::make_unique<MonthlyPages>(*months, m_fonts);
    const quint8 kind = report.Filter().VertikalniDeleni;
    const QString kindCaption = TReportFilter::SummationGroupKindName(kind, GroupKindCaptionForm);
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
        auto rows = std::make_unique<GroupRows>(result, fields, group);
        m_table.measure(*rows);
        m_groupRows.push_back(rows.get());
        addSection(std::make_unique<JournalSection>(m_table, options.finalOverview ? &m_overview : nullptr, skupiny,
                                                    group, std::move(rows), groupLine, overviewCaption));
        if (m_monthly)
            addSection(m_monthly->section(result.group(group).id, groupLine, monthlyCaption));
    }
}

ReportPrintJob::~ReportPrintJob() = default;

void ReportPrintJob::arrange(const QRectF &body)
{
    m_table.arrange(body.width());
    if (m_monthly)
        m_monthly->arrange(body.width());
}

} // namespace kasovka::print
