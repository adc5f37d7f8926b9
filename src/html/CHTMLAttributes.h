#pragma once
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "html/CHTMLElemAttr.h"

// The attributes of one tag, in the order they are written; a name written twice
// is listed twice.
class CHTMLAttributes {
public:
  CHTMLAttributes() = default;
  // Copies source deeply, or takes over its attributes and leaves it empty.
  CHTMLAttributes(CHTMLAttributes& source, bool deepCopy);
  CHTMLAttributes(const CHTMLAttributes&) = delete;
  CHTMLAttributes& operator=(const CHTMLAttributes&) = delete;
  virtual ~CHTMLAttributes() = default;

  // Parses a run of attributes from the start of text and replaces the list with
  // them; characters consumed, or 0 (list untouched) when not even one was found.
  size_t ParseFromString(std::u16string_view text);
  // Finds a run of attributes without storing them; characters consumed.
  static size_t Scan(std::u16string_view text, std::vector<SAttrSpan>& spans);
  // The same on [p, end), with span offsets counted from base; returns where the
  // run ends (p when it is empty).
  static const char16_t* ScanAt(const char16_t* base, const char16_t* p, const char16_t* end,
                                std::vector<SAttrSpan>& spans);
  // Replaces the list with the attributes Scan found in text.
  void Assign(std::u16string_view text, const std::vector<SAttrSpan>& spans);

  int GetCount() const { return static_cast<int>(m_count); }
  // Index of the first attribute named name, ignoring case; -1 if none.
  int GetIndexFromName(std::u16string_view name) const;
  // A copy of the attribute, or an empty one when the index is out of range.
  CHTMLElemAttr GetAttribute(int index) const;
  CHTMLElemAttr GetAttribute(std::u16string_view name) const;
  // The first attribute named name, ignoring case, without copying; null if none.
  const CHTMLElemAttr* Find(std::u16string_view name) const;
  void RemoveAll();

private:
  // Slots beyond m_count are kept for reuse by the next parse.
  std::vector<std::unique_ptr<CHTMLElemAttr>> m_items;
  size_t m_count = 0;
};
