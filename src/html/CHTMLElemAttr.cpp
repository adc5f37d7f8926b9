#include "html/CHTMLElemAttr.h"

#include "html/CHTMLEntityResolver.h"
#include "html/HTMLChars.h"

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
  const char16_t* p = begin;
  while (p < end && *p != u'\n' && *p != u'\r' && *p != u'\t' && *p != u'&') ++p;
  out.assign(begin, p);
  if (p == end) return;
  for (; p < end; ++p) {
    const char16_t c = *p;
    if (c != u'\n') out.push_back(c == u'\r' || c == u'\t' ? u' ' : c);
  }
  ResolveReferences(out);
}

void CHTMLElemAttr::ResolveReferences(std::u16string& out) {
  constexpr size_t npos = std::u16string::npos;
  // Each reference found also replaces its later copies in one go, before the scan
  // moves on; resolving them one by one would differ where references overlap.
  size_t semicolon = npos;
  for (size_t amp = out.find(u'&'); amp != npos; amp = out.find(u'&', amp + 1)) {
    if (semicolon == npos || semicolon < amp) {
      semicolon = out.find(u';', amp);
      if (semicolon == npos) return;  // nothing after here can resolve
    }
    char16_t unit = 0;
    const size_t length = CHTMLEntityResolver::ResolveEntity(
        std::u16string_view(out).substr(amp), semicolon - amp, unit);
    if (length == 0) continue;
    const std::u16string reference = out.substr(amp, length);
    std::u16string replaced(out, 0, amp);
    replaced.push_back(unit);
    for (size_t from = amp + length;;) {
      const size_t next = out.find(reference, from);
      replaced.append(out, from, next == npos ? npos : next - from);
      if (next == npos) break;
      replaced.push_back(unit);
      from = next + length;
    }
    out.swap(replaced);
    semicolon = npos;
  }
}
