// AppendToWordReport and AppendKoriControl for Word reports: each runs a Word of its
// own, saves into a private folder and replaces the report in one step at the end, so
// that a failure anywhere leaves the report as it was.
#include <cctype>

#include "folio/platform/ui/IWindowing.h"
#include "folio/report/CFolio.h"
#include "folio/util/StringTable.h"
#include "folio/util/SystemUtils.h"
#include "platform/com/CComError.h"
#include "platform/com/CKORIControl.h"
#include "platform/fs/CPrivateFolder.h"
#include "platform/fs/CSafeFileWriter.h"
#include "platform/word/om/CWordAutomation.h"
#include "report/ReportRun.h"
#include "report/WordAppend.h"

using namespace WordAppend;
using namespace SystemUtils;

namespace {

ReportOutcome Message(unsigned id, const CStr& argument, const CStr& reason = CStr()) {
  return Failed(CStr::DoStringFormat(LoadResourceString(id).View(), argument, reason));
}

// Any other failure on the way (the engine's own, a conversion, memory): its own text,
// cut as the framework cuts error messages.
ReportOutcome OtherFailure(const std::exception& error) {
  const CStr text = CStr::FromUtf8(error.what());
  return Failed(CStr(text.View().substr(0, 255)));
}

// A report that exists must be writable before Word is asked to do anything.
ReportOutcome CheckWritable(const CStr& report) {
  if (!PathExists(report) || TestWriteAccess(true, report)) return Succeeded();
  return Message(eStrReportFileInaccessible, report);
}

// A Word for this call alone.
ReportOutcome StartOwnWord(std::shared_ptr<IWordApplication>& app) {
  const HRESULT hr = CWordAutomation::StartWordApplication(app);
  if (SUCCEEDED(hr)) return Succeeded();
  return Failed(CStr::DoStringFormat(LoadResourceString(eStrErrorAccessingWord).View(), static_cast<unsigned>(hr)));
}

std::shared_ptr<IWordDocument> OpenOrCreate(IWordApplication& app, const CStr& path) {
  auto documents = app.Documents();
  if (PathExists(path)) return OpenHidden(*documents, path);
  return documents->Add(kMissing, kMissing, kMissing, kFalse);
}

// Every field of the document, then each field of the primary footer. A COM error only
// ends the step: stale field results do not spoil the report.
void UpdateFields(IWordDocument& doc) {
  try {
    doc.Fields()->Update();
    auto stories = doc.StoryRanges();
    if (stories->Count() <= 0) return;
    auto fields = stories->Item(eWordPrimaryFooterStory)->Fields();
    const long count = fields->Count();
    for (long i = 1; i <= count; ++i) fields->Item(i)->Update();
  } catch (const CComError&) {
  }
}

// The report takes the saved work file's content in one step.
ReportOutcome ReplaceReport(const CStr& work, const CStr& report) {
  std::string bytes;
  if (!ReadFileBytes(work, bytes)) return Message(eStrCannotAppendToReport, report, u"the saved document cannot be read back");
  CSafeFileWriter writer(report);
  if (writer.Write(bytes) && writer.Commit()) return Succeeded();
  return Message(eStrCannotAppendToReport, report, writer.GetError());
}

// Named as the report, so that file name fields show the report's name.
CStr WorkFile(const CPrivateFolder& folder, const CStr& report) {
  if (folder.Path().IsEmpty()) throw CComError(E_ACCESSDENIED, u"no private temporary folder can be made");
  return folder.Path() + GetFileName(report);
}

ReportOutcome AppendDocument(IWordApplication& app, const CStr& source, const CStr& target) {
  const CPrivateFolder folder;
  try {
    const CStr work = WorkFile(folder, target);
    Trace(u"Opening append document\n");
    auto doc = OpenOrCreate(app, target);
    Trace(u"Merging report into append document\n");
    SelectEnd(app, *doc)->InsertFile(source);
    Trace(u"Post processing append document\n");
    SettleEnd(app, *doc);
    Trace(u"Saving append document\n");
    SaveUnder(*doc, work);
    Trace(u"Updating fields\n");
    UpdateFields(*doc);
    Trace(u"Saving append document (again)\n");
    SaveUnder(*doc, work);
    Trace(u"Closing append document\n");
    CloseUnsaved(*doc);
    app.Quit(kFalse);
    return ReplaceReport(work, target);
  } catch (const CComError& error) {
    return Failed(ComErrorText(error));
  } catch (const std::exception& error) {
    return OtherFailure(error);
  }
}

long CountControls(IWordDocument& doc) {
  long count = 0;
  auto shapes = doc.InlineShapes();
  for (long i = 1; i <= shapes->Count(); ++i)
    if (auto format = shapes->Item(i)->OLEFormat(); format && format->ClassType() == CKORIControl::kProgId) ++count;
  return count;
}

// Formats saved through a conversion (.doc) may drop the control on the way out.
bool KeptAfterConversion(IWordApplication& app, const CStr& work, long before) {
  std::string extension = GetExtension(work).ToUtf8();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".docx" || extension == ".docm") return true;
  auto saved = OpenHidden(*app.Documents(), work);
  const bool kept = CountControls(*saved) > before;
  CloseUnsaved(*saved);
  return kept;
}

// The control's group and field, at the end of report; the report is saved even when
// the new shape offers no control to name (the outcome is then a failure without text).
ReportOutcome AppendControl(IWordApplication& app, const CStr& report, CKORIControlValue record) {
  const CPrivateFolder folder;
  try {
    const CStr work = WorkFile(folder, report);
    auto doc = OpenOrCreate(app, report);
    const long before = CountControls(*doc);
    auto at = SelectEnd(app, *doc)->Range();
    auto shape = doc->InlineShapes()->AddOLEControl(CVariant::Text(CKORIControl::kProgId), CVariant::Dispatch(at));
    bool named = false;
    if (auto format = shape ? shape->OLEFormat() : nullptr) {
      auto control = format->Object();
      if (control && control->QueryInterface(CKORIControl::InterfaceId()) == S_OK) {
        PutProperty(*control, 1, CVariant::Text(record.GetGroup()));
        PutProperty(*control, 2, CVariant::Text(record.GetField()));
        named = true;
      }
    }
    SaveUnder(*doc, work);
    if (!KeptAfterConversion(app, work, before))
      return Failed(u"A placeholder cannot be added to \"" + report +
                    u"\": its file format does not keep placeholder controls. Save the report as .docx first.");
    doc.reset();
    Trace(u"Closing Word\n");
    app.Quit(kFalse);
    if (ReportOutcome replaced = ReplaceReport(work, report)) return replaced;
    return named ? Succeeded() : Failed();
  } catch (const CComError& error) {
    return Failed(ComErrorText(error));
  } catch (const std::exception& error) {
    return OtherFailure(error);
  }
}

}  // namespace

bool CFolio::AppendToWordReport(CStr source, CStr target) {
  if (source == target) return true;
  std::shared_ptr<IWordApplication> app;
  ReportOutcome outcome = CheckWritable(target);
  if (!outcome) {
    outcome = StartOwnWord(app);
    if (outcome) DestroyProgressDialog();
  }
  if (!outcome) outcome = AppendDocument(*app, source, target);
  TellUser(outcome);
  return !outcome;
}

bool CFolio::AppendKoriControlToWord(CStr const& report, CKORIControlValue const& value) {
  std::shared_ptr<IWordApplication> app;
  ReportOutcome outcome = CheckWritable(report);
  if (!outcome) outcome = StartOwnWord(app);
  if (!outcome) outcome = AppendControl(*app, report, value);
  TellUser(outcome);
  return !outcome;
}
