import os
import pathlib
import subprocess
import threading
import warnings

import pytest

import folio


def read_report(path):
    return pathlib.Path(path).read_bytes().decode("utf-16")


def leftovers(folder):
    return [p.name for p in pathlib.Path(folder).iterdir() if p.name.startswith(".folio-")]


def test_bundled_example_from_a_values_file_matches_the_command_line(examples, tmp_path):
    report = folio.render(examples / "surface-report.htm", tmp_path / "py.htm",
                          values=examples / "measurements.json")
    assert report == tmp_path / "py.htm"
    cli = os.environ.get("FOLIO_CLI")
    if cli:
        subprocess.run([cli, "render", examples / "surface-report.htm", "--values", examples / "measurements.json",
                        "-o", tmp_path / "cli.htm"], check=True, capture_output=True)
        python_text = read_report(report).replace("py.htm", "X").replace("py_files", "X_files")
        cli_text = read_report(tmp_path / "cli.htm").replace("cli.htm", "X").replace("cli_files", "X_files")
        # Computed date and time may differ by the second between the two runs.
        assert len(python_text) == len(cli_text)
        assert sorted(os.listdir(tmp_path / "py_files")) == sorted(os.listdir(tmp_path / "cli_files"))
    assert "Grain study, batch 14" in read_report(report)
    assert "[no value" not in read_report(report)
    assert leftovers(tmp_path) == []


def test_a_mapping_answers_like_the_values_file(examples, tmp_path, monkeypatch):
    import json
    monkeypatch.chdir(examples)  # pictures are relative to the working folder
    values = json.loads((examples / "one-page.json").read_text(encoding="utf-8"))
    folio.render(examples / "one-page.html", tmp_path / "a.html", values=values)
    folio.render(examples / "one-page.html", tmp_path / "b.html", values=examples / "one-page.json")
    assert read_report(tmp_path / "a.html").replace("a_files", "b_files") == \
        read_report(tmp_path / "b.html")


def test_a_callable_gets_each_placeholder_and_may_answer_in_every_form(small_template, tmp_path, examples):
    seen = []

    def values(placeholder):
        seen.append((placeholder.parameter1, placeholder.section, placeholder.measurement))
        if placeholder.parameter1 == "Sa":
            return {"float": 0.4213 * (placeholder.measurement + 1), "precision": 3, "unit": "nm"}
        return folio.Record(value="Batch %d" % placeholder.measurement)

    folio.render(small_template, tmp_path / "r.htm", values=values, measurements=2, option=None)
    text = read_report(tmp_path / "r.htm")
    assert "0.421 nm" in text and "0.843 nm" in text
    assert "Batch 0" in text and "Batch 1" in text
    assert seen == [("Sa", "body", 0), ("Project", "body", 0), ("Sa", "body", 1), ("Project", "body", 1)]

    picture = examples / "pictures" / "histogram.png"
    folio.render(small_template, tmp_path / "p.htm", values=lambda p: picture if p.parameter1 == "Sa" else 7)
    assert picture.exists(), "the user's picture is never moved or deleted"
    assert len(list((tmp_path / "p_files").iterdir())) >= 1
    assert ">7<" in read_report(tmp_path / "p.htm") or "7" in read_report(tmp_path / "p.htm")


def test_an_exception_in_the_callable_reaches_the_caller_and_the_report_survives(small_template, tmp_path):
    report = folio.render(small_template, tmp_path / "r.htm", values=lambda p: "first")
    before = report.read_bytes()
    calls = []

    class Broken(Exception):
        pass

    def values(placeholder):
        calls.append(placeholder)
        if len(calls) == 2:
            raise Broken("measurement lost")
        return "second"

    with pytest.raises(Broken, match="measurement lost"):
        folio.render(small_template, report, values=values, option="replace", measurements=3)
    assert len(calls) == 2, "nothing is asked after the exception"
    assert report.read_bytes() == before
    assert leftovers(tmp_path) == []

    with pytest.raises(TypeError, match="bool"):
        folio.render(small_template, report, values=lambda p: True, option="replace")
    with pytest.raises(folio.ValuesError, match="precision"):
        folio.render(small_template, report, values=lambda p: {"float": 1.0, "precision": "x"}, option="replace")
    assert report.read_bytes() == before


def test_an_existing_report_needs_an_option(small_template, tmp_path):
    report = folio.render(small_template, tmp_path / "r.htm", values=lambda p: "one")
    with pytest.raises(FileExistsError, match="option"):
        folio.render(small_template, report, values=lambda p: "two")
    folio.render(small_template, report, values=lambda p: "two", option="append")
    text = read_report(report)
    assert "one" in text and "two" in text
    folio.render(small_template, report, values=lambda p: "three", option="replace")
    assert "one" not in read_report(report) and "three" in read_report(report)
    with pytest.raises(ValueError, match="option"):
        folio.render(small_template, report, values=lambda p: "x", option="overwrite")


def test_missing_values_warn_or_with_strict_write_nothing(small_template, tmp_path):
    with pytest.warns(folio.MissingValueWarning, match="no value for Roughness/RoughnessParameter"):
        folio.render(small_template, tmp_path / "w.htm", values=lambda p: None if p.parameter1 == "Sa" else "x")
    assert "[no value for" in read_report(tmp_path / "w.htm")
    with pytest.raises(folio.MissingValueError, match="Sa"):
        folio.render(small_template, tmp_path / "s.htm", values={"values": []}, strict=True)
    assert not (tmp_path / "s.htm").exists()
    assert leftovers(tmp_path) == []


def test_bad_input_gives_the_users_message(small_template, tmp_path):
    with pytest.raises(FileNotFoundError, match="nowhere.htm"):
        folio.render(tmp_path / "nowhere.htm", tmp_path / "r.htm", values={"values": []})
    bad = tmp_path / "bad.json"
    bad.write_text('{"values": [{"group": "A", "field": "B", "float": "x"}]}')
    with pytest.raises(folio.ValuesError, match="bad.json"):
        folio.render(small_template, tmp_path / "r.htm", values=bad)
    with pytest.raises(TypeError):
        folio.render(small_template, tmp_path / "r.htm", values=lambda p: object())
    assert not (tmp_path / "r.htm").exists()


def test_renders_in_threads_do_not_block_each_other(small_template, tmp_path):
    results, errors = {}, []

    def run(name):
        try:
            results[name] = folio.render(small_template, tmp_path / (name + ".htm"),
                                         values=lambda p: name, measurements=3)
        except Exception as e:  # noqa: BLE001 - reported below
            errors.append(e)

    threads = [threading.Thread(target=run, args=("t%d" % i,)) for i in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join(60)
    assert not errors and len(results) == 4
    for name, path in results.items():
        assert read_report(path).count(name) >= 3
