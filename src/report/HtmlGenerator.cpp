// The HTML generator: makes sure the template has been read once into the cache, then
// runs the pass of the reporter's section over it.
#include "folio/html/CHTMLEventHandler.h"
#include "folio/report/CFolio.h"
#include "folio/util/StringTable.h"
#include "folio/util/SystemUtils.h"
#include "platform/fs/CPrivateFolder.h"
#include "platform/fs/CSafeFileWriter.h"
#include "report/HtmlGenerator.h"
#include "report/HtmlSectionAppend.h"
#include "report/HtmlWriting.h"
#include "report/ReportRun.h"
#include "report/TemplateCache.h"
#include "report/TemplateReaders.h"
#include "report/UnicodeText.h"

using namespace SystemUtils;

namespace {

// The temporary copy is UTF-16 with the mark whatever the template was, so that every
// position the reader reports is a position in the copy. The text written is the text
// the passes read: reading the copy back would give the same characters again.
bool MakeTemplateCopy(const CStr& templatePath, const CStr& copy, CStr& text) {
  if (!ReadReportText(templatePath, text) || PathExists(copy)) return false;
  CBasic_OFStream out(copy);
  out << text.View();
  return out.Close();
}

CStr Formatted(unsigned id, const CStr& path) { return CStr::DoStringFormat(LoadResourceString(id), path); }

// Reads the template afresh into a new cache entry; a failure names what went wrong.
ReportOutcome ReadIntoCache(SReportRun& run) {
  run.folio.ShowProgress(LoadResourceString(eStrInitializing), 0);
  const CStr copy = PrivateTempName(u"TemplateCopy", u".htm");
  // Read once, for every pass.
  auto text = std::make_shared<CStr>();
  if (!MakeTemplateCopy(run.templatePath, copy, *text))
    return Failed(Formatted(eStrErrorAccessingTemplate, run.templatePath));
  run.folio.ShowProgress(LoadResourceString(eStrOpeningTemplate), 0);
  STemplateCacheEntry entry{nullptr, copy, text, 0};
  {
    CHTMLEventHandler collector;
    entry.bodyEnd = FindHtmlBody(text->View(), &collector).end.value_or(0);
    entry.model = std::make_shared<const CTemplateModel>(HtmlTemplateModel(collector));
  }
  TemplateCache()[run.templatePath] = std::move(entry);
  return Succeeded();
}

void ForgetTemplate(const CStr& templatePath) {
  auto& cache = TemplateCache();
  const auto failed = cache.find(templatePath);
  if (failed == cache.end()) return;
  RemoveFile(failed->second.templateCopy);
  cache.erase(failed);
}

}  // namespace

bool HtmlPassHasWork(const CStr& templatePath, ELivesheetProcessingType pass) {
  if (pass == eBody) return true;
  const auto entry = TemplateCache().find(templatePath);
  return entry != TemplateCache().end() && entry->second.model->HasSectionTag(static_cast<ETemplateSection>(pass));
}

// A cached template that fails is read afresh and tried once more; the user hears
// only of the last attempt.
ReportOutcome GenerateHtml(SReportRun& run) {
  run.folio.ShowProgress(LoadResourceString(eStrInitializing), 0);
  ReportOutcome outcome = Failed();
  if (TemplateCache().count(run.templatePath)) outcome = RunHtmlPass(run);
  if (outcome) {
    if (ReportOutcome unread = ReadIntoCache(run)) {
      run.folio.DestroyProgressDialog();
      return unread;
    }
    outcome = RunHtmlPass(run);
    if (outcome) {
      RemoveFile(run.output);
      ForgetTemplate(run.templatePath);
    }
  }
  run.folio.ShowProgress(LoadResourceString(eStrCleaningUp), 0);
  if (run.pass == eSummary || outcome) {
    // The report is complete or in doubt: what was kept of it, and its twin, go.
    ForgetAppendedReport(run.reportPath);
    run.folio.DestroyProgressDialog();
  }
  return outcome;
}

bool CFolio::HasSectionTag(ELivesheetProcessingType type) { return HtmlPassHasWork(m_template, type); }

bool CFolio::ActivateHTML(CStr const& output) {
  SReportRun run = MakeRun(output);
  const ReportOutcome outcome = GenerateHtml(run);
  TellUser(outcome);
  return !outcome;
}

bool CFolio::ProcessHTMLTemplate(CStr const& output) {
  SReportRun run = MakeRun(output);
  const ReportOutcome outcome = RunHtmlPass(run);
  TellUser(outcome);
  return !outcome;
}
