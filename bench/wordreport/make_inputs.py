#!/usr/bin/env python3
"""Inputs of the Word report benchmark: a 10-page template with 100 value placeholders and
10 picture placeholders in three dialects (Folio's packed alternative texts, Jinja tags for
python-docx-template, {tags} for docxtemplater), the values for each, and 10 pictures.

    make_inputs.py OUT_FOLDER

Writes folio.docx + folio.json, docxtpl.docx + docxtpl.json, docxtemplater.docx +
docxtemplater.json, pictures/picture_NN.png and expected.json (what every filled report
must show). Only the standard library is used.
"""
import json
import math
import struct
import sys
import zipfile
import zlib
from pathlib import Path

PAGES, VALUES_PER_PAGE = 10, 10
PICTURE_PX = (480, 360)
EMU_PER_PX = 9525
NS = ('xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" '
      'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" '
      'xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing" '
      'xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" '
      'xmlns:pic="http://schemas.openxmlformats.org/drawingml/2006/picture"')


def png(width, height, pixel):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + bytes(c for x in range(width) for c in pixel(x, y)) for y in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


def surface(seed):
    """A measurement-like picture: smooth waves with fine ripples, in false colour."""
    def pixel(x, y):
        h = (math.sin(x / (17 + seed)) * math.cos(y / (23 - seed)) + 0.3 * math.sin((x * y) / (900 + 40 * seed))
             + 0.1 * math.sin(x * 0.9 + y * 1.3 + seed))
        v = int((h + 1.4) / 2.8 * 255) & 0xFF
        return (v, (v * 3 // 4 + 40) & 0xFF, 255 - v)
    return png(*PICTURE_PX, pixel)


def pack(group, field, parameter1):
    lines = [("Version", "2000"), ("Group", group), ("Field", field), ("Parameter 1", parameter1),
             ("Parameter 2", "None"), ("Image statistics", "None"), ("Batch statistics", "None"),
             ("Resolution factor", "1.00000"), ("Scale font", "1"), ("Show Value/Unit", "0"),
             ("Picture aspect option", "1"), ("Body section", "True")]
    return "KORI {\r\n" + "".join(f"\t{k}: {v}\r\n" for k, v in lines) + "}"


def attr(text):
    return (text.replace("&", "&amp;").replace('"', "&quot;").replace("<", "&lt;")
            .replace("\r", "&#13;").replace("\n", "&#10;").replace("\t", "&#9;"))


def drawing(n, descr, width, height):
    cx, cy = width * EMU_PER_PX, height * EMU_PER_PX
    return (f'<w:r><w:drawing><wp:inline distT="0" distB="0" distL="0" distR="0"><wp:extent cx="{cx}" cy="{cy}"/>'
            f'<wp:docPr id="{n}" name="Placeholder {n}" descr="{attr(descr)}"/><wp:cNvGraphicFramePr>'
            '<a:graphicFrameLocks noChangeAspect="1"/></wp:cNvGraphicFramePr><a:graphic><a:graphicData '
            'uri="http://schemas.openxmlformats.org/drawingml/2006/picture"><pic:pic><pic:nvPicPr>'
            f'<pic:cNvPr id="0" name="p.png"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip r:embed="rIdP"/>'
            f'<a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm><a:off x="0" y="0"/><a:ext cx="{cx}" '
            f'cy="{cy}"/></a:xfrm><a:prstGeom prst="rect"><a:avLst/></a:prstGeom></pic:spPr></pic:pic></a:graphicData>'
            "</a:graphic></wp:inline></w:drawing></w:r>")


def text(t):
    return f'<w:r><w:t xml:space="preserve">{t}</w:t></w:r>'


def values():
    """(name, kind, value, shown): texts and numbers alternate."""
    out = []
    for i in range(1, PAGES * VALUES_PER_PAGE + 1):
        if i % 2:
            out.append((f"V{i:03d}", "text", f"Observation {i}: grain boundary sharp", f"Observation {i}: grain boundary sharp"))
        else:
            value = 1 + i / 1000
            out.append((f"V{i:03d}", "float", value, f"{value:.3f}"))
    return out


def document(value_xml, picture_xml):
    """The 10 pages: a heading, a table of 10 values and a picture each."""
    body, items = "", values()
    for page in range(PAGES):
        body += f'<w:p><w:pPr><w:pStyle w:val="Heading1"/></w:pPr>{text(f"Measurement {page + 1}")}</w:p>'
        rows = ""
        for name, kind, value, _ in items[page * VALUES_PER_PAGE:(page + 1) * VALUES_PER_PAGE]:
            rows += (f'<w:tr><w:tc><w:tcPr><w:tcW w:w="3000" w:type="dxa"/></w:tcPr><w:p>{text(name)}</w:p></w:tc>'
                     f'<w:tc><w:tcPr><w:tcW w:w="6000" w:type="dxa"/></w:tcPr><w:p>{value_xml(name, kind)}</w:p></w:tc></w:tr>')
        body += ('<w:tbl><w:tblPr><w:tblW w:w="9000" w:type="dxa"/><w:tblBorders><w:insideH w:val="single" w:sz="4"/>'
                 '</w:tblBorders></w:tblPr><w:tblGrid><w:gridCol w:w="3000"/><w:gridCol w:w="6000"/></w:tblGrid>'
                 f"{rows}</w:tbl>")
        body += f"<w:p>{picture_xml(page + 1)}</w:p>"
        if page + 1 < PAGES:
            body += '<w:p><w:r><w:br w:type="page"/></w:r></w:p>'
    return (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<w:document {NS}><w:body>{body}<w:p/>'
            '<w:sectPr><w:pgSz w:w="11906" w:h="16838"/><w:pgMar w:top="1134" w:right="1134" w:bottom="1134" '
            'w:left="1134" w:header="567" w:footer="567" w:gutter="0"/></w:sectPr></w:body></w:document>')


def write_docx(path, document_xml, placeholder_png):
    styles = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<w:styles xmlns:w="http://schemas.openxmlformats'
              '.org/wordprocessingml/2006/main"><w:style w:type="paragraph" w:default="1" w:styleId="Normal">'
              '<w:name w:val="Normal"/></w:style><w:style w:type="paragraph" w:styleId="Heading1"><w:name '
              'w:val="heading 1"/><w:basedOn w:val="Normal"/><w:rPr><w:b/><w:sz w:val="32"/></w:rPr></w:style></w:styles>')
    rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
    rels = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<Relationships xmlns="http://schemas.openxmlformats'
            f'.org/package/2006/relationships"><Relationship Id="rIdS" Type="{rel}styles" Target="styles.xml"/>'
            + (f'<Relationship Id="rIdP" Type="{rel}image" Target="media/placeholder.png"/>' if placeholder_png else "")
            + "</Relationships>")
    word = "application/vnd.openxmlformats-officedocument.wordprocessingml."
    types = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<Types xmlns="http://schemas.openxmlformats.org/'
             'package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package'
             '.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Default Extension="png" '
             f'ContentType="image/png"/><Override PartName="/word/document.xml" ContentType="{word}document.main+xml"/>'
             f'<Override PartName="/word/styles.xml" ContentType="{word}styles+xml"/></Types>')
    root = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<Relationships xmlns="http://schemas.openxmlformats'
            f'.org/package/2006/relationships"><Relationship Id="rId1" Type="{rel}officeDocument" '
            'Target="word/document.xml"/></Relationships>')
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml", types)
        z.writestr("_rels/.rels", root)
        z.writestr("word/document.xml", document_xml)
        z.writestr("word/_rels/document.xml.rels", rels)
        z.writestr("word/styles.xml", styles)
        if placeholder_png:
            z.writestr("word/media/placeholder.png", placeholder_png)


def main(out):
    out.mkdir(parents=True, exist_ok=True)
    (out / "pictures").mkdir(exist_ok=True)
    pictures = [f"pictures/picture_{k:02d}.png" for k in range(1, PAGES + 1)]
    for k, name in enumerate(pictures):
        (out / name).write_bytes(surface(k))
    w, h = PICTURE_PX[0] // 2, PICTURE_PX[1] // 2  # shown at half size: resolution factor 2
    items = values()
    placeholder = png(8, 8, lambda x, y: (220, 220, 220))
    ids = iter(range(1, 1000))

    def folio_value(name, kind):
        group, field = ("BasicInfo", "desc") if kind == "text" else ("Roughness", "RoughnessParameter")
        return drawing(next(ids), pack(group, field, name), 200, 16)

    write_docx(out / "folio.docx", document(folio_value, lambda k: drawing(
        next(ids), pack("BasicInfo", "MainImage", f"Image{k:02d}").replace("1.00000", "2.00000"), w, h)), placeholder)
    entries = []
    for name, kind, value, _ in items:
        if kind == "text":
            entries.append({"group": "BasicInfo", "field": "desc", "parameter1": name, "text": value})
        else:
            entries.append({"group": "Roughness", "field": "RoughnessParameter", "parameter1": name,
                            "float": value, "precision": 4, "unit": "nm"})
    entries += [{"group": "BasicInfo", "field": "MainImage", "parameter1": f"Image{k:02d}", "picture": p}
                for k, p in enumerate(pictures, 1)]
    (out / "folio.json").write_text(json.dumps({"values": entries}, indent=1))

    # The peers get the same values, numbers already shown as Folio shows them.
    shown = {name: (value if kind == "text" else f"{value:.3f} nm") for name, kind, value, _ in items}
    peer = {"values": shown, "pictures": {f"pic{k:02d}": p for k, p in enumerate(pictures, 1)},
            "picture_px": [w, h]}
    write_docx(out / "docxtpl.docx", document(lambda n, k: text("{{ " + n + " }}"),
                                              lambda k: text("{{ pic%02d }}" % k)), None)
    write_docx(out / "docxtemplater.docx", document(lambda n, k: text("{" + n + "}"),
                                                    lambda k: text("{%%pic%02d}" % k)), None)
    for name in ("docxtpl.json", "docxtemplater.json"):
        (out / name).write_text(json.dumps(peer, indent=1))
    (out / "expected.json").write_text(json.dumps({"texts": [s for *_, s in items], "pictures": PAGES}, indent=1))


if __name__ == "__main__":
    main(Path(sys.argv[1]))
