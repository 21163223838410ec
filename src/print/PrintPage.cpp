#include "print/PrintPage.h"

#include "core/DateConvention.h"
#include "core/DateTime.h"
#include "print/PrintFont.h"
#include "print/TextBatch.h"

#include <QLocale>
#include <QPageLayout>
#include <QPainter>

namespace kasovka::print {

namespace {
constexpr double RuleGap = 40; // units between a rule and the text next to it
constexpr double RuleWidth = 6;
} // namespace

PageSpace PageSpace::of(const QPageLayout &layout)
{
    const QRectF points = layout.paintRect(QPageLayout::Point);
    return PageSpace{points.width() * UnitsPerPoint, points.height() * UnitsPerPoint};
}

double PageFrame::headerHeight() const
{
    return m_fonts.heading.lineSpacing() + m_fonts.small.lineSpacing() + 2 * RuleGap;
}

double PageFrame::footerHeight() const
{
    return m_fonts.small.lineSpacing() + 2 * RuleGap;
}

QRectF PageFrame::body(const PageSpace &space) const
{
    return QRectF(0, headerHeight(), space.width, space.height - headerHeight() - footerHeight());
}

void PageFrame::paint(QPainter &painter, TextBatch &text, const PageSpace &space, const QString &group, int page,
                      int pageCount) const
{
    const QRectF line1(0, 0, space.width, m_fonts.heading.lineSpacing());
    text.addLine(m_fonts.heading, m_heading.title, line1, line1.top(), Qt::AlignLeft);
    // The agenda sits on the baseline of the title, in the smaller font.
    const auto baselineOffset = [](const PrintFont &font) {
        return (font.lineSpacing() - font.ascent() - font.descent()) / 2 + font.ascent();
    };
    const double agendaTop = line1.top() + baselineOffset(m_fonts.heading) - baselineOffset(m_fonts.small);
    text.addLine(m_fonts.small, m_heading.agenda, line1, agendaTop, Qt::AlignRight);
    const double line2Top = line1.bottom();
    text.addLine(m_fonts.small, m_heading.period, line1, line2Top, Qt::AlignLeft);
    text.addLine(m_fonts.small, group, line1, line2Top, Qt::AlignRight);

    const double footerTop = space.height - footerHeight();
    const double footerLine = footerTop + 2 * RuleGap;
    const QLocale locale = programLocale();
    const QString printed = QStringLiteral("Vytištěno: ")
                            + formatShortDate(fromQDate(m_heading.printed.date()), locale) + u' '
                            + m_heading.printed.time().toString(QStringLiteral("HH:mm"));
    text.addLine(m_fonts.small, printed, line1, footerLine, Qt::AlignLeft);
    text.addLine(m_fonts.small, QStringLiteral("Strana %1 z %2").arg(page).arg(pageCount), line1, footerLine,
                 Qt::AlignRight);

    painter.save();
    painter.setPen(QPen(Qt::black, RuleWidth));
    const double headerRule = line2Top + m_fonts.small.lineSpacing() + RuleGap / 2;
    painter.drawLine(QPointF(0, headerRule), QPointF(space.width, headerRule));
    const double footerRule = footerTop + RuleGap;
    painter.drawLine(QPointF(0, footerRule), QPointF(space.width, footerRule));
    painter.restore();
}

} // namespace kasovka::print
