#pragma once
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#  include <emmintrin.h>
#endif

// Character classes and forward searches shared by the reader and the tag parsers.
// Whitespace, letters and digits follow the C locale for ASCII; the Latin-1 letters
// also count as letters (and lower-case like their ASCII cousins), so that a name
// written with accented letters reads the same way in every locale.
namespace folio_html {

enum : uint8_t { kSpace = 1, kAlpha = 2, kDigit = 4, kNameExtra = 8, kUpper = 16 };

struct SCharTable {
  uint8_t cls[256];
  constexpr SCharTable() : cls{} {
    for (int c : {' ', '\t', '\n', '\v', '\f', '\r'}) cls[c] = kSpace;
    for (int c = 'a'; c <= 'z'; ++c) cls[c] = kAlpha;
    for (int c = 'A'; c <= 'Z'; ++c) cls[c] = kAlpha | kUpper;
    for (int c = '0'; c <= '9'; ++c) cls[c] = kDigit;
    for (int c : {'-', ':', '_', '.'}) cls[c] = kNameExtra;
    cls[0xAA] = cls[0xB5] = cls[0xBA] = kAlpha;
    for (int c = 0xC0; c <= 0xDE; ++c) cls[c] = c == 0xD7 ? 0 : (kAlpha | kUpper);
    for (int c = 0xDF; c <= 0xFF; ++c) cls[c] = c == 0xF7 ? 0 : kAlpha;
  }
};
inline constexpr SCharTable kChars{};

inline uint8_t ClassOf(char16_t c) { return c < 256 ? kChars.cls[c] : 0; }
inline bool IsSpace(char16_t c) { return ClassOf(c) & kSpace; }
inline bool IsAlpha(char16_t c) { return ClassOf(c) & kAlpha; }
inline bool IsDigit(char16_t c) { return ClassOf(c) & kDigit; }
inline bool IsUpper(char16_t c) { return ClassOf(c) & kUpper; }
inline bool IsNameChar(char16_t c) { return ClassOf(c) & (kAlpha | kDigit | kNameExtra); }
inline char16_t ToLower(char16_t c) {
  return IsUpper(c) ? static_cast<char16_t>(c + 32) : c;
}
inline char16_t ToUpperAscii(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
}

inline const char16_t* SkipSpace(const char16_t* p, const char16_t* end) {
  while (p < end && IsSpace(*p)) ++p;
  return p;
}

inline const char16_t* SkipNameChars(const char16_t* p, const char16_t* end) {
  while (p < end && IsNameChar(*p)) ++p;
  return p;
}

// First of a or b in [p, end), or end. Eight code units per step where SSE2 exists.
inline const char16_t* FindEither(const char16_t* p, const char16_t* end, char16_t a,
                                  char16_t b) {
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi16(static_cast<short>(a));
  const __m128i vb = _mm_set1_epi16(static_cast<short>(b));
  while (end - p >= 8) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int mask =
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(v, va), _mm_cmpeq_epi16(v, vb)));
    if (mask) return p + (__builtin_ctz(static_cast<unsigned>(mask)) >> 1);
    p += 8;
  }
#endif
  while (p < end && *p != a && *p != b) ++p;
  return p;
}

inline const char16_t* FindChar(const char16_t* p, const char16_t* end, char16_t c) {
  return FindEither(p, end, c, c);
}

}  // namespace folio_html
