// Activate: checks its inputs, settles where the report is written, asks before an
// existing report is overwritten, and hands over to the generator of the format.
#include <filesystem>

#include "folio/platform/ui/IWindowing.h"
#include "folio/report/CFolio.h"
#include "folio/util/StringTable.h"
#include "folio/util/SystemUtils.h"
#include "platform/fs/CPrivateFolder.h"
#include "platform/fs/CSafeFileWriter.h"
#include "report/HtmlGenerator.h"
#include "report/ReportRun.h"
#include "report/WordGenerator.h"

namespace {

using namespace SystemUtils;

CStr Formatted(unsigned id, const CStr& path) {
  return CStr::DoStringFormat(LoadResourceString(id), path);
}

// Temporary output in the process's private folder; empty when there is none, which the
// write probe then refuses.
CStr TemporaryOutput(const char16_t* stem, ELivesheetFormat format, const CStr& report) {
  // The Word extension test is case-sensitive: "REPORT.DOCX" gets ".doc".
  const CStr extension = format == eHTML ? CStr(u".htm")
                         : GetExtension(report) == u".docx" ? CStr(u".docx") : CStr(u".doc");
  return PrivateTempName(stem, extension);
}

// Generators run without a host callback only when a subclass calls them directly.
const CFolio::GetValueCallback& NoCallback() {
  static const CFolio::GetValueCallback none = [] {};
  return none;
}

}  // namespace

bool CFolio::Activate(bool& ok, bool showProgress) {
  if (!m_getValueCallback) {
    m_error = LoadResourceString(eStrCallbackNotInitialized);
    return false;
  }
  if (m_template.IsEmpty()) {
    ShowMessageBox(LoadResourceString(eStrEnterTemplateName), eMbOk);
    return false;
  }
  if (!PathExists(m_template)) {
    ShowMessageBox(LoadResourceString(eStrTemplateDoesNotExist), eMbOk);
    return false;
  }
  const ELivesheetFormat format = GetTemplateFormat();
  if (format != eWord && format != eHTML) return false;
  CStr output = m_report;

  if (m_reportOption == eOverwrite && PathExists(m_report)) {
    const std::shared_ptr<IReportUiFactory> factory = GetReportUiFactory();
    std::unique_ptr<IConfirmOverwrite> question = factory ? factory->MakeConfirmOverwrite() : nullptr;
    const int result = question ? question->DoModal() : eIdCancel;
    const int choice = question ? question->GetChoice() : IConfirmOverwrite::eCancel;
    if (result == eIdCancel || result == 3 || choice == IConfirmOverwrite::eCancel) {
      m_continue = false;
      ok = false;
      return false;
    }
    if (choice == IConfirmOverwrite::eOverwrite) m_reportOption = eUnconfirmedOverwrite;
    else if (choice == IConfirmOverwrite::eAppend) m_reportOption = eAppend;
  }

  // The report that an overwrite replaces is set aside, not deleted, until the new one
  // exists; a failed run puts it back. One the user could not write is not set aside.
  CFileSetAside backup;
  switch (m_reportOption) {
    case eAuto:
      output = TemporaryOutput(u"TempReport", format, m_report);
      m_reportOption = eAppend;
      break;
    case eUnconfirmedOverwrite:
      for (CStr reason; PathExists(m_report) && !backup.SetAside(m_report, reason);) {
        const CStr text = CStr::DoStringFormat(LoadResourceString(eStrOutputFileInaccessible), m_report, reason);
        if (ShowMessageBox(text, eMbRetryCancel) != eIdRetry) return false;
      }
      break;
    case eAppend:
      output = TemporaryOutput(u"TempReportA", format, m_report);
      break;
    case eOverwrite:
      break;
  }

  // A report staged in a private folder of this process is this user's alone to write:
  // probing it would cost a file made and removed.
  const bool reportKnown = IsScratchPath(ToFsPath(m_report));
  while (!reportKnown && !TestWriteAccess(true, m_report)) {
    if (ShowMessageBox(Formatted(eStrReportFileInaccessible, m_report), eMbRetryCancel) != eIdRetry) {
      backup.Restore();
      ReInitializeCOM();
      return false;
    }
  }
  // An HTML report appended to in place never uses the output: no probe file for it,
  // though an output that could not even be named (no private folder) still fails.
  const bool outputUnused = format == eHTML && !output.IsEmpty() && HtmlPassAppends(m_reportOption, m_report);
  // The report was probed just above, and an output named in a private folder needs no
  // probe file either.
  const bool outputKnown = output == m_report || (!output.IsEmpty() && IsScratchPath(ToFsPath(output)));
  if (!outputUnused && !outputKnown && !TestWriteAccess(true, output)) {
    backup.Restore();
    return false;
  }

  if (showProgress) CreateProgressDialog();
  SReportRun run = MakeRun(output);
  run.appendInPlace = true;
  const ReportOutcome outcome = format == eHTML ? GenerateHtml(run) : GenerateWord(run);
  TellUser(outcome);
  if (outcome) {
    backup.Restore();
    ok = false;
    return false;
  }
  if (m_reportOption == eAppend && PathExists(output)) return CopyOutputOverReport(output);
  return true;
}

SReportRun CFolio::MakeRun(const CStr& output) {
  return SReportRun{*this,          m_template,          m_report,           output,
                    m_reportOption, m_processingType,    m_processWholeFileAtOnce,
                    m_getValueCallback ? *m_getValueCallback : NoCallback(),
                    m_controlValue, m_conversionResults, m_cursor};
}

// The temporary output replaces the report in one step, so a failed move leaves the
// report as it was; the output is removed either way.
bool CFolio::CopyOutputOverReport(const CStr& output) {
  const bool copied = MoveFileSafely(output, m_report);
  RemoveFile(output);
  return copied;
}
