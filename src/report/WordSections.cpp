// Cutting a Word document down to the section one pass produces. The scans read the
// placeholders without asking the host; a section tag is a cleanly read placeholder
// whose field names it.
#include "folio/util/StringTable.h"
#include "platform/com/CComError.h"
#include "report/ValueRequest.h"
#include "report/WordRun.h"

namespace {

void ShowScanProgress(SWordRun& word, long k, long n) {
  if (!word.run.folio.ProgressDialogExists()) return;
  word.run.folio.ShowProgress(CStr::DoStringFormat(LoadResourceString(eStrProcessingElement), k), ElementPercent(k, n));
}

// Removes the range from the shape's start to the end of the main text.
void RemoveFromShapeToEnd(IWordDocument& doc, IWordInlineShape& shape) {
  const std::shared_ptr<IWordRange> range = shape.Range();
  range->SetEnd(doc.Content()->End());
  range->SetText(CStr());
}

void CutSummary(SWordRun& word) {
  WordAppend::Trace(u"Processing summary section\n");
  const std::shared_ptr<IWordInlineShapes> shapes = word.doc->InlineShapes();
  const long n = shapes->Count();
  for (long i = n; i >= 1; --i) {
    ShowScanProgress(word, n - i, n);
    const std::shared_ptr<IWordInlineShape> shape = shapes->Item(i);
    if (!IsSectionTag(ExtractPlaceholder(*shape, word.run.record), word.run.record, ESectionTag::eSummaryBegin))
      continue;
    WordAppend::Trace(u"Removing all upto and including summary tag\n");
    const std::shared_ptr<IWordRange> content = word.doc->Content();
    content->SetEnd(shape->Range()->End());
    content->SetText(CStr());
    return;
  }
  WordAppend::Trace(u"No summary tag - killing entire document\n");
  word.discard = true;
}

void CutBody(SWordRun& word) {
  WordAppend::Trace(u"Processing body section\n");
  const std::shared_ptr<IWordInlineShapes> shapes = word.doc->InlineShapes();
  const long n = shapes->Count();
  for (long i = n; i >= 1; --i) {
    ShowScanProgress(word, n - i, n);
    const std::shared_ptr<IWordInlineShape> shape = shapes->Item(i);
    const SReportConversionResult reading = ExtractPlaceholder(*shape, word.run.record);
    RecordReading(word, reading);
    if (IsSectionTag(reading, word.run.record, ESectionTag::eSummaryBegin)) {
      WordAppend::Trace(u"Removing summary section\n");
      RemoveFromShapeToEnd(*word.doc, *shape);
    } else if (IsSectionTag(reading, word.run.record, ESectionTag::ePrefaceEnd)) {
      WordAppend::Trace(u"Removing preface section\n");
      const std::shared_ptr<IWordRange> range = shape->Range();
      range->SetStart(word.doc->Content()->Start());
      range->SetText(CStr());
      return;  // nothing before the tag remains
    }
  }
}

// The primary header's placeholders take their display strings; a failure here ends
// the header step only.
void FillHeader(SWordRun& word) {
  try {
    const std::shared_ptr<IWordStoryRanges> stories = word.doc->StoryRanges();
    if (stories->Count() <= 0) return;
    const std::shared_ptr<IWordRange> header = stories->Item(eWordPrimaryHeaderStory);
    WordAppend::Trace(u"Processing word header\n");
    word.run.folio.ShowProgress(LoadResourceString(eStrProcessingHeader), 10);
    WordAppend::SStoryValues values = WordAppend::StoryValues(word.run);
    WordAppend::FillStoryPlaceholders(*header, values, u"Replacing control in word header\n");
  } catch (const CComError&) {
  }
}

void CutPreface(SWordRun& word) {
  WordAppend::Trace(u"Processing preface section\n");
  FillHeader(word);
  WordAppend::Trace(u"Looking for preface tag\n");
  const std::shared_ptr<IWordInlineShapes> shapes = word.doc->InlineShapes();
  for (long i = 1; i <= shapes->Count(); ++i) {
    ShowScanProgress(word, i, word.total);
    const std::shared_ptr<IWordInlineShape> shape = shapes->Item(i);
    const SReportConversionResult reading = ExtractPlaceholder(*shape, word.run.record);
    RecordReading(word, reading);
    if (IsSectionTag(reading, word.run.record, ESectionTag::ePrefaceEnd)) {
      WordAppend::Trace(u"Removing from and including preface tag\n");
      RemoveFromShapeToEnd(*word.doc, *shape);
      return;
    }
  }
  WordAppend::Trace(u"No preface tag - killing entire document\n");
  word.discard = true;
}

}  // namespace

void CutSection(SWordRun& word) {
  switch (word.run.pass) {
    case ePreface: CutPreface(word); break;
    case eBody: CutBody(word); break;
    case eSummary: CutSummary(word); break;
    default: break;
  }
}
