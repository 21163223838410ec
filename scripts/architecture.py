#!/usr/bin/python3
"""The libraries, their dependencies and the rooms, read from the build files.

    scripts/architecture.py          prints the libraries table and the rooms
    scripts/architecture.py --write  rewrites them in docs/architecture.md
    scripts/architecture.py --check  fails when an include reaches a library
                                     its own does not depend on, or when
                                     docs/architecture.md is out of date

A folder's CMakeLists.txt declares its targets with the helpers of
cmake/Kasovka.cmake; its leading comment says what the folder holds. A room
is a top-level folder of src/ (with its subfolders) or tools/.
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DOC = os.path.join(ROOT, "docs", "architecture.md")
EXTERNAL = {"PkgConfig::XLSXWRITER": "libxlsxwriter", "SQLite::SQLite3": "SQLite3"}
CALL = re.compile(r"\b(kasovka_library|kasovka_executable)\s*\(([^)]*)\)", re.S)


def folders():
    for top in ("src", "tools"):
        for path, dirs, files in sorted(os.walk(os.path.join(ROOT, top))):
            dirs.sort()
            if "CMakeLists.txt" in files:
                yield os.path.relpath(path, ROOT).replace(os.sep, "/")


def parse(folder):
    """(targets, holds): targets as {name: (kind, sources, deps)}."""
    with open(os.path.join(ROOT, folder, "CMakeLists.txt"), encoding="utf-8") as f:
        lines = f.read().splitlines()
    holds = []
    for line in lines:
        if not line.startswith("#"):
            break
        holds.append(line.lstrip("# ").rstrip())
    text = "\n".join(line.split("#", 1)[0] for line in lines)
    targets = {}
    for kind, body in CALL.findall(text):
        words = body.split()
        lists, key = {"SOURCES": [], "DEPS": []}, None
        for word in words[1:]:
            if word in lists:
                key = word
            elif key:
                lists[key].append(word)
        targets[words[0]] = (kind, lists["SOURCES"], lists["DEPS"])
    return targets, " ".join(holds)


def model():
    libraries = {}  # name -> (folder, kind, sources, deps)
    holds = {}
    for folder in folders():
        targets, text = parse(folder)
        if targets:
            holds[folder] = text
        for name, (kind, sources, deps) in targets.items():
            libraries[name] = (folder, kind, sources, deps)
    return libraries, holds


def closure(libraries, name, seen=None):
    seen = set() if seen is None else seen
    for dep in libraries.get(name, (None, None, [], []))[3]:
        if dep in libraries and dep not in seen:
            seen.add(dep)
            closure(libraries, dep, seen)
    return seen


def room(folder):
    parts = folder.split("/")
    return parts[1] if parts[0] == "src" else parts[0]


def owner(libraries, path):
    """The target a source file of src/ or tools/ belongs to."""
    folder = os.path.dirname(path)
    while folder:
        candidates = [n for n, (f, *_rest) in libraries.items() if f == folder]
        if candidates:
            base = os.path.basename(path)
            for name in candidates:
                if any(os.path.basename(s) == base for s in libraries[name][2]):
                    return name
            return sorted(candidates, key=lambda n: libraries[n][1] != "kasovka_library")[0]
        folder = os.path.dirname(folder)
    return None


def include_violations(libraries):
    found = []
    for top in ("src", "tools"):
        for path, _dirs, files in os.walk(os.path.join(ROOT, top)):
            for file in sorted(files):
                if not file.endswith((".h", ".cpp")):
                    continue
                source = os.path.relpath(os.path.join(path, file), ROOT).replace(os.sep, "/")
                includer = owner(libraries, source)
                allowed = closure(libraries, includer) | {includer}
                with open(os.path.join(ROOT, source), encoding="utf-8") as f:
                    for header in re.findall(r'^#include "([^"]+)"', f.read(), re.M):
                        for base in ("src", "tools"):
                            if os.path.exists(os.path.join(ROOT, base, header)):
                                target = owner(libraries, base + "/" + header)
                                if target not in allowed:
                                    found.append("%s includes %s: %s does not depend on %s"
                                                 % (source, header, includer, target))
                                break
    return found


def table(libraries, holds, order):
    rows = ["| Folder | Targets | Depends on | Holds |", "|---|---|---|---|"]
    for folder, text in sorted(holds.items(), key=lambda item: (order.index(room(item[0])), item[0])):
        names = [n for n, v in libraries.items() if v[0] == folder]
        deps = []
        for name in names:
            for dep in libraries[name][3]:
                dep = EXTERNAL.get(dep, dep)
                if dep not in names and dep not in deps:
                    deps.append(dep)
        shown = ["executable `%s`" % n if libraries[n][1] == "kasovka_executable" else n for n in names]
        rows.append("| %s | %s | %s | %s |" % (folder, ", ".join(shown), ", ".join(deps), text))
    return "\n".join(rows)


def rooms(libraries):
    """The rooms bottom up and the edges of the mermaid picture."""
    edges = {}
    for name, (folder, _kind, _sources, deps) in libraries.items():
        for dep in deps:
            if dep in libraries and room(libraries[dep][0]) != room(folder):
                edges.setdefault(room(folder), set()).add(room(libraries[dep][0]))
    names = sorted({room(v[0]) for v in libraries.values()})

    def below(r, seen):
        for d in edges.get(r, ()):
            if d not in seen:
                seen.add(d)
                below(d, seen)
        return seen

    reach = {r: below(r, set()) for r in names}
    # A room that reaches itself sits in a cycle; it is put where its size says.
    order = sorted(names, key=lambda r: (len(reach[r]), r))
    lines = ["flowchart BT"]
    for r in order:
        for d in sorted(edges.get(r, ())):
            # Only the edges that no longer path implies, so the picture stays readable.
            if not any(d in reach[m] for m in edges[r] if m != d):
                lines.append("    %s --> %s" % (r, d))
    return order, "\n".join(lines), [r for r in order if r in reach[r]]


def generated(libraries, holds):
    order, picture, _cycles = rooms(libraries)
    return ("<!-- generated by scripts/architecture.py -->\n"
            + table(libraries, holds, order)
            + "\n\nRooms, each using only the rooms below it (an arrow points to a room used):\n"
            + "%s.\n\n```mermaid\n%s\n```\n" % (" < ".join(order), picture)
            + "<!-- /generated -->")


def main():
    libraries, holds = model()
    text = generated(libraries, holds)
    with open(DOC, encoding="utf-8") as f:
        doc = f.read()
    updated = re.sub(r"<!-- generated by scripts/architecture.py -->.*?<!-- /generated -->",
                     lambda _m: text, doc, flags=re.S)
    if "--write" in sys.argv:
        with open(DOC, "w", encoding="utf-8") as f:
            f.write(updated)
    elif "--check" in sys.argv:
        problems = include_violations(libraries)
        problems += ["room %s uses a room that uses it" % r for r in rooms(libraries)[2]]
        if updated != doc:
            problems.append("docs/architecture.md is out of date: run scripts/architecture.py --write")
        for problem in problems:
            print(problem)
        return 1 if problems else 0
    else:
        print(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
