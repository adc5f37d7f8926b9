#!/usr/bin/env python3
"""Runs the render benchmark in a work folder made by make_inputs.py and prints the figures.

Commands that are compared run alternately (a, b, a, b, ...) so that a busy machine
disturbs them alike. Each run's wall time, processor time (user + system, from the
kernel's accounting of the child) and peak memory (maximum resident set) are taken; the
medians are printed with the spread (lowest and highest).

bench.py FOLIO WORK_FOLDER RUNS
"""
import itertools
import os
import resource
import statistics
import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
PYTHON = "/usr/bin/python3" if os.path.exists("/usr/bin/python3") else sys.executable


class Sample:
    def __init__(self, wall, cpu, rss_kib):
        self.wall, self.cpu, self.rss_kib = wall, cpu, rss_kib


def run_once(command, cwd, prepare=None):
    if prepare:
        prepare()
    start = time.perf_counter()
    child = subprocess.Popen(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    error = child.stderr.read().decode(errors="replace")
    child.stderr.close()
    if child.returncode != 0:
        sys.exit(f"bench: {' '.join(map(str, command))} failed ({child.returncode}): {error}")
    return Sample(wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss)


def measure(commands, cwd, runs, warmup=1):
    """commands: {label: (argv, prepare)}; returns {label: [Sample]} from alternating runs."""
    for _ in range(warmup):
        for argv, prepare in commands.values():
            run_once(argv, cwd, prepare)
    samples = {label: [] for label in commands}
    for _ in range(runs):
        for label, (argv, prepare) in commands.items():
            samples[label].append(run_once(argv, cwd, prepare))
    return samples


def median(values):
    return statistics.median(values)


def spread(values, scale=1000.0, digits=1):
    return f"{median(values) * scale:8.{digits}f} [{min(values) * scale:.{digits}f}-{max(values) * scale:.{digits}f}]"


def describe(samples):
    walls = [s.wall for s in samples]
    cpus = [s.cpu for s in samples]
    rss = [s.rss_kib / 1024 for s in samples]
    return f"wall {spread(walls)} ms   cpu {spread(cpus)} ms   peak {median(rss):6.1f} MiB"


def remover(*paths):
    """Clears the way for the next run by moving what the last run made into a trash
    folder beside it, emptied when the benchmark ends. Deleting here would skew the
    next run: on a file system without a journal, ext4 passes over the inodes freed in
    the last minutes each time it allocates one, so every picture the next run adds
    would first walk past the 10,000 the last run left."""
    def prepare():
        for path in paths:
            if path.exists():
                trash = path.parent / ".trash"
                trash.mkdir(exist_ok=True)
                path.rename(trash / f"{next(_trashed)}-{path.name}")
    return prepare


_trashed = itertools.count()


def memory_bound(template, report):
    """The goal's ceiling on peak memory: three times template plus report, plus 16 MiB."""
    return (3 * (template.stat().st_size + report.stat().st_size)) / (1 << 20) + 16


def pages(folio, work, runs):
    cpu_of = {}
    for n in (1000, 10000):
        print(f"== {n:,} placeholders, one page (whole process, {runs} alternating runs;"
              " median [lowest-highest])")
        flat, values, report = f"flat_{n}.htm", f"flat_{n}.json", work / f"flat_{n}-report.htm"
        commands = {
            "folio render": ([folio, "render", flat, "--values", values, "-o", report.name, "--option", "replace"],
                             None),
            "Jinja2": ([PYTHON, HERE / "render_jinja.py", f"flat_{n}.j2", values, f"flat_{n}-jinja.htm"], None),
            "python3 alone": ([PYTHON, "-c", "pass"], None),
        }
        samples = measure(commands, work, runs)
        for label, found in samples.items():
            print(f"  {label:15s} {describe(found)}")
        folio_s, jinja_s = samples["folio render"], samples["Jinja2"]
        wall_ratio = median([s.wall for s in jinja_s]) / median([s.wall for s in folio_s])
        cpu_ratio = median([s.cpu for s in jinja_s]) / median([s.cpu for s in folio_s])
        print(f"  Jinja2 / folio: wall {wall_ratio:.1f}x, cpu {cpu_ratio:.1f}x")
        bound = memory_bound(work / flat, report)
        print(f"  folio peak memory {median([s.rss_kib for s in folio_s]) / 1024:.1f} MiB"
              f" (ceiling 3 x (template + report) + 16 MiB = {bound:.1f} MiB)")
        cpu_of[n] = (median([s.cpu for s in folio_s]), median([s.wall for s in folio_s]))
    print(f"  10,000 / 1,000 placeholders: cpu {cpu_of[10000][0] / cpu_of[1000][0]:.2f}x,"
          f" wall {cpu_of[10000][1] / cpu_of[1000][1]:.2f}x")


def passes(folio, work, runs):
    print("== body passes into one report (8 placeholders and one picture per body)")
    print("  passes  whole process: wall, cpu (median [lowest-highest]), peak   per pass: cpu, and beyond one pass")
    report, pictures = work / "passes-report.htm", work / "passes-report_files"
    per_pass = {}
    base = None
    for k in (1, 10, 100, 1000, 10000):
        n = runs if k <= 100 else max(3, runs // 3) if k == 1000 else 3
        command = [folio, "render", "sectioned.htm", "--values", f"passes_{k}.json", "-o", report.name,
                   "--option", "replace"]
        found = measure({"folio": (command, remover(report, pictures))}, work, n, warmup=0)["folio"]
        cpu = median([s.cpu for s in found])
        if base is None:
            base = cpu
        beyond = (cpu - base) / (k - 1) * 1000 if k > 1 else float("nan")
        per_pass[k] = (cpu / k * 1000, beyond)
        bound = memory_bound(work / "sectioned.htm", report)
        print(f"  {k:6d}  {describe(found)} (ceiling {bound:.0f})   {cpu / k * 1000:7.3f} ms, {beyond:7.3f} ms")
    size = report.stat().st_size
    print(f"  report after 10,000 passes: {size / (1 << 20):.1f} MiB, {len(list(pictures.iterdir()))} pictures")
    print(f"  cpu per pass, 10,000 / 100 passes: {per_pass[10000][0] / per_pass[100][0]:.2f}x whole process,"
          f" {per_pass[10000][1] / per_pass[100][1]:.2f}x beyond the first pass")


def main():
    folio, work, runs = Path(sys.argv[1]), Path(sys.argv[2]), int(sys.argv[3])
    pages(folio, work, runs)
    passes(folio, work, runs)


if __name__ == "__main__":
    main()
