#pragma once
// Pieces the legacy field translators share.
#include "folio/extract/CKORIExtractor.h"
#include "folio/platform/host/HostTables.h"

namespace legacy {

using EExtractRes = CKORIControlValue::EExtractRes;

inline CStr Axis(long n) { return CKORIExtractor::GetAxisEnum().GetName(n); }
inline CStr Event(long n) { return CKORIExtractor::GetEventEnum().GetName(n); }
inline CStr Group(long n) { return CKORIExtractor::GetGroupEnum().GetName(n); }
inline CStr Statistic(long n) { return GetStatisticsEnum().GetName(n); }
inline CStr MeasureParameter(long n) { return GetMeasureParametersEnum().GetName(n); }

// A field no rule renames still works when the current naming knows it.
inline EExtractRes KeptIfKnown(const CStr& field) {
  return CKORIExtractor::GetFieldEnum().Contains(field) ? CKORIControlValue::eExtractOk
                                                        : CKORIControlValue::eFieldNotSupported;
}

// A prefix rule matches a field that starts with prefix; the rest is the field with
// every occurrence of the prefix removed.
inline bool MatchPrefix(const CStr& field, std::u16string_view prefix, CStr& rest) {
  if (!field.StartsWith(prefix)) return false;
  rest = field;
  rest.Replace(prefix, u"");
  return true;
}

// A renaming row: legacy field, new field and the axis that becomes Parameter 1.
struct SAxisRename {
  const char16_t* legacy;
  const char16_t* field;
  long axis;
};

// Applies the row that matches field exactly; false when none does.
template <size_t N>
bool ApplyAxisRename(const SAxisRename (&rows)[N], const CStr& field, CKORIControlValue& value) {
  for (const SAxisRename& row : rows) {
    if (field == row.legacy) {
      value.SetField(row.field);
      value.SetParameter1(Axis(row.axis));
      return true;
    }
  }
  return false;
}

}  // namespace legacy
