#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "folio/model/CKORIControlValue.h"
#include "folio/util/CStr.h"

namespace FolioCli {

// One entry of a values file: the description it answers and the value it gives.
struct SValueEntry {
  CStr group;
  CStr field;
  // Only the names an entry gives take part in matching.
  std::optional<CStr> parameter1;
  std::optional<CStr> parameter2;
  std::optional<CStr> statistics1;
  std::optional<CStr> statistics2;

  CKORIControlValue::EType type = CKORIControlValue::eNone;
  CStr text;  // eText, eMessage
  std::int32_t integer = 0;
  double number = 0;
  std::int32_t precision = 3;
  CStr unit;
  char16_t character = 0;
  std::filesystem::path picture;  // absolute

  // Where the entry stands in its file ("measurements[1].values[0]"), for messages.
  std::string where;

  // How many of the four optional names the entry gives: the tie-break of matching.
  int NamedCount() const {
    return int(parameter1.has_value()) + int(parameter2.has_value()) + int(statistics1.has_value()) +
           int(statistics2.has_value());
  }
};

using ValueList = std::vector<SValueEntry>;

// A whole values file: values for every pass, and one list per measurement.
struct SValuesFile {
  ValueList values;
  std::vector<ValueList> measurements;

  // A file without measurements still gives one body pass (with the top-level values).
  std::size_t BodyPassCount() const { return measurements.empty() ? 1 : measurements.size(); }
};

}  // namespace FolioCli
