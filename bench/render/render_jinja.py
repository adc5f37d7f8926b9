#!/usr/bin/env python3
"""The peer of `folio render` in the benchmark: fills flat.j2 with the values of flat.json
through Jinja2, formatting numbers with precision and unit, and writes the page as UTF-16
with a byte-order mark, as Folio writes reports.

render_jinja.py TEMPLATE VALUES OUTPUT
"""
import json
import sys

import jinja2


def show(entry):
    if "text" in entry:
        return entry["text"]
    if "integer" in entry:
        return f"{entry['integer']} {entry.get('unit', '')}"
    digits = max(entry.get("precision", 3) - 1, 0)
    return f"{entry['float']:{digits + 3}.{digits}f} {entry.get('unit', '')}"


def main():
    template_path, values_path, output_path = sys.argv[1:4]
    with open(values_path, encoding="utf-8") as f:
        values = {v["parameter1"]: v for v in json.load(f)["values"]}
    with open(template_path, encoding="utf-8") as f:
        template = jinja2.Environment(autoescape=True).from_string(f.read())
    page = template.render(values=values, show=show)
    with open(output_path, "wb") as f:
        f.write(b"\xff\xfe" + page.encode("utf-16-le"))


if __name__ == "__main__":
    main()
