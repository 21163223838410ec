#!/usr/bin/python3
"""The demo agenda exported by kasovka-report as .xlsx beside .xls: openpyxl
must read in the .xlsx every value xlrd reads in the .xls, and the figures
of the report's JSON form.

With --libreoffice both are printed to PDF. The .xlsx must print the same
text on as many pages, each with the print titles, as LibreOffice's own
.xlsx conversion of the .xls stamped with the application name libxlsxwriter
writes. (LibreOffice rounds the row heights of a workbook made by
"Microsoft Excel" down to whole pixels and keeps them exact otherwise, so a
long journal holds a row more per page than in the .xls and prints fewer
pages. The footer line, taller with the .xlsx default font, and the column
widths, whole pixels of another digit, move the odd row to the next page
and join the odd word in pdftotext's output.)

    check_demo_xlsx.py HOSTDATA REPORT TEMPLATES [--libreoffice]

Exit code 77 with --libreoffice when LibreOffice is missing.
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

import openpyxl
import xlrd

HOSTDATA, REPORT, TEMPLATES = sys.argv[1:4]
LIBREOFFICE = "--libreoffice" in sys.argv[4:]
COLUMNS = ["Col%d" % n for n in range(5, 36)]
failures = []


def export(work):
    params = subprocess.run([HOSTDATA, "demo", os.path.join(work, "data")], check=True,
                            capture_output=True, text=True).stdout.split()
    common = params + ["--set", "VertikalniDeleni=1", "--templates", TEMPLATES]
    report = os.path.join(work, "report.json")
    subprocess.run([REPORT] + common + ["--json", report], check=True)
    with open(report, encoding="utf-8") as source:
        data = json.load(source)
    runs = {"with": [], "without": ["--without-final-summary"], "one": ["--group", data["groups"][1]["Zkratka"]]}
    pairs = {}
    for name, extra in runs.items():
        pair = [os.path.join(work, name + ".xls"), os.path.join(work, name + ".xlsx")]
        subprocess.run([REPORT] + common + extra + ["--xls", pair[0], "--xlsx", pair[1]], check=True)
        pairs[name] = pair
    pairs["groups"] = [os.path.join(work, "groups.xls"), os.path.join(work, "groups.xlsx")]
    for path in pairs["groups"]:
        subprocess.run([REPORT] + common + ["--group-table", path], check=True)
    refused = subprocess.run([REPORT] + common + ["--xlsx", os.path.join(work, "vystup.xls")], capture_output=True)
    if refused.returncode != 2:
        failures.append("--xlsx with a name not ending in .xlsx was not refused as a usage error")
    return data, pairs


def xls_value(sheet, r, c):
    kind, value = sheet.cell_type(r, c), sheet.cell_value(r, c)
    return None if kind in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK) or value == "" else value


def xlsx_value(cell):
    value = cell.value
    if hasattr(value, "year"):  # a date: its serial
        value = (value - openpyxl.utils.datetime.CALENDAR_WINDOWS_1900).days
    elif hasattr(value, "hour"):  # serial 0 in a date format reads as a time of day
        value = float(value.hour * 3600 + value.minute * 60 + value.second) / 86400
    return None if value == "" else value


def compare(name, xls, xlsx):
    sheet = xlrd.open_workbook(xls).sheet_by_index(0)
    ws = openpyxl.load_workbook(xlsx).worksheets[0]
    last = max((c.row for row in ws.iter_rows() for c in row if c.value not in (None, "")), default=0)
    if (sheet.nrows, sheet.name) != (last, ws.title):
        failures.append("%s: .xls %d rows of %s, .xlsx %d of %s" % (name, sheet.nrows, sheet.name, last, ws.title))
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            expected, got = xls_value(sheet, r, c), xlsx_value(ws.cell(r + 1, c + 1))
            if isinstance(got, str) and got.startswith("="):
                continue  # the group table's sum line; LibreOffice's results are compared below
            if expected != got:
                failures.append("%s!%s: .xls %r, .xlsx %r" % (name, ws.cell(r + 1, c + 1).coordinate, expected, got))
                return


def figures(data, xlsx):
    """Each group's totals line in the .xlsx holds the report's figures."""
    ws = openpyxl.load_workbook(xlsx).worksheets[0]
    totals = [r for r in range(1, ws.max_row + 1) if ws.cell(r, 5).value == "Celkem"]
    if len(totals) != len(data["groups"]):
        failures.append("%s: %d totals lines for %d groups" % (xlsx, len(totals), len(data["groups"])))
    for group, row in zip(data["groups"], totals):
        cols = group["cols"]
        expected = [round(float(cols.get(c, 0) if isinstance(cols, dict) else cols[i]), 4) for i, c in enumerate(COLUMNS)]
        got = [round(float(ws.cell(row, 6 + i).value or 0), 4) for i in range(len(COLUMNS))]
        if expected != got:
            failures.append("%s: totals of %s differ" % (xlsx, group["Zkratka"]))


def group_sums(xls, xlsx):
    """The group table's "Celkem" line stores each column's sum in both files,
    for readers that do not recalculate."""
    sheet = xlrd.open_workbook(xls).sheet_by_index(0)
    ws = openpyxl.load_workbook(xlsx, data_only=True).worksheets[0]
    row = next(r for r in range(sheet.nrows) if sheet.cell_value(r, 0) == "Celkem")
    first = next(r for r in range(row) if sheet.cell_value(r, 0) == "Zkratka skupiny") + 3
    for c in range(2, sheet.ncols):
        expected = round(sum(v for v in sheet.col_values(c, first, row) if isinstance(v, float)), 2)
        if (sheet.cell_value(row, c), ws.cell(row + 1, c + 1).value) != (expected, expected):
            failures.append("groups: sum of column %d is %r, .xls stores %r, .xlsx %r" % (
                c + 1, expected, sheet.cell_value(row, c), ws.cell(row + 1, c + 1).value))
            return


def band_names(name, xls, xlsx):
    """The engine's band names stay behind in no filled workbook."""
    names = [n.name for n in xlrd.open_workbook(xls).name_obj_list]
    names += list(openpyxl.load_workbook(xlsx).defined_names)
    left = [n for n in names if n.startswith("__")]
    if left:
        failures.append("%s: band names left: %s" % (name, left))


def properties(name, xlsx):
    """Title, subject and the firm as creator, the firm as the title block names it."""
    book = openpyxl.load_workbook(xlsx)
    p = book.properties
    kind = "Seznam sumačních skupin" if name == "groups" else "Peněžní deník"
    texts = [c.value for row in book.worksheets[0].iter_rows(max_row=8) for c in row if isinstance(c.value, str)]
    if not (p.title or "").startswith(kind) or not (p.subject or "").startswith((p.title or "") + ", období ") \
            or not p.creator or not any(p.creator in t for t in texts):
        failures.append("%s: properties %r, %r, %r" % (name, p.title, p.subject, p.creator))


def printed_pages(work, path):
    soffice = shutil.which("soffice")
    if not soffice:
        sys.exit(77)
    out = os.path.join(work, "pdf", os.path.basename(path).replace(".", "_"))
    subprocess.run([soffice, "-env:UserInstallation=file://" + os.path.join(work, "profile"), "--headless",
                    "--convert-to", "pdf", "--outdir", out, path], check=True, capture_output=True,
                   env=dict(os.environ, LANG="cs_CZ.UTF-8"))
    pdf = os.path.join(out, os.listdir(out)[0])
    text = subprocess.run(["pdftotext", pdf, "-"], check=True, capture_output=True).stdout.decode("utf-8")
    # The footer names the page count, which may differ.
    text = re.sub(r"Vytištěno \S+|Strana \d+ z \d+", "", text)
    return [page for page in text.split("\f") if page.strip()]


def converted(work, path, application):
    """LibreOffice's own .xlsx of the .xls, naming APPLICATION as its maker."""
    out = os.path.join(work, "lo", os.path.basename(path).replace(".", "_"))
    subprocess.run([shutil.which("soffice"), "-env:UserInstallation=file://" + os.path.join(work, "profile"),
                    "--headless", "--convert-to", "xlsx", "--outdir", out, path], check=True, capture_output=True)
    source, stamped = os.path.join(out, os.listdir(out)[0]), os.path.join(out, "stamped.xlsx")
    with zipfile.ZipFile(source) as zin, zipfile.ZipFile(stamped, "w", zipfile.ZIP_DEFLATED) as zout:
        for item in zin.infolist():
            data = zin.read(item.filename)
            if item.filename == "docProps/app.xml":
                data = re.sub(rb"<Application>.*?</Application>", b"<Application>" + application + b"</Application>", data)
            zout.writestr(item, data)
    return stamped


def application(xlsx):
    with zipfile.ZipFile(xlsx) as package:
        return re.search(rb"<Application>(.*?)</Application>", package.read("docProps/app.xml")).group(1)


def title_words(xlsx):
    """Words of the cells printed on every page: the print-title rows and columns both."""
    ws = openpyxl.load_workbook(xlsx).worksheets[0]
    if not ws.print_title_rows or not ws.print_title_cols:
        return set()
    rows, cols = (part.replace("$", "").split(":") for part in (ws.print_title_rows, ws.print_title_cols))
    cells = ws["%s%s:%s%s" % (cols[0], rows[0], cols[1], rows[1])]
    return {word for row in cells for c in row if isinstance(c.value, str) for word in c.value.split()}


def compare_printed(work, name, xls, xlsx):
    ours, reference = printed_pages(work, xlsx), printed_pages(work, converted(work, xls, application(xlsx)))
    if len(ours) != len(reference):
        failures.append("%s: LibreOffice's own .xlsx prints %d pages, ours %d" % (name, len(reference), len(ours)))
    # Characters, not words: pdftotext joins a text filling its column with the next one.
    if sorted("".join("".join(ours).split())) != sorted("".join("".join(reference).split())):
        failures.append("%s: the .xlsx prints other text than LibreOffice's own .xlsx" % name)
    titles = title_words(xlsx)
    for number, page in enumerate(ours, 1):
        if not titles <= set(page.split()):
            failures.append("%s: page %d lacks the repeated titles %s" % (name, number, sorted(titles - set(page.split()))))
            break


def main():
    work = tempfile.mkdtemp(prefix="kasovka-demo-xlsx-")
    try:
        data, pairs = export(work)
        for name, (xls, xlsx) in pairs.items():
            compare(name, xls, xlsx)
            band_names(name, xls, xlsx)
            properties(name, xlsx)
        group_sums(*pairs["groups"])
        figures(data, pairs["with"][1])
        figures({"groups": [data["groups"][1]]}, pairs["one"][1])
        if LIBREOFFICE:
            for name, (xls, xlsx) in pairs.items():
                compare_printed(work, name, xls, xlsx)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
