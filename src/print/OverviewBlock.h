#pragma once
// The final overview of one group on paper, laid out as the overview panel
// lays it out on screen: three columns of framed sections, each figure the
// Skupiny field in its display format.

#include <QRectF>
#include <QString>

class QPainter;

namespace kasovka {
class TMemTable;
}

namespace kasovka::print {

class TextBatch;
struct PrintFonts;

class OverviewBlock {
public:
    explicit OverviewBlock(const PrintFonts &fonts) : m_fonts(fonts) {}

    double height() const;
    // Paints the overview of the Skupiny record `group` (table order) at the
    // top of `area`, under the caption.
    void paint(QPainter &painter, TextBatch &text, const QRectF &area, const TMemTable &skupiny, int group,
               const QString &caption) const;

private:
    double rowHeight() const;

    const PrintFonts &m_fonts;
};

} // namespace kasovka::print
