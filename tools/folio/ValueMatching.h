#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "SValueEntry.h"

namespace FolioCli {

// The names of a placeholder that values are matched against.
struct SPlaceholderKey {
  CStr group;
  CStr field;
  CStr parameter1;
  CStr parameter2;
  CStr statistics1;
  CStr statistics2;

  static SPlaceholderKey Of(CKORIControlValue& value);
  // "Group/Field" followed by the names that say more than the defaults, for messages.
  std::string Describe() const;
};

// A list of values indexed once by group, field and the names each entry gives, so that
// finding a placeholder's value costs a few hash look-ups however long the list is.
// Gives what FindBestMatch gives. The list must outlive the index and stay unchanged.
class CValueIndex {
public:
  explicit CValueIndex(const ValueList& list);
  const SValueEntry* Find(const SPlaceholderKey& key) const;

private:
  // Group, field, then the optional names that the mask says an entry gives.
  struct SNames {
    std::array<std::u16string_view, 6> names;
    std::uint8_t mask = 0;
    bool operator==(const SNames&) const = default;
  };
  struct SHash {
    std::size_t operator()(const SNames& key) const;
  };
  struct SFirst {
    std::size_t position;  // in the list: the first entry wins a tie
    const SValueEntry* entry;
  };
  // The first entry for each distinct description.
  std::unordered_map<SNames, SFirst, SHash> m_entries;
  // Per group and field (mask 0), which of the 16 masks occur.
  std::unordered_map<SNames, std::uint16_t, SHash> m_masks;
};

// Group and field equal, and every optional name the entry gives equal.
bool Matches(const SValueEntry& entry, const SPlaceholderKey& key);
// The matching entry that gives the most names; the first of those on a tie. Null when none.
const SValueEntry* FindBestMatch(const ValueList& entries, const SPlaceholderKey& key);
// A body pass looks in its measurement first and then in the top-level values; other
// passes (measurement null) look in the top-level values only.
const SValueEntry* FindValue(const ValueList& values, const ValueList* measurement, const SPlaceholderKey& key);

}  // namespace FolioCli
