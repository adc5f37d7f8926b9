#pragma once
#include <cstddef>
#include <string_view>

#include "folio/util/CStr.h"
#include "html/HTMLChars.h"

// Where one attribute stands in a tag's text: name [nameBegin, nameEnd), value
// [valueBegin, valueEnd) before normalising; offsets from the start of the text.
struct SAttrSpan {
  size_t nameBegin = 0, nameEnd = 0;
  size_t valueBegin = 0, valueEnd = 0;
};

// One attribute of a tag: lower-case name and normalised value.
class CHTMLElemAttr {
public:
  CHTMLElemAttr() = default;
  CHTMLElemAttr(const CStr& name, const CStr& value) : m_name(name) { PutValue(value); }

  // Parses one attribute from the start of text; characters consumed, 0 if none.
  size_t ParseFromString(std::u16string_view text);
  // Finds one attribute without storing it; characters consumed, 0 if none.
  static size_t Scan(std::u16string_view text, SAttrSpan& span);
  // The same on [p, end), with span offsets counted from base; returns where the
  // attribute ends, or null when there is none.
  static inline const char16_t* ScanAt(const char16_t* base, const char16_t* p,
                                       const char16_t* end, SAttrSpan& span);
  // Stores name and value of an attribute found by Scan in text.
  void Assign(std::u16string_view text, const SAttrSpan& span);

  CStr GetName() const { return m_name; }
  CStr GetValue() const { return m_value; }
  const CStr& Name() const { return m_name; }
  const CStr& Value() const { return m_value; }

  // Stores value without surrounding white space and line feeds, with carriage
  // returns and tabs as spaces and character references resolved.
  void PutValue(std::u16string_view value);

private:
  CStr m_name;
  CStr m_value;
};

inline const char16_t* CHTMLElemAttr::ScanAt(const char16_t* base, const char16_t* p,
                                             const char16_t* end, SAttrSpan& span) {
  using namespace folio_html;
  p = SkipSpace(p, end);
  if (p == end || !IsAlpha(*p)) return nullptr;
  const char16_t* nameEnd = SkipNameChars(p + 1, end);
  span.nameBegin = p - base;
  span.nameEnd = span.valueBegin = span.valueEnd = nameEnd - base;
  if (nameEnd == end) return end;
  const char16_t next = *nameEnd;
  if (next != u'=') return IsSpace(next) || next == u'>' || next == u'/' ? nameEnd : nullptr;
  p = SkipSpace(nameEnd + 1, end);
  if (p == end) {
    span.valueBegin = span.valueEnd = end - base;
    return end;
  }
  const char16_t quote = *p;
  if (quote == u'"' || quote == u'\'') {
    const char16_t* close = FindChar(p + 1, end, quote);
    span.valueBegin = p + 1 - base;
    span.valueEnd = close - base;
    return close == end ? end : close + 1;
  }
  // An unquoted value takes its first character whatever it is.
  const char16_t* v = p + 1;
  while (v < end && !IsSpace(*v) && *v != u'/' && *v != u'>') ++v;
  span.valueBegin = p - base;
  span.valueEnd = v - base;
  return v;
}
