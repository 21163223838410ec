#!/usr/bin/python3
"""The program's templates on paper: each is filled (kasovka-xls fill) with
the largest amounts a report shows, printed to PDF by LibreOffice under a
Czech locale and read back with pdftotext.

    check_template_paper.py KASOVKA_XLS TEMPLATES

Every page must be A3 landscape, print no text under 7 pt, carry the title
block and "Strana x z y", show every amount in full (no "###"), name the
group on every journal page, print no date for day 0 and no group caption in
a report without groups. Exit code 77 when LibreOffice or poppler is missing.
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zlib

TOOL, TEMPLATES = sys.argv[1:3]
BIG = "9999999999.99"
TOTALS = ["HotovostCeninyCelkem", "BankUctyCelkem", "PrubPolozkyCelkem", "ZakladDane",
          "PrijmyZahrDoZaklCelkem", "VydajeNaZajPrijCelkem", "PrijmyNeovlZaklDaneCelkem",
          "VydajeNeovlZaklDaneCelkem"]
AMOUNTS = ["Col%d" % n for n in range(5, 36)]
HEADING = {"NazevSestavy": "Zkouška tisku", "Agenda": "DEMO", "UcetniRok": "2026",
           "Obdobi": "1.1.2026 – 9.5.2026", "FirmaRadek": "Firma:",
           "Firma": "Zkušební stavby s.r.o., IČO 12345678, DIČ CZ12345678"}
WARNING = "Řádek 3, doklad FV-00003/2026: nebyl nalezen účetní pohyb \"XNEZN\""
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def data(groups):
    """Two groups (or one without a key) of 80 rows each: enough for a
    second page, every amount at the largest size, negative on odd rows,
    the widest dates (20.-29.12.2026), the first row of each group without
    a date."""
    keys = [("STR-01", "Středisko Praha"), ("STR-02", "Středisko Brno")] if groups else [("", "")]
    money = [{"name": n, "type": "currency"} for n in AMOUNTS]
    group_records, rows = [], []
    for number, (key, name) in enumerate(keys, start=1):
        group_records.append([number, key, name] + ["-" + BIG] * (len(AMOUNTS) + len(TOTALS)))
        for row in range(80):
            sign = "-" if row % 2 else ""
            rows.append([number, row, 0 if row == 0 else 46376 + row % 10, "FV-%05d/%d" % (row, 2026),
                         "Řádek %d" % row] + [sign + BIG] * len(AMOUNTS))
    values = dict(HEADING)
    values.update({"SumacniSkupiny": "Sumační skupiny (střediska)" if groups else "",
                   "SkupinaTitulek": "Sumační skupina" if groups else "",
                   "SkupinaRadek": "" if groups else "...delete row...",
                   "UpozorneniNadpis": "Upozornění"})
    return {"datasets": [
        {"name": "Table1", "fields": [{"name": "ID", "type": "integer"}, {"name": "Zkratka", "type": "text"},
                                      {"name": "Nazev", "type": "text"}]
         + money + [{"name": n, "type": "currency"} for n in TOTALS], "records": group_records},
        {"name": "Table2", "fields": [{"name": "Parent_ID", "type": "integer"}, {"name": "Poradi", "type": "integer"},
                                      {"name": "Datum", "type": "date"}, {"name": "Doklad_VS", "type": "text"},
                                      {"name": "Popis", "type": "text"}] + money,
         "records": rows, "master": "Table1", "masterFields": ["ID"], "detailFields": ["Parent_ID"]},
        {"name": "Table3", "fields": [{"name": "Text", "type": "text"}], "records": [[WARNING]]}],
        "values": values}


def font_sizes(pdf):
    raw = open(pdf, "rb").read()
    sizes = []
    for stream in re.findall(rb"stream\r?\n(.*?)endstream", raw, re.S):
        try:
            text = zlib.decompress(stream)
        except zlib.error:
            continue
        sizes += [float(size) for size in re.findall(rb"/F\d+ ([\d.]+) Tf", text)]
    return sizes


def pages(pdf):
    text = subprocess.run(["pdftotext", "-layout", pdf, "-"], capture_output=True, text=True, check=True).stdout
    return [re.sub(r"[\u00a0\u202f]", " ", page) for page in text.split("\f")[:-1]]


def check_pdf(name, pdf, groups, journal):
    info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, check=True).stdout
    check("1190.55 x 841.89" in info, "%s: not A3 landscape" % name)
    sizes = font_sizes(pdf)
    check(sizes and min(sizes) >= 7, "%s: printed text of %s pt" % (name, min(sizes or [0])))
    printed = pages(pdf)
    for number, page in enumerate(printed, start=1):
        where = "%s, page %d" % (name, number)
        check("#" not in page, "%s: a figure or date does not fit its cell (###)" % where)
        check("Strana %d z %d" % (number, len(printed)) in page, "%s: no page number" % where)
        check("Vytištěno" in page, "%s: no print date" % where)
        for value in HEADING.values():
            check(value in page, "%s: the title block lacks %s" % (where, value))
        check("30.12.1899" not in page, "%s: day 0 printed as a date" % where)
        check(("Sumační skupiny (střediska)" in page) == groups, "%s: group caption" % where)
        # The warnings follow the last group's page break, on a page of their own.
        if journal and groups and "Upozornění" not in page:
            check("STR-0" in page, "%s: does not name its group" % where)
        if not groups:
            check("Sumační skupina" not in page, "%s: a group caption without groups" % where)
    if journal:
        check(WARNING in printed[-1].replace("\n", " ") or WARNING[:40] in printed[-1],
              "%s: the warnings are not after the last group" % name)
    all_text = "".join(printed)
    check("9 999 999 999,99" in all_text and "-9 999 999 999,99" in all_text, "%s: amounts not printed" % name)


def main():
    if not shutil.which("soffice") or not shutil.which("pdftotext"):
        return 77
    work = tempfile.mkdtemp(prefix="kasovka-paper-")
    try:
        cases = []
        for groups in (True, False):
            source = os.path.join(work, "data%d.json" % groups)
            with open(source, "w", encoding="utf-8") as out:
                json.dump(data(groups), out)
            for template, journal in (("_PenDenReportWithFinalSummary", True),
                                      ("_PenDenReportWithoutFinalSummary", True), ("_GroupTables", False)):
                name = "%s-%s" % (template, "groups" if groups else "none")
                target = os.path.join(work, name + ".xls")
                result = subprocess.run([TOOL, "fill", os.path.join(TEMPLATES, template + ".xl"), target, source],
                                        capture_output=True, text=True)
                check(result.returncode == 0, "%s: fill failed: %s" % (name, result.stderr))
                cases.append((name, target, groups, journal))
        env = dict(os.environ, LANG="cs_CZ.UTF-8")
        subprocess.run(["soffice", "-env:UserInstallation=file://" + os.path.join(work, "profile"), "--headless",
                        "--convert-to", "pdf", "--outdir", work] + [c[1] for c in cases],
                       check=True, capture_output=True, env=env)
        for name, target, groups, journal in cases:
            check_pdf(name, target[:-4] + ".pdf", groups, journal)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
