#!/usr/bin/env python3
"""Python render against the command line on the bundled example.

    PYTHONPATH=build/python bench/python/render_bench.py build/bin/folio examples [RUNS]

Prints the median wall time of `folio render` (a process per run), of folio.render in
a running interpreter, and of a fresh interpreter that imports folio and renders once.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

import folio

cli, examples = sys.argv[1], sys.argv[2]
runs = int(sys.argv[3]) if len(sys.argv) > 3 else 20
template = os.path.join(examples, "surface-report.htm")
values = os.path.join(examples, "measurements.json")


def median(action):
    times = []
    for i in range(runs):
        start = time.perf_counter()
        action(i)
        times.append(time.perf_counter() - start)
    return statistics.median(times)


with tempfile.TemporaryDirectory() as work:
    def report(kind, i):
        return os.path.join(work, "%s%d.htm" % (kind, i))

    command = median(lambda i: subprocess.run([cli, "render", template, "--values", values, "-o", report("c", i)],
                                              check=True, stdout=subprocess.DEVNULL))
    in_process = median(lambda i: folio.render(template, report("p", i), values=values))
    script = "import folio, sys; folio.render(sys.argv[1], sys.argv[2], values=sys.argv[3])"
    fresh = median(lambda i: subprocess.run([sys.executable, "-c", script, template, report("f", i), values],
                                            check=True))

print("folio render (command line):      %.1f ms" % (command * 1000))
print("folio.render (running interpreter): %.1f ms  (%+.0f%%)" % (in_process * 1000, (in_process / command - 1) * 100))
print("python3 -c 'import folio; render': %.1f ms  (%+.0f%%)" % (fresh * 1000, (fresh / command - 1) * 100))
