// Values as Word receives them: text made safe for the document, pictures inserted
// and scaled in their placeholder's place.
#include <cmath>

#include "folio/util/SystemUtils.h"
#include "platform/fs/CSafeFileWriter.h"
#include "report/WordRun.h"

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Tab, line feed, vertical tab (Word's line break) and carriage return (a new
// paragraph) mean something to Word; every other control character is dropped.
bool IsKeptControl(char16_t c) { return c == u'\t' || c == u'\n' || c == u'\v' || c == u'\r'; }

// A ratio that a hostile size cannot turn into an endless or negative scale.
double FiniteOr(double ratio, double fallback) { return std::isfinite(ratio) && ratio > 0 ? ratio : fallback; }

}  // namespace

CStr WordText(const CStr& value) {
  std::u16string text;
  const std::u16string_view in = value.View();
  text.reserve(in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    const char16_t c = in[i];
    if (c < 0x20 && !IsKeptControl(c)) continue;
    if (c == 0xFFFE || c == 0xFFFF) continue;
    if (c == u'\r' && i + 1 < in.size() && in[i + 1] == u'\n') continue;  // "\r\n" is one line end
    if (IsHighSurrogate(c)) {
      if (i + 1 < in.size() && IsLowSurrogate(in[i + 1])) {
        text += c;
        text += in[++i];
      }
      continue;
    }
    if (IsLowSurrogate(c)) continue;
    text += c;
  }
  return CStr(std::move(text));
}

void InsertPicture(SWordRun& word, IWordInlineShape& shape, bool mainText) {
  CKORIControlValue& record = word.run.record;
  const CStr file = record.GetFilename();
  std::shared_ptr<IWordRange> range;
  if (mainText) {
    shape.Select();
    range = shape.Range();
    if (WordAppend::Tracing())
      WordAppend::Trace(CStr::DoStringFormat(u"Inserting picture: '%s' (%li,%li)\n", file, range->Start(), range->End()));
  } else {
    WordAppend::Trace(u"Inserting picture: \"" + file + u"\"\n");
    range = shape.Range();
  }
  const std::shared_ptr<IWordInlineShape> picture =
      word.doc->InlineShapes()->AddPicture(file, WordAppend::kFalse, WordAppend::kTrue, CVariant::Dispatch(range));
  if (mainText) WordAppend::Trace(u"Resizing picture: \"" + file + u"\"\n");
  picture->Select();
  // A resolution factor of 0 (or a hostile one) leaves the picture at its own size.
  const float scale = static_cast<float>(FiniteOr(100.0 / record.GetResolutionFactor(), 100.0));
  picture->SetScaleWidth(scale);
  picture->SetScaleHeight(scale);
  if (record.KeepAspectRatio()) {
    picture->SetLockAspectRatio(0);
    double ratio = 1;
    if (record.FixedAxis() == CKORIControlValue::eAxisX) ratio = FiniteOr(shape.Width() / picture->Width(), 1);
    else if (record.FixedAxis() == CKORIControlValue::eAxisY) ratio = FiniteOr(shape.Height() / picture->Height(), 1);
    picture->SetScaleWidth(static_cast<float>(ratio * scale));
    picture->SetScaleHeight(static_cast<float>(ratio * scale));
    picture->SetLockAspectRatio(-1);
  } else {
    picture->SetLockAspectRatio(0);
    picture->SetScaleWidth(static_cast<float>(FiniteOr(shape.Width() / picture->Width(), 1) * scale));
    picture->SetScaleHeight(static_cast<float>(FiniteOr(shape.Height() / picture->Height(), 1) * scale));
  }
  RemoveFile(file);  // the host's picture files are consumed by the report
  shape.Select();
  shape.Delete();
}
