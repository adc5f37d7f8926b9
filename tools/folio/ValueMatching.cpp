#include "ValueMatching.h"

namespace FolioCli {
namespace {

bool SameIfGiven(const std::optional<CStr>& given, const CStr& actual) {
  return !given || *given == actual;
}

// Reset fills unused names with "None" (or leaves them empty); those say nothing.
bool SaysSomething(const CStr& name) { return !name.IsEmpty() && !(name == u"None"); }

}  // namespace

SPlaceholderKey SPlaceholderKey::Of(CKORIControlValue& value) {
  return {value.GetGroup(),       value.GetField(),       value.GetParameter1(),
          value.GetParameter2(), value.GetStatistics1(), value.GetStatistics2()};
}

std::string SPlaceholderKey::Describe() const {
  std::string text = group.ToUtf8() + "/" + field.ToUtf8();
  std::string details;
  const auto add = [&details](const std::string& part) {
    details += details.empty() ? part : ", " + part;
  };
  if (SaysSomething(parameter1)) add("parameter1 " + parameter1.ToUtf8());
  if (SaysSomething(parameter2)) add("parameter2 " + parameter2.ToUtf8());
  if (SaysSomething(statistics1)) add("statistics1 " + statistics1.ToUtf8());
  if (SaysSomething(statistics2)) add("statistics2 " + statistics2.ToUtf8());
  return details.empty() ? text : text + " (" + details + ")";
}

bool Matches(const SValueEntry& entry, const SPlaceholderKey& key) {
  return entry.group == key.group && entry.field == key.field &&
         SameIfGiven(entry.parameter1, key.parameter1) && SameIfGiven(entry.parameter2, key.parameter2) &&
         SameIfGiven(entry.statistics1, key.statistics1) && SameIfGiven(entry.statistics2, key.statistics2);
}

const SValueEntry* FindBestMatch(const ValueList& entries, const SPlaceholderKey& key) {
  const SValueEntry* best = nullptr;
  for (const SValueEntry& entry : entries)
    if (Matches(entry, key) && (!best || entry.NamedCount() > best->NamedCount())) best = &entry;
  return best;
}

const SValueEntry* FindValue(const SValuesFile& file, const SPlaceholderKey& key,
                             std::optional<std::size_t> measurement) {
  if (measurement && *measurement < file.measurements.size())
    if (const SValueEntry* found = FindBestMatch(file.measurements[*measurement], key)) return found;
  return FindBestMatch(file.values, key);
}

}  // namespace FolioCli
