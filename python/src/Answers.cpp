#include "Answers.h"

#include <algorithm>

#include "Bindings.h"
#include "SPlaceholder.h"
#include "ValuesFile.h"
#include "folio/util/SystemUtils.h"

namespace py = pybind11;

namespace FolioPython {
namespace {

using FolioCli::SPlaceholderKey;
using SystemUtils::FromFsPath;

// Section tags are recognised by their field, whatever their group, as the command line does.
bool AnswerSectionTag(const SPlaceholderKey& key, CKORIControlValue& record) {
  if (key.field == u"PrefaceEnd") record.SetType(CKORIControlValue::ePrefaceEnd);
  else if (key.field == u"SummaryBegin") record.SetType(CKORIControlValue::eSummaryBegin);
  else return false;
  return true;
}

const char* PassSection(ELivesheetProcessingType pass) {
  return pass == ePreface ? "preface" : pass == eBody ? "body" : "summary";
}

}  // namespace

CFileAnswers::CFileAnswers(FolioCli::SValuesFile values, const std::filesystem::path& report)
    : m_values(std::move(values)),
      m_answerer(m_values, FolioCli::SRunFacts::ForReport(FromFsPath(report), m_values.BodyPassCount()),
                 m_pictures) {}

CCallableAnswers::CCallableAnswers(py::function callable, std::size_t measurements,
                                   const std::filesystem::path& report)
    : m_callable(std::move(callable)),
      m_measurements(measurements),
      m_facts(FolioCli::SRunFacts::ForReport(FromFsPath(report), measurements)) {}

// The callable and a kept exception hold Python references: let go of them under the GIL.
CCallableAnswers::~CCallableAnswers() {
  py::gil_scoped_acquire gil;
  m_error.reset();
  m_callable = py::function();
}

void CCallableAnswers::BeginPass(ELivesheetProcessingType pass, std::size_t measurement) {
  m_pass = pass;
  m_measurement = measurement;
  m_facts.batchIndex = pass == eBody ? static_cast<std::int32_t>(measurement + 1)
                       : pass == ePreface ? 1 : m_facts.batchCount;
}

void CCallableAnswers::Answer(CKORIControlValue& record) {
  const SPlaceholderKey key = SPlaceholderKey::Of(record);
  if (AnswerSectionTag(key, record)) return;
  if (m_error) {  // abandoned: nothing more is asked
    record.SetType(CKORIControlValue::eNone);
    return;
  }
  {
    py::gil_scoped_acquire gil;
    try {
      SPlaceholder placeholder = SPlaceholder::Of(key);
      placeholder.section = PassSection(m_pass);
      if (m_pass == eBody) placeholder.measurement = m_measurement;
      if (Apply(m_callable(placeholder), record)) return;
    } catch (py::error_already_set& e) {
      m_error.emplace(std::move(e));
    } catch (py::builtin_exception& e) {
      e.set_error();
      m_error.emplace();
    } catch (const std::exception& e) {
      PyErr_SetString(PyExc_TypeError, ("the value for " + key.Describe() + ": " + e.what()).c_str());
      m_error.emplace();
    }
  }
  if (m_error) {
    record.SetType(CKORIControlValue::eNone);
    return;
  }
  if (FolioCli::ApplyComputedValue(key, m_facts, record)) return;
  const std::string description = key.Describe();
  record.SetType(CKORIControlValue::eMessage);
  record.SetMessage(CStr::FromUtf8("[no value for " + description + "]"));
  if (std::find(m_missing.begin(), m_missing.end(), description) == m_missing.end())
    m_missing.push_back(description);
}

// A plain Python value, a Record, or a mapping with the keys of a values-file entry;
// false for None (no value).
bool CCallableAnswers::Apply(const py::handle& result, CKORIControlValue& record) {
  if (result.is_none()) return false;
  if (py::isinstance<py::bool_>(result))
    throw py::type_error("a placeholder's value cannot be a bool; give an int or a str");
  if (py::isinstance<py::int_>(result)) {
    record.SetType(CKORIControlValue::eInteger);
    record.SetInteger(result.cast<std::int32_t>());
  } else if (py::isinstance<py::float_>(result)) {
    record.SetType(CKORIControlValue::eFloat);
    record.SetFloat(result.cast<double>());
  } else if (py::isinstance<py::str>(result)) {
    record.SetType(CKORIControlValue::eText);
    record.SetText(CStr::FromUtf8(result.cast<std::string>()));
  } else if (py::hasattr(result, "__fspath__")) {
    const std::filesystem::path original = py::str(py::module_::import("os").attr("fspath")(result)).cast<std::string>();
    const auto copy = m_pictures.Copy(original);
    if (!copy) throw py::value_error("cannot use the picture \"" + original.string() + "\"");
    record.SetType(CKORIControlValue::ePicture);
    record.SetFilename(FromFsPath(*copy));
  } else if (py::isinstance<CKORIControlValue>(result)) {
    CKORIControlValue& given = result.cast<CKORIControlValue&>();
    if (given.GetType() == CKORIControlValue::ePicture)
      return Apply(py::module_::import("pathlib").attr("Path")(given.GetFilename().ToUtf8()), record);
    record.SetType(given.GetType());
    record.SetText(given.GetText());
    record.SetInteger(given.GetInteger());
    record.SetFloat(given.GetFloat());
    record.SetPrecision(given.GetPrecision());
    record.SetUnit(given.GetUnit());
    record.SetChar(given.GetChar());
    record.SetMessage(given.GetMessage());
  } else if (py::isinstance(result, py::module_::import("collections.abc").attr("Mapping"))) {
    return ApplyMapping(result, record);
  } else {
    throw py::type_error("a placeholder's value must be None, int, float, str, a path, a Record or a mapping, not " +
                         py::str(py::type::of(result).attr("__name__")).cast<std::string>());
  }
  return true;
}

// The mapping is read as one values-file entry, with the same keys and the same checks.
bool CCallableAnswers::ApplyMapping(const py::handle& mapping, CKORIControlValue& record) {
  const SPlaceholderKey key = SPlaceholderKey::Of(record);
  py::dict entry = py::dict(py::reinterpret_borrow<py::object>(mapping));
  entry["group"] = key.group.ToUtf8();
  entry["field"] = key.field.ToUtf8();
  py::dict file;
  file["values"] = py::make_tuple(entry);
  const std::string json = py::str(py::module_::import("json").attr("dumps")(file));
  FolioCli::SValuesFile values;
  try {
    values = FolioCli::ParseValuesFile(json, std::filesystem::current_path(), "the value for " + key.Describe());
  } catch (const FolioCli::EValuesFile& e) {
    PyErr_SetString(ValuesErrorType(), e.what());
    throw py::error_already_set();
  }
  FolioCli::CValueAnswerer answerer(values, m_facts, m_pictures);
  answerer.Answer(record);
  if (!answerer.Problems().empty()) throw py::value_error(answerer.Problems().front());
  return true;
}

void CCallableAnswers::RethrowError() {
  if (!m_error) return;
  py::error_already_set error = std::move(*m_error);
  m_error.reset();
  throw error;
}

}  // namespace FolioPython
