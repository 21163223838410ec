#include "xlsx/detail/XlsxFormats.h"

#include "core/Error.h"
#include "xlsx/detail/XmlText.h"

namespace kasovka::xlsx {

namespace {

// Number formats 0..49 that every reader knows by their identifier
// (ECMA-376 Part 1, 18.8.30); 23..36 are reserved for East Asian locales.
bool isBuiltInNumberFormat(int id)
{
    return id >= 0 && id <= 49 && (id < 23 || id > 36);
}

uint8_t underline(int uls)
{
    switch (uls) {
    case 0x01: return LXW_UNDERLINE_SINGLE;
    case 0x02: return LXW_UNDERLINE_DOUBLE;
    case 0x21: return LXW_UNDERLINE_SINGLE_ACCOUNTING;
    case 0x22: return LXW_UNDERLINE_DOUBLE_ACCOUNTING;
    default: return LXW_UNDERLINE_NONE;
    }
}

// Horizontal and vertical alignment codes of BIFF8 and libxlsxwriter share
// their order, the vertical ones offset.
uint8_t verticalAlignment(int alcV)
{
    switch (alcV) {
    case 0: return LXW_ALIGN_VERTICAL_TOP;
    case 1: return LXW_ALIGN_VERTICAL_CENTER;
    case 3: return LXW_ALIGN_VERTICAL_JUSTIFY;
    case 4: return LXW_ALIGN_VERTICAL_DISTRIBUTED;
    default: return LXW_ALIGN_VERTICAL_BOTTOM;
    }
}

// Stored 0..90 counter-clockwise, 91..180 clockwise, 255 stacked letters.
int16_t rotation(int trot)
{
    if (trot == 255)
        return 270;
    if (trot > 90 && trot <= 180)
        return int16_t(90 - trot);
    return int16_t(trot <= 90 ? trot : 0);
}

// libxlsxwriter keeps a font name in 127 bytes and cuts a longer one
// anywhere, even inside a character. No font has such a name: it is
// shortened by whole characters.
QByteArray fontName(QString name)
{
    QByteArray bytes = xmlText(name, XmlPlace::Attribute);
    while (bytes.size() >= LXW_FORMAT_FIELD_LEN) {
        name.chop(name.size() >= 2 && name.back().isLowSurrogate() ? 2 : 1);
        bytes = xmlText(name, XmlPlace::Attribute);
    }
    return bytes;
}

} // namespace

XlsxFormats::XlsxFormats(lxw_workbook *workbook, const BiffStyles &styles)
    : m_workbook(workbook), m_styles(styles), m_cells(size_t(styles.xfCount()), nullptr)
{
}

lxw_color_t XlsxFormats::colour(uint32_t rgb)
{
    return rgb == 0 ? lxw_color_t(LXW_COLOR_BLACK) : rgb;
}

lxw_format *XlsxFormats::cell(int xf)
{
    if (xf < 0 || xf >= int(m_cells.size()))
        xf = 0;
    if (lxw_format *made = m_cells[size_t(xf)])
        return made;
    const BiffXf &x = m_styles.xf(xf);
    lxw_format *format = workbook_add_format(m_workbook);
    applyFont(format, m_styles.font(x.font));
    applyNumberFormat(format, x.numFormat);
    applyAlignment(format, x);
    applyBorders(format, x);
    applyFill(format, x);
    if (!x.locked)
        format_set_unlocked(format);
    if (x.hidden)
        format_set_hidden(format);
    m_cells[size_t(xf)] = format;
    return format;
}

lxw_format *XlsxFormats::font(int fontIndex)
{
    if (fontIndex < 0)
        fontIndex = 0;
    if (size_t(fontIndex) >= m_fonts.size())
        m_fonts.resize(size_t(fontIndex) + 1, nullptr);
    if (!m_fonts[size_t(fontIndex)]) {
        lxw_format *format = workbook_add_format(m_workbook);
        applyFont(format, m_styles.font(fontIndex));
        m_fonts[size_t(fontIndex)] = format;
    }
    return m_fonts[size_t(fontIndex)];
}

void XlsxFormats::applyFont(lxw_format *format, const BiffFont &font) const
{
    format_set_font_name(format, fontName(font.name).constData());
    format_set_font_size(format, font.heightTwips / 20.0);
    if (const auto rgb = m_styles.rgb(font.color))
        format_set_font_color(format, colour(*rgb));
    if (font.weight >= 600)
        format_set_bold(format);
    if (font.italic)
        format_set_italic(format);
    if (font.strikeout)
        format_set_font_strikeout(format);
    if (font.outline)
        format_set_font_outline(format);
    if (font.shadow)
        format_set_font_shadow(format);
    if (font.script == 1 || font.script == 2)
        format_set_font_script(format, uint8_t(font.script));
    if (const uint8_t u = underline(font.underline))
        format_set_underline(format, u);
    // Families 1..5 (roman, swiss, modern, script, decorative) are the ones
    // both formats define; other stored values would make the file invalid.
    if (font.family >= 1 && font.family <= 5)
        format_set_font_family(format, uint8_t(font.family));
    if (font.charset > 0)
        format_set_font_charset(format, uint8_t(font.charset));
}

void XlsxFormats::applyNumberFormat(lxw_format *format, int id) const
{
    // A stored code wins: the locale-dependent identifiers (currency, the
    // Czech date forms) are only defined by it.
    if (const auto code = m_styles.numFormat(id)) {
        if (code->compare(QLatin1String("General"), Qt::CaseInsensitive) == 0)
            return;
        // Kept in 127 bytes as font names are; a code cut short would be another.
        const QByteArray bytes = xmlText(*code, XmlPlace::Attribute);
        if (bytes.size() >= LXW_FORMAT_FIELD_LEN)
            throw Error(QStringLiteral("Formát čísla \"%1\" je pro formát .xlsx příliš dlouhý.").arg(*code));
        format_set_num_format(format, bytes.constData());
    } else if (isBuiltInNumberFormat(id) && id != 0) {
        format_set_num_format_index(format, uint8_t(id));
    }
}

void XlsxFormats::applyAlignment(lxw_format *format, const BiffXf &x) const
{
    if (x.hAlign > 0 && x.hAlign <= 7)
        format_set_align(format, uint8_t(x.hAlign));
    if (x.vAlign != 2)
        format_set_align(format, verticalAlignment(x.vAlign));
    if (x.wrap)
        format_set_text_wrap(format);
    if (const int16_t angle = rotation(x.rotation))
        format_set_rotation(format, angle);
    if (x.indent > 0)
        format_set_indent(format, uint8_t(x.indent));
    if (x.shrink)
        format_set_shrink(format);
    if (x.readingOrder == 1 || x.readingOrder == 2)
        format_set_reading_order(format, uint8_t(x.readingOrder));
}

void XlsxFormats::applyBorders(lxw_format *format, const BiffXf &x) const
{
    // Line style codes 0..13 are the same in both formats.
    struct Side {
        int style, color;
        void (*setStyle)(lxw_format *, uint8_t);
        void (*setColor)(lxw_format *, lxw_color_t);
    };
    const Side sides[] = {
        {x.left, x.leftColor, format_set_left, format_set_left_color},
        {x.right, x.rightColor, format_set_right, format_set_right_color},
        {x.top, x.topColor, format_set_top, format_set_top_color},
        {x.bottom, x.bottomColor, format_set_bottom, format_set_bottom_color},
    };
    for (const Side &side : sides) {
        if (side.style <= 0 || side.style > 13)
            continue;
        side.setStyle(format, uint8_t(side.style));
        if (const auto rgb = m_styles.rgb(side.color))
            side.setColor(format, colour(*rgb));
    }
    if (x.diagonalKind && x.diagonal > 0 && x.diagonal <= 13) {
        // Stored: bit 0 top-left to bottom-right ("down"), bit 1 "up".
        const uint8_t kind = x.diagonalKind == 3 ? LXW_DIAGONAL_BORDER_UP_DOWN
                           : x.diagonalKind == 2 ? LXW_DIAGONAL_BORDER_UP
                                                 : LXW_DIAGONAL_BORDER_DOWN;
        format_set_diag_type(format, kind);
        format_set_diag_border(format, uint8_t(x.diagonal));
        if (const auto rgb = m_styles.rgb(x.diagonalColor))
            format_set_diag_color(format, colour(*rgb));
    }
}

void XlsxFormats::applyFill(lxw_format *format, const BiffXf &x) const
{
    if (x.pattern <= 0 || x.pattern > 18)
        return;
    // The pattern's own colour (index 64 = automatic) is black, its
    // background (index 65 = automatic) white.
    const uint32_t fore = m_styles.rgb(x.patternColor).value_or(0x000000);
    format_set_pattern(format, uint8_t(x.pattern));
    if (x.pattern == 1) {
        // libxlsxwriter takes a solid fill's colour as the background colour.
        format_set_bg_color(format, colour(fore));
        return;
    }
    format_set_fg_color(format, colour(fore));
    format_set_bg_color(format, colour(m_styles.rgb(x.backgroundColor).value_or(0xFFFFFF)));
}

} // namespace kasovka::xlsx
