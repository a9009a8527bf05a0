#!/usr/bin/env python3
"""Runs every benchmark several times and prints one table of medians with floors and ratios.

    bench/run.py [--build DIR] [--runs N] [--markdown]

DIR is the build folder (default: build/ beside this folder); build it first with
tools/build.sh. Each benchmark program prints "name<TAB>milliseconds" lines; start-up times and
peak memory are measured here around whole processes.
"""
import argparse
import os
import re
import resource
import statistics
import subprocess
import sys
import tempfile
import time

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ROWS_LARGE = 3847  # extra rows per code list: 13 table rows each, about 50,000 rows in all


def env():
    e = dict(os.environ)
    e["QT_QPA_PLATFORM"] = "offscreen"
    e["PARMEX_KONEC_PO_STARTU"] = "1"
    e.setdefault("LC_ALL", "C.UTF-8")
    return e


def run(cmd, cwd=None):
    p = subprocess.run(cmd, cwd=cwd, env=env(), capture_output=True, text=True)
    if p.returncode != 0:
        sys.exit("failed (%d): %s\n%s%s" % (p.returncode, " ".join(cmd), p.stdout, p.stderr))
    return p


def cpu_children_ms():
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return (r.ru_utime + r.ru_stime) * 1000.0


def timed(cmd, cwd=None):
    """Wall-clock and processor milliseconds of one whole process."""
    cpu = cpu_children_ms()
    start = time.perf_counter()
    run(cmd, cwd)
    return ((time.perf_counter() - start) * 1000.0, cpu_children_ms() - cpu)


def figures(cmd):
    """The name<TAB>wall ms<TAB>processor ms lines a benchmark program prints."""
    out = {}
    for line in run(cmd).stdout.splitlines():
        parts = line.split("\t")
        if len(parts) == 3:
            out[parts[0]] = (float(parts[1]), float(parts[2]))
    return out


def peak_kb(cmd, cwd=None):
    p = run(["/usr/bin/time", "-v"] + cmd, cwd)
    m = re.search(r"Maximum resident set size \(kbytes\): (\d+)", p.stderr)
    return int(m.group(1))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default=os.path.join(TOP, "build"))
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--markdown", action="store_true")
    a = ap.parse_args()
    b = a.build
    program = os.path.join(b, "app", "ParmexRozu")
    empty = os.path.join(b, "bench", "bench_prazdne_okno")
    bench = lambda name: os.path.join(b, "bench", name)

    samples = {}

    def add(name, value):
        samples.setdefault(name, []).append(value)

    for i in range(a.runs):
        print("run %d of %d ..." % (i + 1, a.runs), file=sys.stderr)
        with tempfile.TemporaryDirectory() as folder:
            add("start-up: first start (template, upgrade)", timed([program], folder))
            add("start-up: later start", timed([program], folder))
        add("start-up floor: empty Qt window", timed([empty]))
        for name, ms in figures([bench("bench_import")]).items():
            add(name, ms)
        for name, ms in figures([bench("bench_import"), str(ROWS_LARGE)]).items():
            add(name, ms)
        for name, ms in figures([bench("bench_historie"), "grid"]).items():
            add(name, ms)
        for name, ms in figures([bench("bench_historie"), "ulozeni"]).items():
            add(name, ms)
        for name, ms in figures([bench("bench_grid")]).items():
            add(name, ms)
        mb = lambda kb: (kb / 1024.0, None)
        add("peak memory: history grid open (MB)", mb(peak_kb([bench("bench_historie"), "pamet"])))
        with tempfile.TemporaryDirectory() as folder:
            add("peak memory floor: program start-up (MB)", mb(peak_kb([program], folder)))
        add("peak memory floor: empty Qt window (MB)", mb(peak_kb([empty])))

    med = {k: statistics.median(x[0] for x in v) for k, v in samples.items()}
    cpu = {k: statistics.median(x[1] for x in v) if v[0][1] is not None else None
           for k, v in samples.items()}
    floors = {
        "start-up: first start (template, upgrade)": "start-up floor: empty Qt window",
        "start-up: later start": "start-up floor: empty Qt window",
        "import sample": "import sample floor",
        "import large": "import large floor",
        "peak memory: history grid open (MB)": "peak memory floor: program start-up (MB)",
    }
    fmt = lambda x: "" if x is None else "%.1f" % x
    ratio = lambda x, y: "" if x is None or not y else "%.1f" % (x / y)
    rows = []
    for name, value in med.items():
        if name in floors.values() and "empty Qt window (MB)" not in name:
            continue
        f = floors.get(name)
        rows.append((name, fmt(value), fmt(med[f]) if f else "", ratio(value, med.get(f)),
                     fmt(cpu[name]), fmt(cpu[f]) if f else "", ratio(cpu[name], cpu.get(f))))

    header = ("measurement (median of %d runs; ms unless MB)" % a.runs, "wall", "floor",
              "ratio", "cpu", "cpu floor", "cpu ratio")
    if a.markdown:
        print("| %s |" % " | ".join(header))
        print("|---|" + "---:|" * 6)
        for r in rows:
            print("| %s |" % " | ".join(r))
    else:
        w = max(len(r[0]) for r in rows + [header])
        for r in [header] + rows:
            print("%-*s  %9s %9s %6s  %9s %9s %9s" % ((w,) + tuple(r)))


if __name__ == "__main__":
    main()
