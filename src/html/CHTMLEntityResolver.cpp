#include "html/CHTMLEntityResolver.h"

#include <algorithm>
#include <cstdint>

#include "html/CCharEntityTable.h"
#include "html/HTMLChars.h"

using namespace folio_html;

namespace {

constexpr std::u16string_view kAccentSuffixes[] = {u"grave", u"acute", u"circ",  u"uml",
                                                   u"tilde", u"cedil", u"ring", u"slash"};

bool EqualsLower(const char16_t* lower, size_t length, std::u16string_view what) {
  return std::u16string_view(lower, length) == what;
}

// Low 16 bits of the number; the arithmetic wraps the same way.
char16_t ReadNumber(const char16_t* p, const char16_t* end, bool hex) {
  uint32_t value = 0;
  for (; p < end; ++p) {
    const char16_t c = *p;
    uint32_t digit;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    else if (hex && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    else if (hex && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    else break;
    value = ((value * (hex ? 16 : 10)) + digit) & 0xFFFF;
  }
  return static_cast<char16_t>(value);
}

// Picks the table spelling for a name written in any case.
bool LookupName(std::u16string_view name, char16_t& unit) {
  const CCharEntityTable& table = CCharEntityTable::Get();
  if (name.size() > table.GetMaxNameLength()) return false;
  char16_t lower[16];
  for (size_t i = 0; i < name.size(); ++i) lower[i] = ToLower(name[i]);
  const size_t n = name.size();
  const bool firstUpper = IsUpper(name[0]);
  char16_t key[16];
  std::copy(lower, lower + n, key);
  if (EqualsLower(lower, n, u"eth") || EqualsLower(lower, n, u"thorn")) {
    if (firstUpper)
      for (size_t i = 0; i < n; ++i) key[i] = ToUpperAscii(lower[i]);
  } else if (EqualsLower(lower, n, u"aelig")) {
    if (firstUpper) key[0] = u'A', key[1] = u'E';
  } else if (n > 1 && IsAlpha(name[0])) {
    const std::u16string_view rest(lower + 1, n - 1);
    for (std::u16string_view suffix : kAccentSuffixes)
      if (rest == suffix) key[0] = name[0];
  }
  return table.Lookup(std::u16string_view(key, n), unit);
}

}  // namespace

size_t CHTMLEntityResolver::ResolveEntity(std::u16string_view text, char16_t& unit) {
  const char16_t* begin = text.data();
  const char16_t* end = begin + text.size();
  const char16_t* semi = FindChar(begin, end, u';');
  return ResolveEntity(text, semi == end ? std::u16string_view::npos : semi - begin, unit);
}

size_t CHTMLEntityResolver::ResolveEntity(std::u16string_view text, size_t semicolon,
                                          char16_t& unit) {
  if (semicolon == std::u16string_view::npos || semicolon >= text.size()) return 0;
  const char16_t* begin = text.data();
  const char16_t* amp = SkipSpace(begin, begin + text.size());
  const char16_t* semi = begin + semicolon;
  if (amp >= semi || *amp != u'&' || semi - amp < 3) return 0;
  const size_t consumed = semicolon + 1;
  if (amp[1] == u'#') {
    const char16_t kind = amp[2];
    if (IsDigit(kind)) {
      unit = ReadNumber(amp + 2, semi, false);
      return consumed;
    }
    if (kind == u'x' || kind == u'X') {
      unit = ReadNumber(amp + 3, semi, true);
      return consumed;
    }
    return 0;
  }
  return LookupName(std::u16string_view(amp + 1, semi - amp - 1), unit) ? consumed : 0;
}
