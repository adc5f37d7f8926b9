// The walks over a Word document's placeholders: the main text's inline shapes and the
// inline shapes inside text boxes. Each placeholder's value is asked for and written
// in its place; the walk's index steps back when a replacement removed the shape.
#include "folio/util/StringTable.h"
#include "report/ValueRequest.h"
#include "report/WordRun.h"

namespace {

enum class EStory { eMainText, eTextBox };

CStr Quoted(const char16_t* what, const CStr& text) { return CStr(what) + u"\"" + text + u"\"\n"; }

// Writes the record's value in place of shape; returns the change of the walk's index
// (-1 when the shape is gone and the next one took its index).
long Replace(SWordRun& word, IWordInlineShape& shape, EStory story) {
  CKORIControlValue& record = word.run.record;
  switch (record.GetType()) {
    case CKORIControlValue::eMessage:
      WordAppend::Trace(Quoted(u"Inserting message: ", record.GetMessage()));
      shape.Range()->SetText(WordText(record.GetMessage()));
      return -1;
    case CKORIControlValue::eText:
    case CKORIControlValue::eInteger:
    case CKORIControlValue::eFloat:
    case CKORIControlValue::eChar: {
      const CStr text = record.DisplayString();
      WordAppend::Trace(Quoted(u"Inserting text: ", text));
      shape.Range()->SetText(WordText(text));
      return -1;
    }
    case CKORIControlValue::ePicture:
      InsertPicture(word, shape, story == EStory::eMainText);
      return 0;
    case CKORIControlValue::ePrefaceEnd:
      if (story == EStory::eMainText) {
        WordAppend::Trace(u"Preface end tag found - remove the rest of the template");
        const std::shared_ptr<IWordRange> range = shape.Range();
        range->SetEnd(word.doc->Content()->End());
        range->SetText(CStr());
        return 0;
      } else {
        const std::shared_ptr<IWordSelection> selection = word.app->Selection();
        selection->SetRange(shape.Range()->End(), word.doc->Range()->End());
        selection->TypeText(u" ");
        selection->TypeBackspace();
        shape.Delete();
        return -1;
      }
    case CKORIControlValue::eSummaryBegin:
      if (story == EStory::eMainText) WordAppend::Trace(u"Summary begin tag found - remove it");
      shape.Delete();
      return -1;
    default:
      return 0;
  }
}

// Reads shape, asks the host for its value and writes it; returns the index change.
long Evaluate(SWordRun& word, IWordInlineShape& shape, EStory story) {
  CKORIControlValue& record = word.run.record;
  const SReportConversionResult reading = ExtractPlaceholder(shape, record);
  if (reading.m_result == CKORIControlValue::eNotKoriElement) return 0;
  RecordReading(word, reading);
  const auto showProgress = [&] {
    ++word.koriElementNumber;
    if (word.run.folio.ProgressDialogExists())
      word.run.folio.ShowProgress(CStr::DoStringFormat(LoadResourceString(eStrProcessingKoriElement),
                                                       word.koriElementNumber, record.GetField()),
                                  ElementPercent(word.elementNumber, word.total));
  };
  if (reading.m_result <= 2) {
    // The placeholder's size in screen pixels, for the host that makes a picture.
    record.SetHeight(word.app->PointsToPixels(shape.Height(), WordAppend::kTrue));
    record.SetWidth(word.app->PointsToPixels(shape.Width(), WordAppend::kFalse));
    RequestValue(word.run.getValue, record, u"Folio", showProgress);
  } else {
    // Extraction put its error text into the record; the host is not asked.
    showProgress();
    CheckValue(record, u"Folio");
  }
  return Replace(word, shape, story);
}

void ShowElementProgress(SWordRun& word) {
  if (!word.run.folio.ProgressDialogExists()) return;
  word.run.folio.ShowProgress(CStr::DoStringFormat(LoadResourceString(eStrProcessingElement), word.elementNumber),
                              ElementPercent(word.elementNumber, word.total));
}

}  // namespace

void MainTextPass(SWordRun& word) {
  const std::shared_ptr<IWordInlineShapes> shapes = word.doc->InlineShapes();
  word.elementNumber = 1;
  for (long i = 1; i <= shapes->Count(); ++i, ++word.elementNumber) {
    ShowElementProgress(word);
    const std::shared_ptr<IWordInlineShape> shape = shapes->Item(i);
    if (WordAppend::Tracing()) WordAppend::Trace(CStr::DoStringFormat(u"Processing inline shape number: %li\n", i));
    i += Evaluate(word, *shape, EStory::eMainText);
  }
}

void TextBoxPass(SWordRun& word) {
  const std::shared_ptr<IWordShapes> floating = word.doc->Shapes();
  word.elementNumber = 1;
  for (long j = 1; j <= floating->Count(); ++j, ++word.elementNumber) {
    ShowElementProgress(word);
    if (WordAppend::Tracing()) WordAppend::Trace(CStr::DoStringFormat(u"Processing Shape number: %li\n", j));
    const CVariant index = j <= 0x7FFF ? CVariant::I2(static_cast<std::int16_t>(j)) : CVariant::I4(j);
    const std::shared_ptr<IWordShape> shape = floating->Item(index);
    const std::shared_ptr<IWordTextFrame> frame = shape ? shape->TextFrame() : nullptr;
    if (!frame || !frame->HasText()) continue;
    const std::shared_ptr<IWordInlineShapes> inner = frame->TextRange()->InlineShapes();
    for (long k = 1; k <= inner->Count(); ++k) {
      if (WordAppend::Tracing()) WordAppend::Trace(CStr::DoStringFormat(u"Processing Inlineshape number: %li\n", k));
      const std::shared_ptr<IWordInlineShape> placeholder = inner->Item(k);
      WordAppend::Trace(u"Extracting properties\n");
      k += Evaluate(word, *placeholder, EStory::eTextBox);
    }
  }
}
