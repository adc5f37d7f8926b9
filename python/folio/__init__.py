"""Folio: fills HTML and Word report templates with measurement values.

    import folio
    folio.render("surface-report.htm", "out/report.htm", values="measurements.json")
    folio.render("one-page.html", "out/one.html",
                 values=lambda p: 1.5 if p.field == "RoughnessParameter" else None)
    for placeholder in folio.inspect("surface-report.htm"):
        print(placeholder.section, placeholder.description)
"""
from ._folio import (Error, MissingValueError, MissingValueWarning, Placeholder, Record, ValuesError,
                     append, append_placeholder, inspect, render, to_pdf)

__all__ = ["Error", "MissingValueError", "MissingValueWarning", "Placeholder", "Record", "ValuesError",
           "append", "append_placeholder", "inspect", "render", "to_pdf"]
