#!/usr/bin/env python3
"""Whole-process times of several commands that each fill the same report: runs them in
turn, round after round (so a busy machine disturbs all alike), each run writing a new
output that is removed outside the timing, and prints each command's median wall-clock
and processor (user + system) time with the spread (lowest and highest), then how many
times slower than the first command each other one is.

    compare.py RUNS NAME=COMMAND... (the command's last word is its output file; {n}
    in it is replaced by the run number)
"""
import os
import shlex
import statistics
import subprocess
import sys
import time


def measure(command):
    start = time.perf_counter()
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    if status != 0:
        sys.exit(f"failed ({status}): {' '.join(command)}")
    os.remove(command[-1])
    return wall * 1000, (usage.ru_utime + usage.ru_stime) * 1000


def main(runs, specs):
    commands = {}
    for spec in specs:
        name, command = spec.split("=", 1)
        commands[name] = shlex.split(command)
    samples = {name: [] for name in commands}
    for n in range(-1, runs):  # round -1 warms the page cache and the interpreters' files
        for name, command in commands.items():
            result = measure([word.replace("{n}", str(n + 1)) for word in command])
            if n >= 0:
                samples[name].append(result)
    medians = {}
    for name, values in samples.items():
        walls, cpus = [v[0] for v in values], [v[1] for v in values]
        medians[name] = statistics.median(walls), statistics.median(cpus)
        print(f"  {name:15s} wall {medians[name][0]:8.1f} ms ({min(walls):7.1f} to {max(walls):7.1f})"
              f"   cpu {medians[name][1]:8.1f} ms ({min(cpus):7.1f} to {max(cpus):7.1f})   median of {runs}")
    first = next(iter(medians))
    for name, (wall, cpu) in medians.items():
        if name != first:
            print(f"  {name} / {first}: wall {wall / medians[first][0]:6.1f}x   cpu {cpu / medians[first][1]:6.1f}x")


if __name__ == "__main__":
    main(int(sys.argv[1]), sys.argv[2:])
