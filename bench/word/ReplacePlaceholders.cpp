#include "ReplacePlaceholders.h"

#include <cstdlib>

#include "platform/word/om/CWordAutomation.h"

void ReplacePlaceholders(const std::string& in, const std::string& out) {
  std::shared_ptr<IWordApplication> word;
  if (FAILED(CWordAutomation::StartWordApplication(word))) std::abort();
  auto doc = word->Documents()->Open(CVariant::Text(CStr::FromUtf8(in)));
  auto shapes = doc->InlineShapes();
  for (long i = 1; i <= shapes->Count(); ++i) {
    auto shape = shapes->Item(i);
    if (!shape->AlternativeText().StartsWith(u"KORI")) continue;
    shape->Range()->SetText(u"1.2345 nm");
    --i;
  }
  doc->SaveAs(CVariant::Text(CStr::FromUtf8(out)));
  doc->Close(CVariant::I2(0));
  word->Quit(CVariant::I2(0));
}
