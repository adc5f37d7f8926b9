// One pass over a cached HTML template (preface, body or summary): the text between
// placeholders is copied, each placeholder's span replaced by its value.
#include <filesystem>
#include <optional>

#include "folio/platform/ui/IWindowing.h"
#include "folio/report/CFolio.h"
#include "folio/util/CDiagnostics.h"
#include "folio/util/StringTable.h"
#include "folio/util/SystemUtils.h"
#include "report/HtmlGenerator.h"
#include "report/HtmlSectionAppend.h"
#include "report/HtmlWriting.h"
#include "report/SectionCursor.h"
#include "report/TemplateCache.h"
#include "report/UnicodeText.h"
#include "report/ValueRequest.h"

using namespace SystemUtils;

namespace {

const char16_t kLivesheeter[] = u"Livesheeter";

// Fills the report's companion folder from the template's; false when the copy failed
// and the user chose not to go on.
bool CopyCompanionFolder(const CStr& templatePath, const CStr& templateFolder, const CStr& reportFolder) {
  std::error_code ec;
  const auto folder = ToFsPath(reportFolder);
  if (std::filesystem::exists(folder, ec) && !std::filesystem::is_directory(folder, ec))
    std::filesystem::rename(folder, ToFsPath(MakeUniqueFileName(reportFolder, u".tmp")), ec);
  if (CopyFolderContents(templateFolder, reportFolder)) return true;
  const CStr question = CStr::DoStringFormat(LoadResourceString(eStrCannotCopyReferencedFiles), templatePath);
  return ShowMessageBox(question, eMbOkCancel) != eIdCancel;
}

// The existing report split at its last "</body>": the head is written now, the tail
// after the new section. A failure says why the report cannot serve.
ReportOutcome StartAppending(const CStr& report, CBasic_OFStream& out, CStr& tail) {
  CStr text;
  bool hadMark = false;
  CStr error;
  std::optional<uint32_t> at;
  if (!ReadReportText(report, text, &hadMark)) {
    error = CStr::DoStringFormat(LoadResourceString(eStrCannotOpenReport), report);
  } else if (!hadMark) {
    error = CStr::DoStringFormat(LoadResourceString(eStrReportNotUnicode), report);
  } else if (!(at = FindHtmlBody(text.View()).end)) {
    error = LoadResourceString(eStrBodyEndTagMissing);
  }
  if (!error.IsEmpty()) return Failed(CStr::DoStringFormat(LoadResourceString(eStrCannotAppendToReport), report, error));
  out << text.View().substr(0, *at);
  tail = text.Mid(*at);
  return Succeeded();
}

int ProgressPercent(std::size_t index, std::size_t count) {
  return static_cast<int>(RoundToLong(static_cast<double>(index) * 70.0 / static_cast<double>(count) + 20.0));
}

// A report that could not be written is a failed run: the user is not told "done"
// while the old report stays as it was.
ReportOutcome Closed(CBasic_OFStream& out) { return out.Close() ? Succeeded() : Failed(); }

// The HTML way of writing a value in place of its placeholder.
void WriteValue(CKORIControlValue& value, CPictureNames& pictures, CBasic_OFStream& out) {
  const auto quoted = [](const char16_t* what, const CStr& text) { return CStr(what) + u"\"" + text + u"\"\n"; };
  switch (value.GetType()) {
    case CKORIControlValue::eText: {
      CStr text = value.DisplayString();
      text.Replace(u"\n", u"<BR>\n");
      G_Diagnostics.WriteTrace(quoted(u"Inserting text: ", text), kLivesheeter, 3);
      out << text.View();
      break;
    }
    case CKORIControlValue::eInteger:
    case CKORIControlValue::eFloat:
    case CKORIControlValue::eChar: {
      const CStr text = value.DisplayString();
      G_Diagnostics.WriteTrace(quoted(u"Inserting value: ", text), kLivesheeter, 3);
      out << text.View();
      break;
    }
    case CKORIControlValue::eMessage:
      G_Diagnostics.WriteTrace(quoted(u"Inserting message: ", value.GetMessage()), u"Folio", 3);
      out << value.GetMessage().View();
      break;
    case CKORIControlValue::ePicture:
      WritePicture(value, pictures, out);
      break;
    case CKORIControlValue::ePrefaceEnd:
    case CKORIControlValue::eSummaryBegin:
      out << u"</body>";
      break;
    default:
      break;
  }
}

}  // namespace

namespace {

// The template text of a pass, copied into the report with companion references rewritten.
struct SPassText {
  const CStr& text;
  const CCompanionReferences& references;
  CBasic_OFStream& out;

  void Copy(uint32_t from, uint32_t to) const {
    if (to <= from) return;
    const std::u16string_view piece = text.View().substr(from, to - from);
    if (references.Changes(piece)) out << references.Rewrite(CStr(piece)).View();
    else out << piece;
  }
};

// The placeholders of the pass from position on, each with the template text before it;
// position ends after the last one written. Whether a section tag ended the pass.
bool WritePlaceholders(SReportRun& run, const CTemplateModel& model, const SPassText& pass, CStr reportFolder,
                       uint32_t& position) {
  const std::size_t count = model.Count();
  CPictureNames pictureNames(std::move(reportFolder));
  const bool showing = run.folio.ProgressDialogExists();
  const CStr processing = showing ? LoadResourceString(eStrProcessingElement) : CStr();
  const CStr processingKori = showing ? LoadResourceString(eStrProcessingKoriElement) : CStr();
  for (std::size_t i = static_cast<std::size_t>(std::max(run.cursor.nextElementIndex, 0)); i < count; ++i) {
    const STemplatePlaceholder& placeholder = model.Placeholders()[i];
    if (placeholder.start < position) continue;  // inside an element already written
    if (showing)
      run.folio.ShowProgress(CStr::DoStringFormat(processing, static_cast<long>(i)), ProgressPercent(i, count));
    pass.Copy(position, placeholder.start);
    position = placeholder.end;

    PutDescription(placeholder.description, run.record);
    if (showing)
      run.folio.ShowProgress(CStr::DoStringFormat(processingKori, static_cast<long>(i), run.record.GetField()),
                             ElementPercent(static_cast<long>(i), static_cast<long>(count)));
    RequestValue(run.getValue, run.record, kLivesheeter);
    WriteValue(run.record, pictureNames, pass.out);
    if (PassPlaceholder(run.cursor, run.record.GetType(), run.wholeFile, run.pass) == EAfterPlaceholder::eEndPass)
      return true;
  }
  return false;
}

}  // namespace

bool HtmlPassAppends(EReportOptions option, const CStr& reportPath) {
  return option == eAppend && PathExists(reportPath) && GetFileSize(reportPath) > 0;
}

ReportOutcome RunHtmlPass(SReportRun& run) {
  if (!HtmlPassHasWork(run.templatePath, run.pass)) return Succeeded();
  const auto entry = TemplateCache().find(run.templatePath);
  if (entry == TemplateCache().end()) return Failed();
  const STemplateCacheEntry& cached = entry->second;

  // Appended in place, the section is made in memory and put into the report at the end.
  const bool appending = HtmlPassAppends(run.option, run.reportPath);
  const bool inPlace = appending && run.appendInPlace;
  std::optional<CBasic_OFStream> out;
  if (inPlace) out.emplace();
  else out.emplace(run.output);

  const CStr templateFolder = CompanionFolder(run.templatePath);
  const CStr reportFolder = CompanionFolder(run.reportPath);
  if (PathExists(templateFolder) && !CopyCompanionFolder(run.templatePath, templateFolder, reportFolder))
    return Failed();
  const CCompanionReferences references(templateFolder, reportFolder);
  const SPassText pass{*cached.text, references, *out};

  SAppendTarget target;
  if (inPlace) {
    if (ReportOutcome failure = OpenAppendTarget(run.reportPath, target)) return failure;
  } else if (appending) {
    if (ReportOutcome failure = StartAppending(run.reportPath, *out, target.tail)) return failure;
  }
  // A pass that ends at a section tag drops the report's old tail; others keep it.
  const auto finish = [&](bool keepTail) -> ReportOutcome {
    if (inPlace) return FinishAppend(run.reportPath, target, *out, keepTail);
    if (appending && keepTail) *out << target.tail.View();
    return Closed(*out);
  };
  // Without a start nothing of the template is left for this pass; the report stays whole.
  const std::optional<uint32_t> start = StartPass(run.cursor, run.pass, appending, *cached.model);
  if (!start) return finish(true);
  uint32_t position = *start;
  if (WritePlaceholders(run, *cached.model, pass, reportFolder, position)) return finish(false);
  const uint32_t bodyEnd = cached.bodyEnd;
  pass.Copy(position, appending && bodyEnd >= position ? bodyEnd : static_cast<uint32_t>(cached.text->GetLength()));
  return finish(true);
}
