#!/usr/bin/env python3
"""Writes the inputs of the render benchmark into a folder:

  flat_<n>.htm, .json, .j2       one page with n placeholders (text, integer, float), as a
                                 Folio template, its values file and the same page for Jinja2
  sectioned.htm                  a preface, a body of 8 placeholders (one a picture) and a summary
  passes_<k>.json                values for k measurements (k body passes)
  surface.png                    the body's picture

make_inputs.py FOLDER [N...]     (pages of 1,000 and 10,000 placeholders by default)
"""
import json
import struct
import sys
import zlib
from pathlib import Path

HEAD = ('<html>\r\n<head>\r\n<meta http-equiv=Content-Type content="text/html; charset=unicode">\r\n'
        '<title>Benchmark</title>\r\n</head>\r\n<body>\r\n')
TAIL = '</body>\r\n</html>\r\n'


def packed(group, field, parameter1="None", unit=0, picture=1):
    lines = ["KORI {", "\tVersion: 2000", f"\tGroup: {group}", f"\tField: {field}", f"\tParameter 1: {parameter1}",
             "\tParameter 2: None", "\tImage statistics: None", "\tBatch statistics: None",
             "\tResolution factor: 2.00000", "\tScale font: 1", f"\tShow Value/Unit: {unit}",
             f"\tPicture aspect option: {picture}", "\tBody section: True"]
    text = "\r\n".join(lines) + "\r\n}"
    return text.replace("\r", "&#13;").replace("\n", "&#10;").replace("\t", "&#9;")


def placeholder(group, field, parameter1="None", **kw):
    return f'<img width=80 height=16 alt="{packed(group, field, parameter1, **kw)}">'


def utf16(path, text):
    path.write_bytes(b"\xff\xfe" + text.encode("utf-16-le"))


def flat(folder, n):
    kinds = ("text", "integer", "float")
    rows, jinja_rows, values = [], [], []
    for i in range(n):
        name = f"P{i:04d}"
        kind = kinds[i % 3]
        rows.append(f"<tr><td>{name}</td><td>{placeholder('Bench', 'Value', name)}</td></tr>\r\n")
        jinja_rows.append(f"<tr><td>{name}</td><td>{{{{ show(values['{name}']) }}}}</td></tr>\r\n")
        entry = {"group": "Bench", "field": "Value", "parameter1": name}
        if kind == "text":
            entry["text"] = f"sample {i} of the batch"
        elif kind == "integer":
            entry.update(integer=i * 7, unit="px")
        else:
            entry.update(float=1.0 + i / 997.0, precision=4, unit="nm")
        values.append(entry)
    table = "<table>\r\n" + "".join(rows) + "</table>\r\n"
    utf16(folder / f"flat_{n}.htm", HEAD + table + TAIL)
    (folder / f"flat_{n}.json").write_text(json.dumps({"values": values}, indent=1))
    (folder / f"flat_{n}.j2").write_text(HEAD + "<table>\r\n" + "".join(jinja_rows) + "</table>\r\n" + TAIL)


def sectioned(folder):
    preface = "<h1>Batch</h1>\r\n<p>" + placeholder("BasicInfo", "date") + "</p>\r\n"
    body = ("<h2>Measurement " + placeholder("BasicInfo", "batchindex", unit=1) + "</h2>\r\n<table>\r\n"
            + "".join(f"<tr><td>{p}</td><td>{placeholder('Roughness', 'RoughnessParameter', p)}</td></tr>\r\n"
                      for p in ("Sa", "Sq", "Sz", "Ssk", "Sku"))
            + "</table>\r\n<p>" + placeholder("BasicInfo", "filename") + "</p>\r\n<p>"
            + placeholder("BasicInfo", "MainImage", picture=0).replace("width=80 height=16", "width=160 height=120")
            + "</p>\r\n")
    summary = "<h2>Summary</h2>\r\n<p>" + placeholder("BasicInfo", "FileCount", unit=1) + " measurements</p>\r\n"
    utf16(folder / "sectioned.htm", HEAD + preface + "<p>" + placeholder("Section", "PrefaceEnd") + "</p>\r\n"
          + body + "<p>" + placeholder("Section", "SummaryBegin") + "</p>\r\n" + summary + TAIL)
    for k in (1, 10, 100, 1000, 10000):
        measurements = [{"values": [{"group": "BasicInfo", "field": "filename", "text": f"scan_{m:04d}.spm"}]
                         + [{"group": "Roughness", "field": "RoughnessParameter", "parameter1": p,
                             "float": 1.0 + (m % 17) / 10 + j, "precision": 4, "unit": "nm"}
                            for j, p in enumerate(("Sa", "Sq", "Sz", "Ssk", "Sku"))]}
                        for m in range(k)]
        values = [{"group": "BasicInfo", "field": "MainImage", "picture": "surface.png"}]
        (folder / f"passes_{k}.json").write_text(json.dumps({"values": values, "measurements": measurements}))
    write_picture(folder / "surface.png")


def write_picture(path, width=160, height=120):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\x00" + b"".join(bytes((x * 255 // width, y * 255 // height, 128)) for x in range(width))
                   for y in range(height))
    path.write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                     + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def main():
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    for n in [int(a) for a in sys.argv[2:]] or [1000, 10000]:
        flat(folder, n)
    sectioned(folder)


if __name__ == "__main__":
    main()
