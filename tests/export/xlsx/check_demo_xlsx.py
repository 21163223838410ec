#!/usr/bin/python3
"""The demo agenda exported by kasovka-report as .xlsx beside .xls: openpyxl
must read in the .xlsx every value xlrd reads in the .xls, and the figures
of the report's JSON form.

With --libreoffice both are printed to PDF: the same number of pages with
the same words in all; and page by page the same words as LibreOffice's own
.xlsx conversion of the .xls. (LibreOffice paginates a long sheet fitted to
the page width differently from an .xls than from any .xlsx of it: its
.xlsx import rounds row heights down to whole pixels, and its .xls import
picks a fit scale a percent smaller.)

    check_demo_xlsx.py HOSTDATA REPORT TEMPLATES [--libreoffice]

Exit code 77 with --libreoffice when LibreOffice is missing.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile

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


def printed_words(work, path):
    soffice = shutil.which("soffice")
    if not soffice:
        sys.exit(77)
    out = os.path.join(work, "pdf", os.path.basename(path).replace(".", "_"))
    subprocess.run([soffice, "-env:UserInstallation=file://" + os.path.join(work, "profile"), "--headless",
                    "--convert-to", "pdf", "--outdir", out, path], check=True, capture_output=True,
                   env=dict(os.environ, LANG="cs_CZ.UTF-8"))
    pdf = os.path.join(out, os.listdir(out)[0])
    text = subprocess.run(["pdftotext", pdf, "-"], check=True, capture_output=True).stdout.decode("utf-8")
    return [sorted(page.split()) for page in text.split("\f") if page.strip()]


def converted(work, path):
    """LibreOffice's own .xlsx of the .xls."""
    out = os.path.join(work, "lo", os.path.basename(path).replace(".", "_"))
    subprocess.run([shutil.which("soffice"), "-env:UserInstallation=file://" + os.path.join(work, "profile"),
                    "--headless", "--convert-to", "xlsx", "--outdir", out, path], check=True, capture_output=True)
    return os.path.join(out, os.listdir(out)[0])


def compare_printed(work, name, xls, xlsx):
    ours, original = printed_words(work, xlsx), printed_words(work, xls)
    if len(ours) != len(original):
        failures.append("%s: .xls prints %d pages, .xlsx %d" % (name, len(original), len(ours)))
    if sorted(w for page in ours for w in page) != sorted(w for page in original for w in page):
        failures.append("%s: the printed words of the .xlsx differ from the .xls" % name)
    reference = printed_words(work, converted(work, xls))
    for number, (p, q) in enumerate(zip(reference, ours), 1):
        if p != q:
            failures.append("%s: page %d differs from LibreOffice's own .xlsx: %s"
                            % (name, number, sorted(set(p) ^ set(q))[:12]))
            break


def main():
    work = tempfile.mkdtemp(prefix="kasovka-demo-xlsx-")
    try:
        data, pairs = export(work)
        for name, (xls, xlsx) in pairs.items():
            compare(name, xls, xlsx)
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
