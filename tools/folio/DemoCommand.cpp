#include "DemoCommand.h"

#include <cstdlib>
#include <sstream>

#include "ExitCodes.h"
#include "RenderCommand.h"

namespace FolioCli {
namespace {

struct SExample {
  const char* templateName;
  const char* valuesName;
  const char* reportName;
  const char* about;
};

constexpr SExample kExamples[] = {
    {"surface-report.htm", "measurements.json", "surface-report.htm",
     "sectioned report: preface, one body per measurement (3), summary"},
    {"one-page.html", "one-page.json", "one-page.html", "one-page report from a UTF-8 template"},
    {"surface-report.docx", "measurements.json", "surface-report-word.docx",
     "the same sectioned report from a Word template (header, tables, a text box, legacy controls)"},
};

bool HasExamples(const std::filesystem::path& folder) {
  std::error_code ec;
  return !folder.empty() && std::filesystem::is_regular_file(folder / kExamples[0].templateName, ec);
}

// An earlier demo's report and its companion folder; nothing else in the folder.
void RemoveEarlierReport(const std::filesystem::path& report) {
  std::error_code ec;
  std::filesystem::remove(report, ec);
  std::filesystem::remove_all(report.parent_path() / (report.stem().string() + "_files"), ec);
}

}  // namespace

std::filesystem::path FindExamples(const std::filesystem::path& executable) {
  if (const char* given = std::getenv("FOLIO_EXAMPLES"); given && *given) return given;
  // An installed command uses its own examples, even where the source tree still exists.
  std::error_code ec;
  // argv[0] is a bare name when the command was found on PATH; the kernel knows the file.
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) program = std::filesystem::canonical(executable, ec);
  const std::filesystem::path installed = program.parent_path().parent_path() / "share/folio/examples";
  if (HasExamples(installed)) return installed;
#ifdef FOLIO_EXAMPLES_DIR
  if (HasExamples(FOLIO_EXAMPLES_DIR)) return FOLIO_EXAMPLES_DIR;
#endif
  return std::filesystem::path();
}

int RunDemo(const std::filesystem::path& examples, const std::filesystem::path& outFolder, std::ostream& out,
            std::ostream& err) {
  if (!HasExamples(examples)) {
    err << "folio: the bundled examples were not found"
        << (examples.empty() ? "" : " in \"" + examples.string() + "\"")
        << "; set FOLIO_EXAMPLES to their folder\n";
    return eExitUsage;
  }
  std::error_code ec;
  std::filesystem::create_directories(outFolder, ec);
  const std::filesystem::path folder = std::filesystem::absolute(outFolder, ec);
  std::ostringstream written;
  for (const SExample& example : kExamples) {
    SRenderRequest request;
    request.templatePath = examples / example.templateName;
    request.valuesPath = examples / example.valuesName;
    request.reportPath = folder / example.reportName;
    request.option = eUnconfirmedOverwrite;
    RemoveEarlierReport(request.reportPath);
    std::ostringstream path;
    if (const int status = RunRender(request, path, err); status != eExitOk) {
      err << "folio: demo: \"" << example.templateName << "\" failed\n";
      return status;
    }
    written << "  " << request.reportPath.string() << "\n      " << example.about << "\n";
  }
  out << "Reports written to " << folder.string() << "/:\n"
      << written.str() << "Open them in a browser or a word processor, for example: xdg-open "
      << (folder / kExamples[0].reportName).string() << "\n";
  return eExitOk;
}

}  // namespace FolioCli
