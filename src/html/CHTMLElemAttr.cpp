#include "html/CHTMLElemAttr.h"

#include "html/HTMLChars.h"
#include "html/ValueReferences.h"

using namespace folio_html;

size_t CHTMLElemAttr::Scan(std::u16string_view text, SAttrSpan& span) {
  const char16_t* begin = text.data();
  const char16_t* after = ScanAt(begin, begin, begin + text.size(), span);
  return after ? after - begin : 0;
}

void CHTMLElemAttr::Assign(std::u16string_view text, const SAttrSpan& span) {
  std::u16string& name = m_name.Str();
  name.assign(text.data() + span.nameBegin, span.nameEnd - span.nameBegin);
  for (char16_t& c : name) c = ToLower(c);
  if (span.valueEnd > span.valueBegin)
    PutValue(text.substr(span.valueBegin, span.valueEnd - span.valueBegin));
  else
    m_value.Str().clear();
}

size_t CHTMLElemAttr::ParseFromString(std::u16string_view text) {
  SAttrSpan span;
  const size_t consumed = Scan(text, span);
  if (consumed) Assign(text, span);
  return consumed;
}

void CHTMLElemAttr::PutValue(std::u16string_view value) {
  const char16_t* begin = value.data();
  const char16_t* end = begin + value.size();
  begin = SkipSpace(begin, end);
  while (end > begin && IsSpace(end[-1])) --end;
  std::u16string& out = m_value.Str();
  out.clear();
  out.reserve(end - begin);
  bool references = false;
  // Runs between line breaks and tabs are copied whole: a break goes, a tab or a
  // carriage return becomes a space.
  for (const char16_t* p = begin;;) {
    const char16_t* run = p;
    for (; p < end && *p != u'\n' && *p != u'\r' && *p != u'\t'; ++p) references |= *p == u'&';
    out.append(run, p);
    if (p == end) break;
    if (*p++ != u'\n') out.push_back(u' ');
  }
  if (references) ResolveValueReferences(out);
}
