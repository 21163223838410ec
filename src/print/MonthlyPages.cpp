#include "print/MonthlyPages.h"

#include "core/DateConvention.h"
#include "print/PrintFont.h"
#include "print/PrintJob.h"
#include "print/TablePages.h"
#include "print/TextBatch.h"
#include "report/MonthlyColumns.h"

namespace kasovka::print {

namespace {

constexpr double CaptionGap = 40; // units between the caption and the table

QList<PrintColumn> printColumns()
{
    QList<PrintColumn> columns;
    for (const MonthlyColumn &column : monthlyColumns()) {
        // The month's name leads; income and expense, the journal's [11] and
        // [12], are shaded as the eye looks for them first.
        const bool key = columns.isEmpty();
        const QString number = QString::fromLatin1(column.number);
        columns.append(PrintColumn{QString::fromUtf8(column.caption), number, {},
                                   number.isEmpty() ? Shade::None : Shade::Light, key, !key, 0,
                                   key ? Qt::AlignLeft : Qt::AlignRight});
    }
    return columns;
}

} // namespace

class MonthlyRows : public TableSource {
public:
    MonthlyRows(MonthlyPages &pages, qint64 groupId) : m_pages(pages), m_groupId(groupId) {}

    int rowCount() const override { return int(lines().size()); }
    QString text(int row, int column) const override { return monthlyCellText(line(row), column, m_locale); }
    std::optional<Currency> amount(int row, int column) const override
    {
        if (Currency MonthlyLine::*amount = monthlyColumns()[size_t(column)].amount)
            return line(row).*amount;
        if (column > 0)
            return Currency::fromInt(line(row).rowCount);
        return std::nullopt;
    }
    bool bold(int row) const override { return line(row).kind == MonthlyLine::Kind::Total; }

private:
    const MonthlyLine &line(int row) const { return lines()[size_t(row)]; }
    // Fills this group's lines, dropping those of the group asked before.
    const std::vector<MonthlyLine> &lines() const
    {
        if (m_pages.m_filled != this) {
            if (m_pages.m_filled)
                m_pages.m_filled->m_lines = {};
            m_lines = m_pages.m_overview.lines(m_groupId);
            m_pages.m_filled = this;
        }
        return m_lines;
    }

    MonthlyPages &m_pages;
    qint64 m_groupId;
    mutable std::vector<MonthlyLine> m_lines;
    QLocale m_locale = programLocale();
};

namespace {

class MonthlySection : public PrintSection {
public:
    MonthlySection(const TableLayout &table, std::unique_ptr<MonthlyRows> rows, QString groupLine, QString caption)
        : m_table(table), m_rows(std::move(rows)), m_groupLine(std::move(groupLine)), m_caption(std::move(caption))
    {
    }
    QString groupLine() const override { return m_groupLine; }

    void plan(const QRectF &body, int index, std::vector<PlannedPage> &pages) const override
    {
        const double available = body.height() - captionHeight() - m_table.titleHeight();
        for (const RowRange &range : splitRows(m_table, *m_rows, available, true)) {
            for (int slice = 0; slice < int(m_table.slices().size()); ++slice)
                pages.push_back(PlannedPage{index, slice, range.first, range.count, false});
        }
    }

    void paint(QPainter &painter, TextBatch &text, const QRectF &body, const PlannedPage &page) const override
    {
        const PrintFont &font = m_table.fonts().caption;
        const QRectF line(body.left(), body.top(), body.width(), font.lineSpacing());
        text.addLine(font, m_caption, line, line.top(), Qt::AlignLeft);
        paintTable(painter, text, m_table, page.slice, *m_rows, RowRange{page.firstRow, page.rowCount},
                   QPointF(body.left(), body.top() + captionHeight()), true);
    }

private:
    double captionHeight() const { return m_table.fonts().caption.lineSpacing() + CaptionGap; }

    const TableLayout &m_table;
    std::unique_ptr<MonthlyRows> m_rows;
    QString m_groupLine;
    QString m_caption;
};

} // namespace

MonthlyPages::MonthlyPages(const TMonthlyOverview &overview, const PrintFonts &fonts)
    : m_overview(overview), m_table(printColumns(), fonts)
{
}

MonthlyPages::~MonthlyPages() = default;

std::unique_ptr<PrintSection> MonthlyPages::section(qint64 groupId, QString groupLine, QString caption)
{
    auto rows = std::make_unique<MonthlyRows>(*this, groupId);
    m_table.measure(*rows);
    return std::make_unique<MonthlySection>(m_table, std::move(rows), std::move(groupLine), std::move(caption));
}

} // namespace kasovka::print
