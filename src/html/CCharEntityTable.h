#pragma once
#include <cstddef>
#include <string_view>
#include <unordered_map>

// The named character references the reader knows: the five markup names and the
// Latin-1 set, keyed by name exactly as written in the table (case-sensitive).
// Built once when the library is loaded; read-only afterwards.
class CCharEntityTable {
public:
  static const CCharEntityTable& Get();

  // The code unit for name, or false when the table has no such row.
  bool Lookup(std::u16string_view name, char16_t& unit) const;
  size_t GetCount() const { return m_units.size(); }
  // Longest name in the table; longer names cannot match.
  size_t GetMaxNameLength() const { return m_maxNameLength; }

private:
  CCharEntityTable();
  std::unordered_map<std::u16string_view, char16_t> m_units;
  size_t m_maxNameLength = 0;
};
