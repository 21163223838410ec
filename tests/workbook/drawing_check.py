#!/usr/bin/python3
"""Reads the drawings of a workbook with olefile alone and lists what is
inconsistent: object ids repeated on a sheet, comments whose object is
missing, shape ids repeated in the workbook or outside their drawing's id
clusters, and shape counts of a drawing or of the workbook that do not
match its shapes. Used by check_edits.py; prints the problems when run."""

import struct
import sys

import olefile


def records(stream):
    pos = 0
    while pos + 4 <= len(stream):
        rid, size = struct.unpack_from("<HH", stream, pos)
        yield rid, stream[pos + 4:pos + 4 + size]
        pos += 4 + size


def art_records(data, pos, end, depth=0):
    """(depth, type, body position, length) of every drawing record."""
    while pos + 8 <= end:
        ver, rtype, length = struct.unpack_from("<HHI", data, pos)
        yield depth, rtype, pos + 8, length
        if ver & 0x0F == 0x0F:
            yield from art_records(data, pos + 8, min(end, pos + 8 + length), depth + 1)
        pos += 8 + length


def sections(stream):
    """Globals, each sheet and each embedded chart: its drawing data, OBJ
    ids and NOTE object ids."""
    found, stack, last = [], [], None
    for rid, data in records(stream):
        if rid == 0x0809:
            stack.append({"drawing": bytearray(), "objs": [], "notes": [], "group": bytearray()})
            found.append(stack[-1])
        elif rid == 0x000A and stack:
            stack.pop()
        if not stack:
            continue
        current = stack[-1]
        if rid == 0x00EB:
            current["group"] += data
        elif rid == 0x00EC:
            current["drawing"] += data
        elif rid == 0x003C and last in (0x00EB, 0x00EC):
            current["group" if last == 0x00EB else "drawing"] += data
        elif rid == 0x003C and last == 0x005D and len(current["drawing"]) >= 8:
            # Drawing data that Excel continues after an OBJ.
            expected = 8 + struct.unpack_from("<I", current["drawing"], 4)[0]
            if len(current["drawing"]) < expected:
                current["drawing"] += data
        elif rid == 0x005D:
            current["objs"].append(struct.unpack_from("<H", data, 6)[0])
        elif rid == 0x001C:
            current["notes"].append(struct.unpack_from("<H", data, 6)[0])
        if rid != 0x003C:
            last = rid
    return found


def problems(path):
    ole = olefile.OleFileIO(path)
    name = next(e for e in ole.listdir() if e[0].lower() == "workbook")
    parts = sections(ole.openstream(name).read())
    ole.close()
    found = []
    group = parts[0]["group"]
    clusters, saved, spid_max = [], None, None
    for _, rtype, body, length in art_records(group, 0, len(group)):
        if rtype == 0xF006:
            spid_max, count, saved, _ = struct.unpack_from("<IIII", group, body)
            clusters = [struct.unpack_from("<II", group, body + 16 + 8 * i) for i in range(count - 1)]
    all_ids, total = set(), 0
    for index, sheet in enumerate(parts[1:], 1):
        if len(set(sheet["objs"])) != len(sheet["objs"]):
            found.append("sheet %d: repeated object ids %r" % (index, sorted(sheet["objs"])))
        missing = set(sheet["notes"]) - set(sheet["objs"])
        if missing:
            found.append("sheet %d: comments without their object %r" % (index, sorted(missing)))
        data = bytes(sheet["drawing"])
        if not data:
            continue
        shapes, fdg = [], None
        for _, rtype, body, length in art_records(data, 0, len(data)):
            if rtype == 0xF00A:
                shapes.append(struct.unpack_from("<I", data, body)[0])
            elif rtype == 0xF008:
                fdg = (struct.unpack_from("<H", data, body - 8)[0] >> 4,) + struct.unpack_from("<II", data, body)
        total += len(shapes)
        if fdg is None:
            found.append("sheet %d: drawing without FDG" % index)
            continue
        drawing, count, last = fdg
        if count != len(shapes):
            found.append("sheet %d: FDG counts %d shapes, holds %d" % (index, count, len(shapes)))
        if shapes and last < max(shapes):
            found.append("sheet %d: FDG's last id %d below %d" % (index, last, max(shapes)))
        for spid in shapes:
            if spid in all_ids:
                found.append("sheet %d: shape id %d used twice" % (index, spid))
            all_ids.add(spid)
            cluster = spid // 1024 - 1
            if clusters and not (0 <= cluster < len(clusters) and clusters[cluster][0] == drawing
                                 and spid % 1024 < clusters[cluster][1]):
                found.append("sheet %d: shape id %d outside drawing %d's clusters" % (index, spid, drawing))
    if saved is not None and saved != total:
        found.append("drawing group counts %d shapes, the drawings hold %d" % (saved, total))
    if spid_max is not None and all_ids and spid_max < max(all_ids):
        found.append("drawing group's maximum id %d below %d" % (spid_max, max(all_ids)))
    return found


if __name__ == "__main__":
    result = problems(sys.argv[1])
    print("\n".join(result) or "consistent")
    sys.exit(1 if result else 0)
