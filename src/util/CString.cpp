#include "folio/util/CString.h"

CString::CString(const CStr& text) {
  const std::u16string& units = text.Str();
  if constexpr (sizeof(wchar_t) == 2) {
    m_text.assign(units.begin(), units.end());
  } else {
    // Four-byte wchar_t: join surrogate pairs into code points.
    for (size_t i = 0; i < units.size(); ++i) {
      char32_t c = units[i];
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
          units[i + 1] <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
      }
      m_text += static_cast<wchar_t>(c);
    }
  }
}

CStr CString::ToCStr() const {
  std::u16string units;
  units.reserve(m_text.size());
  for (wchar_t w : m_text) {
    const auto c = static_cast<char32_t>(w);
    if (c >= 0x10000 && c <= 0x10FFFF) {
      units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      units += static_cast<char16_t>(c > 0x10FFFF ? 0xFFFD : c);
    }
  }
  return CStr(std::move(units));
}
