#pragma once
// The workbook's cell formats as libxlsxwriter formats, made on first use:
// one per XF index for cells, rows and columns, one per font for the runs of
// rich texts.

#include "workbook/BiffStyles.h"

#include <xlsxwriter.h>

namespace kasovka::xlsx {

class XlsxFormats {
public:
    XlsxFormats(lxw_workbook *workbook, const BiffStyles &styles);

    lxw_format *cell(int xf);
    lxw_format *font(int fontIndex);
    int fontOf(int xf) const { return m_styles.xf(xf).font; }
    // The font of the Normal style, the unit of column widths.
    const BiffFont &normalFont() const { return m_styles.font(0); }
    // The colour as libxlsxwriter takes it (black is not 0 there).
    static lxw_color_t colour(uint32_t rgb);

private:
    void applyFont(lxw_format *format, const BiffFont &font) const;
    void applyNumberFormat(lxw_format *format, int id) const;
    void applyAlignment(lxw_format *format, const BiffXf &xf) const;
    void applyBorders(lxw_format *format, const BiffXf &xf) const;
    void applyFill(lxw_format *format, const BiffXf &xf) const;

    lxw_workbook *m_workbook;
    const BiffStyles &m_styles;
    std::vector<lxw_format *> m_cells;
    std::vector<lxw_format *> m_fonts;
};

} // namespace kasovka::xlsx
