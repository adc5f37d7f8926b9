// The Word generator: opens a copy of the template in the shared Word application,
// cuts it down to the pass's section, fills every placeholder and saves the report.
#include "report/WordGenerator.h"

#include <filesystem>

#include "folio/platform/ui/IWindowing.h"
#include "folio/report/CFolio.h"
#include "folio/util/CDiagnostics.h"
#include "folio/util/EBase.h"
#include "folio/util/StringTable.h"
#include "folio/util/SystemUtils.h"
#include "platform/com/CComError.h"
#include "platform/fs/CPrivateFolder.h"
#include "platform/fs/CSafeFileWriter.h"
#include "platform/fs/FileFaults.h"
#include "platform/word/om/CWordAutomation.h"
#include "report/WordRun.h"

using namespace SystemUtils;

namespace {

CStr Formatted(unsigned id, const CStr& path) { return CStr::DoStringFormat(LoadResourceString(id), path); }

// Copies a file to a name that must not exist yet.
bool CopyToNewFile(const CStr& from, const CStr& to) {
  if (FileFaults::Hit(EFileStep::eCopy)) return false;
  std::error_code ec;
  return std::filesystem::copy_file(ToFsPath(from), ToFsPath(to), std::filesystem::copy_options::none, ec) && !ec;
}

// ".docx" when the report's name ends so exactly (letter case counts), else ".doc".
CStr WordExtension(const CStr& path) { return GetExtension(path) == u".docx" ? CStr(u".docx") : CStr(u".doc"); }

// Phases 4 to 13: open, cut, fill, save, close, and hand the result to the report.
ReportOutcome FillDocument(SWordRun& word, const CStr& templateCopy) {
  SReportRun& run = word.run;
  run.folio.ShowProgress(LoadResourceString(eStrOpeningTemplate), 10);
  word.doc = WordAppend::OpenHidden(*word.app->Documents(), templateCopy);
  WordAppend::Trace(u"Counting KORIControls\n");
  word.total = word.doc->InlineShapes()->Count() + word.doc->Shapes()->Count();
  CutSection(word);
  if (word.discard) {
    WordAppend::Trace(u"Closing document (ignored)\n");
    run.folio.ShowProgress(LoadResourceString(eStrCleaningUp), 99);
    WordAppend::CloseUnsaved(*word.doc);
    return Succeeded();
  }
  WordAppend::Trace(u"Processing ActiveDocument controls\n");
  MainTextPass(word);
  TextBoxPass(word);
  WordAppend::Trace(u"Postprocessing document\n");
  WordAppend::SettleEnd(*word.app, *word.doc);
  WordAppend::Trace(u"Saving document\n");
  run.folio.ShowProgress(LoadResourceString(eStrSavingReport), 90);
  WordAppend::SaveUnder(*word.doc, run.output);
  WordAppend::Trace(u"Closing document\n");
  run.folio.ShowProgress(LoadResourceString(eStrCleaningUp), 99);
  WordAppend::CloseUnsaved(*word.doc);

  const bool reportExists = PathExists(run.reportPath);
  if (!reportExists && run.option != eAppend) {
    if (!CopyToNewFile(run.output, run.reportPath)) return Failed(Formatted(eStrErrorAccessingTemplate, run.output));
  } else if (run.option == eAppend && reportExists) {
    WordAppend::MergeIntoReport(*word.app, run.reportPath, run.output, {run.record, run.getValue, run.results});
  }
  return Succeeded();
}

// A failed Word call ends the run; its text is traced and becomes the user's message.
ReportOutcome FillCatchingErrors(SWordRun& word, const CStr& templateCopy) {
  try {
    return FillDocument(word, templateCopy);
  } catch (const CComError& e) {
    const CStr text = WordAppend::ComErrorText(e);
    WordAppend::Trace(u"_com_error exception caught: " + text + u"\n");
    return Failed(text);
  } catch (const EBase& e) {
    const CStr text = e.GetMessage().Left(255);
    WordAppend::Trace(u"COleException exception caught: " + text + u"\n");
    return Failed(text);
  } catch (const std::exception& e) {
    const CStr text = CStr::FromUtf8(e.what()).Left(255);
    WordAppend::Trace(u"COleDispatchException exception caught: " + text + u"\n");
    return Failed(text);
  }
}

// Nothing of a failed run stays behind: the document is closed (nothing holds it
// open here, unlike a real Word), its copy and the run's own output are removed.
void CleanUpAfterFailure(SWordRun& word, const CStr& templateCopy) {
  if (word.doc) {
    try {
      WordAppend::CloseUnsaved(*word.doc);
    } catch (const CComError&) {
    }
  }
  RemoveFile(templateCopy);
  if (word.run.output != word.run.reportPath) RemoveFile(word.run.output);
}

}  // namespace

ReportOutcome GenerateWord(SReportRun& run) {
  WordAppend::Trace(u"Creating Word Application\n");
  run.folio.ShowProgress(LoadResourceString(eStrInitializing), 0);
  const CStr templateCopy =
      PrivateTempName(u"TemplateCopy", WordExtension(run.reportPath));
  if (!CopyToNewFile(run.templatePath, templateCopy)) {
    run.folio.DestroyProgressDialog();
    return Failed(Formatted(eStrErrorAccessingTemplate, run.templatePath));
  }
  if (!CWordAutomation::IsWordRunning()) {
    std::shared_ptr<IWordApplication> app;
    const HRESULT hr = CWordAutomation::StartWordApplication(app);
    if (FAILED(hr)) {
      RemoveFile(templateCopy);
      run.folio.DestroyProgressDialog();
      return Failed(CStr::DoStringFormat(LoadResourceString(eStrErrorAccessingWord), static_cast<unsigned>(hr)));
    }
    CWordAutomation::SetSharedApplication(app);
    WordAppend::Trace(u"Creating Word document\n");
  }

  SWordRun word{run, CWordAutomation::SharedApplication(), nullptr};
  const ReportOutcome outcome = FillCatchingErrors(word, templateCopy);
  if (outcome) CleanUpAfterFailure(word, templateCopy);
  WordAppend::Trace(u"Releasing Word objects\n");
  word.doc.reset();
  WordAppend::Trace(u"Deleting temp file\n");
  RemoveFile(templateCopy);
  run.folio.DestroyProgressDialog();
  WordAppend::Trace(u"All Done\n");
  if (outcome) CWordAutomation::ReInitializeCOM();
  return outcome;
}

bool CFolio::ActivateWord(CStr const& output) {
  SReportRun run = MakeRun(output);
  const ReportOutcome outcome = GenerateWord(run);
  TellUser(outcome);
  return !outcome;
}
