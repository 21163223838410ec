#pragma once
// Collects the text of one page and draws it in a few glyph runs, one per
// font, when the page is complete. Text the font cannot set from its own
// glyphs is drawn as ordinary text, so font fallback still applies there.

#include "print/PrintFont.h"

#include <QList>
#include <QPointF>
#include <QRectF>

#include <vector>

class QPainter;

namespace kasovka::print {

class TextBatch {
public:
    // Places the text with its baseline starting at `origin` (units).
    void add(const PrintFont &font, QStringView text, QPointF origin);
    // Places one line of text in a cell: horizontally by `alignment`
    // (left, right or centre), vertically centred on the line of `lineTop`.
    void addLine(const PrintFont &font, QStringView text, const QRectF &cell, double lineTop,
                 Qt::Alignment alignment);
    // Draws everything collected, in black, and empties the batch.
    void flush(QPainter &painter);

private:
    struct Run {
        const PrintFont *font;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };
    struct Plain {
        const PrintFont *font;
        QString text;
        QPointF origin;
    };
    Run &runFor(const PrintFont &font);

    std::vector<Run> m_runs;
    std::vector<Plain> m_plain;
};

// Splits text into lines no wider than `width`: at line feeds, at blanks,
// after "/" and, for a word wider than the line, between characters. With more lines than
// `maxLines` the last one ends in "…". Empty text gives no line.
QStringList wrapText(const PrintFont &font, const QString &text, double width, int maxLines);

} // namespace kasovka::print
