#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Measures the program's start-up, memory, grids and code-list import, each beside its floor in
the same run, and prints one table of medians with the ratios.

    bench/run.py [--build DIR] [--runs N] [--markdown]

DIR is the build folder (default: build/ beside this folder); build it first with
tools/build.sh (RelWithDebInfo). Each of the N runs (default 5) measures every figure once, the
figure and its floor one right after the other, so that a machine whose speed drifts affects both
alike; the table gives the medians over the runs and, for a floor, the median of the ratios taken
run by run.

Whole processes are timed here: wall-clock time from start to end, processor time and peak
resident memory as the system accounts them for the process and the children it waited for
(wait4). The benchmark programs time their steps themselves and print "name<TAB>wall
ms<TAB>processor ms" lines.

The start-ups run the real program against an organisation web server on 127.0.0.1 that this
script serves: verze.ini announcing this build's version and code-list version 1, and
ciselniky.zip with the sample code lists. A first start in an empty folder therefore writes the
database, has the updater fetch the code lists and imports them; a later start in the same folder
finds everything current after one GET of verze.ini. The floor of a later start is an empty Qt
window that makes the same GET (bench_prazdne_okno URL).
"""
import argparse
import http.server
import os
import re
import shutil
import sqlite3
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import zipfile

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ROWS_LARGE = 3847  # extra rows per code list: 13 table rows each, about 50,000 rows in all


def version_of_sources():
    with open(os.path.join(TOP, "CMakeLists.txt"), encoding="utf-8") as f:
        return re.search(r"project\(ParmexRozu VERSION ([0-9.]+)", f.read()).group(1)


def organisation(build):
    with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8") as f:
        m = re.search(r"^PARMEX_ORGANIZACE:STRING=(.*)$", f.read(), re.M)
    return m.group(1) if m else "Varnov"


class Server:
    """The organisation's web server on 127.0.0.1, serving a folder, in a thread of this script."""

    def __init__(self, folder):
        handler = lambda *a, **k: Quiet(*a, directory=folder, **k)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()
        self.address = "http://127.0.0.1:%d" % self.httpd.server_address[1]

    def stop(self):
        self.httpd.shutdown()


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def prepare_server(build, folder):
    path = "banking/parmexhome" if organisation(build) == "Kelmina" else "parmex"
    target = os.path.join(folder, path)
    os.makedirs(target)
    lists = os.path.join(folder, "dataCis.mdb")
    run([os.path.join(build, "tools", "VzorovaData"), "-o", lists, "--rok", "2027"])
    with zipfile.ZipFile(os.path.join(target, "ciselniky.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        z.write(lists, "dataCis.mdb")
    lines = ["[parmex-rozu]", "verzeprog=" + version_of_sources(), "datumprog=09.12.2026",
             "souborprog=parmexrozu.zip", "datumcis=01.12.2026", "souborcis=ciselniky.zip",
             "verzecis=1"]
    with open(os.path.join(target, "verze.ini"), "w", newline="") as f:
        f.write("\r\n".join(lines) + "\r\n")
    return "/" + path + "/verze.ini"


def environment(server=None):
    e = dict(os.environ)
    e["QT_QPA_PLATFORM"] = "offscreen"
    e["PARMEX_KONEC_PO_STARTU"] = "1"
    # The formats of the program's users.
    e.pop("LC_ALL", None)
    e["LANG"] = "cs_CZ.UTF-8"
    if server:
        e["PARMEX_ADRESA_SERVERU"] = server
    return e


class Process:
    def __init__(self, wall, cpu, peak_kb, out):
        self.wall, self.cpu, self.peak_kb, self.out = wall, cpu, peak_kb, out


def run(cmd, cwd=None, env=None):
    """One whole process: wall and processor milliseconds, peak resident KiB and its output."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        start = time.perf_counter()
        p = subprocess.Popen(cmd, cwd=cwd, env=env or environment(), stdout=out, stderr=err)
        _, status, usage = os.wait4(p.pid, 0)
        wall = (time.perf_counter() - start) * 1000.0
        p.returncode = os.waitstatus_to_exitcode(status)
        out.seek(0)
        err.seek(0)
        text, errors = out.read().decode(errors="replace"), err.read().decode(errors="replace")
    if p.returncode != 0:
        sys.exit("failed (%d): %s\n%s%s" % (p.returncode, " ".join(cmd), text, errors))
    cpu = (usage.ru_utime + usage.ru_stime) * 1000.0
    return Process(wall, cpu, usage.ru_maxrss, text)


def figures(process):
    """The name<TAB>wall ms<TAB>processor ms lines a benchmark program prints."""
    out = {}
    for line in process.out.splitlines():
        parts = line.split("\t")
        if len(parts) == 3:
            out[parts[0]] = (float(parts[1]), float(parts[2]))
    return out


def check_program_folder(folder, first):
    log = os.path.join(folder, "Error.log")
    if os.path.exists(log):
        with open(log, "rb") as f:
            sys.exit("the program wrote Error.log:\n" + f.read().decode("cp1250", "replace"))
    db = sqlite3.connect(os.path.join(folder, "data.mdb"))
    stored = db.execute("select verzecis from Nastaveni").fetchone()
    db.close()
    if stored is None or int(stored[0]) != 1:
        sys.exit("the %s start did not import the code lists" % ("first" if first else "later"))
    for left in ("dataCis.mdb", "Obnovnik", "tmp"):
        if os.path.exists(os.path.join(folder, left)):
            sys.exit("the program left %s behind" % left)


# The rows of the table: name, unit, goal.
ROWS = [
    ("later start to usable (main window shown, update check done)", "ms", "ratio <= 1.25"),
    ("peak memory of a later start", "MiB", "ratio <= 1.5"),
    ("first start in an empty folder to usable (template, upgrade, updater, import)", "ms",
     "<= 650 ms"),
    ("history of 100,000 payments: open the window", "ms cpu", "<= 200 ms"),
    ("same: first search keystroke (filter, count, paint)", "ms cpu",
     "<= 25 ms and ratio <= 3"),
    ("same: next search keystroke (one more letter)", "ms cpu", "<= 25 ms and ratio <= 3"),
    ("same: reload keeping the row", "ms cpu", "<= 200 ms"),
    ("member grid, 100,000 rows: first search keystroke", "ms cpu", "<= 60 ms"),
    ("code-list import, about 50,000 rows", "ms cpu", "ratio <= 2"),
    ("peak memory with the 100,000-row history open", "MiB", "<= 70 MiB"),
    ("same history: one title sort", "ms cpu", ""),
    ("save one payment (5 items, 3 linked) into that history", "ms cpu", ""),
    ("same history: the register's check at the first activation", "ms", "<= 200 ms"),
]
FLOORS = {
    ROWS[0][0]: "empty Qt window + one GET of verze.ini",
    ROWS[1][0]: "the same empty window + GET",
    ROWS[4][0]: "plain scan of the same rows' shown texts",
    ROWS[5][0]: "plain scan of the same rows' shown texts",
    ROWS[8][0]: "sqlite3 shell copying the same rows in one transaction",
}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default=os.path.join(TOP, "build"))
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--markdown", action="store_true")
    a = ap.parse_args()
    b = os.path.abspath(a.build)
    bench = lambda name: os.path.join(b, "bench", name)

    work = tempfile.mkdtemp(prefix="parmex-bench-")
    try:
        served = os.path.join(work, "server")
        announcement = prepare_server(b, served)
        server = Server(served)
        url = server.address + announcement
        # The program file once; every start folder gets a hard link to it (or a copy).
        program = os.path.join(work, "ParmexRozu")
        shutil.copy2(os.path.join(b, "app", "ParmexRozu"), program)

        values = {name: [] for name, _, _ in ROWS}  # (value, floor or None)

        def add(name, value, floor=None):
            values[name].append((value, floor))

        for i in range(a.runs):
            print("run %d of %d ..." % (i + 1, a.runs), file=sys.stderr)
            folder = os.path.join(work, "start%d" % i)
            os.mkdir(folder)
            try:
                os.link(program, os.path.join(folder, "ParmexRozu"))
            except OSError:
                shutil.copy2(program, os.path.join(folder, "ParmexRozu"))
            first = run([os.path.join(folder, "ParmexRozu")], env=environment(server.address))
            check_program_folder(folder, True)
            add(ROWS[2][0], first.wall)
            later = run([os.path.join(folder, "ParmexRozu")], env=environment(server.address))
            check_program_folder(folder, False)
            floor = run([bench("bench_prazdne_okno"), url])
            add(ROWS[0][0], (later.wall, later.cpu), (floor.wall, floor.cpu))
            add(ROWS[1][0], later.peak_kb / 1024.0, floor.peak_kb / 1024.0)

            f = figures(run([bench("bench_historie"), "grid"]))
            cpu = lambda name: f[name][1]
            add(ROWS[3][0], cpu("history grid: open"))
            add(ROWS[4][0], cpu("history grid: first search keystroke"),
                cpu("history grid: plain scan, first keystroke"))
            add(ROWS[5][0], cpu("history grid: search keystroke"),
                cpu("history grid: plain scan, keystroke"))
            add(ROWS[6][0], cpu("history grid: reload keeping the row"))
            add(ROWS[10][0], cpu("history grid: sort"))
            add(ROWS[12][0], f["register check"][0])
            f = figures(run([bench("bench_historie"), "ulozeni"]))
            add(ROWS[11][0], f["save one payment (5 items, 3 linked)"][1])

            f = figures(run([bench("bench_grid")]))
            add(ROWS[7][0], f["member grid: search 'x' (first, fills cache)"][1])

            f = figures(run([bench("bench_import"), str(ROWS_LARGE)]))
            add(ROWS[8][0], f["import large"][1], f["import large floor"][1])

            history = os.path.join(work, "history%d" % i)
            os.mkdir(history)
            run([bench("bench_historie"), "priprav", history])
            add(ROWS[9][0], run([bench("bench_historie"), "pamet", history]).peak_kb / 1024.0)
            shutil.rmtree(history)
            shutil.rmtree(folder)
        server.stop()
    finally:
        shutil.rmtree(work, ignore_errors=True)

    def one(x, k):
        return x[k] if isinstance(x, tuple) else x

    def med(samples, k):
        return statistics.median(one(s, k) for s in samples)

    fmt = lambda x: "%.1f" % x
    rows = []
    for name, unit, goal in ROWS:
        samples = values[name]
        if not samples:
            continue
        has_floor = samples[0][1] is not None
        if isinstance(samples[0][0], tuple):  # wall and cpu
            value = "%s (cpu %s)" % (fmt(med([s[0] for s in samples], 0)),
                                     fmt(med([s[0] for s in samples], 1)))
            floor = "%s (cpu %s)" % (fmt(med([s[1] for s in samples], 0)),
                                     fmt(med([s[1] for s in samples], 1))) if has_floor else ""
            ratio = "%.2f (cpu %.2f)" % (
                statistics.median(s[0][0] / s[1][0] for s in samples),
                statistics.median(s[0][1] / s[1][1] for s in samples)) if has_floor else ""
        else:
            value = fmt(statistics.median(s[0] for s in samples))
            floor = fmt(statistics.median(s[1] for s in samples)) if has_floor else ""
            ratio = "%.2f" % statistics.median(s[0] / s[1] for s in samples) if has_floor else ""
        floor_name = FLOORS.get(name, "")
        rows.append((name, unit, value, (floor_name + ": " + floor) if floor else "", ratio, goal))

    header = ("measurement (median of %d runs)" % a.runs, "unit", "now", "floor", "ratio", "goal")
    if a.markdown:
        print("| %s |" % " | ".join(header))
        print("|---|---|---:|---|---:|---|")
        for r in rows:
            print("| %s |" % " | ".join(r))
    else:
        widths = [max(len(r[i]) for r in rows + [header]) for i in range(len(header))]
        for r in [header] + rows:
            print("  ".join(c.ljust(w) for c, w in zip(r, widths)).rstrip())


if __name__ == "__main__":
    main()
