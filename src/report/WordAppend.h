#pragma once
// Joining Word documents: the steps the in-run merge and AppendToWordReport share, and
// the in-run merge itself.
#include <functional>
#include <memory>
#include <vector>

#include "folio/model/CKORIControlValue.h"
#include "folio/model/SReportConversionResult.h"
#include "folio/util/CStr.h"
#include "platform/com/CComError.h"
#include "platform/word/om/WordObjectModel.h"
#include "report/ReportRun.h"

namespace WordAppend {

inline const CVariant kTrue = CVariant::I2(1);
inline const CVariant kFalse = CVariant::I2(0);

// "Folio" trace, to the debugger output and the trace file.
void Trace(const CStr& text);
// Whether "Folio" traces are written at all, so that a text is only formatted for a reader.
bool Tracing();

// What the user is told of a failed Word call: the code's text, and what the failing
// object said about it when it said anything.
CStr ComErrorText(const CComError& error);

// Opens path hidden, without conversions and without adding it to the recent files.
std::shared_ptr<IWordDocument> OpenHidden(IWordDocuments& documents, const CStr& path);
// Selects the whole document and collapses the application's selection to its end.
std::shared_ptr<IWordSelection> SelectEnd(IWordApplication& app, IWordDocument& doc);
// Types a space at the end and takes it back, as Word users do to settle the last paragraph.
void SettleEnd(IWordApplication& app, IWordDocument& doc);
// SaveAs under path, not added to the recent files, in the format the name gives.
void SaveUnder(IWordDocument& doc, const CStr& path);
// Close without saving.
void CloseUnsaved(IWordDocument& doc);

// What filling a header or footer needs from the reporter: the working record, the
// host's GetValue callback and the list of conversion results.
struct SStoryValues {
  CKORIControlValue& value;
  std::function<void()> getValue;
  std::vector<SReportConversionResult>& results;
};

// Replaces each placeholder among the story's inline shapes that hold an object, last
// to first, by its value's display text (pictures too: a header has no room for
// sizing); traces replaceTrace before each replacement when it is not empty. Translated
// and failed extractions are recorded. Raises CComError.
void FillStoryPlaceholders(IWordRange& story, SStoryValues& values, const CStr& replaceTrace = CStr());
// A run's record, callback and results.
inline SStoryValues StoryValues(SReportRun& run) { return {run.record, run.getValue, run.results}; }

// Merges the generated document output at the end of report in app (the shared
// application) and leaves the merged document in output; the report file itself is
// not written. Raises CComError.
void MergeIntoReport(IWordApplication& app, const CStr& report, const CStr& output, SStoryValues footer);

}  // namespace WordAppend
