#!/usr/bin/python3
"""kasovka-xls fill over a small template saved by LibreOffice.

    check_fill_command.py KASOVKA_XLS DATA_FOLDER [--libreoffice]

Checks the filled cells with xlrd and the command's failures (exit code 1,
the engine's text on standard error). With --libreoffice the result is
recalculated by LibreOffice: a formula of the band row must read its own
repetition's row, a sum below the band must cover every repetition and an
absolute reference must stay. Exit code 77 when LibreOffice is missing.
"""
import csv
import json
import os
import shutil
import subprocess
import sys
import tempfile

import xlrd

TOOL, DATA = sys.argv[1:3]
LIBREOFFICE = "--libreoffice" in sys.argv[3:]
TEMPLATE = os.path.join(DATA, "formula_band.xls")
RECORDS = [[1, "Alfa", "10.50", "2026-01-31"], [2, "Beta", 20, None], [3, "Gama", "-0.25", 46100]]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def fill(work, data, name="out.xls", template=TEMPLATE):
    path = os.path.join(work, "data.json")
    with open(path, "w", encoding="utf-8") as out:
        out.write(data if isinstance(data, str) else json.dumps(data))
    target = os.path.join(work, name)
    result = subprocess.run([TOOL, "fill", template, target, path], capture_output=True)
    return result.returncode, result.stderr.decode("utf-8").strip(), target


def main():
    work = tempfile.mkdtemp(prefix="kasovka-fill-")
    try:
        data = {"datasets": [{"name": "Table1", "fields": [
            {"name": "ID", "type": "autoinc"}, {"name": "Nazev", "type": "text", "size": 20},
            {"name": "Castka", "type": "currency"}, {"name": "Datum", "type": "date"}], "records": RECORDS}]}
        code, error, target = fill(work, data)
        check(code == 0, "fill failed: %s" % error)
        book = xlrd.open_workbook(target, formatting_info=True)
        sheet = book.sheet_by_index(0)
        check([sheet.cell_value(r, 0) for r in range(1, 4)] == ["Alfa", "Beta", "Gama"], "names")
        check([sheet.cell_value(r, 1) for r in range(1, 4)] == [10.5, 20.0, -0.25], "amounts")
        check(sheet.cell_type(1, 3) == xlrd.XL_CELL_DATE and sheet.cell_value(1, 3) == 46053.0, "date cell")
        check(sheet.cell_type(2, 3) in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK), "empty date stays blank")
        check(sheet.cell_value(5, 0) == "Celkem", "sum line below the band and the spacer row")

        failing = [
            ("{", None, "Data nejsou platný JSON (chyba na znaku 1)."),
            ({"datasets": []}, None, "Can´t find the dataset Table1"),
            (data, os.path.join(work, "none.xls"), "Can't find the file \"%s\"" % os.path.join(work, "none.xls")),
        ]
        for index, (bad, template, expected) in enumerate(failing):
            code, error, bad_target = fill(work, bad, "bad%d.xls" % index, template or TEMPLATE)
            check(code == 1 and error == expected, "fill error: %r (exit %d), expected %r" % (error, code, expected))
            check(not os.path.exists(bad_target), "a failed fill left %s" % bad_target)
        code, error, _ = fill(work, data)  # the target exists now
        check(code == 1 and error.endswith("již existuje."), "existing target: %r" % error)

        if LIBREOFFICE:
            soffice = shutil.which("soffice")
            if not soffice:
                sys.exit(77)
            subprocess.run([soffice, "-env:UserInstallation=file://" + os.path.join(work, "profile"), "--headless",
                            "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1,,1033", "--outdir", work,
                            target], check=True, capture_output=True)
            with open(os.path.join(work, "out.csv"), encoding="utf-8") as source:
                lines = list(csv.reader(source))
            doubled = [float(lines[r][2]) for r in range(1, 4)]
            check(doubled == [21.0, 40.0, -0.5], "band formula per repetition: %s" % doubled)
            check(float(lines[5][1]) == 30.25, "sum below the band: %s" % lines[5][1])
            check(float(lines[5][2]) == 105.0, "absolute reference: %s" % lines[5][2])
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
