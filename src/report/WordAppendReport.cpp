// AppendToWordReport and AppendKoriControl for Word reports: each runs a Word of its
// own, saves into a private folder and replaces the report in one step at the end, so
// that a failure anywhere leaves the report as it was.
#include "folio/platform/ui/IWindowing.h"
#include "folio/report/CFolio.h"
#include "folio/util/StringTable.h"
#include "folio/util/SystemUtils.h"
#include "platform/com/CComError.h"
#include "platform/com/CKORIControl.h"
#include "platform/fs/CSafeFileWriter.h"
#include "platform/word/om/CWordAutomation.h"
#include "report/WordAppend.h"

using namespace WordAppend;
using namespace SystemUtils;

namespace {

// The code's text, and what the failing object said when it said anything.
CStr ComErrorText(const CComError& error) {
  if (error.Description().IsEmpty()) return error.ErrorMessage();
  return error.ErrorMessage() + u"\r\n\r\n" + error.Description();
}

// A Word for this call alone; null after telling the user why it could not start.
std::shared_ptr<IWordApplication> StartOwnWord() {
  std::shared_ptr<IWordApplication> app;
  const HRESULT hr = CWordAutomation::StartWordApplication(app);
  if (FAILED(hr)) {
    ShowStringMessage(eStrErrorAccessingWord, eMbOk, static_cast<unsigned>(hr));
    return nullptr;
  }
  return app;
}

// A report that exists must be writable before Word is asked to do anything.
bool CheckWritable(const CStr& report) {
  if (!PathExists(report) || TestWriteAccess(true, report)) return true;
  ShowStringMessage(eStrReportFileInaccessible, eMbOk, report);
  return false;
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
bool ReplaceReport(const CStr& work, const CStr& report) {
  std::string bytes;
  CStr reason = u"the saved document cannot be read back";
  if (ReadFileBytes(work, bytes)) {
    CSafeFileWriter writer(report);
    if (writer.Write(bytes) && writer.Commit()) return true;
    reason = writer.GetError();
  }
  ShowStringMessage(eStrCannotAppendToReport, eMbOk, report, reason);
  return false;
}

// Saves doc twice into work, as Word users expect fields to be updated in between.
void SaveWithUpdatedFields(IWordDocument& doc, const CStr& work) {
  Trace(u"Saving append document\n");
  SaveUnder(doc, work);
  Trace(u"Updating fields\n");
  UpdateFields(doc);
  Trace(u"Saving append document (again)\n");
  SaveUnder(doc, work);
}

}  // namespace

bool CFolio::AppendToWordReport(CStr source, CStr target) {
  if (source == target) return true;
  if (!CheckWritable(target)) return false;
  auto app = StartOwnWord();
  if (!app) {
    DestroyProgressDialog();
    return false;
  }
  const CPrivateFolder folder;
  try {
    if (!folder.IsValid()) throw CComError(E_ACCESSDENIED, u"no private temporary folder can be made");
    // Named as the report, so that file name fields show the report's name.
    const CStr work = folder.File(GetFileName(target));
    Trace(u"Opening append document\n");
    auto doc = OpenOrCreate(*app, target);
    Trace(u"Merging report into append document\n");
    SelectEnd(*app, *doc)->InsertFile(source);
    Trace(u"Post processing append document\n");
    SettleEnd(*app, *doc);
    SaveWithUpdatedFields(*doc, work);
    Trace(u"Closing append document\n");
    CloseUnsaved(*doc);
    app->Quit(kFalse);
    return ReplaceReport(work, target);
  } catch (const CComError& error) {
    ShowMessageBox(ComErrorText(error), eMbOk);
    return false;
  }
}

bool CFolio::AppendKoriControlToWord(CStr const& report, CKORIControlValue const& value) {
  if (!CheckWritable(report)) return false;
  auto app = StartOwnWord();
  if (!app) return false;
  const CPrivateFolder folder;
  CKORIControlValue record = value;
  try {
    if (!folder.IsValid()) throw CComError(E_ACCESSDENIED, u"no private temporary folder can be made");
    const CStr work = folder.File(GetFileName(report));
    auto doc = OpenOrCreate(*app, report);
    auto at = SelectEnd(*app, *doc)->Range();
    auto shape = doc->InlineShapes()->AddOLEControl(CVariant::Text(CKORIControl::kProgId), CVariant::Dispatch(at));
    bool written = false;
    if (auto format = shape ? shape->OLEFormat() : nullptr) {
      auto control = format->Object();
      if (control && control->QueryInterface(CKORIControl::InterfaceId()) == S_OK) {
        PutProperty(*control, 1, CVariant::Text(record.GetGroup()));
        PutProperty(*control, 2, CVariant::Text(record.GetField()));
        written = true;
      }
    }
    SaveUnder(*doc, work);
    doc.reset();
    Trace(u"Closing Word\n");
    app->Quit(kFalse);
    // A report that could not be replaced did not get its placeholder.
    return ReplaceReport(work, report) && written;
  } catch (const CComError& error) {
    ShowMessageBox(ComErrorText(error), eMbOk);
    return false;
  }
}
