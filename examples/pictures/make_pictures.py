#!/usr/bin/env python3
"""Writes the synthetic surface pictures of the examples (run once; the PNGs are committed).

Each measurement gets a topography (height map in false colour), a relief view (the same
heights shaded by a low light) and a height profile along the middle row; one height
histogram serves all three. Only the standard library is used.
"""
import math
import random
import struct
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent


def write_png(path, width, height, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + bytes(row) for row in rows)
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    path.write_bytes(png)


def surface(seed, width, height):
    """Heights in 0..1: a few rounded grains on a gently waving ground."""
    rng = random.Random(seed)
    grains = [(rng.uniform(0, width), rng.uniform(0, height), rng.uniform(6, 18), rng.uniform(0.3, 1.0))
              for _ in range(14)]
    kx, ky = rng.uniform(0.02, 0.06), rng.uniform(0.02, 0.06)
    z = [[0.0] * width for _ in range(height)]
    for y in range(height):
        for x in range(width):
            h = 0.25 * math.sin(kx * x) * math.cos(ky * y)
            for gx, gy, r, a in grains:
                d2 = ((x - gx) ** 2 + (y - gy) ** 2) / (r * r)
                if d2 < 4:
                    h += a * math.exp(-d2)
            z[y][x] = h
    lo = min(map(min, z))
    hi = max(map(max, z))
    return [[(v - lo) / (hi - lo) for v in row] for row in z]


def false_colour(v):
    """Dark brown through orange to pale yellow, as height maps are often shown."""
    r = min(255, int(60 + 260 * v))
    g = min(255, int(20 + 230 * v * v))
    b = min(255, int(10 + 200 * v ** 4))
    return r, g, b


def topography(z):
    return [[c for v in row for c in false_colour(v)] for row in z]


def relief(z):
    rows = []
    for y in range(len(z)):
        row = []
        for x in range(len(z[0])):
            dx = z[y][min(x + 1, len(z[0]) - 1)] - z[y][max(x - 1, 0)]
            dy = z[min(y + 1, len(z) - 1)][x] - z[max(y - 1, 0)][x]
            shade = max(0.0, min(1.0, 0.6 - 4.0 * dx - 3.0 * dy))
            grey = int(40 + 200 * shade)
            row += [grey, grey, min(255, grey + 25)]
        rows.append(row)
    return rows


def plot(values, width, height, colour):
    rows = [[255, 255, 255] * width for _ in range(height)]
    top, bottom = 4, height - 5
    for x in range(width):
        v = values[x * len(values) // width]
        y = int(bottom - v * (bottom - top))
        for yy in range(y, bottom + 1):
            rows[yy][3 * x:3 * x + 3] = colour if yy == y else [225, 232, 240]
    for x in range(width):
        rows[bottom + 1][3 * x:3 * x + 3] = [90, 90, 90]
    return rows


def histogram(z, width, height):
    bins = [0] * 32
    for row in z:
        for v in row:
            bins[min(31, int(v * 32))] += 1
    peak = max(bins)
    rows = [[255, 255, 255] * width for _ in range(height)]
    for x in range(width):
        level = bins[x * 32 // width] / peak
        for y in range(height - 1 - int(level * (height - 6)), height):
            rows[y][3 * x:3 * x + 3] = [70, 110, 170]
    return rows


def main():
    w, h = 160, 120
    for n in (1, 2, 3):
        z = surface(n, w, h)
        write_png(HERE / f"topography_{n}.png", w, h, topography(z))
        write_png(HERE / f"relief_{n}.png", w, h, relief(z))
        write_png(HERE / f"profile_{n}.png", 240, 80, plot(z[h // 2], 240, 80, [150, 40, 20]))
        if n == 1:
            write_png(HERE / "histogram.png", 160, 100, histogram(z, 160, 100))
    logo = [[c for x in range(48) for c in false_colour(0.5 + 0.5 * math.sin((x + y) / 7))] for y in range(48)]
    companion = HERE.parent / "surface-report_files"
    write_png(companion / "logo.png", 48, 48, logo)
    # What the template shows where a placeholder stands, before a report is made.
    box = [[200, 200, 200] * 16 if y in (0, 15) else [200, 200, 200] + [238, 238, 238] * 14 + [200, 200, 200]
           for y in range(16)]
    write_png(companion / "placeholder.png", 16, 16, box)


if __name__ == "__main__":
    main()
