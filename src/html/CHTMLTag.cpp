#include "html/CHTMLTag.h"

#include "html/HTMLChars.h"

using namespace folio_html;

namespace {

const char16_t* FindTagEnd(const char16_t* from, const char16_t* end, SHTMLScanCache* cache) {
  if (cache && cache->searchedFrom && cache->searchedFrom <= from && from <= cache->found)
    return cache->found;
  const char16_t* found = FindChar(from, end, u'>');
  if (cache) cache->searchedFrom = from, cache->found = found;
  return found;
}

// The attribute run from p, as CHTMLAttributes::ScanAt finds it; null when the
// run reaches an attribute start that the cache knows leads to no tag end.
const char16_t* ScanAttributes(const char16_t* base, const char16_t* p, const char16_t* end,
                               std::vector<SAttrSpan>& spans, const SHTMLScanCache* cache) {
  if (!cache || cache->failedAttributes.empty()) return CHTMLAttributes::ScanAt(base, p, end, spans);
  spans.clear();
  SAttrSpan span;
  while (p < end) {
    if (cache->failedAttributes.count(SkipSpace(p, end))) return nullptr;
    const char16_t* after = CHTMLElemAttr::ScanAt(base, p, end, span);
    if (!after) break;
    spans.push_back(span);
    p = after;
  }
  return p;
}

}  // namespace

CHTMLTag::CHTMLTag(CHTMLTag& source, bool deepCopy) {
  if (source.m_source) source.Materialize();
  m_name = source.m_name;
  m_opening = source.m_opening;
  m_closing = source.m_closing;
  if (source.m_attributes && source.m_attributes->GetCount() > 0)
    m_attributes = std::make_unique<CHTMLAttributes>(*source.m_attributes, deepCopy);
  if (!deepCopy) source.m_attributes.reset();
}

const CHTMLAttributes* CHTMLTag::GetAttributes() const {
  if (m_source) Materialize();
  return m_attributes && m_attributes->GetCount() > 0 ? m_attributes.get() : nullptr;
}

CHTMLAttributes* CHTMLTag::GetAttributes() {
  if (m_source) Materialize();
  return m_attributes && m_attributes->GetCount() > 0 ? m_attributes.get() : nullptr;
}

void CHTMLTag::MaterializeName() const {
  std::u16string& name = m_name.Str();
  name.assign(m_source + m_nameBegin, m_source + m_nameEnd);
  for (char16_t& c : name) c = ToLower(c);
  m_nameCopied = true;
}

void CHTMLTag::Materialize() const {
  if (!m_nameCopied) MaterializeName();
  if (!m_spans.empty()) {
    if (!m_attributes) m_attributes = std::make_unique<CHTMLAttributes>();
    m_attributes->Assign({m_source, m_sourceLength}, m_spans);
  } else if (m_attributes) {
    // Keeps the list's slots for the next tag with attributes.
    m_attributes->Assign({}, {});
  }
  m_source = nullptr;
}

size_t CHTMLTag::ParseFromString(std::u16string_view text, bool parseAttributes,
                                 SHTMLScanCache* cache, bool textOutlivesTag) {
  const char16_t* begin = text.data();
  const char16_t* end = begin + text.size();
  // The reader calls at its "<"; only other callers need the white space skipped.
  const char16_t* lt = begin < end && *begin == u'<' ? begin : SkipSpace(begin, end);
  if (end - lt < 2 || *lt != u'<') return 0;
  const char16_t* p = lt + 1;
  const char16_t* nameBegin = p;
  const char16_t* nameEnd = p;
  const char16_t* gt = p;  // the tag's ">"; for "<>" its "<" is all it takes
  bool opening = false, closing = false;
  m_scanSpans.clear();
  if (*p == u'>') {
    gt = lt;  // "<>" swallows its "<" and reports nothing
  } else {
    closing = *p == u'/';
    if (closing) ++p;
    else if (!IsAlpha(*p)) return 0;
    opening = !closing;
    nameBegin = p;
    nameEnd = SkipNameChars(p, end);
    if (nameEnd == end) return 0;
    const char16_t after = *nameEnd;
    if (after == u'>') {
      gt = nameEnd;
    } else if (closing || (!IsSpace(after) && after != u'/')) {
      return 0;
    } else {
      p = SkipSpace(nameEnd, end);
      const char16_t* runEnd =
          parseAttributes ? ScanAttributes(begin, p, end, m_scanSpans, cache) : p;
      if (runEnd != p) {
        gt = runEnd ? SkipSpace(runEnd, end) : end;
        if (gt != end && *gt == u'/') closing = true, ++gt;
        if (gt == end || *gt != u'>') {
          if (cache)
            for (const SAttrSpan& span : m_scanSpans) cache->failedAttributes.insert(begin + span.nameBegin);
          return 0;
        }
      } else {
        gt = FindTagEnd(p, end, cache);
        if (gt == end) return 0;
        closing = gt[-1] == u'/';
      }
    }
  }
  m_opening = opening;
  m_closing = closing;
  m_spans.swap(m_scanSpans);
  m_source = begin;
  m_nameCopied = false;
  m_sourceLength = text.size();
  m_nameBegin = nameBegin - begin;
  m_nameEnd = nameEnd - begin;
  if (!textOutlivesTag) Materialize();
  return gt + 1 - begin;
}
