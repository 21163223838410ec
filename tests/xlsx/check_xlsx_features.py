#!/usr/bin/python3
"""What the workbook model carries reaches the .xlsx: a feature template
filled once as .xls and once as .xlsx by `kasovka-xls fill`; the .xls read
with xlrd (and its print setup records with olefile), the .xlsx with
openpyxl, compared feature by feature.

    check_xlsx_features.py KASOVKA_XLS DATA_FOLDER [--libreoffice]

With --libreoffice both are printed to PDF by LibreOffice and must give the
same pages (pdftotext, page by page). Exit code 77 when LibreOffice is missing.
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

import olefile
import openpyxl
import xlrd

TOOL, DATA = sys.argv[1:3]
LIBREOFFICE = "--libreoffice" in sys.argv[3:]
failures = []
checked = set()

# What a filled template carries; every item must be compared at least once,
# so a feature that drops out of the test data fails here too.
CARRIED = {
    "sheet count", "sheet name", "sheet visibility", "text", "number", "date", "Boolean", "blank", "formula",
    "rich text runs", "number format", "font name", "font size", "bold", "italic", "underline", "strikeout",
    "font colour", "horizontal alignment", "vertical alignment", "wrap", "rotation", "border style",
    "border colour", "fill", "fill colour", "merged cells", "column width", "total width of the columns",
    "hidden column", "row height", "row page breaks", "column page breaks", "comment", "paper", "orientation",
    "fit to page", "fit width, height", "margins", "header", "header margin", "footer", "footer margin", "centred horizontally",
    "print gridlines", "print headings", "print titles", "defined name",
}

BORDERS = {0: None, 1: "thin", 2: "medium", 3: "dashed", 4: "dotted", 5: "thick", 6: "double", 7: "hair",
           8: "mediumDashed", 9: "dashDot", 10: "mediumDashDot", 11: "dashDotDot", 12: "mediumDashDotDot",
           13: "slantDashDot"}
H_ALIGN = {0: None, 1: "left", 2: "center", 3: "right", 4: "fill", 5: "justify", 6: "centerContinuous",
           7: "distributed"}
V_ALIGN = {0: "top", 1: "center", 2: None, 3: "justify", 4: "distributed"}
UNDERLINE = {0: None, 1: "single", 2: "double", 0x21: "singleAccounting", 0x22: "doubleAccounting"}


def same(feature, where, expected, got):
    checked.add(feature)
    if expected != got:
        failures.append("%s, %s: .xls %r, .xlsx %r" % (feature, where, expected, got))


def fill(work, name):
    target = os.path.join(work, name)
    result = subprocess.run([TOOL, "fill", os.path.join(DATA, "features.xls"), target,
                             os.path.join(DATA, "features.json")], capture_output=True)
    if result.returncode != 0:
        sys.exit("fill %s failed: %s" % (name, result.stderr.decode()))
    return target


def biff_setup(path):
    """Print setup records of each worksheet, by sheet index."""
    data = olefile.OleFileIO(path).openstream("Workbook").read()
    sheets, depth, current, pos = [], 0, None, 0
    while pos + 4 <= len(data):
        rid, size = struct.unpack_from("<HH", data, pos)
        body = data[pos + 4:pos + 4 + size]
        pos += 4 + size
        if rid == 0x0809:
            depth += 1
            if depth == 1 and struct.unpack_from("<H", body, 2)[0] == 0x10:
                current = {"margins": [0.75, 0.75, 1.0, 1.0]}
                sheets.append(current)
        elif rid == 0x000A:
            depth -= 1
        elif current is not None and depth == 1:
            if rid == 0x00A1:
                paper, scale, _, fit_w, fit_h, flags = struct.unpack_from("<6H", body)
                header, footer = struct.unpack_from("<2d", body, 16)
                current.update(paper=paper, scale=scale, fit=(fit_w, fit_h), portrait=bool(flags & 2),
                               header_margin=header, footer_margin=footer)
            elif 0x26 <= rid <= 0x29:
                current["margins"][rid - 0x26] = struct.unpack_from("<d", body)[0]
            elif rid in (0x14, 0x15) and body:
                count, high = struct.unpack_from("<HB", body)
                text = body[3:3 + count * 2].decode("utf-16-le") if high & 1 else body[3:3 + count].decode("latin-1")
                current["header" if rid == 0x14 else "footer"] = text
            elif rid == 0x0083:
                current["centre"] = bool(struct.unpack_from("<H", body)[0])
            elif rid == 0x002B:
                current["gridlines"] = bool(struct.unpack_from("<H", body)[0])
            elif rid == 0x002A:
                current["headings"] = bool(struct.unpack_from("<H", body)[0])
            elif rid == 0x0081:
                current["fit_to_page"] = bool(struct.unpack_from("<H", body)[0] & 0x100)
    return sheets


def rgb(book, index):
    colour = book.colour_map.get(index)
    return None if colour is None else "%02X%02X%02X" % colour


def xlsx_rgb(colour):
    return None if colour is None or colour.rgb is None or not isinstance(colour.rgb, str) else colour.rgb[-6:]


def digit_points(name, twips):
    """Width of the digit 0 in points: column widths count it."""
    return twips / 20 * (0.5045 if name in ("Calibri", "Carlito") else 0.5553)


def compare_cell(book, sheet, ws, r, c, where):
    cell, out = sheet.cell(r, c), ws.cell(r + 1, c + 1)
    if isinstance(out, openpyxl.cell.cell.MergedCell):
        return  # openpyxl keeps nothing of a merged area's other cells
    xf = book.xf_list[cell.xf_index]
    font = book.font_list[xf.font_index]
    if isinstance(out.value, str) and out.value.startswith("="):
        pass  # a formula: its result is cleared in both; the texts are checked below
    elif cell.ctype == xlrd.XL_CELL_TEXT:
        same("text", where, cell.value, out.value)
    elif cell.ctype == xlrd.XL_CELL_BOOLEAN:
        same("Boolean", where, bool(cell.value), out.value)
    elif cell.ctype == xlrd.XL_CELL_DATE:
        same("date", where, cell.value, None if out.value is None else
             (out.value - openpyxl.utils.datetime.CALENDAR_WINDOWS_1900).days if hasattr(out.value, "year")
             else out.value)
    elif cell.ctype == xlrd.XL_CELL_NUMBER and not isinstance(out.value, str):
        same("number", where, cell.value, out.value)
    elif cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
        same("blank", where, None, out.value)
    fmt = book.format_map[xf.format_key].format_str
    same("number format", where, fmt, out.number_format)
    same("font name", where, font.name, out.font.name)
    same("font size", where, font.height / 20, out.font.sz)
    same("bold", where, font.weight >= 700, bool(out.font.b))
    same("italic", where, bool(font.italic), bool(out.font.i))
    same("underline", where, UNDERLINE.get(font.underline_type), out.font.u)
    same("strikeout", where, bool(font.struck_out), bool(out.font.strike))
    if font.colour_index < 64:
        same("font colour", where, rgb(book, font.colour_index), xlsx_rgb(out.font.color))
    a = xf.alignment
    same("horizontal alignment", where, H_ALIGN[a.hor_align], out.alignment.horizontal)
    same("vertical alignment", where, V_ALIGN[a.vert_align], out.alignment.vertical)
    same("wrap", where, bool(a.text_wrapped), bool(out.alignment.wrap_text))
    same("rotation", where, a.rotation, int(out.alignment.text_rotation or 0))
    b = xf.border
    for side, style, colour in (("left", b.left_line_style, b.left_colour_index),
                                ("right", b.right_line_style, b.right_colour_index),
                                ("top", b.top_line_style, b.top_colour_index),
                                ("bottom", b.bottom_line_style, b.bottom_colour_index)):
        got = getattr(out.border, side)
        same("border style", where + " " + side, BORDERS[style], got.style)
        if style and colour < 64:
            same("border colour", where + " " + side, rgb(book, colour), xlsx_rgb(got.color))
    pattern = xf.background.fill_pattern
    same("fill", where, "solid" if pattern == 1 else None, out.fill.fill_type)
    if pattern == 1:
        same("fill colour", where, rgb(book, xf.background.pattern_colour_index), xlsx_rgb(out.fill.fgColor))


def compare_sheet(book, sheet, ws, setup, archive, index):
    name = sheet.name
    same("sheet name", "sheet %d" % index, name, ws.title)
    same("sheet visibility", name, ["visible", "hidden", "veryHidden"][sheet.visibility], ws.sheet_state)
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            if sheet.cell_type(r, c) != xlrd.XL_CELL_EMPTY or sheet.cell_xf_index(r, c) != 15:
                compare_cell(book, sheet, ws, r, c, "%s!%s" % (name, openpyxl.utils.get_column_letter(c + 1) + str(r + 1)))
    same("merged cells", name, sorted((r0 + 1, r1, c0 + 1, c1) for r0, r1, c0, c1 in sheet.merged_cells),
         sorted((m.min_row, m.max_row, m.min_col, m.max_col) for m in ws.merged_cells.ranges))
    xls_digit = digit_points(book.font_list[0].name, book.font_list[0].height)
    xlsx_digit = digit_points("Calibri", 220)
    total = [0.0, 0.0]
    for c in range(min(8, sheet.ncols + 2)):
        info = sheet.colinfo_map.get(c)
        if info is None:
            continue
        letter = openpyxl.utils.get_column_letter(c + 1)
        dim = next((d for d in ws.column_dimensions.values() if d.min <= c + 1 <= d.max), None)
        if dim is None:
            failures.append("column width, %s!%s: missing in the .xlsx" % (name, letter))
            continue
        # Whole pixels (a seventh of a digit): less than one either way for
        # a column and for the columns up to it together.
        xls_width, xlsx_width = info.width / 256 * xls_digit, dim.width * xlsx_digit
        same("column width", "%s!%s" % (name, letter), True, abs(xls_width - xlsx_width) < xlsx_digit / 7)
        total[0] += xls_width
        total[1] += xlsx_width
        same("hidden column", "%s!%s" % (name, letter), bool(info.hidden), bool(dim.hidden))
        same("total width of the columns", "%s up to %s" % (name, letter), True,
             abs(total[0] - total[1]) < xlsx_digit / 7)
    for r, info in sheet.rowinfo_map.items():
        same("row height", "%s row %d" % (name, r + 1), info.height / 20, ws.row_dimensions[r + 1].height)
    same("row page breaks", name, [b[0] for b in sheet.horizontal_page_breaks], [b.id for b in ws.row_breaks.brk])
    same("column page breaks", name, [b[0] for b in sheet.vertical_page_breaks], [b.id for b in ws.col_breaks.brk])
    for (r, c), note in sheet.cell_note_map.items():
        comment = ws.cell(r + 1, c + 1).comment
        same("comment", "%s row %d" % (name, r + 1), (note.text, note.author),
             (comment.text, comment.author) if comment else None)
    xml = archive.read("xl/worksheets/sheet%d.xml" % (index + 1)).decode("utf-8")
    compare_setup(setup, ws, xml, name)


def header_text(xml, tag):
    """The text, without the Normal font spelled out at each section's start."""
    found = re.search(r"<%s>(.*?)</%s>" % (tag, tag), xml)
    if not found:
        return None
    text = found.group(1).replace("&amp;", "&").replace("&quot;", '"')
    return re.sub(r'&\d+&"[^"]*"', "", text)


def compare_setup(setup, ws, xml, name):
    if "paper" in setup:
        same("paper", name, setup["paper"], int(ws.page_setup.paperSize or 0))
        same("orientation", name, "portrait" if setup["portrait"] else "landscape", ws.page_setup.orientation)
    fit = bool(setup.get("fit_to_page"))
    same("fit to page", name, fit, bool(ws.sheet_properties.pageSetUpPr and ws.sheet_properties.pageSetUpPr.fitToPage))
    if fit:
        same("fit width, height", name, setup["fit"], (int(ws.page_setup.fitToWidth if ws.page_setup.fitToWidth is not None else 1),
                                                       int(ws.page_setup.fitToHeight if ws.page_setup.fitToHeight is not None else 1)))
    elif "paper" in setup:
        same("print scale", name, setup["scale"], int(ws.page_setup.scale or 100))
    m = ws.page_margins
    same("margins", name, [round(v, 3) for v in setup["margins"]], [round(v, 3) for v in (m.left, m.right, m.top, m.bottom)])
    if "header_margin" in setup:
        same("header margin", name, round(setup["header_margin"], 3), round(m.header, 3))
        same("footer margin", name, round(setup["footer_margin"], 3), round(m.footer, 3))
    if setup.get("header"):
        same("header", name, setup["header"], header_text(xml, "oddHeader"))
    if setup.get("footer"):
        same("footer", name, setup["footer"], header_text(xml, "oddFooter"))
    same("centred horizontally", name, bool(setup.get("centre")), bool(ws.print_options.horizontalCentered))
    same("print gridlines", name, bool(setup.get("gridlines")), bool(ws.print_options.gridLines))
    same("print headings", name, bool(setup.get("headings")), bool(ws.print_options.headings))


def compare(xls, xlsx):
    book = xlrd.open_workbook(xls, formatting_info=True)
    out = openpyxl.load_workbook(xlsx)
    setups = biff_setup(xls)
    same("sheet count", "workbook", book.nsheets, len(out.worksheets))
    archive = zipfile.ZipFile(xlsx)
    for index, sheet in enumerate(book.sheets()):
        compare_sheet(book, sheet, out.worksheets[index], setups[index], archive, index)
    titles = [n for n in book.name_obj_list if n.name == "Print_Titles"]
    same("print titles", "workbook", "$1:$2" if titles else None, out.worksheets[0].print_title_rows)
    same("defined name", "Pocatek", "'Druhý list'!$B$2", out.defined_names["Pocatek"].attr_text)
    ws = out.worksheets[0]
    # Formulas move with their rows exactly as in the .xls; three band rows.
    same("formula", "band row", "=D3/$D$8", ws["E3"].value)
    same("formula", "last band row", "=D5/$D$8", ws["E5"].value)
    same("formula", "count over the band", "=COUNT(D2:D6)", ws["D7"].value)
    same("formula", "sum over the band", "=SUM(D2:D6)+'Druhý list'!B2", ws["D8"].value)
    same("formula", "error", "=1/0", ws["D9"].value)
    same("formula", "text result", '=IF(D8>0,"kladný","záporný")', ws["E9"].value)
    same("rich text runs", "C9", ["Běžné, ", "tučné", " a ", "kurzíva"], text_runs(archive, "C9"))


def text_runs(archive, ref):
    """The runs of a text cell of the first sheet, inline or shared."""
    sheet = archive.read("xl/worksheets/sheet1.xml").decode("utf-8")
    cell = re.search(r'<c r="%s"([^>]*)>(.*?)</c>' % ref, sheet, re.S)
    if not cell:
        return None
    body = cell.group(2)
    if 't="s"' in cell.group(1):
        strings = re.findall(r"<si>(.*?)</si>", archive.read("xl/sharedStrings.xml").decode("utf-8"), re.S)
        body = strings[int(re.search(r"<v>(\d+)</v>", body).group(1))]
    return re.findall(r"<t[^>]*>([^<]*)</t>", body)


def render(work, paths):
    soffice = shutil.which("soffice")
    if not soffice:
        sys.exit(77)
    pages = []
    env = dict(os.environ, LANG="cs_CZ.UTF-8")
    for path in paths:
        subprocess.run([soffice, "-env:UserInstallation=file://" + os.path.join(work, "profile"), "--headless",
                        "--convert-to", "pdf", "--outdir", os.path.join(work, "pdf"), path],
                       check=True, capture_output=True, env=env)
        pdf = os.path.join(work, "pdf", os.path.splitext(os.path.basename(path))[0] + ".pdf")
        text = subprocess.run(["pdftotext", pdf, "-"], check=True, capture_output=True).stdout
        # The words of each page: a line set a pixel higher must not count.
        pages.append([sorted(page.split()) for page in text.decode("utf-8").split("\f") if page.strip()])
    checked.add("printed pages")
    if len(pages[0]) != len(pages[1]):
        failures.append("printed pages: .xls %d, .xlsx %d" % (len(pages[0]), len(pages[1])))
    for number, (a, b) in enumerate(zip(*pages), 1):
        if a != b:
            failures.append("printed page %d differs:\n  .xls  %s\n  .xlsx %s" % (number, " ".join(a), " ".join(b)))


def main():
    work = tempfile.mkdtemp(prefix="kasovka-xlsx-")
    try:
        xls, xlsx = fill(work, "vystup.xls"), fill(work, "vystup.xlsx")
        compare(xls, xlsx)
        if LIBREOFFICE:
            render(work, [xls, xlsx])
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("checked: " + ", ".join(sorted(checked)))
    for feature in sorted(CARRIED - checked):
        failures.append("%s: never compared" % feature)
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
