#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
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

  // Where the entry stands in its file: its measurement (none for the top-level values)
  // and its place in that list.
  std::optional<std::size_t> measurement;
  std::size_t position = 0;

  // "values[3]" or "measurements[1].values[0]", for messages.
  std::string Where() const {
    const std::string list = measurement ? "measurements[" + std::to_string(*measurement) + "].values" : "values";
    return list + "[" + std::to_string(position) + "]";
  }

  // How many of the four optional names the entry gives: the tie-break of matching.
  int NamedCount() const {
    return int(parameter1.has_value()) + int(parameter2.has_value()) + int(statistics1.has_value()) +
           int(statistics2.has_value());
  }
};

using ValueList = std::vector<SValueEntry>;

struct SMeasurementsText;

// A whole values file: values for every pass, and one list per measurement. The file
// was checked whole, but measurements stay text until a pass asks for one: thousands of
// measurements held as entries would take many times the file's size.
struct SValuesFile {
  ValueList values;
  std::shared_ptr<const SMeasurementsText> measurements;  // null without measurements

  std::size_t MeasurementCount() const;
  // The entries of measurement k (below MeasurementCount()), read again from the text.
  ValueList Measurement(std::size_t k) const;
  // A file without measurements still gives one body pass (with the top-level values).
  std::size_t BodyPassCount() const { return MeasurementCount() == 0 ? 1 : MeasurementCount(); }
};

}  // namespace FolioCli
