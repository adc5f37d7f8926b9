#!/usr/bin/env python3
"""Checks a filled benchmark report before its producer is timed: every value shown, no tag
or placeholder left, and each of the 10 pictures embedded and shown once.

    check_output.py REPORT.docx INPUT_FOLDER
"""
import json
import re
import sys
import zipfile
from pathlib import Path


def main(report, inputs):
    inputs = Path(inputs)
    expected = json.loads((inputs / "expected.json").read_text())
    with zipfile.ZipFile(report) as z:
        xml = z.read("word/document.xml").decode()
        media = {n: z.read(n) for n in z.namelist() if n.startswith("word/media/")}
        rels = z.read("word/_rels/document.xml.rels").decode()
    paragraphs = ["".join(re.findall(r"<w:t(?: [^>]*)?>([^<]*)</w:t>", p)) for p in re.findall(r"<w:p[ >].*?</w:p>", xml)]
    text = "\n".join(paragraphs).replace("&amp;", "&").replace("\u00a0", " ")
    problems = [f"missing value {t!r}" for t in expected["texts"] if t not in text]
    if "{" in text or "KORI" in xml:
        problems.append("a tag or placeholder was left")
    targets = dict(re.findall(r'Id="([^"]+)"[^>]*Target="([^"]+)"', rels))
    pictures = {(inputs / "pictures" / f"picture_{k:02d}.png").read_bytes() for k in range(1, expected["pictures"] + 1)}
    shown = [media.get("word/" + targets.get(rid, "")) for rid in re.findall(r'<a:blip r:embed="([^"]+)"', xml)]
    if sorted(b in pictures for b in shown).count(True) != expected["pictures"] or len(set(shown) & pictures) != len(pictures):
        problems.append(f"{sum(b in pictures for b in shown)} of {len(pictures)} pictures shown ({len(shown)} in all)")
    if problems:
        sys.exit(f"{report}: " + "; ".join(problems[:5]))


if __name__ == "__main__":
    main(*sys.argv[1:3])
