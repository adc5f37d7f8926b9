#include "RenderCommand.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>

#include "CValueAnswerer.h"
#include "CWorkFolder.h"
#include "ExitCodes.h"
#include "TemplateScan.h"
#include "ValuesFile.h"
#include "folio/util/SystemUtils.h"

namespace FolioCli {
namespace {

using SystemUtils::FromFsPath;

const char* PassName(ELivesheetProcessingType pass) {
  return pass == ePreface ? "preface" : pass == eBody ? "body" : "summary";
}

// Refuses an existing report when no option says what to do with it and nobody can be asked.
bool MayWriteReport(const SRenderRequest& request, const std::filesystem::path& report, std::ostream& err) {
  std::error_code ec;
  if (request.option || request.interactive || !std::filesystem::exists(report, ec)) return true;
  err << "folio: the report \"" << report.string() << "\" exists; say what to do with it:\n"
      << "  --option replace    write a new report in its place\n"
      << "  --option append     add this report to it\n"
      << "  --option auto       add to it, through a temporary report\n"
      << "  --option overwrite  ask first (needs a terminal)\n";
  return false;
}

class CRenderRun {
public:
  // Folio writes staged; the values still speak of the user's report.
  CRenderRun(const std::filesystem::path& templatePath, const SValuesFile& values, const std::filesystem::path& report,
             const std::filesystem::path& staged)
      : m_values(values),
        m_answerer(values, SRunFacts::ForReport(FromFsPath(report), values.BodyPassCount()), m_pictures) {
    std::error_code ec;
    m_folio.SetTemplate(FromFsPath(std::filesystem::absolute(templatePath, ec)));
    m_folio.SetReport(FromFsPath(staged));
    m_folio.SetGetValueCallback([this] { m_answerer.Answer(m_folio.GetKORIControlValue()); });
  }
  ~CRenderRun() { CFolio::ClearTemplateCache(); }

  // Runs every pass; the name of the pass that failed, or null.
  const char* Run(EReportOptions firstOption, bool& cancelled) {
    cancelled = false;
    if (!Pass(ePreface, 0, firstOption, cancelled)) return PassName(ePreface);
    for (std::size_t k = 0; k < m_values.BodyPassCount(); ++k)
      if (!Pass(eBody, k, eAppend, cancelled)) return PassName(eBody);
    if (!Pass(eSummary, 0, eAppend, cancelled)) return PassName(eSummary);
    return nullptr;
  }

  const CValueAnswerer& Answerer() const { return m_answerer; }
  CFolio& Folio() { return m_folio; }

private:
  bool Pass(ELivesheetProcessingType pass, std::size_t measurement, EReportOptions option, bool& cancelled) {
    m_folio.SetLivesheeterProcessingType(pass);
    m_folio.SetReportOptions(option);
    m_answerer.BeginPass(pass, measurement);
    std::error_code ec;
    const bool mayAsk = option == eOverwrite && std::filesystem::exists(SystemUtils::ToFsPath(m_folio.GetReport()), ec);
    bool ok = true;
    // A progress bar only where someone can see it: its texts cost a format per placeholder.
    const bool done = m_folio.Activate(ok, ::isatty(STDERR_FILENO) == 1);
    // A question answered Cancel leaves the option as it was.
    if (!done && !ok && mayAsk && m_folio.GetReportOptions() == eOverwrite) cancelled = true;
    return done;
  }

  const SValuesFile& m_values;
  CPictureCopies m_pictures;
  CValueAnswerer m_answerer;
  CFolio m_folio;
};

// The user's report must be writable before any work is done: it is replaced only at the end.
bool ReportIsWritable(const std::filesystem::path& report, std::ostream& err) {
  std::error_code ec;
  const bool exists = std::filesystem::exists(report, ec);
  if (SystemUtils::TestWriteAccess(exists, FromFsPath(exists ? report : report.parent_path()))) return true;
  err << "folio: the report \"" << report.string() << "\" cannot be written"
      << (exists ? " (the file or its folder is read-only)" : " (its folder is read-only)") << "\n";
  return false;
}

// A binary Word file costs LibreOffice seconds at every open and save, and a run opens
// and saves at every pass: the passes work on Office Open XML, converted once each way.
bool IsBinaryWord(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".doc";
}

std::filesystem::path AsOpenXml(const std::filesystem::path& folder, const std::filesystem::path& file) {
  return folder / file.filename().replace_extension(".docx");
}

bool ConvertWord(const std::filesystem::path& from, const std::filesystem::path& to, const std::string& what,
                 std::ostream& err) {
  CStr error;
  if (CFolio::ConvertWordDocument(FromFsPath(from), FromFsPath(to), error)) return true;
  err << "folio: " << what << " \"" << from.string() << "\" could not be converted: " << error.ToUtf8() << "\n";
  return false;
}

// The staged report is flushed to disk before it replaces the user's report, so that a
// crash leaves the old report or the new one whole; a new report has nothing to lose.
void FlushBeforeReplacing(const std::filesystem::path& staged, const std::filesystem::path& report) {
  std::error_code ec;
  if (!std::filesystem::exists(report, ec)) return;
  const int fd = ::open(staged.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Every pass writes a private copy; appending (and asking) starts from the user's report.
bool StageReport(const std::filesystem::path& report, const std::filesystem::path& staged, EReportOptions option,
                 std::ostream& err) {
  std::error_code ec;
  if (option == eUnconfirmedOverwrite || !std::filesystem::exists(report, ec)) return true;
  if (IsBinaryWord(report)) return ConvertWord(report, staged, "the report", err);
  if (SystemUtils::FileOperationWithCompanion(FromFsPath(report), FromFsPath(staged), SystemUtils::eCopy)) return true;
  err << "folio: the report \"" << report.string() << "\" could not be read to add to it\n";
  return false;
}

}  // namespace

std::optional<EReportOptions> ParseReportOption(const std::string& name) {
  if (name == "auto") return eAuto;
  if (name == "overwrite") return eOverwrite;
  if (name == "replace") return eUnconfirmedOverwrite;
  if (name == "append") return eAppend;
  return std::nullopt;
}

std::filesystem::path DefaultReportPath(const std::filesystem::path& templatePath) {
  return templatePath.stem().string() + "-report" + templatePath.extension().string();
}

int RunRender(const SRenderRequest& request, std::ostream& out, std::ostream& err) {
  SValuesFile values;
  try {
    values = LoadValuesFile(request.valuesPath, request.pictureFolders);
  } catch (const EValuesFile& e) {
    err << "folio: " << e.what() << "\n";
    return eExitUsage;
  }
  std::error_code ec;
  const std::filesystem::path report = std::filesystem::absolute(
      request.reportPath.empty() ? DefaultReportPath(request.templatePath) : request.reportPath, ec);
  if (!MayWriteReport(request, report, err)) return eExitUsage;
  // Without a given option a new report is written directly, and an existing one is
  // only overwritten after the user agreed (MayWriteReport made sure someone can be asked).
  const EReportOptions option = request.option.value_or(eOverwrite);

  // --strict checks every placeholder before anything is written.
  if (request.strict) {
    std::string error;
    const std::optional<STemplateScan> scan = ScanTemplate(request.templatePath, error);
    if (!scan) {
      err << "folio: the template \"" << request.templatePath.string() << "\" could not be read: " << error << "\n";
      return eExitReportFailed;
    }
    std::size_t errors = 0;
    for (const STemplateProblem& problem : scan->model->Problems()) {
      if (!problem.error) continue;
      err << "folio: error: " << problem.id << " at " << problem.where.ToUtf8() << ": " << problem.what.ToUtf8()
          << " (" << problem.todo.ToUtf8() << ")\n";
      ++errors;
    }
    for (const std::string& problem : PicturesThatAreNone(values)) {
      err << "folio: error: " << problem << "\n";
      ++errors;
    }
    const std::vector<std::string> missing = FindUnanswered(scan->placeholders, values);
    for (const std::string& description : missing) err << "folio: error: no value for " << description << "\n";
    if (errors + missing.size() > 0) {
      err << "folio: --strict: nothing was written\n";
      return eExitReportFailed;
    }
  }

  // A new report may go into a new folder.
  if (std::filesystem::create_directories(report.parent_path(), ec); ec) {
    err << "folio: cannot create the folder \"" << report.parent_path().string() << "\": " << ec.message() << "\n";
    return eExitReportFailed;
  }

  if (!ReportIsWritable(report, err)) return eExitReportFailed;
  const CWorkFolder work;
  if (work.Path().empty()) {
    err << "folio: no private temporary folder could be made; nothing was written\n";
    return eExitReportFailed;
  }
  const std::filesystem::path stagedFolder = work.Path() / "report";
  const std::filesystem::path staged = IsBinaryWord(report) ? AsOpenXml(stagedFolder, report) : stagedFolder / report.filename();
  if (!std::filesystem::create_directory(stagedFolder, ec) || !StageReport(report, staged, option, err))
    return eExitReportFailed;
  std::filesystem::path templatePath = request.templatePath;
  if (IsBinaryWord(templatePath)) {
    templatePath = AsOpenXml(work.Path(), templatePath);
    if (!ConvertWord(request.templatePath, templatePath, "the template", err)) return eExitReportFailed;
  }
  CRenderRun run(templatePath, values, report, staged);
  bool cancelled = false;
  if (const char* failedPass = run.Run(option, cancelled)) {
    if (cancelled) {
      err << "folio: the report \"" << report.string() << "\" was left as it was"
          << (request.interactive ? "" : " (nobody to ask without a terminal)")
          << "; use --option replace to overwrite it or --option append to add to it\n";
    } else {
      // The engine's message may not say which file it read: name the template too.
      err << "folio: the report \"" << report.string() << "\" could not be written from the template \""
          << request.templatePath.string() << "\" (" << failedPass << " pass)";
      if (!run.Folio().GetError().IsEmpty()) err << ": " << run.Folio().GetError().ToUtf8();
      err << "\n";
    }
    return eExitReportFailed;
  }
  // Only a report whose every pass succeeded takes the place of the user's.
  const std::filesystem::path finished = stagedFolder / report.filename();
  if (finished != staged && !ConvertWord(staged, finished, "the finished report", err)) return eExitReportFailed;
  FlushBeforeReplacing(finished, report);
  if (!SystemUtils::FileOperationWithCompanion(FromFsPath(finished), FromFsPath(report), SystemUtils::eMove)) {
    err << "folio: the report \"" << report.string() << "\" could not be put in place\n";
    return eExitReportFailed;
  }
  for (const std::string& problem : run.Answerer().Problems()) err << "folio: " << problem << "\n";
  for (const std::string& missing : run.Answerer().Missing())
    err << "folio: " << (request.strict ? "error" : "warning") << ": no value for " << missing << "\n";
  if (request.strict && !(run.Answerer().Missing().empty() && run.Answerer().Problems().empty())) {
    err << "folio: --strict: the report \"" << report.string() << "\" is incomplete\n";
    return eExitReportFailed;
  }
  out << report.string() << "\n";
  return eExitOk;
}

}  // namespace FolioCli
