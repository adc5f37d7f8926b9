#pragma once
// Reading a values file's text in tests, as the command line reads a file "v.json" in
// folder.
#include <string>

#include "ValuesFile.h"

inline FolioCli::SValuesFile ParseValues(const std::string& json, const std::filesystem::path& folder = "/nowhere") {
  return FolioCli::ParseValuesFile(json, folder, "v.json");
}

// The message a values file is refused with; "(no error)" when it is read.
inline std::string ValuesErrorOf(const std::string& json) {
  try {
    ParseValues(json);
  } catch (const FolioCli::EValuesFile& e) {
    return e.what();
  }
  return "(no error)";
}
