#include "folio/util/CEnum.h"

void CEnum::Add(long value, CStr settingsName, CStr displayName) {
  m_entries.push_back({value, std::move(settingsName), std::move(displayName)});
}

const CEnum::SEntry* CEnum::FindEntry(long value) const {
  for (const SEntry& entry : m_entries)
    if (entry.value == value) return &entry;
  return nullptr;
}

CStr CEnum::GetName(long value) const {
  const SEntry* entry = FindEntry(value);
  return entry ? entry->settingsName : m_defaultName;
}

CStr CEnum::GetDisplayName(long value) const {
  const SEntry* entry = FindEntry(value);
  return entry ? entry->displayName : m_defaultDisplayName;
}

std::optional<long> CEnum::FindValue(const CStr& name) const {
  for (const SEntry& entry : m_entries)
    if (entry.settingsName == name) return entry.value;
  return std::nullopt;
}
