#include "workbook/FontMetrics.h"

#include <QChar>
#include <QString>

#include <array>

namespace kasovka {

double digitAdvance(const QString &family)
{
    static const std::pair<const char *, double> advances[] = {
        {"arial narrow", 0.4561},  {"liberation sans narrow", 0.4561},
        {"arial", 0.5553},         {"liberation sans", 0.5553}, {"helvetica", 0.5553},
        {"arimo", 0.5553},         {"calibri", 0.5045},         {"carlito", 0.5045},
        {"times new roman", 0.5},  {"liberation serif", 0.5},   {"tinos", 0.5},
        {"courier new", 0.6001},   {"liberation mono", 0.6001}, {"cousine", 0.6001},
        {"tahoma", 0.5459},        {"verdana", 0.6357},         {"dejavu sans", 0.6362},
        {"cambria", 0.5562},       {"caladea", 0.5562},         {"segoe ui", 0.5586},
    };
    const QString name = family.trimmed().toLower();
    for (const auto &[known, advance] : advances)
        if (name.startsWith(QLatin1String(known)))
            return advance;
    return 0.5553;
}

// Width of the digit in points.
double digitPoints(const BiffFont &font)
{
    return font.heightTwips / 20.0 * digitAdvance(font.name);
}

namespace {

// Advances of Arial (and its metric twins) per 1000 em for U+0020..U+007E,
// from the font's published metrics.
constexpr short kArial[95] = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278, // space../
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556, // 0..?
    1015, 667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833, 722, 778, // @..O
    667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 278, 278, 278, 469, 556, // P.._
    333, 556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833, 556, 556, // `..o
    556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 584,      // p..~
};
constexpr int kOtherAdvance = 556;
// Readers hint and round glyphs; a line measured this much wider than its
// design width still fits.
constexpr double kGenerosity = 1.05;

int asciiAdvance(char16_t u)
{
    return u >= 0x20 && u <= 0x7E ? kArial[u - 0x20] : kOtherAdvance;
}

// Latin letters with diacritics (up to U+017F, all of Czech) take their
// base letter's advance; worked out once.
constexpr char16_t kLatinEnd = 0x180;

int advance(QChar c)
{
    static const std::array<short, kLatinEnd> latin = [] {
        std::array<short, kLatinEnd> table{};
        for (char16_t u = 0; u < kLatinEnd; ++u) {
            const QString base = QChar(u).decomposition();
            table[u] = short(asciiAdvance(base.isEmpty() ? u : base.front().unicode()));
        }
        return table;
    }();
    const char16_t u = c.unicode();
    return u < kLatinEnd ? latin[u] : kOtherAdvance;
}

} // namespace

double textPoints(QStringView text, const BiffFont &font)
{
    qint64 units = 0;
    for (QChar c : text)
        units += advance(c);
    // Bold glyphs of these families are about 5 % wider.
    const double weight = font.weight >= 600 ? 1.05 : 1.0;
    const double scale = digitAdvance(font.name) / digitAdvance(QStringLiteral("Arial"));
    return units / 1000.0 * font.heightTwips / 20.0 * scale * weight * kGenerosity;
}

} // namespace kasovka
