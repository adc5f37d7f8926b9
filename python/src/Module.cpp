// The _folio extension module: render, inspect, append and the record type. The folio
// package (folio/__init__.py) re-exports it.
#include <mutex>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include "Answers.h"
#include "Bindings.h"
#include "CMessageCollector.h"
#include "SPlaceholder.h"
#include "TemplateScan.h"
#include "ValuesFile.h"
#include "folio/platform/convert/CPdfConverterPool.h"
#include "folio/report/CFolio.h"
#include "folio/util/SystemUtils.h"

namespace py = pybind11;
namespace fs = std::filesystem;

namespace FolioPython {
namespace {

// Folio keeps process-wide state (the template cache, the windowing backend): one
// caller at a time. Taken only after the GIL is released, so a callable can take the GIL.
std::mutex& FolioLock() {
  static std::mutex lock;
  return lock;
}

std::optional<EReportOptions> ParseOption(const std::optional<std::string>& option) {
  if (!option) return std::nullopt;
  if (*option == "replace") return eUnconfirmedOverwrite;
  if (*option == "append") return eAppend;
  if (*option == "auto") return eAuto;
  throw py::value_error("option must be 'replace', 'append' or 'auto', not '" + *option + "'");
}

FolioCli::SValuesFile ValuesFrom(const py::handle& values) {
  try {
    if (py::isinstance(values, py::module_::import("collections.abc").attr("Mapping"))) {
      const std::string json = py::str(py::module_::import("json").attr("dumps")(values));
      return FolioCli::ParseValuesFile(json, fs::current_path(), "the values mapping");
    }
    return FolioCli::LoadValuesFile(py::str(py::module_::import("os").attr("fspath")(values)).cast<std::string>());
  } catch (const FolioCli::EValuesFile& e) {
    throw ValuesError(e.what());
  }
}

void Warn(const std::vector<std::string>& missing, const std::vector<std::string>& problems) {
  for (const std::string& problem : problems) PyErr_WarnEx(MissingValueWarning(), problem.c_str(), 2);
  for (const std::string& description : missing)
    PyErr_WarnEx(MissingValueWarning(), ("no value for " + description).c_str(), 2);
}

// Runs the render without the GIL (a callable takes it for each call).
fs::path RunRender(const SRenderRequest& request, IAnswers& answers) {
  py::gil_scoped_release release;
  const std::lock_guard<std::mutex> lock(FolioLock());
  return RenderStaged(request, answers);
}

fs::path Render(const fs::path& templatePath, const fs::path& report, const py::object& values,
                const std::optional<std::string>& option, std::optional<std::size_t> measurements, bool strict) {
  SRenderRequest request{templatePath, report, ParseOption(option), strict};
  if (values.is_none()) throw py::type_error("values is required: a values file, a mapping or a callable");
  if (py::isinstance<py::function>(values) || (py::hasattr(values, "__call__") && !py::isinstance<py::str>(values) &&
                                               !py::hasattr(values, "__fspath__") &&
                                               !py::hasattr(values, "keys"))) {
    if (measurements && *measurements == 0) throw py::value_error("measurements must be at least 1");
    CCallableAnswers answers(py::reinterpret_borrow<py::function>(values), measurements.value_or(1), report);
    fs::path written = RunRender(request, answers);
    answers.RethrowError();
    Warn(answers.Missing(), answers.Problems());
    return written;
  }
  if (measurements) throw py::type_error("measurements is only for a callable; a values file lists its own");
  CFileAnswers answers(ValuesFrom(values), report);
  fs::path written = RunRender(request, answers);
  Warn(answers.Missing(), answers.Problems());
  return written;
}

std::vector<SPlaceholder> Inspect(const fs::path& templatePath) {
  if (!fs::is_regular_file(templatePath))
    throw FileNotFound("the template \"" + templatePath.string() + "\" does not exist");
  std::optional<FolioCli::STemplateScan> scan;
  std::string error;
  {
    py::gil_scoped_release release;
    const std::lock_guard<std::mutex> lock(FolioLock());
    const CScopedWindowing windowing(std::make_shared<CMessageCollector>());
    scan = FolioCli::ScanTemplate(templatePath, error);
  }
  if (!scan) throw Error("the template \"" + templatePath.string() + "\" could not be read" + (error.empty() ? "" : ": " + error));
  std::vector<SPlaceholder> placeholders;
  placeholders.reserve(scan->placeholders.size());
  for (std::size_t i = 0; i < scan->placeholders.size(); ++i) placeholders.push_back(SPlaceholder::Of(scan->placeholders[i], i));
  return placeholders;
}

// Runs one CFolio operation without the GIL; its shown messages become the Error.
template <typename Operation>
void RunOperation(const char* what, Operation operation) {
  auto collector = std::make_shared<CMessageCollector>();
  bool done = false;
  CStr error;
  {
    py::gil_scoped_release release;
    const std::lock_guard<std::mutex> lock(FolioLock());
    const CScopedWindowing windowing(collector);
    CFolio folio;
    done = operation(folio);
    error = folio.GetError();
  }
  if (done) return;
  std::string text = collector->Messages();
  if (text.empty()) text = error.ToUtf8();
  throw Error(std::string(what) + (text.empty() ? "" : ": " + text));
}

fs::path Append(const fs::path& source, const fs::path& target) {
  if (!fs::is_regular_file(source)) throw FileNotFound("the report \"" + source.string() + "\" does not exist");
  const fs::path absolute = fs::absolute(target);
  RunOperation("cannot append the report", [&](CFolio& folio) {
    return folio.AppendToHtmlReport(SystemUtils::FromFsPath(fs::absolute(source)), SystemUtils::FromFsPath(absolute));
  });
  return absolute;
}

void AppendPlaceholder(const fs::path& report, const CKORIControlValue& record) {
  if (!fs::is_regular_file(report)) throw FileNotFound("the report \"" + report.string() + "\" does not exist");
  RunOperation("cannot add the placeholder", [&](CFolio& folio) {
    return folio.AppendKoriControl(SystemUtils::FromFsPath(fs::absolute(report)), record);
  });
}

// One report gives one path; several share the warm converters and give a list.
py::object ToPdf(const py::object& reports, int timeout, unsigned workers) {
  const bool one = py::isinstance<py::str>(reports) || py::hasattr(reports, "__fspath__");
  std::vector<fs::path> paths;
  if (one) paths.push_back(py::str(py::module_::import("os").attr("fspath")(reports)).cast<std::string>());
  else
    for (const py::handle item : reports) paths.push_back(py::str(py::module_::import("os").attr("fspath")(item)).cast<std::string>());
  for (const fs::path& path : paths)
    if (!fs::is_regular_file(path)) throw FileNotFound("the report \"" + path.string() + "\" does not exist");
  std::vector<SPdfConversion> conversions;
  {
    py::gil_scoped_release release;
    if (paths.size() == 1) {
      conversions.push_back(CPdfConverterPool::ConvertOne(paths.front(), timeout));
    } else if (!paths.empty()) {
      CPdfConverterPool pool(workers, timeout);
      conversions = pool.Convert(paths);
    }
  }
  std::string errors;
  py::list pdfs;
  for (const SPdfConversion& conversion : conversions) {
    if (!conversion.ok) errors += (errors.empty() ? "" : "\n") + conversion.error;
    pdfs.append(py::module_::import("pathlib").attr("Path")(conversion.pdf.string()));
  }
  if (!errors.empty()) throw Error(errors);
  return one ? pdfs[0] : py::object(pdfs);
}

}  // namespace
}  // namespace FolioPython

PYBIND11_MODULE(_folio, m) {
  using namespace FolioPython;
  m.doc() = "Folio: fills HTML and Word report templates with measurement values.";
  BindErrors(m);
  BindRecord(m);
  BindPlaceholder(m);
  m.def("render", &Render, py::arg("template"), py::arg("report"), py::kw_only(), py::arg("values"),
        py::arg("option") = py::none(), py::arg("measurements") = py::none(), py::arg("strict") = false,
        kRenderDoc);
  m.def("inspect", &Inspect, py::arg("template"), kInspectDoc);
  m.def("to_pdf", &ToPdf, py::arg("reports"), py::kw_only(), py::arg("timeout") = 60, py::arg("workers") = 0,
        kToPdfDoc);
  m.def("append", &Append, py::arg("source"), py::arg("target"), kAppendDoc);
  m.def("append_placeholder", &AppendPlaceholder, py::arg("report"), py::arg("record"), kAppendPlaceholderDoc);
}
