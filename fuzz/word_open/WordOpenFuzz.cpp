// Opens raw bytes as a Word document and walks, edits and saves what it finds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/com/CComError.h"
#include "platform/com/ComRuntime.h"
#include "platform/word/om/CWordApplication.h"

namespace {

void Walk(IWordRange& range) {
  range.Text();
  auto shapes = range.InlineShapes();
  for (long i = 1; i <= shapes->Count() && i <= 8; ++i) {
    auto shape = shapes->Item(i);
    shape->AlternativeText();
    shape->Width();
    shape->ScaleHeight();
    if (auto format = shape->OLEFormat()) {
      format->ClassType();
      try {
        format->Object();
      } catch (const CComError&) {
      }
    }
  }
  auto fields = range.Fields();
  for (long i = 1; i <= fields->Count() && i <= 8; ++i) fields->Item(i)->Code();
  auto tables = range.Tables();
  for (long i = 1; i <= tables->Count() && i <= 4; ++i) tables->Item(i)->Range()->Text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Controls and document servers are created in the apartment, as in the library.
  static const bool apartment = SUCCEEDED(CoInitialize());
  (void)apartment;
  try {
    auto app = std::make_shared<CWordApplication>();
    auto engine = CWordDocument::FromBytes(std::string(reinterpret_cast<const char*>(data), size), "fuzz.docx");
    auto doc = app->Adopt(engine);
    Walk(*doc->Content());
    auto stories = doc->StoryRanges();
    for (long type : {6L, 7L, 8L, 9L, 10L, 11L})
      try {
        Walk(*stories->Item(type));
      } catch (const CComError&) {
      }
    auto floating = doc->Shapes();
    for (long i = 1; i <= floating->Count() && i <= 4; ++i)
      if (auto frame = floating->Item(CVariant::I4(i))->TextFrame(); frame && frame->HasText())
        Walk(*frame->TextRange());
    // Edits: update every field, replace the first inline shape, type at the end, delete a slice.
    doc->Fields()->Update();
    if (doc->InlineShapes()->Count() > 0) doc->InlineShapes()->Item(1)->Range()->SetText(u"x\ry");
    doc->Select();
    auto selection = app->Selection();
    selection->Collapse(CVariant::I2(0));
    selection->TypeText(u" ");
    selection->TypeBackspace();
    const long end = doc->Content()->End();
    doc->Range(CVariant::I4(end / 3), CVariant::I4(end / 2))->Delete();
    CWordDocument::FromBytes(engine->SaveBytes());
  } catch (const CComError&) {
  }
  return 0;
}
