#!/usr/bin/python3
"""Round-trips every real-world workbook of the shared corpus through
kasovka-xls and compares the result with the original using independent
readers: xlrd for sheets, cells, formats and names, olefile for the other
streams of the compound file, and a record-level comparison: every record
outside the cell table and the string table is written back as read. Files
the corpus marks as refused must fail with the expected text."""

import os
import struct
import subprocess
import sys
import tempfile

import olefile
import xlrd

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import shared_testdata  # noqa: E402

# Texts the layer gives for the refused files, by the reason in INDEX.tsv.
REFUSALS = [
    ("BIFF5", "Template file is saved with an invalid Excel version"),
    ("not an OLE2", 'The file "{path}" is invalid'),
    ("encrypted", "File is password protected"),
    ("truncated", 'Can\'t read file "{path}"'),
    ("no 'Workbook' stream", 'Can\'t open Stream "Workbook"'),
]


def run(tool, *args):
    return subprocess.run([tool, *args], capture_output=True, text=True, timeout=60)


# The cell table and what is rebuilt on saving: positions (INDEX, DBCELL,
# BOUNDSHEET) and the shared strings (SST, EXTSST).
CELL_TABLE = {0x0208, 0x0201, 0x00BE, 0x0203, 0x027E, 0x00BD, 0x00FD, 0x0204, 0x00D6, 0x0205,
              0x0006, 0x00D7, 0x0207, 0x04BC, 0x0221, 0x0236}
REBUILT = CELL_TABLE | {0x020B, 0x0085, 0x00FC, 0x00FF}


def kept_records(path):
    """The records of the Workbook stream that a round trip keeps as read."""
    ole = olefile.OleFileIO(path)
    name = next(e for e in ole.listdir() if e[0].lower() == "workbook")
    stream = ole.openstream(name).read()
    ole.close()
    kept, pos, last = [], 0, None
    while pos + 4 <= len(stream):
        rid, size = struct.unpack_from("<HH", stream, pos)
        data = stream[pos + 4:pos + 4 + size]
        pos += 4 + size
        if rid == 0 and size == 0:
            break
        if rid != 0x003C:
            last = rid
        if last not in REBUILT:
            kept.append((rid, data))
    return kept


def formula_cells(tool, path):
    out = run(tool, "dump", path).stdout
    cells = set()
    for line in out.splitlines():
        f = line.split("\t")
        if f[0] == "cell" and f[4] == "formula":
            cells.add((int(f[1]) - 1, int(f[2]) - 1, int(f[3]) - 1))
    return cells


def other_streams(path):
    ole = olefile.OleFileIO(path)
    streams = {}
    for entry in ole.listdir(streams=True, storages=True):
        name = "/".join(entry)
        if name.lower() == "workbook":
            continue
        kind = ole.get_type(entry)
        data = ole.openstream(entry).read() if kind == olefile.STGTY_STREAM else None
        streams[name] = (kind, ole.getclsid(entry), data)
    root_clsid = ole.root.clsid
    ole.close()
    return streams, root_clsid


def compare_books(original, result, formulas):
    problems = []
    a = xlrd.open_workbook(original, formatting_info=True)
    b = xlrd.open_workbook(result, formatting_info=True)
    if a.sheet_names() != b.sheet_names():
        return ["sheet names %r != %r" % (a.sheet_names(), b.sheet_names())]
    for si in range(a.nsheets):
        sa, sb = a.sheet_by_index(si), b.sheet_by_index(si)
        for r in range(max(sa.nrows, sb.nrows)):
            for c in range(max(sa.ncols, sb.ncols)):
                ca = sa.cell(r, c) if r < sa.nrows and c < sa.ncols else None
                cb = sb.cell(r, c) if r < sb.nrows and c < sb.ncols else None
                empty = xlrd.XL_CELL_EMPTY
                ka = (ca.ctype, ca.value, ca.xf_index) if ca and ca.ctype != empty else None
                kb = (cb.ctype, cb.value, cb.xf_index) if cb and cb.ctype != empty else None
                if (si, r, c) in formulas:
                    # The stored result is cleared on purpose; the format stays.
                    ka = ka and ka[2]
                    kb = kb and kb[2]
                if ka != kb:
                    problems.append("sheet %d cell (%d,%d): %r != %r" % (si, r, c, ka, kb))
        if sa.merged_cells != sb.merged_cells:
            problems.append("sheet %d merged %r != %r" % (si, sa.merged_cells, sb.merged_cells))
    na = [(n.name, n.scope, n.raw_formula) for n in a.name_obj_list]
    nb = [(n.name, n.scope, n.raw_formula) for n in b.name_obj_list]
    if na != nb:
        problems.append("names differ: %r != %r" % (na, nb))
    if a.format_map.keys() != b.format_map.keys() or len(a.xf_list) != len(b.xf_list):
        problems.append("formats differ")
    return problems


def check_open(tool, path, out):
    proc = run(tool, "roundtrip", path, out)
    if proc.returncode != 0:
        return ["roundtrip failed: " + proc.stderr.strip()]
    problems = compare_books(path, out, formula_cells(tool, path))
    sa, ra = other_streams(path)
    sb, rb = other_streams(out)
    if sa != sb:
        problems.append("other streams differ: %r vs %r" % (sorted(sa), sorted(sb)))
    if ra != rb:
        problems.append("root class id differs")
    ka, kb = kept_records(path), kept_records(out)
    changed = [i for i, (x, y) in enumerate(zip(ka, kb)) if x != y]
    if len(ka) != len(kb) or changed:
        where = changed[0] if changed else min(len(ka), len(kb))
        problems.append("records not written back as read, from kept record %d (0x%04x)"
                        % (where, ka[where][0] if where < len(ka) else kb[where][0]))
    again = out + ".again.xls"
    proc = run(tool, "roundtrip", out, again)
    if proc.returncode != 0:
        problems.append("second roundtrip failed: " + proc.stderr.strip())
    return problems


def check_refuse(tool, path, reason, out):
    proc = run(tool, "roundtrip", path, out)
    if proc.returncode != 1:
        return ["expected exit 1, got %d" % proc.returncode]
    if os.path.exists(out):
        return ["a refused file left an output file"]
    for key, text in REFUSALS:
        if key in reason:
            expected = text.format(path=path)
            if proc.stderr.strip() != expected:
                return ["expected %r, got %r" % (expected, proc.stderr.strip())]
            return []
    return ["no expected text for reason %r" % reason]


def main():
    tool, corpus = sys.argv[1], shared_testdata.folder(sys.argv[2], "xls")
    code = shared_testdata.absent(corpus)
    if code is not None:
        return code
    failures = 0
    with open(os.path.join(corpus, "INDEX.tsv"), encoding="utf-8") as index, \
            tempfile.TemporaryDirectory() as tmp:
        next(index)
        for line in index:
            fields = line.rstrip("\n").split("\t")
            name, expected = fields[0], fields[1]
            path = os.path.join(corpus, name)
            out = os.path.join(tmp, name)
            if expected == "open":
                problems = check_open(tool, path, out)
            else:
                problems = check_refuse(tool, path, expected, out)
            status = "ok" if not problems else "FAIL"
            print("%s %s" % (status, name))
            for p in problems[:10]:
                print("    " + p)
            failures += bool(problems)
    print("%d file(s) failed" % failures)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
