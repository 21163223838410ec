#!/usr/bin/python3
"""A reproducible campaign of mutated templates exported to .xlsx and .xls.

    fuzz/campaign.py KASOVKA_XLS WORK [--templates N] [--seed S] [--jobs J]
                     [--timeout SECONDS] [--libreoffice-minutes M] [--profile URL]

Seeds are the program's templates (bin/SetupDat/PrintFrm beside the tool)
and the templates of tests/export. Each mutated template is filled by
`kasovka-xls fill` with data that reaches every tag of the seeds (texts with
control characters, U+FFFF, unpaired surrogates, literal "_xHHHH_" and "&&G"
among them) once as .xlsx and once as .xls, each under a time limit. A run
must end with exit code 0 and a file, or exit code 1, no file and one message
on standard error that is not the library's English; a signal or the time
limit is a crash or a hang. The .xlsx outputs that differ (the archive's
parts compared, less its creation time) must be well-formed XML, open in
openpyxl and, within the time given to it, in LibreOffice. Failures are kept in WORK/failures
with their templates; the figures are printed at the end.

Most mutations keep the compound file and the records' sizes and change the
records' contents, weighted to the strings and the records the .xlsx writer
reads, so that most templates get through the reader to the writers; one in
ten changes bytes anywhere in the file.
"""
import argparse
import collections
import concurrent.futures
import glob
import hashlib
import json
import os
import random
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import warnings
import zipfile
from xml.etree import ElementTree

import olefile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# Records the writers read: strings, names, fonts, formats, print setup, notes,
# cells, formulas, merges, columns, rows, sheet views.
RECORD_WEIGHTS = {0x00FC: 6, 0x003C: 3, 0x0085: 4, 0x0031: 3, 0x041E: 4, 0x0014: 4, 0x0015: 4, 0x0018: 3,
                  0x001C: 3, 0x01B6: 3, 0x0006: 3, 0x00FD: 1, 0x0203: 1, 0x00E5: 2, 0x007D: 2, 0x0208: 2,
                  0x00A1: 2, 0x023E: 2, 0x00E0: 2, 0x001B: 1, 0x001A: 1, 0x0221: 1, 0x005D: 1, 0x0017: 1}
NASTY_BYTES = b"\x00\x01\x08\x09\x0a\x0b\x0d\x1f&G_x['\":*?/\\\x7f\xff"
NASTY_UNITS = [0x0000, 0x0001, 0x000B, 0x001F, 0xFFFE, 0xFFFF, 0xD800, 0xDC00, 0x0026, 0x0047, 0x005F, 0x0027]
NASTY_RUNS = [b"_x0041_", b"&&G", b"&G", b"&[Picture]", b"_x005F_", b"\x00\x00", b"\xff\xff\xff\xff"]
TEXTS = ["Nákup zboží\r\nna fakturu č. 7", "a\x00b\x01c\x0bd\x1fe", "\uffff\ufffe konec", "půl\ud800páru\udc00",
         "_x0041_ a _x005F_", "R&&G &G &[Picture]", "<&>\"'", "x" * 400, ""]


def tags(tool, template):
    """The data sets with their fields, and the named values, a template reads."""
    dump = subprocess.run([tool, "dump", template], capture_output=True, text=True).stdout
    fields = collections.defaultdict(set)
    for table, field in re.findall(r"##(Table\d+)##(\w+)", dump):
        fields[table].add(field)
    for table in re.findall(r"name\t__(Table\d+)__", dump):
        fields[table]
    return fields, set(re.findall(r"#\.(\w+)", dump))


def field_type(name):
    if re.fullmatch(r"Col\d+|Castka|.*Celkem|ZakladDane", name):
        return "currency"
    if name in ("Datum", "Doklad_Datum"):
        return "date"
    if name in ("Poradi", "Cislo", "Parent_ID"):
        return "integer"
    return "memo"


def value(kind, index):
    if kind == "currency":
        return ["1234.50", "-0.25", "99999999999.99", 0][index % 4]
    if kind == "date":
        return ["2024-02-29", None, 2, 2958465][index % 4]
    if kind == "integer":
        return index
    return TEXTS[index % len(TEXTS)]


def data_for(fields, names):
    """Three records per master and two per detail record, linked by ID and Parent_ID."""
    datasets = []
    tables = sorted(fields, key=lambda t: int(t[5:]))
    for position, table in enumerate(tables):
        own = sorted(fields[table] - {"ID", "Parent_ID"})
        columns = [{"name": "ID", "type": "autoinc"}, {"name": "Parent_ID", "type": "integer"}]
        columns += [{"name": f, "type": field_type(f)} for f in own]
        count = 3 * 2 ** position
        records = [[i + 1, i // 2 + 1] + [value(s["type"], i + k) for k, s in enumerate(columns[2:])]
                   for i in range(count)]
        dataset = {"name": table, "fields": columns, "records": records}
        if position:
            dataset.update(master=tables[position - 1], masterFields=["ID"], detailFields=["Parent_ID"])
        datasets.append(dataset)
    return {"datasets": datasets, "values": {n: TEXTS[i % len(TEXTS)] for i, n in enumerate(sorted(names))}}


def records(stream):
    """(id, offset of the body, size) of each record of a Workbook stream."""
    out, pos = [], 0
    while pos + 4 <= len(stream):
        rid, size = struct.unpack_from("<HH", stream, pos)
        out.append((rid, pos + 4, min(size, len(stream) - pos - 4)))
        pos += 4 + size
    return out


def mutate_stream(rng, stream, layout):
    data = bytearray(stream)
    weighted = [r for r in layout if r[2] > 0 for _ in range(RECORD_WEIGHTS.get(r[0], 0) or 1)]
    for _ in range(rng.randint(1, 4)):
        rid, body, size = rng.choice(weighted)
        at = body + rng.randrange(size)
        op = rng.random()
        if op < 0.35:
            data[at] = rng.choice(NASTY_BYTES)
        elif op < 0.6 and at + 2 <= body + size:
            struct.pack_into("<H", data, at - (at - body) % 2, rng.choice(NASTY_UNITS))
        elif op < 0.75:
            run = rng.choice(NASTY_RUNS)[: body + size - at]
            data[at:at + len(run)] = run
        elif op < 0.95:
            data[at] ^= 1 << rng.randrange(8)
        else:  # a record header: the stream loses step from here on
            header = body - 4 + rng.randrange(4)
            data[header] = rng.randrange(256)
    return bytes(data)


def make_template(rng, seed_path, seed_bytes, seed_stream, layout, target):
    if rng.random() < 0.1 or seed_stream is None:
        data = bytearray(seed_bytes)
        for _ in range(rng.randint(1, 8)):
            data[rng.randrange(len(data))] = rng.randrange(256)
        with open(target, "wb") as out:
            out.write(data)
        return
    shutil.copyfile(seed_path, target)
    with olefile.OleFileIO(target, write_mode=True) as ole:
        ole.write_stream("Workbook", mutate_stream(rng, seed_stream, layout))


def run(tool, template, target, data, timeout):
    """('ok' | 'refused' | 'english' | 'crash' | 'hang', message); 'english' is a
    refusal with libxlsxwriter's own text on standard error."""
    try:
        result = subprocess.run(["nice", "-n", "10", tool, "fill", template, target, data],
                                capture_output=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        return "hang", "time limit"
    error = result.stderr.decode("utf-8", "replace").strip()
    if result.returncode == 0 and os.path.isfile(target) and not error:
        return "ok", ""
    if result.returncode == 1 and not os.path.exists(target) and error:
        if re.search(r"\[(ERROR|WARNING)\]", error):
            return "english", error
        return "refused", error
    return "crash", "exit %d: %s" % (result.returncode, error[-400:])


def normalised(message):
    """A refusal without its numbers and names, to count it by kind."""
    return re.sub(r"0x[0-9a-fA-F]+|\d+|\"[^\"]*\"", "…", message)


def normalised_hash(path):
    """The archive's parts, less its creation and change times."""
    digest = hashlib.sha256()
    with zipfile.ZipFile(path) as archive:
        for name in sorted(archive.namelist()):
            part = archive.read(name)
            if name == "docProps/core.xml":
                part = re.sub(rb"<dcterms:(created|modified)[^<]*</dcterms:\1>", b"", part)
            digest.update(name.encode() + b"\0" + part + b"\0")
    return digest.hexdigest()


def open_check(path):
    """Why the file is not well-formed XML or openpyxl cannot open it, or None."""
    import openpyxl
    with zipfile.ZipFile(path) as archive:
        for name in archive.namelist():
            if name.endswith((".xml", ".rels", ".vml")):
                try:
                    ElementTree.fromstring(archive.read(name))
                except ElementTree.ParseError as error:
                    return "%s is not well-formed: %s" % (name, error)
    try:
        with warnings.catch_warnings():
            warnings.simplefilter("ignore")  # a date out of range: the cell reads as an error value
            book = openpyxl.load_workbook(path)
        for sheet in book.worksheets:
            sheet.print_title_rows, sheet.oddHeader.center.text
        return None
    except Exception as error:  # noqa: BLE001 - every failure to open counts
        return "%s: %s" % (type(error).__name__, str(error)[:200])


def convert(batch, out, profile):
    """Whether LibreOffice converted the batch within its time; a process group
    that overstays is ended by its id."""
    process = subprocess.Popen(["nice", "-n", "10", "soffice", "-env:UserInstallation=" + profile, "--headless",
                                "--convert-to", "csv", "--outdir", out] + batch,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        process.wait(timeout=max(60, 3 * len(batch)))
        return True
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()
        return False


def libreoffice_check(paths, work, profile, deadline):
    """How many paths were checked, and those LibreOffice could not open.
    Batches of 200; one that does not end in time is halved until the file
    that hangs is alone."""
    failed, checked = [], 0
    batches = [paths[i:i + 200] for i in range(0, len(paths), 200)]
    while batches and time.time() < deadline:
        batch = batches.pop(0)
        out = tempfile.mkdtemp(dir=work, prefix="lo-")
        if convert(batch, out, profile):
            made = set(os.listdir(out))
            for path in batch:
                if os.path.splitext(os.path.basename(path))[0] + ".csv" not in made:
                    failed.append((path, "LibreOffice cannot open it"))
            checked += len(batch)
        elif len(batch) == 1:
            failed.append((batch[0], "LibreOffice hangs"))
            checked += 1
        else:
            batches[:0] = [batch[: len(batch) // 2], batch[len(batch) // 2:]]
        shutil.rmtree(out, ignore_errors=True)
    return checked, failed


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("tool")
    parser.add_argument("work")
    parser.add_argument("--templates", type=int, default=10000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--timeout", type=float, default=20)
    parser.add_argument("--libreoffice-minutes", type=float, default=30)
    parser.add_argument("--profile", default="file:///tmp/lo-fuzz")
    args = parser.parse_args()
    start = time.time()
    tool = os.path.abspath(args.tool)
    work = os.path.abspath(args.work)
    for sub in ("templates", "xlsx", "failures", "scratch"):
        os.makedirs(os.path.join(work, sub), exist_ok=True)

    seeds = sorted(glob.glob(os.path.join(os.path.dirname(tool), "SetupDat", "PrintFrm", "*.xl")))
    seeds += sorted(glob.glob(os.path.join(ROOT, "tests", "export", "**", "*.xls"), recursive=True))
    fields, names = collections.defaultdict(set), set()
    loaded = []
    for seed in seeds:
        found, named = tags(tool, seed)
        for table, own in found.items():
            fields[table] |= own
        names |= named
        with open(seed, "rb") as source:
            raw = source.read()
        stream = olefile.OleFileIO(seed).openstream("Workbook").read()
        loaded.append((seed, raw, stream, records(stream)))
    data = os.path.join(work, "data.json")
    with open(data, "w", encoding="utf-8") as out:
        json.dump(data_for(fields, names), out)

    rng = random.Random(args.seed)
    jobs = []
    for index in range(args.templates):
        seed, raw, stream, layout = loaded[index % len(loaded)]
        template = os.path.join(work, "templates", "t%05d.xl" % index)
        make_template(rng, seed, raw, stream, layout, template)
        jobs.append(template)
    print("%d templates from %d seeds in %.0f s" % (len(jobs), len(seeds), time.time() - start), flush=True)

    def export(template):
        name = os.path.splitext(os.path.basename(template))[0]
        results = {}
        for extension in ("xlsx", "xls"):
            target = os.path.join(work, "scratch", name + "." + extension)
            results[extension] = run(tool, template, target, data, args.timeout)
            if extension == "xlsx" and results[extension][0] == "ok":
                results["hash"] = normalised_hash(target)
                os.replace(target, os.path.join(work, "xlsx", name + ".xlsx"))
            elif os.path.exists(target):
                os.remove(target)
        return template, results

    outcomes = collections.Counter()
    one_format = collections.Counter()  # (.xlsx outcome, .xls outcome) where they differ
    examples = {}
    refusals = collections.Counter()
    distinct = {}
    failures = []
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        for done, (template, results) in enumerate(pool.map(export, jobs), 1):
            for extension in ("xlsx", "xls"):
                kind, message = results[extension]
                outcomes[(extension, kind)] += 1
                if kind == "refused":
                    refusals[(extension, normalised(message))] += 1
                elif kind != "ok":
                    failures.append((template, extension, kind, message))
            if results["xlsx"][0] != results["xls"][0]:
                one_format[tuple(normalised(r[1]) or r[0] for r in (results["xlsx"], results["xls"]))] += 1
                examples.setdefault(tuple(r[0] for r in (results["xlsx"], results["xls"])), template)
            output = os.path.join(work, "xlsx", os.path.basename(template)[:-3] + ".xlsx")
            if "hash" in results:
                if results["hash"] in distinct:
                    os.remove(output)
                else:
                    distinct[results["hash"]] = output
            if done % 1000 == 0:
                print("  %d exported, %.0f s" % (done, time.time() - start), flush=True)
    exported = time.time() - start

    outputs = sorted(distinct.values())
    with concurrent.futures.ProcessPoolExecutor(args.jobs) as pool:
        for path, problem in zip(outputs, pool.map(open_check, outputs, chunksize=20)):
            if problem:
                failures.append((path, "xlsx", "openpyxl", problem))
    opened = time.time()
    deadline = time.time() + 60 * args.libreoffice_minutes
    lo_checked, lo_failed = (libreoffice_check(outputs, work, args.profile, deadline) if shutil.which("soffice")
                             else (0, []))
    failures += [(path, "xlsx", "libreoffice", problem) for path, problem in lo_failed]

    for template, extension, kind, message in failures:
        keep = os.path.join(work, "failures", os.path.basename(template))
        shutil.copyfile(template, keep)
    print("templates: %d (seed %d)" % (len(jobs), args.seed))
    for extension in ("xlsx", "xls"):
        print("%s: %s" % (extension, ", ".join("%s %d" % (kind, count) for (ext, kind), count
                                              in sorted(outcomes.items()) if ext == extension)))
    print("distinct .xlsx outputs: %d; well-formed and opened by openpyxl: %d of them (%.0f s)"
          % (len(outputs), len(outputs) - sum(f[2] == "openpyxl" for f in failures), opened - start - exported))
    print("LibreOffice: %d of %d checked, %d could not open (%.0f s)"
          % (lo_checked, len(outputs), len(lo_failed), time.time() - opened))
    print("refusals by message:")
    for (extension, message), count in refusals.most_common():
        print("  %6d %-4s %s" % (count, extension, message[:150]))
    print("outcomes that differ between the formats (.xlsx | .xls):")
    for (xlsx, xls), count in one_format.most_common():
        print("  %6d %s | %s" % (count, xlsx[:100], xls[:100]))
    for kinds, template in sorted(examples.items()):
        print("  for example %s: %s" % ("/".join(kinds), os.path.basename(template)))
    print("failures: %d" % len(failures))
    for template, extension, kind, message in failures[:50]:
        print("  %s %s %s: %s" % (os.path.basename(template), extension, kind, message[:200]))
    print("wall time: %.0f s" % (time.time() - start))
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
