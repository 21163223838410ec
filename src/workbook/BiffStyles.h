#pragma once
// The cell formatting of a workbook's globals read into plain values: fonts
// ([MS-XLS] 2.4.122 Font), number formats (2.4.126 Format), cell formats
// (2.4.353 XF), the colour palette (2.4.188 Palette, default in 2.5.161) and
// the date system (2.4.77 Date1904). The layer keeps these records as read;
// they are decoded here for writers of other formats.

#include <QHash>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace kasovka {

class TWorkbookGlobals;

struct BiffFont {
    QString name = QStringLiteral("Arial");
    int heightTwips = 200;
    bool italic = false, strikeout = false, outline = false, shadow = false;
    int color = 0x7FFF; // palette index; 0x7FFF automatic
    int weight = 400;
    int script = 0;    // 1 superscript, 2 subscript
    int underline = 0; // 1 single, 2 double, 0x21 single/0x22 double accounting
    int family = 0;
    int charset = 0;
};

struct BiffXf {
    int font = 0;
    int numFormat = 0;
    bool locked = true, hidden = false, style = false;
    int hAlign = 0, vAlign = 2; // 0 general ... 7 distributed; 0 top ... 4 distributed
    bool wrap = false, shrink = false;
    int rotation = 0; // 0..180 as stored, 255 stacked
    int indent = 0, readingOrder = 0;
    int left = 0, right = 0, top = 0, bottom = 0, diagonal = 0; // line styles 0..13
    int leftColor = 64, rightColor = 64, topColor = 64, bottomColor = 64, diagonalColor = 64;
    int diagonalKind = 0; // bit 0 down, bit 1 up
    int pattern = 0;      // 0 none, 1 solid, 2..18 patterns
    int patternColor = 64, backgroundColor = 65;
};

class BiffStyles {
public:
    // Throws kasovka::Error for a damaged record.
    static BiffStyles read(const TWorkbookGlobals &globals);

    // The font of a FontIndex (index 4 is never stored).
    const BiffFont &font(int index) const;
    const BiffXf &xf(int index) const;
    int xfCount() const { return int(m_xfs.size()); }
    // The format code stored for a number format identifier, if any.
    std::optional<QString> numFormat(int id) const;
    // RGB (0xRRGGBB) of a palette index; nullopt for the system colours that
    // mean "automatic".
    std::optional<uint32_t> rgb(int icv) const;
    bool date1904() const { return m_date1904; }

private:
    std::vector<BiffFont> m_fonts;
    std::vector<BiffXf> m_xfs;
    QHash<int, QString> m_numFormats;
    std::array<uint32_t, 56> m_palette{};
    bool m_date1904 = false;
};

} // namespace kasovka
