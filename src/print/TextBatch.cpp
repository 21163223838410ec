#include "print/TextBatch.h"

#include <QGlyphRun>
#include <QPainter>

namespace kasovka::print {

TextBatch::Run &TextBatch::runFor(const PrintFont &font)
{
    for (Run &run : m_runs) {
        if (run.font == &font)
            return run;
    }
    m_runs.push_back(Run{&font, {}, {}});
    return m_runs.back();
}

void TextBatch::add(const PrintFont &font, QStringView text, QPointF origin)
{
    if (text.isEmpty())
        return;
    if (!font.covers(text)) {
        m_plain.push_back(Plain{&font, text.toString(), origin});
        return;
    }
    Run &run = runFor(font);
    double x = origin.x();
    for (const QChar ch : text) {
        const PrintFont::Glyph glyph = font.glyph(ch.unicode());
        run.glyphs.append(glyph.index);
        run.positions.append(QPointF(x, origin.y()));
        x += glyph.advance;
    }
}

void TextBatch::addLine(const PrintFont &font, QStringView text, const QRectF &cell, double lineTop,
                        Qt::Alignment alignment)
{
    if (text.isEmpty())
        return;
    double x = cell.left();
    if (alignment & (Qt::AlignRight | Qt::AlignHCenter)) {
        const double spare = cell.width() - font.width(text);
        x += (alignment & Qt::AlignRight) ? spare : spare / 2;
    }
    const double baseline = lineTop + (font.lineSpacing() - font.ascent() - font.descent()) / 2 + font.ascent();
    add(font, text, QPointF(x, baseline));
}

void TextBatch::flush(QPainter &painter)
{
    painter.save();
    painter.setPen(Qt::black);
    for (Run &run : m_runs) {
        if (run.glyphs.isEmpty())
            continue;
        QGlyphRun glyphs;
        glyphs.setRawFont(run.font->raw());
        glyphs.setGlyphIndexes(run.glyphs);
        glyphs.setPositions(run.positions);
        painter.drawGlyphRun(QPointF(0, 0), glyphs);
    }
    for (const Plain &plain : m_plain) {
        painter.setFont(plain.font->font());
        painter.drawText(plain.origin, plain.text);
    }
    painter.restore();
    m_runs.clear();
    m_plain.clear();
}

namespace {

// Break opportunities: after a blank (which is dropped) or after "/".
QStringList words(const QString &text)
{
    QStringList parts;
    QString current;
    for (const QChar ch : text) {
        if (ch == u' ') {
            if (!current.isEmpty())
                parts.append(current);
            current.clear();
            continue;
        }
        current += ch;
        if (ch == u'/') {
            parts.append(current);
            current.clear();
        }
    }
    if (!current.isEmpty())
        parts.append(current);
    return parts;
}

// Cuts the longest head of `word` that fits the width (at least one character).
qsizetype fittingLength(const PrintFont &font, const QString &word, double width)
{
    double used = 0;
    for (qsizetype i = 0; i < word.size(); ++i) {
        used += font.width(QStringView(word).mid(i, 1));
        if (used > width)
            return std::max<qsizetype>(i, 1);
    }
    return word.size();
}

QString elided(const PrintFont &font, QString line, double width)
{
    const QString ellipsis = QStringLiteral("…");
    while (!line.isEmpty() && font.width(line + ellipsis) > width)
        line.chop(1);
    return line + ellipsis;
}

} // namespace

namespace {

QStringList wrapParagraph(const PrintFont &font, const QString &text, double width)
{
    if (font.width(text) <= width)
        return {text};
    QStringList lines;
    QString line;
    const double blank = font.width(u" ");
    double lineWidth = 0;
    bool lineEndsInSlash = false;
    for (QString word : words(text)) {
        double wordWidth = font.width(word);
        const double joint = line.isEmpty() || lineEndsInSlash ? 0 : blank;
        if (!line.isEmpty() && lineWidth + joint + wordWidth <= width) {
            line += (joint > 0 ? QStringLiteral(" ") : QString()) + word;
            lineWidth += joint + wordWidth;
        } else {
            if (!line.isEmpty())
                lines.append(line);
            while (wordWidth > width) {
                const qsizetype cut = fittingLength(font, word, width);
                lines.append(word.left(cut));
                word = word.mid(cut);
                wordWidth = font.width(word);
            }
            line = word;
            lineWidth = wordWidth;
        }
        lineEndsInSlash = line.endsWith(u'/');
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines;
}

} // namespace

QStringList wrapText(const PrintFont &font, const QString &text, double width, int maxLines)
{
    if (text.isEmpty())
        return {};
    if (!text.contains(u'\n') && font.width(text) <= width)
        return {text};
    QStringList lines;
    for (const QString &paragraph : text.split(u'\n'))
        lines += wrapParagraph(font, paragraph, width);
    if (lines.size() > maxLines) {
        lines = lines.mid(0, maxLines);
        lines.last() = elided(font, lines.last(), width);
    }
    return lines;
}

} // namespace kasovka::print
