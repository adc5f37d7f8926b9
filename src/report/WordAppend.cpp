// The merge recipe shared by the in-run merge and AppendToWordReport, and the in-run
// merge itself: the generated document goes at the end of the report, tables meeting
// at the seam are joined, and placeholders left in the footer are evaluated again.
#include "report/WordAppend.h"

#include <optional>

#include "folio/extract/CKORIExtractor.h"
#include "folio/util/CDiagnostics.h"
#include "folio/util/SystemUtils.h"
#include "platform/com/CComError.h"
#include "platform/fs/CPrivateFolder.h"
#include "platform/fs/CSafeFileWriter.h"
#include "report/ValueRequest.h"
#include "report/WordRun.h"

namespace WordAppend {

void Trace(const CStr& text) { G_Diagnostics.WriteTrace(text, u"Folio", 3); }

bool Tracing() { return G_Diagnostics.IsSourceEnabled(u"Folio"); }

// The code's text alone ("Unspecified error") tells a user little; what the failing
// object said about it follows.
CStr ComErrorText(const CComError& error) {
  if (error.Description().IsEmpty()) return error.ErrorMessage();
  return error.ErrorMessage() + u": " + error.Description();
}

std::shared_ptr<IWordDocument> OpenHidden(IWordDocuments& documents, const CStr& path) {
  return documents.Open(CVariant::Text(path), kFalse, kFalse, kFalse, kMissing, kMissing, kFalse, kMissing, kMissing,
                        kMissing, kMissing, kFalse);
}

std::shared_ptr<IWordSelection> SelectEnd(IWordApplication& app, IWordDocument& doc) {
  doc.Select();
  auto selection = app.Selection();
  selection->Collapse(kFalse);
  return selection;
}

void SettleEnd(IWordApplication& app, IWordDocument& doc) {
  auto selection = SelectEnd(app, doc);
  selection->TypeText(u" ");
  selection->TypeBackspace();
}

void SaveUnder(IWordDocument& doc, const CStr& path) {
  doc.SaveAs(CVariant::Text(path), kMissing, kMissing, kMissing, kFalse);
}

void CloseUnsaved(IWordDocument& doc) { doc.Close(kFalse); }

void FillStoryPlaceholders(IWordRange& story, SStoryValues& values, const CStr& replaceTrace) {
  using V = CKORIControlValue;
  auto shapes = story.InlineShapes();
  for (long i = shapes->Count(); i >= 1; --i) {
    auto shape = shapes->Item(i);
    if (!shape || !shape->OLEFormat()) continue;
    const SReportConversionResult result = CKORIExtractor::ExtractKORIElementProperties(shape.get(), values.value);
    if (result.m_result == V::eNotKoriElement) continue;
    // eTranslated and 2 are read well enough to be asked for; 4 and up carry their error text.
    if (result.m_result <= 2 && values.getValue) AskHost(values.getValue);
    if (result.m_result != V::eExtractOk) values.results.push_back(result);
    if (!replaceTrace.IsEmpty()) Trace(replaceTrace);
    shape->Range()->SetText(WordText(values.value.DisplayString()));
  }
}

namespace {

// The end of the last table that ends one or two positions before the document does.
std::optional<long> TableAtEnd(IWordDocument& doc) {
  std::optional<long> seam;
  auto tables = doc.Tables();
  for (long t = 1; t <= tables->Count(); ++t) {
    const long end = tables->Item(t)->Range()->End();
    const long gap = doc.Range()->End() - end;
    if (gap == 1 || gap == 2) seam = end;
  }
  return seam;
}

// Removes what lies between the report's last table and a table the inserted content
// begins with, so that the two become one.
void JoinTablesAt(IWordApplication& app, IWordDocument& doc, long seam) {
  doc.Select();
  auto selection = app.Selection();
  auto tables = doc.Tables();
  for (long t = 1; t <= tables->Count(); ++t) {
    const long gap = tables->Item(t)->Range()->Start() - seam;
    if (gap == 1 || gap == 2) {
      selection->SetRange(seam, seam + gap);
      selection->Delete();
      return;
    }
  }
}

// Placeholders in the primary footer are evaluated again. The footer is a courtesy: a
// COM error only ends the step.
void EvaluateFooter(IWordDocument& doc, SStoryValues& footer) {
  try {
    auto stories = doc.StoryRanges();
    if (stories->Count() > 0) FillStoryPlaceholders(*stories->Item(eWordPrimaryFooterStory), footer);
  } catch (const CComError&) {
  }
}

}  // namespace

void MergeIntoReport(IWordApplication& app, const CStr& report, const CStr& output, SStoryValues footer) {
  const CPrivateFolder folder;
  if (folder.Path().IsEmpty()) throw CComError(E_ACCESSDENIED, u"no private temporary folder can be made for the merge");
  const CStr extension = SystemUtils::GetExtension(output) == u".docx" ? CStr(u".docx") : CStr(u".doc");
  const CStr saveFile = SystemUtils::MakeUniqueFileName(folder.Path() + u"TempReportSaveAs", extension);

  Trace(u"Opening append document\n");
  auto doc = OpenHidden(*app.Documents(), report);
  Trace(u"Merging report into append document\n");
  auto selection = SelectEnd(app, *doc);
  const std::optional<long> seam = TableAtEnd(*doc);
  selection->InsertFile(output);
  selection->Characters()->Last()->Delete();
  if (seam) JoinTablesAt(app, *doc, *seam);
  Trace(u"Post processing append document\n");
  SettleEnd(app, *doc);
  Trace(u"Saving append document\n");
  SaveUnder(*doc, saveFile);
  Trace(u"Updating fields\n");
  doc->Fields()->Update();
  EvaluateFooter(*doc, footer);
  Trace(u"Saving append document (again)\n");
  SaveUnder(*doc, saveFile);
  Trace(u"Closing append document\n");
  CloseUnsaved(*doc);
  // The output must hold the merged document or the run must fail: Activate copies the
  // output over the report, and an unmerged one would lose the report's earlier pages.
  if (!MoveFileSafely(saveFile, output))
    throw CComError(E_ACCESSDENIED, u"the merged report cannot be written to \"" + output + u"\"");
}

}  // namespace WordAppend
