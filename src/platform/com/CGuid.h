#pragma once
#include <array>
#include <compare>
#include <cstdint>
#include <optional>

#include "folio/util/CStr.h"

// A class or interface identifier, kept as its 16 bytes in registry order.
class CGuid {
public:
  CGuid() = default;
  explicit CGuid(const std::array<std::uint8_t, 16>& bytes) : m_bytes(bytes) {}

  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in either letter case; nothing otherwise.
  static std::optional<CGuid> Parse(std::u16string_view text);
  // Upper-case braced form.
  CStr ToString() const;
  bool IsNull() const { return *this == CGuid(); }
  // The 16 bytes as Windows stores a GUID structure in files (first three fields
  // little-endian), and back.
  std::array<std::uint8_t, 16> StoredBytes() const;
  static CGuid FromStoredBytes(const std::uint8_t* stored);

  friend auto operator<=>(const CGuid&, const CGuid&) = default;

private:
  std::array<std::uint8_t, 16> m_bytes{};
};

using CLSID = CGuid;
using IID = CGuid;
