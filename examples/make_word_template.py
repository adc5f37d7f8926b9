#!/usr/bin/env python3
"""Writes surface-report.docx, the Word twin of surface-report.htm (same values file,
measurements.json). Re-run after editing; the .docx is committed beside this script.

    examples/make_word_template.py [OUTPUT]
    examples/make_word_template.py --check    (whether the committed file is up to date)

What it holds, in document order:
  header   the report's file name: a legacy KORI control (ActiveX part with its class id
           and a property bag), as templates made for older hosts have it;
  preface  the logo (a plain picture, no placeholder), a title and a table of values whose
           cells hold placeholders: inline pictures whose alternative text is the packed
           "KORI {" description, and two legacy controls; then the PrefaceEnd tag;
  body     "Measurement n", a table of values, a floating text box holding two
           placeholders, three picture placeholders; then the SummaryBegin tag;
  summary  "Summary of n measurements" and a table of batch statistics, one a legacy control;
  footer   the page number (a field the reader computes).
Only the standard library is used and every byte is fixed (no dates), so re-running the
script reproduces the committed file exactly.
"""
import itertools
import re
import sys
import zipfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
KORI_CONTROL_CLASS_ID = "{7B1E52C4-93D0-4A6F-B2E8-5C91D04F3A27}"
EMU_PER_PIXEL = 9525  # 914400 EMU per inch at 96 pixels per inch

NS = {
    "w": "http://schemas.openxmlformats.org/wordprocessingml/2006/main",
    "r": "http://schemas.openxmlformats.org/officeDocument/2006/relationships",
    "wp": "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing",
    "a": "http://schemas.openxmlformats.org/drawingml/2006/main",
    "pic": "http://schemas.openxmlformats.org/drawingml/2006/picture",
    "wps": "http://schemas.microsoft.com/office/word/2010/wordprocessingShape",
    "mc": "http://schemas.openxmlformats.org/markup-compatibility/2006",
    "v": "urn:schemas-microsoft-com:vml",
    "o": "urn:schemas-microsoft-com:office:office",
}
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
XML_HEAD = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'


def namespaces(*prefixes):
    return " ".join(f'xmlns:{p}="{NS[p]}"' for p in prefixes)


def escape(text):
    """Attribute or text content; line ends and tabs as references, so that attribute
    value normalisation keeps them."""
    for plain, ref in (("&", "&amp;"), ("<", "&lt;"), (">", "&gt;"), ('"', "&quot;"),
                       ("\r", "&#13;"), ("\n", "&#10;"), ("\t", "&#9;")):
        text = text.replace(plain, ref)
    return text


def pack(group, field, parameter1="None", parameter2="None", statistics1="None", statistics2="None",
         resolution=2.0, scale_font=1, unit_options=0, picture_options=1):
    """The packed control text, written exactly as CKORIControlValue::Pack writes it."""
    lines = [("Version", "2000"), ("Group", group), ("Field", field), ("Parameter 1", parameter1),
             ("Parameter 2", parameter2), ("Image statistics", statistics1), ("Batch statistics", statistics2),
             ("Resolution factor", "%#.6G" % resolution), ("Scale font", str(scale_font)),
             ("Show Value/Unit", str(unit_options)), ("Picture aspect option", str(picture_options)),
             ("Body section", "True" if statistics2 == "None" else "False")]
    return "KORI {\r\n" + "".join(f"\t{key}: {value}\r\n" for key, value in lines) + "}"


class Story:
    """One part's relationships; drawing ids come from a counter shared by the package."""

    def __init__(self, ids):
        self.rels = []
        self.ids = ids
        self.shape_type_written = False

    def rel(self, kind, target):
        self.rels.append((f"rId{len(self.rels) + 1}", kind, target))
        return self.rels[-1][0]

    def drawing_id(self):
        return next(self.ids)

    def rels_xml(self):
        body = "".join(f'<Relationship Id="{i}" Type="{REL}{k}" Target="{t}"/>' for i, k, t in self.rels)
        return XML_HEAD + ('<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                           f"{body}</Relationships>")


def inline_picture(story, rid, width_px, height_px, name, descr):
    """w:drawing/wp:inline showing the media part rid at the given size."""
    cx, cy = width_px * EMU_PER_PIXEL, height_px * EMU_PER_PIXEL
    n = story.drawing_id()
    return (f'<w:r><w:drawing><wp:inline distT="0" distB="0" distL="0" distR="0"><wp:extent cx="{cx}" cy="{cy}"/>'
            f'<wp:effectExtent l="0" t="0" r="0" b="0"/><wp:docPr id="{n}" name="{name} {n}" descr="{escape(descr)}"/>'
            '<wp:cNvGraphicFramePr><a:graphicFrameLocks noChangeAspect="1"/></wp:cNvGraphicFramePr>'
            '<a:graphic><a:graphicData uri="http://schemas.openxmlformats.org/drawingml/2006/picture"><pic:pic>'
            f'<pic:nvPicPr><pic:cNvPr id="0" name="{name}.png"/><pic:cNvPicPr/></pic:nvPicPr>'
            f'<pic:blipFill><a:blip r:embed="{rid}"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill>'
            f'<pic:spPr><a:xfrm><a:off x="0" y="0"/><a:ext cx="{cx}" cy="{cy}"/></a:xfrm>'
            '<a:prstGeom prst="rect"><a:avLst/></a:prstGeom></pic:spPr></pic:pic></a:graphicData></a:graphic>'
            "</wp:inline></w:drawing></w:r>")


class Template:
    def __init__(self):
        self.parts = {}  # name -> (content type or None for a default extension, bytes)
        self.controls = 0

    def placeholder(self, story, width_px, height_px, *description, **options):
        rid = self.media(story, "placeholder.png")
        return inline_picture(story, rid, width_px, height_px, "Placeholder", pack(*description, **options))

    def media(self, story, name):
        self.parts.setdefault(f"word/media/{name}", (None, (HERE / "surface-report_files" / name).read_bytes()))
        for rid, kind, target in story.rels:
            if target == f"media/{name}":
                return rid
        return story.rel("image", f"media/{name}")

    def legacy_control(self, story, width_px, height_px, **properties):
        """A KORI ActiveX control: w:object with a VML preview and w:control pointing at an
        activeX part, whose property bag carries the legacy description."""
        self.controls += 1
        k = self.controls
        bag = "".join(f'<ax:ocxPr ax:name="{key}" ax:value="{escape(str(value))}"/>' for key, value in properties.items())
        part = (XML_HEAD + '<ax:ocx xmlns:ax="http://schemas.microsoft.com/office/2006/activeX" '
                f'{namespaces("r")} ax:classid="{KORI_CONTROL_CLASS_ID}" ax:persistence="persistPropertyBag">'
                f"{bag}</ax:ocx>")
        self.parts[f"word/activeX/activeX{k}.xml"] = ("application/vnd.ms-office.activeX+xml", part.encode())
        control = story.rel("control", f"activeX/activeX{k}.xml")
        preview = self.media(story, "placeholder.png")
        shape = f"_x0000_i{1024 + k}"
        # Word defines the picture frame type once per part, in its first object.
        shape_type = "" if story.shape_type_written else SHAPE_TYPE
        story.shape_type_written = True
        return (f'<w:r><w:object w:dxaOrig="{width_px * 15}" w:dyaOrig="{height_px * 15}">{shape_type}'
                f'<v:shape id="{shape}" type="#_x0000_t75" style="width:{width_px * 0.75:g}pt;height:{height_px * 0.75:g}pt" o:ole="">'
                f'<v:imagedata r:id="{preview}" o:title=""/></v:shape>'
                f'<w:control r:id="{control}" w:name="KORIControl{k}" w:shapeid="{shape}"/></w:object></w:r>')


def run(text, bold=False):
    props = "<w:rPr><w:b/></w:rPr>" if bold else ""
    return f'<w:r>{props}<w:t xml:space="preserve">{escape(text)}</w:t></w:r>'


def paragraph(*content, style=None, align=None):
    props = (f'<w:pStyle w:val="{style}"/>' if style else "") + (f'<w:jc w:val="{align}"/>' if align else "")
    return f"<w:p>{f'<w:pPr>{props}</w:pPr>' if props else ''}{''.join(content)}</w:p>"


def values_table(rows):
    """Two columns, label and value; a thin rule under each row."""
    border = '<w:bottom w:val="single" w:sz="4" w:space="0" w:color="E0D0B8"/>'
    cells = ""
    for label, value in rows:
        cells += ('<w:tr><w:tc><w:tcPr><w:tcW w:w="2400" w:type="dxa"/></w:tcPr>' + paragraph(run(label)) +
                  f'</w:tc><w:tc><w:tcPr><w:tcW w:w="4200" w:type="dxa"/><w:tcBorders>{border}</w:tcBorders></w:tcPr>'
                  + paragraph(*value) + "</w:tc></w:tr>")
    return ('<w:tbl><w:tblPr><w:tblW w:w="6600" w:type="dxa"/><w:tblLayout w:type="fixed"/>'
            '<w:tblCellMar><w:left w:w="80" w:type="dxa"/><w:right w:w="80" w:type="dxa"/></w:tblCellMar></w:tblPr>'
            '<w:tblGrid><w:gridCol w:w="2400"/><w:gridCol w:w="4200"/></w:tblGrid>' + cells + "</w:tbl>")


def text_box(story, content, width_px, height_px, fallback_content):
    """A floating text box beside the paragraph, as Word writes it: the drawing shape, and
    a VML copy for older readers."""
    cx, cy = width_px * EMU_PER_PIXEL, height_px * EMU_PER_PIXEL
    n = story.drawing_id()
    fill = '<a:solidFill><a:srgbClr val="FFF8EC"/></a:solidFill>'
    line = '<a:ln w="6350"><a:solidFill><a:srgbClr val="C8A070"/></a:solidFill></a:ln>'
    choice = ('<w:drawing><wp:anchor distT="0" distB="0" distL="114300" distR="0" simplePos="0" relativeHeight="2" '
              'behindDoc="0" locked="0" layoutInCell="1" allowOverlap="1"><wp:simplePos x="0" y="0"/>'
              '<wp:positionH relativeFrom="margin"><wp:align>right</wp:align></wp:positionH>'
              '<wp:positionV relativeFrom="paragraph"><wp:posOffset>0</wp:posOffset></wp:positionV>'
              f'<wp:extent cx="{cx}" cy="{cy}"/><wp:effectExtent l="0" t="0" r="0" b="0"/>'
              f'<wp:wrapSquare wrapText="left"/><wp:docPr id="{n}" name="Text Box {n}"/><wp:cNvGraphicFramePr/>'
              '<a:graphic><a:graphicData uri="http://schemas.microsoft.com/office/word/2010/wordprocessingShape">'
              '<wps:wsp><wps:cNvSpPr txBox="1"/><wps:spPr>'
              f'<a:xfrm><a:off x="0" y="0"/><a:ext cx="{cx}" cy="{cy}"/></a:xfrm>'
              f'<a:prstGeom prst="rect"><a:avLst/></a:prstGeom>{fill}{line}</wps:spPr>'
              f"<wps:txbx><w:txbxContent>{content}</w:txbxContent></wps:txbx>"
              '<wps:bodyPr rot="0" vert="horz" wrap="square" lIns="91440" tIns="45720" rIns="91440" bIns="45720" '
              'anchor="t" anchorCtr="0"><a:noAutofit/></wps:bodyPr></wps:wsp></a:graphicData></a:graphic>'
              "</wp:anchor></w:drawing>")
    fallback = (f'<w:pict><v:shape id="Text Box {n}" o:spid="_x0000_s{1024 + n}" type="#_x0000_t202" '
                f'style="position:absolute;margin-left:0;margin-top:0;width:{width_px * 0.75:g}pt;'
                f'height:{height_px * 0.75:g}pt;z-index:2;mso-position-horizontal:right;'
                'mso-position-horizontal-relative:margin" fillcolor="#fff8ec" strokecolor="#c8a070" strokeweight=".5pt">'
                f"<v:textbox><w:txbxContent>{fallback_content}</w:txbxContent></v:textbox></v:shape></w:pict>")
    return (f'<w:r><mc:AlternateContent><mc:Choice Requires="wps">{choice}</mc:Choice>'
            f"<mc:Fallback>{fallback}</mc:Fallback></mc:AlternateContent></w:r>")


def body_xml(t, story):
    ph = t.placeholder
    preface = [
        paragraph(inline_picture(story, t.media(story, "logo.png"), 48, 48, "Logo", "Folio logo")),
        paragraph(run("Surface measurement report"), style="Heading1"),
        values_table([
            ("Project:", [ph(story, 200, 16, "BasicInfo", "desc", "Project")]),
            ("Date:", [ph(story, 80, 16, "BasicInfo", "date")]),
            ("Operator:", [ph(story, 80, 16, "BasicInfo", "username")]),
            ("Quality grade:", [ph(story, 16, 16, "BasicInfo", "desc", "Grade")]),
            ("Scan range X:", [t.legacy_control(story, 80, 16, Group="General", Field="xrange", UnitOptions=0,
                                                PictureOptions=1, ResolutionFactor="2.0", ScaleFont=1)]),
            ("Scan range Y:", [t.legacy_control(story, 80, 16, Group="General", Field="yrange", UnitOptions=0,
                                                PictureOptions=1, ResolutionFactor="2.0", ScaleFont=1)]),
            ("Height unit:", [ph(story, 80, 16, "BasicInfo", "min", "ZAxis", unit_options=2)]),
        ]),
        paragraph(ph(story, 16, 16, "Section", "PrefaceEnd")),
    ]

    # Two placeholders side by side in one text box; its VML copy gets ids of its own.
    note = (paragraph(run("Scan ", bold=True), ph(story, 110, 16, "BasicInfo", "filename")) +
            paragraph(ph(story, 160, 16, "BasicInfo", "desc", "Remark")))
    copy = re.sub(r'<wp:docPr id="(\d+)"', lambda m: f'<wp:docPr id="{int(m.group(1)) + 1000}"', note)
    box = text_box(story, note, 188, 60, copy)
    body = [
        paragraph(run("Measurement "), ph(story, 24, 16, "BasicInfo", "batchindex", unit_options=1), style="Heading2"),
        paragraph(box, run("Scan parameters and roughness of this measurement.")),
        values_table([
            ("Pixels:", [ph(story, 60, 16, "BasicInfo", "pixels", "XAxis")]),
            ("Sa:", [ph(story, 60, 16, "Roughness", "RoughnessParameter", "Sa", unit_options=1), run(" "),
                     ph(story, 24, 16, "Roughness", "RoughnessParameter", "Sa", unit_options=2)]),
            ("Sq:", [ph(story, 80, 16, "Roughness", "RoughnessParameter", "Sq")]),
            ("Sz:", [ph(story, 80, 16, "Roughness", "RoughnessParameter", "Sz")]),
        ]),
        paragraph(run("Topography and relief"), ph(story, 16, 16, "BasicInfo", "ScreenDump"), run(":")),
        paragraph(ph(story, 240, 240, "BasicInfo", "MainImage", picture_options=0), run(" "),
                  ph(story, 200, 120, "BasicInfo", "3DImage", picture_options=3)),
        paragraph(run("Profile along the middle row, and the height histogram:")),
        paragraph(ph(story, 320, 100, "BasicProc", "Profile", "XAxis"), run(" "),
                  ph(story, 160, 100, "BasicProc", "Histogram", picture_options=2)),
        paragraph(ph(story, 16, 16, "Section", "SummaryBegin")),
    ]
    summary = [
        paragraph(run("Summary of "), ph(story, 24, 16, "BasicInfo", "FileCount"), run(" measurements"),
                  style="Heading2"),
        values_table([
            ("Mean Sa:", [t.legacy_control(story, 80, 16, Group="Roughness", Field="Sa", UnitOptions=0,
                                           PictureOptions=1, ResolutionFactor="2.0", ScaleFont=1, Statistics="Mean")]),
            ("SD of Sa:", [ph(story, 80, 16, "Roughness", "RoughnessParameter", "Sa", statistics2="SD")]),
            ("Mean Sq:", [ph(story, 80, 16, "Roughness", "RoughnessParameter", "Sq", statistics2="Mean")]),
            ("Conclusion:", [ph(story, 200, 16, "BasicInfo", "desc", "Conclusion")]),
            ("Signed:", [ph(story, 80, 16, "BasicInfo", "username")]),
        ]),
    ]
    section = ('<w:sectPr><w:headerReference w:type="default" r:id="{header}"/>'
               '<w:footerReference w:type="default" r:id="{footer}"/>'
               '<w:pgSz w:w="11906" w:h="16838"/><w:pgMar w:top="1417" w:right="1134" w:bottom="1134" w:left="1134" '
               'w:header="567" w:footer="567" w:gutter="0"/></w:sectPr>')
    return "".join(preface + body + summary) + paragraph(), section


SHAPE_TYPE = ('<v:shapetype id="_x0000_t75" coordsize="21600,21600" o:spt="75" o:preferrelative="t" '
              'path="m@4@5l@4@11@9@11@9@5xe" filled="f" stroked="f"><v:stroke joinstyle="miter"/>'
              '<v:path o:extrusionok="f" gradientshapeok="t" o:connecttype="rect"/>'
              '<o:lock v:ext="edit" aspectratio="t"/></v:shapetype>')

STYLES = XML_HEAD + (
    f'<w:styles {namespaces("w")}><w:docDefaults><w:rPrDefault><w:rPr>'
    '<w:rFonts w:ascii="Arial" w:hAnsi="Arial" w:eastAsia="Arial" w:cs="Arial"/><w:sz w:val="22"/>'
    '<w:lang w:val="en-GB"/></w:rPr></w:rPrDefault><w:pPrDefault><w:pPr><w:spacing w:after="60"/></w:pPr>'
    '</w:pPrDefault></w:docDefaults>'
    '<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/><w:qFormat/></w:style>'
    '<w:style w:type="paragraph" w:styleId="Heading1"><w:name w:val="heading 1"/><w:basedOn w:val="Normal"/>'
    '<w:next w:val="Normal"/><w:qFormat/><w:pPr><w:keepNext/><w:spacing w:before="240" w:after="120"/>'
    '<w:outlineLvl w:val="0"/></w:pPr><w:rPr><w:b/><w:color w:val="7A3010"/><w:sz w:val="36"/></w:rPr></w:style>'
    '<w:style w:type="paragraph" w:styleId="Heading2"><w:name w:val="heading 2"/><w:basedOn w:val="Normal"/>'
    '<w:next w:val="Normal"/><w:qFormat/><w:pPr><w:keepNext/><w:pBdr><w:bottom w:val="single" w:sz="8" '
    'w:space="1" w:color="C8A070"/></w:pBdr><w:spacing w:before="360" w:after="120"/><w:outlineLvl w:val="1"/>'
    '</w:pPr><w:rPr><w:b/><w:color w:val="7A3010"/><w:sz w:val="28"/></w:rPr></w:style>'
    '<w:style w:type="paragraph" w:styleId="Header"><w:name w:val="header"/><w:basedOn w:val="Normal"/>'
    '<w:rPr><w:color w:val="7A7A7A"/><w:sz w:val="18"/></w:rPr></w:style>'
    '<w:style w:type="paragraph" w:styleId="Footer"><w:name w:val="footer"/><w:basedOn w:val="Normal"/>'
    '<w:rPr><w:color w:val="7A7A7A"/><w:sz w:val="18"/></w:rPr></w:style>'
    '<w:style w:type="table" w:default="1" w:styleId="TableNormal"><w:name w:val="Normal Table"/>'
    '<w:tblPr><w:tblInd w:w="0" w:type="dxa"/><w:tblCellMar><w:top w:w="0" w:type="dxa"/>'
    '<w:left w:w="108" w:type="dxa"/><w:bottom w:w="0" w:type="dxa"/><w:right w:w="108" w:type="dxa"/>'
    '</w:tblCellMar></w:tblPr></w:style></w:styles>')


def build():
    t = Template()
    ids = itertools.count(1)
    main, header = Story(ids), Story(ids)
    body, section = body_xml(t, main)
    header_xml = (XML_HEAD + f'<w:hdr {namespaces("w", "r", "v", "o")}>' +
                  paragraph(run("Surface measurement report \u2014 "), t.legacy_control(
                      header, 160, 16, Group="General", Field="reportfilename", UnitOptions=0, PictureOptions=1,
                      ResolutionFactor="2.0", ScaleFont=1), style="Header", align="right") + "</w:hdr>")
    footer_xml = (XML_HEAD + f'<w:ftr {namespaces("w")}>' + paragraph(
        run("Page "), '<w:r><w:fldChar w:fldCharType="begin"/></w:r><w:r><w:instrText xml:space="preserve"> PAGE '
        '</w:instrText></w:r><w:r><w:fldChar w:fldCharType="separate"/></w:r><w:r><w:t>1</w:t></w:r>'
        '<w:r><w:fldChar w:fldCharType="end"/></w:r>', style="Footer", align="center") + "</w:ftr>")
    main.rel("styles", "styles.xml")
    main.rel("settings", "settings.xml")
    section = section.format(header=main.rel("header", "header1.xml"), footer=main.rel("footer", "footer1.xml"))
    document = (XML_HEAD + f'<w:document {namespaces("w", "r", "wp", "a", "pic", "wps", "mc", "v", "o")}><w:body>' + body + section + "</w:body></w:document>")
    settings = (XML_HEAD + f'<w:settings {namespaces("w")}><w:defaultTabStop w:val="720"/>'
                '<w:compat><w:compatSetting w:name="compatibilityMode" w:uri="http://schemas.microsoft.com/office/word" '
                'w:val="15"/></w:compat></w:settings>')
    word = "application/vnd.openxmlformats-officedocument.wordprocessingml."
    t.parts.update({
        "word/document.xml": (word + "document.main+xml", document.encode()),
        "word/_rels/document.xml.rels": (None, main.rels_xml().encode()),
        "word/header1.xml": (word + "header+xml", header_xml.encode()),
        "word/_rels/header1.xml.rels": (None, header.rels_xml().encode()),
        "word/footer1.xml": (word + "footer+xml", footer_xml.encode()),
        "word/styles.xml": (word + "styles+xml", STYLES.encode()),
        "word/settings.xml": (word + "settings+xml", settings.encode()),
        "_rels/.rels": (None, (XML_HEAD + '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/'
                               f'relationships"><Relationship Id="rId1" Type="{REL}officeDocument" '
                               'Target="word/document.xml"/></Relationships>').encode()),
    })
    overrides = "".join(f'<Override PartName="/{name}" ContentType="{kind}"/>'
                        for name, (kind, _) in sorted(t.parts.items()) if kind)
    types = (XML_HEAD + '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
             '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
             '<Default Extension="xml" ContentType="application/xml"/><Default Extension="png" ContentType="image/png"/>'
             + overrides + "</Types>")
    return [("[Content_Types].xml", types.encode())] + [(name, data) for name, (_, data) in sorted(t.parts.items())]


def main():
    if sys.argv[1:] == ["--check"]:
        # Compares entries rather than bytes, which another zlib may compress differently.
        with zipfile.ZipFile(HERE / "surface-report.docx") as archive:
            committed = [(info.filename, archive.read(info)) for info in archive.infolist()]
        if committed != build():
            sys.exit("surface-report.docx differs from what make_word_template.py writes; re-run it")
        return
    output = Path(sys.argv[1]) if len(sys.argv) > 1 else HERE / "surface-report.docx"
    with zipfile.ZipFile(output, "w") as archive:
        for name, data in build():
            info = zipfile.ZipInfo(name, date_time=(1980, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            archive.writestr(info, data, compresslevel=9)


if __name__ == "__main__":
    main()
