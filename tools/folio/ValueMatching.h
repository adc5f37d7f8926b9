#pragma once
#include <optional>
#include <string>

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

// Group and field equal, and every optional name the entry gives equal.
bool Matches(const SValueEntry& entry, const SPlaceholderKey& key);
// The matching entry that gives the most names; the first of those on a tie. Null when none.
const SValueEntry* FindBestMatch(const ValueList& entries, const SPlaceholderKey& key);
// A body pass looks in its measurement first and then in the top-level values; other
// passes (no measurement) look in the top-level values only.
const SValueEntry* FindValue(const SValuesFile& file, const SPlaceholderKey& key,
                             std::optional<std::size_t> measurement);

}  // namespace FolioCli
