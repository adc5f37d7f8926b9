#pragma once
#include <cstddef>
#include <string_view>

// Character references: "&name;" from the entity table, "&#65;" and "&#x41;".
class CHTMLEntityResolver {
public:
  // Given text that starts at an "&" (after optional white space), the number of
  // code units through the reference's ";" and its code unit in unit; 0 if none.
  static size_t ResolveEntity(std::u16string_view text, char16_t& unit);

  // The same, when the caller already knows where the first ";" of text stands
  // (npos for none); lets a long scan avoid searching for it again.
  static size_t ResolveEntity(std::u16string_view text, size_t semicolon, char16_t& unit);
};
