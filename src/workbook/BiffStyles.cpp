#include "workbook/BiffStyles.h"

#include "workbook/Errors.h"
#include "workbook/WorkbookGlobals.h"
#include "workbook/detail/Bytes.h"

namespace kasovka {

using namespace detail;

namespace {

constexpr uint16_t kFont = 0x0031, kFormat = 0x041E, kXf = 0x00E0, kPalette = 0x0092;
constexpr uint16_t kDate1904 = 0x0022;

// Palette indexes 8..63 of a workbook without a PALETTE record ([MS-XLS] 2.5.161).
constexpr std::array<uint32_t, 56> kDefaultPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333,
};

// The eight fixed colours below the palette.
constexpr std::array<uint32_t, 8> kBaseColours = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
};

BiffFont readFont(const QByteArray &data)
{
    ByteReader r(data, xlstext::unreadablePart(QStringLiteral("písmo sešitu")));
    BiffFont f;
    f.heightTwips = r.u16();
    const uint16_t flags = r.u16();
    f.italic = flags & 0x0002;
    f.strikeout = flags & 0x0008;
    f.outline = flags & 0x0010;
    f.shadow = flags & 0x0020;
    f.color = r.u16();
    f.weight = r.u16();
    f.script = r.u16();
    f.underline = r.u8();
    f.family = r.u8();
    f.charset = r.u8();
    r.skip(1);
    const int length = r.u8();
    f.name = r.chars(length, r.u8() & 0x01);
    return f;
}

BiffXf readXf(const QByteArray &data)
{
    ByteReader r(data, xlstext::unreadablePart(QStringLiteral("formát buněk sešitu")));
    r.need(20);
    BiffXf x;
    x.font = r.u16();
    x.numFormat = r.u16();
    const uint16_t protection = r.u16();
    x.locked = protection & 0x0001;
    x.hidden = protection & 0x0002;
    x.style = protection & 0x0004;
    const uint8_t align = r.u8();
    x.hAlign = align & 0x07;
    x.wrap = align & 0x08;
    x.vAlign = (align >> 4) & 0x07;
    x.rotation = r.u8();
    const uint8_t text = r.u8();
    x.indent = text & 0x0F;
    x.shrink = text & 0x10;
    x.readingOrder = (text >> 6) & 0x03;
    r.skip(1); // which groups differ from the parent style: a cell XF holds them all
    const uint32_t lines = r.u32();
    x.left = lines & 0x0F;
    x.right = (lines >> 4) & 0x0F;
    x.top = (lines >> 8) & 0x0F;
    x.bottom = (lines >> 12) & 0x0F;
    x.leftColor = (lines >> 16) & 0x7F;
    x.rightColor = (lines >> 23) & 0x7F;
    x.diagonalKind = (lines >> 30) & 0x03;
    const uint32_t more = r.u32();
    x.topColor = more & 0x7F;
    x.bottomColor = (more >> 7) & 0x7F;
    x.diagonalColor = (more >> 14) & 0x7F;
    x.diagonal = (more >> 21) & 0x0F;
    x.pattern = (more >> 26) & 0x3F;
    const uint16_t fill = r.u16();
    x.patternColor = fill & 0x7F;
    x.backgroundColor = (fill >> 7) & 0x7F;
    return x;
}

} // namespace

BiffStyles BiffStyles::read(const TWorkbookGlobals &globals)
{
    BiffStyles s;
    s.m_palette = kDefaultPalette;
    for (const BiffRecord &rec : globals.records()) {
        switch (rec.id) {
        case kFont:
            s.m_fonts.push_back(readFont(rec.joined()));
            break;
        case kXf:
            s.m_xfs.push_back(readXf(rec.data));
            break;
        case kFormat: {
            const QByteArray data = rec.joined();
            ByteReader r(data, xlstext::unreadablePart(QStringLiteral("formát čísla sešitu")));
            const int id = r.u16();
            const int length = r.u16();
            s.m_numFormats.insert(id, r.chars(length, r.u8() & 0x01));
            break;
        }
        case kPalette: {
            ByteReader r(rec.data, xlstext::unreadablePart(QStringLiteral("paleta barev sešitu")));
            const int count = std::min<int>(r.u16(), int(s.m_palette.size()));
            for (int i = 0; i < count; ++i) {
                const uint32_t red = r.u8(), green = r.u8(), blue = r.u8();
                r.skip(1);
                s.m_palette[i] = (red << 16) | (green << 8) | blue;
            }
            break;
        }
        case kDate1904:
            s.m_date1904 = rec.data.size() >= 2 && u16At(rec.data.constData()) == 1;
            break;
        default:
            break;
        }
    }
    if (s.m_fonts.empty())
        s.m_fonts.emplace_back();
    if (s.m_xfs.empty())
        s.m_xfs.emplace_back();
    return s;
}

const BiffFont &BiffStyles::font(int index) const
{
    const int at = index >= 4 ? index - 1 : index;
    return at >= 0 && at < int(m_fonts.size()) ? m_fonts[at] : m_fonts.front();
}

const BiffXf &BiffStyles::xf(int index) const
{
    return index >= 0 && index < int(m_xfs.size()) ? m_xfs[index] : m_xfs.front();
}

std::optional<QString> BiffStyles::numFormat(int id) const
{
    const auto it = m_numFormats.constFind(id);
    if (it == m_numFormats.constEnd())
        return std::nullopt;
    return *it;
}

std::optional<uint32_t> BiffStyles::rgb(int icv) const
{
    if (icv >= 0 && icv < 8)
        return kBaseColours[icv];
    if (icv >= 8 && icv < 64)
        return m_palette[icv - 8];
    return std::nullopt;
}

} // namespace kasovka
