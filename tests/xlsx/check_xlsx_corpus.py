#!/usr/bin/python3
"""Real workbooks of other programs written as .xlsx (`kasovka-xls roundtrip
IN OUT.xlsx`) and read back with openpyxl: sheets, every value, merged areas
against what xlrd reads in the original.

    check_xlsx_corpus.py KASOVKA_XLS SHARED_TESTDATA [--libreoffice]

With --libreoffice LibreOffice recalculates each .xlsx: every formula must
give the result the original program stored in the .xls, which shows that
the formula text means what its tokens meant. Exit code 77 (skipped) when
LibreOffice or the shared corpus is missing.
"""
import csv
import math
import os
import shutil
import subprocess
import sys
import tempfile

import openpyxl
import openpyxl.worksheet.cell_range
import xlrd

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import shared_testdata  # noqa: E402

TOOL = sys.argv[1]
CORPUS = shared_testdata.folder(sys.argv[2], "xls")
LIBREOFFICE = "--libreoffice" in sys.argv[3:]
# Files the .xlsx writer refuses, and why.
REFUSED = {
    "calamine_any_sheets.xls": "je graf",          # a chart sheet
    "phpss_chartsheet.xls": "je graf",
    "xlrd_namesdemo.xls": "(token 0x18)",          # natural-language (label) references
    "poi_SimpleWithImages.xls": "obrázek, graf",  # pictures
    "xlrd_picture_in_cell.xls": "obrázek, graf",
    "poi_DrawingAndComments.xls": "obrázek, graf", # an oval and a polygon
    "poi_WithThreeCharts.xls": "obrázek, graf",   # embedded charts
    "calamine_date_1904.xls": "roku 1904",         # dates counted from 1904
}
# Results that change with each calculation, or that the original program
# stored without recalculating.
VOLATILE = {("sheetjs_formulae_test_simple.xls", "Sheet1")}
failures = []


def openable():
    with open(os.path.join(CORPUS, "INDEX.tsv"), encoding="utf-8") as index:
        return [row["file"] for row in csv.DictReader(index, delimiter="\t") if row["expected"] == "open"]


def value_of(sheet, r, c):
    kind, value = sheet.cell_type(r, c), sheet.cell_value(r, c)
    if kind == xlrd.XL_CELL_BOOLEAN:
        return bool(value)
    if kind == xlrd.XL_CELL_ERROR:
        return xlrd.error_text_from_code.get(value)
    if kind in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK) or value == "":
        return None
    return value


def in_array(ws, cell):
    for attributes in ws.formula_attributes.values():
        if attributes.get("t") == "array" and cell.coordinate in openpyxl.worksheet.cell_range.CellRange(attributes["ref"]):
            return True
    return False


def close(a, b):
    if isinstance(a, float) and isinstance(b, (int, float)) and not isinstance(b, bool):
        return math.isclose(a, b, rel_tol=1e-9, abs_tol=1e-9)
    return a == b


def compare(name, original, written, calculated):
    book = xlrd.open_workbook(original, formatting_info=True)
    out = openpyxl.load_workbook(written)
    results = openpyxl.load_workbook(calculated, data_only=True) if calculated else None
    names = [s.name for s in book.sheets()]
    if names != out.sheetnames:
        failures.append("%s: sheets %s, .xlsx %s" % (name, names, out.sheetnames))
        return
    for sheet in book.sheets():
        ws = out[sheet.name]
        merged = sorted((r0 + 1, r1, c0 + 1, c1) for r0, r1, c0, c1 in sheet.merged_cells)
        got = sorted((m.min_row, m.max_row, m.min_col, m.max_col) for m in ws.merged_cells.ranges)
        if merged != got:
            failures.append("%s/%s: merged %s, .xlsx %s" % (name, sheet.name, merged, got))
        for r in range(sheet.nrows):
            for c in range(sheet.ncols):
                expected = value_of(sheet, r, c)
                cell = ws.cell(r + 1, c + 1)
                if isinstance(cell, openpyxl.cell.cell.MergedCell):
                    continue
                value = cell.value
                where = "%s/%s!%s" % (name, sheet.name, cell.coordinate)
                # A formula's result, and the cells an array formula covers, are known only once calculated.
                if (isinstance(value, str) and value.startswith("=")) or in_array(ws, cell):
                    if results is None or (name, sheet.name) in VOLATILE:
                        continue
                    value = results[sheet.name].cell(r + 1, c + 1).value
                    if value is None and expected == "":
                        continue
                if hasattr(value, "year"):  # a date: its serial (1 is 1 January 1900)
                    value = openpyxl.utils.datetime.to_excel(value)
                elif hasattr(value, "days"):  # a duration
                    value = value.total_seconds() / 86400
                if not close(expected, value):
                    failures.append("%s: .xls %r, .xlsx %r" % (where, expected, value))


def recalculated(work, path):
    soffice = shutil.which("soffice")
    if not soffice:
        sys.exit(77)
    out = os.path.join(work, "calc")
    subprocess.run([soffice, "-env:UserInstallation=file://" + os.path.join(work, "profile"), "--headless",
                    "--convert-to", "xlsx:Calc MS Excel 2007 XML", "--outdir", out, path],
                   check=True, capture_output=True)
    return os.path.join(out, os.path.basename(path))


def main():
    missing = shared_testdata.absent(CORPUS)
    if missing is not None:
        return missing
    work = tempfile.mkdtemp(prefix="kasovka-corpus-")
    try:
        for name in openable():
            target = os.path.join(work, os.path.splitext(name)[0] + ".xlsx")
            result = subprocess.run([TOOL, "roundtrip", os.path.join(CORPUS, name), target], capture_output=True)
            error = result.stderr.decode("utf-8").strip()
            if name in REFUSED:
                if result.returncode != 1 or REFUSED[name] not in error or os.path.exists(target):
                    failures.append("%s: expected a refusal (%s), got %d %s" % (name, REFUSED[name],
                                                                                 result.returncode, error))
                continue
            if result.returncode != 0:
                failures.append("%s: %s" % (name, error))
                continue
            try:
                compare(name, os.path.join(CORPUS, name), target,
                        recalculated(work, target) if LIBREOFFICE else None)
            except Exception as error:  # a file openpyxl cannot read is a failure of the writer
                failures.append("%s: %s: %s" % (name, type(error).__name__, error))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
