#!/usr/bin/env python3
"""Prints one line from a hyperfine JSON export: wall-clock mean with its deviation, and the
processor time (user + system), which a busy machine disturbs less.

summarize.py mean FILE         "<wall> ms ± <deviation>   cpu <user+system> ms"
summarize.py passes FILE K     the same, then the wall and processor time per pass
"""
import json
import sys

result = json.load(open(sys.argv[2]))["results"][0]
wall = result["mean"] * 1000
deviation = (result.get("stddev") or 0) * 1000
cpu = (result["user"] + result["system"]) * 1000
line = f"{wall:9.1f} ms ± {deviation:6.1f}   cpu {cpu:8.1f} ms"
if sys.argv[1] == "mean":
    print(line)
else:
    k = int(sys.argv[3])
    print(f"  {k:6d}  {line}   per pass {wall / k:7.2f} ms, cpu {cpu / k:6.2f} ms")
