import pathlib

import pytest

import folio


def read_report(path):
    return pathlib.Path(path).read_bytes().decode("utf-16")


def test_inspect_lists_placeholders_with_section_and_legacy_names(examples):
    placeholders = folio.inspect(examples / "surface-report.htm")
    assert [p.index for p in placeholders] == list(range(len(placeholders)))
    assert all(p.location for p in placeholders)
    assert {p.section for p in placeholders} == {"preface", "body", "summary"}
    sa = [p for p in placeholders if p.parameter1 == "Sa"]
    assert sa and sa[0].group == "Roughness" and sa[0].description.startswith("Roughness/RoughnessParameter")
    assert all(p.outcome in ("ok", "translated", "field not supported", "group not supported",
                             "element definition error") for p in placeholders)
    legacy = [p for p in placeholders if p.written_as is not None]
    assert all(p.written_as != p.description for p in legacy)
    with pytest.raises(FileNotFoundError):
        folio.inspect(examples / "missing.htm")


def test_record_shows_its_value_and_packs_its_description():
    record = folio.Record(group="Roughness", field="RoughnessParameter", parameter1="Sa",
                          value=1.2345, precision=4, unit="nm")
    assert record.type == "float"
    assert record.display_text in (" 1.234 nm", " 1.235 nm") and str(record) == record.display_text
    copy = folio.Record.unpack(record.pack())
    assert (copy.group, copy.field, copy.parameter1) == ("Roughness", "RoughnessParameter", "Sa")
    record.value = "polished"
    assert record.type == "text" and record.value == "polished"
    record.value = pathlib.Path("a.png")
    assert record.type == "picture" and record.value == pathlib.Path("a.png")
    with pytest.raises(ValueError):
        folio.Record.unpack("not a description")
    with pytest.raises(TypeError):
        folio.Record(value=True)


def test_append_joins_reports_and_adds_placeholders(small_template, tmp_path):
    one = folio.render(small_template, tmp_path / "one.htm", values=lambda p: "first")
    two = folio.render(small_template, tmp_path / "two.htm", values=lambda p: "second")
    assert folio.append(one, two) == two
    text = read_report(two)
    assert text.index("second") < text.index("first")
    folio.append_placeholder(two, folio.Record(group="Roughness", field="RoughnessParameter", parameter1="Sq"))
    assert [p.parameter1 for p in folio.inspect(two)][-1] == "Sq"
    with pytest.raises(FileNotFoundError):
        folio.append(tmp_path / "none.htm", two)


@pytest.mark.skipif(not __import__("shutil").which("chromium"), reason="Chromium is not installed")
def test_to_pdf_writes_beside_the_report_and_names_failures(small_template, tmp_path):
    report = folio.render(small_template, tmp_path / "r.htm", values=lambda p: "Batch 14")
    pdf = folio.to_pdf(report)
    assert pdf == tmp_path / "r.pdf" and pdf.read_bytes().startswith(b"%PDF")
    with pytest.raises(FileNotFoundError):
        folio.to_pdf(tmp_path / "none.htm")
    (tmp_path / "notes.txt").write_text("x")
    with pytest.raises(folio.Error, match="notes.txt"):
        folio.to_pdf([report, tmp_path / "notes.txt"])
