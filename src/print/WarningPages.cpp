#include "print/WarningPages.h"

#include "print/TextBatch.h"
#include "report/ReportWarning.h"
#include "report/TPenDenReport.h"

#include <QPainter>

#include <climits>

namespace kasovka::print {

namespace {

constexpr double CaptionGap = 40;   // units between the heading and the first warning
constexpr double WarningGap = 12;   // units between two warnings
constexpr double Indent = 60;       // units a wrapped warning's further lines stand in

class WarningSection : public PrintSection {
public:
    WarningSection(QStringList warnings, const PrintFonts &fonts, QString groupLine)
        : m_warnings(std::move(warnings)), m_fonts(fonts), m_groupLine(std::move(groupLine))
    {
    }
    QString groupLine() const override { return m_groupLine; }

    // A page lists the warnings firstRow..firstRow + rowCount - 1, each kept
    // whole unless it alone is longer than a page.
    void plan(const QRectF &body, int index, std::vector<PlannedPage> &pages) const override
    {
        m_lines.clear();
        for (const QString &warning : m_warnings)
            m_lines.push_back(wrapText(m_fonts.body, warning, body.width() - Indent, INT_MAX));
        const double ls = m_fonts.body.lineSpacing();
        double used = headingHeight();
        PlannedPage page{index, -1, 0, 0, false};
        for (int w = 0; w < int(m_lines.size()); ++w) {
            const double height = m_lines[size_t(w)].size() * ls + WarningGap;
            if (used + height > body.height() && page.rowCount > 0) {
                pages.push_back(page);
                page = PlannedPage{index, -1, w, 0, false};
                used = 0;
            }
            ++page.rowCount;
            used += height;
        }
        pages.push_back(page);
    }

    void paint(QPainter &, TextBatch &text, const QRectF &body, const PlannedPage &page) const override
    {
        double y = body.top();
        if (page.firstRow == 0) {
            const QRectF line(body.left(), y, body.width(), m_fonts.caption.lineSpacing());
            text.addLine(m_fonts.caption, QStringLiteral("Upozornění"), line, y, Qt::AlignLeft);
            y += headingHeight();
        }
        const double ls = m_fonts.body.lineSpacing();
        for (int w = page.firstRow; w < page.firstRow + page.rowCount; ++w) {
            const QStringList &lines = m_lines[size_t(w)];
            for (qsizetype i = 0; i < lines.size() && y + ls <= body.bottom(); ++i) {
                const double left = body.left() + (i > 0 ? Indent : 0);
                text.addLine(m_fonts.body, lines[i], QRectF(left, y, body.right() - left, ls), y, Qt::AlignLeft);
                y += ls;
            }
            y += WarningGap;
        }
    }

private:
    double headingHeight() const { return m_fonts.caption.lineSpacing() + CaptionGap; }

    QStringList m_warnings;
    const PrintFonts &m_fonts;
    QString m_groupLine;
    // Each warning's lines at the width of the planned pages.
    mutable std::vector<QStringList> m_lines;
};

} // namespace

QStringList warningLines(const TPenDenReport &report, const std::optional<QString> &groupKey)
{
    const bool withGroups = report.Filter().VertikalniDeleni != sgkNone;
    QStringList lines;
    for (const ReportWarning &warning : report.PaperWarnings()) {
        if (groupKey && warning.groupKey && *warning.groupKey != *groupKey)
            continue;
        lines.append(paperLine(warning, withGroups));
    }
    return lines;
}

std::unique_ptr<PrintSection> warningSection(QStringList lines, const PrintFonts &fonts, QString groupLine)
{
    return std::make_unique<WarningSection>(std::move(lines), fonts, std::move(groupLine));
}

} // namespace kasovka::print
