#!/usr/bin/env python3
"""Writes the three workbook templates as LibreOffice flat XML spreadsheets.

The .fods files are the templates' sources; build.sh converts them into the
Excel 97-2003 templates the program fills. Bands are the named ranges
"__Table1__" (one group) and "__Table2__" (one journal row of the group);
cells beginning with "##" read a field of those data sets.
"""
from xml.sax.saxutils import escape
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# Amount columns 5..35: title line 1, title line 2, shading.
AMOUNTS = [
    ("Hotovost a ceniny", "příjem"), ("Hotovost a ceniny", "výdej"),
    ("Bankovní účty", "příjem"), ("Bankovní účty", "výdej"),
    ("Průběžné položky", "příjem"), ("Průběžné položky", "výdej"),
    ("CELKEM", "příjem"), ("CELKEM", "výdej"),
    ("PZZ", "zboží"), ("PZZ", "služby"), ("PZZ", "ostatní"),
    ("VDZUP", "materiál"), ("VDZUP", "zboží"), ("VDZUP", "drobný maj."), ("VDZUP", "mzdy"),
    ("VDZUP", "daň ze mzdy"), ("VDZUP", "soc. poj."), ("VDZUP", "zdr. poj."), ("VDZUP", "režie"),
    ("PNZD", "srážky"), ("PNZD", "DPH"), ("PNZD", "dotace"), ("PNZD", "vklad"), ("PNZD", "ostatní"),
    ("VNZD", "dlouhodobý maj."), ("VNZD", "DPH"), ("VNZD", "soc. a zdr. poj."),
    ("VNZD", "daň z příjmu"), ("VNZD", "osobní"), ("VNZD", "dary"), ("VNZD", "ostatní (vč. rezerv)"),
]
LIGHT = set([5, 6, 9, 10] + list(range(16, 24)) + list(range(29, 36)))
DARK = {11, 12}


def shade(column):
    return "dark" if column in DARK else "light" if column in LIGHT else "plain"


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


def common_cell_styles():
    out = cell_style("Title", bold=True, size="14pt")
    out += cell_style("Subtitle", bold=True, size="10pt")
    out += cell_style("Label")
    out += cell_style("LabelBold", bold=True)
    out += cell_style("Caption", bold=True, border="bottom", color="#316ac5")
    out += cell_style("Marker", size="6pt")
    for tone in ("plain", "light", "dark"):
        bg, fg = BACKGROUND[tone], TEXT_COLOR[tone]
        out += cell_style("Head_" + tone, bold=True, align="center", background=bg,
                          color=fg or "#404040", border="all", wrap=True, valign="middle")
        out += cell_style("HeadLeft_" + tone, bold=True, align="start", background=bg,
                          color=fg or "#404040", border="all", wrap=True, valign="middle")
        out += cell_style("Amount_" + tone, data="Amount", background=bg, color=fg, border="all")
        out += cell_style("Total_" + tone, data="Amount", bold=True, background=bg, color=fg,
                          border="double")
    out += cell_style("Text", border="all")
    out += cell_style("Number", data="Whole", border="all", align="end")
    out += cell_style("DateCell", data="Date", border="all", align="center")
    out += cell_style("TotalLabel", bold=True, border="double")
    out += cell_style("SumValue", data="Amount", align="end")
    out += cell_style("SumTotal", data="Amount", bold=True, border="top", align="end")
    out += cell_style("SumTotalLabel", bold=True, border="top")
    return out


def page_layout(paper="A3"):
    width, height = ("42cm", "29.7cm") if paper == "A3" else ("29.7cm", "21cm")
    return """
  <style:page-layout style:name="Landscape">
   <style:page-layout-properties fo:page-width="%s" fo:page-height="%s" style:print-orientation="landscape"
     fo:margin-top="1cm" fo:margin-bottom="1cm" fo:margin-left="1cm" fo:margin-right="1cm"
     style:scale-to-X="1" style:scale-to-Y="0" style:print="grid-disabled headers-disabled"
     style:print-page-order="ttb" style:table-centering="horizontal"/>
   <style:header-style/>
   <style:footer-style><style:header-footer-properties fo:min-height="0.5cm" fo:margin-top="0.2cm"/></style:footer-style>
  </style:page-layout>
""" % (width, height)


MASTER = """
 <office:master-styles>
  <style:master-page style:name="Default" style:page-layout-name="Landscape">
   <style:header style:display="false"/>
   <style:footer>
    <style:region-left><text:p>%s</text:p></style:region-left>
    <style:region-right><text:p>Strana <text:page-number>1</text:page-number> z <text:page-count>1</text:page-count></text:p></style:region-right>
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
    """Rows of (style, text) cells; None is an empty unstyled cell."""

    def __init__(self, width):
        self.width = width
        self.rows = []  # (height or None, [cells])

    def row(self, cells, height=None):
        cells = list(cells) + [None] * (self.width - len(cells))
        self.rows.append((height, cells[: self.width]))
        return len(self.rows)  # 1-based row number

    def xml_rows(self, first, last, heights):
        out = ""
        for number in range(first, last + 1):
            height, cells = self.rows[number - 1]
            style = heights.get(height)
            out += '   <table:table-row%s>\n' % (' table:style-name="%s"' % style if style else "")
            for cell in cells:
                if cell is None:
                    out += "    <table:table-cell/>\n"
                    continue
                style, text = cell
                if text is None or text == "":
                    out += '    <table:table-cell table:style-name="%s"/>\n' % style
                else:
                    out += ('    <table:table-cell table:style-name="%s" office:value-type="string">'
                            "<text:p>%s</text:p></table:table-cell>\n" % (style, escape(text)))
            out += "   </table:table-row>\n"
        return out


def write(path, sheet_name, sheet, widths, header_rows, names, footer, paper, formulas=None):
    heights = {}
    auto = ""
    for index, value in enumerate(sorted({h for h, _ in sheet.rows if h})):
        heights[value] = "ro%d" % index
        auto += ('  <style:style style:name="ro%d" style:family="table-row"><style:table-row-properties '
                 'style:row-height="%s" style:use-optimal-row-height="false"/></style:style>\n' % (index, value))
    column_styles = {}
    for width in widths:
        if width not in column_styles:
            column_styles[width] = "co%d" % len(column_styles)
            auto += ('  <style:style style:name="%s" style:family="table-column"><style:table-column-properties '
                     'style:column-width="%s"/></style:style>\n' % (column_styles[width], width))
    auto += ('  <style:style style:name="Sheet" style:family="table" style:master-page-name="Default">'
             '<style:table-properties table:display="true"/></style:style>\n')
    body = '  <table:table table:name="%s" table:style-name="Sheet">\n' % escape(sheet_name)
    for width in widths:
        body += '   <table:table-column table:style-name="%s"/>\n' % column_styles[width]
    first_header, last_header = header_rows
    body += sheet.xml_rows(1, first_header - 1, heights)
    body += "   <table:table-header-rows>\n"
    body += sheet.xml_rows(first_header, last_header, heights)
    body += "   </table:table-header-rows>\n"
    rows_xml = sheet.xml_rows(last_header + 1, len(sheet.rows), heights)
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
        out.write(" <office:automatic-styles>\n" + common_cell_styles() + auto + page_layout(paper)
                  + " </office:automatic-styles>\n")
        out.write(MASTER % escape(footer))
        out.write(" <office:body>\n  <office:spreadsheet>\n" + body + "  </office:spreadsheet>\n </office:body>\n")
        out.write("</office:document>\n")


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
# captions. A text entry is a section caption, a tuple a figure.
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
# Label column and value column of each overview column (1-based sheet columns).
OVERVIEW_COLUMNS = [(3, 5), (7, 9), (11, 13)]

JOURNAL_WIDTH = 35


def journal_titles():
    first = [("Head_plain", "")] * 2 + [("Head_plain", "Číslo dokladu/"), ("Head_plain", "")]
    second = [("Head_plain", t) for t in ("Číslo řádku", "Datum", "var. symb.", "Popis")]
    third = [("Head_plain", "[%d]" % n) for n in range(1, 5)]
    for n, (title1, title2) in enumerate(AMOUNTS, start=5):
        tone = shade(n)
        first.append(("Head_" + tone, title1))
        second.append(("Head_" + tone, title2))
        third.append(("Head_" + tone, "[%d]" % n))
    return first, second, third


def overview_rows(sheet, group_name_tag):
    sheet.row([("Subtitle", "Závěrečný přehled peněžního deníku"), None, None,
               ("Subtitle", "- sumační skupina"), ("Subtitle", group_name_tag)], height="0.6cm")
    for index in range(16):
        cells = [None] * JOURNAL_WIDTH
        for column, (label_at, value_at) in zip(OVERVIEW, OVERVIEW_COLUMNS):
            entry = column[index] if index < len(column) else None
            if entry is None:
                continue
            if isinstance(entry, str):
                cells[label_at - 1] = ("Caption", entry)
                cells[label_at] = ("Caption", "")
                cells[value_at - 1] = ("Caption", "")
                continue
            label, field, is_total = entry
            cells[label_at - 1] = ("SumTotalLabel" if is_total else "Label", label)
            if is_total:
                cells[label_at] = ("SumTotalLabel", "")
            cells[value_at - 1] = ("SumTotal" if is_total else "SumValue", "##Table1##" + field)
        sheet.row(cells)


def report_template(path, with_summary):
    sheet = Sheet(JOURNAL_WIDTH)
    sheet.row([("Title", "Peněžní deník")], height="0.8cm")
    first, second, third = journal_titles()
    # Two lines of 8pt text each: the longer titles wrap inside their column.
    header_first = sheet.row(first, height="0.75cm")
    sheet.row(second, height="0.75cm")
    header_last = sheet.row(third, height="0.4cm")
    band_top = sheet.row([("LabelBold", "Sumační skupina:"), None, ("Subtitle", "##Table1##Zkratka"),
                          ("Subtitle", "##Table1##Nazev")], height="0.6cm")
    row = [("Number", "##Table2##Poradi"), ("DateCell", "##Table2##Datum"),
           ("Text", "##Table2##Doklad_VS"), ("Text", "##Table2##Popis")]
    row += [("Amount_" + shade(n), "##Table2##Col%d" % n) for n in range(5, 36)]
    detail = sheet.row(row)
    totals = [("TotalLabel", "")] * 3 + [("TotalLabel", "Celkem za sumační skupinu")]
    totals += [("Total_" + shade(n), "##Table1##Col%d" % n) for n in range(5, 36)]
    sheet.row(totals)
    if with_summary:
        sheet.row([], height="0.3cm")
        overview_rows(sheet, "##Table1##Nazev")
    band_bottom = sheet.row([("Marker", "...page break...")], height="0.3cm")
    # Popis is wide enough for a typical description with the firm's name.
    widths = ["1.3cm", "1.9cm", "3.6cm", "8.6cm"] + ["2.05cm"] * 31
    footer = "Peněžní deník" + (" se závěrečným přehledem" if with_summary else "")
    write(path, "Peněžní deník", sheet, widths, (header_first, header_last),
          {"__Table1__": (band_top, band_bottom), "__Table2__": (detail, detail)}, footer, "A3")


# The group table: field, three title lines, shading, left-aligned title.
GROUP_COLUMNS = [
    ("Zkratka", "Zkratka skupiny", "", "", "plain"),
    ("Nazev", "Název skupiny", "", "", "plain"),
    ("Col5", "Hotovost a ceniny", "příjem", "[5]", "light"),
    ("Col6", "Hotovost a ceniny", "výdej", "[6]", "light"),
    ("HotovostCeninyCelkem", "Hotovost celkem", " ", " ", "light"),
    ("Col7", "Bankovní účty", "příjem", "[7]", "plain"),
    ("Col8", "Bankovní účty", "výdej", "[8]", "plain"),
    ("BankUctyCelkem", "Na účtech celkem", " ", " ", "plain"),
    ("Col9", "Průběžné položky", "příjem", "[9]", "light"),
    ("Col10", "Průběžné položky", "výdej", "[10]", "light"),
    ("PrubPolozkyCelkem", "Průběžné položky", "celkem", " ", "light"),
    ("Col11", "CELKEM", "příjem", "[11]", "dark"),
    ("Col12", "CELKEM", "výdej", "[12]", "dark"),
    ("ZakladDane", "CELKEM", "základ daně", " ", "dark"),
    ("Col13", "PZZ", "zboží", "[13]", "plain"),
    ("Col14", "PZZ", "služby", "[14]", "plain"),
    ("Col15", "PZZ", "ostatní", "[15]", "plain"),
    ("PrijmyZahrDoZaklCelkem", "PZZ", "celkem", " ", "plain"),
] + [("Col%d" % n, "VDZUP", AMOUNTS[n - 5][1], "[%d]" % n, "light") for n in range(16, 24)] + [
    ("VydajeNaZajPrijCelkem", "VDZUP", "Celkem", " ", "light"),
] + [("Col%d" % n, "PNZD", AMOUNTS[n - 5][1], "[%d]" % n, "plain") for n in range(24, 29)] + [
    ("PrijmyNeovlZaklDaneCelkem", "PNZD", "Celkem", " ", "plain"),
] + [("Col%d" % n, "VNZD", AMOUNTS[n - 5][1], "[%d]" % n, "light") for n in range(29, 36)] + [
    ("VydajeNeovlZaklDaneCelkem", "VNZD", "Celkem", " ", "light"),
]


def group_tables_template(path):
    width = len(GROUP_COLUMNS)
    sheet = Sheet(width)
    sheet.row([("Title", "Seznam sumačních skupin")], height="0.8cm")
    lines = [[], [], []]
    for number, (_, t1, t2, t3, tone) in enumerate(GROUP_COLUMNS, start=1):
        head = ("HeadLeft_" if number == 8 else "Head_") + tone
        for line, text in zip(lines, (t1, t2, t3)):
            line.append((head, text))
    header_first = sheet.row(lines[0], height="0.75cm")
    sheet.row(lines[1], height="0.75cm")
    header_last = sheet.row(lines[2], height="0.4cm")
    cells = [("Text", "##Table1##Zkratka"), ("Text", "##Table1##Nazev")]
    cells += [("Amount_" + tone, "##Table1##" + field) for field, _, _, _, tone in GROUP_COLUMNS[2:]]
    band = sheet.row(cells)
    # The spacer row lies below the band, so the sums' ranges grow with
    # every inserted group.
    spacer = sheet.row([], height="0.1cm")
    totals = [("TotalLabel", "Celkem"), ("TotalLabel", "")]
    formulas = {}
    for number, (_, _, _, _, tone) in enumerate(GROUP_COLUMNS[2:], start=3):
        placeholder = "SUM%d" % number
        letter = col_name(number)
        formulas[placeholder] = "of:=SUM([.%s%d:.%s%d])" % (letter, band, letter, spacer)
        totals.append(("Total_" + tone, placeholder))
    sheet.row(totals)
    widths = ["2.4cm", "5.2cm"] + ["2.05cm"] * (width - 2)
    write(path, "Sumační skupiny", sheet, widths, (header_first, header_last),
          {"__Table1__": (band, band)}, "Seznam sumačních skupin", "A3", formulas)


if __name__ == "__main__":
    report_template(os.path.join(HERE, "_PenDenReportWithFinalSummary.fods"), True)
    report_template(os.path.join(HERE, "_PenDenReportWithoutFinalSummary.fods"), False)
    group_tables_template(os.path.join(HERE, "_GroupTables.fods"))
