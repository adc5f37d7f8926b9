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

#if defined(__SSE2__)
// Eight-unit helpers. Ranges are tested on units with the sign bit flipped, which
// turns SSE2's signed 16-bit compare into the unsigned one the tests need.
inline __m128i Load8(const char16_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline __m128i FlipSign(__m128i v) { return _mm_xor_si128(v, _mm_set1_epi16(short(0x8000))); }
// Lanes whose unit (sign flipped) lies in [low, low + count).
inline __m128i InRange(__m128i flipped, char16_t low, char16_t count) {
  return _mm_cmplt_epi16(_mm_sub_epi16(flipped, _mm_set1_epi16(short(low))),
                         _mm_set1_epi16(short(0x8000 + count)));
}
inline __m128i Equal(__m128i v, char16_t c) { return _mm_cmpeq_epi16(v, _mm_set1_epi16(short(c))); }
// Two mask bits per lane; the index of the first set lane, or 8 when none is set.
inline unsigned LaneMask(__m128i lanes) { return unsigned(_mm_movemask_epi8(lanes)); }
inline unsigned FirstLane(unsigned mask) { return mask ? unsigned(__builtin_ctz(mask)) >> 1 : 8; }

inline __m128i SpaceLanes(__m128i v) {
  return _mm_or_si128(Equal(v, u' '), InRange(FlipSign(v), u'\t', 5));
}
// ASCII letters, digits and "-", ".", ":", "_"; Latin-1 letters are left to the
// scalar test.
inline __m128i AsciiNameLanes(__m128i v) {
  const __m128i flipped = FlipSign(v);
  const __m128i letters = InRange(_mm_or_si128(flipped, _mm_set1_epi16(0x20)), u'a', 26);
  const __m128i digitsColon = InRange(flipped, u'0', 11);
  const __m128i dashDot = InRange(flipped, u'-', 2);
  return _mm_or_si128(_mm_or_si128(letters, digitsColon), _mm_or_si128(dashDot, Equal(v, u'_')));
}
#endif

inline const char16_t* SkipSpace(const char16_t* p, const char16_t* end) {
  while (p < end && IsSpace(*p)) ++p;
  return p;
}

inline const char16_t* SkipNameChars(const char16_t* p, const char16_t* end) {
  while (p < end && IsNameChar(*p)) ++p;
  return p;
}

// First of a or b in [p, end), or end. Sixteen code units per step where SSE2
// exists: text runs between tags are mostly a few dozen units long.
inline const char16_t* FindEither(const char16_t* p, const char16_t* end, char16_t a,
                                  char16_t b) {
#if defined(__SSE2__)
  const __m128i va = _mm_set1_epi16(static_cast<short>(a));
  const __m128i vb = _mm_set1_epi16(static_cast<short>(b));
  const auto hits = [&](const char16_t* at) {
    const __m128i v = Load8(at);
    return _mm_or_si128(_mm_cmpeq_epi16(v, va), _mm_cmpeq_epi16(v, vb));
  };
  while (end - p >= 16) {
    const unsigned low = LaneMask(hits(p));
    const unsigned high = LaneMask(hits(p + 8));
    if (low | high) return p + (unsigned(__builtin_ctz(low | (high << 16))) >> 1);
    p += 16;
  }
  if (end - p >= 8) {
    if (const unsigned mask = LaneMask(hits(p))) return p + FirstLane(mask);
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
