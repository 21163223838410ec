#include "print/OverviewBlock.h"

#include "core/DateConvention.h"
#include "core/MemTable.h"
#include "print/PrintFont.h"
#include "print/TextBatch.h"
#include "report/FinalOverviewLayout.h"

#include <QLocale>
#include <QPainter>

namespace kasovka::print {

namespace {
constexpr double ColumnGap = 6 * UnitsPerMm;
constexpr double Padding = 20;     // units inside a frame
constexpr double FrameWidth = 4;
constexpr double CaptionGap = 40;  // units between the caption and the columns
constexpr double FrameBelow = 0.15; // rows of air below a frame's last figure, above the next caption
} // namespace

double OverviewBlock::rowHeight() const
{
    return m_fonts.body.lineSpacing() + 24;
}

double OverviewBlock::height() const
{
    return m_fonts.caption.lineSpacing() + CaptionGap + (OverviewRows + FrameBelow) * rowHeight();
}

void OverviewBlock::paint(QPainter &painter, TextBatch &text, const QRectF &area, const TMemTable &skupiny,
                          int group, const QString &caption) const
{
    const QRectF captionLine(area.left(), area.top(), area.width(), m_fonts.caption.lineSpacing());
    text.addLine(m_fonts.caption, caption, captionLine, captionLine.top(), Qt::AlignLeft);

    const double top = captionLine.bottom() + CaptionGap;
    const double columnWidth = (area.width() - 2 * ColumnGap) / 3;
    const double row = rowHeight();
    const QLocale locale = programLocale();
    painter.save();
    painter.setPen(QPen(QColor(96, 96, 96), FrameWidth));
    double left = area.left();
    for (const std::vector<OverviewSection> &column : finalOverviewColumns()) {
        for (const OverviewSection &section : column) {
            // The frame starts in the middle of the caption row; the caption
            // interrupts its top edge.
            const double sectionTop = top + section.firstRow * row;
            const QRectF frame(left, sectionTop + row / 2, columnWidth, (section.rowSpan - 0.5 + FrameBelow) * row);
            painter.drawRect(frame);
            const QString title = QString::fromUtf8(section.caption);
            const QRectF titleBox(left + Padding, sectionTop, m_fonts.bodyBold.width(title) + Padding, row);
            painter.fillRect(titleBox, Qt::white);
            const double inset = (row - m_fonts.body.lineSpacing()) / 2; // centres a line in its row
            text.addLine(m_fonts.bodyBold, title, titleBox.adjusted(Padding / 2, 0, 0, 0), sectionTop + inset,
                         Qt::AlignLeft);
            double itemTop = sectionTop + row;
            for (const OverviewItem &item : section.items) {
                const QString field = QString::fromLatin1(item.field);
                const PrintFont &font = isOverviewTotal(field) ? m_fonts.bodyBold : m_fonts.body;
                const QRectF cell(left + 2 * Padding, itemTop, columnWidth - 4 * Padding, row);
                text.addLine(font, QString::fromUtf8(item.label), cell, itemTop + inset, Qt::AlignLeft);
                const int position = skupiny.findField(field);
                if (position >= 0)
                    text.addLine(font, skupiny.recordDisplayText(group, position, locale), cell, itemTop + inset,
                                 Qt::AlignRight);
                itemTop += row;
            }
        }
        left += columnWidth + ColumnGap;
    }
    painter.restore();
}

} // namespace kasovka::print
