#pragma once
#include <string>

#include "folio/util/CStr.h"
#include "folio/util/Export.h"

// The windowing framework's own string type (wide characters of the platform), which
// some host code still hands over; it converts to and from CStr.
class FOLIO_API CString {
public:
  CString() = default;
  CString(const wchar_t* text) : m_text(text ? text : L"") {}
  CString(std::wstring text) : m_text(std::move(text)) {}
  explicit CString(const CStr& text);

  const std::wstring& Str() const { return m_text; }
  bool IsEmpty() const { return m_text.empty(); }
  // The same text as UTF-16 (characters beyond the basic plane as surrogate pairs).
  CStr ToCStr() const;

private:
  std::wstring m_text;
};
