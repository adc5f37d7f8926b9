#include "html/CHTMLAttributes.h"

#include "html/HTMLChars.h"

using namespace folio_html;

CHTMLAttributes::CHTMLAttributes(CHTMLAttributes& source, bool deepCopy) {
  if (!deepCopy) {
    m_items.swap(source.m_items);
    m_count = source.m_count;
    source.m_count = 0;
    return;
  }
  // A failed allocation unwinds through m_items, which frees the partial copy.
  m_items.reserve(source.m_count);
  for (size_t i = 0; i < source.m_count; ++i)
    m_items.push_back(std::make_unique<CHTMLElemAttr>(*source.m_items[i]));
  m_count = source.m_count;
}

const char16_t* CHTMLAttributes::ScanAt(const char16_t* base, const char16_t* p,
                                        const char16_t* end, std::vector<SAttrSpan>& spans) {
  spans.clear();
  SAttrSpan span;
  while (p < end) {
    const char16_t* after = CHTMLElemAttr::ScanAt(base, p, end, span);
    if (!after) break;
    spans.push_back(span);
    p = after;
  }
  return p;
}

size_t CHTMLAttributes::Scan(std::u16string_view text, std::vector<SAttrSpan>& spans) {
  const char16_t* begin = text.data();
  return ScanAt(begin, begin, begin + text.size(), spans) - begin;
}

void CHTMLAttributes::Assign(std::u16string_view text, const std::vector<SAttrSpan>& spans) {
  while (m_items.size() < spans.size()) m_items.push_back(std::make_unique<CHTMLElemAttr>());
  for (size_t i = 0; i < spans.size(); ++i) m_items[i]->Assign(text, spans[i]);
  m_count = spans.size();
}

size_t CHTMLAttributes::ParseFromString(std::u16string_view text) {
  std::vector<SAttrSpan> spans;
  const size_t consumed = Scan(text, spans);
  if (consumed) Assign(text, spans);
  return consumed;
}

int CHTMLAttributes::GetIndexFromName(std::u16string_view name) const {
  for (size_t i = 0; i < m_count; ++i) {
    const std::u16string& have = m_items[i]->Name().Str();
    if (have.size() != name.size()) continue;
    size_t k = 0;
    while (k < name.size() && ToLower(have[k]) == ToLower(name[k])) ++k;
    if (k == name.size()) return static_cast<int>(i);
  }
  return -1;
}

CHTMLElemAttr CHTMLAttributes::GetAttribute(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= m_count) return CHTMLElemAttr();
  return *m_items[index];
}

CHTMLElemAttr CHTMLAttributes::GetAttribute(std::u16string_view name) const {
  return GetAttribute(GetIndexFromName(name));
}

const CHTMLElemAttr* CHTMLAttributes::Find(std::u16string_view name) const {
  const int index = GetIndexFromName(name);
  return index < 0 ? nullptr : m_items[index].get();
}

void CHTMLAttributes::RemoveAll() {
  m_items.clear();
  m_items.shrink_to_fit();
  m_count = 0;
}
