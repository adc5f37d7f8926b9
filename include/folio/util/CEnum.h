#pragma once
#include <optional>
#include <vector>

#include "folio/util/CStr.h"
#include "folio/util/Export.h"

// An enumeration table shared with the host: ordered entries of value, settings name
// (as stored in settings files) and display name, plus a default.
class FOLIO_API CEnum {
public:
  struct SEntry {
    long value;
    CStr settingsName;
    CStr displayName;
  };

  CEnum() = default;
  CEnum(long defaultValue, CStr defaultName = CStr(), CStr defaultDisplayName = CStr())
      : m_defaultValue(defaultValue),
        m_defaultName(std::move(defaultName)),
        m_defaultDisplayName(std::move(defaultDisplayName)) {}

  // Appends an entry; earlier entries win lookups by value and by name.
  void Add(long value, CStr settingsName, CStr displayName = CStr());

  // Settings name of the first entry with this value, else the default name.
  CStr GetName(long value) const;
  // Display name of the first entry with this value, else the default display name.
  CStr GetDisplayName(long value) const;
  // Value of the first entry whose settings name equals name exactly, if any.
  std::optional<long> FindValue(const CStr& name) const;
  // Value for a settings name, or the default value when it is unknown.
  long GetValue(const CStr& name) const { return FindValue(name).value_or(m_defaultValue); }
  bool Contains(const CStr& name) const { return FindValue(name).has_value(); }

  long GetDefaultValue() const { return m_defaultValue; }
  const CStr& GetDefaultName() const { return m_defaultName; }
  const std::vector<SEntry>& GetEntries() const { return m_entries; }
  size_t GetCount() const { return m_entries.size(); }

private:
  const SEntry* FindEntry(long value) const;

  std::vector<SEntry> m_entries;
  long m_defaultValue = 0;
  CStr m_defaultName;
  CStr m_defaultDisplayName;
};
