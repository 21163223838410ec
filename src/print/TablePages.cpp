#include "print/TablePages.h"

#include "print/PrintFont.h"
#include "print/PrintTable.h"
#include "print/TextBatch.h"

#include <QLineF>
#include <QPainter>

#include <vector>

namespace kasovka::print {

namespace {

constexpr double ThinLine = 3;  // units
constexpr double HeavyLine = 7;
const QColor LightShade(235, 235, 235);
const QColor DarkShade(205, 205, 205);
const QColor GridColour(120, 120, 120);

struct SliceGeometry {
    std::vector<double> left; // per slice entry
    double width = 0;
};

SliceGeometry geometry(const ColumnSlice &slice, double x)
{
    SliceGeometry g;
    for (double w : slice.widths) {
        g.left.push_back(x + g.width);
        g.width += w;
    }
    return g;
}

// Title block: group band, caption band, number band.
double paintTitles(QPainter &painter, TextBatch &text, const TableLayout &layout, const ColumnSlice &slice,
                   const SliceGeometry &g, QPointF origin, std::vector<QLineF> &lines)
{
    const PrintFont &font = layout.fonts().title;
    const double ls = font.lineSpacing();
    const double pad = TableLayout::RowPadding;
    const double top = origin.y();
    const double groupBottom = top + ls + 2 * pad;
    const double numberTop = top + layout.titleHeight() - ls - pad;
    const double bottom = top + layout.titleHeight();
    const QList<PrintColumn> &columns = layout.columns();
    for (qsizetype i = 0; i < slice.columns.size(); ++i) {
        const PrintColumn &column = columns[slice.columns[i]];
        const double left = g.left[size_t(i)];
        const double width = slice.widths[i];
        const QRectF cell(left + TableLayout::CellPadding, top, width - 2 * TableLayout::CellPadding, 0);
        const bool grouped = !column.group.isEmpty();
        // The group caption once over its run of neighbours in this slice.
        const bool runStart = grouped && (i == 0 || columns[slice.columns[i - 1]].group != column.group);
        if (runStart) {
            qsizetype end = i;
            double runWidth = 0;
            while (end < slice.columns.size() && columns[slice.columns[end]].group == column.group)
                runWidth += slice.widths[end++];
            const QRectF run(left + TableLayout::CellPadding, top, runWidth - 2 * TableLayout::CellPadding, 0);
            const QStringList caption = wrapText(font, column.group, run.width(), 1);
            text.addLine(font, caption.value(0), run, top + pad, Qt::AlignHCenter);
            lines.emplace_back(left, groupBottom, left + runWidth, groupBottom);
        }
        const double captionTop = grouped ? groupBottom : top + pad;
        const QStringList caption =
            wrapText(font, column.caption, cell.width(), TableLayout::MaxCaptionLines);
        const double captionSpace = numberTop - captionTop;
        double lineTop = captionTop + (captionSpace - caption.size() * ls) / 2;
        for (const QString &line : caption) {
            text.addLine(font, line, cell, lineTop, Qt::AlignHCenter);
            lineTop += ls;
        }
        text.addLine(font, column.number, cell, numberTop, Qt::AlignHCenter);
        if (i > 0) {
            const bool insideRun = grouped && !runStart;
            lines.emplace_back(left, insideRun ? groupBottom : top, left, bottom);
        }
    }
    painter.save();
    painter.setPen(QPen(Qt::black, HeavyLine));
    painter.drawLine(QPointF(origin.x(), bottom), QPointF(origin.x() + g.width, bottom));
    painter.restore();
    return bottom;
}

} // namespace

double rowsHeight(const TableLayout &layout, const TableSource &source, RowRange rows)
{
    double height = 0;
    for (int row = rows.first; row < rows.first + rows.count; ++row)
        height += layout.rowHeight(source, row);
    return height;
}

QList<RowRange> splitRows(const TableLayout &layout, const TableSource &source, double available,
                          bool keepLastWithPrevious, double carryHeight)
{
    QList<RowRange> pages{RowRange{0, 0}};
    double used = 0;
    const int rows = source.rowCount();
    for (int row = 0; row < rows; ++row) {
        const double height = layout.rowHeight(source, row);
        // A page that does not end with the last row carries its sums out.
        const double carryOut = row == rows - 1 ? 0 : carryHeight;
        if (used + height + carryOut > available && pages.last().count > 0) {
            RowRange next{row, 0};
            used = carryHeight;
            if (keepLastWithPrevious && row == rows - 1 && pages.last().count > 1) {
                --pages.last().count;
                next = RowRange{row - 1, 1};
                used += layout.rowHeight(source, row - 1);
            }
            pages.append(next);
        }
        ++pages.last().count;
        used += height;
    }
    return pages;
}

double paintTable(QPainter &painter, TextBatch &text, const TableLayout &layout, int sliceIndex,
                  const TableSource &source, RowRange rows, QPointF origin, bool ruleAboveLast,
                  const TableSource *carriedIn, const TableSource *carriedOut)
{
    const ColumnSlice &slice = layout.slices()[sliceIndex];
    const SliceGeometry g = geometry(slice, origin.x());
    const QList<PrintColumn> &columns = layout.columns();

    struct PageRow {
        const TableSource *source;
        int row;
        double height;
        bool heavyRuleAbove;
    };
    std::vector<PageRow> pageRows;
    if (carriedIn)
        pageRows.push_back({carriedIn, 0, layout.rowHeight(*carriedIn, 0), false});
    const std::vector<double> &heights = layout.rowHeights(source, rows.first, rows.count);
    const int last = source.rowCount() - 1;
    for (int row = rows.first; row < rows.first + rows.count; ++row)
        pageRows.push_back({&source, row, heights[size_t(row - rows.first)], ruleAboveLast && row == last});
    if (carriedOut)
        pageRows.push_back({carriedOut, 0, layout.rowHeight(*carriedOut, 0), true});
    double tableHeight = layout.titleHeight();
    for (const PageRow &row : pageRows)
        tableHeight += row.height;

    for (qsizetype i = 0; i < slice.columns.size(); ++i) {
        const Shade shade = columns[slice.columns[i]].shade;
        if (shade != Shade::None)
            painter.fillRect(QRectF(g.left[size_t(i)], origin.y(), slice.widths[i], tableHeight),
                             shade == Shade::Dark ? DarkShade : LightShade);
    }
    std::vector<QLineF> lines, heavyLines;
    double y = paintTitles(painter, text, layout, slice, g, origin, lines);
    const double right = origin.x() + g.width;
    for (size_t r = 0; r < pageRows.size(); ++r) {
        const PageRow &row = pageRows[r];
        if (row.heavyRuleAbove)
            heavyLines.emplace_back(origin.x(), y, right, y);
        else if (r > 0)
            lines.emplace_back(origin.x(), y, right, y);
        const PrintFont &font = row.source->bold(row.row) ? layout.fonts().bodyBold : layout.fonts().body;
        for (qsizetype i = 0; i < slice.columns.size(); ++i) {
            const int c = slice.columns[i];
            const QRectF cell(g.left[size_t(i)] + TableLayout::CellPadding, y,
                              slice.widths[i] - 2 * TableLayout::CellPadding, row.height);
            double lineTop = y + TableLayout::RowPadding;
            if (columns[c].maxWidth <= 0) {
                text.addLine(font, row.source->text(row.row, c), cell, lineTop, columns[c].alignment);
                continue;
            }
            for (const QString &line : layout.cellLines(*row.source, row.row, c, slice.widths[i])) {
                text.addLine(font, line, cell, lineTop, columns[c].alignment);
                lineTop += font.lineSpacing();
            }
        }
        y += row.height;
    }
    const double titleBottom = origin.y() + layout.titleHeight();
    for (size_t i = 1; i < g.left.size(); ++i)
        lines.emplace_back(g.left[i], titleBottom, g.left[i], y);
    painter.save();
    painter.setPen(QPen(GridColour, ThinLine));
    painter.drawLines(lines.data(), int(lines.size()));
    painter.setPen(QPen(Qt::black, HeavyLine));
    if (!heavyLines.empty())
        painter.drawLines(heavyLines.data(), int(heavyLines.size()));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(origin.x(), origin.y(), g.width, y - origin.y()));
    painter.restore();
    return y;
}

} // namespace kasovka::print
