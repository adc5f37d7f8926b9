#include <cstdlib>

#include "../html_reader/HtmlFuzzInput.h"
#include "html/CHTMLAttributes.h"
#include "html/CHTMLEntityResolver.h"
#include "html/CHTMLTag.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool HasLineBreakOrTab(const CStr& value) {
  return value.Find(u"\n") != CStr::npos || value.Find(u"\r") != CStr::npos ||
         value.Find(u"\t") != CStr::npos;
}

}  // namespace

void FuzzHtmlAttributes(const uint8_t* data, size_t size) {
  const std::u16string text = FuzzText(data, size);
  const std::u16string_view view(text);

  char16_t unit = 0;
  const size_t reference = CHTMLEntityResolver::ResolveEntity(view, unit);
  Require(reference == 0 || (reference >= 4 && reference <= view.size() && view[reference - 1] == u';'));

  CHTMLElemAttr attribute;
  Require(attribute.ParseFromString(view) <= view.size());
  attribute.PutValue(view);
  // References may stand for white space; without them none is left over.
  const bool plain = view.find(u'&') == std::u16string_view::npos;
  const CStr value = attribute.GetValue();
  Require(!plain || (!HasLineBreakOrTab(value) && value.Trimmed() == value));

  CHTMLAttributes list;
  const size_t run = list.ParseFromString(view);
  Require(run <= view.size() && (run == 0) == (list.GetCount() == 0));
  for (int i = 0; i < list.GetCount(); ++i) {
    const CHTMLElemAttr item = list.GetAttribute(i);
    Require(!item.GetName().IsEmpty() && list.GetIndexFromName(item.GetName()) <= i);
    Require(!plain || !HasLineBreakOrTab(item.GetValue()));
  }
  Require(list.GetAttribute(list.GetCount()).GetName().IsEmpty());
  CHTMLAttributes copy(list, true);
  Require(copy.GetCount() == list.GetCount());

  CHTMLTag tag;
  const size_t consumed = tag.ParseFromString(view);
  Require(consumed <= view.size());
  if (consumed > 0 && !tag.IsOpening() && !tag.IsClosing()) {
    Require(view[consumed - 1] == u'<' && view[consumed] == u'>');  // "<>"
  } else if (consumed > 0) {
    Require(view[consumed - 1] == u'>');
    // The tag alone parses the same.
    CHTMLTag alone;
    Require(alone.ParseFromString(view.substr(0, consumed)) == consumed);
    Require(alone.GetTagName() == tag.GetTagName());
    CHTMLTag deep(tag, true);
    CHTMLTag taken(tag, false);
    Require(tag.GetAttributes() == nullptr);
    const int count = deep.GetAttributes() ? deep.GetAttributes()->GetCount() : 0;
    Require(count == (taken.GetAttributes() ? taken.GetAttributes()->GetCount() : 0));
  }
}
