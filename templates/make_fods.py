#!/usr/bin/env python3
"""Writes the three workbook templates as LibreOffice flat XML spreadsheets.

The .fods files are the templates' sources; build.sh converts them into the
Excel 97-2003 templates the program fills. Bands are named ranges:
"__Sestava__" (the whole sheet, filled once), "__Table1__" (one group) and
"__Table2__" (one journal row of the group). Cells beginning with "##" read a
field of those data sets, cells beginning with "#." a value the exporter
publishes (report name, agenda, year, period, group captions).

Paper: A3 landscape at 90 %, so 8 pt cells print at 7.2 pt. The amount
columns are split over three page widths along their column groups (5-12,
13-23, 24-35, the three columns of the final overview); the group key, row
number, date, document and description repeat on every width, the title
block and column titles on every page.
"""
from xml.sax.saxutils import escape
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# Amount columns 5..35: title line 2 (line 1 is the column group).
AMOUNTS = [
    "příjem", "výdej", "příjem", "výdej", "příjem", "výdej", "příjem", "výdej",
    "zboží", "služby", "ostatní",
    "materiál", "zboží", "drobný maj.", "mzdy", "daň ze mzdy", "soc. poj.", "zdr. poj.", "režie",
    "srážky", "DPH", "dotace", "vklad", "ostatní",
    "dlouhodobý maj.", "DPH", "soc. a zdr. poj.", "daň z příjmu", "osobní", "dary", "ostatní (vč. rezerv)",
]
# Column groups of the amount columns: first, last, title, shading.
COLUMN_GROUPS = [
    (5, 6, "Hotovost a ceniny", "light"), (7, 8, "Bankovní účty", "plain"),
    (9, 10, "Průběžné položky", "light"), (11, 12, "CELKEM", "dark"),
    (13, 15, "Příjmy zahrnované do základu", "plain"), (16, 23, "Výdaje na zajištění příjmů", "light"),
    (24, 28, "Příjmy neovlivňující základ daně", "plain"), (29, 35, "Výdaje neovlivňující základ daně", "light"),
]
# The first amount column of each page width.
WIDTH_STARTS = (5, 13, 24)
# Wide enough for -9 999 999 999,99 in bold at 8 pt.
AMOUNT_WIDTH = "2.7cm"


def shade(column):
    for first, last, _, tone in COLUMN_GROUPS:
        if first <= column <= last:
            return tone
    return "plain"


def col_name(index):  # 1 -> A
    name = ""
    while index:
        index, rest = divmod(index - 1, 26)
        name = chr(65 + rest) + name
    return name


STYLES = """
 <office:styles>
  <style:default-style style:family="table-cell">
   <style:text-properties style:font-name="Liberation Sans" fo:font-family="'Liberation Sans'" fo:font-size="8pt" fo:language="cs" fo:country="CZ"/>
  </style:default-style>
  <number:number-style style:name="Amount">
   <number:number number:decimal-places="2" number:min-decimal-places="2" number:min-integer-digits="1" number:grouping="true"/>
  </number:number-style>
  <number:number-style style:name="Whole">
   <number:number number:decimal-places="0" number:min-integer-digits="1"/>
  </number:number-style>
  <number:date-style style:name="Date">
   <number:day/><number:text>.</number:text><number:month/><number:text>.</number:text><number:year number:style="long"/>
  </number:date-style>
 </office:styles>
"""


def cell_style(name, bold=False, size=None, align=None, background=None, color=None,
               border=None, data=None, wrap=False, valign=None):
    cell_props = []
    if background:
        cell_props.append('fo:background-color="%s"' % background)
    if border == "all":
        cell_props.append('fo:border="0.5pt solid #808080"')
    elif border == "top":
        cell_props.append('fo:border-top="0.75pt solid #000000"')
    elif border == "bottom":
        cell_props.append('fo:border-bottom="0.75pt solid #000000"')
    elif border == "double":
        cell_props.append('fo:border-top="0.75pt solid #000000" fo:border-bottom="1.5pt double #000000"')
    if wrap:
        cell_props.append('fo:wrap-option="wrap"')
    if valign:
        cell_props.append('style:vertical-align="%s"' % valign)
    text = []
    if bold:
        text.append('fo:font-weight="bold"')
    if size:
        text.append('fo:font-size="%s"' % size)
    if color:
        text.append('fo:color="%s"' % color)
    out = '  <style:style style:name="%s" style:family="table-cell" style:parent-style-name="Default"' % name
    if data:
        out += ' style:data-style-name="%s"' % data
    out += ">\n"
    if cell_props:
        out += "   <style:table-cell-properties %s/>\n" % " ".join(cell_props)
    if align:
        out += '   <style:paragraph-properties fo:text-align="%s"/>\n' % align
    if text:
        out += "   <style:text-properties %s/>\n" % " ".join(text)
    return out + "  </style:style>\n"


BACKGROUND = {"plain": None, "light": "#ebebeb", "dark": "#808080"}
TEXT_COLOR = {"plain": None, "light": None, "dark": "#ffffff"}
KEY_COLOR = "#595959"


def common_cell_styles():
    out = cell_style("Title", bold=True, size="12pt")
    out += cell_style("ReportName", bold=True, size="11pt")
    out += cell_style("Subtitle", bold=True, size="10pt")
    out += cell_style("Label")
    out += cell_style("Value", bold=True)
    out += cell_style("LabelBold", bold=True)
    out += cell_style("Caption", bold=True, border="bottom", color="#316ac5")
    for tone in ("plain", "light", "dark"):
        bg, fg = BACKGROUND[tone], TEXT_COLOR[tone]
        out += cell_style("Head_" + tone, bold=True, align="center", background=bg,
                          color=fg or "#404040", border="all", wrap=True, valign="middle")
        out += cell_style("Amount_" + tone, data="Amount", background=bg, color=fg, border="all")
        out += cell_style("Total_" + tone, data="Amount", bold=True, background=bg, color=fg,
                          border="double")
    # The group key stands beside the table, in its margin: without groups
    # the column is simply empty.
    out += cell_style("Key", color=KEY_COLOR)
    out += cell_style("HeadKey", bold=True, color=KEY_COLOR, wrap=True, valign="middle")
    out += cell_style("Text", border="all")
    # Descriptions and document numbers wrap within their column; the
    # program grows the filled rows to fit them.
    out += cell_style("TextWrap", border="all", wrap=True)
    out += cell_style("Number", data="Whole", border="all", align="end")
    out += cell_style("DateCell", data="Date", border="all", align="center")
    out += cell_style("TotalLabel", bold=True, border="double")
    out += cell_style("SumValue", data="Amount", align="end")
    out += cell_style("SumTotal", data="Amount", bold=True, border="top", align="end")
    out += cell_style("SumTotalLabel", bold=True, border="top")
    out += ('  <style:style style:name="Small" style:family="text">'
            '<style:text-properties fo:font-size="8pt"/></style:style>\n')
    return out


PAGE_LAYOUT = """
  <style:page-layout style:name="Landscape">
   <style:page-layout-properties fo:page-width="42cm" fo:page-height="29.7cm" style:print-orientation="landscape"
     fo:margin-top="1cm" fo:margin-bottom="0.8cm" fo:margin-left="0.8cm" fo:margin-right="0.8cm"
     style:scale-to="90%" style:print="grid-disabled headers-disabled"
     style:print-page-order="ltr" style:table-centering="none"/>
   <style:header-style/>
   <style:footer-style><style:header-footer-properties fo:min-height="0.5cm" fo:margin-top="0.3cm"/></style:footer-style>
  </style:page-layout>
"""

# The print date and "Strana x z y" at the foot of every page.
MASTER = """
 <office:master-styles>
  <style:master-page style:name="Default" style:page-layout-name="Landscape">
   <style:header style:display="false"/>
   <style:footer>
    <style:region-left><text:p><text:span text:style-name="Small">Vytištěno <text:date>1.1.2026</text:date></text:span></text:p></style:region-left>
    <style:region-right><text:p><text:span text:style-name="Small">Strana <text:page-number>1</text:page-number> z <text:page-count>1</text:page-count></text:span></text:p></style:region-right>
   </style:footer>
  </style:master-page>
 </office:master-styles>
"""

HEADER = """<?xml version="1.0" encoding="UTF-8"?>
<office:document
  xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
  xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
  xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
  xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
  xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
  xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"
  xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
  office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
"""


class Sheet:
    """Rows of (style, text) cells; None is an empty unstyled cell. A cell may
    span (rows, columns); the cells it covers are written as covered."""

    def __init__(self, width):
        self.width = width
        self.rows = []  # (height or None, [cells])
        self.spans = {}  # (row, column) -> (rows, columns), 1-based

    def row(self, cells, height=None):
        cells = list(cells) + [None] * (self.width - len(cells))
        self.rows.append((height, cells[: self.width]))
        return len(self.rows)  # 1-based row number

    def span(self, row, column, rows, columns):
        self.spans[(row, column)] = (rows, columns)

    def covered(self):
        out = set()
        for (row, column), (rows, columns) in self.spans.items():
            out |= {(r, c) for r in range(row, row + rows) for c in range(column, column + columns)}
            out.discard((row, column))
        return out

    def xml_rows(self, first, last, heights):
        covered = self.covered()
        out = ""
        for number in range(first, last + 1):
            height, cells = self.rows[number - 1]
            style = heights.get(height)
            out += '   <table:table-row%s>\n' % (' table:style-name="%s"' % style if style else "")
            for column, cell in enumerate(cells, start=1):
                if (number, column) in covered:
                    attr = ' table:style-name="%s"' % cell[0] if cell else ""
                    out += "    <table:covered-table-cell%s/>\n" % attr
                    continue
                if cell is None:
                    out += "    <table:table-cell/>\n"
                    continue
                style, text = cell
                attrs = ' table:style-name="%s"' % style if style else ""
                if (number, column) in self.spans:
                    rows, columns = self.spans[(number, column)]
                    attrs += ' table:number-rows-spanned="%d" table:number-columns-spanned="%d"' % (rows, columns)
                if text is None or text == "":
                    out += "    <table:table-cell%s/>\n" % attrs
                else:
                    out += ('    <table:table-cell%s office:value-type="string">'
                            "<text:p>%s</text:p></table:table-cell>\n" % (attrs, escape(text)))
            out += "   </table:table-row>\n"
        return out


def write(path, sheet_name, sheet, widths, title_rows, title_columns, breaks, names, formulas=None):
    """title_rows and title_columns: how many leading rows and columns repeat
    on every page; breaks: the 1-based columns that begin a new page width."""
    heights = {}
    auto = ""
    for index, value in enumerate(sorted({h for h, _ in sheet.rows if h})):
        heights[value] = "ro%d" % index
        auto += ('  <style:style style:name="ro%d" style:family="table-row"><style:table-row-properties '
                 'style:row-height="%s" style:use-optimal-row-height="false"/></style:style>\n' % (index, value))
    column_styles = {}
    column_xml = []
    for number, width in enumerate(widths, start=1):
        key = (width, number in breaks)
        if key not in column_styles:
            column_styles[key] = "co%d" % len(column_styles)
            brk = ' fo:break-before="page"' if number in breaks else ""
            auto += ('  <style:style style:name="%s" style:family="table-column"><style:table-column-properties '
                     'style:column-width="%s"%s/></style:style>\n' % (column_styles[key], width, brk))
        column_xml.append('   <table:table-column table:style-name="%s"/>\n' % column_styles[key])
    auto += ('  <style:style style:name="Sheet" style:family="table" style:master-page-name="Default">'
             '<style:table-properties table:display="true"/></style:style>\n')
    body = '  <table:table table:name="%s" table:style-name="Sheet">\n' % escape(sheet_name)
    body += "   <table:table-header-columns>\n" + "".join(column_xml[:title_columns])
    body += "   </table:table-header-columns>\n" + "".join(column_xml[title_columns:])
    body += "   <table:table-header-rows>\n"
    body += sheet.xml_rows(1, title_rows, heights)
    body += "   </table:table-header-rows>\n"
    rows_xml = sheet.xml_rows(title_rows + 1, len(sheet.rows), heights)
    for placeholder, formula in (formulas or {}).items():
        rows_xml = rows_xml.replace(
            'office:value-type="string"><text:p>%s</text:p>' % placeholder,
            'table:formula="%s" office:value-type="float" office:value="0"><text:p>0</text:p>' % escape(formula))
    body += rows_xml
    body += "  </table:table>\n"
    body += "  <table:named-expressions>\n"
    for name, (first, last) in names.items():
        body += ('   <table:named-range table:name="%s" table:base-cell-address="$\'%s\'.$A$1" '
                 'table:cell-range-address="$\'%s\'.$A$%d:.$%s$%d"/>\n'
                 % (name, sheet_name, sheet_name, first, col_name(sheet.width), last))
    body += "  </table:named-expressions>\n"
    with open(path, "w", encoding="utf-8") as out:
        out.write(HEADER)
        out.write(STYLES)
        out.write(" <office:automatic-styles>\n" + common_cell_styles() + auto + PAGE_LAYOUT
                  + " </office:automatic-styles>\n")
        out.write(MASTER)
        out.write(" <office:body>\n  <office:spreadsheet>\n" + body + "  </office:spreadsheet>\n </office:body>\n")
        out.write("</office:document>\n")


def title_block(sheet, title, wide):
    """The report's title, name, firm, agenda, accounting year, period and
    kind of summation groups, all within the columns that repeat on every
    page width (two label/value pairs a line when wide); the firm's line is
    deleted when the host's settings name no firm, the last line in a
    report without groups."""
    if wide:
        sheet.row([("Title", title), None, None, ("ReportName", "#.NazevSestavy")], height="0.75cm")
        sheet.row([("Label", "#.FirmaRadek"), ("Value", "#.Firma")], height="0.42cm")
        sheet.row([("Label", "Agenda:"), ("Value", "#.Agenda"), None, ("Label", "Účetní rok:"),
                   ("Value", "#.UcetniRok")], height="0.42cm")
    else:
        sheet.row([("Title", title)], height="0.75cm")
        sheet.row([("ReportName", "#.NazevSestavy")], height="0.55cm")
        sheet.row([("Label", "#.FirmaRadek"), ("Value", "#.Firma")], height="0.42cm")
        sheet.row([("Label", "Agenda:"), ("Value", "#.Agenda")], height="0.42cm")
        sheet.row([("Label", "Účetní rok:"), ("Value", "#.UcetniRok")], height="0.42cm")
    sheet.row([("Label", "Období:"), ("Value", "#.Obdobi")], height="0.42cm")
    sheet.row([("Key", "#.SkupinaRadek"), ("Value", "#.SumacniSkupiny")], height="0.42cm")


def column_titles(sheet, leading, columns):
    """Three title lines: leading is [(text, line-3 text)] spanning lines 1-2,
    columns [(column group, title, number, tone)] of the amount columns."""
    def head(text):  # a tag's column is the group key's, beside the table
        return "HeadKey" if text.startswith("#.") else "Head_plain"
    first = sheet.row([(head(text), text) for text, _ in leading], height="0.7cm")
    second = sheet.row([(head(text), "") for text, _ in leading], height="0.7cm")
    third = sheet.row([(head(text), number) for text, number in leading], height="0.4cm")
    for column in range(1, len(leading) + 1):
        sheet.span(first, column, 2, 1)
    # A column group's title spans its columns.
    starts = {}
    for at, (group, title, number, tone) in enumerate(columns, start=len(leading) + 1):
        starts.setdefault(group, at)
        sheet.rows[first - 1][1][at - 1] = ("Head_" + tone, group if starts[group] == at else "")
        sheet.rows[second - 1][1][at - 1] = ("Head_" + tone, title)
        sheet.rows[third - 1][1][at - 1] = ("Head_" + tone, number)
        if at > starts[group]:
            sheet.span(first, starts[group], 1, at - starts[group] + 1)
    return third


LABELS = {
    5: "05 příjem", 6: "06 výdej", 7: "07 příjem", 8: "08 výdej", 9: "09 příjem", 10: "10 výdej",
    11: "11 příjem", 12: "12 výdej", 13: "13 zboží", 14: "14 služby", 15: "15 ostatní",
    16: "16 materiál", 17: "17 zboží", 18: "18 drobný majetek", 19: "19 mzdy", 20: "20 daň ze mzdy",
    21: "21 sociální pojištění", 22: "22 zdravotní pojištění", 23: "23 režie", 24: "24 srážky",
    25: "25 DPH", 26: "26 dotace", 27: "27 vklad", 28: "28 ostatní", 29: "29 HIM", 30: "30 DPH",
    31: "31 soc. a zdrav. pojištění", 32: "32 daň z příjmů", 33: "33 osobní spotřeba", 34: "34 dary",
    35: "35 ostatní (včetně rezerv)",
}


def col(n):
    return (LABELS[n], "Col%d" % n, False)


def total(label, field):
    return (label, field, True)


# The final overview: three columns of sections, row 0 holding the first
# captions. A text entry is a section caption, a tuple a figure. Each column
# stands on the page width of the journal columns it sums.
OVERVIEW = [
    ["Hotovost a ceniny", col(5), col(6), total("Hotovost celkem", "HotovostCeninyCelkem"),
     "Bankovní účty", col(7), col(8), total("Na účtech celkem", "BankUctyCelkem"),
     "Průběžné položky", col(9), col(10), total("Rozdíl", "PrubPolozkyCelkem"),
     "Celkem", col(11), col(12), total("Základ daně", "ZakladDane")],
    ["Příjmy zahrnované do základu", col(13), col(14), col(15),
     total("Celkem", "PrijmyZahrDoZaklCelkem"), None, "Výdaje na zajištění příjmů"]
    + [col(n) for n in range(16, 24)] + [total("Celkem", "VydajeNaZajPrijCelkem")],
    ["Příjmy neovlivňující základ daně"] + [col(n) for n in range(24, 29)]
    + [total("Celkem", "PrijmyNeovlZaklDaneCelkem"), "Výdaje neovlivňující základ daně"]
    + [col(n) for n in range(29, 36)] + [total("Celkem", "VydajeNeovlZaklDaneCelkem")],
]

# Journal sheet columns: group key, row number, date, document, description,
# then Col5..Col35.
LEADING = 5
JOURNAL_WIDTH = LEADING + 31


def amount_column(n):  # sheet column (1-based) of ColN
    return LEADING + n - 4


# Label and value columns of each overview column: the first amount column
# of its page width (the label runs over two columns) and the one after.
OVERVIEW_COLUMNS = [(amount_column(start), amount_column(start) + 2) for start in WIDTH_STARTS]

KEY = ("Key", "##Table1##Zkratka")


def overview_rows(sheet):
    sheet.row([], height="0.3cm")
    sheet.row([("Key", "##Table1##Zkratka"), ("Subtitle", "Závěrečný přehled peněžního deníku")],
              height="0.6cm")
    sheet.row([("Key", "#.SkupinaRadek"), ("LabelBold", "Sumační skupina:"), None,
               ("LabelBold", "##Table1##Zkratka"), ("LabelBold", "##Table1##Nazev")], height="0.45cm")
    for index in range(16):
        cells = [("Key", "##Table1##Zkratka")] + [None] * (JOURNAL_WIDTH - 1)
        for column, (label_at, value_at) in zip(OVERVIEW, OVERVIEW_COLUMNS):
            entry = column[index] if index < len(column) else None
            if entry is None:
                continue
            if isinstance(entry, str):
                for at in range(label_at, value_at + 1):
                    cells[at - 1] = ("Caption", entry if at == label_at else "")
                continue
            label, field, is_total = entry
            style = "SumTotalLabel" if is_total else "Label"
            cells[label_at - 1] = (style, label)
            cells[label_at] = (style, "")
            cells[value_at - 1] = ("SumTotal" if is_total else "SumValue", "##Table1##" + field)
        sheet.row(cells)


def report_template(path, with_summary):
    sheet = Sheet(JOURNAL_WIDTH)
    title_block(sheet, "Peněžní deník", True)
    leading = [("#.SkupinaTitulek", ""), ("Číslo řádku", "[1]"), ("Datum", "[2]"),
               ("Číslo dokladu/ var. symbol", "[3]"), ("Popis", "[4]")]
    columns = [(title, AMOUNTS[n - 5], "[%d]" % n, shade(n))
               for first, last, title, _ in COLUMN_GROUPS for n in range(first, last + 1)]
    titles_end = column_titles(sheet, leading, columns)
    band_top = sheet.row([("Key", "#.SkupinaRadek"), ("LabelBold", "Sumační skupina:"), None,
                          ("Subtitle", "##Table1##Zkratka"), ("Subtitle", "##Table1##Nazev")], height="0.6cm")
    row = [KEY, ("Number", "##Table2##Poradi"), ("DateCell", "##Table2##Datum"),
           ("TextWrap", "##Table2##Doklad_VS"), ("TextWrap", "##Table2##Popis")]
    row += [("Amount_" + shade(n), "##Table2##Col%d" % n) for n in range(5, 36)]
    # One line high as stored: the program grows the rows whose texts wrap
    # (a height left to the reader would follow the placeholders' wrapping).
    detail = sheet.row(row, height="0.45cm")
    totals = [KEY] + [("TotalLabel", "")] * 3 + [("TotalLabel", "Celkem")]
    totals += [("Total_" + shade(n), "##Table1##Col%d" % n) for n in range(5, 36)]
    sheet.row(totals)
    if with_summary:
        overview_rows(sheet)
    # Erased after the fill; a plain cell then leaves nothing to print.
    band_bottom = sheet.row([(None, "...page break...")], height="0.3cm")
    # The report's warnings after the last group, a line each; the caption's
    # row is deleted and the band left out when there are none.
    sheet.row([("Subtitle", "#.UpozorneniNadpis")], height="0.6cm")
    warnings = sheet.row([("Label", "##Table3##Text")])
    # The date column holds 28.12.2026 with room to spare: a date that does
    # not fit prints as "###". The widths fill the third page width (12.5 cm
    # of leading columns and twelve amounts in 44.9 cm at 90 %): a long
    # document number with its variable symbol wraps within [3] instead.
    widths = ["1.5cm", "1.0cm", "1.75cm", "3.1cm", "5.15cm"] + [AMOUNT_WIDTH] * 31
    breaks = {amount_column(n) for n in WIDTH_STARTS[1:]}
    write(path, "Peněžní deník", sheet, widths, titles_end, LEADING, breaks,
          {"__Sestava__": (1, warnings), "__Table1__": (band_top, band_bottom),
           "__Table2__": (detail, detail), "__Table3__": (warnings, warnings)})


# The group table: field, column group, title line 2, title line 3; the
# columns of each page width.
def _group_columns():
    columns = []
    totals = {6: ("HotovostCeninyCelkem", "celkem"), 8: ("BankUctyCelkem", "celkem"),
              10: ("PrubPolozkyCelkem", "rozdíl"), 12: ("ZakladDane", "základ daně"),
              15: ("PrijmyZahrDoZaklCelkem", "celkem"), 23: ("VydajeNaZajPrijCelkem", "celkem"),
              28: ("PrijmyNeovlZaklDaneCelkem", "celkem"), 35: ("VydajeNeovlZaklDaneCelkem", "celkem")}
    for first, last, title, tone in COLUMN_GROUPS:
        for n in range(first, last + 1):
            columns.append(("Col%d" % n, title, AMOUNTS[n - 5], "[%d]" % n, tone))
        field, caption = totals[last]
        columns.append((field, title, caption, "", tone))
    return columns


GROUP_COLUMNS = _group_columns()


def group_tables_template(path):
    width = 2 + len(GROUP_COLUMNS)
    sheet = Sheet(width)
    title_block(sheet, "Seznam sumačních skupin", False)
    leading = [("Zkratka skupiny", ""), ("Název skupiny", "")]
    titles_end = column_titles(sheet, leading, [(g, t, n, tone) for _, g, t, n, tone in GROUP_COLUMNS])
    cells = [("Text", "##Table1##Zkratka"), ("Text", "##Table1##Nazev")]
    cells += [("Amount_" + tone, "##Table1##" + field) for field, _, _, _, tone in GROUP_COLUMNS]
    band = sheet.row(cells)
    # The spacer row lies below the band, so the sums' ranges grow with
    # every inserted group.
    spacer = sheet.row([], height="0.1cm")
    totals = [("TotalLabel", "Celkem"), ("TotalLabel", "")]
    formulas = {}
    for number, (_, _, _, _, tone) in enumerate(GROUP_COLUMNS, start=3):
        placeholder = "SUM%d" % number
        letter = col_name(number)
        formulas[placeholder] = "of:=SUM([.%s%d:.%s%d])" % (letter, band, letter, spacer)
        totals.append(("Total_" + tone, placeholder))
    last = sheet.row(totals)
    widths = ["1.8cm", "4.5cm"] + [AMOUNT_WIDTH] * len(GROUP_COLUMNS)
    # Each page width starts with a column group of the journal's widths.
    breaks = set()
    for start in WIDTH_STARTS[1:]:
        breaks.add(3 + next(i for i, c in enumerate(GROUP_COLUMNS) if c[0] == "Col%d" % start))
    write(path, "Sumační skupiny", sheet, widths, titles_end, 2, breaks,
          {"__Sestava__": (1, last), "__Table1__": (band, band)}, formulas)


if __name__ == "__main__":
    report_template(os.path.join(HERE, "_PenDenReportWithFinalSummary.fods"), True)
    report_template(os.path.join(HERE, "_PenDenReportWithoutFinalSummary.fods"), False)
    group_tables_template(os.path.join(HERE, "_GroupTables.fods"))
