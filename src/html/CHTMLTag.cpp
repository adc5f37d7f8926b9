#include "html/CHTMLTag.h"

#include "html/HTMLChars.h"

using namespace folio_html;

namespace {

const char16_t* FindTagEnd(const char16_t* from, const char16_t* end, SHTMLScanCache* cache) {
  if (cache && cache->searchedFrom && cache->searchedFrom <= from && from <= cache->found)
    return cache->found;
  const char16_t* found = FindChar(from, end, u'>');
  if (cache) *cache = {from, found};
  return found;
}

}  // namespace

CHTMLTag::CHTMLTag(CHTMLTag& source, bool deepCopy)
    : m_name(source.m_name), m_opening(source.m_opening), m_closing(source.m_closing) {
  if (source.m_attributes && source.m_attributes->GetCount() > 0)
    m_attributes = std::make_unique<CHTMLAttributes>(*source.m_attributes, deepCopy);
  if (!deepCopy) source.m_attributes.reset();
}

const CHTMLAttributes* CHTMLTag::GetAttributes() const {
  return m_attributes && m_attributes->GetCount() > 0 ? m_attributes.get() : nullptr;
}

CHTMLAttributes* CHTMLTag::GetAttributes() {
  return m_attributes && m_attributes->GetCount() > 0 ? m_attributes.get() : nullptr;
}

void CHTMLTag::SetName(const char16_t* begin, const char16_t* end) {
  std::u16string& name = m_name.Str();
  name.assign(begin, end);
  for (char16_t& c : name) c = ToLower(c);
}

void CHTMLTag::ClearAttributes() {
  // Keeps the list's slots for the next tag with attributes.
  if (m_attributes) m_attributes->Assign({}, {});
}

size_t CHTMLTag::ParseFromString(std::u16string_view text, bool parseAttributes,
                                 SHTMLScanCache* cache) {
  const char16_t* begin = text.data();
  const char16_t* end = begin + text.size();
  const char16_t* lt = SkipSpace(begin, end);
  if (end - lt < 2 || *lt != u'<') return 0;
  const char16_t* p = lt + 1;
  if (*p == u'>') {
    // "<>" swallows its "<" and reports nothing.
    m_name.Str().clear();
    ClearAttributes();
    m_opening = m_closing = false;
    return p - begin;
  }
  const bool closingTag = *p == u'/';
  if (closingTag) ++p;
  else if (!IsAlpha(*p)) return 0;
  const char16_t* nameBegin = p;
  const char16_t* nameEnd = SkipNameChars(p, end);
  if (nameEnd == end) return 0;
  const char16_t after = *nameEnd;
  if (closingTag) {
    if (after != u'>') return 0;
    SetName(nameBegin, nameEnd);
    ClearAttributes();
    m_opening = false;
    m_closing = true;
    return nameEnd + 1 - begin;
  }
  if (after == u'>') {
    SetName(nameBegin, nameEnd);
    ClearAttributes();
    m_opening = true;
    m_closing = false;
    return nameEnd + 1 - begin;
  }
  if (!IsSpace(after) && after != u'/') return 0;
  p = SkipSpace(nameEnd, end);
  const std::u16string_view rest(p, end - p);
  const size_t attributeLength = parseAttributes ? CHTMLAttributes::Scan(rest, m_spans) : 0;
  bool selfClosing = false;
  const char16_t* gt;
  if (attributeLength > 0) {
    gt = SkipSpace(p + attributeLength, end);
    if (gt == end) return 0;
    if (*gt == u'/') selfClosing = true, ++gt;
    if (gt == end || *gt != u'>') return 0;
  } else {
    gt = FindTagEnd(p, end, cache);
    if (gt == end) return 0;
    selfClosing = gt[-1] == u'/';
  }
  SetName(nameBegin, nameEnd);
  if (attributeLength > 0) {
    if (!m_attributes) m_attributes = std::make_unique<CHTMLAttributes>();
    m_attributes->Assign(rest, m_spans);
  } else {
    ClearAttributes();
  }
  m_opening = true;
  m_closing = selfClosing;
  return gt + 1 - begin;
}
