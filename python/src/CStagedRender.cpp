#include "CStagedRender.h"

#include <cstdlib>

#include "CMessageCollector.h"
#include "folio/util/SystemUtils.h"

namespace FolioPython {
namespace {

namespace fs = std::filesystem;
using SystemUtils::FromFsPath;

fs::path Companion(const fs::path& report) { return report.parent_path() / (report.stem().string() + "_files"); }

std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

// A private folder beside the report (so that the finished report moves in with one
// rename), removed with everything left in it.
class CStage {
public:
  explicit CStage(const fs::path& folder) {
    std::string pattern = (folder / ".folio-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
      throw ERender(ERender::EKind::eFailed, "cannot create a private folder in " + Quoted(folder));
    m_path = pattern;
  }
  ~CStage() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
  }
  CStage(const CStage&) = delete;
  CStage& operator=(const CStage&) = delete;
  const fs::path& Path() const { return m_path; }

private:
  fs::path m_path;
};

void CopyReport(const fs::path& from, const fs::path& to) {
  std::error_code ec, probe;
  fs::copy_file(from, to, ec);
  if (!ec && fs::is_directory(Companion(from), probe)) fs::copy(Companion(from), Companion(to), fs::copy_options::recursive, ec);
  if (ec) throw ERender(ERender::EKind::eFailed, "cannot copy the report " + Quoted(from) + ": " + ec.message());
}

// The staged report and its companion folder take the report's place; the report file
// itself is replaced last, in one rename.
void Commit(const fs::path& staged, const fs::path& report, const fs::path& stage) {
  std::error_code probe, ec;  // a failed probe (no such folder) is an answer, not an error
  if (fs::is_directory(Companion(staged), probe)) {
    if (fs::exists(Companion(report), probe)) fs::rename(Companion(report), stage / "previous_files", ec);
    if (!ec) fs::rename(Companion(staged), Companion(report), ec);
  }
  if (!ec) fs::rename(staged, report, ec);
  if (ec) throw ERender(ERender::EKind::eFailed, "cannot move the report into " + Quoted(report) + ": " + ec.message());
}

const char* PassName(ELivesheetProcessingType pass) {
  return pass == ePreface ? "preface" : pass == eBody ? "body" : "summary";
}

// Runs every pass into staged; the pass that failed, or null.
const char* RunPasses(CFolio& folio, IAnswers& answers, EReportOptions firstOption) {
  auto pass = [&](ELivesheetProcessingType type, std::size_t measurement, EReportOptions option) {
    folio.SetLivesheeterProcessingType(type);
    folio.SetReportOptions(option);
    answers.BeginPass(type, measurement);
    bool ok = true;
    return folio.Activate(ok, false) && ok && !answers.Stopped();
  };
  if (!pass(ePreface, 0, firstOption)) return PassName(ePreface);
  for (std::size_t k = 0; k < answers.BodyPassCount(); ++k)
    if (!pass(eBody, k, eAppend)) return PassName(eBody);
  if (!pass(eSummary, 0, eAppend)) return PassName(eSummary);
  return nullptr;
}

}  // namespace

fs::path RenderStaged(const SRenderRequest& request, IAnswers& answers) {
  std::error_code ec;
  const fs::path templatePath = fs::absolute(request.templatePath, ec);
  if (!fs::is_regular_file(templatePath, ec))
    throw ERender(ERender::EKind::eTemplateMissing, "the template " + Quoted(request.templatePath) + " does not exist");
  const fs::path report = fs::absolute(request.reportPath, ec);
  const bool exists = fs::exists(report, ec);
  if (exists && !request.option)
    throw ERender(ERender::EKind::eReportExists,
                  "the report " + Quoted(report) + " exists; pass option='replace', 'append' or 'auto'");
  fs::create_directories(report.parent_path(), ec);

  const CStage stage(report.parent_path());
  const fs::path staged = stage.Path() / report.filename();
  const bool adding = exists && (request.option == eAppend || request.option == eAuto);
  if (adding) CopyReport(report, staged);

  auto collector = std::make_shared<CMessageCollector>();
  const CScopedWindowing windowing(collector);
  const char* failedPass = nullptr;
  CStr error;
  {
    CFolio folio;
    folio.SetTemplate(FromFsPath(templatePath));
    folio.SetReport(FromFsPath(staged));
    folio.SetGetValueCallback([&folio, &answers] { answers.Answer(folio.GetKORIControlValue()); });
    failedPass = RunPasses(folio, answers, adding ? eAppend : eUnconfirmedOverwrite);
    error = folio.GetError();
    CFolio::ClearTemplateCache();
  }
  if (answers.Stopped()) return fs::path();
  if (failedPass) {
    std::string text = "the report " + Quoted(report) + " could not be written (" + failedPass + " pass)";
    const std::string messages = collector->Messages();
    if (!messages.empty()) text += ": " + messages;
    else if (!error.IsEmpty()) text += ": " + error.ToUtf8();
    throw ERender(ERender::EKind::eFailed, text);
  }
  if (request.strict && !answers.Missing().empty()) {
    std::string text = "nothing was written: no value for";
    for (const std::string& missing : answers.Missing()) text += "\n  " + missing;
    throw ERender(ERender::EKind::eIncomplete, text);
  }
  Commit(staged, report, stage.Path());
  return report;
}

}  // namespace FolioPython
