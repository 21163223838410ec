// A worksheet's columns, print setup and window, from its records and the
// workbook's print names.

#include "xlsx/detail/XlsxSheet.h"

#include "core/Error.h"
#include "workbook/FontMetrics.h"
#include "workbook/WorkSheet.h"
#include "xlsx/detail/XmlText.h"

#include <cmath>
#include <cstring>
#include <optional>

namespace kasovka::xlsx {

namespace {

constexpr int kLastColumn = 255;
constexpr int kDefaultXf = 15;
constexpr int kOnePixelTwips = 15;
// libxlsxwriter writes a blank cell for every cell of a merged area, and the
// writer one for every cell of it the model does not hold: about two seconds
// and 120 MB per million cells. Templates merge a few cells; this bounds
// what a damaged one costs.
constexpr qint64 kMaxMergedCells = 1 << 20;
// The font of the written workbook's Normal style, libxlsxwriter's own,
// whose digit sets the unit of column widths.
const BiffFont kXlsxNormalFont{QStringLiteral("Calibri"), 220};
// Excel's padding of a column, 5 pixels of a 7-pixel digit.
constexpr double kPadding = 5.0 / 7.0;

// Header and footer pictures are not carried; their codes ("&G",
// "&[Picture]") would make the text invalid without them.
QString withoutPictures(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && QStringView(text).mid(i, 2) == u"&G") {
            ++i;
            continue;
        }
        if (text[i] == QLatin1Char('&') && QStringView(text).mid(i, 10) == u"&[Picture]") {
            i += 9;
            continue;
        }
        out += text[i];
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            out += text[++i]; // a code's letter, or the second "&" of a literal one
    }
    return out;
}

// Header and footer text without a font uses the Normal style's font, which
// differs between the two formats: each section gets the .xls one spelled out.
QString withNormalFont(const QString &text, const BiffFont &font)
{
    const QString style = font.weight >= 600 ? (font.italic ? QStringLiteral("Bold Italic") : QStringLiteral("Bold"))
                                             : (font.italic ? QStringLiteral("Italic") : QStringLiteral("Regular"));
    const QString codes = QStringLiteral("&%1&\"%2,%3\"").arg(font.heightTwips / 20).arg(font.name, style);
    // Text before any section code is centred; the code is spelled out too.
    const bool opensSection = text.size() >= 2 && text[0] == QLatin1Char('&')
        && QStringLiteral("LCR").contains(text[1].toUpper());
    QString out = opensSection ? QString() : QStringLiteral("&C");
    bool sectionStart = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('&') && i + 1 < text.size()) {
            const QChar code = text[i + 1].toUpper();
            if (code == QLatin1Char('L') || code == QLatin1Char('C') || code == QLatin1Char('R')) {
                out += text.mid(i, 2);
                ++i;
                sectionStart = true;
                continue;
            }
        }
        if (sectionStart) {
            out += codes;
            sectionStart = false;
        }
        out += c;
        if (c == QLatin1Char('&') && i + 1 < text.size())
            out += text[++i]; // the code's letter, or the second "&" of a literal one
    }
    return out;
}

// libxlsxwriter takes every "&G" and "&[Picture]" in the text, a literal
// "&&G" too, for a picture it was not given, and refuses the text (freeing
// it twice on the way). What is left of them after withoutPictures is text,
// so the letter after the "&" is written escaped: readers see the same text.
QByteArray withoutPictureCodes(QByteArray text)
{
    for (qsizetype at = text.indexOf('&'); at >= 0 && at + 1 < text.size(); at = text.indexOf('&', at + 1)) {
        if (text[at + 1] == 'G')
            text.replace(at + 1, 1, "_x0047_");
        else if (text.mid(at + 1, 9) == "[Picture]")
            text.replace(at + 1, 1, "_x005B_");
    }
    return text;
}

// The text with the Normal font spelled out, else as it was; nothing when
// even that is longer than the 255 characters both formats allow.
std::optional<QByteArray> headerText(const QString &text, const BiffFont &font)
{
    const QString plain = withoutPictures(text);
    if (plain.isEmpty())
        return QByteArray("");
    for (const QString &form : {withNormalFont(plain, font), plain}) {
        const QByteArray bytes = withoutPictureCodes(xmlText(form, XmlPlace::Text));
        if (utf8Length(bytes) <= LXW_HEADER_FOOTER_MAX)
            return bytes;
    }
    return std::nullopt;
}

} // namespace

void XlsxSheetWriter::writeLayout(const SheetPrintNames &names)
{
    refuseDrawings();
    qint64 merged = 0;
    for (const auto &m : m_merges)
        merged += qint64(m[2] - m[0] + 1) * (m[3] - m[1] + 1);
    if (merged > kMaxMergedCells)
        throw Error(QStringLiteral("Sloučené oblasti listu \"%1\" pokrývají %2 buněk; ve formátu .xlsx jich zde "
                                   "lze uložit nejvýše %3.")
                        .arg(m_name)
                        .arg(merged)
                        .arg(kMaxMergedCells));
    writeColumns();
    writePageSetup(names);
    writeView();
}

// A stored width counts digits of the Normal style's font; the written
// workbook's font is another, so widths are converted to keep their length.
// libxlsxwriter keeps whole pixels (of a 7-pixel digit): the rounding is
// carried from column to column, so that the sheet keeps its total width,
// on which the scale of a sheet fitted to the page depends.
void XlsxSheetWriter::writeColumns()
{
    struct Column {
        double width; // digits of the .xls Normal font, padding included
        int xf = kDefaultXf;
        lxw_row_col_options options{};
    };
    // Columns without their own width take the sheet's default one (digits
    // without padding in DEFCOLWIDTH, Excel's 5 pixels of a 7-pixel digit).
    const double defaultWidth = m_setup.standardColumnWidth ? *m_setup.standardColumnWidth / 256.0
                                                            : m_setup.defaultColumnChars.value_or(8) + kPadding;
    std::vector<Column> columns(kLastColumn + 1, Column{defaultWidth});
    for (const BiffColumn &c : m_setup.columns)
        for (int col = c.first; col <= c.last; ++col) {
            Column &out = columns[size_t(col)];
            out.width = c.width / 256.0;
            out.xf = c.xf;
            out.options.hidden = c.hidden;
            out.options.level = uint8_t(c.level);
            out.options.collapsed = c.collapsed;
        }
    const double pixelsPerDigit = 7 * digitPoints(m_formats.normalFont()) / digitPoints(kXlsxNormalFont);
    std::vector<uint32_t> pixels(columns.size());
    double exact = 0;
    long long given = 0;
    for (size_t col = 0; col < columns.size(); ++col) {
        exact += columns[col].width * pixelsPerDigit;
        pixels[col] = uint32_t(std::max(0LL, std::llround(exact) - given));
        given += pixels[col];
    }
    for (size_t first = 0; first < columns.size();) {
        size_t last = first;
        auto same = [&](size_t a, size_t b) {
            return pixels[a] == pixels[b] && columns[a].xf == columns[b].xf
                && std::memcmp(&columns[a].options, &columns[b].options, sizeof(lxw_row_col_options)) == 0;
        };
        while (last + 1 < columns.size() && same(first, last + 1))
            ++last;
        Column &c = columns[first];
        lxw_format *format = c.xf == kDefaultXf ? nullptr : m_formats.cell(c.xf);
        checkSheet(worksheet_set_column_pixels_opt(m_ws, lxw_col_t(first), lxw_col_t(last), pixels[first], format,
                                                   &c.options),
                   QStringLiteral("Sloupce"));
        first = last + 1;
    }
}

void XlsxSheetWriter::writePageSetup(const SheetPrintNames &names)
{
    const BiffSheetSetup &s = m_setup;
    if (s.paperValid && s.paper > 0 && s.paper < 256)
        worksheet_set_paper(m_ws, uint8_t(s.paper));
    if (s.orientationValid) {
        if (s.portrait)
            worksheet_set_portrait(m_ws);
        else
            worksheet_set_landscape(m_ws);
    }
    if (s.fitToPage)
        worksheet_fit_to_pages(m_ws, uint16_t(s.fitWidth), uint16_t(s.fitHeight));
    else if (s.paperValid && s.scale >= 10 && s.scale <= 400 && s.scale != 100)
        worksheet_set_print_scale(m_ws, uint16_t(s.scale));
    if (s.hasSetup && s.usePageStart && s.firstPage > 0)
        worksheet_set_start_page(m_ws, uint16_t(s.firstPage));
    if (s.overThenDown)
        worksheet_print_across(m_ws);
    worksheet_set_margins(m_ws, s.left, s.right, s.top, s.bottom);
    lxw_header_footer_options header{};
    header.margin = s.headerMargin > 0 ? s.headerMargin : 0.5;
    lxw_header_footer_options footer{};
    footer.margin = s.footerMargin > 0 ? s.footerMargin : 0.5;
    const BiffFont &normal = m_formats.normalFont();
    const std::optional<QByteArray> headerBytes = headerText(s.header, normal);
    const std::optional<QByteArray> footerBytes = headerText(s.footer, normal);
    if (!headerBytes || !footerBytes)
        throw Error(QStringLiteral("%1 listu \"%2\" je ve formátu .xlsx delší než 255 znaků.")
                        .arg(headerBytes ? QStringLiteral("Zápatí") : QStringLiteral("Záhlaví"), m_name));
    // An empty header or footer still keeps its margin: the page's
    // printable height depends on it.
    checkSheet(worksheet_set_header_opt(m_ws, headerBytes->constData(), &header), QStringLiteral("Záhlaví"));
    checkSheet(worksheet_set_footer_opt(m_ws, footerBytes->constData(), &footer), QStringLiteral("Zápatí"));
    if (s.centreHorizontally)
        worksheet_center_horizontally(m_ws);
    if (s.centreVertically)
        worksheet_center_vertically(m_ws);
    if (s.printHeadings)
        worksheet_print_row_col_headers(m_ws);
    worksheet_gridlines(m_ws, uint8_t((s.showGridlines ? LXW_SHOW_SCREEN_GRIDLINES : 0)
                                      | (s.printGridlines ? LXW_SHOW_PRINT_GRIDLINES : 0)));
    writeBreaksAndTitles(names);
}

void XlsxSheetWriter::writeBreaksAndTitles(const SheetPrintNames &names)
{
    // A break at the first row or column means nothing, and the lists end at 0.
    const auto &rowBreaks = m_sheet.rowBreaks();
    const auto &columnBreaks = m_sheet.columnBreaks();
    if (rowBreaks.size() > LXW_BREAKS_MAX || columnBreaks.size() > LXW_BREAKS_MAX)
        throw Error(QStringLiteral("List \"%1\" má příliš mnoho ručních konců stránek; formát .xlsx jich zde "
                                   "uloží nejvýše %2 v řádcích a %2 ve sloupcích.")
                        .arg(m_name)
                        .arg(LXW_BREAKS_MAX));
    std::vector<lxw_row_t> rows;
    for (const PageBreak &b : rowBreaks)
        if (b.at > 0)
            rows.push_back(lxw_row_t(b.at));
    if (!rows.empty()) {
        rows.push_back(0);
        checkSheet(worksheet_set_h_pagebreaks(m_ws, rows.data()), QStringLiteral("Konce stránek"));
    }
    std::vector<lxw_col_t> columns;
    for (const PageBreak &b : columnBreaks)
        if (b.at > 0 && b.at <= kLastColumn)
            columns.push_back(lxw_col_t(b.at));
    if (!columns.empty()) {
        columns.push_back(0);
        checkSheet(worksheet_set_v_pagebreaks(m_ws, columns.data()), QStringLiteral("Konce stránek"));
    }
    if (names.titleRows)
        checkSheet(worksheet_repeat_rows(m_ws, lxw_row_t(names.titleRows->first), lxw_row_t(names.titleRows->second)),
                   QStringLiteral("Tiskové nadpisy"));
    if (names.titleColumns)
        checkSheet(worksheet_repeat_columns(m_ws, lxw_col_t(names.titleColumns->first),
                                            lxw_col_t(names.titleColumns->second)),
                   QStringLiteral("Tiskové nadpisy"));
    if (const auto &a = names.printArea)
        checkSheet(worksheet_print_area(m_ws, lxw_row_t((*a)[0]), lxw_col_t((*a)[2]), lxw_row_t((*a)[1]),
                                        lxw_col_t((*a)[3])),
                   QStringLiteral("Oblast tisku"));
}

void XlsxSheetWriter::writeView()
{
    const BiffSheetSetup &s = m_setup;
    if (s.zoom >= 10 && s.zoom <= 400 && s.zoom != 100)
        worksheet_set_zoom(m_ws, uint16_t(s.zoom));
    if (s.frozen && (s.paneRows > 0 || s.paneColumns > 0))
        worksheet_freeze_panes_opt(m_ws, lxw_row_t(s.paneRows), lxw_col_t(s.paneColumns),
                                   lxw_row_t(s.paneTopRow), lxw_col_t(s.paneLeftColumn), 0);
    if (!s.showZeros)
        worksheet_hide_zero(m_ws);
    if (s.rightToLeft)
        worksheet_right_to_left(m_ws);
    if (s.selected)
        worksheet_select(m_ws);
    if (s.protectedSheet)
        worksheet_protect(m_ws, nullptr, nullptr);
    // libxlsxwriter places a note by stepping over the rows below it until
    // it has passed a few pixels; rows of the default height under one pixel
    // (15 twips, only in a damaged template) would never get it there.
    if (s.defaultRowTwips && *s.defaultRowTwips >= kOnePixelTwips)
        worksheet_set_default_row(m_ws, *s.defaultRowTwips / 20.0, s.unusedRowsHidden);
}

} // namespace kasovka::xlsx
