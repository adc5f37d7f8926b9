#include "platform/com/CGuid.h"

namespace {

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

std::optional<CGuid> CGuid::Parse(std::u16string_view text) {
  // Positions of the hyphens inside the braces.
  if (text.size() != 38 || text.front() != u'{' || text.back() != u'}') return std::nullopt;
  std::array<std::uint8_t, 16> bytes{};
  size_t byte = 0;
  for (size_t i = 1; i < 37;) {
    if (i == 9 || i == 14 || i == 19 || i == 24) {
      if (text[i] != u'-') return std::nullopt;
      ++i;
      continue;
    }
    const int hi = HexValue(text[i]), lo = HexValue(text[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    bytes[byte++] = static_cast<std::uint8_t>(hi * 16 + lo);
    i += 2;
  }
  return CGuid(bytes);
}

CStr CGuid::ToString() const {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string out = u"{";
  for (size_t i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) out += u'-';
    out += kDigits[m_bytes[i] >> 4];
    out += kDigits[m_bytes[i] & 15];
  }
  out += u'}';
  return CStr(std::move(out));
}

namespace {

// Registry order to stored order and back: the same byte swap both ways.
std::array<std::uint8_t, 16> SwapFields(const std::uint8_t* in) {
  static constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  std::array<std::uint8_t, 16> out{};
  for (size_t i = 0; i < 16; ++i) out[i] = in[kOrder[i]];
  return out;
}

}  // namespace

std::array<std::uint8_t, 16> CGuid::StoredBytes() const { return SwapFields(m_bytes.data()); }

CGuid CGuid::FromStoredBytes(const std::uint8_t* stored) { return CGuid(SwapFields(stored)); }
