#!/usr/bin/python3
"""Writes the Word templates of other producers that the tests render (run once; the
.docx files are committed beside this script, since they come from real editors):

  from-libreoffice.docx   LibreOffice Writer: this script writes a flat ODF text document
                          (placeholders are pictures whose description is the packed text)
                          and `soffice --convert-to docx` saves it as Word;
  from-python-docx.docx   python-docx (Debian python3-docx), placeholders added with
                          add_picture and their alternative text set on wp:docPr.

Both hold a title, placeholders in the text and in a table, a picture placeholder, the
section tags, and the LibreOffice one a text box too. values.json answers them.

    tests/wordreports/producers/make_producers.py
"""
import base64
import os
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path
from xml.sax.saxutils import escape, quoteattr

HERE = Path(__file__).resolve().parent
PLACEHOLDER_PNG = HERE.parents[2] / "examples" / "surface-report_files" / "placeholder.png"


def pack(group, field, parameter1="None", statistics2="None", picture_options=1):
    lines = [("Version", "2000"), ("Group", group), ("Field", field), ("Parameter 1", parameter1),
             ("Parameter 2", "None"), ("Image statistics", "None"), ("Batch statistics", statistics2),
             ("Resolution factor", "2.00000"), ("Scale font", "1"), ("Show Value/Unit", "0"),
             ("Picture aspect option", str(picture_options)), ("Body section", "True")]
    return "KORI {\r\n" + "".join(f"\t{k}: {v}\r\n" for k, v in lines) + "}"


# (label, description, width and height in points)
PREFACE = [("Sample:", ("BasicInfo", "desc", "Project"), 150, 12)]
BODY = [("File:", ("BasicInfo", "filename"), 100, 12),
        ("Sa:", ("Roughness", "RoughnessParameter", "Sa"), 60, 12)]
PICTURE = (("BasicInfo", "MainImage", "None", "None", 0), 120, 90)
SUMMARY = [("Mean Sa:", ("Roughness", "RoughnessParameter", "Sa", "Mean"), 60, 12)]
TAGS = {"PrefaceEnd": ("Section", "PrefaceEnd"), "SummaryBegin": ("Section", "SummaryBegin")}


def odf_frame(name, description, width, height, anchor="as-char"):
    data = base64.b64encode(PLACEHOLDER_PNG.read_bytes()).decode()
    return (f'<draw:frame draw:name="{name}" text:anchor-type="{anchor}" svg:width="{width}pt" svg:height="{height}pt">'
            f'<draw:image><office:binary-data>{data}</office:binary-data></draw:image>'
            f"<svg:desc>{escape(pack(*description))}</svg:desc></draw:frame>")


def odf_table(name, rows):
    cells = "".join(
        f'<table:table-row><table:table-cell office:value-type="string"><text:p>{escape(label)}</text:p></table:table-cell>'
        f'<table:table-cell office:value-type="string"><text:p>{odf_frame(f"{name}{i}", d, w, h)}</text:p>'
        "</table:table-cell></table:table-row>" for i, (label, d, w, h) in enumerate(rows))
    return (f'<table:table table:name="{name}"><table:table-column table:number-columns-repeated="2"/>'
            f"{cells}</table:table>")


def write_odf(path):
    box = ('<draw:frame draw:name="Note" text:anchor-type="paragraph" svg:x="300pt" svg:y="0pt" svg:width="150pt" '
           'svg:height="40pt"><draw:text-box><text:p>Remark: '
           + odf_frame("NoteRemark", ("BasicInfo", "desc", "Remark"), 100, 12) + "</text:p></draw:text-box></draw:frame>")
    body = (
        '<text:h text:outline-level="1">Roughness report (LibreOffice template)</text:h>'
        + odf_table("Preface", PREFACE)
        + f'<text:p>{odf_frame("PrefaceEnd", TAGS["PrefaceEnd"], 12, 12)}</text:p>'
        + f"<text:p>{box}Measurement of the sample</text:p>"
        + odf_table("Body", BODY)
        + f'<text:p>{odf_frame("Picture", PICTURE[0], PICTURE[1], PICTURE[2])}</text:p>'
        + f'<text:p>{odf_frame("SummaryBegin", TAGS["SummaryBegin"], 12, 12)}</text:p>'
        + '<text:h text:outline-level="2">Summary</text:h>'
        + odf_table("Summary", SUMMARY) + "<text:p/>")
    document = (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        '<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
        'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
        'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
        'xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" '
        'xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" '
        'xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" '
        'xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" '
        'office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">'
        '<office:master-styles><style:master-page style:name="Standard" style:page-layout-name="pm1">'
        '<style:header><text:p>Roughness report</text:p></style:header></style:master-page></office:master-styles>'
        '<office:automatic-styles><style:page-layout style:name="pm1"><style:page-layout-properties '
        'fo:page-width="21cm" fo:page-height="29.7cm" fo:margin="2cm"/><style:header-style/></style:page-layout>'
        "</office:automatic-styles>"
        f"<office:body><office:text>{body}</office:text></office:body></office:document>")
    path.write_text(document, encoding="utf-8")


def from_libreoffice(out):
    with tempfile.TemporaryDirectory() as work:
        source = Path(work) / "from-libreoffice.fodt"
        write_odf(source)
        subprocess.run(["soffice", f"-env:UserInstallation=file://{work}/profile", "--headless",
                        "--convert-to", "docx:MS Word 2007 XML", "--outdir", work, str(source)],
                       check=True, stdout=subprocess.DEVNULL, timeout=300)
        shutil.copyfile(Path(work) / "from-libreoffice.docx", out)


def from_python_docx(out):
    import docx
    from docx.shared import Pt

    document = docx.Document()
    document.sections[0].header.paragraphs[0].text = "Roughness report"

    def placeholder(run, description, width, height):
        shape = run.add_picture(str(PLACEHOLDER_PNG), width=Pt(width), height=Pt(height))
        shape._inline.docPr.set("descr", pack(*description))

    def table(rows):
        grid = document.add_table(rows=0, cols=2)
        for label, description, width, height in rows:
            cells = grid.add_row().cells
            cells[0].text = label
            placeholder(cells[1].paragraphs[0].add_run(), description, width, height)

    document.add_heading("Roughness report (python-docx template)", level=1)
    table(PREFACE)
    placeholder(document.add_paragraph().add_run(), TAGS["PrefaceEnd"], 12, 12)
    document.add_paragraph("Measurement of the sample")
    table(BODY)
    placeholder(document.add_paragraph().add_run(), *PICTURE)
    placeholder(document.add_paragraph().add_run(), TAGS["SummaryBegin"], 12, 12)
    document.add_heading("Summary", level=2)
    table(SUMMARY)
    document.save(out)


def main():
    from_libreoffice(HERE / "from-libreoffice.docx")
    from_python_docx(HERE / "from-python-docx.docx")


if __name__ == "__main__":
    sys.exit(main())
