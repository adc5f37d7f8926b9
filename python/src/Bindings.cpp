#include "Bindings.h"

#include <pybind11/stl.h>

#include "CStagedRender.h"
#include "SPlaceholder.h"
#include "folio/model/CKORIControlValue.h"

namespace py = pybind11;

namespace FolioPython {
namespace {

py::handle g_error, g_valuesError, g_missingValueError, g_missingValueWarning;

py::handle NewException(py::module_& m, const char* name, py::handle bases, const char* doc) {
  const std::string qualified = std::string("folio.") + name;
  PyObject* type = PyErr_NewExceptionWithDoc(qualified.c_str(), doc, bases.ptr(), nullptr);
  if (!type) throw py::error_already_set();
  m.add_object(name, py::handle(type));
  return type;
}

const char* TypeName(CKORIControlValue::EType type) {
  switch (type) {
    case CKORIControlValue::eMessage: return "message";
    case CKORIControlValue::eText: return "text";
    case CKORIControlValue::eInteger: return "integer";
    case CKORIControlValue::eFloat: return "float";
    case CKORIControlValue::eChar: return "char";
    case CKORIControlValue::ePicture: return "picture";
    case CKORIControlValue::ePrefaceEnd: return "preface end";
    case CKORIControlValue::eSummaryBegin: return "summary begin";
    default: return "none";
  }
}

py::object GetValue(CKORIControlValue& record) {
  switch (record.GetType()) {
    case CKORIControlValue::eMessage: return py::str(record.GetMessage().ToUtf8());
    case CKORIControlValue::eText: return py::str(record.GetText().ToUtf8());
    case CKORIControlValue::eInteger: return py::int_(record.GetInteger());
    case CKORIControlValue::eFloat: return py::float_(record.GetFloat());
    case CKORIControlValue::eChar: return py::str(CStr(std::u16string(1, record.GetChar())).ToUtf8());
    case CKORIControlValue::ePicture:
      return py::module_::import("pathlib").attr("Path")(record.GetFilename().ToUtf8());
    default: return py::none();
  }
}

// int, float, str (text) or a path (picture); None clears the value.
void SetValue(CKORIControlValue& record, const py::object& value) {
  if (value.is_none()) {
    record.SetType(CKORIControlValue::eNone);
  } else if (py::isinstance<py::bool_>(value)) {
    throw py::type_error("a record's value cannot be a bool");
  } else if (py::isinstance<py::int_>(value)) {
    record.SetType(CKORIControlValue::eInteger);
    record.SetInteger(value.cast<std::int32_t>());
  } else if (py::isinstance<py::float_>(value)) {
    record.SetType(CKORIControlValue::eFloat);
    record.SetFloat(value.cast<double>());
  } else if (py::isinstance<py::str>(value)) {
    record.SetType(CKORIControlValue::eText);
    record.SetText(CStr::FromUtf8(value.cast<std::string>()));
  } else if (py::hasattr(value, "__fspath__")) {
    record.SetType(CKORIControlValue::ePicture);
    record.SetFilename(CStr::FromUtf8(py::str(py::module_::import("os").attr("fspath")(value)).cast<std::string>()));
  } else {
    throw py::type_error("a record's value must be None, int, float, str or a path");
  }
}

// A text property of the record, read and written as str.
template <CStr (CKORIControlValue::*Get)(), void (CKORIControlValue::*Set)(const CStr&)>
void TextProperty(py::class_<CKORIControlValue>& c, const char* name, const char* doc) {
  c.def_property(
      name, [](CKORIControlValue& r) { return (r.*Get)().ToUtf8(); },
      [](CKORIControlValue& r, const std::string& text) { (r.*Set)(CStr::FromUtf8(text)); }, doc);
}

}  // namespace

PyObject* MissingValueWarning() { return g_missingValueWarning.ptr(); }
PyObject* ValuesErrorType() { return g_valuesError.ptr(); }

void BindErrors(py::module_& m) {
  g_error = NewException(m, "Error", PyExc_RuntimeError, "Folio could not do what was asked; str() is the reason.");
  g_valuesError = NewException(m, "ValuesError", py::make_tuple(g_error, py::handle(PyExc_ValueError)).release(),
                               "A values file or mapping that cannot be used; str() names the entry.");
  g_missingValueError = NewException(m, "MissingValueError", g_error,
                                     "strict=True and placeholders without a value; nothing was written.");
  g_missingValueWarning = NewException(m, "MissingValueWarning", PyExc_UserWarning,
                                       "A placeholder got no value and shows a message naming it.");
  py::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const ValuesError& e) {
      PyErr_SetString(g_valuesError.ptr(), e.what());
    } catch (const Error& e) {
      PyErr_SetString(g_error.ptr(), e.what());
    } catch (const FileNotFound& e) {
      PyErr_SetString(PyExc_FileNotFoundError, e.what());
    } catch (const ERender& e) {
      switch (e.Kind()) {
        case ERender::EKind::eReportExists: PyErr_SetString(PyExc_FileExistsError, e.what()); break;
        case ERender::EKind::eTemplateMissing: PyErr_SetString(PyExc_FileNotFoundError, e.what()); break;
        case ERender::EKind::eIncomplete: PyErr_SetString(g_missingValueError.ptr(), e.what()); break;
        default: PyErr_SetString(g_error.ptr(), e.what());
      }
    }
  });
}

void BindRecord(py::module_& m) {
  py::class_<CKORIControlValue> record(m, "Record", R"(One placeholder: its description and its value.

Record(group="Roughness", field="RoughnessParameter", parameter1="Sa",
       value=1.2345, precision=4, unit="nm").display_text == " 1.234 nm"
)");
  record.def(py::init([](const std::string& group, const std::string& field, const std::string& parameter1,
                         const std::string& parameter2, const std::string& statistics1,
                         const std::string& statistics2, const py::object& value, int precision,
                         const std::string& unit) {
               CKORIControlValue r;
               r.SetGroup(CStr::FromUtf8(group));
               r.SetField(CStr::FromUtf8(field));
               r.SetParameter1(CStr::FromUtf8(parameter1));
               r.SetParameter2(CStr::FromUtf8(parameter2));
               if (!statistics1.empty()) r.SetStatistics1(CStr::FromUtf8(statistics1));
               if (!statistics2.empty()) r.SetStatistics2(CStr::FromUtf8(statistics2));
               SetValue(r, value);
               r.SetPrecision(precision);
               r.SetUnit(CStr::FromUtf8(unit));
               return r;
             }),
             py::kw_only(), py::arg("group") = "", py::arg("field") = "", py::arg("parameter1") = "",
             py::arg("parameter2") = "", py::arg("statistics1") = "", py::arg("statistics2") = "",
             py::arg("value") = py::none(), py::arg("precision") = 3, py::arg("unit") = "");
  TextProperty<&CKORIControlValue::GetGroup, &CKORIControlValue::SetGroup>(record, "group", "Result group, e.g. Roughness.");
  TextProperty<&CKORIControlValue::GetField, &CKORIControlValue::SetField>(record, "field", "Field of the group.");
  TextProperty<&CKORIControlValue::GetParameter1, &CKORIControlValue::SetParameter1>(record, "parameter1", "First parameter, e.g. Sa.");
  TextProperty<&CKORIControlValue::GetParameter2, &CKORIControlValue::SetParameter2>(record, "parameter2", "Second parameter.");
  TextProperty<&CKORIControlValue::GetStatistics1, &CKORIControlValue::SetStatistics1>(record, "statistics1", "Statistic over one image.");
  TextProperty<&CKORIControlValue::GetStatistics2, &CKORIControlValue::SetStatistics2>(record, "statistics2", "Statistic over the batch.");
  TextProperty<&CKORIControlValue::GetUnit, &CKORIControlValue::SetUnit>(record, "unit", "Unit shown after a number.");
  record.def_property("value", &GetValue, &SetValue,
                      "The value: int, float, str (text, message or char), pathlib.Path (picture) or None.");
  record.def_property("precision", &CKORIControlValue::GetPrecision, &CKORIControlValue::SetPrecision,
                      "Significant digits a float is shown with.");
  record.def_property_readonly("type", [](CKORIControlValue& r) { return TypeName(r.GetType()); },
                               "Kind of value: 'none', 'text', 'integer', 'float', 'char', 'picture', 'message', ...");
  record.def_property_readonly("display_text", [](CKORIControlValue& r) { return r.DisplayString().ToUtf8(); },
                               "The text a report shows for this value.");
  record.def("__str__", [](CKORIControlValue& r) { return r.DisplayString().ToUtf8(); });
  record.def("__repr__", [](CKORIControlValue& r) {
    return "<Record " + r.GetGroup().ToUtf8() + "/" + r.GetField().ToUtf8() + " " + TypeName(r.GetType()) + " " +
           py::repr(GetValue(r)).cast<std::string>() + ">";
  });
  record.def("pack", [](CKORIControlValue& r) { return r.Pack().ToUtf8(); },
             "The description as the packed \"KORI {\" text a template carries.");
  record.def_static(
      "unpack",
      [](const std::string& text) {
        CKORIControlValue r;
        CStr packed = CStr::FromUtf8(text);
        if (!r.Unpack(packed)) throw py::value_error("not a packed placeholder description");
        return r;
      },
      py::arg("text"), "The record a packed description describes; ValueError when it is not one.");
}

void BindPlaceholder(py::module_& m) {
  py::class_<SPlaceholder> c(m, "Placeholder", "A placeholder of a template, as render's callable and inspect() see it.");
  c.def_readonly("group", &SPlaceholder::group)
      .def_readonly("field", &SPlaceholder::field)
      .def_readonly("parameter1", &SPlaceholder::parameter1)
      .def_readonly("parameter2", &SPlaceholder::parameter2)
      .def_readonly("statistics1", &SPlaceholder::statistics1)
      .def_readonly("statistics2", &SPlaceholder::statistics2)
      .def_readonly("section", &SPlaceholder::section, "'preface', 'body' or 'summary'.")
      .def_readonly("measurement", &SPlaceholder::measurement, "The body pass's measurement (from 0), else None.")
      .def_readonly("description", &SPlaceholder::description, "'Group/Field(...)', as messages name it.")
      .def_readonly("index", &SPlaceholder::index, "inspect(): place in the template, from 0.")
      .def_readonly("location", &SPlaceholder::location, "inspect(): where it stands: 'main text', 'table cell', 'header', ...")
      .def_readonly("unit_options", &SPlaceholder::unitOptions, "0 number and unit, 1 number, 2 unit.")
      .def_readonly("picture_options", &SPlaceholder::pictureOptions,
                    "0 best fit, 1 fixed width, 2 fixed height, 3 stretch.")
      .def_readonly("width", &SPlaceholder::width)
      .def_readonly("height", &SPlaceholder::height)
      .def_readonly("written_as", &SPlaceholder::writtenAs,
                    "inspect(): the legacy description it was translated from, else None.")
      .def_readonly("outcome", &SPlaceholder::outcome,
                    "inspect(): 'ok', 'translated', 'field not supported', 'group not supported', ...")
      .def_readonly("asks_host", &SPlaceholder::asksHost, "False when Folio answers it itself.")
      .def("__repr__", &SPlaceholder::Repr)
      .def("__str__", [](const SPlaceholder& p) { return p.description; });
}

const char* const kRenderDoc = R"(Fill template with values and write report; returns the report's path.

values: a values file (path), a mapping of the same shape ({"values": [...],
  "measurements": [...]}), or a callable that receives a Placeholder and returns its
  value: None (no value), int, float, str, a path (picture), a Record, or a mapping
  with the keys of a values-file entry ({"float": 1.2, "precision": 4, "unit": "nm"}).
option: what to do with an existing report: 'replace', 'append' or 'auto'; None
  (the default) raises FileExistsError when the report exists.
measurements: body passes for a callable (default 1); a values file lists its own.
strict: raise MissingValueError, writing nothing, when a placeholder has no value;
  otherwise such a placeholder shows a message naming it, with a MissingValueWarning.

The render happens in a private folder beside the report, which takes the report's
place only when it succeeded: on any failure (folio.Error), or an exception raised
by the callable (passed on as it is), the existing report stays as it was.
)";

const char* const kInspectDoc = R"(The placeholders of template in document order, each a Placeholder
with its section, names, layout and what became of legacy names.)";

const char* const kAppendDoc = R"(Append the HTML report source to target (a copy of source when target
is missing); returns target's path. folio.Error when it cannot be done.)";

const char* const kToPdfDoc = R"(Write a PDF beside each report (same name, ".pdf"): HTML reports through
headless Chromium, Word reports through LibreOffice, each with a private profile and
timeout seconds allowed. One report gives its PDF's path; a list of reports is shared
among warm converters (workers, default one per core) and gives a list of paths.
folio.Error names every report that failed; an earlier PDF of it stays as it was.)";

const char* const kAppendPlaceholderDoc = R"(Append one placeholder, described by record, to the end of report.)";

}  // namespace FolioPython
