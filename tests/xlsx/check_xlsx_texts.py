#!/usr/bin/python3
"""Texts of every kind with characters XML cannot hold, written as .xlsx.

    check_xlsx_texts.py KASOVKA_XLS TEMPLATE_XLS

The workbook layer's template with some of its texts replaced (same length,
in place) goes through `kasovka-xls roundtrip` to .xlsx: every XML part must
be well-formed, and each text, decoded as Office Open XML's "_xHHHH_" escapes
are decoded, must be the original one. openpyxl 3.0.9 decodes them in headers
and footers only, so the texts are taken from the XML; openpyxl must open the
file. Damaged templates end promptly, with the Czech message alone where
they are refused.
"""
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile

import openpyxl

TOOL, TEMPLATE = sys.argv[1:3]


def utf16(text):
    return text.encode("utf-16-le", "surrogatepass")


# (stored bytes, replacement of the same length, the text as it must read back)
PATCHES = [
    (utf16("Přehled"), utf16("a\uffff\ud800b\r\n\x0b"), "a\uffff\ud800b\r\n\x0b"),  # cell
    (utf16("Sloučeno"), utf16("\x00_x0041_"), "\x00_x0041_"),  # merged cell: NUL first, a literal escape
    (utf16("Částka"), utf16("x\x01\x08\x1f\x0c\t"), "x\x01\x08\x1f\x0c\t"),
    (b"\x05\x00Other", b"\x05\x00O\x01h\x1fr", "O\x01h\x1fr"),  # sheet name
    (utf16("Arial"), utf16("A\x01\tal"), "A\x01\tal"),  # font name
    (b"&12&A", b"&&G\x01A", "&&G\x01A"),  # header: a literal "&G" the library took for a picture
    (b"Pozn\xe1mka", b"P\x00z\x01\xe1mka", "P\x00z\x01ámka"),  # note
    (b"Kasovka", b"Ka\x01ovka", "Ka\x01ovka"),  # its author
]
# Damaged templates the writer must not hang on or spend gigabytes on:
# (what, patches, the message; None for a workbook written within the time).
DAMAGED = [
    ("default row height 0 with a note", [(bytes.fromhex("2502040000000001"), bytes.fromhex("2502040000000000"))],
     None),
    ("merged area A14:IV65536", [(bytes.fromhex("0d000d0000000100"), bytes.fromhex("0d00ffff0000ff00"))],
     "Sloučené oblasti listu \"Data\" pokrývají 16773888 buněk; ve formátu .xlsx jich zde lze uložit nejvýše "
     "1048576.\n"),
    ("sheet name ending with an apostrophe", [(b"\x05\x00Other", b"\x05\x00Othe'")],
     "List \"Othe'\" nelze uložit ve formátu .xlsx: název listu nesmí začínat ani končit apostrofem.\n"),
]
failures = []


def decoded(text):
    return re.sub("_x([0-9A-Fa-f]{4})_", lambda m: chr(int(m.group(1), 16)), text or "")


def patched(work, patches):
    with open(TEMPLATE, "rb") as source:
        data = source.read()
    for stored, replacement in patches:
        if data.count(stored) < 1 or len(stored) != len(replacement):
            sys.exit("the template no longer holds %r" % stored)
        data = data.replace(stored, replacement)
    path = os.path.join(work, "sablona.xls")
    with open(path, "wb") as out:
        out.write(data)
    return path


def roundtrip(work, patches, name):
    target = os.path.join(work, name)
    result = subprocess.run([TOOL, "roundtrip", patched(work, [p[:2] for p in patches]), target],
                            capture_output=True, timeout=30)
    return result.returncode, result.stderr.decode("utf-8"), target


def texts(archive):
    """Every text of the parts, decoded, and the parts that are not well-formed."""
    found, broken = [], []
    for name in archive.namelist():
        if not name.endswith((".xml", ".rels", ".vml")):
            continue
        try:
            root = ET.fromstring(archive.read(name))
        except ET.ParseError as error:
            broken.append("%s: %s" % (name, error))
            continue
        for node in root.iter():
            found.append(decoded(node.text))
            found.extend(decoded(node.get(key)) for key in ("name", "val"))
    return found, broken


def main():
    work = tempfile.mkdtemp(prefix="kasovka-texts-")
    code, error, target = roundtrip(work, PATCHES, "vystup.xlsx")
    if code != 0 or error:
        sys.exit("roundtrip failed (exit %d): %r" % (code, error))
    with zipfile.ZipFile(target) as archive:
        found, broken = texts(archive)
        failures.extend(broken)
    for _, _, expected in PATCHES:
        if not any(expected in text for text in found):
            failures.append("%r does not read back" % expected)
    openpyxl.load_workbook(target)

    for index, (what, patches, expected) in enumerate(DAMAGED):
        code, error, target = roundtrip(work, patches, "poskozena%d.xlsx" % index)
        if (code, error, os.path.exists(target)) != ((1, expected, False) if expected else (0, "", True)):
            failures.append("%s: exit %d, %r" % (what, code, error))

    for failure in failures:
        print("FAIL:", failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
