#!/usr/bin/python3
"""Edits workbooks with kasovka-xls (rows inserted, copied, deleted; cells,
comments and page breaks set) and checks the results with independent
readers: xlrd must open them with the expected values and comments, their
drawings must stay consistent (drawing_check.py), and with --libreoffice,
LibreOffice must open them, read the moved formulas and show every comment.
Exits 77 (skipped) when --libreoffice is given and LibreOffice is absent."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

import xlrd

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import shared_testdata  # noqa: E402
import drawing_check

# (name, operations, expected dump lines, formulas LibreOffice must read,
#  comments xlrd must read on the first sheet: {(row, col): text}, 0-based)
TEMPLATE_CASES = [
    ("copy-formulas", ["--formulas-only", "--insert-copy", "3", "5", "6", "2"],
     ["cell\t1\t7\t3\tformula\tB7*2", "cell\t1\t10\t3\tformula\tB10*2",
      "cell\t1\t7\t4\tformula\t$B$4*2", "cell\t1\t13\t2\tformula\tSUM(B3:B5)",
      "cell\t1\t14\t2\tformula\tB16", "cell\t2\t1\t2\tformula\tData!B17",
      "comment\t1\t10\t1\tPoznámka", "name\t__Table1__\t1\t3\t5\t1\t4"],
     ["of:=[.B7]*2", "of:=[.B10]*2", "of:=[.$B$4]*2", "of:=SUM([.B3:.B5])", "of:=[.B16]",
      "of:=[$Data.B17]"],
     {(3, 0): "Poznámka", (6, 0): "Poznámka", (9, 0): "Poznámka"}),
    ("copy-all", ["--insert-copy", "4", "4", "5", "3"],
     ["cell\t1\t7\t1\ttext\tb", "cell\t1\t7\t3\tformula\tB7*2",
      "cell\t1\t10\t2\tformula\tSUM(B3:B8)"],
     ["of:=[.B7]*2", "of:=SUM([.B3:.B8])"],
     {(3, 0): "Poznámka", (4, 0): "Poznámka", (5, 0): "Poznámka", (6, 0): "Poznámka"}),
    ("delete", ["--delete", "10", "1"],
     ["cell\t1\t8\t2\tformula\t#REF!", "cell\t1\t8\t3\tformula\tB10+1",
      "cell\t2\t1\t2\tformula\tData!B10"],
     ["of:=[.B10]+1", "of:=[$Data.B10]"],
     {(3, 0): "Poznámka"}),
    ("cells", ["--set", "20", "1", "Žluťoučký", "--set", "21", "2", "3.5", "--page-break", "20",
               "--comment", "4", "1", "Nový text", "--sheet", "2", "--set", "5", "5", "7"],
     ["cell\t1\t20\t1\ttext\tŽluťoučký", "cell\t1\t21\t2\tnumber\t3.5", "pagebreak\t1\t20",
      "comment\t1\t4\t1\tNový text", "cell\t2\t5\t5\tnumber\t7"],
     [], {(3, 0): "Nový text"}),
]

YEGOR = "Yegor Kozlov:\n"
EVGENIY = ["evgeniy:\ndbgdfbtgbfdgb", "evgeniy:\n21313213sfdf", "evgeniy:\n1sdasdadsas\nsdasd"]

# Real files of other programs, edited: (file, operations[, comments xlrd
# must read on the first sheet afterwards]).
CORPUS_CASES = [
    ("poi_SharedFormulaTest.xls", ["--insert-copy", "2", "3", "4", "5"]),
    ("poi_SimpleWithComments.xls", ["--insert-copy", "1", "2", "3", "2", "--delete", "1", "1"],
     {(0, 1): YEGOR + "second cell", (1, 1): YEGOR + "first cell", (2, 1): YEGOR + "second cell",
      (3, 1): YEGOR + "first cell", (4, 1): YEGOR + "second cell", (5, 1): YEGOR + "third cell"}),
    ("poi_SimpleWithImages.xls", ["--insert-copy", "1", "3", "4", "2"]),
    ("poi_DrawingAndComments.xls", ["--delete", "2", "3"], {(2, 2): EVGENIY[1], (3, 5): EVGENIY[2]}),
    # Comments, an oval and a polygon continued after an OBJ share the drawing.
    ("poi_DrawingAndComments.xls", ["--insert-copy", "4", "7", "8", "1"],
     {(3, 1): EVGENIY[0], (5, 2): EVGENIY[1], (6, 5): EVGENIY[2],
      (7, 1): EVGENIY[0], (9, 2): EVGENIY[1], (10, 5): EVGENIY[2]}),
    # 1,200 new shapes: their ids need new clusters of the drawing group.
    ("poi_DrawingAndComments.xls", ["--insert-copy", "4", "7", "8", "300"]),
    ("calamine_merge_cells.xls", ["--insert-copy", "1", "4", "5", "3"]),
    ("poi_3dFormulas.xls", ["--delete", "1", "1", "--sheet", "2", "--insert-copy", "1", "1", "2", "4"]),
    ("parseexcel_long_string1.xls", ["--set", "3", "3", "nový text"]),
    ("poi_WORKBOOK_in_capitals.xls", ["--insert-copy", "5", "8", "9", "10"]),
    ("sheetjs_formulae_test_simple.xls", ["--insert-copy", "1", "2", "3", "2"]),
]


def run(*args):
    return subprocess.run(list(args), capture_output=True, text=True, timeout=120)


def libreoffice_convert(path, tmp, kind):
    """The workbook as LibreOffice reads it, saved as `kind`; None when it
    could not open it."""
    outdir = os.path.join(tmp, "lo")
    os.makedirs(outdir, exist_ok=True)
    profile = "file://" + os.path.join(tmp, "lo-profile")
    proc = run("soffice", "-env:UserInstallation=" + profile, "--headless",
               "--convert-to", kind, "--outdir", outdir, path)
    converted = os.path.join(outdir, os.path.splitext(os.path.basename(path))[0] + "." + kind)
    return converted if proc.returncode == 0 and os.path.exists(converted) else None


def libreoffice_formulas(path, tmp):
    """The formulas of a workbook as LibreOffice reads them."""
    fods = libreoffice_convert(path, tmp, "fods")
    if fods is None:
        return None
    with open(fods, encoding="utf-8") as f:
        text = f.read()
    return set(m.replace("&quot;", '"') for m in re.findall(r'table:formula="([^"]*)"', text))


def libreoffice_comments(path, tmp):
    """How many comments LibreOffice reads, hidden ones included (its flat
    XML keeps only the shown ones, its .xlsx all)."""
    xlsx = libreoffice_convert(path, tmp, "xlsx")
    if xlsx is None:
        return None
    with zipfile.ZipFile(xlsx) as z:
        return sum(z.read(n).decode("utf-8").count("<comment ")
                   for n in z.namelist() if re.match(r"xl/comments\d*\.xml$", n))


def check_template(tool, template, tmp, use_lo):
    failures = 0
    for name, ops, lines, lo_formulas, notes in TEMPLATE_CASES:
        out = os.path.join(tmp, name + ".xls")
        proc = run(tool, "edit", template, out, *ops)
        problems = []
        if proc.returncode != 0:
            problems.append("edit failed: " + proc.stderr.strip())
        else:
            dump = set(run(tool, "dump", out).stdout.splitlines())
            problems += ["missing line %r" % l for l in lines if l not in dump]
            try:
                book = xlrd.open_workbook(out, formatting_info=True)
                found = {k: v.text for k, v in book.sheet_by_index(0).cell_note_map.items()}
                if found != notes:
                    problems.append("comments %r, expected %r" % (found, notes))
            except Exception as e:  # any failure of the independent reader
                problems.append("xlrd: %s" % e)
            if use_lo:
                found = libreoffice_formulas(out, tmp)
                if found is None:
                    problems.append("LibreOffice could not open the result")
                else:
                    problems += ["LibreOffice lacks %r (has %r)" % (f, sorted(found))
                                 for f in lo_formulas if f not in found]
        failures += report(name, problems)
    return failures


def check_corpus(tool, corpus, tmp, use_lo):
    failures = 0
    for number, (name, ops, *notes) in enumerate(CORPUS_CASES):
        src = os.path.join(corpus, name)
        out = os.path.join(tmp, "edited%d_%s" % (number, name))
        proc = run(tool, "edit", src, out, *ops)
        problems = []
        if proc.returncode != 0:
            problems.append("edit failed: " + proc.stderr.strip())
        else:
            problems += check_corpus_result(tool, src, out, notes[0] if notes else None, tmp, use_lo)
        failures += report(name + " " + " ".join(ops), problems)
    return failures


def check_corpus_result(tool, src, out, notes, tmp, use_lo):
    problems = []
    comments = 0
    try:
        book = xlrd.open_workbook(out, formatting_info=True)
        original = xlrd.open_workbook(src, formatting_info=True)
        if book.sheet_names() != original.sheet_names():
            problems.append("sheets changed")
        found = {k: v.text for k, v in book.sheet_by_index(0).cell_note_map.items()}
        if notes is not None and found != notes:
            problems.append("comments %r, expected %r" % (found, notes))
        comments = sum(len(book.sheet_by_index(i).cell_note_map) for i in range(book.nsheets))
    except Exception as e:
        problems.append("xlrd: %s" % e)
    added = set(drawing_check.problems(out)) - set(drawing_check.problems(src))
    problems += ["drawing: " + p for p in sorted(added)]
    again = out + ".again.xls"
    if run(tool, "roundtrip", out, again).returncode != 0:
        problems.append("the result does not open again")
    if use_lo:
        found = libreoffice_comments(out, tmp)
        if found is None:
            problems.append("LibreOffice could not open the result")
        elif found != comments:
            problems.append("LibreOffice reads %d comments, xlrd %d" % (found, comments))
    return problems


def report(name, problems):
    print("%s %s" % ("ok" if not problems else "FAIL", name))
    for p in problems:
        print("    " + p)
    return 1 if problems else 0


def main():
    args = sys.argv[1:]
    use_lo = "--libreoffice" in args
    args = [a for a in args if a != "--libreoffice"]
    tool, data, shared = args
    corpus = shared_testdata.folder(shared, "xls")
    if use_lo and not shutil.which("soffice"):
        print("LibreOffice is not installed: skipped")
        return 77
    # The own template is checked in any case; the corpus only where present.
    missing = shared_testdata.absent(corpus)
    with tempfile.TemporaryDirectory() as tmp:
        failures = check_template(tool, os.path.join(data, "template.xls"), tmp, use_lo)
        if missing is None:
            failures += check_corpus(tool, corpus, tmp, use_lo)
    print("%d case(s) failed" % failures)
    if failures:
        return 1
    return missing or 0


if __name__ == "__main__":
    sys.exit(main())
