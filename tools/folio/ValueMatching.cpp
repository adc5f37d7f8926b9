#include "ValueMatching.h"

#include <bit>
#include <functional>

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

const SValueEntry* FindValue(const ValueList& values, const ValueList* measurement, const SPlaceholderKey& key) {
  if (measurement)
    if (const SValueEntry* found = FindBestMatch(*measurement, key)) return found;
  return FindBestMatch(values, key);
}

std::size_t CValueIndex::SHash::operator()(const SNames& key) const {
  std::size_t hash = key.mask;
  for (const std::u16string_view name : key.names)
    hash = hash * 1000003u ^ std::hash<std::u16string_view>()(name);
  return hash;
}

CValueIndex::CValueIndex(const ValueList& list) {
  m_entries.reserve(list.size());
  for (std::size_t position = 0; position < list.size(); ++position) {
    const SValueEntry& entry = list[position];
    SNames names{{entry.group.View(), entry.field.View()}, 0};
    const std::optional<CStr>* given[] = {&entry.parameter1, &entry.parameter2, &entry.statistics1,
                                          &entry.statistics2};
    for (int i = 0; i < 4; ++i) {
      if (!*given[i]) continue;
      names.names[2 + i] = (*given[i])->View();
      names.mask |= static_cast<std::uint8_t>(1 << i);
    }
    m_entries.try_emplace(names, SFirst{position, &entry});
    m_masks[SNames{{names.names[0], names.names[1]}, 0}] |= static_cast<std::uint16_t>(1 << names.mask);
  }
}

const SValueEntry* CValueIndex::Find(const SPlaceholderKey& key) const {
  const auto masks = m_masks.find(SNames{{key.group.View(), key.field.View()}, 0});
  if (masks == m_masks.end()) return nullptr;
  const std::u16string_view optional[] = {key.parameter1.View(), key.parameter2.View(),
                                          key.statistics1.View(), key.statistics2.View()};
  const SFirst* best = nullptr;
  int bestCount = -1;
  for (unsigned mask = 0; mask < 16; ++mask) {
    if (!(masks->second & (1u << mask))) continue;
    SNames names{{key.group.View(), key.field.View()}, static_cast<std::uint8_t>(mask)};
    for (int i = 0; i < 4; ++i)
      if (mask & (1u << i)) names.names[2 + i] = optional[i];
    const auto found = m_entries.find(names);
    if (found == m_entries.end()) continue;
    const int count = std::popcount(mask);
    if (count > bestCount || (count == bestCount && found->second.position < best->position)) {
      best = &found->second;
      bestCount = count;
    }
  }
  return best ? best->entry : nullptr;
}

}  // namespace FolioCli
