#!/usr/bin/python3
"""Builds the Debian package with cpack from the build folder, unpacks it with
dpkg-deb -x into a scratch folder and checks what a user would install: the
declared run-time dependencies, the layout below /usr, and that the program
started from there finds its support files (it copies the workbook templates
from its own SetupDat/ into the data root at start) with the help beside it.

    check_package.py CPACK BUILD_DIR"""

import glob
import os
import re
import subprocess
import sys
import tempfile
import time

LIB = "usr/lib/kasovka"
PROGRAMS = ["kasovka", "kasovka-hostdata", "kasovka-report", "kasovka-xls"]
TEMPLATES = ["_PenDenReportWithFinalSummary.xl", "_PenDenReportWithoutFinalSummary.xl", "_GroupTables.xl"]
FILES = [LIB + "/" + p for p in PROGRAMS] + [
    LIB + "/Install.ini", LIB + "/SetupDat/setup.ini", LIB + "/help/pgMain.htm", LIB + "/help/help.css",
    LIB + "/help/pgPrint.htm",
    LIB + "/help/pgMonthly.htm",
    LIB + "/help/pgExport.htm",
    "usr/share/applications/kasovka.desktop", "usr/share/icons/hicolor/scalable/apps/kasovka.svg",
] + [LIB + "/SetupDat/PrintFrm/" + t for t in TEMPLATES]
DEPENDS = ["libqt6widgets6", "libqt6gui6", "libqt6core6", "libsqlite3-0", "qt6-qpa-plugins",
           "qt6-translations-l10n"]


def build_package(cpack, build, out):
    run = subprocess.run([cpack, "--config", os.path.join(build, "CPackConfig.cmake"), "-G", "DEB", "-B", out],
                         capture_output=True, text=True, timeout=900)
    debs = glob.glob(os.path.join(out, "*.deb"))
    if run.returncode != 0 or len(debs) != 1:
        sys.exit("cpack failed:\n" + run.stdout + run.stderr)
    return debs[0]


def layout_problems(deb, root):
    problems = []
    depends = subprocess.run(["dpkg-deb", "-f", deb, "Depends"], capture_output=True, text=True).stdout
    names = {re.split(r"[ (]", d.strip())[0] for d in depends.split(",")}
    problems += ["not declared: " + d for d in DEPENDS if d not in names]
    problems += ["missing: /" + f for f in FILES if not os.path.isfile(os.path.join(root, f))]
    for program in PROGRAMS:
        link = os.path.join(root, "usr/bin", program)
        if os.path.realpath(link) != os.path.realpath(os.path.join(root, LIB, program)):
            problems.append("/usr/bin/%s does not lead to /%s/%s" % (program, LIB, program))
    desktop = os.path.join(root, "usr/share/applications/kasovka.desktop")
    if os.path.isfile(desktop):
        entry = open(desktop, encoding="utf-8").read()
        for line in ("Exec=/%s/kasovka" % LIB, "Icon=kasovka"):
            if line not in entry.splitlines():
                problems.append("desktop entry lacks " + line)
    return problems


def start_problems(root, scratch):
    """Starts the unpacked program on a demo agenda and waits for the
    templates it copies from its own folder at start-up."""
    data = os.path.join(scratch, "data")
    demo = subprocess.run([os.path.join(root, "usr/bin/kasovka-hostdata"), "demo", data],
                          capture_output=True, text=True, timeout=120)
    # Blank-separated groups, joined again by the program as the host's are.
    arguments = demo.stdout.split()
    if demo.returncode != 0 or not arguments:
        return ["kasovka-hostdata demo failed: " + demo.stdout + demo.stderr]
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", LANG="cs_CZ.UTF-8", HOME=scratch, TMPDIR=scratch)
    program = subprocess.Popen([os.path.join(root, "usr/bin/kasovka")] + arguments, env=env,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    copied = [False] * len(TEMPLATES)
    try:
        deadline = time.time() + 60
        while time.time() < deadline and program.poll() is None:
            copied = [os.path.isfile(os.path.join(data, "Doplnky", "Kasovka", "PrintFrm", t)) for t in TEMPLATES]
            if all(copied):
                break
            time.sleep(0.2)
        exited = program.poll()
    finally:
        program.kill()
        output = program.communicate()[0].decode(errors="replace")
    if exited is not None:
        return ["the program ended at start (%d): %s" % (exited, output)]
    return ["template not copied at start: " + t for t, found in zip(TEMPLATES, copied) if not found]


def main():
    cpack, build = sys.argv[1:3]
    with tempfile.TemporaryDirectory() as scratch:
        deb = build_package(cpack, build, os.path.join(scratch, "pkg"))
        root = os.path.join(scratch, "root")
        subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
        problems = layout_problems(deb, root)
        if not problems:
            problems = start_problems(root, scratch)
    for p in problems:
        print(p)
    print("%s: %d problem(s)" % (os.path.basename(deb), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
