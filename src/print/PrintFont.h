#pragma once
// Fonts of the printed pages and the fast way their text is set.
//
// Pages are laid out in units of a tenth of a point (1/720 inch) whatever
// the device: a font's pixel size is its size in these units, so metrics do
// not depend on the resolution of the printer, the PDF or the screen, and a
// page counted once paints the same everywhere. Painters are scaled from
// units to device pixels (PageCanvas).
//
// Text is set glyph by glyph from a per-character cache of glyph indexes and
// advances instead of being shaped string by string: a journal page holds
// thousands of short cells, and shaping each one would cost more than the
// page itself. Characters the font lacks fall back to ordinary text drawing.

#include <QFont>
#include <QRawFont>
#include <QString>
#include <QStringView>

#include <vector>

namespace kasovka::print {

// Units per point and per millimetre.
inline constexpr double UnitsPerPoint = 10.0;
inline constexpr double UnitsPerInch = 720.0;
inline constexpr double UnitsPerMm = UnitsPerInch / 25.4;

class PrintFont {
public:
    // `points` is rounded to the tenth of a point.
    PrintFont(double points, bool bold);

    const QFont &font() const { return m_font; }
    const QRawFont &raw() const { return m_raw; }
    double ascent() const { return m_ascent; }
    double descent() const { return m_descent; }
    // Baseline to baseline.
    double lineSpacing() const { return m_lineSpacing; }

    struct Glyph {
        quint32 index = 0; // 0: the font has no glyph for the character
        double advance = 0;
    };
    Glyph glyph(char16_t ch) const;
    // True when every character of the text has a glyph of its own.
    bool covers(QStringView text) const;
    double width(QStringView text) const;

private:
    Glyph lookup(char16_t ch) const;

    QFont m_font;
    QRawFont m_raw;
    double m_ascent = 0;
    double m_descent = 0;
    double m_lineSpacing = 0;
    // Filled on first use; advance < 0 marks an entry not looked up yet.
    mutable std::vector<Glyph> m_cache;
};

// The fonts of one print job.
struct PrintFonts {
    PrintFonts();
    PrintFont body;       // journal rows
    PrintFont bodyBold;   // carried row, sums, overview totals
    PrintFont title;      // column titles
    PrintFont heading;    // first header line
    PrintFont caption;    // caption over a block (the final overview)
    PrintFont small;      // second header line and footer
};

} // namespace kasovka::print
