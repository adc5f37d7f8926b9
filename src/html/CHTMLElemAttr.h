#pragma once
#include <cstddef>
#include <string_view>

#include "folio/util/CStr.h"

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
  static void ResolveReferences(std::u16string& value);

  CStr m_name;
  CStr m_value;
};
