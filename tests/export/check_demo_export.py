#!/usr/bin/python3
"""The demo agenda exported by kasovka-report, read back with xlrd: every
figure of the workbooks must be the one of the report's JSON form. The first
export runs on a data root where the program never started (the tool
installs the templates as the program's start-up does), and no export may
change the program's "po dokončení zobrazit" setting.

    check_demo_export.py HOSTDATA REPORT TEMPLATES [--libreoffice]

With --libreoffice the workbooks are also opened (converted) by LibreOffice,
which recalculates the group table's sum line; exit code 77 when LibreOffice
is missing.
"""
import configparser
import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile

import xlrd

HOSTDATA, REPORT, TEMPLATES = sys.argv[1:4]
LIBREOFFICE = "--libreoffice" in sys.argv[4:]
COLUMNS = ["Col%d" % n for n in range(5, 36)]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def amount(value):
    return round(float(value or 0), 4)


def run(work):
    params = subprocess.run([HOSTDATA, "demo", os.path.join(work, "data")], check=True,
                            capture_output=True, text=True).stdout.split()
    report = os.path.join(work, "report.json")
    files = {name: os.path.join(work, name + ".xls") for name in ("with", "without", "groups", "one")}
    grouped = params + ["--set", "VertikalniDeleni=1"]
    subprocess.run([REPORT] + grouped + ["--json", report, "--xls", files["with"],
                                         "--group-table", files["groups"]], check=True)
    installed = glob.glob(os.path.join(work, "data", "Doplnky", "Kasovka", "PrintFrm", "*.xl"))
    check(len(installed) == 3, "the templates were not installed into the data root: %s" % installed)
    common = grouped + ["--templates", TEMPLATES]
    subprocess.run([REPORT] + common + ["--xls", files["without"], "--without-final-summary"], check=True)
    with open(report, encoding="utf-8") as source:
        data = json.load(source)
    groups = data["groups"]
    check(len(groups) >= 2, "the demo report should have several groups, has %d" % len(groups))
    subprocess.run([REPORT] + common + ["--xls", files["one"], "--group", groups[1]["Zkratka"]], check=True)
    # Without --overwrite an existing workbook is refused.
    refused = subprocess.run([REPORT] + common + ["--xls", files["one"]], capture_output=True)
    check(refused.returncode != 0, "an existing workbook was replaced without --overwrite")
    settings_files = glob.glob(os.path.join(work, "data", "Doplnky", "Kasovka", "Setting", "*.ini"))
    check(len(settings_files) == 1, "no settings file written: %s" % settings_files)
    for path in settings_files:
        settings = configparser.ConfigParser()
        settings.read(path, encoding="utf-8")
        for section in ("PenDenReport", "GroupTables"):
            check(settings.get(section, "ExportRunAssociatedProgram", fallback="1") == "1",
                  "%s: the tool changed %s/ExportRunAssociatedProgram" % (path, section))
    return data, files


def group_columns(group):
    cols = group["cols"]
    return [amount(cols[c] if isinstance(cols, dict) else cols[i]) for i, c in enumerate(COLUMNS)]


def check_journal(path, groups, with_summary):
    book = xlrd.open_workbook(path, formatting_info=True)
    sheet = book.sheet_by_index(0)
    texts = [[sheet.cell_value(r, c) for c in range(min(6, sheet.ncols))] for r in range(sheet.nrows)]
    # The overview repeats the group caption right below its own title.
    headings = [r for r, row in enumerate(texts) if row[1] == "Sumační skupina:"
                and not str(texts[r - 1][1]).startswith("Závěrečný")]
    totals = [r for r, row in enumerate(texts) if row[4] == "Celkem"]
    check(len(headings) == len(groups), "%s: %d headings for %d groups" % (path, len(headings), len(groups)))
    check(len(totals) == len(groups), "%s: %d totals lines for %d groups" % (path, len(totals), len(groups)))
    for group, head, total in zip(groups, headings, totals):
        name = group["Zkratka"]
        check(sheet.cell_value(head, 3) == group["Zkratka"] and sheet.cell_value(head, 4) == group["Nazev"],
              "%s: heading of %s" % (path, name))
        figures = [amount(sheet.cell_value(total, c)) for c in range(5, 36)]
        check(figures == group_columns(group), "%s: totals of %s differ" % (path, name))
        rows = group["rows"]
        check(total - head - 1 == len(rows), "%s: %s has %d rows, the report %d" % (path, name, total - head - 1, len(rows)))
        for offset, row in enumerate(rows):
            r = head + 1 + offset
            check(sheet.cell_value(r, 0) == name, "%s: row %d does not name its group %s" % (path, r + 1, name))
            values = [amount(sheet.cell_value(r, c)) for c in range(5, 36)]
            expected = [amount(row["cols"].get(c)) for c in COLUMNS]
            if values != expected:
                check(False, "%s: row %d of %s differs" % (path, offset, name))
                break
            date_type = sheet.cell_type(r, 2)
            check(date_type == xlrd.XL_CELL_DATE if row.get("Datum") else date_type != xlrd.XL_CELL_DATE,
                  "%s: date of row %d is not the report's" % (path, r + 1))
        if with_summary:
            overview = {sheet.cell_value(r, 5): amount(sheet.cell_value(r, 7))
                        for r in range(total + 1, min(total + 40, sheet.nrows))
                        if sheet.cell_type(r, 7) == xlrd.XL_CELL_NUMBER}
            check(overview.get("Hotovost celkem") == amount(group["totals"]["HotovostCeninyCelkem"]),
                  "%s: overview cash total of %s" % (path, name))
            check(overview.get("Základ daně") == amount(group["totals"]["ZakladDane"]),
                  "%s: overview tax base of %s" % (path, name))
    if not with_summary:
        check(not any(str(row[1]).startswith("Závěrečný") for row in texts),
              "%s: has an overview" % path)
    return sheet


def check_groups(path, groups):
    sheet = xlrd.open_workbook(path).sheet_by_index(0)
    keys = [sheet.cell_value(r, 0) for r in range(sheet.nrows)]
    first = keys.index("Zkratka skupiny") + 3  # below the three title lines
    for offset, group in enumerate(groups):
        r = first + offset
        check(sheet.cell_value(r, 0) == group["Zkratka"], "groups: key in row %d" % (r + 1))
        check(amount(sheet.cell_value(r, 2)) == group_columns(group)[0], "groups: Col5 of %s" % group["Zkratka"])
        check(amount(sheet.cell_value(r, 13)) == amount(group["totals"]["ZakladDane"]),
              "groups: tax base of %s" % group["Zkratka"])
    check(keys[first + len(groups) + 1] == "Celkem", "groups: the sum line is not after the groups")
    return first + len(groups) + 1


def check_with_libreoffice(files, groups, sum_row, work):
    soffice = shutil.which("soffice")
    if not soffice:
        sys.exit(77)
    out = os.path.join(work, "csv")
    for name, path in files.items():
        subprocess.run([soffice, "-env:UserInstallation=file://" + os.path.join(work, "profile"), "--headless",
                        "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1,,1033", "--outdir", out, path],
                       check=True, capture_output=True)
        check(os.path.exists(os.path.join(out, name + ".csv")), "LibreOffice did not open %s" % path)
    import csv
    with open(os.path.join(out, "groups.csv"), encoding="utf-8") as source:
        lines = list(csv.reader(source))
    sums = lines[sum_row]
    for index, column in enumerate(COLUMNS[:1] + ["ZakladDane"]):
        at = 2 if index == 0 else 13
        expected = round(sum(amount(g["cols"]["Col5"]) if index == 0 else amount(g["totals"]["ZakladDane"])
                             for g in groups), 2)
        got = round(float(sums[at].replace("\u00a0", "").replace(" ", "").replace(",", "")), 2)
        check(got == expected, "groups: LibreOffice sums column %d to %s, the report %s" % (at + 1, got, expected))


def main():
    work = tempfile.mkdtemp(prefix="kasovka-export-")
    try:
        data, files = run(work)
        groups = data["groups"]
        check_journal(files["with"], groups, True)
        check_journal(files["without"], groups, False)
        check_journal(files["one"], [groups[1]], True)
        sum_row = check_groups(files["groups"], groups)
        if LIBREOFFICE:
            check_with_libreoffice(files, groups, sum_row, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
