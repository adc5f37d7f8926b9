"""Folio: fills HTML and Word report templates with measurement values."""
import os
import pathlib
from typing import Any, Callable, Iterable, Literal, Mapping, Optional, Union, overload

StrPath = Union[str, "os.PathLike[str]"]
Value = Union[None, int, float, str, "os.PathLike[str]", "Record", Mapping[str, Any]]

class Error(RuntimeError):
    """Folio could not do what was asked; str() is the reason."""

class ValuesError(Error, ValueError):
    """A values file or mapping that cannot be used; str() names the entry."""

class MissingValueError(Error):
    """strict=True and placeholders without a value; nothing was written."""

class MissingValueWarning(UserWarning):
    """A placeholder got no value and shows a message naming it."""

class Placeholder:
    """A placeholder of a template, as render's callable and inspect() see it."""
    group: str
    field: str
    parameter1: str
    parameter2: str
    statistics1: str
    statistics2: str
    section: str
    """'preface', 'body' or 'summary'."""
    measurement: Optional[int]
    """The body pass's measurement (from 0), else None."""
    description: str
    index: int
    location: str
    """Where it stands: 'main text', 'table cell', 'text box', 'header', 'footer'."""
    unit_options: int
    picture_options: int
    width: float
    height: float
    written_as: Optional[str]
    """The legacy description it was translated from, else None."""
    outcome: str
    asks_host: bool

class Record:
    """One placeholder: its description and its value."""
    group: str
    field: str
    parameter1: str
    parameter2: str
    statistics1: str
    statistics2: str
    unit: str
    precision: int
    value: Union[None, int, float, str, pathlib.Path]
    def __init__(self, *, group: str = "", field: str = "", parameter1: str = "", parameter2: str = "",
                 statistics1: str = "", statistics2: str = "",
                 value: Union[None, int, float, str, "os.PathLike[str]"] = None,
                 precision: int = 3, unit: str = "") -> None: ...
    @property
    def type(self) -> str:
        """'none', 'text', 'integer', 'float', 'char', 'picture', 'message', ..."""
    @property
    def display_text(self) -> str:
        """The text a report shows for this value."""
    def pack(self) -> str:
        """The description as the packed "KORI {" text a template carries."""
    @staticmethod
    def unpack(text: str) -> "Record":
        """The record a packed description describes; ValueError when it is not one."""

def render(template: StrPath, report: StrPath, *,
           values: Union[StrPath, Mapping[str, Any], Callable[[Placeholder], Value]],
           option: Optional[Literal["replace", "append", "auto"]] = None,
           measurements: Optional[int] = None, strict: bool = False) -> pathlib.Path:
    """Fill template with values and write report; returns the report's path.

    Raises FileExistsError (report exists, no option), FileNotFoundError (no template),
    ValuesError, MissingValueError (strict), Error; an exception the callable raises is
    passed on. On any failure the existing report stays as it was.
    """

def inspect(template: StrPath) -> list[Placeholder]:
    """The placeholders of template in document order."""

def append(source: StrPath, target: StrPath) -> pathlib.Path:
    """Append the HTML report source to target (a copy of source when target is missing)."""

def append_placeholder(report: StrPath, record: Record) -> None:
    """Append one placeholder, described by record, to the end of report."""

@overload
def to_pdf(reports: StrPath, *, timeout: int = 60, workers: int = 0) -> pathlib.Path: ...
@overload
def to_pdf(reports: Iterable[StrPath], *, timeout: int = 60, workers: int = 0) -> list[pathlib.Path]: ...
