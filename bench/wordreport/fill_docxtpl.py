#!/usr/bin/python3
"""python-docx-template fills the benchmark template: fill_docxtpl.py TEMPLATE VALUES OUTPUT"""
import json
import sys
from pathlib import Path

from docx.shared import Pt
from docxtpl import DocxTemplate, InlineImage


def main(template, values_path, output):
    values = json.loads(Path(values_path).read_text())
    folder = Path(values_path).parent
    document = DocxTemplate(template)
    width, height = values["picture_px"]
    context = dict(values["values"])
    for name, path in values["pictures"].items():
        context[name] = InlineImage(document, str(folder / path), width=Pt(width * 0.75), height=Pt(height * 0.75))
    document.render(context)
    document.save(output)


if __name__ == "__main__":
    main(*sys.argv[1:4])
