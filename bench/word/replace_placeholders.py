"""python-docx doing the benchmark's work: replace every inline shape whose
alternative text starts with "KORI" by a text run, then save."""
import sys

import docx
from docx.oxml.ns import qn


def main(source, target):
    document = docx.Document(source)
    for shape in list(document.inline_shapes):
        inline = shape._inline
        if not inline.docPr.get("descr", "").startswith("KORI"):
            continue
        drawing = inline.getparent()
        run = drawing.getparent()
        run.remove(drawing)
        text = run.makeelement(qn("w:t"), {})
        text.text = "1.2345 nm"
        run.append(text)
    document.save(target)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
