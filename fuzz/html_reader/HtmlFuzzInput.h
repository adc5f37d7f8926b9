#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Fuzz bytes as text the way a template file is read: UTF-16LE after a 0xFF 0xFE
// mark (so lone surrogates and zero units are reachable), otherwise one character
// per byte.
inline std::u16string FuzzText(const uint8_t* data, size_t size) {
  std::u16string text;
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
    for (size_t i = 2; i + 1 < size; i += 2)
      text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  } else {
    text.assign(data, data + size);
  }
  return text;
}

// Where the text's first zero unit is, or its size: where a template's text ends.
// Kept out of line and out of the coverage the fuzzer steers by, whose comparison
// tracing would cost more than the search itself.
#if defined(__clang__)
__attribute__((noinline, no_sanitize("coverage")))
#endif
inline size_t FuzzTextEnd(const std::u16string& text) {
  const char16_t* units = text.data();
  size_t i = 0;
  while (i < text.size() && units[i] != u'\0') ++i;
  return i;
}

// Checks what the reader reports for one input; aborts on a broken promise.
void FuzzHtmlReader(const uint8_t* data, size_t size);
// Checks tag, attribute and reference parsing on one input.
void FuzzHtmlAttributes(const uint8_t* data, size_t size);
