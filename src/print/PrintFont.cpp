#include "print/PrintFont.h"

#include <QFontMetricsF>

#include <cmath>

namespace kasovka::print {

namespace {
// Arial's metrics; Liberation Sans carries them where Arial is missing.
const QStringList families{QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                           QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans")};
} // namespace

PrintFont::PrintFont(double points, bool bold)
{
    m_font.setFamilies(families);
    m_font.setPixelSize(int(std::lround(points * UnitsPerPoint)));
    m_font.setBold(bold);
    m_font.setHintingPreference(QFont::PreferNoHinting);
    m_font.setKerning(false);
    m_raw = QRawFont::fromFont(m_font);
    m_ascent = m_raw.ascent();
    m_descent = m_raw.descent();
    m_lineSpacing = m_raw.ascent() + m_raw.descent() + m_raw.leading();
    m_cache.assign(0x2100, Glyph{0, -1});
}

PrintFont::Glyph PrintFont::lookup(char16_t ch) const
{
    Glyph glyph;
    glyph.advance = 0;
    if (QChar::isSurrogate(ch) || !m_raw.isValid())
        return glyph;
    const QList<quint32> indexes = m_raw.glyphIndexesForString(QString(QChar(ch)));
    if (indexes.size() != 1 || indexes.front() == 0)
        return glyph;
    glyph.index = indexes.front();
    glyph.advance = m_raw.advancesForGlyphIndexes(indexes, QRawFont::UseDesignMetrics).value(0).x();
    return glyph;
}

PrintFont::Glyph PrintFont::glyph(char16_t ch) const
{
    if (ch >= m_cache.size())
        return lookup(ch);
    Glyph &entry = m_cache[ch];
    if (entry.advance < 0)
        entry = lookup(ch);
    return entry;
}

bool PrintFont::covers(QStringView text) const
{
    for (const QChar ch : text) {
        if (glyph(ch.unicode()).index == 0)
            return false;
    }
    return true;
}

double PrintFont::width(QStringView text) const
{
    double width = 0;
    for (const QChar ch : text) {
        const Glyph g = glyph(ch.unicode());
        if (g.index == 0)
            return QFontMetricsF(m_font).horizontalAdvance(text.toString());
        width += g.advance;
    }
    return width;
}

PrintFonts::PrintFonts()
    : body(7.5, false), bodyBold(7.5, true), title(7, true), heading(11, true), caption(9, true),
      small(8, false)
{
}

} // namespace kasovka::print
