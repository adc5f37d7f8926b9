#!/usr/bin/env python3
"""Whole-process time of the engine against python-docx doing the same work on the same
document: runs the two commands alternately (so a busy machine disturbs both alike) and
prints the median wall-clock and processor (user + system) time of each, and the ratios.

Each run writes a new output, removed after the run and outside its timing: replacing
the previous run's output inside the timing would also time the kernel finishing that
file's write-back (it was written a few milliseconds before), which says more about the
loop than about either program. OVERWRITE=1 keeps that case, for comparison.

compare.py RUNS INPUT bench_word_replace SCRIPT
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time


OVERWRITE = os.environ.get("OVERWRITE") == "1"


def measure(command):
    """Wall-clock and processor seconds of one run of command, whose last argument is
    the output it writes."""
    start = time.perf_counter()
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    if status != 0:
        sys.exit(f"failed ({status}): {' '.join(command)}")
    if not OVERWRITE:
        os.remove(command[-1])
    return wall, usage.ru_utime + usage.ru_stime


def main(runs, source, engine, script):
    out = tempfile.mkdtemp(prefix="folio-word-bench-")
    commands = {
        "engine": [engine, source, os.path.join(out, "engine.docx")],
        "python-docx": ["/usr/bin/python3", script, source, os.path.join(out, "python.docx")],
    }
    samples = {name: [] for name in commands}
    for name, command in commands.items():  # warm the page cache and the interpreter's files
        measure(command)
    for _ in range(runs):
        for name, command in commands.items():
            samples[name].append(measure(command))
    medians = {}
    for name, values in samples.items():
        wall = statistics.median(v[0] for v in values) * 1000
        cpu = statistics.median(v[1] for v in values) * 1000
        medians[name] = (wall, cpu)
        print(f"  {name:12s} wall {wall:7.1f} ms   cpu {cpu:7.1f} ms   (median of {runs} runs)")
    engine_wall, engine_cpu = medians["engine"]
    python_wall, python_cpu = medians["python-docx"]
    if OVERWRITE:
        print("  (each run replaced the previous run's output)")
    print(f"  python-docx / engine: wall {python_wall / engine_wall:5.1f}x   cpu {python_cpu / engine_cpu:5.1f}x")
    for name in os.listdir(out):
        os.remove(os.path.join(out, name))
    os.rmdir(out)


if __name__ == "__main__":
    main(int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4])
