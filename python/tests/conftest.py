import os
import pathlib
import shutil

import pytest

EXAMPLES = pathlib.Path(os.environ.get("FOLIO_EXAMPLES", pathlib.Path(__file__).parents[2] / "examples"))


@pytest.fixture
def examples(tmp_path):
    """A private copy of the bundled examples (templates, values files, pictures)."""
    copy = tmp_path / "examples"
    shutil.copytree(EXAMPLES, copy)
    return copy


def packed(**names):
    import folio
    text = folio.Record(**names).pack()
    return text.replace("\r\n", "&#13;&#10;").replace("\n", "&#10;")


@pytest.fixture
def small_template(tmp_path):
    """A one-placeholder-per-line HTML template: Sa, a picture, and a section-less body."""
    body = "".join('<p><img alt="%s"></p>' % packed(**names) for names in (
        dict(group="Roughness", field="RoughnessParameter", parameter1="Sa"),
        dict(group="BasicInfo", field="desc", parameter1="Project"),
    ))
    path = tmp_path / "small.htm"
    path.write_text("<html><body>%s</body></html>" % body, encoding="utf-8")
    return path
